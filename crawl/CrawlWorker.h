#pragma once
#include "crawl/CrawlItem.h"
#include "platform/WorkerThread.h"

#include <memory>

namespace flk {

class kernel;

// Fetches and parses one page of a crawl.
class CrawlWorker : public WorkerThread {
public:
    CrawlWorker(kernel& crawl, std::shared_ptr<CrawlItem> item);
    ~CrawlWorker() override;

protected:
    void Run() override;

private:
    kernel& crawl_;
    std::shared_ptr<CrawlItem> item_;
};

}  // namespace flk
