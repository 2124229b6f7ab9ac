#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace flk {

FileLock::FileLock(const std::string& lockPath, Mode mode) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;  // unlockable folder: go on unlocked rather than fail
    const int op = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
    while (::flock(fd_, op) != 0 && errno == EINTR) {
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace flk
