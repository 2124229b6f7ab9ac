#include "platform/InstanceLock.h"

#include "platform/Paths.h"
#include "platform/ProgramMessages.h"

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace flk {

InstanceLock::InstanceLock(const std::string& runtimeFolder, const std::string& name) {
    if (!runtimeFolder.empty()) path_ = JoinPath(runtimeFolder, FileNameOfProgramName(name) + ".lock");
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool InstanceLock::Acquire(int waitMs) {
    if (owned_) return true;
    if (fd_ < 0 && !path_.empty()) fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return owned_ = true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace flk
