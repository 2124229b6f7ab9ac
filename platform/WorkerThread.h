#pragma once
#include <atomic>
#include <string>
#include <thread>

namespace flk {

// Base of every worker thread. "Created suspended, then resumed" maps to:
// construct, register with the owner, then Start(). The stop flag is the
// cooperative way to end a worker; owners stop and join their workers
// before they go away. A derived class must call Join() in its own
// destructor, because Run() may still use its members.
class WorkerThread {
public:
    enum class Priority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest };

    explicit WorkerThread(std::string className);
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    const std::string& ClassName() const { return className_; }

    bool Start(Priority priority = Priority::Normal);
    void RequestStop() { stop_.store(true); }
    bool StopRequested() const { return stop_.load(); }
    // For code that checks the flag deep inside a step (fetch, parse).
    const std::atomic<bool>& StopFlag() const { return stop_; }
    // True from Start() until Run() returns.
    bool Active() const { return active_.load(); }
    void Join();

protected:
    // Runs on the thread; an exception that leaves it is dropped there.
    virtual void Run() = 0;

private:
    std::string className_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> active_{false};
    std::thread thread_;
};

// Sets the calling thread's scheduling niceness for a priority; failures
// are ignored (an unprivileged user cannot raise priority).
void ApplyThreadPriority(WorkerThread::Priority priority);

}  // namespace flk
