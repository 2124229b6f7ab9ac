#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "settings/Settings.h"
#include "session/CrawlerSession.h"
#include "lists/ProjectFile.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// A size check is held to the request time limit of the settings, not to a
// fixed one: a medium whose server never answers ends the crawl once the
// configured limit has passed.
TEST(CrawlerSession, MediaChecksEndAtTheConfiguredRequestTimeLimit) {
    SessionFixture f;
    f.server.Add({"/index.html", 200, {{"Content-Type", "text/html"}}, "<img src=\"x.jpg\" alt=\"x\">"});
    test::PageRow stalled{"/x.jpg"};
    stalled.mode = test::ReplyMode::Stalled;
    f.server.Add(stalled);
    f.settings.Set(keys::CrawlerPageTimeout, 1);
    CrawlerSession& s = f.Open();
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    EXPECT_TRUE(s.WaitForEnd(20s)) << "the check outlived a one-second limit";
    EXPECT_EQ(s.Checker().PendingCount(), 0);
    EXPECT_EQ(s.Progress().status, "Ready.");
    EXPECT_GE(f.server.Count("/x.jpg"), 1);
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

namespace {

// A start page with a title, an image and a link to a second page.
void AddSmallSite(test::LoopbackServer& server) {
    server.Add({"/index.html", 200, {{"Content-Type", "text/html"}},
                "<title>Home</title><img src=\"pic.jpg\" alt=\"pic\"><a href=\"two.html\">two</a>"});
    server.Add({"/two.html", 200, {{"Content-Type", "text/html"}}, "<title>Two</title><p>two</p>"});
    server.Add({"/pic.jpg", 200, {}, std::string(5000, 'x')});
}

void ShowTree(Settings& settings) {
    settings.Set(keys::ViewTree, std::string("1"));
    settings.Set(keys::TreeShowTree, std::string("1"));
}

}  // namespace

// "Load..." and "New..." start from empty lists: loading a project twice
// shows it once, and what is saved next is what was loaded.
TEST(CrawlerSession, LoadAndNewReplaceWhatIsShown) {
    SessionFixture f;
    AddSmallSite(f.server);
    ShowTree(f.settings);
    CrawlerSession& s = f.Open();
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    ASSERT_EQ(s.Lists().images.RowCount(), 1u);
    ASSERT_FALSE(s.Trees().Empty());
    ASSERT_TRUE(s.SaveProject());
    const std::string saved = s.ProjectText();
    const std::string path = s.Project().FilePath();
    auto treeNodes = [&] {
        std::size_t nodes = 0;
        s.Trees().WithUrlTree([&](TreeModel& t) { nodes = t.Count(); });
        return nodes;
    };
    const std::size_t crawled = treeNodes();
    ASSERT_GE(crawled, 2u);

    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(s.LoadProject(path));
        EXPECT_EQ(s.ProjectText(), saved) << "load " << i + 1;
        EXPECT_EQ(s.Lists().images.RowCount(), 1u);
        EXPECT_EQ(treeNodes(), crawled);
    }

    ASSERT_TRUE(s.NewProject(f.dir.File("fresh.crl")));
    EXPECT_EQ(s.Lists().images.RowCount(), 0u);
    EXPECT_TRUE(s.Trees().Empty());
    ASSERT_TRUE(s.SaveProject());
    ASSERT_TRUE(s.LoadProject(path));
    EXPECT_EQ(s.ProjectText(), saved);
}

// Found images are stored in the image cache of the project chosen last.
TEST(CrawlerSession, TheImageCacheFollowsTheProject) {
    SessionFixture f;
    AddSmallSite(f.server);
    std::filesystem::create_directories(f.dir.File("other"));
    CrawlerSession& s = f.Open();
    const std::string oldCache = s.Project().ImageCacheFolder();
    ASSERT_TRUE(s.NewProject(f.dir.File("other/second.crl")));
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("other/Images/pic.jpg")));
    EXPECT_FALSE(std::filesystem::exists(oldCache + "/pic.jpg"));

    // Loading a project elsewhere moves the cache there and leaves the
    // images already in it alone.
    std::filesystem::create_directories(f.dir.File("third/Images"));
    f.dir.Write("third/Images/kept.jpg", "old");
    f.dir.Write("third/third.crl", "New project");
    ASSERT_TRUE(s.LoadProject(f.dir.File("third/third.crl")));
    EXPECT_EQ(s.Project().ImageCacheFolder(), f.dir.File("third/Images"));
    f.server.Add({"/index.html", 200, {{"Content-Type", "text/html"}}, "<img src=\"new.jpg\" alt=\"n\">"});
    f.server.Add({"/new.jpg", 200, {}, std::string(5000, 'y')});
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("third/Images/new.jpg")));
    EXPECT_EQ(f.dir.Read("third/Images/kept.jpg"), "old");
}

// A crawl of several sites is saved in list mode with the box's text, its
// sites beside the project, and reopens so; one site stays one site.
TEST(CrawlerSession, SeveralSitesAreSavedInListMode) {
    SessionFixture f;
    AddSmallSite(f.server);
    CrawlerSession& s = f.Open();
    const std::string one = f.server.Url("/index.html"), two = f.server.Url("/two.html");
    ASSERT_TRUE(s.Start(one));
    ASSERT_TRUE(s.WaitForEnd(30s));
    MainDataRead main = ReadMainData(s.ProjectText());
    EXPECT_EQ(main.oneSite, true);
    EXPECT_EQ(main.lastSite, one);

    ASSERT_TRUE(s.Start(one + ";" + two));
    ASSERT_TRUE(s.WaitForEnd(30s));
    ASSERT_TRUE(s.SaveProject());
    main = ReadMainData(ReadProjectFile(s.Project().FilePath()));
    EXPECT_EQ(main.oneSite, false);
    EXPECT_EQ(main.lastSite, "( Several sites )");
    const std::string sites = one.substr(7) + ";" + two.substr(7) + ";";
    EXPECT_EQ(f.dir.Read("DomainsHistory.txt"), sites);
    // The URL lists of the start sites are among the list files.
    const std::vector<std::string> written = s.WriteListFiles();
    EXPECT_NE(std::find(written.begin(), written.end(), f.dir.File("URLsList.htm")), written.end());
    EXPECT_EQ(f.dir.Read("URLsList.txt"),
              "URLs List:\r\r\n=========\r\r\n" + one.substr(7) + "\r\r\n" + two.substr(7) + "\r\r\n");
    EXPECT_NE(f.dir.Read("URLsList.htm").find("<A HREF=\"" + one + "\">" + one.substr(7) + "</A>"), std::string::npos);

    SessionFixture other;
    CrawlerSession& t = other.Open();
    ASSERT_TRUE(t.LoadProject(s.Project().FilePath()));
    EXPECT_EQ(t.Sites().Joined(), sites);
    EXPECT_EQ(ReadMainData(t.ProjectText()).oneSite, false);

    // One location again is one site again, unless the window is in list
    // mode (a list of one site).
    for (const bool listMode : {false, true}) {
        s.SetOneSiteMode(!listMode);
        ASSERT_TRUE(s.Start(two));
        ASSERT_TRUE(s.WaitForEnd(30s));
        main = ReadMainData(s.ProjectText());
        EXPECT_EQ(main.oneSite, !listMode);
        EXPECT_EQ(main.lastSite, listMode ? "( Several sites )" : two);
    }
}

// With a domain level of 1 a site linked from a start site is taken in as a
// start site of its own: a top line of the tree, with its pages under it.
TEST(CrawlerSession, ASiteTakenInThroughTheDomainLevelIsATopLine) {
    SessionFixture f;
    ShowTree(f.settings);
    f.settings.Set(keys::CrawlerDomainLevel, 1);
    const std::string away = f.server.Url("/away.html", "away.example");
    f.server.Add({"/start.html", 200, {{"Content-Type", "text/html"}}, "<a href=\"" + away + "\">away</a>"});
    f.server.Add({"/away.html", 200, {{"Content-Type", "text/html"}}, "<a href=\"deeper.html\">deeper</a>"});
    f.server.Add({"/deeper.html", 200, {{"Content-Type", "text/html"}}, "<p>deep</p>"});
    InternetOptions network;
    network.connectTimeoutMs = 2000;
    network.resolve = f.server.ResolveEntries("away.example");
    f.session = std::make_unique<CrawlerSession>(SessionContext{f.settings, f.notifier, network, Pacing::None()});
    CrawlerSession& s = *f.session;
    ASSERT_TRUE(s.Start(f.server.Url("/start.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_EQ(f.server.Count("/deeper.html"), 1);
    const std::string awayText = away.substr(7);
    s.Trees().WithUrlTree([&](TreeModel& t) {
        std::vector<std::string> roots;
        for (TreeModel::Id id : t.Roots()) roots.push_back(t.Text(id));
        ASSERT_EQ(roots, (std::vector<std::string>{f.server.Url("/start.html").substr(7), awayText}));
        std::vector<std::string> pagesUnderAway;
        for (TreeModel::Id id : t.Children(t.Roots()[1]))
            if (!IsAnnotation(t.Text(id))) pagesUnderAway.push_back(t.Text(id));
        EXPECT_EQ(pagesUnderAway, (std::vector<std::string>{f.server.Url("/deeper.html", "away.example").substr(7)}));
    });
}

// The page limit holds for the crawl it was set for; when it ends, the
// profile's value counts again.
TEST(CrawlerSession, ThePageLimitIsReadBackWhenACrawlEnds) {
    SessionFixture f;
    f.settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
    // The home page answers late, so that the change below is made while the
    // first crawl still runs.
    test::PageRow home{"/index.html", 200, {{"Content-Type", "text/html"}},
                       "<a href=\"p1.html\">1</a><a href=\"p2.html\">2</a><a href=\"p3.html\">3</a>"};
    home.delayMs = 300;
    f.server.Add(home);
    for (const char* page : {"/p1.html", "/p2.html", "/p3.html"})
        f.server.Add({page, 200, {{"Content-Type", "text/html"}}, "<p>x</p>"});
    CrawlerSession& s = f.Open();
    s.SetSinglePage(true);
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    f.settings.Set(keys::CrawlerMaxPages, std::string("3"));  // changed while it runs
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_EQ(f.server.Count("/p1.html"), 0) << "one page only";
    EXPECT_EQ(s.Limits().maxPages, 3);
    EXPECT_FALSE(s.SinglePage());
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    EXPECT_EQ(s.AcceptedPages(), 3);
}

// The applet page of the site tree and the frame page around it are written
// with the other list files; the frame names the applet page by its file
// address.
TEST(CrawlerSession, ListFilesIncludeTheAppletTreeAndItsFramePage) {
    SessionFixture f;
    AddSmallSite(f.server);
    ShowTree(f.settings);
    f.settings.Set(hosts::Maker, std::string("www.maker.example"));
    CrawlerSession& s = f.Open();
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    const std::vector<std::string> written = s.WriteListFiles();
    for (const char* name : {"SiteMap.txt", "SiteMap.html", "SiteTree.htm", "MainFrame.html"})
        EXPECT_NE(std::find(written.begin(), written.end(), f.dir.File(name)), written.end()) << name;
    const std::string host = f.server.Url("/").substr(7);
    EXPECT_NE(f.dir.Read("SiteTree.htm").find("{{{" + host + "index.html;@;top}}}"), std::string::npos)
        << f.dir.Read("SiteTree.htm");
    const std::string frame = f.dir.Read("MainFrame.html");
    EXPECT_NE(frame.find("SRC=\"file://" + f.dir.File("SiteTree.htm") + "\">"), std::string::npos) << frame;
    EXPECT_NE(frame.find("SRC=\"http://www.maker.example\""), std::string::npos);
}

// A loaded project is exactly what was saved, never added to what is shown;
// a new project starts empty.
TEST(CrawlerSession, LoadAndNewProjectStartFromEmptyLists) {
    SessionFixture f;
    CrawlerSession& s = f.Open();
    s.Trees().AddTreeItem("saved.example/", "top");
    s.Lists().images.LoadBlock("{[(ImagesList)]}a.jpg;-;http://saved.example/;-;;-;;-;;-;;-;;-;");
    s.SetOneSiteMode(false);
    ASSERT_TRUE(s.SaveProject());
    const std::string saved = s.ProjectText();

    s.Trees().AddTreeItem("shown.example/", "top");
    s.Hits().AddHit("shown.example/", "Shown", 3, "a line");
    ASSERT_TRUE(s.LoadProject(s.Project().FilePath()));
    EXPECT_EQ(s.ProjectText(), saved);
    EXPECT_FALSE(s.MainData().oneSite);
    EXPECT_EQ(s.Hits().RowCount(), 0u);

    ASSERT_TRUE(s.NewProject(f.dir.File("fresh.crl")));
    EXPECT_TRUE(s.Trees().Empty());
    EXPECT_EQ(s.Lists().images.RowCount(), 0u);
    EXPECT_EQ(f.dir.Read("fresh.crl"), "New project");
}
// What a search found, crawled from a loopback site, then shown: the valid
// rows are selected and paged, and the first frame page by kind order goes
// to the opener.
TEST(CrawlerSession, ShowResultsOpensTheFirstKindsFramePageOfTheValidRows) {
    struct Case {
        const char* name;
        int bigImages, smallImages, sounds;
        int level;
        ResultsShown outcome;
        const char* page;  // "" when nothing is opened
    } cases[] = {
        {"images first", 3, 2, 1, 2, ResultsShown::Opened, "ImagesFrame2.htm"},
        {"only sounds", 0, 0, 2, 2, ResultsShown::Opened, "AudioFrame2.htm"},
        {"too small images are not results", 0, 3, 0, 2, ResultsShown::Nothing, ""},
        {"the level numbers the page", 1, 0, 0, 3, ResultsShown::Opened, "ImagesFrame3.htm"},
        {"nothing found", 0, 0, 0, 2, ResultsShown::Nothing, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SessionFixture f;
        f.settings.Set(keys::PathExe, std::string(FLK_SOURCE_DIR) + "/resources");  // the shipped templates
        f.settings.Set(keys::CrawlerSafetyLevel, c.level);
        f.settings.Set(keys::ViewSounds, std::string("1"));  // as a search with sounds ticked
        f.dir.Write("opener.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        std::filesystem::permissions(f.dir.File("opener.sh"), std::filesystem::perms::owner_all);
        test::ScopedEnv opener("FLK_OPENER", f.dir.File("opener.sh"));
        std::string page = "<title>Finds</title>";
        for (int i = 0; i < c.bigImages; ++i) {
            const std::string name = "/big" + std::to_string(i) + ".jpg";
            f.server.Add({name, 200, {}, std::string(5000, 'b')});
            page += "<img src=\"" + name + "\">";
        }
        for (int i = 0; i < c.smallImages; ++i) {
            const std::string name = "/small" + std::to_string(i) + ".jpg";
            f.server.Add({name, 200, {}, std::string(100, 's')});
            page += "<img src=\"" + name + "\">";
        }
        for (int i = 0; i < c.sounds; ++i) {
            const std::string name = "/song" + std::to_string(i) + ".mp3";
            f.server.Add({name, 200, {}, std::string(5000, 'm')});
            page += "<a href=\"" + name + "\">song</a>";
        }
        f.server.Add({"/index.html", 200, {{"Content-Type", "text/html"}}, page});
        CrawlerSession& s = f.Open();
        ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
        ASSERT_TRUE(s.WaitForEnd(30s));

        std::string shown;
        EXPECT_EQ(s.ShowResults("finds", nullptr, &shown), c.outcome);
        const std::string expected = *c.page ? JoinPath(s.Project().folder, c.page) : "";
        EXPECT_EQ(shown, expected);
        if (*c.page) {
            for (int i = 0; i < 200 && f.dir.Read("opened.txt").find('\n') == std::string::npos; ++i)
                std::this_thread::sleep_for(10ms);
            EXPECT_EQ(f.dir.Read("opened.txt"), expected + "\n");
            EXPECT_TRUE(std::filesystem::exists(expected));
        } else {
            std::this_thread::sleep_for(50ms);
            EXPECT_FALSE(std::filesystem::exists(f.dir.File("opened.txt")));
        }
        // Exactly the valid rows are selected: the big images.
        MediaList& images = s.Lists().images;
        for (std::size_t r = 0; r < images.RowCount(); ++r)
            EXPECT_EQ(images.IsSelected(r), images.Cell(r, 0).rfind("big", 0) == 0) << images.Cell(r, 0);
        // Kinds without valid rows get no pages.
        EXPECT_EQ(std::filesystem::exists(JoinPath(s.Project().folder, "ImagesList0.htm")), c.bigImages > 0);
        EXPECT_EQ(std::filesystem::exists(JoinPath(s.Project().folder, "AudioList0.htm")), c.sounds > 0);
    }
}

// The result-page switches of section `modern` are read each time the
// pages are written: on, the picture comes from the image cache and the hit
// line reads as text; off, both are as they always were.
TEST(CrawlerSession, ResultPagesFollowTheModernSwitches) {
    SessionFixture f;
    AddSmallSite(f.server);
    CrawlerSession& s = f.Open();
    ASSERT_TRUE(s.Start(f.server.Url("/index.html")));
    ASSERT_TRUE(s.WaitForEnd(30s));
    ASSERT_TRUE(std::filesystem::exists(s.Project().ImageCacheFolder() + "/pic.jpg"));
    s.Hits().AddHit("http://a.example/", "A", 5, "ss=\"x\"><b>big</b> pic &amp; more</p>");
    for (const char* name : {"ImagesTemplate2.htm", "TextTemplate2.htm"})
        std::filesystem::copy_file(std::string(FLK_SOURCE_DIR) + "/resources/" + name,
                                   JoinPath(s.Project().folder, name));

    auto pages = [&] {
        EXPECT_FALSE(s.WriteResultPages("pic").empty());
        std::string images, text;
        EXPECT_TRUE(ReadWholeFile(JoinPath(s.Project().folder, "ImagesList0.htm"), images));
        EXPECT_TRUE(ReadWholeFile(JoinPath(s.Project().folder, "TextList0.htm"), text));
        return std::pair{images, text};
    };
    const auto [cachedImages, readerText] = pages();
    EXPECT_NE(cachedImages.find("<img src=\"Images/pic.jpg\""), std::string::npos);
    EXPECT_NE(cachedImages.find("href=\"" + f.server.Url("/pic.jpg") + "\""), std::string::npos);
    EXPECT_NE(readerText.find("<p class=\"sample\">big pic &amp; more</p>"), std::string::npos);

    f.settings.Set(keys::ModernOffline, 0);
    f.settings.Set(keys::ModernHitText, 0);
    const auto [classicImages, classicText] = pages();
    EXPECT_NE(classicImages.find("<img src=\"" + f.server.Url("/pic.jpg") + "\""), std::string::npos);
    EXPECT_EQ(classicImages.find("Images/pic.jpg"), std::string::npos);
    EXPECT_NE(classicText.find("<p class=\"sample\">ss=&quot;x&quot;&gt;&lt;b&gt;big&lt;/b&gt; pic &amp;amp; more&lt;/p&gt;</p>"),
              std::string::npos);
}
