#pragma once
#include "crawl/CrawlItem.h"
#include "crawl/CrawlOptions.h"
#include "crawl/CrawlView.h"
#include "crawl/LinkTarget.h"
#include "crawl/PageHandler.h"
#include "crawl/Pacing.h"
#include "platform/Notifier.h"
#include "platform/WorkerThread.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

namespace flk {

class CrawlWorker;
class Settings;

// The status line of a crawl ended by an internal failure (out of memory, a
// library's exception), followed by what failed.
inline constexpr char kCrawlFailed[] = "Error: the crawl ended on an internal failure: ";

// What a crawl works with; everything outlives the kernel.
struct KernelContext {
    Settings& settings;
    CrawlView& view;
    Notifier& notifier;
    PageHandler& pages;
    const PendingChecks* checker = nullptr;
    Pacing pacing;
};

// Runs one crawl: queues the links found, decides for each whether it is
// fetched, shown in the site tree, both or neither, and hands each page to
// be fetched to a worker, as many at once as the view's thread limit allows
// (workers are reused from page to page). Construct on the UI thread with
// the ";"-separated start locations, then Start().
class kernel : public WorkerThread, public LinkTarget {
public:
    kernel(const std::string& startString, KernelContext context);
    ~kernel() override;

    // Queues a link or a title line ("<<title>>"); called by workers and by
    // the kernel. URLs shorter than 8 characters and repeats are dropped.
    void AddLink(const std::string& url, const std::string& text, int depth, const std::string& referrer) override;
    // A redirect of a start page: its target becomes a start location too.
    void AddStartLocation(const std::string& url) override;
    // Shows a status text with the counters; "klum" refreshes only the counters.
    void ShowStatus(const std::string& text) override;

    // Ends the crawl: no new workers, running ones end without counting.
    void Stop();
    // Pausing holds the scheduling; running workers finish their pages.
    void Pause();
    void Resume();
    bool Paused() const;

    int AcceptedPages() const { return accepted_.load(); }
    int ParsedPages() const { return parsed_.load(); }
    int RunningWorkers() const { return running_.load(); }
    std::vector<std::string> StartLocations() const;
    // Valid once the crawl runs; read-only from then on.
    const CrawlOptions& Options() const { return options_; }
    const KernelContext& Context() const { return ctx_; }

    // Called by CrawlWorker.
    void PageParsed() { ++parsed_; }
    void WorkerEnded();

protected:
    void Run() override;

private:
    using ItemPtr = std::shared_ptr<CrawlItem>;

    void Decide(const ItemPtr& item);
    bool StayInDomainAccepts(const ItemPtr& item, bool& print);
    void PrintQueuedLines();
    // Tells the page handler once per limit (`which`) that it kept pages out.
    void NoteLimit(const std::string& which, const std::string& note);
    void StartWorkers();
    void ReapWorkers();
    // Stops every worker and drops the questions they wait on.
    void CancelWorkers();
    void JoinWorkers();
    void Crawl();
    void Failed(const char* what);
    bool AnyCountExceeded();
    bool WaitWhilePaused();
    bool HasWork();
    // Nothing to decide, print or start until a worker ends or a link comes.
    bool Idle();
    // Wakes the kernel's wait: a new link, a worker ended, stop, resume.
    void Signal();
    // Waits for a Signal() after `seen` or until `limit` passed.
    void WaitForEvent(std::uint64_t seen, std::chrono::milliseconds limit);
    std::uint64_t Events() const;
    void EndCrawl();
    CrawlProgress MakeProgress(const std::string& status) const;
    static std::string SiteKey(const std::string& hostPart);

    KernelContext ctx_;
    CrawlOptions options_;

    // queue lock: incoming queue, seen URLs
    mutable std::mutex queueLock_;
    std::deque<ItemPtr> incoming_;
    std::unordered_set<std::string> seen_;

    // start locations and site levels, also grown by workers (redirects)
    mutable std::mutex startsLock_;
    std::vector<ItemPtr> startLocations_;
    std::map<std::string, int> siteLevels_;

    // kernel thread only
    std::deque<ItemPtr> toFetch_;
    std::deque<ItemPtr> toPrint_;
    std::map<std::string, int> perSiteCounts_;
    std::set<std::string> limitsNoted_;

    // thread lock: the worker list
    std::mutex threadLock_;
    std::vector<std::unique_ptr<CrawlWorker>> workers_;

    std::atomic<int> accepted_{0};
    std::atomic<int> parsed_{0};
    std::atomic<int> running_{0};

    mutable std::mutex eventLock_;
    std::condition_variable eventCv_;
    std::uint64_t events_ = 0;
    // False while the kernel waits with every worker busy: a new link then
    // need not wake it.
    std::atomic<bool> wakeOnLinks_{true};
    mutable std::mutex pauseLock_;
    std::condition_variable pauseCv_;
    bool paused_ = false;
};

}  // namespace flk
