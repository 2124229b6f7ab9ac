#pragma once
#include "crawl/Pacing.h"
#include "lists/ui/SitesListDialog.h"
#include "net/InternetSession.h"
#include "search/FoundAddressReceiver.h"
#include "session/CrawlerSession.h"
#include "session/CrawlerTabs.h"
#include "session/SiteMapFiles.h"
#include "ui/FileDialog.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <wx/frame.h>
#include <wx/timer.h>

class wxComboBox;
class wxGauge;
class wxMenuBar;
class wxNotebook;
class wxPanel;
class wxSpinButton;
class wxTextCtrl;

namespace flk {
class ProgramPicker;
class Settings;
}  // namespace flk

namespace flk::ui {

class HitListPage;
class ListPage;
class PageTreePage;
class WxNotifier;

// What the command line asks of the crawler window once it is built.
struct CrawlerStart {
    std::string location;
    bool singlePage = false;
    bool searchSite = false;
    bool searchWeb = false;
    bool run = false;
};

struct CrawlerWindowContext {
    Settings& settings;
    WxNotifier& notifier;  // the media-search window's notifications
    InternetOptions network{};
    std::optional<Pacing> pacing{};  // fixed pauses; else the speed setting's
};

// The crawler window: the start location, the tool bar of buttons, the
// counters and progress of the crawl, the thread limit, the status line and
// the tab pages of the lists, over a CrawlerSession. It is the program's main
// window but may stay hidden: nothing in it needs to be on screen, and it
// never runs a modal loop of its own.
//
// The counters, the status line and the tabs are refreshed from the
// session's published state on a timer, never once per found item.
class CCrawlerDlg : public wxFrame, public SitesListOwner, public FoundAddressReceiver {
public:
    static constexpr int kRefreshMs = 200;
    static constexpr char kSeveralSites[] = " ( Several sites ) ";
    // How long closing waits for a stopped crawl before it lets it go.
    static constexpr std::chrono::milliseconds kCloseWait{5000};

    CCrawlerDlg(wxWindow* parent, CrawlerWindowContext context);
    // Over a session that the application owns and shares with the
    // media-search window; it must outlive the window.
    CCrawlerDlg(wxWindow* parent, CrawlerWindowContext context, CrawlerSession& session);
    ~CCrawlerDlg() override;

    CrawlerSession& Session() { return *session_; }

    // The start-up steps after the window is built: the focus in the
    // location box, the start location, the one-page limit, the site map
    // pane, a crawl at once for "run", the sites list for "search web". The
    // window is not shown.
    void Initialise(const CrawlerStart& start);
    // The same from any command record with these fields (the program's
    // parsed command line).
    template <class Command>
    void InitialiseFrom(const Command& c) {
        Initialise(CrawlerStart{c.location, c.singlePage, c.searchSite, c.searchWeb, c.run});
    }
    // The search-site switch of the command line, kept only with "run".
    bool SearchSite() const { return searchSite_; }

    // What the application provides. An empty function leaves the command
    // without effect.
    std::function<void()> onWizard;
    std::function<void()> onConfiguration;
    // "Engines": the search-engine dialog unless the application replaces it.
    std::function<void()> onEngines;
    // "Download..." of a media page.
    std::function<void(const std::vector<std::string>&)> onDownload;
    // "Download Manager" of the View menu: the manager window again, after
    // the user closed or hid it.
    std::function<void()> onShowDownloads;
    // "Text viewer" of the tree: shows the page at the address as text.
    std::function<void(const std::string&)> onTextViewer;
    // Called once the window has closed (after the crawl stopped).
    std::function<void()> onClosed;
    // When set, a close the user asks for (title bar) is handed to it and
    // the window stays; a forced close still closes.
    std::function<void()> onCloseRequest;
    // When set, "Exit" runs it instead of closing this window: the program
    // ends the way its main window ends it.
    std::function<void()> onExit;
    // The file choosers of the window; tests answer them.
    FileAsker askFile = AskWithFileDialog;

    // Commands, as the menu and the buttons run them.
    bool StartCrawling();
    void StopCrawling();
    void PauseCrawling();
    void ResumeCrawling();
    bool Paused() const { return paused_; }
    void OpenLocalFile();
    void SetOneSiteMode(bool oneSite);
    bool OneSiteMode() const { return oneSite_; }
    void CreateSiteMap(SiteMapKind kind);
    void MakeOutputFile();
    void ShowToolBar(bool shown);
    void ShowProgressBar(bool shown);
    void ShowListsDialog();
    void ClearCurrentList();
    void ClearAllLists();
    void NewProject();
    void LoadProject();
    void SaveProject();
    void OpenSitesList();
    void OpenEngineSearch() override;
    void SetMaxThreads(int n);

    // The location box, the status line and the tabs as shown.
    std::string Location() const;
    void SetLocation(const std::string& location);
    std::string Status() const;
    std::vector<std::string> TabCaptions() const;
    ListPage* CurrentPage();
    ListPage* Page(CrawlerTab tab);
    bool SelectTab(CrawlerTab tab);
    // The timer's work, at once.
    void RefreshNow();

    // Stops the crawl and waits for its end, servicing the workers' calls;
    // false when it did not end in time.
    bool StopAndWait(std::chrono::milliseconds timeout);

    // SitesListOwner
    void UseSitesList(const std::string& sites, const std::string& query) override;
    void UseOneSite(const std::string& location) override;
    void StartCrawl() override { StartCrawling(); }

    // FoundAddressReceiver: the search-engine dialog's addresses go to the
    // sites list (the open one, or a new one).
    void TakeFoundAddresses(const std::string& query, const std::string& addresses, HandOverMode mode) override;

private:
    CCrawlerDlg(wxWindow* parent, CrawlerWindowContext context, std::unique_ptr<CrawlerSession> own,
                CrawlerSession* shared);

    void BindCommands();
    void BindMenu(const char* name, std::function<void()> action);
    void BindButton(const char* name, std::function<void()> action);
    void AddPage(CrawlerTab tab);
    ListPage* CreatePage(CrawlerTab tab, wxWindow* parent);
    void ShowCounters(const CrawlProgress& progress);
    void UpdateCommands();
    void RememberTypedLocation(const std::string& location);
    void ShowStatus(const std::string& text);
    void ApplyProjectMainData();
    void OnClose(wxCloseEvent& event);
    void Shutdown();
    PageTreePage* TreePage();
    void SearchTheWeb(const std::string& query);
    SearchOptions SearchFromPage();

    CrawlerWindowContext ctx_;
    std::unique_ptr<CrawlerSession> ownSession_;  // empty over a shared session
    CrawlerSession* session_;
    std::unique_ptr<ProgramPicker> picker_;
    CrawlerTabs tabs_;
    std::map<CrawlerTab, ListPage*> unplaced_;  // built, not yet a tab (the notebook's children)
    wxTimer timer_;
    wxPanel* panel_ = nullptr;
    wxMenuBar* menu_ = nullptr;
    wxComboBox* location_ = nullptr;
    wxPanel* toolbar_ = nullptr;
    wxGauge* progress_ = nullptr;
    wxTextCtrl* pagesFound_ = nullptr;
    wxTextCtrl* pagesParsed_ = nullptr;
    wxTextCtrl* threads_ = nullptr;
    wxTextCtrl* maxThreads_ = nullptr;
    wxSpinButton* spin_ = nullptr;
    wxTextCtrl* status_ = nullptr;
    wxNotebook* tabCtrl_ = nullptr;
    std::vector<std::pair<CrawlerTab, ListPage*>> pages_;

    bool oneSite_ = true;
    std::string sites_;  // the start string of list mode
    bool paused_ = false;
    bool crawlShown_ = false;  // the window shows a running crawl
    bool searchSite_ = false;
    bool closed_ = false;
    bool keepQuery_ = false;  // a sites list opened for "search site" keeps the text search
    SitesListDialog* sitesDialog_ = nullptr;  // while the sites list is open
};

}  // namespace flk::ui
