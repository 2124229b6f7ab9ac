#pragma once
#include "crawl/CrawlItem.h"

#include <atomic>
#include <memory>
#include <string>

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
    // A limit kept pages of the crawl from being fetched; `note` says which
    // ("stopped at 10 pages for www.site.example (pages per site)"). Called
    // on the kernel's thread, once per limit and site.
    virtual void LimitReached(const std::string& note) { (void)note; }
    // The workers' stop flags were set: any wait of theirs ends now.
    // Called on any thread.
    virtual void WorkersStopped() {}
};

}  // namespace flk
