#include "crawl/CrawlPages.h"

#include "crawl/Kernel.h"
#include "crawl/LinkClassifier.h"
#include "crawl/PageParser.h"

namespace flk {

namespace {

// The fetcher's status texts go to the crawl's status line; the last error
// among them says why a page could not be read.
struct StatusToCrawl : FetchStatus {
    explicit StatusToCrawl(LinkTarget& crawl) : crawl_(crawl) {}
    void ShowStatus(const std::string& text) override {
        if (text.rfind("Error", 0) == 0) lastError = text;
        crawl_.ShowStatus(text);
    }
    LinkTarget& crawl_;
    std::string lastError;
};

// A redirect's new location is routed like a link the parser found.
struct LinksToClassifier : FetchLinks {
    explicit LinksToClassifier(LinkClassifier& classifier) : classifier_(classifier) {}
    void ReportLink(const std::string& url, const std::string& kind, const std::string& description) override {
        classifier_.ClassifyLink(url, kind, description);
    }
    LinkClassifier& classifier_;
};

}  // namespace

CrawlPages::CrawlPages(CrawlPagesContext context) : ctx_(std::move(context)) {}

void CrawlPages::Prepare(const kernel& crawl) {
    fetchOptions_ = FetchOptions::FromCrawl(crawl.Options());
    parserOptions_ = MakeParserOptions(crawl.Options(), ctx_.view.Search(), crawl.Context().pacing);
    // robots.txt is asked for like a page: same network, same time limit.
    InternetOptions robotsNetwork = ctx_.network;
    robotsNetwork.access = fetchOptions_.useCache ? InternetAccess::Preconfigured : InternetAccess::Direct;
    robotsNetwork.totalTimeoutMs = fetchOptions_.timeLimitMs;
    polite_ = std::make_unique<PoliteHosts>(ctx_.internet, robotsNetwork, kCrawlAgent, crawl.Options().robots);
    politeReady_.store(polite_.get());
}

void CrawlPages::WorkersStopped() {
    if (PoliteHosts* polite = politeReady_.load()) polite->WakeAll();
    ctx_.internet.Slots().WakeAll();
}

void CrawlPages::HandlePage(PageJob& job) {
    std::call_once(prepared_, [&] { Prepare(job.crawl); });

    PageState page;
    page.url = job.item->url.Full();
    page.depth = job.item->depth;
    LinkClassifier classifier(page, parserOptions_, job.crawl, ctx_.media);
    StatusToCrawl status(job.crawl);
    LinksToClassifier redirects(classifier);
    const PageFetcher fetcher(
        FetchContext{ctx_.internet, ctx_.network, ctx_.notifier, status, redirects, polite_.get()}, fetchOptions_);

    if (page.depth > 0) {
        bool first = false;
        const PoliteHosts::Verdict verdict = polite_->Check(page.url, job.stop, &first);
        if (verdict == PoliteHosts::Verdict::Stopped) return;
        if (verdict == PoliteHosts::Verdict::Disallowed) {
            if (first) failures_.LimitReached("robots.txt of " + job.item->url.HostPart() + " keeps pages out");
            return;
        }
    }

    std::string text;
    if (!fetcher.FetchPage(page.url, job.stop, text)) {
        if (!job.stop.load()) {
            std::string reason = status.lastError.empty() ? "could not be read" : status.lastError;
            if (reason == fetchtext::kGotStatus) reason += std::to_string(fetcher.LastStatus());
            failures_.Failed(page.url, page.depth, reason);
        }
        return;
    }
    failures_.Read(page.depth);
    ParsePage(page, text, parserOptions_, ParserOutputs{job.crawl, ctx_.media, ctx_.hits, ctx_.view}, job.stop);
    job.item->SetTitle(page.title);
    job.item->matched = page.matched;
}

}  // namespace flk
