#include "crawl/CrawlWorker.h"

#include "crawl/Kernel.h"

namespace flk {

CrawlWorker::CrawlWorker(kernel& crawl, std::shared_ptr<CrawlItem> item)
    : WorkerThread("CrawlWorker"), crawl_(crawl), item_(std::move(item)) {}

CrawlWorker::~CrawlWorker() {
    RequestStop();
    Join();
}

void CrawlWorker::Run() {
    try {
        PageJob job{item_, StopFlag(), crawl_};
        crawl_.Context().pages.HandlePage(job);
    } catch (...) {
        // A page that cannot be handled is dropped; the crawl goes on.
    }
    if (!StopRequested()) crawl_.PageParsed();
    Pacing::Pause(crawl_.Context().pacing.workerEnd);
    item_->done = true;
    crawl_.WorkerEnded();
}

}  // namespace flk
