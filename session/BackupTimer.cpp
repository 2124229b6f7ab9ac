#include "session/BackupTimer.h"

namespace flk {

BackupTimer::BackupTimer(std::chrono::milliseconds period, std::function<void()> tick)
    : WorkerThread("BackupTimer"), period_(period), tick_(std::move(tick)) {}

BackupTimer::~BackupTimer() {
    Stop();
    Join();
}

void BackupTimer::Stop() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        RequestStop();
    }
    wake_.notify_all();
}

std::chrono::milliseconds BackupTimer::PeriodFromMinutes(int minutes) {
    return std::chrono::minutes(minutes < 1 ? 1 : minutes);
}

void BackupTimer::Run() {
    std::unique_lock<std::mutex> lock(lock_);
    while (!StopRequested()) {
        if (wake_.wait_for(lock, period_, [this] { return StopRequested(); })) break;
        lock.unlock();
        tick_();
        lock.lock();
    }
}

}  // namespace flk
