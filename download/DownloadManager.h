#pragma once
#include "download/DownloadEvents.h"
#include "download/DownloadJob.h"
#include "download/DownloadRows.h"
#include "download/FreeSpace.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace flk {

class CWorker;
class Notifier;

// The windows' side of the questions a download asks: a file-save dialog
// with the caption and the path filled in (hidden read-only box, overwrite
// confirmed). nullopt when cancelled, or dropped once `stop` is set.
class DownloadQuestions {
public:
    virtual ~DownloadQuestions() = default;
    virtual std::optional<std::string> AskFileName(const std::string& title, const std::string& suggested,
                                                   const std::atomic<bool>* stop) = 0;
};

struct DownloadManagerContext {
    DownloadNetwork network;
    Notifier& notifier;                   // credentials (code 1)
    DownloadQuestions* questions = nullptr;  // none: every name question is cancelled
    FreeSpaceSource freeSpace = FileSystemFreeBytes;
};

// The download manager: the waiting and finished lists, the job queue, the
// running workers (at most "threads" at once, the rest first in, first
// out), the options and the free-space check. One lock guards it all; the
// workers report through DownloadEvents and a window shows View() on a
// timer. Thread-safe.
class DownloadManager : private DownloadEvents {
public:
    static constexpr int kAdded = 20;
    static constexpr int kAlreadyListed = 21;

    explicit DownloadManager(DownloadManagerContext context);
    // Stops every download and waits for the workers.
    ~DownloadManager() override;
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    // Queues the file of `url` for `folder`: 21 when that address is queued
    // or running already, else 20 (also when the user cancelled the name
    // question, which adds nothing). Asks for the name when names are asked
    // or the address gives no usable one. Starts accepting again after
    // "Stop all downloads".
    int AddDownload(const std::string& url, const std::string& folder, const std::string& user,
                    const std::string& password, ExistingFilePolicy policy);
    // Queues the address for a target already settled (an interrupted
    // download continued from its part): no name is derived or asked.
    int AddDownloadTo(const std::string& url, const std::string& target, const std::string& user,
                      const std::string& password, ExistingFilePolicy policy);
    void SetOptions(bool askNames, int minFreeMb, int maxThreads);

    // "Stop download" for these waiting rows: a running one is stopped (its
    // part kept for later), a queued one moves to the finished list.
    void StopDownloads(const std::vector<std::string>& urls);
    // "Stop all downloads": no new starts, queued rows move to the finished
    // list at once, running ones follow when their workers end.
    void StopAll();

    DownloadView View() const;
    std::uint64_t Revision() const { return revision_.load(); }
    bool Idle() const;
    // Waits until nothing is queued or running; false after `limit`.
    bool WaitUntilIdle(std::chrono::milliseconds limit);
    // The most workers that ran at one time.
    int PeakRunning() const;

    // Paths for "Open file" of finished rows (interrupted ones are left out)
    // and for "Go to folder".
    static std::vector<std::string> FilesToOpen(const std::vector<FinishedRow>& rows);
    static std::vector<std::string> FoldersToOpen(const std::vector<FinishedRow>& rows);

private:
    void OnTarget(const std::string& url, const std::string& path) override;
    void OnSize(const std::string& url, std::int64_t total, std::uint64_t already) override;
    void OnReceived(const std::string& url, std::uint64_t bytes) override;
    void OnRestart(const std::string& url) override;
    void OnStatus(const std::string& url, const std::string& text) override;
    void OnFinished(const std::string& url, int code) override;
    bool ClaimTarget(const std::string& url, const std::string& path) override;
    bool ClaimedByOther(const std::string& url, const std::string& path) override;
    std::optional<std::string> AskFileName(const std::string& title, const std::string& suggested,
                                           const std::atomic<bool>* stop) override;
    bool AskCredentials(const std::string& url, std::string& user, std::string& password,
                        const std::atomic<bool>* stop) override;

    // Under the lock.
    int QueueLocked(DownloadJob job);
    WaitingRow* FindRowLocked(const std::string& url);
    bool ListedLocked(const std::string& url) const;
    void MoveToFinishedLocked(std::size_t row, int code);
    void StartLocked();
    void ReapLocked();
    void Touch() { revision_.fetch_add(1); }

    DownloadManagerContext ctx_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<WaitingRow> waiting_;
    std::vector<FinishedRow> finished_;
    std::deque<DownloadJob> queue_;
    std::map<std::string, std::unique_ptr<CWorker>> running_;  // by address
    std::vector<std::unique_ptr<CWorker>> ended_;               // to be joined
    std::map<std::string, std::string> claims_;                 // target path -> address
    int maxThreads_ = 5;
    int peak_ = 0;
    bool askNames_ = false;
    int minFreeMb_ = 10;
    bool accepting_ = true;
    std::atomic<std::uint64_t> revision_{0};
};

}  // namespace flk
