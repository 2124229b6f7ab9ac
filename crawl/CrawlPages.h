#pragma once
#include "crawl/FetchFailures.h"
#include "crawl/PageFetcher.h"
#include "crawl/PageHandler.h"
#include "crawl/ParserOptions.h"
#include "crawl/PoliteHosts.h"

#include <memory>
#include <mutex>
#include <optional>

namespace flk {

class CrawlView;
class HitSink;
class MediaSink;

// What the pages of a crawl are fetched with and reported to.
struct CrawlPagesContext {
    InternetShare& internet;
    InternetOptions network;
    Notifier& notifier;  // the credentials question
    MediaSink& media;
    HitSink& hits;
    CrawlView& view;
};

// The work of one crawl worker: fetch the page (a local file or over HTTP)
// where the site's robots.txt allows it (start locations are fetched
// whatever it says: they were asked for by name), then parse it, reporting links to the kernel, media to the lists and hits
// to the hit list. One object serves one crawl and all its workers.
class CrawlPages : public PageHandler {
public:
    explicit CrawlPages(CrawlPagesContext context);
    void HandlePage(PageJob& job) override;
    void LimitReached(const std::string& note) override { failures_.LimitReached(note); }
    void WorkersStopped() override;
    // The pages that could not be read (a stopped page is not a failure).
    const FetchFailures& Failures() const { return failures_; }

private:
    // The crawl's options are read when the kernel starts, so they are
    // taken from the first page.
    void Prepare(const kernel& crawl);

    CrawlPagesContext ctx_;
    std::once_flag prepared_;
    FetchOptions fetchOptions_;
    ParserOptions parserOptions_;
    FetchFailures failures_;
    std::unique_ptr<PoliteHosts> polite_;  // set once prepared
    std::atomic<PoliteHosts*> politeReady_{nullptr};
};

}  // namespace flk
