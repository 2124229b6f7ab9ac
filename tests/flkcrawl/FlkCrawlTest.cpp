// flkcrawl as a user runs it: a real process crawling a loopback site.
#include "lists/MediaLists.h"
#include "lists/ProjectFile.h"
#include "support/LoopbackServer.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>

using namespace flk;
using namespace std::chrono_literals;

namespace {

// A site of 40 pages in a chain; page k shows image k and, every fifth
// page, a sound. Everything is on one host.
struct ChainSite {
    test::LoopbackServer server;
    std::set<std::string> images, sounds;
    explicit ChainSite(int pages, int dripDelayMs = 0) {
        for (int k = 0; k < pages; ++k) {
            std::string body = "<html><head><title>Page " + std::to_string(k) + "</title></head><body>";
            body += "<img src=\"/img/i" + std::to_string(k) + ".jpg\" width=200 height=200>";
            images.insert(server.Url("/img/i" + std::to_string(k) + ".jpg"));
            server.Add({"/img/i" + std::to_string(k) + ".jpg", 200, {}, std::string(5000, 'x')});
            if (k % 5 == 0) {
                body += "<a href=\"/snd/s" + std::to_string(k) + ".wav\">song</a>";
                sounds.insert(server.Url("/snd/s" + std::to_string(k) + ".wav"));
            }
            if (k + 1 < pages) body += "<a href=\"/p" + std::to_string(k + 1) + ".html\">next</a>";
            body += "</body></html>";
            test::PageRow row{"/p" + std::to_string(k) + ".html", 200, {{"Content-Type", "text/html"}}, body};
            if (dripDelayMs > 0) {
                row.mode = test::ReplyMode::Dripping;
                row.dripDelayMs = dripDelayMs;
                row.dripChunk = 64;
            }
            server.Add(row);
        }
    }
};

std::set<std::string> LinesAfterHeader(const std::string& bytes) {
    std::set<std::string> out;
    std::size_t pos = 0;
    int line = 0;
    while (pos < bytes.size()) {
        std::size_t nl = bytes.find('\n', pos);
        std::string l = bytes.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        while (!l.empty() && l.back() == '\r') l.pop_back();
        if (line++ >= 2 && !l.empty()) out.insert(l);
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return out;
}

struct CrawlRunFolder {
    test::TempDir dir;
    std::vector<std::string> env{"FLK_WINDIR=" + dir.File("win")};
    std::string Project() const { return dir.File("project"); }
    std::vector<std::string> Args(const std::string& start, std::vector<std::string> extra = {}) const {
        std::vector<std::string> args{FLK_CRAWL_PROGRAM, "--project", Project(), "--media", "images,sounds",
                                      "--per-site", "0", "--depth", "100", "--no-pages"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(start);
        return args;
    }
};

}  // namespace

TEST(FlkCrawl, WritesExactlyTheSitesMediaAndAProjectThatLoads) {
    ChainSite site(40);
    CrawlRunFolder run;
    test::Subprocess crawl(run.Args(site.server.Url("/p0.html")), run.env, run.dir.File("out.txt"));
    ASSERT_EQ(crawl.Wait(120s), 0) << run.dir.Read("out.txt");
    const std::string out = run.dir.Read("out.txt");
    EXPECT_NE(out.find("Done: 40 pages found, 40 parsed; 40 images (40 valid), 8 sounds, 0 movies"), std::string::npos)
        << out;

    EXPECT_EQ(LinesAfterHeader(run.dir.Read("project/ImageLinks.txt")), site.images);
    EXPECT_EQ(LinesAfterHeader(run.dir.Read("project/SoundLinks.txt")), site.sounds);
    EXPECT_EQ(run.dir.Read("project/ImageLinks.txt").substr(0, 20), "Images:\r\r\n=======\r\r\n");

    MediaLists loaded;
    const std::string text = ReadProjectFile(run.dir.File("project/Default.crl"));
    ASSERT_TRUE(loaded.images.LoadBlock(text));
    ASSERT_TRUE(loaded.sounds.LoadBlock(text));
    EXPECT_EQ(loaded.images.RowCount(), 40u);
    EXPECT_EQ(loaded.sounds.RowCount(), 8u);
    EXPECT_EQ(ReadMainData(text).lastSite, site.server.Url("/p0.html"));

    // A second run starts empty: it does not load the saved project.
    test::Subprocess again(run.Args(site.server.Url("/p39.html")), run.env, run.dir.File("out2.txt"));
    ASSERT_EQ(again.Wait(60s), 0);
    EXPECT_NE(run.dir.Read("out2.txt").find("Done: 1 pages found, 1 parsed; 1 images"), std::string::npos)
        << run.dir.Read("out2.txt");
}

TEST(FlkCrawl, CtrlCStopsAndStillSavesAValidProject) {
    ChainSite site(200, 40);  // slow pages: the crawl is still running when stopped
    CrawlRunFolder run;
    test::Subprocess crawl(run.Args(site.server.Url("/p0.html"), {"--threads", "2"}), run.env,
                           run.dir.File("out.txt"));
    for (int i = 0; i < 600 && site.server.Requests().size() < 3; ++i) std::this_thread::sleep_for(10ms);
    crawl.Signal(SIGINT);
    ASSERT_EQ(crawl.Wait(60s), 130) << run.dir.Read("out.txt");
    EXPECT_NE(run.dir.Read("out.txt").find("Stopped:"), std::string::npos);
    const std::string text = ReadProjectFile(run.dir.File("project/Default.crl"));
    const MainDataRead main = ReadMainData(text);
    ASSERT_TRUE(main.found) << "the project file is complete";
    MediaLists loaded;
    loaded.images.LoadBlock(text);
    EXPECT_LT(loaded.images.RowCount(), 200u);
}

TEST(FlkCrawl, BadCommandLinesExitWithTwo) {
    CrawlRunFolder run;
    test::Subprocess crawl({FLK_CRAWL_PROGRAM, "--threads", "many", "x.example"}, run.env, run.dir.File("out.txt"));
    EXPECT_EQ(crawl.Wait(30s), 2);
    EXPECT_NE(run.dir.Read("out.txt").find("flkcrawl: --threads needs a number from 1 to 100"), std::string::npos);
    test::Subprocess help({FLK_CRAWL_PROGRAM, "--help"}, run.env, run.dir.File("help.txt"));
    EXPECT_EQ(help.Wait(30s), 0);
    EXPECT_NE(run.dir.Read("help.txt").find("Usage: flkcrawl"), std::string::npos);
    test::Subprocess version({FLK_CRAWL_PROGRAM, "--version"}, run.env, run.dir.File("version.txt"));
    EXPECT_EQ(version.Wait(30s), 0);
    EXPECT_EQ(run.dir.Read("version.txt"), "flkcrawl " FLK_VERSION "\n");
}

// A start location that cannot be read is a failed run, said as such; a
// broken link further in is reported but the crawl still counts as done.
TEST(FlkCrawl, UnreadableStartLocationsFailTheRun) {
    test::LoopbackServer server;
    server.Add({.path = "/ok.html", .body = "<a href=\"/gone.html\">gone</a>"});
    server.Add({.path = "/gone.html", .status = 404, .body = "no"});
    CrawlRunFolder run;
    struct Row {
        std::string start;
        int status;
        std::string said;
    } rows[] = {
        {server.Url("/gone.html"), 1, server.Url("/gone.html") + ": Error: Got status code 404"},
        {"http://127.0.0.1:1/closed.html", 1, "http://127.0.0.1:1/closed.html: "},
        {run.dir.File("missing.html"), 1, run.dir.File("missing.html") + ": "},
        {server.Url("/ok.html"), 0, server.Url("/gone.html") + ": Error: Got status code 404"},
    };
    int n = 0;
    for (const Row& r : rows) {
        const std::string out = "out" + std::to_string(n++) + ".txt";
        test::Subprocess crawl(run.Args(r.start), run.env, run.dir.File(out));
        EXPECT_EQ(crawl.Wait(60s), r.status) << run.dir.Read(out);
        EXPECT_NE(run.dir.Read(out).find("1 pages could not be read:\n  " + r.said), std::string::npos)
            << run.dir.Read(out);
    }
}
