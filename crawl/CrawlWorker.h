#pragma once
#include "crawl/CrawlItem.h"
#include "platform/WorkerThread.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace flk {

class kernel;

// Fetches and parses the pages of a crawl, one at a time: the kernel hands
// it a page, and when that is done the worker waits for the next one. A
// thread per page cost a thread start and its switches for every page,
// more than a small page's parsing. Each page is counted as one running
// worker from the hand-over until WorkerEnded().
class CrawlWorker : public WorkerThread {
public:
    // Starts with its first page once Start() is called.
    CrawlWorker(kernel& crawl, std::shared_ptr<CrawlItem> item);
    ~CrawlWorker() override;

    // Gives a waiting worker its next page; false when it still works on
    // one or is stopped.
    bool Offer(std::shared_ptr<CrawlItem> item);
    // Ends a waiting worker (fewer threads allowed now); false when it works
    // on a page.
    bool RetireIfWaiting();
    // Stops the worker: the page in hand ends without counting, no other
    // page is taken, and a waiting worker wakes to end.
    void Cancel();

protected:
    void Run() override;

private:
    // The next page, or null once stopped.
    std::shared_ptr<CrawlItem> WaitForPage();
    void HandleOne(const std::shared_ptr<CrawlItem>& item);

    kernel& crawl_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<CrawlItem> item_;  // the page in hand; null while waiting
};

}  // namespace flk
