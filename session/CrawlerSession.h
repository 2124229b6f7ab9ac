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
#include "lists/SitesList.h"
#include "net/InternetShare.h"
#include "platform/Clipboard.h"
#include "search/HitList.h"
#include "update/UpdateFile.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace flk {

class Clipboard;
class Notifier;
class ProgramPicker;
class Settings;

// What ShowResults did.
enum class ResultsShown {
    Nothing,     // no valid media and no text hits: nothing to show
    Opened,      // the first frame page went to the browser
    NoMedia,     // counts were found but no page could be written
    OpenFailed,  // the page was written but no browser could be started
};

struct SessionContext {
    Settings& settings;
    Notifier& notifier;          // the media-search window's notifications
    InternetOptions network{};   // time-outs, proxy use, name resolutions
    // Fixed pauses (batch runs, tests); without them each crawl takes the
    // pauses of the "Crawling speed:" setting at its start.
    std::optional<Pacing> pacing{};
    Clipboard* clipboard = nullptr;  // the windows' clipboard; none without windows
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
    // The start sites of a crawl of several sites (list mode).
    SitesList& Sites() { return sites_; }
    CMediaChecker& Checker() { return checker_; }
    InternetShare& Internet() { return internet_; }
    UpdateFile& Update() { return updateFile_; }
    Settings& GetSettings() { return ctx_.settings; }
    Notifier& GetNotifier() { return ctx_.notifier; }
    const InternetOptions& Network() const { return ctx_.network; }
    // For "Copy": the clipboard of the context, or one that cannot be
    // opened when there is none.
    Clipboard& GetClipboard() { return ctx_.clipboard ? *ctx_.clipboard : noClipboard_; }

    // The pauses the next crawl takes: the fixed ones, else the speed
    // setting's as it is now.
    Pacing PacingNow() const;
    // Starts a crawl of the ";"-separated locations ("Start" adds the final
    // ";"). False while a crawl runs or when nothing can be started. More
    // than one location, or list mode, is a crawl of several sites: the
    // project then records list mode and keeps the sites beside it.
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
    // One page for the next crawl; at the end of a crawl the page limit is
    // read back from the profile and single-page mode is over.
    void SetSinglePage(bool on);
    void SetSearch(const SearchOptions& search);
    // "Use one URL" or "Use URL's list"; a crawl started in list mode is
    // saved as one of several sites whatever it holds.
    void SetOneSiteMode(bool oneSite);
    // With [crawler] "use_backup" 1 the project is saved every
    // "backup_minutes" while a crawl runs; tests may shorten the period.
    void SetBackupPeriodForTesting(std::chrono::milliseconds period) { backupPeriodOverride_ = period; }
    // Called on the crawl's thread when a crawl has ended.
    void OnCrawlEnded(std::function<void()> callback);

    // Empties the lists, the hits, the trees and the stored pages.
    void ClearAll();

    // Project files.
    ProjectLocation Project() const;
    // One-site mode and the start location, as saved and as last loaded.
    ProjectMainData MainData() const;
    bool SaveProject();
    // Loads a project file into the emptied lists and tree; refused while a
    // crawl runs. The folder and name switch to the file even when it
    // cannot be read; the image cache follows the folder.
    bool LoadProject(const std::string& path);
    // A new, empty project: the lists and the tree are emptied and the
    // image cache follows the new folder.
    bool NewProject(const std::string& path);
    std::string ProjectText() const;

    // The links files, reports, hit lists, site maps (with the applet page
    // and its frame page) and, in list mode, the URL lists of the start
    // sites, in the project folder. Returns the paths written.
    std::vector<std::string> WriteListFiles();
    // The result pages of every kind with rows; the path of the frame page
    // to open first ("" when nothing was found).
    std::string WriteResultPages(const std::string& subject);
    // As above; `problems` receives what went wrong on the way (a template
    // that could not be read, one without a list area).
    std::string WriteResultPages(const std::string& subject, std::vector<std::string>& problems);
    // The results of a search so far, as the media-search window shows
    // them: under the lists' lock the valid rows of each kind with a count
    // above 0 are selected and paged, and the first frame page (images,
    // sounds, movies, text hits; the safety level's number) is opened in the
    // browser. `page`, when given, receives its path.
    ResultsShown ShowResults(const std::string& subject, ProgramPicker* picker, std::string* page = nullptr);

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
    // What the settings say now, for the crawl about to start: a change
    // made in the configuration applies to the next crawl. The crawl's own
    // options are read by the kernel as it starts.
    void FollowSettings();
    // The image cache is the project folder's "Images".
    void FollowProjectFolder();

    SessionContext ctx_;
    // The network of pages and media checks: section `modern`'s per-host
    // limit, User-Agent and cookies on top of ctx_.network, read again as
    // each crawl starts.
    InternetOptions politeNetwork_;
    NoClipboard noClipboard_;
    ProjectStore store_;  // first: the update file starts in its folder
    InternetShare internet_;
    UpdateFile updateFile_;
    MediaLists lists_;
    HitList hits_;
    PageTrees trees_;
    SitesList sites_;
    PageStore storedPages_;
    CMediaChecker checker_;
    ListFileWriter listWriter_;
    ResultPageWriter pageWriter_;

    std::mutex resultsLock_;  // the lists' lock of a page build
    mutable std::mutex stateLock_;
    std::condition_variable endedCv_;
    CrawlLimits limits_;
    bool singlePage_ = false;
    // The window's mode: "Use one URL" (a crawl of several locations is
    // still saved in list mode) or the sites list.
    bool oneSiteMode_ = true;
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
