#include "crawl/CrawlWorker.h"

#include "crawl/Kernel.h"

namespace flk {

CrawlWorker::CrawlWorker(kernel& crawl, std::shared_ptr<CrawlItem> item)
    : WorkerThread("CrawlWorker"), crawl_(crawl), item_(std::move(item)) {}

CrawlWorker::~CrawlWorker() {
    Cancel();
    Join();
}

bool CrawlWorker::Offer(std::shared_ptr<CrawlItem> item) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (item_ || StopRequested()) return false;
        item_ = std::move(item);
    }
    wake_.notify_one();
    return true;
}

bool CrawlWorker::RetireIfWaiting() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (item_) return false;
        RequestStop();
    }
    wake_.notify_one();
    return true;
}

void CrawlWorker::Cancel() {
    {
        // Under the lock, so a worker about to wait cannot miss it.
        std::lock_guard<std::mutex> lock(mutex_);
        RequestStop();
    }
    wake_.notify_one();
}

std::shared_ptr<CrawlItem> CrawlWorker::WaitForPage() {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return item_ || StopRequested(); });
    // A page handed over before the stop is still ended as a page: it was
    // counted as running.
    return item_;
}

void CrawlWorker::Run() {
    while (std::shared_ptr<CrawlItem> item = WaitForPage()) HandleOne(item);
}

void CrawlWorker::HandleOne(const std::shared_ptr<CrawlItem>& item) {
    if (!StopRequested()) {
        try {
            PageJob job{item, StopFlag(), crawl_};
            crawl_.Context().pages.HandlePage(job);
        } catch (...) {
            // A page that cannot be handled is dropped; the crawl goes on.
        }
        if (!StopRequested()) crawl_.PageParsed();
    }
    Pacing::Pause(crawl_.Context().pacing.workerEnd);
    {
        // Waiting again before the kernel hears of the end, so the page it
        // starts next can come here instead of to a new thread.
        std::lock_guard<std::mutex> lock(mutex_);
        item_.reset();
    }
    crawl_.WorkerEnded();
}

}  // namespace flk
