#pragma once
#include "net/InternetSession.h"
#include "search/CategoryTree.h"
#include "search/DirectoryReply.h"
#include "search/SafetyLevel.h"
#include "search/YahooThread.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

namespace flk {

class Settings;
class UpdateFile;

namespace category_text {
inline constexpr const char* kNoConnection =
    "Could not connect to server.\nPlease check that you are connected\nto the Internet.\nIf the "
    "problem continues, Please try again later,\nThe server could be down";
}  // namespace category_text

// Results of the category search, as the search-engine side reads them.
inline constexpr int kCategoryOk = 1;
inline constexpr int kCategoryCancelled = 2;
// The dialog was closed under its owner (the owner is going away): nothing
// to restore.
inline constexpr int kCategoryAbandoned = 4321;

// The messages of the category search that are windows. Called on the UI
// thread only.
class CategoryUi {
public:
    virtual ~CategoryUi() = default;
    // An information message, system-modal.
    virtual void ShowInformation(const std::string& text) = 0;
};

struct CategoryRequest {
    std::string queryText;     // shown in "Searching for:"
    std::string encodedQuery;  // goes into the request templates
    int maxCategories = 20;    // the "Max categories:" field, handed to the dialog
};

struct CategoryContext {
    Settings& settings;
    UpdateFile& updateFile;
    InternetShare& internet;
    InternetOptions network;
    CategoryUi& ui;
};

// The "Search for categories" dialog as a model: directory requests on
// YahooThread workers, the records they return, the category tree, the
// selected list, automatic selection and the Add / Add all / Remove / OK /
// Cancel operations. The window polls Tick() every kTimerMs. The object
// stops and joins its workers before it goes.
class CategorySearch : private DirectoryThreadOwner {
public:
    static constexpr int kTimerMs = 100;
    static constexpr int kProgressRange = 20000;
    // Records kept from all replies of one search together.
    static constexpr std::size_t kMaxRecords = 1000;
    // Requests of one search (10 results each).
    static constexpr int kMaxRequests = 20;

    enum class State { Idle, Loading, Choosing, Ended };

    struct Row {
        std::string topic;  // after the last "/"
        std::string path;   // up to and including the last "/"
    };

    CategorySearch(CategoryContext context, SafetyScope scope);
    ~CategorySearch() override;
    CategorySearch(const CategorySearch&) = delete;
    CategorySearch& operator=(const CategorySearch&) = delete;

    // Builds the directory requests (engine "Looksmart", the scope's
    // template, "categories_amount" results) and starts one worker each.
    void Start(const CategoryRequest& request);

    // The timer step: the connection message (once), and when every worker
    // has ended, the tree, the web pages, and the automatic choice or the
    // hand-over to the user.
    State Tick();

    State GetState() const { return state_; }
    // 1 (OK) or 2 (Cancel) once ended, else 0.
    int Result() const { return result_; }
    // The chosen addresses, valid once ended with OK.
    const std::vector<std::string>& Addresses() const { return addresses_; }
    // The "R=" text of every chosen record, for the media-search window.
    const std::vector<std::string>& ChosenTexts() const { return chosenTexts_; }

    const std::vector<std::string>& RequestUrls() const { return requestUrls_; }
    const std::string& SearchingFor() const { return request_.queryText; }
    const std::string& Status() const { return status_; }
    int ProgressPosition() const { return progress_.load(); }
    int CategoryCount() const { return tree_.CategoryCount(); }
    int WebPageCount() const { return webPages_; }
    std::vector<DirectoryRecord> Records() const;

    // Choosing.
    const CategoryTree& Tree() const { return tree_; }
    std::vector<Row> Selected() const;
    void Add(int node);
    void AddAll();
    // Rows by index; unknown indices are ignored.
    void Remove(std::vector<int> rows);
    bool OkEnabled() const;
    bool RemoveEnabled() const;
    bool AddEnabled() const { return !tree_.Empty(); }
    void Ok();
    void Cancel();
    // The automatic choice: every category, then OK.
    void ChooseAutomatically();

private:
    std::size_t RecordRoom() const override;
    void AddRecords(std::vector<DirectoryRecord>&& records) override;
    void ReplyProgress(std::uint64_t bytes) override;
    void EmptyReply() override;
    void DirectoryDone(YahooThread* thread) override;

    void Finish();
    void AddPaths(const std::vector<std::string>& paths);
    void StopWorkers();

    CategoryContext context_;
    const SafetyScope scope_;
    CategoryRequest request_;
    State state_ = State::Idle;
    int result_ = 0;
    std::string status_;
    std::vector<std::string> requestUrls_;

    std::vector<std::unique_ptr<YahooThread>> threads_;  // touched on the UI thread only
    std::atomic<int> running_{0};
    std::atomic<bool> emptySeen_{false};
    bool messageShown_ = false;
    std::atomic<int> progress_{0};

    mutable std::mutex recordsLock_;
    std::vector<DirectoryRecord> records_;

    CategoryTree tree_;
    int webPages_ = 0;
    std::vector<std::string> webPageUrls_;

    mutable std::mutex selectedLock_;
    std::vector<std::string> selected_;  // full category paths, in order
    std::unordered_set<std::string> selectedSet_;

    std::vector<std::string> addresses_;
    std::vector<std::string> chosenTexts_;
};

// Runs a category search to its end without a window: the category choice
// is automatic (every category) whatever "CategoriesTree"
// says. Returns kCategoryOk with the addresses, or kCategoryCancelled when
// stop turned true first.
int RunCategorySearchUnattended(CategoryContext context, SafetyScope scope, const CategoryRequest& request,
                                std::vector<std::string>& addresses, const std::atomic<bool>* stop = nullptr);

}  // namespace flk
