#pragma once
#include <string>

namespace flk {

// A named, per-user lock standing in for a Windows named mutex: a lock file
// in the runtime folder, held for the life of this object.
class InstanceLock {
public:
    // runtimeFolder: where the lock file lives ("" makes every Acquire fail).
    InstanceLock(const std::string& runtimeFolder, const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries to own the lock, polling for at most waitMs milliseconds.
    bool Acquire(int waitMs);
    bool Owned() const { return owned_; }
    const std::string& LockPath() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    bool owned_ = false;
};

}  // namespace flk
