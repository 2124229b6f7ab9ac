#pragma once
#include <string>

namespace flk {

// An advisory lock on a lock file (flock). Each instance opens its own
// descriptor, so it excludes other threads of this process as well as other
// processes.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };
    FileLock(const std::string& lockPath, Mode mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace flk
