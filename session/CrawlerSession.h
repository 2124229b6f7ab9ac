#pragma once
#include "crawl/CrawlPages.h"
#include "crawl/CrawlView.h"
#include "crawl/Kernel.h"
#include "crawl/Pacing.h"
#include "crawl/PageStore.h"
#include "session/BackupTimer.h"
#include "session/ListFileWriter.h"
#include "session/ProjectStore.h"
#include "session/ResultPageWriter.h"
#include "lists/MediaChecker.h"
#include "lists/MediaLists.h"
#include "lists/PageTree.h"
#include "lists/ProjectFolder.h"
#include "net/InternetShare.h"
#include "search/HitList.h"
#include "update/UpdateFile.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace flk {

class Notifier;
class Settings;

struct SessionContext {
    Settings& settings;
    Notifier& notifier;          // the media-search window's notifications
    InternetOptions network{};   // time-outs, proxy use, name resolutions
    Pacing pacing{};
};

// The data side of the crawler window: it owns the lists, the page trees,
// the hit list, the stored pages, the project, the media checker and the
// crawl, and is the crawl engine's view. The project store and the list and
// result-page writers do the file work; the session runs the crawl and keeps
// them in step with it. Windows and flkcrawl drive it; it shows nothing
// itself.
class CrawlerSession : public CrawlView {
public:
    // Window start: the media size settings, the project, the image cache,
    // the media checker, and the crawl limits (a depth or page limit that
    // reads 0 gets its default, written back).
    explicit CrawlerSession(SessionContext context);
    ~CrawlerSession() override;
    CrawlerSession(const CrawlerSession&) = delete;
    CrawlerSession& operator=(const CrawlerSession&) = delete;

    MediaLists& Lists() { return lists_; }
    HitList& Hits() { return hits_; }
    PageTrees& Trees() { return trees_; }
    PageStore& StoredPages() { return storedPages_; }
    CMediaChecker& Checker() { return checker_; }
    InternetShare& Internet() { return internet_; }
    UpdateFile& Update() { return updateFile_; }
    Settings& GetSettings() { return ctx_.settings; }
    Notifier& GetNotifier() { return ctx_.notifier; }
    const InternetOptions& Network() const { return ctx_.network; }

    // Starts a crawl of the ";"-separated locations ("Start" adds the final
    // ";"). False while a crawl runs or when nothing can be started.
    bool Start(const std::string& locations);
    void Stop();
    void Pause();
    void Resume();
    bool Crawling() const;
    // Waits for the end of the crawl; false when the time ran out.
    bool WaitForEnd(std::chrono::milliseconds timeout);
    CrawlProgress Progress() const;
    // The pages of the last crawl that could not be read.
    FetchFailures::Summary Failures() const;
    int AcceptedPages() const;

    void SetMaxThreads(int n);
    void SetSinglePage(bool on);
    void SetSearch(const SearchOptions& search);
    void SetOneSiteMode(bool oneSite);
    // With [crawler] "use_backup" 1 the project is saved every
    // "backup_minutes" while a crawl runs; tests may shorten the period.
    void SetBackupPeriodForTesting(std::chrono::milliseconds period) { backupPeriodOverride_ = period; }
    // Called on the crawl's thread when a crawl has ended.
    void OnCrawlEnded(std::function<void()> callback);

    // Project files.
    ProjectLocation Project() const;
    bool SaveProject();
    // Loads a project file into the lists and the tree; refused while a
    // crawl runs. The folder and name switch to the file even when it
    // cannot be read.
    bool LoadProject(const std::string& path);
    bool NewProject(const std::string& path);
    std::string ProjectText() const;

    // The links files, reports, hit lists and site maps of everything
    // collected, in the project folder. Returns the paths written.
    std::vector<std::string> WriteListFiles();
    // The result pages of every kind with rows; the path of the frame page
    // to open first ("" when nothing was found).
    std::string WriteResultPages(const std::string& subject);

    // CrawlView
    CrawlLimits Limits() const override;
    bool SinglePage() const override;
    SearchOptions Search() const override;
    void AddTreeLine(const std::string& itemText, const std::string& parentText) override;
    void ShowProgress(const CrawlProgress& progress) override;
    void StorePage(const StoredPage& page) override;
    void CrawlEnded() override;

private:
    void EndPreviousCrawl();

    SessionContext ctx_;
    ProjectStore store_;  // first: the update file starts in its folder
    InternetShare internet_;
    UpdateFile updateFile_;
    MediaLists lists_;
    HitList hits_;
    PageTrees trees_;
    PageStore storedPages_;
    CMediaChecker checker_;
    ListFileWriter listWriter_;
    ResultPageWriter pageWriter_;

    mutable std::mutex stateLock_;
    std::condition_variable endedCv_;
    CrawlLimits limits_;
    bool singlePage_ = false;
    SearchOptions search_;
    CrawlProgress progress_;
    bool crawling_ = false;
    std::function<void()> endedCallback_;
    std::chrono::milliseconds backupPeriodOverride_{0};

    // Last: the crawl ends (its workers joined) before anything it uses goes.
    std::unique_ptr<BackupTimer> backup_;
    std::unique_ptr<CrawlPages> pages_;
    std::unique_ptr<kernel> kernel_;
};

}  // namespace flk
