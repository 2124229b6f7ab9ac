// The FLK program started as a user starts it, with its command line, its
// settings in a temporary FLK_WINDIR and every service on loopback servers.
// Its windows are found by their titles on a display of the test's own, where
// no other test's windows can answer to the same names.
#include "platform/ProgramMessages.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/PrivateDisplay.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"
#include "update/LocalDate.h"
#include "update/PatchRequest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace flk;
using namespace std::chrono_literals;

namespace {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// A site with a home page of three pictures.
struct Site {
    test::LoopbackServer server;
    Site() {
        std::string page = "<html><title>Larks</title><body>\n";
        for (int i = 1; i <= 3; ++i) {
            const std::string name = "/lark" + std::to_string(i) + ".jpg";
            page += "<img src=\"" + name.substr(1) + "\">\n";
            server.Add({name, 200, {{"Content-Type", "image/jpeg"}}, std::string(5000, 'j')});
        }
        server.Add({"/index.html", 200, {{"Content-Type", "text/html"}}, page + "</body></html>"});
    }
};

class FlkCommandLine : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.Path()};
    test::PrivateDisplay display{1024, 768};
    test::LoopbackServer services;  // maker, engines, directory, update data, server module
    std::unique_ptr<test::Subprocess> flk;

    void SetUp() override {
        ASSERT_TRUE(display.Up());
        Settings settings(dir.File("flk.ini"), dir.Path());
        settings.WriteDefaults();
        settings.Set(keys::UpdateFirstTime, 0);
        settings.Set(keys::CrawlerEnodger, 1);
        settings.Set(keys::ViewShowPresentationAgain, 0);
        settings.Set(keys::ViewTip, 0);
        settings.Set(keys::ProjectPath, dir.Path());
        const std::string here = "127.0.0.1:" + std::to_string(services.Port());
        for (const StrKey* host : {&hosts::Maker, &hosts::Altavista, &hosts::WebCrawler, &hosts::HotBot,
                                   &hosts::Directory})
            settings.Set(*host, here);
        settings.Set(hosts::UpdateBase, services.Url("/update/"));
        settings.Set(hosts::ServerBase, services.Url("/trn/"));
    }
    void TearDown() override {
        if (flk && flk->Wait(0ms) == -1) {
            flk->Signal(SIGTERM);
            flk->Wait(10s);
        }
    }

    void Start(std::vector<std::string> args) {
        args.insert(args.begin(), FLK_PROGRAM);
        flk = std::make_unique<test::Subprocess>(
            args, std::vector<std::string>{"DISPLAY=" + display.Name(), "FLK_WINDIR=" + dir.Path(), "XDG_RUNTIME_DIR=" + dir.Path(),
                                           "FLK_OPENER=true", "NO_AT_BRIDGE=1"},
            dir.File("flk.log"));
        ASSERT_TRUE(flk->Started());
    }
    bool Running() { return flk->Wait(0ms) == -1; }

    // What xwininfo says of the first window with this exact title.
    std::string WindowInfo(const std::string& title) const {
        const std::string out = dir.File("xwininfo.txt");
        test::Subprocess info({"/usr/bin/xwininfo", "-display", display.Name(), "-name", title}, {}, out);
        if (info.Wait(10s) != 0) return "";
        return dir.Read("xwininfo.txt");
    }
    bool Viewable(const std::string& title) const {
        return WindowInfo(title).find("Map State: IsViewable") != std::string::npos;
    }
    bool WaitViewable(const std::string& title) {
        return WaitFor([&] { return Viewable(title) || !Running(); }, 30s) && Viewable(title);
    }
    // A picture of a window for the reviewer in build/screenshots/.
    void Screenshot(const std::string& title, const std::string& name) const {
        const std::string info = WindowInfo(title);
        const std::size_t at = info.find("Window id: ");
        if (at == std::string::npos) return;
        const std::string id = info.substr(at + 11, info.find(' ', at + 11) - at - 11);
        display.ScreenshotWindow(id, name);
    }
    // Ends the program as the desktop does at log-out.
    void End() {
        flk->Signal(SIGTERM);
        EXPECT_NE(flk->Wait(10s), -1) << "FLK did not end";
    }
};

}  // namespace

// "FLK URL -run -crawler": the crawler window is shown and crawls the
// location at once, the pictures of the page are checked.
TEST_F(FlkCommandLine, UrlRunWithTheCrawlerWindowShownCrawlsAtStart) {
    Site site;
    Start({site.server.Url("/index.html"), "-run", "-crawler"});
    ASSERT_TRUE(WaitViewable("Findlark Crawler")) << dir.Read("flk.log");
    EXPECT_TRUE(WaitViewable("Findlark"));  // the two windows are mapped one after the other
    ASSERT_TRUE(WaitFor([&] { return site.server.Count("/lark3.jpg") > 0; }, 30s)) << dir.Read("flk.log");
    EXPECT_EQ(site.server.Count("/index.html"), 1);
    for (int i = 1; i <= 3; ++i) EXPECT_GE(site.server.Count("/lark" + std::to_string(i) + ".jpg"), 1);
    std::this_thread::sleep_for(500ms);  // the counters catch up on their timer
    Screenshot("Findlark Crawler", "flk_run_crawler_window");
    EXPECT_TRUE(Running());
    End();
}

// "-searchsite" without "-run" (and without a location) asks for nothing to
// be crawled: the program starts idle, crawls nothing and keeps running.
TEST_F(FlkCommandLine, SearchSiteWithoutRunIsIgnored) {
    Site site;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-searchsite"}, std::vector<std::string>{site.server.Url("/index.html"), "-searchsite"}}) {
        SCOPED_TRACE(args.back() + " after " + args.front());
        Start(args);
        ASSERT_TRUE(WaitViewable("Findlark")) << dir.Read("flk.log");
        std::this_thread::sleep_for(1500ms);
        EXPECT_TRUE(Running()) << dir.Read("flk.log");
        EXPECT_FALSE(Viewable("Findlark Crawler"));
        EXPECT_EQ(site.server.Count("/index.html"), 0);
        for (const auto& r : services.Requests())
            EXPECT_TRUE(r.target.starts_with("/update/") || r.target.starts_with("/trn/")) << r.target;
        End();
    }
}

// "FLK WORDS -searchweb": the sites list opens with the search-engine
// dialog over it, while the crawler window stays out of sight.
TEST_F(FlkCommandLine, SearchWebOpensTheSitesListAndTheEngineDialog) {
    Start({"larks", "-searchweb"});
    ASSERT_TRUE(WaitViewable("Search engine dialog")) << dir.Read("flk.log");
    EXPECT_TRUE(WaitViewable("Domains list"));
    EXPECT_FALSE(Viewable("Findlark Crawler"));
    Screenshot("Search engine dialog", "flk_searchweb_engine_dialog");
    EXPECT_TRUE(Running());
    End();
}

// A patch program's request (message 5463): the running FLK answers, notes
// the day and ends at once with exit code 0. Other messages change nothing.
TEST_F(FlkCommandLine, APatchRequestEndsTheRunningProgram) {
    Start({});
    ASSERT_TRUE(WaitViewable("Findlark")) << dir.Read("flk.log");
    int answer = -1;
    ASSERT_TRUE(WaitFor([&] { return SendProgramMessage(dir.Path(), kFlkMessageName, 2010, &answer); }, 10s));
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(Running());
    // Writing the day to the profile takes a while under the sanitizer.
    ASSERT_TRUE(SendProgramMessage(dir.Path(), kFlkMessageName, kPatchRequestMessage, &answer, 20000));
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(flk->Wait(10s), 0) << dir.Read("flk.log");
    Settings after(dir.File("flk.ini"), dir.Path());
    EXPECT_EQ(ReadDate(after, kPatchDateKeys), TodayLocal());
}
