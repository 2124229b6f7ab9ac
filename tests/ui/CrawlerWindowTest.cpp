// The crawler window driven as a user does, crawling sites served on
// loopback.
#include "session/ui/CrawlerWindow.h"
#include "session/ui/ListsDialog.h"
#include "settings/Settings.h"
#include "support/DistinctBody.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "ui/ListPage.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/WxNotifier.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

// Runs the event loop until done() holds; false when the time ran out.
bool Pump(const std::function<bool()>& done, std::chrono::milliseconds timeout = 30s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();  // windows closed meanwhile go
        if (done()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return done();
}

// A site of `pages` pages in a binary tree: page i links to pages 2i+1 and
// 2i+2 and shows one image; every fifth page links a sound and every
// seventh a movie. Each answer waits delayMs.
void ServeSite(test::LoopbackServer& server, int pages, int delayMs) {
    for (int i = 0; i < pages; ++i) {
        std::string body = "<html><head><title>Page " + std::to_string(i) + "</title></head><body>";
        for (int child : {2 * i + 1, 2 * i + 2})
            if (child < pages) body += "<a href=\"p" + std::to_string(child) + ".html\">next</a> ";
        body += "<img src=\"img" + std::to_string(i) + ".jpg\" alt=\"picture " + std::to_string(i) + "\">";
        if (i % 5 == 0) body += "<a href=\"s" + std::to_string(i) + ".mp3\">song</a>";
        if (i % 7 == 0) body += "<a href=\"m" + std::to_string(i) + ".mpg\">film</a>";
        body += "</body></html>";
        test::PageRow page{"/p" + std::to_string(i) + ".html", 200, {{"Content-Type", "text/html"}}, body};
        page.delayMs = delayMs;
        server.Add(page);
        const std::string n = std::to_string(i);
        server.Add({"/img" + n + ".jpg", 200, {{"Content-Type", "image/jpeg"}}, test::DistinctBody(n, 3000, 'j')});
        if (i % 5 == 0) server.Add({"/s" + n + ".mp3", 200, {}, test::DistinctBody(n, 2000, 's')});
        if (i % 7 == 0) server.Add({"/m" + n + ".mpg", 200, {}, test::DistinctBody(n, 2000, 'm')});
    }
}

struct Fixture {
    test::TempDir dir;
    // The result templates come from the checkout's resources.
    Settings settings{dir.File("flk.ini"), std::string(FLK_SOURCE_DIR) + "/resources/"};
    std::vector<int> codes;  // notifications the media-search window got
    ui::WxNotifier notifier{[this](Notification& n) {
        codes.push_back(n.code);
        return 0L;
    }};
    test::LoopbackServer server;
    std::unique_ptr<test::ScopedEnv> opener;

    Fixture() {
        settings.WriteDefaults();
        settings.Set(keys::ProjectPath, dir.Path());
        settings.Set(keys::ViewTree, std::string("1"));
        settings.Set(keys::TreeShowTree, std::string("1"));
        settings.Set(keys::TreeShowTitles, std::string("1"));
        settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
        for (const StrKey& k : {keys::ViewImages, keys::ViewSounds, keys::ViewMovies}) settings.Set(k, std::string("1"));
        // Opened pages and files are recorded, never shown.
        dir.Write("opener.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        ::chmod(dir.File("opener.sh").c_str(), 0755);
        opener = std::make_unique<test::ScopedEnv>("FLK_OPENER", dir.File("opener.sh"));
        settings.Set(keys::EditorPath, dir.File("opener.sh"));
    }
    ~Fixture();

    // The window goes with the fixture at the latest (a failed check ends a
    // test early).
    ui::CCrawlerDlg* Open() {
        InternetOptions network;
        network.connectTimeoutMs = 2000;
        auto* w = new ui::CCrawlerDlg(nullptr, ui::CrawlerWindowContext{settings, notifier, network, Pacing::None()});
        windows.push_back(w);
        return w;
    }
    std::vector<ui::CCrawlerDlg*> windows;
};

// Closes the window the way the title bar does and lets it go.
bool Gone(wxWindow* w) {
    for (wxWindow* top : wxTopLevelWindows)
        if (top == w) return false;
    return true;
}

void CloseWindow(ui::CCrawlerDlg* w) {
    w->Close(true);
    Pump([&] { return Gone(w); }, 10s);
}

Fixture::~Fixture() {
    for (ui::CCrawlerDlg* w : windows)
        if (!Gone(w)) CloseWindow(w);
    notifier.Close();
}

bool AnyModal() {
    for (wxWindow* top : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(top); d && d->IsModal()) return true;
    return false;
}

long Number(ui::CCrawlerDlg& w, const char* name) {
    long n = -1;
    ui::Ctrl<wxTextCtrl>(&w, name)->GetValue().ToLong(&n);
    return n;
}

bool Enabled(ui::CCrawlerDlg& w, const char* button) { return ui::Ctrl<wxButton>(&w, button)->IsEnabled(); }

// A menu command as choosing it sends it; a check item is toggled.
void Menu(ui::CCrawlerDlg& w, const char* item) {
    wxCommandEvent e(wxEVT_MENU, XRCID(item));
    if (wxMenuItem* m = w.GetMenuBar()->FindItem(XRCID(item)); m && m->IsCheckable()) e.SetInt(!m->IsChecked());
    e.SetEventObject(&w);
    w.ProcessWindowEvent(e);
}

}  // namespace

TEST(CrawlerWindow, ControlsTipsAndMenusAreThereAndItStartsIdle) {
    Fixture f;
    ui::CCrawlerDlg* w = f.Open();
    const std::pair<const char*, const char*> tips[] = {
        {"cmb_location", "Start location"},     {"txt_pages_parsed", "Pages parsed"},
        {"gauge_progress", "Progress"},         {"txt_pages_found", "Pages found"},
        {"txt_status", "Status line"},          {"txt_threads", "Threads running"},
        {"txt_max_threads", "Maximum threads"}, {"spin_max_threads", "Adjust maximum threads"},
        {"btn_start", "Start crawling"},        {"btn_stop", "Stop crawling"},
        {"btn_pause", "Pause"},                 {"btn_resume", "Resume"},
        {"btn_clear_list", "Clear list"},       {"btn_clear_all", "Clear all lists"},
        {"btn_select_all", "Select All"},       {"btn_browser", "Activate browser"},
        {"btn_editor", "Activate editor"},      {"btn_engines", "Search the web"},
        {"btn_wizard", "Launch the WIZARD"},    {"btn_sites_list", "Multiple sites dialog"},
        {"btn_config", "Configuration"},
    };
    for (const auto& [name, tip] : tips) EXPECT_EQ(ui::Ctrl<wxWindow>(w, name)->GetToolTipText(), tip) << name;
    const std::pair<const char*, const char*> items[] = {
        {"mi_start", "&Start"}, {"mi_stop", "S&top"}, {"mi_pause", "&Pause"}, {"mi_resume", "&Resume"},
        {"mi_open_local", "Open &local file..."}, {"mi_one_url", "&Use one URL"}, {"mi_url_list", "Us&e URL's list"},
        {"mi_exit", "E&xit"}, {"mi_cut", "Cu&t"}, {"mi_copy", "&Copy"}, {"mi_paste", "&Paste"},
        {"mi_map_browser", "To &Browser"}, {"mi_map_editor", "To &Editor"}, {"mi_map_java", "&Java tree..."},
        {"mi_make_output", "&Make output file..."}, {"mi_toolbar", "&Tool bar"}, {"mi_progressbar", "&Progress bar"},
        {"mi_lists", "&Lists..."}, {"mi_download_manager", "&Download Manager"},
        {"mi_clear_list", "&Clear List"}, {"mi_clear_all", "Clear &All"},
        {"mi_tree_copy", "C&opy"}, {"mi_tree_expand", "&Expand All"}, {"mi_tree_collapse", "Collap&se All"},
        {"mi_tree_to_root", "Se&nd item to root"}, {"mi_sites_list", "&Sites list..."},
        {"mi_project_new", "&New..."}, {"mi_project_load", "&Load..."}, {"mi_project_save", "&Save"},
    };
    for (const auto& [name, label] : items) {
        wxMenuItem* item = w->GetMenuBar()->FindItem(XRCID(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->GetItemLabel(), label) << name;
    }
    EXPECT_EQ(w->TabCaptions(), std::vector<std::string>{"Search"});
    EXPECT_EQ(Number(*w, "txt_max_threads"), 10);
    EXPECT_TRUE(Enabled(*w, "btn_start"));
    EXPECT_FALSE(Enabled(*w, "btn_stop"));
    EXPECT_FALSE(Enabled(*w, "btn_pause"));
    EXPECT_FALSE(Enabled(*w, "btn_resume"));

    // The thread limit follows the spin box.
    wxSpinEvent spin(wxEVT_SPIN, ui::Ctrl<wxSpinButton>(w, "spin_max_threads")->GetId());
    spin.SetPosition(4);
    ui::Ctrl<wxSpinButton>(w, "spin_max_threads")->ProcessWindowEvent(spin);
    EXPECT_EQ(Number(*w, "txt_max_threads"), 4);
    EXPECT_EQ(w->Session().Limits().maxThreads, 4);

    // The bars hide and stay hidden for the next window.
    Menu(*w, "mi_toolbar");
    EXPECT_FALSE(ui::Ctrl<wxWindow>(w, "pnl_toolbar")->IsShown());
    EXPECT_EQ(f.settings.Get(keys::ViewToolbar), "0");
    w->ShowProgressBar(false);
    EXPECT_EQ(f.settings.Get(keys::ViewProgressbar), "0");
    CloseWindow(w);
    w = f.Open();
    EXPECT_FALSE(ui::Ctrl<wxWindow>(w, "pnl_toolbar")->IsShown());
    EXPECT_FALSE(ui::Ctrl<wxWindow>(w, "gauge_progress")->IsShown());
    w->ShowToolBar(true);
    w->ShowProgressBar(true);
    w->SetLocation("www.site.example");
    w->Show();
    test::SaveScreenshot(*w, "crawler_idle");
    CloseWindow(w);
}

TEST(CrawlerWindow, CrawlsASiteWithPauseResumeAndShowsEveryList) {
    Fixture f;
    ServeSite(f.server, 60, 100);
    ui::CCrawlerDlg* w = f.Open();
    w->Show();
    w->SetLocation(f.server.Url("/p0.html"));
    test::Click(*w, "btn_start");
    ASSERT_TRUE(w->Session().Crawling());
    EXPECT_EQ(f.codes.front(), notify::WebSearchOver);
    EXPECT_FALSE(Enabled(*w, "btn_start"));
    EXPECT_TRUE(Enabled(*w, "btn_stop"));
    EXPECT_EQ(f.settings.Get(keys::UrlsHistoryUrl), f.server.Url("/p0.html"));

    ASSERT_TRUE(Pump([&] { return Number(*w, "txt_pages_parsed") >= 5; }));
    const long before = Number(*w, "txt_pages_parsed");
    test::SaveScreenshot(*w, "crawler_crawling");
    test::Click(*w, "btn_pause");
    EXPECT_TRUE(w->Paused());
    EXPECT_FALSE(Enabled(*w, "btn_pause"));
    EXPECT_TRUE(Enabled(*w, "btn_resume"));
    // Running pages finish, then no new ones start.
    long paused = Number(*w, "txt_pages_parsed");
    for (int i = 0; i < 20; ++i) {
        Pump([] { return false; }, 500ms);
        const long now = Number(*w, "txt_pages_parsed");
        if (now == paused) break;
        paused = now;
    }
    Pump([] { return false; }, 500ms);
    EXPECT_EQ(Number(*w, "txt_pages_parsed"), paused) << "no page is parsed while paused";
    EXPECT_GE(paused, before);
    test::Click(*w, "btn_resume");
    EXPECT_FALSE(w->Paused());

    ASSERT_TRUE(Pump([&] { return !w->Session().Crawling() && w->Status() == "Ready."; }, 60s));
    EXPECT_EQ(Number(*w, "txt_pages_parsed"), 60);
    EXPECT_TRUE(Enabled(*w, "btn_start"));
    EXPECT_NE(std::find(f.codes.begin(), f.codes.end(), notify::SearchEnded), f.codes.end());
    const auto tabs = w->TabCaptions();
    ASSERT_EQ(tabs.size(), 5u);
    EXPECT_EQ(tabs[0], "Search");
    for (const char* caption : {"Crawl", "Images", "Sounds", "Movies"})
        EXPECT_NE(std::find(tabs.begin(), tabs.end(), caption), tabs.end()) << caption;
    ASSERT_TRUE(Pump([&] { return w->Session().Checker().PendingCount() == 0; }));
    EXPECT_EQ(w->Session().Lists().images.RowCount(), 60u);
    EXPECT_EQ(w->Session().Lists().sounds.RowCount(), 12u);
    EXPECT_EQ(w->Session().Lists().movies.RowCount(), 9u);

    for (CrawlerTab tab : {CrawlerTab::Search, CrawlerTab::Crawl, CrawlerTab::Images, CrawlerTab::Sounds,
                           CrawlerTab::Movies}) {
        ASSERT_TRUE(w->SelectTab(tab));
        EXPECT_EQ(w->CurrentPage()->Caption(), TabCaption(tab));
        if (tab == CrawlerTab::Crawl) Menu(*w, "mi_tree_expand");
        test::SaveScreenshot(*w, "crawler_tab_" + std::string(TabCaption(tab)));
    }

    // The site maps are written into the project and opened.
    Menu(*w, "mi_map_browser");
    Menu(*w, "mi_map_editor");
    Menu(*w, "mi_map_java");
    Menu(*w, "mi_make_output");
    for (const char* file : {"SiteMap.html", "SiteMap.txt", "SiteTree.htm", "MainFrame.html"})
        EXPECT_FALSE(f.dir.Read(file).empty()) << file;
    ASSERT_TRUE(Pump([&] {
        const std::string opened = f.dir.Read("opened.txt");
        return opened.find("MainFrame.html") != std::string::npos && opened.find("ImagesFrame") != std::string::npos;
    }, 10s)) << f.dir.Read("opened.txt");

    // Clear List empties the shown list only; Clear All the rest.
    ASSERT_TRUE(w->SelectTab(CrawlerTab::Images));
    test::Click(*w, "btn_clear_list");
    EXPECT_EQ(w->Session().Lists().images.RowCount(), 0u);
    EXPECT_EQ(w->Session().Lists().sounds.RowCount(), 12u);
    test::Click(*w, "btn_clear_all");
    EXPECT_EQ(w->Session().Lists().sounds.RowCount(), 0u);
    EXPECT_TRUE(w->Session().Trees().Empty());
    EXPECT_EQ(w->TabCaptions().size(), 5u) << "tabs stay";
    CloseWindow(w);
}

TEST(CrawlerWindow, StopEndsTheCrawlAndAProjectSavedLoadsIntoAnotherWindow) {
    Fixture f;
    ServeSite(f.server, 400, 30);
    ui::CCrawlerDlg* w = f.Open();
    w->SetLocation(f.server.Url("/p0.html"));
    ASSERT_TRUE(w->StartCrawling());
    ASSERT_TRUE(Pump([&] { return w->Session().Lists().images.RowCount() >= 10; }));
    test::Click(*w, "btn_stop");
    ASSERT_TRUE(Pump([&] { return w->Status() == "Ready."; }, 10s));
    EXPECT_LT(Number(*w, "txt_pages_parsed"), 400);
    ASSERT_TRUE(Pump([&] { return w->Session().Checker().PendingCount() == 0; }));
    Menu(*w, "mi_project_save");
    const std::string saved = w->Session().ProjectText();
    const std::string file = w->Session().Project().FilePath();
    const std::size_t images = w->Session().Lists().images.RowCount();
    CloseWindow(w);

    Fixture other;
    ui::CCrawlerDlg* v = other.Open();
    std::vector<ui::FileQuestion> asked;
    v->askFile = [&](wxWindow*, const ui::FileQuestion& q) {
        asked.push_back(q);
        return file;
    };
    Menu(*v, "mi_project_load");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Load project");
    EXPECT_EQ(asked[0].wildcard, "Crawler projects(*.crl)|*.crl");
    EXPECT_EQ(v->Session().ProjectText(), saved);
    EXPECT_EQ(v->Session().Lists().images.RowCount(), images);
    EXPECT_EQ(v->Location(), f.server.Url("/p0.html"));
    EXPECT_TRUE(v->OneSiteMode());
    Pump([] { return false; }, 300ms);
    const auto tabs = v->TabCaptions();
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), "Images"), tabs.end());
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), "Crawl"), tabs.end());

    // A new project starts empty, in the file chosen.
    v->askFile = [&](wxWindow*, const ui::FileQuestion& q) {
        asked.push_back(q);
        return other.dir.File("second.crl");
    };
    Menu(*v, "mi_project_new");
    EXPECT_EQ(asked.back().title, "New project");
    EXPECT_TRUE(asked.back().save);
    EXPECT_EQ(other.dir.Read("second.crl"), "New project");
    EXPECT_EQ(v->Session().Lists().images.RowCount(), 0u);
    EXPECT_EQ(other.settings.Get(keys::ProjectName), "second.crl");
    CloseWindow(v);
}

TEST(CrawlerWindow, LoadAndTheListsDialogAreRefusedWhileCrawling) {
    Fixture f;
    ServeSite(f.server, 200, 60);
    ui::CCrawlerDlg* w = f.Open();
    w->SetLocation(f.server.Url("/p0.html"));
    ASSERT_TRUE(w->StartCrawling());
    int asked = 0;
    w->askFile = [&](wxWindow*, const ui::FileQuestion&) {
        ++asked;
        return std::string();
    };
    w->LoadProject();
    EXPECT_EQ(asked, 0) << "no project is loaded while crawling";

    // While crawling the dialog shows the switches but OK does nothing.
    {
        ui::ListsDialog d(w, f.settings, true);
        EXPECT_FALSE(ui::Ctrl<wxButton>(&d, "wxID_OK")->IsEnabled());
        d.SetValue(1, false);
        EXPECT_FALSE(d.Accept());
        EXPECT_EQ(f.settings.Get(keys::ViewImages), "1");
        d.Show();
        test::SaveScreenshot(d, "crawler_lists_dialog_crawling");
    }
    ASSERT_TRUE(w->StopAndWait(10s));

    // Idle, the menu's dialog writes the switches and the window follows.
    f.settings.Set(keys::ViewSounds, std::string("0"));
    test::WhenModal answer([&](wxDialog& d) {
        EXPECT_EQ(d.GetTitle(), "Lists");
        EXPECT_FALSE(ui::Ctrl<wxCheckBox>(&d, "chk_view_sounds")->GetValue());
        ui::Ctrl<wxCheckBox>(&d, "chk_view_movies")->SetValue(false);
        ui::Ctrl<wxCheckBox>(&d, "chk_view_emails")->SetValue(true);
        test::SaveScreenshot(d, "crawler_lists_dialog");
        test::Click(d, "wxID_OK");
    });
    Menu(*w, "mi_lists");
    EXPECT_TRUE(answer.Fired());
    EXPECT_EQ(f.settings.Get(keys::ViewMovies), "0");
    EXPECT_EQ(f.settings.Get(keys::ViewEmails), "1");
    CloseWindow(w);
    // The first page links a film, and the next window does not list it.
    w = f.Open();
    w->SetLocation(f.server.Url("/p0.html"));
    w->Session().SetSinglePage(true);
    ASSERT_TRUE(w->StartCrawling());
    ASSERT_TRUE(Pump([&] { return w->Status() == "Ready."; }));
    const auto tabs = w->TabCaptions();
    EXPECT_EQ(std::find(tabs.begin(), tabs.end(), "Movies"), tabs.end()) << "movies are off";
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), "Images"), tabs.end());
    EXPECT_EQ(w->Session().Lists().movies.RowCount(), 0u);
}

TEST(CrawlerWindow, LocalFilesAndTheTwoModes) {
    Fixture f;
    f.dir.Write("site/index.html", "<title>Local</title><img src=\"a.jpg\">");
    ui::CCrawlerDlg* w = f.Open();
    f.settings.Set(keys::CrawlerLastPath, f.dir.Path() + "/");
    w->SetOneSiteMode(false);
    EXPECT_EQ(w->Location(), ui::CCrawlerDlg::kSeveralSites);
    EXPECT_FALSE(ui::Ctrl<wxComboBox>(w, "cmb_location")->IsEnabled());
    ui::FileQuestion asked;
    w->askFile = [&](wxWindow*, const ui::FileQuestion& q) {
        asked = q;
        return f.dir.File("site/index.html");
    };
    Menu(*w, "mi_open_local");
    EXPECT_EQ(asked.title, "Open local file");
    EXPECT_EQ(asked.wildcard, "Internet files(*.htm,*.html)|*.htm;*.html|All files|*.*");
    EXPECT_EQ(asked.folder, f.dir.Path() + "/");
    EXPECT_TRUE(w->OneSiteMode());
    EXPECT_TRUE(ui::Ctrl<wxComboBox>(w, "cmb_location")->IsEnabled());
    EXPECT_EQ(w->Location(), f.dir.File("site/index.html"));
    EXPECT_EQ(f.settings.Get(keys::CrawlerLastPath), f.dir.Path() + "/site/");

    // Cut and Paste work on the location box.
    ui::Ctrl<wxComboBox>(w, "cmb_location")->SelectAll();
    Menu(*w, "mi_cut");
    EXPECT_EQ(w->Location(), "");
    Menu(*w, "mi_paste");
    EXPECT_EQ(w->Location(), f.dir.File("site/index.html"));

    // The sites list's OK puts the window in list mode and crawls every site.
    ServeSite(f.server, 3, 0);
    w->UseSitesList(f.server.Url("/p1.html") + ";" + f.server.Url("/p2.html") + ";", "picture");
    EXPECT_FALSE(w->OneSiteMode());
    EXPECT_EQ(w->Location(), ui::CCrawlerDlg::kSeveralSites);
    EXPECT_EQ(w->Session().Hits().Query(), "picture");
    Menu(*w, "mi_start");
    ASSERT_TRUE(Pump([&] { return w->Status() == "Ready."; }));
    EXPECT_EQ(f.server.Count("/p1.html"), 1);
    EXPECT_EQ(f.server.Count("/p2.html"), 1);
    EXPECT_EQ(w->Session().Hits().RowCount(), 2u) << "the query went into the text search";
    w->UseOneSite("back.example");
    EXPECT_TRUE(w->OneSiteMode());
    EXPECT_EQ(w->Location(), "back.example");
    CloseWindow(w);
}

TEST(CrawlerWindow, StartUpRunsAOnePageCrawlAndSearchWebOpensTheSitesList) {
    Fixture f;
    ServeSite(f.server, 20, 0);
    ui::CCrawlerDlg* w = f.Open();
    w->Initialise(ui::CrawlerStart{f.server.Url("/p0.html"), true, true, false, true});
    EXPECT_FALSE(w->IsShown()) << "the crawler window starts hidden";
    EXPECT_TRUE(w->Session().Crawling());
    EXPECT_TRUE(w->SearchSite());
    ASSERT_TRUE(Pump([&] { return w->Status() == "Ready."; }));
    EXPECT_EQ(Number(*w, "txt_pages_parsed"), 1);
    EXPECT_EQ(f.server.Count("/p1.html"), 0);
    CloseWindow(w);

    // "search web" opens the sites list with the search-engine dialog over it.
    ui::CCrawlerDlg* v = f.Open();
    std::vector<std::string> titles;
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        for (wxWindow* top : wxTopLevelWindows) {
            auto* d = dynamic_cast<wxDialog*>(top);
            if (!d || !d->IsModal()) continue;
            const std::string title = d->GetTitle().utf8_string();
            if (std::find(titles.begin(), titles.end(), title) == titles.end()) titles.push_back(title);
            // The search-engine dialog goes first, then the list.
            if (titles.size() >= 2 || title != "Domains list") d->EndModal(wxID_CANCEL);
        }
    });
    closer.Start(50);
    v->Initialise(ui::CrawlerStart{"cats", false, false, true, false});
    EXPECT_FALSE(v->SearchSite());
    EXPECT_EQ(v->Location(), "cats");
    Pump([&] { return titles.size() >= 2 && !AnyModal(); }, 10s);
    closer.Stop();
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Domains list"), titles.end());
    EXPECT_EQ(titles.size(), 2u);
    CloseWindow(v);
}

// Closing in the middle of a crawl of a large site stops it and ends at
// once, even while workers wait for the window.
TEST(CrawlerWindow, ClosingDuringALargeCrawlEndsWithinTwoSeconds) {
    Fixture f;
    ServeSite(f.server, 2000, 50);
    ui::CCrawlerDlg* w = f.Open();
    w->Show();
    bool closed = false;
    w->onClosed = [&] { closed = true; };
    w->SetLocation(f.server.Url("/p0.html"));
    ASSERT_TRUE(w->StartCrawling());
    ASSERT_TRUE(Pump([&] { return Number(*w, "txt_pages_parsed") >= 50; }));
    EXPECT_GT(Number(*w, "txt_pages_found"), Number(*w, "txt_pages_parsed"));
    const auto begin = std::chrono::steady_clock::now();
    Menu(*w, "mi_exit");
    Pump([&] { return Gone(w); }, 10s);
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Gone(w));
    EXPECT_LT(took, 2s) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    std::printf("closing during the crawl took %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

// The UI thread keeps answering through a whole crawl of a large site: a
// timer on it records the longest gap between its ticks, from the start to
// the end of the crawl, with the Crawl tab's tree growing on screen. The
// bound only catches a frozen window; the figure itself is printed.
TEST(CrawlerWindow, UiKeepsTickingThroughALargeCrawl) {
    constexpr int kPages = 2000;
    Fixture f;
    f.settings.Set(keys::CrawlerIsPagesLimit, 0);
    ServeSite(f.server, kPages, 0);
    ui::CCrawlerDlg* w = f.Open();
    w->Show();
    w->SetLocation(f.server.Url("/p0.html"));

    using Clock = std::chrono::steady_clock;
    wxGUIEventLoop loop;
    Clock::time_point last{};
    Clock::duration longest{};
    long ticks = 0;
    bool timedOut = false;
    const Clock::time_point deadline = Clock::now() + 180s;
    wxTimer ticker;
    ticker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        const Clock::time_point now = Clock::now();
        if (ticks > 0) longest = std::max(longest, now - last);
        last = now;
        ++ticks;
        // The tree is what the window has most to do for: it is shown,
        // expanded now and then as it grows.
        if (w->Page(CrawlerTab::Crawl) && w->CurrentPage() != w->Page(CrawlerTab::Crawl)) w->SelectTab(CrawlerTab::Crawl);
        if (w->CurrentPage() == w->Page(CrawlerTab::Crawl) && ticks % 50 == 0) Menu(*w, "mi_tree_expand");
        timedOut = now > deadline;
        if (!w->Session().Crawling() || timedOut) loop.Exit();
    });
    test::Click(*w, "btn_start");
    ASSERT_TRUE(w->Session().Crawling());
    const Clock::time_point begin = Clock::now();
    last = begin;
    ticker.Start(10);
    loop.Run();
    ticker.Stop();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin);
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(longest);
    std::printf("longest UI gap during a %d-page crawl: %lld ms, %ld ticks (crawl took %lld ms)\n", kPages,
                static_cast<long long>(gap.count()), ticks, static_cast<long long>(took.count()));
    ASSERT_FALSE(timedOut) << "the crawl did not end";
    EXPECT_LT(gap, test::kStalledUi);
    ASSERT_TRUE(Pump([&] { return w->Status() == "Ready."; }, 10s));
    EXPECT_EQ(Number(*w, "txt_pages_parsed"), kPages);
    EXPECT_EQ(w->Session().Progress().pagesParsed, kPages);
    ASSERT_TRUE(Pump([&] { return w->Session().Checker().PendingCount() == 0; }, 60s));
    EXPECT_EQ(w->Session().Lists().images.RowCount(), static_cast<std::size_t>(kPages));
    test::SaveScreenshot(*w, "crawler_large_crawl_done");
    CloseWindow(w);
}
