// The media-search window as a user drives it, with the program's shell
// (notifier, session, server requests) in-process, its settings in a
// temporary folder and every service on loopback servers.
#include "app/ui/AppShell.h"
#include "session/ui/CrawlerWindow.h"
#include "app/ui/ClipAnimation.h"
#include "app/ui/MediaSearchWindow.h"
#include "search/CategorySearch.h"
#include "search/ui/CategoryDialog.h"
#include "crawl/FoundItems.h"
#include "platform/Paths.h"
#include "session/CrawlerSession.h"
#include "settings/Settings.h"
#include "support/DistinctBody.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/TestFolders.h"
#include "ui/MessageBox.h"
#include "ui/LoopbackHosts.h"
#include "ui/Screenshot.h"
#include "ui/UiDriver.h"
#include "ui/WxNotifier.h"
#include "ui/XrcSupport.h"
#include "update/ServerRequests.h"
#include "update/UpdateThread.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/treectrl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

using ui::MediaSearchWindow;

// Runs the event loop until cond holds or the time is up.
using test::PumpUntil;

void Pump(std::chrono::milliseconds span) {
    PumpUntil([] { return false; }, span);
}

// Answers every modal dialog that shows up, by its resource name, while it
// lives.
class DialogAnswers {
public:
    explicit DialogAnswers(std::map<std::string, std::function<void(wxDialog&)>> answers)
        : answers_(std::move(answers)) {
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            for (wxWindow* w : wxTopLevelWindows) {
                auto* dlg = dynamic_cast<wxDialog*>(w);
                if (!dlg || !dlg->IsModal() || !dlg->IsShown()) continue;
                const std::string name = dlg->GetName().utf8_string();
                seen.push_back(name);
                auto it = answers_.find(name);
                if (it != answers_.end()) it->second(*dlg);
                else dlg->EndModal(wxID_CANCEL);
                return;
            }
        });
        timer_.Start(20);
    }
    ~DialogAnswers() { timer_.Stop(); }
    std::vector<std::string> seen;

private:
    std::map<std::string, std::function<void(wxDialog&)>> answers_;
    wxTimer timer_;
};

std::string Page(int images, const std::string& title = "Larks") {
    std::string body = "<html><title>" + title + "</title><body>\n";
    for (int i = 1; i <= images; ++i) body += "<img src=\"lark" + std::to_string(i) + ".jpg\">\n";
    return body + "</body></html>";
}

// A site of larks: a home page with `images` pictures of 5000 bytes, each
// different from every other site's.
struct LarkSite {
    test::LoopbackServer server;
    explicit LarkSite(int images) {
        server.Add({"/index.html", 200, {{"Content-Type", "text/html"}}, Page(images)});
        for (int i = 1; i <= images; ++i)
            server.Add({"/lark" + std::to_string(i) + ".jpg", 200, {{"Content-Type", "image/jpeg"}},
                        test::DistinctBody(server.Url("/lark" + std::to_string(i)), 5000, 'j')});
    }
};

struct Program {
    test::TempDir dir;
    test::ScopedEnv opener{"FLK_OPENER", dir.File("opener.sh")};
    test::LoopbackServer services;  // the engines, the maker's site, update data and server module
    std::unique_ptr<Settings> settings;
    std::unique_ptr<ui::AppShell> shell;
    std::vector<ui::MessageBoxCall> boxes;
    std::map<std::string, int> answers;  // by caption; wxOK otherwise
    std::function<void(const ui::MessageBoxCall&)> onBox;

    Program() {
        dir.Write("opener.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        ::chmod(dir.File("opener.sh").c_str(), 0755);
        settings = std::make_unique<Settings>(test::FoldersIn(dir.Path()));
        settings->WriteDefaults();
        settings->Set(keys::UpdateFirstTime, 0);
        settings->Set(keys::CrawlerEnodger, 1);
        settings->Set(keys::ProjectPath, dir.Path());
        test::PointHostsAt(*settings, services);
        // One guide category stored; the day's update brings three.
        dir.Write("data.txt", Data("Birds"));
        services.Add({"/update/data.txt", 200, {{"Content-Type", "text/plain"}}, Data("Birds,Fish,Flowers")});
        ui::SetMessageBoxHook([this](const ui::MessageBoxCall& call) {
            boxes.push_back(call);
            if (onBox) onBox(call);
            auto it = answers.find(call.caption);
            return it != answers.end() ? it->second : wxOK;
        });
    }
    ~Program() {
        shell.reset();
        Pump(50ms);  // the closed window is deleted
        ui::SetMessageBoxHook({});
    }

    std::string Data(const std::string& categories) const {
        return "<engines>[Altavista]url1=\"-\"</engines><categories>url=\"" + services.Url("/eng/") +
               "\" categories=\"" + categories + "\"</categories><sex words>smut</sex words><register>server=\"" +
               services.Url("/trn/") + "\"</register>";
    }

    MediaSearchWindow& Open(const StartCommand& command = {}) {
        InternetOptions network;
        network.connectTimeoutMs = 5000;
        shell = std::make_unique<ui::AppShell>(*settings, network, Pacing::None());
        shell->Start(command);
        return *shell->SearchWindow();
    }
    MediaSearchWindow& Window() { return *shell->SearchWindow(); }

    std::vector<std::string> Opened() const {
        std::vector<std::string> lines;
        std::ifstream in(dir.File("opened.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const auto& b : boxes) out.push_back(b.caption);
        return out;
    }
    void TypeAndGo(const std::string& query) {
        ui::Ctrl<wxTextCtrl>(&Window(), "txt_keywords")->SetValue(query);
        test::Click(Window(), "btn_go");
    }
    // Waits for the search to end (state back to 0 after a scan).
    bool WaitForIdleAfterScan() {
        return PumpUntil([this] {
            const auto& s = Window().StatesShown();
            return std::find(s.begin(), s.end(), SearchState::Scanning) != s.end() &&
                   Window().View().state == SearchState::Idle && !shell->Session().Crawling();
        });
    }
};

Notification Count(int code, int n) {
    Notification m;
    m.code = code;
    m.value = (100L << 16) | n;
    return m;
}

}  // namespace

TEST(MediaSearchWindow, KeywordSearchFromGoToTheResultPages) {
    LarkSite site(9);
    Program p;
    p.services.Add({"/cgi-bin/query", 200, {{"Content-Type", "text/html"}},
                    "<a href=\"" + site.server.Url("/index.html") + "\">Larks</a>"});
    MediaSearchWindow& w = p.Open();
    // The day's update brings three guide categories (code 56).
    auto* guides = ui::Ctrl<wxComboBox>(&w, "cmb_guides");
    ASSERT_TRUE(PumpUntil([&] { return guides->GetCount() == 3; })) << guides->GetCount();
    EXPECT_EQ(guides->GetString(0), "Birds");
    EXPECT_TRUE(test::SaveScreenshot(w, "mediasearch_idle"));

    int askedAt = -1, barWhenAsked = -1;
    p.answers["View Media Results"] = wxYES;
    p.answers["View results?"] = wxNO;
    p.onBox = [&](const ui::MessageBoxCall& call) {
        if (call.caption != "View Media Results") return;
        askedAt = w.View().imagesFound;
        barWhenAsked = ui::Ctrl<wxGauge>(&w, "gau_images")->GetValue();
    };
    bool tipTicked = false;
    DialogAnswers dialogs({
        {"dlg_warning", [](wxDialog& d) { test::Click(d, "wxID_OK"); }},  // "Continue"
        {"dlg_scan_tip",
         [&](wxDialog& d) {
             ui::Ctrl<wxCheckBox>(&d, "chk_dont_show_again")->SetValue(true);
             tipTicked = true;
             test::Click(d, "wxID_OK");
         }},
    });
    p.TypeAndGo("  singing   larks ");
    // The bar as it changes; the timer also runs while a question is open.
    std::vector<int> bars;
    wxTimer sampler;
    auto sample = [&] {
        const int bar = ui::Ctrl<wxGauge>(&w, "gau_images")->GetValue();
        if (bars.empty() || bars.back() != bar) bars.push_back(bar);
    };
    sampler.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { sample(); });
    sampler.Start(5);
    bool shotWhileSearching = false;
    ASSERT_TRUE(PumpUntil([&] {
        if (!shotWhileSearching && w.View().state == SearchState::Scanning && w.Clip().Running()) {
            shotWhileSearching = true;
            EXPECT_TRUE(test::SaveScreenshot(w, "mediasearch_searching"));
        }
        return w.View().state == SearchState::Idle && w.StatesShown().size() > 4 && !p.shell->Session().Crawling();
    })) << "state " << static_cast<int>(w.View().state);
    sampler.Stop();
    // The last counts and the end may arrive in one go, between two samples.
    sample();

    const std::vector<SearchState> expected{SearchState::Idle, SearchState::Starting, SearchState::SearchingWeb,
                                            SearchState::Scanning, SearchState::Idle};
    EXPECT_EQ(w.StatesShown(), expected);
    EXPECT_EQ(p.settings->Get(keys::SearchEngineLine), "singing larks");
    EXPECT_TRUE(tipTicked);
    EXPECT_EQ(p.settings->Get(keys::ViewTip), 0);
    // The bar grew with the count, up to all nine. A fast machine may find
    // every picture between two samples, so only the question pins a middle value.
    EXPECT_EQ(barWhenAsked, 7);
    EXPECT_GE(bars.size(), 2u);
    EXPECT_EQ(bars.front(), 0);
    EXPECT_TRUE(std::is_sorted(bars.begin(), bars.end()));
    EXPECT_EQ(bars.back(), 9);
    EXPECT_EQ(w.View().imagesFound, 9);
    // Asked once, at the seventh; "Yes" opened the images frame page.
    EXPECT_EQ(askedAt, 7);
    const std::vector<std::string> captions = p.Captions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "View Media Results"), 1);
    ASSERT_TRUE(PumpUntil([&] { return !p.Opened().empty(); }, 5s));
    EXPECT_EQ(p.Opened().front(), JoinPath(p.dir.Path(), "ImagesFrame2.htm"));
    EXPECT_TRUE(std::filesystem::exists(JoinPath(p.dir.Path(), "ImagesList0.htm")));
    // The end asked once more.
    ASSERT_FALSE(p.boxes.empty());
    EXPECT_EQ(p.boxes.back().text, "Search completed.\nView results now?");
    EXPECT_EQ(p.boxes.back().caption, "View results?");
    EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&w, "txt_status")->GetValue(), "Ready.");
    EXPECT_TRUE(ui::Ctrl<wxButton>(&w, "btn_view_results")->IsEnabled());
    EXPECT_FALSE(w.Clip().Running());
    EXPECT_TRUE(test::SaveScreenshot(w, "mediasearch_results"));
    // One usage report with the words.
    ASSERT_TRUE(PumpUntil([&] { return p.shell->Server().Pending() == 0; }, 10s));
    int reports = 0, versionQueries = 0;
    for (const auto& r : p.services.Requests()) {
        reports += r.target.rfind("/trn/tarn.dll?mdl=use&req=insert&txt_code=word&info=singing+larks", 0) == 0;
        versionQueries += r.target.rfind("/trn/tarn.dll?mdl=checkver", 0) == 0;
    }
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(versionQueries, 1);
}

// A keyword search through an engine the user added in flk.ini, as a
// self-hosted metasearch page: its two result pages list two lark sites,
// a link back into the engine and a duplicate; only the sites are crawled.
TEST(MediaSearchWindow, KeywordSearchThroughAUserEngine) {
    LarkSite first(5), second(4);
    test::LoopbackServer engine;
    const std::string links = "<a href=\"" + first.server.Url("/index.html") + "\">one</a>\n" +
                              "<a href=\"" + engine.Url("/search?q=larks&pageno=2") + "\">next</a>\n";
    engine.Add({"/search?q=singing+larks&pageno=1", 200, {{"Content-Type", "text/html"}}, links});
    engine.Add({"/search?q=singing+larks&pageno=2", 200, {{"Content-Type", "text/html"}},
                "<a href=\"" + second.server.Url("/index.html") + "\">two</a>\n" +
                    "<a href=\"" + first.server.Url("/index.html") + "\">one again</a>\n"});
    Program p;
    p.settings->Set(keys::ViewTip, 0);
    p.settings->Set(keys::CrawlerSafetyLevel, 3);
    p.settings->WriteProfileString("engines", "larkfinder",
                                   engine.Url("/search?q={query}&pageno={page}") + " max_pages=2");
    p.settings->Set(keys::SearchEngine, 1);  // after the update data's one engine
    p.answers["View Media Results"] = wxNO;
    p.answers["View results?"] = wxYES;
    DialogAnswers dialogs({{"dlg_warning", [](wxDialog& d) { test::Click(d, "wxID_OK"); }}});
    MediaSearchWindow& w = p.Open();
    p.TypeAndGo("singing larks");
    ASSERT_TRUE(p.WaitForIdleAfterScan()) << "state " << static_cast<int>(w.View().state);

    EXPECT_EQ(engine.Count("/search?q=singing+larks&pageno=1"), 1);
    EXPECT_EQ(engine.Count("/search?q=singing+larks&pageno=2"), 1);
    EXPECT_EQ(engine.Count("/search?q=larks&pageno=2"), 0);  // the engine's own links are not sites
    EXPECT_EQ(first.server.Count("/index.html"), 1);
    EXPECT_EQ(second.server.Count("/index.html"), 1);
    EXPECT_EQ(w.View().imagesFound, 9);
    ASSERT_TRUE(PumpUntil([&] { return !p.Opened().empty(); }, 5s));
    // Safety level 3 picks the third frame page.
    EXPECT_EQ(p.Opened().back(), JoinPath(p.dir.Path(), "ImagesFrame3.htm"));
    EXPECT_EQ(p.settings->Get(keys::SearchEngine), 1);
}

// A keyword search through the directory with "CategoriesTree" on: the
// category tree comes up for the user, who picks one of three; only the
// sites of that category are crawled.
TEST(MediaSearchWindow, DirectorySearchShowsTheCategoryTreeToChooseFrom) {
    LarkSite birds(3), fish(4);
    Program p;
    p.settings->Set(keys::ViewTip, 0);
    p.settings->Set(keys::CrawlerSafetyLevel, 3);
    p.settings->Set(keys::ViewCategoriesTree, 1);
    std::string data = p.Data("Birds");
    std::string directory = "[Web crawler]url1=\"-\"[Looksmart]";
    for (const char* n : {"1", "2", "3"})
        directory += std::string("url") + n + "=\"" + p.services.Url("/r_search?key=%search%&skip=%from%") + "\"";
    data.insert(data.find("</engines>"), directory);
    p.dir.Write("data.txt", data);
    p.services.Add({"/update/data.txt", 200, {{"Content-Type", "text/plain"}}, data});
    p.settings->Set(keys::SearchEngine, 2);  // the directory
    p.services.Add({"/r_search", 200, {{"Content-Type", "text/plain"}},
                    "U=" + p.services.Url("/birds.html") + "\nF=... - Animals - Birds\nU=" +
                        p.services.Url("/fish.html") + "\nF=... - Animals - Fish\nU=" +
                        p.services.Url("/trees.html") + "\nF=... - Plants - Trees\n"});
    for (const auto& [path, site] : {std::pair{"/birds.html", &birds}, std::pair{"/fish.html", &fish}})
        p.services.Add({path, 200, {{"Content-Type", "text/html"}},
                        "<a href=\"" + site->server.Url("/index.html") + "\">site</a>"});
    bool chose = false;
    DialogAnswers dialogs({
        {"dlg_warning", [](wxDialog& d) { test::Click(d, "wxID_OK"); }},
        {"dlg_categories",
         [&](wxDialog& d) {
             auto& dialog = dynamic_cast<ui::CategoryDialog&>(d);
             auto* tree = ui::Ctrl<wxTreeCtrl>(&d, "tre_categories");
             if (chose || dialog.Search().GetState() != CategorySearch::State::Choosing || tree->GetCount() == 0)
                 return;
             // Animals > Fish, as the user opens the tree and picks it.
             wxTreeItemIdValue cookie;
             const wxTreeItemId animals = tree->GetFirstChild(tree->GetRootItem(), cookie);
             ASSERT_EQ(tree->GetItemText(animals), "Animals");
             tree->Expand(animals);
             wxTreeItemIdValue inner;
             wxTreeItemId item = tree->GetFirstChild(animals, inner);
             while (item.IsOk() && tree->GetItemText(item) != "Fish") item = tree->GetNextChild(animals, inner);
             ASSERT_TRUE(item.IsOk());
             tree->SelectItem(item);
             test::Click(d, "btn_add");
             test::SaveScreenshot(d, "mediasearch_category_tree");
             chose = true;
             test::Click(d, "wxID_OK");
         }},
    });
    MediaSearchWindow& w = p.Open();
    p.TypeAndGo("fish");
    const bool scanned = p.WaitForIdleAfterScan();
    std::string log;
    for (const auto& r : p.services.Requests()) log += r.target + "\n";
    for (const auto& b : p.boxes) log += "box: " + b.text + "\n";
    for (const auto& n : dialogs.seen) log += "dialog: " + n + "\n";
    ASSERT_TRUE(scanned) << "state " << static_cast<int>(w.View().state) << "\n" << log;
    EXPECT_TRUE(chose);
    EXPECT_EQ(fish.server.Count("/index.html"), 1);
    EXPECT_EQ(birds.server.Count("/index.html"), 0);
    EXPECT_EQ(w.View().imagesFound, 4);
}

TEST(MediaSearchWindow, SiteAddressSearchAndViewResults) {
    LarkSite site(3);
    Program p;
    p.settings->Set(keys::CrawlerSafetyLevel, 3);
    p.settings->Set(keys::ViewTip, 0);
    MediaSearchWindow& w = p.Open();
    p.TypeAndGo(site.server.Url("/index.html"));
    ASSERT_TRUE(p.WaitForIdleAfterScan());
    EXPECT_EQ(w.View().imagesFound, 3);
    // Three media ask nothing, neither on the way nor at the end.
    EXPECT_TRUE(p.boxes.empty()) << p.boxes.front().text;
    EXPECT_TRUE(p.Opened().empty());
    test::Click(w, "btn_view_results");
    ASSERT_TRUE(PumpUntil([&] { return !p.Opened().empty(); }, 5s));
    EXPECT_EQ(p.Opened().front(), JoinPath(p.dir.Path(), "ImagesFrame3.htm"));
    EXPECT_EQ(site.server.Count("/index.html"), 1);
}

// A guide category chosen from the list (as the day's update brought it):
// its page in the guide gives the start sites, their pictures are found,
// the question comes at the seventh and the usage report names the category.
TEST(MediaSearchWindow, GuideCategorySearchFromGoToTheResultPages) {
    LarkSite site(9);
    Program p;
    p.settings->Set(keys::ViewTip, 0);
    p.services.Add({"/eng/Fish.htm", 200, {{"Content-Type", "text/html"}},
                    "<a href=\"" + site.server.Url("/index.html") + "\">Larks</a>"});
    MediaSearchWindow& w = p.Open();
    auto* guides = ui::Ctrl<wxComboBox>(&w, "cmb_guides");
    ASSERT_TRUE(PumpUntil([&] { return guides->GetCount() == 3; })) << guides->GetCount();
    auto* guideMode = ui::Ctrl<wxRadioButton>(&w, "rb_guides");
    guideMode->SetValue(true);
    wxCommandEvent chosen(wxEVT_RADIOBUTTON, guideMode->GetId());
    chosen.SetEventObject(guideMode);
    guideMode->GetEventHandler()->ProcessEvent(chosen);
    ASSERT_TRUE(guides->IsEnabled());
    ASSERT_TRUE(guides->SetStringSelection("Fish"));

    int askedAt = -1;
    p.answers["View Media Results"] = wxYES;
    p.answers["View results?"] = wxNO;
    p.onBox = [&](const ui::MessageBoxCall& call) {
        if (call.caption == "View Media Results") askedAt = w.View().imagesFound;
    };
    DialogAnswers dialogs({});  // a guide search shows no dialog of its own
    test::Click(w, "btn_go");
    ASSERT_TRUE(p.WaitForIdleAfterScan()) << "state " << static_cast<int>(w.View().state);

    EXPECT_TRUE(dialogs.seen.empty()) << dialogs.seen.front();
    EXPECT_EQ(p.services.Count("/eng/Fish.htm"), 1);
    EXPECT_EQ(site.server.Count("/index.html"), 1);
    EXPECT_EQ(w.View().imagesFound, 9);
    EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&w, "txt_keywords")->GetValue(), "Fish");
    EXPECT_EQ(askedAt, 7);
    ASSERT_TRUE(PumpUntil([&] { return !p.Opened().empty(); }, 5s));
    EXPECT_EQ(p.Opened().front(), JoinPath(p.dir.Path(), "ImagesFrame2.htm"));
    ASSERT_FALSE(p.boxes.empty());
    EXPECT_EQ(p.boxes.back().text, "Search completed.\nView results now?");
    ASSERT_TRUE(PumpUntil([&] { return p.shell->Server().Pending() == 0; }, 10s));
    int reports = 0;
    for (const auto& r : p.services.Requests())
        reports += r.target.rfind("/trn/tarn.dll?mdl=use&req=insert&txt_code=category&info=Fish", 0) == 0;
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(test::SaveScreenshot(w, "mediasearch_guide_results"));
}

// The window's rules, one search after another on one window: each row is
// a search of a site that never answers (so the crawl runs until stopped)
// with the lists' counts sent as the lists send them. The lists hold one
// real sound, so every results view opens the sounds' frame page (of
// safety level 3, where typed site addresses are searched).
TEST(MediaSearchWindow, RulesOfASearchOnTheRealWindow) {
    test::LoopbackServer site;
    test::PageRow stalled{"/index.html", 200, {{"Content-Type", "text/html"}}, "never sent"};
    stalled.mode = test::ReplyMode::Stalled;
    site.Add(stalled);
    site.Add({"/song.mp3", 200, {{"Content-Type", "audio/mpeg"}}, std::string(5000, 'm')});
    Program p;
    p.settings->Set(keys::CrawlerSafetyLevel, 3);
    p.settings->Set(keys::ViewTip, 0);
    MediaSearchWindow& w = p.Open();
    MediaItem song;
    song.url = site.Url("/song.mp3");
    song.pageUrl = site.Url("/songs.html");
    p.shell->Session().Lists().AddSound(song);
    ASSERT_TRUE(PumpUntil([&] { return p.shell->Session().Lists().sounds.CountValidItems() == 1 &&
                                       p.shell->Session().Checker().PendingCount() == 0; }));
    Pump(100ms);

    struct Row {
        const char* name;
        const char* query;  // "site": the stalled site's address
        bool kinds;         // the media kinds stay ticked (else all are unticked)
        bool askMedia;
        bool answerViewMedia;
        int images, sounds;
        bool end;           // the crawl's end is told (else it must stop by itself)
        bool viewResults;   // "View results" is pressed at the end
        // expected
        std::vector<std::string> captions;
        int opened;         // frame pages opened in the search
        bool viewEnabled;   // "View results" after the arrivals
    };
    const std::vector<Row> rows = {
        {"spaces only", "    ", true, false, true, 0, 0, false, false, {"Empty search string"}, 0, false},
        {"no kind ticked ticks images", "site", false, false, true, 0, 0, true, false, {}, 1, false},
        {"six media ask nothing on the way", "site", true, false, true, 6, 0, true, false, {"View results?"}, 1, true},
        {"the seventh asks once", "site", true, false, true, 9, 0, true, false,
         {"View Media Results", "View results?"}, 2, true},
        {"auto view at 12, 18 and 24", "site", true, true, true, 25, 0, true, false,
         {"View Media Results", "View results?"}, 5, true},
        {"101 images stop the crawl", "site", true, false, false, 101, 0, false, false, {"View Media Results"}, 1, true},
        {"at most five of each ask nothing at the end", "site", true, false, true, 5, 1, true, false, {}, 1, true},
        {"only sounds open the sounds' page", "site", true, false, true, 0, 3, true, true, {}, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        p.boxes.clear();
        std::filesystem::remove(p.dir.File("opened.txt"));
        p.settings->Set(keys::ViewAskMedia, row.askMedia ? 1 : 0);
        p.answers["View Media Results"] = row.answerViewMedia ? wxYES : wxNO;
        p.answers["View results?"] = wxNO;
        for (const char* kind : {"chk_images", "chk_sounds", "chk_movies"}) {
            auto* box = ui::Ctrl<wxCheckBox>(&w, kind);
            box->SetValue(row.kinds);
            wxCommandEvent e(wxEVT_CHECKBOX, box->GetId());
            e.SetEventObject(box);
            e.SetInt(row.kinds);
            box->ProcessWindowEvent(e);
        }
        const std::string query = std::string(row.query) == "site" ? site.Url("/index.html") : row.query;
        p.TypeAndGo(query);
        if (std::string(row.query) != "site") {
            Pump(100ms);
            EXPECT_EQ(w.View().state, SearchState::Idle);
            EXPECT_EQ(p.Captions(), row.captions);
            ASSERT_FALSE(p.boxes.empty());
            EXPECT_EQ(p.boxes[0].text, "Please define your search");
            continue;
        }
        ASSERT_TRUE(PumpUntil([&] { return w.View().state == SearchState::Scanning; }));
        if (!row.kinds) {
            EXPECT_TRUE(ui::Ctrl<wxCheckBox>(&w, "chk_images")->GetValue());
            EXPECT_FALSE(ui::Ctrl<wxCheckBox>(&w, "chk_sounds")->GetValue());
            EXPECT_EQ(p.settings->Get(keys::ViewImages), "1");
            EXPECT_EQ(p.settings->Get(keys::ViewMovies), "0");
        }
        for (int i = 1; i <= row.images; ++i) {
            Notification n = Count(notify::ImagesCount, i);
            w.Notify(n);
        }
        for (int i = 1; i <= row.sounds; ++i) {
            Notification n = Count(notify::SoundsCount, i);
            w.Notify(n);
        }
        EXPECT_EQ(ui::Ctrl<wxButton>(&w, "btn_view_results")->IsEnabled(), row.viewEnabled);
        if (row.end) {
            Notification ended;
            ended.code = notify::SearchEnded;
            w.Notify(ended);
            EXPECT_EQ(w.View().state, SearchState::Idle);
            p.shell->Session().Stop();
        }
        // Every crawl ends here: told, stopped by the count, or stopped now.
        ASSERT_TRUE(PumpUntil([&] { return !p.shell->Session().Crawling(); }, 10s));
        ASSERT_TRUE(PumpUntil([&] { return w.View().state == SearchState::Idle; }, 10s));
        if (row.viewResults) test::Click(w, "btn_view_results");
        EXPECT_EQ(p.Captions(), row.captions);
        ASSERT_TRUE(PumpUntil([&] { return static_cast<int>(p.Opened().size()) >= row.opened; }, 5s));
        Pump(50ms);
        const std::vector<std::string> opened = p.Opened();
        EXPECT_EQ(static_cast<int>(opened.size()), row.opened);
        for (const std::string& page : opened) EXPECT_EQ(page, JoinPath(p.dir.Path(), "AudioFrame3.htm"));
    }
}

TEST(MediaSearchWindow, ClipLogosHooksAndClosing) {
    Program p;
    bool listsShown = false, configOpened = false, ended = false;
    MediaSearchWindow* w = nullptr;
    {
        InternetOptions network;
        network.connectTimeoutMs = 5000;
        p.shell = std::make_unique<ui::AppShell>(*p.settings, network, Pacing::None());
        w = p.shell->SearchWindow();
        w->showLists = [&] { listsShown = true; };
        w->openConfig = [&] { configOpened = true; };
        p.shell->ended = [&] { ended = true; };
        p.shell->Start({});
    }
    // All four logos were found; a click opens its "bundler" address, the
    // product's site when the key is missing, nothing when it is empty.
    EXPECT_TRUE(p.boxes.empty());
    p.settings->WriteProfileString("bundler", "TopUrl", "http://top.example/");
    p.settings->WriteProfileString("bundler", "url", "");
    for (const char* logo : {"logo_top", "logo_mid", "logo_flk"}) {
        wxWindow* picture = wxWindow::FindWindowByName(logo, w);
        ASSERT_NE(picture, nullptr) << logo;
        wxMouseEvent click(wxEVT_LEFT_UP);
        click.SetEventObject(picture);
        picture->ProcessWindowEvent(click);
    }
    ASSERT_TRUE(PumpUntil([&] { return p.Opened().size() == 2; }, 5s));
    EXPECT_EQ(p.Opened()[0], "http://top.example/");
    EXPECT_EQ(p.Opened()[1], "http://" + p.settings->MakerHost());

    // The clip: frames 1-5 once, the pause, then 6 to the end in a loop.
    ui::ClipAnimation& clip = w->Clip();
    ASSERT_TRUE(clip.HasClip());
    const int frames = static_cast<int>(clip.GetAnimation().GetFrameCount());
    ASSERT_GT(frames, 6);
    clip.Start();
    std::vector<int> shown{clip.Frame()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(clip.StepForTesting(), 0);
        shown.push_back(clip.Frame());
    }
    EXPECT_EQ(clip.StepForTesting(), 0);  // the pause
    ASSERT_TRUE(PumpUntil([&] { return clip.Frame() != 4; }, 5s));
    shown.push_back(clip.Frame());
    for (int i = 6; i < frames; ++i) {
        clip.StepForTesting();
        shown.push_back(clip.Frame());
    }
    clip.StepForTesting();  // from the last frame back to the sixth
    shown.push_back(clip.Frame());
    std::vector<int> expected;
    for (int i = 0; i < frames; ++i) expected.push_back(i);
    expected.push_back(5);
    EXPECT_EQ(shown, expected);
    clip.Halt();
    EXPECT_FALSE(clip.Running());

    // Ctrl+L shows the lists; "Config" calls its hook.
    wxCommandEvent lists(wxEVT_MENU, w->ListsCommand());
    w->ProcessWindowEvent(lists);
    EXPECT_TRUE(listsShown);
    test::Click(*w, "btn_config");
    EXPECT_TRUE(configOpened);

    // "Exit" stops everything and ends the run.
    test::Click(*w, "btn_exit");
    EXPECT_TRUE(ended);
    EXPECT_EQ(p.shell->SearchWindow(), nullptr);
    EXPECT_TRUE(p.shell->Notifier().Closed());
}

TEST(MediaSearchWindow, MissingLogosAndClipAreBlank) {
    Program p;
    test::TempDir empty;  // a program folder without pictures
    p.settings->Set(keys::PathExe, empty.Path());
    MediaSearchWindow& w = p.Open();
    EXPECT_EQ(p.Captions(), (std::vector<std::string>(4, "")));
    for (const auto& b : p.boxes) EXPECT_EQ(b.text, "Could not find logo.");
    EXPECT_FALSE(w.Clip().HasClip());
    w.Clip().Start();
    EXPECT_FALSE(w.Clip().Running());
}

TEST(MediaSearchWindow, ClosingDuringACrawlEndsTheRunAtOnce) {
    test::LoopbackServer site;
    test::PageRow stalled{"/index.html", 200, {{"Content-Type", "text/html"}}, "never sent"};
    stalled.mode = test::ReplyMode::Stalled;
    site.Add(stalled);
    Program p;
    p.settings->Set(keys::CrawlerSafetyLevel, 3);
    p.settings->Set(keys::ViewTip, 0);
    bool ended = false;
    MediaSearchWindow& w = p.Open();
    p.shell->ended = [&] { ended = true; };
    p.TypeAndGo(site.Url("/index.html"));
    ASSERT_TRUE(PumpUntil([&] { return w.View().state == SearchState::Scanning && p.shell->Session().Crawling(); }));
    const auto start = std::chrono::steady_clock::now();
    w.Close();  // the title bar's close
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(ended);
    EXPECT_LT(took, 2s);
    EXPECT_FALSE(p.shell->Session().Crawling());
    EXPECT_TRUE(p.shell->Notifier().Closed());
    EXPECT_TRUE(p.boxes.empty());  // nothing is asked on the way out
}

TEST(MediaSearchWindow, CommandLineStarts) {
    LarkSite site(3);
    {
        // The crawler window starts hidden; "-crawler" shows it, and so does
        // "Lists" later. Closing it only hides it again.
        Program hidden;
        MediaSearchWindow& w = hidden.Open();
        EXPECT_FALSE(hidden.shell->CrawlerWindow().IsShown());
        w.showLists();
        EXPECT_TRUE(hidden.shell->CrawlerWindow().IsShown());
        hidden.shell->CrawlerWindow().Close();
        EXPECT_FALSE(hidden.shell->CrawlerWindow().IsShown());
        EXPECT_TRUE(w.IsShown());
        Program shown;
        StartCommand crawler;
        crawler.showCrawler = true;
        crawler.location = site.server.Url("/index.html");
        shown.Open(crawler);
        EXPECT_TRUE(shown.shell->CrawlerWindow().IsShown());
        EXPECT_EQ(shown.shell->CrawlerWindow().Location(), crawler.location);
        EXPECT_TRUE(test::SaveScreenshot(shown.shell->CrawlerWindow(), "crawler_from_command_line"));
    }
    {
        // -run crawls the location in the crawler window; the search window
        // stays idle and shows the counts.
        Program p;
        StartCommand run;
        run.location = site.server.Url("/index.html");
        run.run = true;
        run.singlePage = true;
        MediaSearchWindow& w = p.Open(run);
        ASSERT_TRUE(PumpUntil([&] { return w.View().imagesFound == 3 && !p.shell->Session().Crawling(); }));
        EXPECT_EQ(w.StatesShown(), std::vector<SearchState>{SearchState::Idle});
        // The one-page limit ends with its crawl: the page limit is read back.
        EXPECT_FALSE(p.shell->Session().SinglePage());
        EXPECT_EQ(p.shell->Session().Limits().maxPages, 2000);
    }
    {
        // -searchsite -run follows that crawl as the window's own search.
        Program p;
        p.settings->Set(keys::ViewTip, 0);
        StartCommand follow;
        follow.location = site.server.Url("/index.html");
        follow.run = true;
        follow.searchSite = true;
        MediaSearchWindow& w = p.Open(follow);
        ASSERT_TRUE(p.WaitForIdleAfterScan());
        EXPECT_EQ(w.View().imagesFound, 3);
        EXPECT_EQ(ui::Ctrl<wxTextCtrl>(&w, "txt_keywords")->GetValue(), follow.location);
    }
    {
        // -guide starts with the guide chosen.
        Program p;
        StartCommand guide;
        guide.guide = true;
        MediaSearchWindow& w = p.Open(guide);
        EXPECT_TRUE(ui::Ctrl<wxRadioButton>(&w, "rb_guides")->GetValue());
        EXPECT_TRUE(ui::Ctrl<wxComboBox>(&w, "cmb_guides")->IsEnabled());
        EXPECT_FALSE(ui::Ctrl<wxTextCtrl>(&w, "txt_keywords")->IsEnabled());
    }
}
