// The text viewer opened from the crawler window's tree, with the program's
// shell in-process and the site on loopback.
#include "app/ui/AppShell.h"
#include "crawl/PageSource.h"
#include "crawl/ui/TextViewerFrame.h"
#include "lists/ui/PageTreePage.h"
#include "session/CrawlerSession.h"
#include "session/ui/CrawlerWindow.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "support/TestFolders.h"
#include "ui/LoopbackHosts.h"
#include "ui/Screenshot.h"
#include "ui/TreeItems.h"
#include "ui/UiDriver.h"
#include "ui/XrcSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

std::vector<ui::TextViewerFrame*> Viewers() {
    std::vector<ui::TextViewerFrame*> out;
    for (wxWindow* top : wxTopLevelWindows)
        if (auto* v = dynamic_cast<ui::TextViewerFrame*>(top); v && !v->IsBeingDeleted()) out.push_back(v);
    return out;
}

const std::string kPage =
    "<html>\r\n<head><title>Notes</title></head>\r\n<body>\r\n"
    "<p>Caf\xE9 <b>notes</b> &amp; more</p>\r\n"
    "\t<pre>  kept   as   typed</pre>\r\n</body>\r\n</html>\r\n";

}  // namespace

TEST(TextViewerWindow, OpensFromTheCrawlTabShowsTheSourceAndClosesWhileLoading) {
    test::TempDir dir;
    test::LoopbackServer services;
    test::LoopbackServer site;
    site.Add({"/index.html", 200, {{"Content-Type", "text/html"}},
              "<html><title>Home</title><body><a href=\"notes.html\">notes</a></body></html>"});
    site.Add({"/notes.html", 200, {{"Content-Type", "text/html"}}, kPage});
    Settings settings(test::FoldersIn(dir.Path()));
    settings.WriteDefaults();
    settings.Set(keys::ProjectPath, dir.Path());
    settings.Set(keys::ViewTree, std::string("1"));
    settings.Set(keys::TreeShowTree, std::string("1"));
    settings.Set(keys::CrawlerUseCash, 0);  // never through a proxy of the test machine
    settings.Set(keys::ViewTip, 0);
    // The test server would compress the 5 MB page with brotli's slowest
    // setting, which takes longer than anything measured here.
    settings.Set(keys::ModernCompression, 0);
    settings.Set(keys::UpdateFirstTime, 0);
    test::PointHostsAt(settings, services);
    InternetOptions network;
    network.connectTimeoutMs = 2000;
    auto shell = std::make_unique<ui::AppShell>(settings, network, Pacing::None());
    ui::CCrawlerDlg& w = shell->CrawlerWindow();
    shell->ShowCrawlerWindow();

    w.SetLocation(site.Url("/index.html"));
    ASSERT_TRUE(w.StartCrawling());
    ASSERT_TRUE(test::PumpUntil([&] { return !w.Session().Crawling() && w.Status() == "Ready."; }));
    ASSERT_TRUE(w.SelectTab(CrawlerTab::Crawl));
    auto* page = dynamic_cast<ui::PageTreePage*>(w.CurrentPage());
    ASSERT_NE(page, nullptr);
    wxTreeCtrl& tree = page->UrlTree();
    tree.ExpandAll();
    const wxTreeItemId notes = test::FindTreeItem(tree, "127.0.0.1:" + std::to_string(site.Port()) + "/notes.html");
    ASSERT_TRUE(notes.IsOk());
    tree.SelectItem(notes);

    // "Text viewer" of the tree's context menu.
    std::unique_ptr<wxMenu> menu = page->ContextMenu();
    ASSERT_TRUE(menu->IsEnabled(XRCID("mi_tree_text_viewer")));
    page->RunMenuCommand(XRCID("mi_tree_text_viewer"));
    ASSERT_EQ(Viewers().size(), 1u);
    ui::TextViewerFrame* viewer = Viewers()[0];
    const std::string address = site.Url("/notes.html");
    EXPECT_EQ(viewer->GetTitle().utf8_string(), "Text viewer - " + address);
    EXPECT_EQ(viewer->Address(), address);
    EXPECT_TRUE(viewer->IsShown());
    ASSERT_TRUE(test::PumpUntil([&] { return !viewer->Loading(); }, 10s));
    EXPECT_EQ(viewer->Status(), std::to_string(kPage.size()) + " bytes, HTTP status 200");
    EXPECT_EQ(viewer->Text(),
              "<html>\n<head><title>Notes</title></head>\n<body>\n<p>Caf\xC3\xA9 <b>notes</b> &amp; more</p>\n"
              "\t<pre>  kept   as   typed</pre>\n</body>\n</html>\n");
    auto* source = ui::Ctrl<wxTextCtrl>(viewer, "txt_source");
    EXPECT_TRUE(source->IsMultiLine());
    EXPECT_FALSE(source->IsEditable());
    EXPECT_EQ(source->GetFont().GetFamily(), wxFONTFAMILY_TELETYPE);
    EXPECT_FALSE(ui::Ctrl<wxTextCtrl>(viewer, "txt_viewer_status")->IsEditable());
    // Modeless: the crawler window still takes commands.
    EXPECT_TRUE(w.IsEnabled());
    EXPECT_TRUE(test::SaveScreenshot(*viewer, "text_viewer"));

    // The Editor button of the Crawl tab opens another one on the selection.
    test::Click(w, "btn_editor");
    ASSERT_EQ(Viewers().size(), 2u);
    ui::TextViewerFrame* second = Viewers()[0] == viewer ? Viewers()[1] : Viewers()[0];
    ASSERT_TRUE(test::PumpUntil([&] { return !second->Loading(); }, 10s));
    EXPECT_EQ(second->Text(), viewer->Text());
    second->Close();
    ASSERT_TRUE(test::PumpUntil([&] { return Viewers().size() == 1; }, 5s));

    // A page that never comes: the viewer says it is loading, and closing
    // it ends its worker at once.
    test::PageRow stalled{"/notes.html", 200, {}, "never sent"};
    stalled.mode = test::ReplyMode::Stalled;
    site.Add(stalled);
    const int asked = site.Count("/notes.html");
    page->RunMenuCommand(XRCID("mi_tree_text_viewer"));
    ASSERT_EQ(Viewers().size(), 2u);
    ui::TextViewerFrame* waiting = Viewers()[0] == viewer ? Viewers()[1] : Viewers()[0];
    ASSERT_TRUE(test::PumpUntil([&] { return site.Count("/notes.html") > asked; }, 5s));
    EXPECT_TRUE(waiting->Loading());
    EXPECT_EQ(waiting->Status(), "Loading...");
    EXPECT_TRUE(test::SaveScreenshot(*waiting, "text_viewer_loading"));
    const auto begin = std::chrono::steady_clock::now();
    waiting->Close();
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_LT(took, 1s);
    ASSERT_TRUE(test::PumpUntil([&] { return Viewers().size() == 1; }, 5s));

    // A page past the cap is cut, and putting 4 MB into the box does not
    // freeze the window.
    // Three-byte characters: the pieces the box takes the text in, and the
    // cap, fall inside characters.
    std::string big;
    for (int i = 0; big.size() < (5u << 20); ++i) big += "<p>" + std::to_string(i) + " \xE2\x82\xAC\xE2\x82\xAC</p>\n";
    site.Add({"/big.html", 200, {{"Content-Type", "text/html"}}, big});
    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    Clock::duration longest{};
    wxTimer ticker;
    ticker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        longest = std::max(longest, Clock::now() - last);
        last = Clock::now();
    });
    ticker.Start(10);
    ui::TextViewerFrame* large = ui::OpenTextViewer(
        &w, ui::TextViewerContext{w.Session().Internet(), shell->Notifier(), ReadPageSourceOptions(settings, network)},
        site.Url("/big.html"));
    ASSERT_TRUE(test::PumpUntil([&] { return !large->Loading(); }, 20s));
    test::PumpUntil([] { return false; }, 100ms);
    ticker.Stop();
    EXPECT_EQ(large->Status(), "4194304 bytes, HTTP status 200; cut at 4096 KB, the rest was not read");
    EXPECT_TRUE(large->Text() == SourceDisplayText(big.substr(0, kSourceCapBytes), true)) << large->Text().size();
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(longest);
    std::printf("longest UI gap while a 4 MB page was shown: %lld ms\n", static_cast<long long>(gap.count()));
    EXPECT_LT(gap, test::kStalledUi);
    large->Close();
    ASSERT_TRUE(test::PumpUntil([&] { return Viewers().size() == 1; }, 5s));

    // The one still open goes with the program.
    shell.reset();
    test::PumpUntil([] { return false; }, 50ms);
    EXPECT_TRUE(Viewers().empty());
}
