#pragma once
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

namespace flk {

// Counts the requests running to each host, so that everything sharing one
// InternetShare (the crawl's workers and the media checker alike) keeps to
// at most N at once per host. Thread-safe.
class HostSlots {
public:
    // Waits until fewer than limit requests to host run, then counts one
    // more. False (nothing counted) when stop turned true first; a stop is
    // noticed within a tenth of a second, or at once after WakeAll().
    bool Acquire(const std::string& host, int limit, const std::atomic<bool>* stop);
    void Release(const std::string& host);
    // Lets every waiter look at its stop flag again.
    void WakeAll();
    int Running(const std::string& host) const;

private:
    mutable std::mutex lock_;
    std::condition_variable freed_;
    std::map<std::string, int> running_;
};

}  // namespace flk
