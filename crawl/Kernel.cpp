#include "crawl/Kernel.h"

#include "settings/Settings.h"
#include "crawl/CrawlWorker.h"
#include "crawl/FoundItems.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <exception>
#include <iterator>

namespace flk {

namespace {
constexpr char kRefreshOnly[] = "klum";
constexpr int kCountLimit = 100;
}  // namespace

kernel::kernel(const std::string& startString, KernelContext context)
    : WorkerThread("kernel"), ctx_(std::move(context)) {
    // An entry counts only when its ";" is met: text after the last one is not used.
    const std::size_t lastSep = startString.rfind(';');
    const std::string taken = lastSep == std::string::npos ? "" : startString.substr(0, lastSep + 1);
    for (const std::string& location : CompleteStart(taken)) {
        auto start = std::make_shared<CrawlItem>();
        start->url.Parse(location);
        start->text = "Top";
        {
            std::lock_guard<std::mutex> lock(startsLock_);
            startLocations_.push_back(start);
            siteLevels_[SiteKey(start->url.HostPart())] = 0;
        }
        AddLink(location, "Top", 0, "");
    }
}

kernel::~kernel() {
    Stop();
    Join();
    JoinWorkers();
}

std::string kernel::SiteKey(const std::string& hostPart) { return ToLowerAscii(Trim(hostPart)); }

void kernel::AddLink(const std::string& url, const std::string& text, int depth, const std::string& referrer) {
    const std::string trimmed = TrimCopy(url);
    std::lock_guard<std::mutex> lock(queueLock_);
    if (IsTitleLine(trimmed)) {
        // The tree pane switched off collects nothing, titles included.
        if (!(options_.showTitles && options_.showTree && options_.treePaneOn && !StopRequested())) return;
    } else if (trimmed.size() < 8 || !seen_.insert(trimmed).second) {
        return;
    }
    auto item = std::make_shared<CrawlItem>();
    item->url.Parse(trimmed);
    item->text = text;
    item->depth = depth;
    item->referrer = referrer;
    incoming_.push_back(std::move(item));
    // While every worker is busy a new link cannot start one: it waits for
    // the next worker's end (or the wait's time limit) to be decided, so the
    // kernel is not woken once per link found.
    if (wakeOnLinks_.load()) Signal();
}

void kernel::AddStartLocation(const std::string& url) {
    auto start = std::make_shared<CrawlItem>();
    start->url.Parse(TrimCopy(url));
    if (start->url.Empty()) return;
    start->text = "Top";
    std::lock_guard<std::mutex> lock(startsLock_);
    siteLevels_.emplace(SiteKey(start->url.HostPart()), 0);
    startLocations_.push_back(std::move(start));
}

std::vector<std::string> kernel::StartLocations() const {
    std::lock_guard<std::mutex> lock(startsLock_);
    std::vector<std::string> out;
    for (const auto& s : startLocations_) out.push_back(s->url.Full());
    return out;
}

void kernel::Stop() {
    RequestStop();
    CancelWorkers();
    Resume();
    Signal();
}

void kernel::Signal() {
    {
        std::lock_guard<std::mutex> lock(eventLock_);
        ++events_;
    }
    eventCv_.notify_all();
}

std::uint64_t kernel::Events() const {
    std::lock_guard<std::mutex> lock(eventLock_);
    return events_;
}

void kernel::WaitForEvent(std::uint64_t seen, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(eventLock_);
    eventCv_.wait_for(lock, limit, [&] { return events_ != seen || StopRequested(); });
}

void kernel::Pause() {
    std::lock_guard<std::mutex> lock(pauseLock_);
    paused_ = true;
}

void kernel::Resume() {
    {
        std::lock_guard<std::mutex> lock(pauseLock_);
        paused_ = false;
    }
    pauseCv_.notify_all();
    Signal();
}

bool kernel::Paused() const {
    std::lock_guard<std::mutex> lock(pauseLock_);
    return paused_;
}

bool kernel::WaitWhilePaused() {
    std::unique_lock<std::mutex> lock(pauseLock_);
    pauseCv_.wait(lock, [this] { return !paused_ || StopRequested(); });
    return !StopRequested();
}

void kernel::CancelWorkers() {
    {
        std::lock_guard<std::mutex> lock(threadLock_);
        for (auto& w : workers_) w->Cancel();
    }
    // A worker waiting for an answer (the password question) hears its stop
    // only once the question is dropped.
    ctx_.notifier.DropStopped();
    // So do workers waiting for a site's turn or a Retry-After.
    ctx_.pages.WorkersStopped();
}

void kernel::JoinWorkers() {
    // Joined outside the lock: Stop() from the window takes it, and a worker
    // being joined may wait for the window.
    std::vector<std::unique_ptr<CrawlWorker>> leaving;
    {
        std::lock_guard<std::mutex> lock(threadLock_);
        leaving.swap(workers_);
    }
    leaving.clear();
}

bool kernel::AnyCountExceeded() {
    Notification n;
    n.code = notify::AnyCountExceeds;
    n.value = kCountLimit;
    n.senderStop = &StopFlag();
    return ctx_.notifier.Send(n) != 0;
}

void kernel::WorkerEnded() {
    --running_;
    ShowStatus(kRefreshOnly);
    Signal();
}

CrawlProgress kernel::MakeProgress(const std::string& status) const {
    CrawlProgress p;
    if (status != kRefreshOnly) p.status = status;
    p.threads = running_.load();
    p.pagesParsed = parsed_.load();
    p.pagesFound = std::max(accepted_.load(), p.pagesParsed);
    if (ctx_.view.SinglePage()) {
        p.pagesFound = std::min(p.pagesFound, 1);
        p.pagesParsed = std::min(p.pagesParsed, 1);
    }
    p.barMax = p.pagesFound;
    p.barPos = p.threads > p.pagesParsed ? p.pagesParsed - 1 : p.pagesParsed - p.threads - 1;
    p.barPos = std::clamp(p.barPos, 0, std::max(p.barMax, 0));
    return p;
}

void kernel::ShowStatus(const std::string& text) { ctx_.view.ShowProgress(MakeProgress(text)); }

bool kernel::HasWork() {
    // Workers are counted first: one that adds its links and then ends
    // between the two reads must still leave its links seen.
    if (running_.load() > 0 || !toPrint_.empty() || !toFetch_.empty()) return true;
    std::lock_guard<std::mutex> lock(queueLock_);
    return !incoming_.empty();
}

bool kernel::Idle() {
    if (!toPrint_.empty()) return false;
    if (!toFetch_.empty() && running_.load() < ctx_.view.Limits().maxThreads) return false;
    std::lock_guard<std::mutex> lock(queueLock_);
    return incoming_.empty();
}

void kernel::Run() {
    // Nothing may leave the thread (it would end the program): a failure
    // ends this crawl, says so in the status line, and the crawl still ends
    // as any other, its workers joined and the window told.
    try {
        Crawl();
    } catch (const std::exception& e) {
        Failed(e.what());
    } catch (...) {
        Failed("unknown error");
    }
    try {
        EndCrawl();
    } catch (...) {
        Failed("unknown error");
        try {
            JoinWorkers();
            ctx_.view.CrawlEnded();
        } catch (...) {
        }
    }
}

void kernel::Failed(const char* what) {
    RequestStop();
    try {
        CancelWorkers();
        ShowStatus(std::string(kCrawlFailed) + what);
    } catch (...) {
    }
}

void kernel::Crawl() {
    options_ = ReadCrawlOptions(ctx_.settings);
    // The longest wait without an event: the pacing's pass pause, and never
    // so long that a changed thread limit goes unnoticed.
    const std::chrono::milliseconds idleWait =
        std::max(std::chrono::duration_cast<std::chrono::milliseconds>(ctx_.pacing.betweenPasses),
                 std::chrono::milliseconds(10));
    while (!StopRequested() && HasWork()) {
        if (!WaitWhilePaused()) break;
        const std::uint64_t events = Events();

        // 1. Decide every incoming link, oldest first. The queue lock is held
        //    only to take the links out, never across a call to the window.
        std::deque<ItemPtr> batch;
        {
            std::lock_guard<std::mutex> lock(queueLock_);
            batch.swap(incoming_);
        }
        for (auto& item : batch) {
            if (StopRequested()) break;
            Decide(item);
            Pacing::Pause(ctx_.pacing.perIncomingItem, &StopFlag());
        }

        // 2. Tree lines.
        PrintQueuedLines();

        // 3. Workers.
        ReapWorkers();
        StartWorkers();

        // 4. Progress; a found count above the limit ends the crawl.
        ShowStatus(kRefreshOnly);
        if (AnyCountExceeded()) {
            CancelWorkers();
            break;
        }
        // Nothing to do until a worker ends or a link arrives: wait for that
        // instead of passing again at once.
        if (Idle()) {
            wakeOnLinks_.store(running_.load() < ctx_.view.Limits().maxThreads);
            WaitForEvent(events, idleWait);
            wakeOnLinks_.store(true);
        }
        else
            Pacing::Pause(ctx_.pacing.betweenPasses, &StopFlag());
    }
    ShowStatus(kRefreshOnly);
}

bool kernel::StayInDomainAccepts(const ItemPtr& item, bool& print) {
    std::lock_guard<std::mutex> lock(startsLock_);
    for (const auto& start : startLocations_) {
        if (SameSite(item->url, start->url) &&
            (!options_.url.stayInDir || InsideDirectory(item->url, start->url)))
            return true;
    }
    const ParsedUrl referrer(item->referrer);
    const auto found = siteLevels_.find(SiteKey(referrer.HostPart()));
    const int level = found == siteLevels_.end() ? 0 : found->second;
    if (level >= options_.url.domainLevel) {
        if (!options_.showExternal) print = false;
        return false;
    }
    // A site one hop further away: it becomes a start location of its own.
    // A host that already has a level keeps it, so a start site never moves
    // away from level 0.
    siteLevels_.emplace(SiteKey(item->url.HostPart()), level + 1);
    auto start = std::make_shared<CrawlItem>();
    start->url = item->url;
    start->text = "Top";
    startLocations_.push_back(start);
    // As a start location it is a "top" line of the tree: its site's pages
    // grow under it, not under the page of the site that linked to it.
    item->depth = 0;
    item->text = "Top";
    item->referrer.clear();
    return true;
}

void kernel::Decide(const ItemPtr& item) {
    if (item->IsTitleLine()) {
        toPrint_.push_back(item);
        return;
    }
    bool visit = true;
    bool print = true;
    if (options_.url.IsDontVisit(item->url)) visit = false;
    if (options_.url.stayInDomain && !StayInDomainAccepts(item, print)) visit = false;

    const CrawlLimits limits = ctx_.view.Limits();
    if (options_.depthLimitOn && item->depth > limits.maxDepth) {
        if (visit) NoteLimit("depth", "links deeper than " + std::to_string(limits.maxDepth) + " levels not followed (depth limit)");
        visit = print = false;
    }
    if (options_.pagesLimitOn && accepted_.load() >= limits.maxPages) {
        if (visit) NoteLimit("pages", "stopped at " + std::to_string(limits.maxPages) + " pages (page limit)");
        visit = print = false;
    }
    if (AnyCountExceeded()) visit = print = false;
    if (!options_.showTree || !options_.treePaneOn) print = false;
    if (options_.pagesPerSiteOn) {
        // Counted for every link that gets this far, fetched or not.
        if (++perSiteCounts_[item->url.HostPart()] > options_.pagesPerSite) {
            if (visit) {
                std::string host = item->url.HostPart();
                if (const std::size_t scheme = host.find("://"); scheme != std::string::npos) host.erase(0, scheme + 3);
                NoteLimit("site " + item->url.HostPart(), "stopped at " + std::to_string(options_.pagesPerSite) +
                                                              " pages for " + host + " (pages per site)");
            }
            visit = false;
        }
    }

    if (visit) {
        toFetch_.push_back(item);
        ++accepted_;
    }
    if (print) toPrint_.push_back(item);
}

void kernel::NoteLimit(const std::string& which, const std::string& note) {
    if (limitsNoted_.insert(which).second) ctx_.pages.LimitReached(note);
}

void kernel::PrintQueuedLines() {
    while (!toPrint_.empty() && !StopRequested()) {
        ItemPtr item = toPrint_.front();
        toPrint_.pop_front();
        ctx_.view.AddTreeLine(item->url.Full(), item->referrer);
        if (!toPrint_.empty()) Pacing::Pause(ctx_.pacing.betweenTreeLines, &StopFlag());
    }
}

void kernel::ReapWorkers() {
    std::vector<std::unique_ptr<CrawlWorker>> ended;
    {
        std::lock_guard<std::mutex> lock(threadLock_);
        auto done = std::stable_partition(workers_.begin(), workers_.end(),
                                          [](const std::unique_ptr<CrawlWorker>& w) { return w->Active(); });
        std::move(done, workers_.end(), std::back_inserter(ended));
        workers_.erase(done, workers_.end());
        // A lowered thread limit: waiting workers beyond it end (and go on a
        // later pass).
        const std::size_t limit = static_cast<std::size_t>(std::max(ctx_.view.Limits().maxThreads, 0));
        std::size_t kept = workers_.size();
        for (auto& w : workers_) {
            if (kept <= limit) break;
            if (!w->StopRequested() && w->RetireIfWaiting()) --kept;
        }
    }
}

void kernel::StartWorkers() {
    std::lock_guard<std::mutex> lock(threadLock_);
    while (!StopRequested() && !toFetch_.empty() && running_.load() < ctx_.view.Limits().maxThreads) {
        // A waiting worker takes the page; a new thread only when none waits.
        ++running_;
        const auto waiting = std::find_if(workers_.begin(), workers_.end(), [&](const std::unique_ptr<CrawlWorker>& w) {
            return w->Offer(toFetch_.front());
        });
        if (waiting == workers_.end()) {
            auto worker = std::make_unique<CrawlWorker>(*this, toFetch_.front());
            if (!worker->Start(options_.workerPriority)) {
                --running_;
                break;  // the item stays queued for the next pass
            }
            workers_.push_back(std::move(worker));
        }
        toFetch_.pop_front();
    }
}

void kernel::EndCrawl() {
    // Every worker is gone before the window hears of the end, so nothing of
    // this crawl reaches the lists afterwards. They go before the wait for
    // the checker: a cancelled worker may still queue a check on its way out.
    CancelWorkers();
    JoinWorkers();
    // Media found late still get their sizes before the crawl counts as
    // over. Stop (and closing the window) does not wait for slow servers:
    // the checks go on in the checker and their sizes still reach the lists.
    if (ctx_.checker) ctx_.checker->WaitUntilNonePending(StopFlag());
    try {
        Notification ended;
        ended.code = notify::SearchEnded;
        ended.value = 0;
        ctx_.notifier.Send(ended);
    } catch (...) {
        // The window still hears of the end below.
    }
    ctx_.view.CrawlEnded();
    std::lock_guard<std::mutex> lock(queueLock_);
    incoming_.clear();
    toFetch_.clear();
    toPrint_.clear();
}

}  // namespace flk
