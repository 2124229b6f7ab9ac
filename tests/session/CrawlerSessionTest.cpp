#include "settings/Settings.h"
#include "session/CrawlerSession.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

struct SessionFixture {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    NullNotifier notifier;
    test::LoopbackServer server;
    std::unique_ptr<CrawlerSession> session;

    SessionFixture() {
        settings.WriteDefaults();
        settings.Set(keys::ProjectPath, dir.Path());
    }
    CrawlerSession& Open() {
        InternetOptions network;
        network.connectTimeoutMs = 2000;
        session = std::make_unique<CrawlerSession>(SessionContext{settings, notifier, network, Pacing::None()});
        return *session;
    }
};

}  // namespace

TEST(CrawlerSession, LimitsThatReadZeroGetTheirDefaults) {
    SessionFixture f;
    f.settings.Set(keys::CrawlerMaxDepth, std::string("0"));
    f.settings.Set(keys::CrawlerMaxPages, std::string("junk"));
    CrawlerSession& s = f.Open();
    EXPECT_EQ(s.Limits().maxDepth, 15);
    EXPECT_EQ(s.Limits().maxPages, 2000);
    EXPECT_EQ(s.Limits().maxThreads, 10);
    EXPECT_EQ(f.settings.Get(keys::CrawlerMaxDepth), "15");
    EXPECT_EQ(f.settings.Get(keys::CrawlerMaxPages), "2000");
    s.SetSinglePage(true);
    EXPECT_EQ(s.Limits().maxPages, 1);
}

TEST(CrawlerSession, RedirectLoopsEndAndProjectsRoundTrip) {
    SessionFixture f;
    f.server.Add({"/a.html", 302, {{"Location", "/b.html"}}, ""});
    f.server.Add({"/b.html", 301, {{"Location", f.server.Url("/a.html")}}, ""});
    f.server.Add({"/index.html", 200, {{"Content-Type", "text/html"}},
                  "<title>Loop</title><a href=\"a.html\">a</a><img src=\"x.jpg\" alt=\"pic\">"});
    f.server.Add({"/x.jpg", 200, {}, std::string(5000, 'x')});
    CrawlerSession& s = f.Open();
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_EQ(f.server.Count("/a.html"), 1);
    EXPECT_EQ(f.server.Count("/b.html"), 1);
    EXPECT_EQ(s.Progress().status, "Ready.");
    ASSERT_EQ(s.Lists().images.RowCount(), 1u);

    ASSERT_TRUE(s.SaveProject());
    SessionFixture other;
    CrawlerSession& t = other.Open();
    ASSERT_TRUE(t.LoadProject(s.Project().FilePath()));
    EXPECT_EQ(t.Lists().images.RowCount(), 1u);
    EXPECT_EQ(t.ProjectText(), s.ProjectText());
    EXPECT_EQ(other.settings.Get(keys::ProjectName), "Default.crl");
}

TEST(CrawlerSession, BackupSavesWhileCrawlingAndLoadWaitsForTheEnd) {
    SessionFixture f;
    test::PageRow slow{"/slow.html", 200, {{"Content-Type", "text/html"}}, std::string(400, 'x')};
    slow.mode = test::ReplyMode::Dripping;
    slow.dripDelayMs = 20;
    slow.dripChunk = 4;
    f.server.Add(slow);
    f.settings.Set(keys::CrawlerUseBackup, 1);
    CrawlerSession& s = f.Open();
    s.SetBackupPeriodForTesting(100ms);
    std::filesystem::remove(s.Project().FilePath());
    ASSERT_TRUE(s.Start(f.server.Url("/slow.html")));
    EXPECT_FALSE(s.Start(f.server.Url("/slow.html"))) << "one crawl at a time";
    EXPECT_FALSE(s.LoadProject(s.Project().FilePath())) << "no load while crawling";
    for (int i = 0; i < 300 && !std::filesystem::exists(s.Project().FilePath()); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(std::filesystem::exists(s.Project().FilePath()));
    s.Stop();
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_TRUE(s.LoadProject(s.Project().FilePath()));
}

// An image whose check is never answered holds the crawl in its wait for the
// media checks. Stop, and closing the window, must not wait for it.
TEST(CrawlerSession, StopAndCloseDoNotWaitForAStalledMediaCheck) {
    for (const bool close : {false, true}) {
        SessionFixture f;
        f.server.Add({"/index.html", 200, {{"Content-Type", "text/html"}}, "<img src=\"x.jpg\" alt=\"x\">"});
        test::PageRow stalled{"/x.jpg"};
        stalled.mode = test::ReplyMode::Stalled;
        f.server.Add(stalled);
        CrawlerSession& s = f.Open();
        ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
        for (int i = 0; i < 1000 && !(s.Progress().pagesParsed == 1 && s.Checker().PendingCount() > 0); ++i)
            std::this_thread::sleep_for(10ms);
        ASSERT_EQ(s.Lists().images.RowCount(), 1u);
        ASSERT_GT(s.Checker().PendingCount(), 0);
        EXPECT_FALSE(s.WaitForEnd(200ms)) << "a crawl ends only when its media are checked";

        const auto begin = std::chrono::steady_clock::now();
        if (close) {
            f.session.reset();
        } else {
            s.Stop();
            EXPECT_TRUE(s.WaitForEnd(10s));
            EXPECT_EQ(s.Progress().status, "Ready.");
        }
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 10s) << (close ? "close" : "stop");
    }
}

// The backup saves on its own thread while the window starts new projects
// and switches modes: what the save reads must not change under it.
TEST(CrawlerSession, BackupWhileTheProjectAndModeChange) {
    SessionFixture f;
    test::PageRow late{"/late.html", 200, {{"Content-Type", "text/html"}}, "<p>late</p>"};
    late.delayMs = 400;
    f.server.Add(late);
    f.settings.Set(keys::CrawlerUseBackup, 1);
    CrawlerSession& s = f.Open();
    s.SetBackupPeriodForTesting(2ms);
    ASSERT_TRUE(s.Start(f.server.Url("/late.html")));
    const std::string names[2] = {f.dir.File("first project with a name too long to be kept in place.crl"),
                                  f.dir.File("second project with a name too long to be kept in place.crl")};
    for (int i = 0; i < 100 && s.Crawling(); ++i) {
        ASSERT_TRUE(s.NewProject(names[i % 2]));
        s.SetOneSiteMode(i % 2 == 0);
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(s.WaitForEnd(30s));
    ASSERT_TRUE(s.SaveProject());
    SessionFixture other;
    CrawlerSession& t = other.Open();
    ASSERT_TRUE(t.LoadProject(s.Project().FilePath()));
    EXPECT_EQ(t.ProjectText(), s.ProjectText());
}

// Closing the window while a backup save is held up and the crawl ends on
// its own: the crawl's end must not reach the backup timer as it goes away.
TEST(CrawlerSession, CloseWhileABackupSaveRunsAndTheCrawlEnds) {
    SessionFixture f;
    test::PageRow late{"/late.html", 200, {{"Content-Type", "text/html"}}, "<p>late</p>"};
    late.delayMs = 600;
    f.server.Add(late);
    f.settings.Set(keys::CrawlerUseBackup, 1);
    f.settings.Set(keys::ViewTree, std::string("0"));  // the crawl itself never waits for the tree
    CrawlerSession& s = f.Open();
    s.SetBackupPeriodForTesting(5ms);
    std::atomic<bool> ended{false};
    s.OnCrawlEnded([&] { ended = true; });
    // Holding the tree holds the next backup save (it writes the tree)
    // until the page has been answered and the crawl had time to end.
    std::atomic<bool> holding{false};
    std::thread holder([&] {
        s.Trees().WithUrlTree([&](TreeModel&) {
            holding = true;
            for (int i = 0; i < 2000 && f.server.Count("/late.html") == 0; ++i) std::this_thread::sleep_for(5ms);
            std::this_thread::sleep_for(1s);
        });
    });
    for (int i = 0; i < 1000 && !holding; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(s.Start(f.server.Url("/late.html")));
    std::this_thread::sleep_for(200ms);  // a backup save now waits for the tree
    f.session.reset();
    holder.join();
    EXPECT_TRUE(ended.load());
}

// Once a crawl counts as over a project may be loaded; a backup save still
// running then could write the old lists into it. The end waits for it.
TEST(CrawlerSession, ACrawlEndsOnlyAfterItsLastBackupSave) {
    SessionFixture f;
    test::PageRow page{"/page.html", 200, {{"Content-Type", "text/html"}}, "<p>page</p>"};
    page.delayMs = 100;
    f.server.Add(page);
    f.settings.Set(keys::CrawlerUseBackup, 1);
    f.settings.Set(keys::ViewTree, std::string("0"));  // the crawl itself never waits for the tree
    CrawlerSession& s = f.Open();
    s.SetBackupPeriodForTesting(5ms);
    // Holding the tree holds a backup save (it writes the tree).
    std::atomic<bool> holding{false}, release{false};
    std::thread holder([&] {
        s.Trees().WithUrlTree([&](TreeModel&) {
            holding = true;
            for (int i = 0; i < 2000 && !release; ++i) std::this_thread::sleep_for(5ms);
        });
    });
    for (int i = 0; i < 1000 && !holding; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(s.Start(f.server.Url("/page.html")));
    std::this_thread::sleep_for(300ms);  // the page is done; a save waits
    const bool endedDuringSave = s.WaitForEnd(500ms);
    release = true;
    holder.join();
    EXPECT_TRUE(s.WaitForEnd(10s));
    EXPECT_FALSE(endedDuringSave);
}
