#include "download/DownloadManager.h"

#include "download/CWorker.h"
#include "download/DownloadNames.h"
#include "platform/Notifier.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

DownloadManager::DownloadManager(DownloadManagerContext context) : ctx_(std::move(context)) {}

DownloadManager::~DownloadManager() {
    StopAll();
    ctx_.notifier.DropStopped();
    std::vector<std::unique_ptr<CWorker>> workers;
    {
        std::unique_lock<std::mutex> g(lock_);
        changed_.wait(g, [this] { return running_.empty(); });
        workers.swap(ended_);
    }
    workers.clear();  // joins
}

int DownloadManager::AddDownload(const std::string& rawUrl, const std::string& folder, const std::string& user,
                                 const std::string& password, ExistingFilePolicy policy) {
    const std::string trimmed = TrimCopy(rawUrl);
    const std::string url = trimmed.find("://") == std::string::npos ? "http://" + trimmed : trimmed;
    bool askNames = false;
    {
        std::lock_guard<std::mutex> g(lock_);
        if (ListedLocked(url)) return kAlreadyListed;
        askNames = askNames_;
    }
    const std::string name = DownloadFileName(url);
    std::string target = name.empty() ? WithTrailingSeparator(folder) : DownloadTarget(folder, name);
    if (askNames || name.empty()) {
        std::optional<std::string> chosen =
            ctx_.questions ? ctx_.questions->AskFileName(kSaveAsTitle, target, nullptr) : std::nullopt;
        if (!chosen || chosen->empty()) return kAdded;
        target = *chosen;
    }
    std::lock_guard<std::mutex> g(lock_);
    return QueueLocked(DownloadJob{url, target, policy, user, password});
}

int DownloadManager::AddDownloadTo(const std::string& url, const std::string& target, const std::string& user,
                                   const std::string& password, ExistingFilePolicy policy) {
    std::lock_guard<std::mutex> g(lock_);
    return QueueLocked(DownloadJob{TrimCopy(url), target, policy, user, password});
}

int DownloadManager::QueueLocked(DownloadJob job) {
    if (ListedLocked(job.url)) return kAlreadyListed;
    accepting_ = true;
    WaitingRow row;
    row.url = job.url;
    row.target = job.target;
    row.status = download_status::Waiting;
    waiting_.push_back(std::move(row));
    queue_.push_back(std::move(job));
    Touch();
    StartLocked();
    return kAdded;
}

void DownloadManager::SetOptions(bool askNames, int minFreeMb, int maxThreads) {
    std::lock_guard<std::mutex> g(lock_);
    askNames_ = askNames;
    minFreeMb_ = std::max(0, minFreeMb);
    maxThreads_ = std::max(1, maxThreads);
    StartLocked();
}

void DownloadManager::StopDownloads(const std::vector<std::string>& urls) {
    std::lock_guard<std::mutex> g(lock_);
    for (const std::string& url : urls) {
        auto worker = running_.find(url);
        if (worker != running_.end()) {
            worker->second->RequestStop();
            continue;
        }
        const auto queued = std::find_if(queue_.begin(), queue_.end(), [&](const DownloadJob& j) { return j.url == url; });
        if (queued == queue_.end()) continue;
        queue_.erase(queued);
        for (std::size_t i = waiting_.size(); i-- > 0;)
            if (waiting_[i].url == url) {
                MoveToFinishedLocked(i, download_result::Interrupted);
                break;
            }
    }
    Touch();
    changed_.notify_all();
}

void DownloadManager::StopAll() {
    std::lock_guard<std::mutex> g(lock_);
    accepting_ = false;
    queue_.clear();
    for (std::size_t i = waiting_.size(); i-- > 0;) {
        auto worker = running_.find(waiting_[i].url);
        if (worker != running_.end())
            worker->second->RequestStop();
        else
            MoveToFinishedLocked(i, download_result::Interrupted);
    }
    Touch();
    changed_.notify_all();
}

DownloadView DownloadManager::View() const {
    std::lock_guard<std::mutex> g(lock_);
    return DownloadView{revision_.load(), waiting_, finished_, static_cast<int>(running_.size())};
}

bool DownloadManager::Idle() const {
    std::lock_guard<std::mutex> g(lock_);
    return running_.empty() && queue_.empty();
}

bool DownloadManager::WaitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> g(lock_);
    const bool idle = changed_.wait_for(g, limit, [this] { return running_.empty() && queue_.empty(); });
    if (idle) ReapLocked();
    return idle;
}

int DownloadManager::PeakRunning() const {
    std::lock_guard<std::mutex> g(lock_);
    return peak_;
}

std::vector<std::string> DownloadManager::FilesToOpen(const std::vector<FinishedRow>& rows) {
    std::vector<std::string> paths;
    for (const FinishedRow& row : rows)
        if (row.result != download_status::Interrupted) paths.push_back(row.target);
    return paths;
}

std::vector<std::string> DownloadManager::FoldersToOpen(const std::vector<FinishedRow>& rows) {
    std::vector<std::string> folders;
    for (const std::string& path : FilesToOpen(rows)) folders.push_back(FolderOf(path));
    return folders;
}

// --- what the workers tell ---

WaitingRow* DownloadManager::FindRowLocked(const std::string& url) {
    for (std::size_t i = waiting_.size(); i-- > 0;)
        if (waiting_[i].url == url) return &waiting_[i];
    return nullptr;
}

bool DownloadManager::ListedLocked(const std::string& url) const {
    return running_.count(url) ||
           std::any_of(queue_.begin(), queue_.end(), [&](const DownloadJob& j) { return j.url == url; });
}

void DownloadManager::OnTarget(const std::string& url, const std::string& path) {
    std::lock_guard<std::mutex> g(lock_);
    if (WaitingRow* row = FindRowLocked(url)) {
        row->target = path;
        row->status = download_status::Starting;
    }
    Touch();
}

void DownloadManager::OnSize(const std::string& url, std::int64_t total, std::uint64_t already) {
    std::lock_guard<std::mutex> g(lock_);
    WaitingRow* row = FindRowLocked(url);
    if (!row) return;
    row->total = total;
    row->received = already;
    Touch();
    if (total < 0 || static_cast<std::uint64_t>(total) <= already) return;
    const std::uint64_t needed = static_cast<std::uint64_t>(total) - already;
    if (EnoughFreeSpace(ctx_.freeSpace, row->target, needed, minFreeMb_)) return;
    row->diskFull = true;
    row->status = download_status::DiskFull;
    auto worker = running_.find(url);
    if (worker != running_.end()) worker->second->StopAndDiscard();
}

void DownloadManager::OnReceived(const std::string& url, std::uint64_t bytes) {
    std::lock_guard<std::mutex> g(lock_);
    if (WaitingRow* row = FindRowLocked(url)) row->received += bytes;
    Touch();
}

void DownloadManager::OnRestart(const std::string& url) {
    std::lock_guard<std::mutex> g(lock_);
    if (WaitingRow* row = FindRowLocked(url)) row->received = 0;
    Touch();
}

void DownloadManager::OnStatus(const std::string& url, const std::string& text) {
    std::lock_guard<std::mutex> g(lock_);
    WaitingRow* row = FindRowLocked(url);
    if (row && !row->diskFull) row->status = text;
    Touch();
}

void DownloadManager::MoveToFinishedLocked(std::size_t i, int code) {
    WaitingRow& row = waiting_[i];
    const std::string text = ResultText(code);
    if (!row.diskFull && !text.empty()) row.status = text;
    FinishedRow done{row.url, row.target, row.status, code,
                     code == download_result::Finished ? row.received : 0};
    finished_.insert(finished_.begin(), std::move(done));
    waiting_.erase(waiting_.begin() + static_cast<std::ptrdiff_t>(i));
}

void DownloadManager::OnFinished(const std::string& url, int code) {
    std::lock_guard<std::mutex> g(lock_);
    auto worker = running_.find(url);
    if (worker == running_.end()) return;
    for (std::size_t i = waiting_.size(); i-- > 0;)
        if (waiting_[i].url == url) {
            MoveToFinishedLocked(i, code);
            break;
        }
    ended_.push_back(std::move(worker->second));
    running_.erase(worker);
    for (auto it = claims_.begin(); it != claims_.end();)
        it = it->second == url ? claims_.erase(it) : std::next(it);
    Touch();
    StartLocked();
    changed_.notify_all();
}

bool DownloadManager::ClaimTarget(const std::string& url, const std::string& path) {
    std::lock_guard<std::mutex> g(lock_);
    auto [it, added] = claims_.emplace(path, url);
    return added || it->second == url;
}

bool DownloadManager::ClaimedByOther(const std::string& url, const std::string& path) {
    std::lock_guard<std::mutex> g(lock_);
    auto it = claims_.find(path);
    return it != claims_.end() && it->second != url;
}

std::optional<std::string> DownloadManager::AskFileName(const std::string& title, const std::string& suggested,
                                                        const std::atomic<bool>* stop) {
    if (!ctx_.questions) return std::nullopt;
    return ctx_.questions->AskFileName(title, suggested, stop);
}

bool DownloadManager::AskCredentials(const std::string& url, std::string& user, std::string& password,
                                     const std::atomic<bool>* stop) {
    Notification n;
    n.code = notify::PasswordNeeded;
    n.text = url;
    n.user = user;
    n.password = password;
    n.senderStop = stop;
    if (ctx_.notifier.Send(n) != 1 || (stop && stop->load())) return false;
    user = n.user;
    password = n.password;
    return true;
}

void DownloadManager::ReapLocked() {
    // A worker is joined once its thread has left Run(); the one calling in
    // now is still inside it and waits for a later turn.
    for (auto it = ended_.begin(); it != ended_.end();) {
        if ((*it)->Active()) {
            ++it;
        } else {
            (*it)->Join();
            it = ended_.erase(it);
        }
    }
}

void DownloadManager::StartLocked() {
    ReapLocked();
    while (accepting_ && !queue_.empty() && static_cast<int>(running_.size()) < maxThreads_) {
        DownloadJob job = std::move(queue_.front());
        queue_.pop_front();
        const std::string url = job.url;
        DownloadEvents& events = *this;
        auto worker = std::make_unique<CWorker>(std::move(job), ctx_.network, events);
        CWorker* started = worker.get();
        running_[url] = std::move(worker);
        peak_ = std::max(peak_, static_cast<int>(running_.size()));
        if (!started->Start()) {
            // No thread: the row finishes as a connection error.
            running_.erase(url);
            for (std::size_t i = waiting_.size(); i-- > 0;)
                if (waiting_[i].url == url) {
                    MoveToFinishedLocked(i, download_result::ConnectionError);
                    break;
                }
        }
    }
}

}  // namespace flk
