#include "platform/WorkerThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace flk {

WorkerThread::WorkerThread(std::string className) : className_(std::move(className)) {}

WorkerThread::~WorkerThread() {
    RequestStop();
    Join();
}

bool WorkerThread::Start(Priority priority) {
    if (thread_.joinable()) return false;
    active_.store(true);
    try {
        thread_ = std::thread([this, priority] {
            ApplyThreadPriority(priority);
            try {
                Run();
            } catch (...) {
                // An exception leaving a thread ends the program; a worker
                // that must report its end guards its own Run().
            }
            active_.store(false);
        });
    } catch (...) {
        active_.store(false);
        return false;
    }
    return true;
}

void WorkerThread::Join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void ApplyThreadPriority(WorkerThread::Priority priority) {
    int nice = 0;
    switch (priority) {
        case WorkerThread::Priority::Idle: nice = 19; break;
        case WorkerThread::Priority::Lowest: nice = 10; break;
        case WorkerThread::Priority::BelowNormal: nice = 5; break;
        case WorkerThread::Priority::Normal: nice = 0; break;
        case WorkerThread::Priority::AboveNormal: nice = -5; break;
        case WorkerThread::Priority::Highest: nice = -10; break;
    }
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    const int current = ::getpriority(PRIO_PROCESS, tid);
    if (nice != current) (void)::setpriority(PRIO_PROCESS, tid, nice);
}

}  // namespace flk
