#include "net/HostSlots.h"

#include <chrono>

namespace flk {

namespace {
// The stop flag is an atomic nobody signals; this bounds how late a waiter
// notices it when no slot frees and nobody calls WakeAll().
constexpr std::chrono::milliseconds kStopCheck{100};
}  // namespace

bool HostSlots::Acquire(const std::string& host, int limit, const std::atomic<bool>* stop) {
    std::unique_lock<std::mutex> lock(lock_);
    auto stopped = [&] { return stop && stop->load(); };
    for (;;) {
        if (stopped()) return false;
        int& running = running_[host];
        if (running < limit) {
            ++running;
            return true;
        }
        freed_.wait_for(lock, kStopCheck);
    }
}

void HostSlots::Release(const std::string& host) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        auto it = running_.find(host);
        if (it == running_.end()) return;
        if (--it->second <= 0) running_.erase(it);
    }
    freed_.notify_all();
}

void HostSlots::WakeAll() {
    { std::lock_guard<std::mutex> lock(lock_); }
    freed_.notify_all();
}

int HostSlots::Running(const std::string& host) const {
    std::lock_guard<std::mutex> lock(lock_);
    auto it = running_.find(host);
    return it == running_.end() ? 0 : it->second;
}

}  // namespace flk
