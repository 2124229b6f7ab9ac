#include "traylet/TrayletStart.h"

#include "platform/InstanceLock.h"
#include "platform/TrayletMessages.h"

namespace flk {

bool IsCloseCommand(const std::vector<std::string>& args) {
    return args.size() == 1 && (args[0] == "/c" || args[0] == "/C");
}

bool CloseRunningTraylet(const std::string& runtimeFolder, int waitMs) {
    PostToTraylet(runtimeFolder, traylet_msg::kClose);
    // The running copy holds the lock until it ends; owning it here for a
    // moment is the proof that it is gone.
    InstanceLock lock(runtimeFolder, kTrayletMutexName);
    return lock.Acquire(waitMs);
}

}  // namespace flk
