#pragma once
#include "crawl/CrawlItem.h"

#include <atomic>
#include <memory>

namespace flk {

class kernel;

// One page for a worker: the item, the worker's stop flag (set when the
// crawl is stopped) and the crawl that takes the links found.
struct PageJob {
    std::shared_ptr<CrawlItem> item;
    const std::atomic<bool>& stop;
    kernel& crawl;
};

// Fetches and parses one page. Called on worker threads, many at once.
class PageHandler {
public:
    virtual ~PageHandler() = default;
    virtual void HandlePage(PageJob& job) = 0;
};

}  // namespace flk
