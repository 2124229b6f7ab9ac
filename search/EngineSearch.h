#pragma once
#include "net/InternetSession.h"
#include "platform/Notifier.h"
#include "search/CategorySearch.h"
#include "search/EngineRequests.h"
#include "search/FoundAddressFilter.h"
#include "search/FoundAddressReceiver.h"
#include "search/SearchEngineThread.h"
#include "search/UserEngines.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace flk {

class Settings;
class UpdateFile;

namespace engine_text {
inline constexpr const char* kIdle = "Enter parameters and press Go";
}  // namespace engine_text

// The questions of a search run that are windows. Called on the UI thread.
class EngineSearchUi {
public:
    virtual ~EngineSearchUi() = default;
    // Runs the "Search for categories" dialog modally: kCategoryOk with the
    // chosen addresses, kCategoryCancelled, or kCategoryAbandoned.
    virtual int RunCategoryDialog(const CategoryRequest& request, SafetyScope scope,
                                  std::vector<std::string>& addresses) = 0;
};

// Runs the category search without a window (automatic choice); stop,
// when given, cancels it (the answer is then kCategoryCancelled).
class UnattendedCategoryDialog : public EngineSearchUi {
public:
    explicit UnattendedCategoryDialog(CategoryContext context, const std::atomic<bool>* stop = nullptr)
        : context_(std::move(context)), stop_(stop) {}
    int RunCategoryDialog(const CategoryRequest& request, SafetyScope scope,
                          std::vector<std::string>& addresses) override {
        return RunCategorySearchUnattended(context_, scope, request, addresses, stop_);
    }

private:
    CategoryContext context_;
    const std::atomic<bool>* stop_;
};

struct EngineSearchContext {
    Settings& settings;
    UpdateFile& updateFile;
    InternetShare& internet;
    InternetOptions network;
    Notifier& notifier;
    FoundAddressReceiver& receiver;
    EngineSearchUi& ui;
};

// The run-end rule of the 500 ms timer.
enum class RunEnd { Continue, Finish, StopNow };
RunEnd DecideRunEnd(int running, int found, int maxPages);

// The "When finished:" boxes: "Start crawling." and "View the URL's list."
// exclude each other; "Check the sites." counts only with the list viewed.
class WhenFinished {
public:
    void SetStartCrawling(bool on) { viewList_ = !on; }
    void SetViewList(bool on) { viewList_ = on; }
    void SetCheckSites(bool on) { checkSites_ = on; }
    bool StartCrawling() const { return !viewList_; }
    bool ViewList() const { return viewList_; }
    bool CheckSites() const { return checkSites_; }
    bool CheckSitesEnabled() const { return viewList_; }
    HandOverMode Mode() const {
        if (!viewList_) return HandOverMode::StartCrawling;
        return checkSites_ ? HandOverMode::CheckSites : HandOverMode::ViewList;
    }

private:
    bool viewList_ = false;
    bool checkSites_ = false;
};

// The "Search engine dialog" as a model: the engine list, the request
// addresses of a run, its SearchEngineThread workers (at most
// kConcurrentPages fetching at once, the rest queued), the found-address
// filter, the timer's run-end rule, "Stop now", Cancel and the hand-over of
// the found addresses. Workers publish into locked or atomic state; the
// window reads View() on its timer. The object stops and joins every worker
// before it goes.
class EngineSearch : private EngineThreadOwner {
public:
    static constexpr int kTimerMs = 500;
    static constexpr int kConcurrentPages = 8;

    // Dialog results.
    static constexpr int kHandedOver = 1;
    static constexpr int kEndedWithout = 2;

    struct Fields {
        std::string query;
        int maxPages = 100;      // "Max pages amount:"
        int maxCategories = 20;  // "Max categories:"
        int engineIndex = 0;
        WhenFinished whenFinished;
    };

    struct ViewState {
        std::string status;
        int found = 0;  // "Pages found:"
        int progressPosition = 0;
        int progressRange = 0;
        bool stopNowEnabled = false;
        bool fieldsEnabled = true;
        bool maxCategoriesVisible = false;
        bool timerRunning = false;
        int result = 0;  // 0 while the dialog is open
    };

    explicit EngineSearch(EngineSearchContext context);
    ~EngineSearch() override;
    EngineSearch(const EngineSearch&) = delete;
    EngineSearch& operator=(const EngineSearch&) = delete;

    // Opening: the engine list from the update data, then the user's own
    // engines of "flk.ini"; the stored engine
    // selected (and written back), the query given or else the last one.
    // With immediateStart, Go follows at once; returns Go's answer then.
    bool Open(const std::string& initialQuery, bool immediateStart);

    const std::vector<std::string>& Engines() const { return engines_; }
    Fields& GetFields() { return fields_; }

    // Starts a run; false when the Go handling ended early (the category
    // dialog was not accepted).
    bool Go();
    // The timer step; does nothing while no run is going.
    void Tick();
    void StopNow();
    void Cancel();

    ViewState View() const;
    int Result() const { return result_; }
    const FoundAddressFilter& Found() const { return filter_; }
    // The result pages the run started with.
    const std::vector<std::string>& ResultPages() const { return resultPages_; }
    // Threads not yet finished, queued ones included.
    int Running() const;
    int ThreadsStarted() const { return started_.load(); }

private:
    void StepProgress() override;
    void OfferLink(std::string_view link, const std::string& resultPage) override;
    void PageDone(SearchEngineThread* thread) override;

    void StartPageLocked(const std::string& url);
    void LaunchLocked(const std::string& url);
    void Reap();
    void StopAndJoinAll();
    void HandOver();
    void Restore();
    void End(int result);
    void Notify(long value);
    // The user engine at an engine-list index, or nullptr.
    const UserEngine* UserEngineAt(int index) const;

    EngineSearchContext context_;
    const EngineHosts hosts_;
    std::vector<std::string> engines_;
    std::vector<UserEngine> userEngines_;  // listed after the update data's engines
    Fields fields_;

    // UI-thread state.
    std::string status_ = engine_text::kIdle;
    bool searching_ = false;
    bool timerRunning_ = false;
    int result_ = 0;
    std::string query_;
    std::vector<std::string> resultPages_;

    FoundAddressFilter filter_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> progress_{0};
    std::atomic<int> started_{0};

    struct Entry {
        std::unique_ptr<SearchEngineThread> thread;
        bool done = false;
    };
    mutable std::mutex threadsLock_;
    std::vector<Entry> threads_;
    std::deque<std::string> pending_;
    int active_ = 0;
    int totalPages_ = 0;
};

}  // namespace flk
