#include "search/EngineSearch.h"

#include "settings/Settings.h"
#include "net/QueryText.h"
#include "net/RequestTimeLimit.h"
#include "update/UpdateData.h"

#include <algorithm>

namespace flk {

RunEnd DecideRunEnd(int running, int found, int maxPages) {
    if (running < 1) return RunEnd::Finish;
    if (found >= maxPages) return RunEnd::StopNow;
    return RunEnd::Continue;
}

EngineSearch::EngineSearch(EngineSearchContext context)
    : context_(std::move(context)), hosts_(EngineHosts::FromSettings(context_.settings)), filter_(hosts_) {
    context_.network = WithRequestTimeLimit(context_.network, context_.settings);
}

EngineSearch::~EngineSearch() { StopAndJoinAll(); }

bool EngineSearch::Open(const std::string& initialQuery, bool immediateStart) {
    engines_.clear();
    UpdateData data(context_.updateFile, context_.settings);
    data.Load();
    data.GetEngineNames(engines_);
    userEngines_ = ReadUserEngines(context_.settings);
    for (const UserEngine& engine : userEngines_) engines_.push_back(engine.name);
    int index = context_.settings.Get(keys::SearchEngine);
    if (index < 0 || index >= static_cast<int>(engines_.size())) index = 0;
    fields_.engineIndex = index;
    context_.settings.Set(keys::SearchEngine, index);
    fields_.query = initialQuery.empty() ? context_.settings.Get(keys::SearchEngineLine) : initialQuery;
    status_ = engine_text::kIdle;
    return immediateStart ? Go() : true;
}

bool EngineSearch::Go() {
    if (searching_ || result_ != 0) return false;
    Settings& settings = context_.settings;
    settings.Set(keys::SearchEngine, fields_.engineIndex);
    settings.Set(keys::SearchMaxCat, fields_.maxCategories);
    searching_ = true;

    query_ = fields_.query;
    settings.Set(keys::SearchEngineLine, "\"" + query_ + "\"");
    const std::string encoded = EncodeQueryText(query_);

    const SafetyScope scope = SafetyScopeFor(GetSafetyLevel(settings));
    const bool known = fields_.engineIndex >= 0 && fields_.engineIndex < static_cast<int>(engines_.size());
    EngineKind kind = EngineKindOf(known ? engines_[static_cast<std::size_t>(fields_.engineIndex)] : "");
    const UserEngine* userEngine = UserEngineAt(fields_.engineIndex);
    // At the safest level a keyword search asks the directory alone.
    if (scope.directoryOnly) {
        kind = EngineKind::Directory;
        userEngine = nullptr;
    }
    status_ = userEngine ? "Searching the web using " + userEngine->name + "..." : SearchingStatus(kind);

    std::vector<std::string> categoryAddresses;
    if (userEngine) {
        resultPages_ = BuildUserEngineUrls(*userEngine, encoded, fields_.maxPages);
    } else if (kind == EngineKind::Directory) {
        const CategoryRequest request{query_, encoded, fields_.maxCategories};
        const int answer = context_.ui.RunCategoryDialog(request, scope, categoryAddresses);
        if (answer != kCategoryOk) {
            if (answer != kCategoryAbandoned) Restore();
            if (answer == kCategoryCancelled) {
                Notify(-2);
                End(kEndedWithout);
            }
            return false;
        }
        // The chosen category pages are fetched too: their links are the
        // sites the directory lists.
        resultPages_ = categoryAddresses;
    } else {
        resultPages_ = BuildResultPageUrls(kind, hosts_, encoded, fields_.maxPages);
    }

    filter_.Reset(fields_.maxPages, fields_.engineIndex == 2 && !userEngine,
                  userEngine ? UserEngineExclusion(*userEngine) : std::string());
    stopping_.store(false);
    progress_.store(0);
    for (const std::string& address : categoryAddresses) filter_.Offer(address, std::string());

    {
        std::lock_guard<std::mutex> guard(threadsLock_);
        totalPages_ = 0;
        for (const std::string& page : resultPages_)
            if (filter_.MarkVisited(page)) StartPageLocked(page);
    }
    timerRunning_ = true;
    return true;
}

void EngineSearch::StartPageLocked(const std::string& url) {
    if (stopping_.load()) return;
    ++totalPages_;
    if (active_ < kConcurrentPages)
        LaunchLocked(url);
    else
        pending_.push_back(url);
}

void EngineSearch::LaunchLocked(const std::string& url) {
    auto thread = std::make_unique<SearchEngineThread>(url, static_cast<EngineThreadOwner&>(*this),
                                                       context_.internet, context_.network);
    SearchEngineThread* raw = thread.get();
    // In the list before it runs, so its end always finds its entry.
    threads_.push_back(Entry{std::move(thread), false});
    ++active_;
    if (raw->Start()) {
        started_.fetch_add(1);
    } else {
        threads_.back().done = true;
        --active_;
    }
}

const UserEngine* EngineSearch::UserEngineAt(int index) const {
    const int first = static_cast<int>(engines_.size() - userEngines_.size());
    if (index < first || index >= static_cast<int>(engines_.size())) return nullptr;
    return &userEngines_[static_cast<std::size_t>(index - first)];
}

void EngineSearch::StepProgress() { progress_.fetch_add(1); }

void EngineSearch::OfferLink(std::string_view link, const std::string& resultPage) {
    if (stopping_.load()) return;
    std::string walk;
    if (filter_.Offer(link, resultPage, &walk) != FoundAddressFilter::Outcome::WalkCategory) return;
    std::lock_guard<std::mutex> guard(threadsLock_);
    StartPageLocked(walk);
}

void EngineSearch::PageDone(SearchEngineThread* thread) {
    std::lock_guard<std::mutex> guard(threadsLock_);
    for (Entry& e : threads_)
        if (e.thread.get() == thread) e.done = true;
    --active_;
    while (!stopping_.load() && active_ < kConcurrentPages && !pending_.empty()) {
        const std::string next = std::move(pending_.front());
        pending_.pop_front();
        LaunchLocked(next);
    }
}

int EngineSearch::Running() const {
    std::lock_guard<std::mutex> guard(threadsLock_);
    return active_ + static_cast<int>(pending_.size());
}

void EngineSearch::Reap() {
    std::vector<Entry> finished;
    {
        std::lock_guard<std::mutex> guard(threadsLock_);
        auto split =
            std::stable_partition(threads_.begin(), threads_.end(), [](const Entry& e) { return !e.done; });
        std::move(split, threads_.end(), std::back_inserter(finished));
        threads_.erase(split, threads_.end());
    }
    // Joined here, outside the lock their last call takes.
}

void EngineSearch::StopAndJoinAll() {
    std::vector<Entry> all;
    {
        std::lock_guard<std::mutex> guard(threadsLock_);
        stopping_.store(true);
        pending_.clear();
        for (Entry& e : threads_) e.thread->RequestStop();
        all.swap(threads_);
    }
    all.clear();
}

void EngineSearch::Tick() {
    if (!timerRunning_) return;
    Reap();
    switch (DecideRunEnd(Running(), filter_.FoundCount(), filter_.MaxPages())) {
        case RunEnd::Continue:
            break;
        case RunEnd::Finish:
            timerRunning_ = false;
            if (filter_.FoundCount() > 0) {
                HandOver();
                End(kHandedOver);
            } else {
                Notify(-1);
                End(kEndedWithout);
            }
            break;
        case RunEnd::StopNow:
            StopNow();
            break;
    }
}

void EngineSearch::StopNow() {
    if (!searching_ || result_ != 0) return;
    stopping_.store(true);
    timerRunning_ = false;
    if (filter_.FoundCount() > 0) HandOver();
    End(kEndedWithout);
    StopAndJoinAll();
}

void EngineSearch::Cancel() {
    if (result_ != 0) return;
    timerRunning_ = false;
    StopAndJoinAll();
    status_ = engine_text::kIdle;
    End(kEndedWithout);
}

void EngineSearch::HandOver() {
    context_.receiver.TakeFoundAddresses(query_, filter_.JoinedAddresses(), fields_.whenFinished.Mode());
}

void EngineSearch::Restore() {
    searching_ = false;
    timerRunning_ = false;
    filter_.Reset(fields_.maxPages, false);
    progress_.store(0);
    status_ = engine_text::kIdle;
}

void EngineSearch::End(int result) {
    result_ = result;
    searching_ = false;
}

void EngineSearch::Notify(long value) {
    Notification n;
    n.code = notify::SearchEnded;
    n.value = value;
    context_.notifier.Send(n);
}

EngineSearch::ViewState EngineSearch::View() const {
    ViewState v;
    v.status = status_;
    v.found = filter_.FoundCount();
    {
        std::lock_guard<std::mutex> guard(threadsLock_);
        v.progressRange = 5 * totalPages_;
    }
    v.progressPosition = std::min(progress_.load(), v.progressRange);
    v.stopNowEnabled = searching_ && !stopping_.load() && v.found >= 1;
    v.fieldsEnabled = !searching_;
    v.maxCategoriesVisible = fields_.engineIndex == 2;
    v.timerRunning = timerRunning_;
    v.result = result_;
    return v;
}

}  // namespace flk
