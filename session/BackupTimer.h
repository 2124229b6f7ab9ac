#pragma once
#include "platform/WorkerThread.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace flk {

// Calls `tick` every period until stopped: the periodic project backup
// while a crawl runs. Destroying it stops and joins it.
class BackupTimer : public WorkerThread {
public:
    BackupTimer(std::chrono::milliseconds period, std::function<void()> tick);
    ~BackupTimer() override;
    void Stop();

    // A period in minutes from the settings; below 1 counts as 1.
    static std::chrono::milliseconds PeriodFromMinutes(int minutes);

protected:
    void Run() override;

private:
    std::chrono::milliseconds period_;
    std::function<void()> tick_;
    std::mutex lock_;
    std::condition_variable wake_;
};

}  // namespace flk
