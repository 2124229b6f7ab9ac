#include "search/CategorySearch.h"

#include "settings/Settings.h"
#include "net/RequestTimeLimit.h"
#include "search/EngineRequests.h"
#include "update/UpdateData.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <unordered_map>

namespace flk {

CategorySearch::CategorySearch(CategoryContext context, SafetyScope scope)
    : context_(std::move(context)), scope_(scope) {
    context_.network = WithRequestTimeLimit(context_.network, context_.settings);
}

CategorySearch::~CategorySearch() { StopWorkers(); }

void CategorySearch::StopWorkers() {
    for (auto& t : threads_) t->RequestStop();
    threads_.clear();  // each worker is joined as it goes
}

void CategorySearch::Start(const CategoryRequest& request) {
    if (state_ != State::Idle) return;
    request_ = request;
    const int amount = std::min(context_.settings.Get(keys::SearchCategoriesAmount), kMaxRequests * 10);
    UpdateData data(context_.updateFile, context_.settings);
    data.Load();
    data.BuildEngineUrls(requestUrls_, engine_names::kDirectory, scope_.directoryTemplate,
                         request.encodedQuery, amount);
    state_ = State::Loading;
    for (const std::string& url : requestUrls_) {
        auto thread = std::make_unique<YahooThread>(url, static_cast<DirectoryThreadOwner&>(*this),
                                                    context_.internet, context_.network);
        running_.fetch_add(1);
        if (!thread->Start()) {
            running_.fetch_sub(1);
            continue;
        }
        threads_.push_back(std::move(thread));
    }
}

CategorySearch::State CategorySearch::Tick() {
    if (state_ != State::Loading) return state_;
    if (emptySeen_.load() && !messageShown_) {
        messageShown_ = true;
        context_.ui.ShowInformation(category_text::kNoConnection);
    }
    if (running_.load() > 0) return state_;
    Finish();
    return state_;
}

void CategorySearch::Finish() {
    threads_.clear();
    progress_.store(kProgressRange);
    for (const DirectoryRecord& r : Records()) {
        if (!r.path.empty()) {
            tree_.Insert(r.path);
        } else if (scope_.keepDirectoryWebPages) {
            ++webPages_;
            webPageUrls_.push_back(r.url);
        }
    }
    if (tree_.CategoryCount() <= 1 || context_.settings.Get(keys::ViewCategoriesTree) == 0) {
        ChooseAutomatically();
        return;
    }
    state_ = State::Choosing;
    status_ = "Found " + std::to_string(tree_.CategoryCount()) + " categories, " + std::to_string(webPages_) +
              " web pages.";
}

std::vector<DirectoryRecord> CategorySearch::Records() const {
    std::lock_guard<std::mutex> guard(recordsLock_);
    return records_;
}

std::size_t CategorySearch::RecordRoom() const {
    std::lock_guard<std::mutex> guard(recordsLock_);
    return kMaxRecords - std::min(kMaxRecords, records_.size());
}

void CategorySearch::AddRecords(std::vector<DirectoryRecord>&& records) {
    std::lock_guard<std::mutex> guard(recordsLock_);
    for (auto& r : records) {
        if (records_.size() >= kMaxRecords) break;
        records_.push_back(std::move(r));
    }
}

void CategorySearch::ReplyProgress(std::uint64_t bytes) {
    progress_.store(static_cast<int>(std::min<std::uint64_t>(bytes, kProgressRange)));
}

void CategorySearch::EmptyReply() { emptySeen_.store(true); }

void CategorySearch::DirectoryDone(YahooThread*) { running_.fetch_sub(1); }

void CategorySearch::AddPaths(const std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> guard(selectedLock_);
    for (const std::string& p : paths) {
        if (selectedSet_.insert(p).second) selected_.push_back(p);
    }
}

std::vector<CategorySearch::Row> CategorySearch::Selected() const {
    std::lock_guard<std::mutex> guard(selectedLock_);
    std::vector<Row> rows;
    rows.reserve(selected_.size());
    for (const std::string& p : selected_) rows.push_back({TopicOf(p), PathPartOf(p)});
    return rows;
}

void CategorySearch::Add(int node) {
    if (state_ == State::Choosing) AddPaths(tree_.PathsUnder(node));
}

void CategorySearch::AddAll() {
    if (state_ != State::Choosing) return;
    for (int top : tree_.TopLevel()) AddPaths(tree_.PathsUnder(top));
}

void CategorySearch::Remove(std::vector<int> rows) {
    std::lock_guard<std::mutex> guard(selectedLock_);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it < 0 || *it >= static_cast<int>(selected_.size())) continue;
        selectedSet_.erase(selected_[static_cast<std::size_t>(*it)]);
        selected_.erase(selected_.begin() + *it);
    }
}

bool CategorySearch::RemoveEnabled() const {
    std::lock_guard<std::mutex> guard(selectedLock_);
    return !selected_.empty();
}

bool CategorySearch::OkEnabled() const { return RemoveEnabled() || !webPageUrls_.empty(); }

void CategorySearch::ChooseAutomatically() {
    if (state_ == State::Ended || state_ == State::Idle) return;
    // Every category: the records are already bounded by the requests made
    // and kMaxRecords.
    for (int top : tree_.TopLevel()) AddPaths(tree_.PathsUnder(top));
    state_ = State::Choosing;
    Ok();
}

void CategorySearch::Ok() {
    if (state_ != State::Choosing) return;
    const std::vector<DirectoryRecord> records = Records();
    std::unordered_map<std::string, std::vector<std::size_t>> byPath;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!records[i].path.empty()) byPath[records[i].path].push_back(i);

    addresses_ = webPageUrls_;
    std::lock_guard<std::mutex> guard(selectedLock_);
    for (const std::string& path : selected_) {
        auto it = byPath.find(path);
        if (it == byPath.end()) continue;
        for (std::size_t i : it->second) {
            addresses_.push_back(records[i].url);
            chosenTexts_.push_back(records[i].text);
        }
    }
    result_ = kCategoryOk;
    state_ = State::Ended;
}

void CategorySearch::Cancel() {
    if (state_ == State::Ended) return;
    StopWorkers();
    result_ = kCategoryCancelled;
    state_ = State::Ended;
}

int RunCategorySearchUnattended(CategoryContext context, SafetyScope scope, const CategoryRequest& request,
                                std::vector<std::string>& addresses, const std::atomic<bool>* stop) {
    CategorySearch search(std::move(context), scope);
    search.Start(request);
    while (search.Tick() == CategorySearch::State::Loading) {
        if (stop && stop->load()) {
            search.Cancel();
            return kCategoryCancelled;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(CategorySearch::kTimerMs));
    }
    if (search.GetState() == CategorySearch::State::Choosing) search.ChooseAutomatically();
    addresses = search.Addresses();
    return search.Result();
}

}  // namespace flk
