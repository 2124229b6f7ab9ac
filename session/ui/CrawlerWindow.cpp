#include "session/ui/CrawlerWindow.h"

#include "platform/Notifier.h"
#include "platform/Paths.h"
#include "platform/SplitBySeparator.h"
#include "platform/TextUtil.h"
#include "search/ui/EngineSearchDialog.h"
#include "session/ui/ListsDialog.h"
#include "settings/ChosenPrograms.h"
#include "settings/Settings.h"
#include "lists/ui/PageTreePage.h"
#include "search/ui/HitListPage.h"
#include "ui/ListPage.h"
#include "ui/MessageBox.h"
#include "ui/WxNotifier.h"
#include "ui/WxProgramPicker.h"
#include "ui/XrcSupport.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

namespace flk::ui {

namespace {

constexpr char kLocalFileFilter[] = "Internet files(*.htm,*.html)|*.htm;*.html|All files|*.*";
constexpr char kProjectFilter[] = "Crawler projects(*.crl)|*.crl";
constexpr char kProjectExtension[] = "crl";

std::string Utf8(const wxString& s) { return s.utf8_string(); }

// A text control shows a new value only when it differs: the timer runs
// several times a second and an unchanged control must not flicker.
void ShowValue(wxTextCtrl* ctrl, const wxString& value) {
    if (ctrl->GetValue() != value) ctrl->ChangeValue(value);
}

// The folder of a path with its final separator, as "lastpath" keeps it.
std::string FolderWithSeparator(const std::string& path) {
    return Utf8(wxFileName(wxString::FromUTF8(path)).GetPathWithSep());
}

}  // namespace

CCrawlerDlg::CCrawlerDlg(wxWindow* parent, CrawlerWindowContext context)
    : CCrawlerDlg(parent, context,
                  std::make_unique<CrawlerSession>(
                      SessionContext{context.settings, context.notifier, context.network, context.pacing}),
                  nullptr) {}

CCrawlerDlg::CCrawlerDlg(wxWindow* parent, CrawlerWindowContext context, CrawlerSession& session)
    : CCrawlerDlg(parent, std::move(context), nullptr, &session) {}

CCrawlerDlg::CCrawlerDlg(wxWindow* parent, CrawlerWindowContext context, std::unique_ptr<CrawlerSession> own,
                         CrawlerSession* shared)
    : wxFrame(parent, wxID_ANY, "Findlark Crawler"),
      ctx_(std::move(context)),
      ownSession_(std::move(own)),
      session_(ownSession_ ? ownSession_.get() : shared),
      picker_(std::make_unique<WxProgramPicker>(this)),
      tabs_(CrawlerViewSwitches::Read(ctx_.settings)) {
    panel_ = new wxPanel();
    LoadPanel(*panel_, this, "pnl_crawler");
    InitResources();
    menu_ = wxXmlResource::Get()->LoadMenuBar("mnu_crawler");
    if (!menu_) FailMissingControl("mnu_crawler", "not loaded");
    SetMenuBar(menu_);

    location_ = Ctrl<wxComboBox>(panel_, "cmb_location");
    toolbar_ = Ctrl<wxPanel>(panel_, "pnl_toolbar");
    progress_ = Ctrl<wxGauge>(panel_, "gauge_progress");
    pagesFound_ = Ctrl<wxTextCtrl>(panel_, "txt_pages_found");
    pagesParsed_ = Ctrl<wxTextCtrl>(panel_, "txt_pages_parsed");
    threads_ = Ctrl<wxTextCtrl>(panel_, "txt_threads");
    maxThreads_ = Ctrl<wxTextCtrl>(panel_, "txt_max_threads");
    spin_ = Ctrl<wxSpinButton>(panel_, "spin_max_threads");
    status_ = Ctrl<wxTextCtrl>(panel_, "txt_status");
    tabCtrl_ = Ctrl<wxNotebook>(panel_, "nb_tabs");

    for (const std::string& typed : SplitBySeparator(ctx_.settings.Get(keys::UrlsHistoryHistory), ";"))
        if (!TrimCopy(typed).empty()) location_->Append(ToDisplay(TrimCopy(typed)));
    location_->SetValue(ToDisplay(session_->MainData().lastSite));

    const CrawlerViewSwitches& view = tabs_.Switches();
    toolbar_->Show(view.toolbar);
    progress_->Show(view.progressbar);
    menu_->Check(XRCID("mi_toolbar"), view.toolbar);
    menu_->Check(XRCID("mi_progressbar"), view.progressbar);
    menu_->Check(XRCID("mi_one_url"), true);

    const int limit = session_->Limits().maxThreads;
    spin_->SetValue(limit);
    maxThreads_->ChangeValue(wxString::Format("%d", limit));
    ShowCounters(CrawlProgress{});
    AddPage(CrawlerTab::Search);
    // The other pages are built now and shown when their lists fill: built
    // in the middle of a crawl, they held up the window for tens of
    // milliseconds each.
    for (CrawlerTab tab : {CrawlerTab::Crawl, CrawlerTab::Images, CrawlerTab::Sounds, CrawlerTab::Movies}) {
        ListPage* page = CreatePage(tab, tabCtrl_);
        page->Window()->Hide();
        unplaced_.emplace(tab, page);
    }

    BindCommands();
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { RefreshNow(); });
    timer_.Start(kRefreshMs);
    Bind(wxEVT_CLOSE_WINDOW, &CCrawlerDlg::OnClose, this);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel_, 1, wxEXPAND);
    SetSizer(sizer);
    Fit();
    SetMinSize(GetSize());
    UpdateCommands();
}

CCrawlerDlg::~CCrawlerDlg() {
    Shutdown();
    // The pages show the session's models (the search page writes its query
    // back as it goes): they go first.
    pages_.clear();
    DestroyChildren();
    // The session joins the crawl's threads, which may wait for the UI
    // thread in a call of theirs: it goes on a helper thread while this one
    // services those calls.
    if (!ownSession_) return;
    std::atomic<bool> gone{false};
    std::thread teardown([this, &gone] {
        ownSession_.reset();
        gone = true;
    });
    while (!gone) ctx_.notifier.ServiceUntil([&] { return gone.load(); }, std::chrono::milliseconds(1000));
    teardown.join();
}

void CCrawlerDlg::BindMenu(const char* name, std::function<void()> action) {
    Bind(wxEVT_MENU, [action = std::move(action)](wxCommandEvent&) { action(); }, XRCID(name));
}

void CCrawlerDlg::BindButton(const char* name, std::function<void()> action) {
    Ctrl<wxButton>(panel_, name)->Bind(wxEVT_BUTTON, [action = std::move(action)](wxCommandEvent&) { action(); });
}

void CCrawlerDlg::BindCommands() {
    auto onPage = [this](void (ListPage::*command)()) {
        return [this, command] {
            if (ListPage* page = CurrentPage()) (page->*command)();
        };
    };
    auto hook = [](std::function<void()>& f) {
        return [&f] {
            if (f) f();
        };
    };
    BindMenu("mi_start", [this] { StartCrawling(); });
    BindButton("btn_start", [this] { StartCrawling(); });
    BindMenu("mi_stop", [this] { StopCrawling(); });
    BindButton("btn_stop", [this] { StopCrawling(); });
    BindMenu("mi_pause", [this] { PauseCrawling(); });
    BindButton("btn_pause", [this] { PauseCrawling(); });
    BindMenu("mi_resume", [this] { ResumeCrawling(); });
    BindButton("btn_resume", [this] { ResumeCrawling(); });
    BindMenu("mi_open_local", [this] { OpenLocalFile(); });
    BindMenu("mi_one_url", [this] { SetOneSiteMode(true); });
    BindMenu("mi_url_list", [this] { SetOneSiteMode(false); });
    BindMenu("mi_sites_list", [this] { OpenSitesList(); });
    BindButton("btn_sites_list", [this] { OpenSitesList(); });
    BindMenu("mi_exit", [this] {
        if (onExit)
            onExit();
        else
            Close();
    });
    BindMenu("mi_cut", [this] { location_->Cut(); });
    BindMenu("mi_copy", [this] { location_->Copy(); });
    BindMenu("mi_paste", [this] { location_->Paste(); });
    BindMenu("mi_map_browser", [this] { CreateSiteMap(SiteMapKind::Html); });
    BindMenu("mi_map_editor", [this] { CreateSiteMap(SiteMapKind::Text); });
    BindMenu("mi_map_java", [this] { CreateSiteMap(SiteMapKind::JavaTree); });
    BindMenu("mi_make_output", [this] { MakeOutputFile(); });
    Bind(wxEVT_MENU, [this](wxCommandEvent& e) { ShowToolBar(e.IsChecked()); }, XRCID("mi_toolbar"));
    Bind(wxEVT_MENU, [this](wxCommandEvent& e) { ShowProgressBar(e.IsChecked()); }, XRCID("mi_progressbar"));
    BindMenu("mi_lists", [this] { ShowListsDialog(); });
    BindMenu("mi_download_manager", hook(onShowDownloads));
    BindMenu("mi_clear_list", [this] { ClearCurrentList(); });
    BindButton("btn_clear_list", [this] { ClearCurrentList(); });
    BindMenu("mi_clear_all", [this] { ClearAllLists(); });
    BindButton("btn_clear_all", [this] { ClearAllLists(); });
    BindMenu("mi_project_new", [this] { NewProject(); });
    BindMenu("mi_project_load", [this] { LoadProject(); });
    BindMenu("mi_project_save", [this] { SaveProject(); });
    BindButton("btn_select_all", onPage(&ListPage::SelectAll));
    BindButton("btn_browser", onPage(&ListPage::SendToBrowser));
    BindButton("btn_editor", onPage(&ListPage::SendToEditor));
    BindButton("btn_engines", [this] { onEngines ? onEngines() : OpenEngineSearch(); });
    BindButton("btn_wizard", hook(onWizard));
    BindButton("btn_config", hook(onConfiguration));
    auto onTree = [this](void (PageTreePage::*command)()) {
        return [this, command] {
            if (PageTreePage* tree = TreePage()) (tree->*command)();
        };
    };
    BindMenu("mi_tree_copy", onTree(&PageTreePage::Copy));
    BindMenu("mi_tree_expand", onTree(&PageTreePage::ExpandAll));
    BindMenu("mi_tree_collapse", onTree(&PageTreePage::CollapseAll));
    BindMenu("mi_tree_to_root", onTree(&PageTreePage::SendItemToRoot));

    location_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { StartCrawling(); });
    spin_->Bind(wxEVT_SPIN, [this](wxSpinEvent& e) { SetMaxThreads(e.GetPosition()); });
    tabCtrl_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& e) {
        e.Skip();
        if (ListPage* page = CurrentPage()) page->RefreshFromModel();
    });
}

void CCrawlerDlg::Initialise(const CrawlerStart& start) {
    location_->SetFocus();
    if (!start.location.empty()) SetLocation(start.location);
    session_->SetSinglePage(start.singlePage);
    // The site map pane shows the tree as it is now (a loaded project's).
    if (ListPage* tree = Page(CrawlerTab::Crawl)) tree->RefreshFromModel();
    RefreshNow();
    searchSite_ = start.searchSite && start.run;
    if (start.run) StartCrawling();
    // The sites list is a modal dialog: it opens from the event loop, once
    // the program's windows are up.
    if (start.searchWeb) {
        // Opened for a search of the web, the list starts with the
        // search-engine dialog over it, asked for the start location when
        // one was given. With "search site" too, the query found is not
        // taken into the text search.
        const std::string query = start.location == ctx_.settings.MakerHost() ? "" : start.location;
        const bool searchSite = start.searchSite;
        CallAfter([this, query, searchSite] {
            if (closed_ || sitesDialog_) return;
            keepQuery_ = searchSite;
            CallAfter([this, query] {
                if (sitesDialog_) SearchTheWeb(query);
            });
            OpenSitesList();
            keepQuery_ = false;
        });
    }
}

bool CCrawlerDlg::StartCrawling() {
    if (session_->Crawling()) return false;
    std::string start;
    if (oneSite_) {
        start = TrimCopy(Location());
        if (start.empty()) return false;
        RememberTypedLocation(start);
    } else {
        start = sites_;
        while (!start.empty() && start.back() == ';') start.pop_back();
        if (TrimCopy(start).empty()) return false;
    }
    session_->SetSearch(SearchFromPage());
    session_->SetMaxThreads(spin_->GetValue());
    if (!session_->Start(start)) {
        ShowStatus("Nothing to crawl: the start location is not valid.");
        return false;
    }
    Notification begun;
    begun.code = notify::WebSearchOver;
    ctx_.notifier.Send(begun);
    paused_ = false;
    crawlShown_ = true;
    ShowStatus("starting...");
    UpdateCommands();
    return true;
}

void CCrawlerDlg::StopCrawling() {
    if (!session_->Crawling()) return;
    session_->Stop();
    ctx_.notifier.DropStopped();
    paused_ = false;
    UpdateCommands();
}

void CCrawlerDlg::PauseCrawling() {
    if (!session_->Crawling() || paused_) return;
    session_->Pause();
    paused_ = true;
    UpdateCommands();
}

void CCrawlerDlg::ResumeCrawling() {
    if (!paused_) return;
    session_->Resume();
    paused_ = false;
    UpdateCommands();
}

bool CCrawlerDlg::StopAndWait(std::chrono::milliseconds timeout) {
    if (session_->Crawling()) {
        if (paused_) session_->Resume();
        session_->Stop();
        ctx_.notifier.DropStopped();
    }
    const bool ended = ctx_.notifier.ServiceUntil([this] { return !session_->Crawling(); }, timeout);
    RefreshNow();
    return ended;
}

void CCrawlerDlg::RememberTypedLocation(const std::string& location) {
    ctx_.settings.Set(keys::UrlsHistoryUrl, location);
    // The history holds each location once, the last one first.
    std::string history = location + ";";
    for (const std::string& typed : SplitBySeparator(ctx_.settings.Get(keys::UrlsHistoryHistory), ";")) {
        const std::string t = TrimCopy(typed);
        if (!t.empty() && t != location) history += t + ";";
    }
    ctx_.settings.Set(keys::UrlsHistoryHistory, history);
    const int known = location_->FindString(ToDisplay(location), true);
    if (known != wxNOT_FOUND) location_->Delete(static_cast<unsigned>(known));
    location_->Insert(ToDisplay(location), 0);
    location_->SetValue(ToDisplay(location));
}

void CCrawlerDlg::OpenLocalFile() {
    FileQuestion q;
    q.title = "Open local file";
    q.wildcard = kLocalFileFilter;
    q.folder = ctx_.settings.Get(keys::CrawlerLastPath);
    const std::string path = askFile(this, q);
    if (path.empty()) return;
    SetOneSiteMode(true);
    SetLocation(path);
    ctx_.settings.Set(keys::CrawlerLastPath, FolderWithSeparator(path));
}

void CCrawlerDlg::SetOneSiteMode(bool oneSite) {
    const bool changed = oneSite != oneSite_;
    oneSite_ = oneSite;
    session_->SetOneSiteMode(oneSite);
    menu_->Check(XRCID(oneSite ? "mi_one_url" : "mi_url_list"), true);
    location_->Enable(oneSite);
    if (!oneSite)
        location_->SetValue(kSeveralSites);
    else if (changed)
        location_->SetValue(ToDisplay(ctx_.settings.Get(keys::UrlsHistoryUrl)));
}

void CCrawlerDlg::CreateSiteMap(SiteMapKind kind) {
    const std::string path =
        WriteSiteMap(session_->Trees(), session_->Project().folder, kind, ctx_.settings.MakerHost());
    if (path.empty()) {
        ShowStatus("The site map could not be written.");
        return;
    }
    if (kind == SiteMapKind::Text)
        OpenInEditor(ctx_.settings, path, picker_.get());
    else
        OpenInBrowser(ctx_.settings, path, picker_.get());
}

void CCrawlerDlg::MakeOutputFile() {
    const std::string first = session_->WriteResultPages(TrimCopy(Location()));
    if (first.empty()) {
        ShowStatus("No result pages: the lists are empty.");
        return;
    }
    OpenInBrowser(ctx_.settings, first, picker_.get());
}

void CCrawlerDlg::ShowToolBar(bool shown) {
    toolbar_->Show(shown);
    menu_->Check(XRCID("mi_toolbar"), shown);
    WriteBarSwitch(ctx_.settings, keys::ViewToolbar, shown);
    panel_->Layout();
}

void CCrawlerDlg::ShowProgressBar(bool shown) {
    progress_->Show(shown);
    menu_->Check(XRCID("mi_progressbar"), shown);
    WriteBarSwitch(ctx_.settings, keys::ViewProgressbar, shown);
    panel_->Layout();
}

void CCrawlerDlg::ShowListsDialog() {
    ListsDialog dialog(this, ctx_.settings, session_->Crawling());
    if (dialog.ShowModal() == wxID_OK) tabs_.SetSwitches(CrawlerViewSwitches::Read(ctx_.settings));
}

void CCrawlerDlg::ClearCurrentList() {
    if (ListPage* page = CurrentPage()) page->ClearList();
    RefreshNow();
}

void CCrawlerDlg::ClearAllLists() {
    session_->ClearAll();
    for (auto& [tab, page] : pages_) page->RefreshFromModel();
    RefreshNow();
}

void CCrawlerDlg::NewProject() {
    const ProjectLocation project = session_->Project();
    FileQuestion q;
    q.title = "New project";
    q.wildcard = kProjectFilter;
    q.folder = project.folder;
    q.file = project.name;
    q.defaultExtension = kProjectExtension;
    q.save = true;
    const std::string path = askFile(this, q);
    if (path.empty()) return;
    if (!session_->NewProject(path)) {
        ShowMessageBox(this, "Could not create " + path, "New project", wxOK | wxICON_EXCLAMATION);
        return;
    }
    for (auto& [tab, page] : pages_) page->RefreshFromModel();
    ShowStatus(session_->Project().FilePath());
}

void CCrawlerDlg::LoadProject() {
    if (session_->Crawling()) return;
    const ProjectLocation project = session_->Project();
    FileQuestion q;
    q.title = "Load project";
    q.wildcard = kProjectFilter;
    q.folder = project.folder;
    q.file = project.name;
    q.defaultExtension = kProjectExtension;
    const std::string path = askFile(this, q);
    if (path.empty() || !session_->LoadProject(path)) return;
    ApplyProjectMainData();
    for (auto& [tab, page] : pages_) page->RefreshFromModel();
    RefreshNow();
}

void CCrawlerDlg::ApplyProjectMainData() {
    const ProjectMainData main = session_->MainData();
    SetOneSiteMode(main.oneSite);
    SetLocation(main.lastSite);
}

void CCrawlerDlg::SaveProject() {
    wxBusyCursor busy;
    if (session_->SaveProject()) ShowStatus("Project saved: " + session_->Project().FilePath());
}

void CCrawlerDlg::OpenSitesList() {
    if (sitesDialog_) return;
    SitesListDialog dialog(this, SitesListContext{ctx_.settings, session_->Project().folder, session_->Internet(),
                                                  ctx_.network, *this});
    sitesDialog_ = &dialog;
    dialog.ShowModal();
    sitesDialog_ = nullptr;
}

void CCrawlerDlg::OpenEngineSearch() { SearchTheWeb(""); }

void CCrawlerDlg::SearchTheWeb(const std::string& query) {
    SearchServices services{ctx_.settings, session_->Update(), session_->Internet(), ctx_.network, ctx_.notifier,
                            *this};
    EngineSearchDialog dialog(this, services, query);
    dialog.ShowModal();
}

void CCrawlerDlg::TakeFoundAddresses(const std::string& query, const std::string& addresses, HandOverMode mode) {
    const bool start = mode == HandOverMode::StartCrawling;
    const bool check = mode == HandOverMode::CheckSites;
    if (sitesDialog_) {
        sitesDialog_->HandOver(query, addresses, start, check);
        return;
    }
    SitesListDialog dialog(this, SitesListContext{ctx_.settings, session_->Project().folder, session_->Internet(),
                                                  ctx_.network, *this});
    sitesDialog_ = &dialog;
    dialog.HandOver(query, addresses, start, check);
    if (!start) dialog.ShowModal();
    sitesDialog_ = nullptr;
}

void CCrawlerDlg::UseSitesList(const std::string& sites, const std::string& query) {
    sites_ = sites;
    SetOneSiteMode(false);
    if (!TrimCopy(query).empty() && !keepQuery_) {
        if (ListPage* search = Page(CrawlerTab::Search))
            Ctrl<wxTextCtrl>(search->Window(), "txt_query")->SetValue(ToDisplay(TrimCopy(query)));
        else
            session_->Hits().SetQuery(TrimCopy(query));
    }
}

void CCrawlerDlg::UseOneSite(const std::string& location) {
    SetOneSiteMode(true);
    SetLocation(location);
}

void CCrawlerDlg::SetMaxThreads(int n) {
    if (n < 1) n = 1;
    spin_->SetValue(n);
    maxThreads_->ChangeValue(wxString::Format("%d", n));
    session_->SetMaxThreads(n);
}

std::string CCrawlerDlg::Location() const { return Utf8(location_->GetValue()); }

void CCrawlerDlg::SetLocation(const std::string& location) { location_->SetValue(ToDisplay(location)); }

std::string CCrawlerDlg::Status() const { return Utf8(status_->GetValue()); }

void CCrawlerDlg::ShowStatus(const std::string& text) { ShowValue(status_, ToDisplay(text)); }

std::vector<std::string> CCrawlerDlg::TabCaptions() const {
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < tabCtrl_->GetPageCount(); ++i) captions.push_back(Utf8(tabCtrl_->GetPageText(i)));
    return captions;
}

ListPage* CCrawlerDlg::CurrentPage() {
    const int selected = tabCtrl_->GetSelection();
    if (selected == wxNOT_FOUND) return nullptr;
    wxWindow* shown = tabCtrl_->GetPage(static_cast<std::size_t>(selected));
    for (auto& [tab, page] : pages_)
        if (page->Window() == shown) return page;
    return nullptr;
}

ListPage* CCrawlerDlg::Page(CrawlerTab tab) {
    for (auto& [t, page] : pages_)
        if (t == tab) return page;
    return nullptr;
}

bool CCrawlerDlg::SelectTab(CrawlerTab tab) {
    ListPage* page = Page(tab);
    if (!page) return false;
    const int index = tabCtrl_->FindPage(page->Window());
    if (index == wxNOT_FOUND) return false;
    tabCtrl_->SetSelection(static_cast<std::size_t>(index));
    page->RefreshFromModel();
    return true;
}

void CCrawlerDlg::AddPage(CrawlerTab tab) {
    if (Page(tab)) return;
    ListPage* page = nullptr;
    if (const auto built = unplaced_.find(tab); built != unplaced_.end()) {
        page = built->second;
        unplaced_.erase(built);
        page->Window()->Show();  // the notebook selects only visible pages
    } else {
        page = CreatePage(tab, tabCtrl_);
    }
    pages_.emplace_back(tab, page);
    tabCtrl_->AddPage(page->Window(), ToDisplay(std::string(TabCaption(tab))), tabCtrl_->GetPageCount() == 0);
    page->RefreshFromModel();
}

void CCrawlerDlg::RefreshNow() {
    if (!session_) return;
    const CrawlProgress progress = session_->Progress();
    ShowCounters(progress);
    if (!progress.status.empty()) ShowStatus(progress.status);

    ListsState state;
    state.treeHasItems = !session_->Trees().Empty();
    state.images = session_->Lists().images.RowCount() > 0;
    state.sounds = session_->Lists().sounds.RowCount() > 0;
    state.movies = session_->Lists().movies.RowCount() > 0;
    for (CrawlerTab tab : tabs_.ListsChanged(state)) AddPage(tab);
    if (ListPage* page = CurrentPage()) page->RefreshFromModel();

    if (crawlShown_ && !session_->Crawling()) {
        crawlShown_ = false;
        paused_ = false;
        ShowStatus("Ready.");
        UpdateCommands();
    }
}

void CCrawlerDlg::ShowCounters(const CrawlProgress& p) {
    ShowValue(pagesFound_, wxString::Format("%d", p.pagesFound));
    ShowValue(pagesParsed_, wxString::Format("%d", p.pagesParsed));
    ShowValue(threads_, wxString::Format("%d", p.threads));
    const int range = p.barMax > 0 ? p.barMax : 1;
    const int pos = std::clamp(p.barPos, 0, range);
    if (progress_->GetRange() != range) progress_->SetRange(range);
    if (progress_->GetValue() != pos) progress_->SetValue(pos);
}

void CCrawlerDlg::UpdateCommands() {
    const bool crawling = session_->Crawling();
    auto enable = [this](const char* menuItem, const char* button, bool on) {
        menu_->Enable(XRCID(menuItem), on);
        Ctrl<wxButton>(panel_, button)->Enable(on);
    };
    enable("mi_start", "btn_start", !crawling);
    enable("mi_stop", "btn_stop", crawling);
    enable("mi_pause", "btn_pause", crawling && !paused_);
    enable("mi_resume", "btn_resume", crawling && paused_);
    menu_->Enable(XRCID("mi_project_load"), !crawling);
}

PageTreePage* CCrawlerDlg::TreePage() { return dynamic_cast<PageTreePage*>(Page(CrawlerTab::Crawl)); }

SearchOptions CCrawlerDlg::SearchFromPage() {
    if (auto* search = dynamic_cast<HitListPage*>(Page(CrawlerTab::Search))) return search->Options();
    SearchOptions options;
    options.text = session_->Hits().Query();
    return options;
}

void CCrawlerDlg::OnClose(wxCloseEvent& event) {
    if (event.CanVeto() && onCloseRequest) {
        event.Veto();
        onCloseRequest();
        return;
    }
    Shutdown();
    Destroy();
}

void CCrawlerDlg::Shutdown() {
    if (closed_) return;
    closed_ = true;
    timer_.Stop();
    StopAndWait(kCloseWait);
    if (onClosed) onClosed();
}

}  // namespace flk::ui
