// flkcrawl as a user runs it: a real process crawling a loopback site.
#include "lists/MediaLists.h"
#include "lists/ProjectFile.h"
#include "platform/Sha256.h"
#include "support/DistinctBody.h"
#include "support/LoopbackServer.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

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
            server.Add({"/img/i" + std::to_string(k) + ".jpg", 200, {}, test::DistinctBody("i" + std::to_string(k), 5000)});
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

// Ctrl-C ends flkcrawl at once in every phase, even while a directory, an
// engine, a guide page or a page of the crawl drips in at 10 bytes a second.
TEST(FlkCrawl, CtrlCEndsEveryPhaseWithinTwoSeconds) {
    test::LoopbackServer server;
    const test::PageRow drip{.body = std::string(2000, 'x'), .mode = test::ReplyMode::Dripping,
                             .dripDelayMs = 100, .dripChunk = 1};
    for (const char* path : {"/r_search", "/search", "/eng/Birds.htm", "/page.html"}) {
        test::PageRow row = drip;
        row.path = path;
        server.Add(row);
    }
    const std::string data = "<engines>[Altavista]url1=\"-\"[Web crawler]url1=\"-\"[Looksmart]url1=\"" +
                             server.Url("/r_search?key=%search%&skip=%from%") + "\"</engines>" +
                             "<categories>url=\"" + server.Url("/eng/") + "\"Birds</categories>";
    struct Phase {
        const char* name;
        int safetyLevel;
        std::vector<std::string> args;
        const char* path;
    } phases[] = {
        {"directory", 1, {"--search", "cats"}, "/r_search"},
        {"engine", 2, {"--search", "cats", "--engine", "home"}, "/search"},
        {"guide", 2, {"--guide", "Birds"}, "/eng/Birds.htm"},
        {"crawl", 2, {server.Url("/page.html")}, "/page.html"},
    };
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.name);
        CrawlRunFolder run;
        std::filesystem::create_directories(run.dir.File("win"));
        std::filesystem::create_directories(run.Project());
        run.dir.Write("win/flk.ini", "[crawler]\ncrl=" + std::to_string(phase.safetyLevel) +
                                         "\nwarning=1\n[engines]\nhome=" + server.Url("/search?q={query}") + "\n");
        run.dir.Write("project/data.txt", data);
        std::vector<std::string> args{FLK_CRAWL_PROGRAM, "--project", run.Project(), "--no-pages"};
        args.insert(args.end(), phase.args.begin(), phase.args.end());
        server.ClearLog();
        test::Subprocess crawl(args, run.env, run.dir.File("out.txt"));
        const auto asked = [&] {
            for (const auto& r : server.Requests())
                if (r.target.rfind(phase.path, 0) == 0) return true;
            return false;
        };
        for (int i = 0; i < 1000 && !asked(); ++i) std::this_thread::sleep_for(10ms);
        ASSERT_TRUE(asked()) << run.dir.Read("out.txt");
        std::this_thread::sleep_for(300ms);
        crawl.Signal(SIGINT);
        EXPECT_EQ(crawl.Wait(2s), 130) << run.dir.Read("out.txt");
    }
}

// flkcrawl as a new user meets it: --help tells the settings in force and
// where they live, a project folder that cannot be written is refused before
// any page is fetched, a limit that cut the crawl is named, and a search
// refused for want of a terminal says which setting to change.
TEST(FlkCrawl, TellsTheUserWhatHoldsTheCrawlBack) {
    ChainSite site(40);
    CrawlRunFolder run;
    const std::string profile = run.dir.File("win") + "/flk.ini";
    {
        test::Subprocess help({FLK_CRAWL_PROGRAM, "--help"}, run.env, run.dir.File("help.txt"));
        ASSERT_EQ(help.Wait(30s), 0);
        const std::string text = run.dir.Read("help.txt");
        for (const std::string& part :
             {"Settings in force (" + profile + "):", std::string("  pages per site      10"),
              std::string("[crawler] pagespersite"), std::string("  media kinds         images "),
              std::string("jpg;jpeg;gif;"), std::string("[crawler] page_timeout"),
              std::string("Change a setting in that file")})
            EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    {
        test::Subprocess crawl({FLK_CRAWL_PROGRAM, "--project", "/proc", site.server.Url("/p0.html")}, run.env,
                               run.dir.File("proc.txt"));
        EXPECT_EQ(crawl.Wait(30s), 1);
        EXPECT_NE(run.dir.Read("proc.txt").find("flkcrawl: cannot write into the project folder /proc; give a "
                                                "writable one with --project DIR"),
                  std::string::npos)
            << run.dir.Read("proc.txt");
        EXPECT_TRUE(site.server.Requests().empty());
    }
    const struct {
        std::vector<std::string> extra;
        std::string said;
    } limits[] = {
        {{"--per-site", "10"},
         "Limit: stopped at 10 pages for 127.0.0.1:" + std::to_string(site.server.Port()) + " (pages per site)\n"},
        {{"--pages", "5"}, "Limit: stopped at 5 pages (page limit)\n"},
        {{"--depth", "2"}, "Limit: links deeper than 2 levels not followed (depth limit)\n"},
    };
    for (const auto& limit : limits) {
        test::Subprocess crawl(run.Args(site.server.Url("/p0.html"), limit.extra), run.env, run.dir.File("limit.txt"));
        EXPECT_EQ(crawl.Wait(60s), 0);
        EXPECT_NE(run.dir.Read("limit.txt").find(limit.said), std::string::npos) << run.dir.Read("limit.txt");
    }
    {
        test::Subprocess crawl(run.Args(site.server.Url("/p0.html")), run.env, run.dir.File("none.txt"));
        EXPECT_EQ(crawl.Wait(60s), 0);
        EXPECT_EQ(run.dir.Read("none.txt").find("Limit:"), std::string::npos) << run.dir.Read("none.txt");
    }
    {
        test::Subprocess search({FLK_CRAWL_PROGRAM, "--project", run.Project(), "--search", "cats"}, run.env,
                                run.dir.File("search.txt"));
        EXPECT_EQ(search.Wait(30s), 1);
        const std::string text = run.dir.Read("search.txt");
        EXPECT_NE(text.find("To search without the warning, set warning=1 in section [crawler] of " + profile),
                  std::string::npos)
            << text;
        EXPECT_EQ(text.find("Config"), std::string::npos) << text;
    }
}

// Without the result templates the pages say why they hold no list, and
// the run says what failed instead of "No media found".
TEST(FlkCrawl, AMissingResultTemplateIsReportedNotHidden) {
    ChainSite site(2);
    CrawlRunFolder run;
    std::filesystem::create_directories(run.dir.File("win"));
    std::filesystem::create_directories(run.dir.File("no-program-files"));
    run.dir.Write("win/flk.ini", "[pathexe]\npath=" + run.dir.File("no-program-files") + "\n");
    std::vector<std::string> args = run.Args(site.server.Url("/p0.html"));
    args.erase(std::find(args.begin(), args.end(), "--no-pages"));
    test::Subprocess crawl(args, run.env, run.dir.File("out.txt"));
    EXPECT_EQ(crawl.Wait(120s), 1);
    const std::string out = run.dir.Read("out.txt");
    EXPECT_NE(out.find("Done: 2 pages found, 2 parsed; 2 images"), std::string::npos) << out;
    EXPECT_EQ(out.find("No media found"), std::string::npos) << out;
    EXPECT_NE(out.find("flkcrawl: result pages: the template " + run.Project() + "/ImagesTemplate2.htm could not be read"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Result pages: " + run.Project() + "/ImagesList0.htm"), std::string::npos) << out;
    EXPECT_EQ(run.dir.Read("project/ImagesList0.htm").rfind("ERROR:Cant Open file error no- 2 <br> File Name=", 0), 0u)
        << run.dir.Read("project/ImagesList0.htm");
}

// --download fetches every valid image found, byte for byte, and says so.
TEST(FlkCrawl, DownloadsTheValidMediaFound) {
    ChainSite site(6);
    for (int k = 0; k < 6; ++k)
        site.server.Add({"/img/i" + std::to_string(k) + ".jpg", 200, {}, std::string(5000 + k, 'a' + k)});
    CrawlRunFolder run;
    const std::string folder = run.dir.File("media");
    test::Subprocess crawl(run.Args(site.server.Url("/p0.html"), {"--download", folder, "--download-kinds", "images"}),
                           run.env, run.dir.File("out.txt"));
    ASSERT_EQ(crawl.Wait(120s), 0) << run.dir.Read("out.txt");
    const std::string out = run.dir.Read("out.txt");
    EXPECT_NE(out.find("downloaded 6 files, 0.0 MB, 0 failed"), std::string::npos) << out;
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
    EXPECT_EQ(names.size(), 6u);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(run.dir.Read("media/i" + std::to_string(k) + ".jpg"), std::string(5000 + k, 'a' + k)) << k;
    EXPECT_EQ(names.count("s0.wav"), 0u);  // sounds were not asked for

    test::Subprocess bad({FLK_CRAWL_PROGRAM, "--download-kinds", "images", "x.example"}, run.env,
                         run.dir.File("bad.txt"));
    EXPECT_EQ(bad.Wait(30s), 2);
    EXPECT_NE(run.dir.Read("bad.txt").find("--download-kinds goes with --download"), std::string::npos);
}

// A download that fails makes the run fail.
TEST(FlkCrawl, AFailedDownloadFailsTheRun) {
    test::LoopbackServer server;
    server.Add({.path = "/p.html", .body = "<img src=\"/ok.jpg\" width=200 height=200>"
                                           "<img src=\"/flaky.jpg\" width=200 height=200>"});
    server.Add({.path = "/ok.jpg", .body = std::string(4000, 'o')});
    // Answers the size check, then drops every download half-way.
    server.Add({.path = "/flaky.jpg", .body = std::string(4000, 'f')});
    CrawlRunFolder run;
    const std::string folder = run.dir.File("media");
    test::Subprocess crawl(run.Args(server.Url("/p.html"), {"--download", folder}), run.env,
                           run.dir.File("out.txt"));
    for (int i = 0; i < 3000 && server.Count("/flaky.jpg") < 1; ++i) std::this_thread::sleep_for(1ms);
    server.Add({.path = "/flaky.jpg", .body = std::string(4000, 'f'), .mode = test::ReplyMode::Partial,
                .partialBytes = 1000});
    ASSERT_EQ(crawl.Wait(120s), 1) << run.dir.Read("out.txt");
    const std::string out = run.dir.Read("out.txt");
    EXPECT_NE(out.find("downloaded 1 files, 0.0 MB, 1 failed"), std::string::npos) << out;
    EXPECT_NE(out.find(server.Url("/flaky.jpg") + ": Connection error"), std::string::npos) << out;
    EXPECT_EQ(run.dir.Read("media/ok.jpg"), std::string(4000, 'o'));
    EXPECT_FALSE(std::filesystem::exists(folder + "/flaky.jpg"));
    EXPECT_EQ(run.dir.Read("media/flaky.jpg.part"), std::string(1000, 'f'));
}

namespace {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// Today's media: a picture known only by its type, the same picture under
// two addresses with a tag that understates its size, and a movie behind an
// image extension.
struct TypedSite {
    test::LoopbackServer server;
    std::string gif = std::string("GIF89a\x2c\x01\xc8\x00", 10) + std::string(3990, 'g');  // 300 x 200
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(640) + Be32(480) +
                      std::string(9000, 'p');
    TypedSite() {
        server.Add({.path = "/p.html",
                    .headers = {{"Content-Type", "text/html"}},
                    .body = "<html><body><img src=\"/img?id=7\" alt='a \"quoted\" alt'>"
                            "<img src=\"/a.gif\" width=150 height=150><img src=\"/copy.gif\" width=150 height=150>"
                            "<img src=\"/clip.jpg\"></body></html>"});
        server.Add({.path = "/img?id=7", .headers = {{"Content-Type", "image/png"}}, .body = png, .ranges = true});
        server.Add({.path = "/a.gif", .headers = {{"Content-Type", "image/gif"}}, .body = gif, .ranges = true});
        server.Add({.path = "/copy.gif", .headers = {{"Content-Type", "image/gif"}}, .body = gif, .headStatus = 405});
        server.Add({.path = "/clip.jpg", .headers = {{"Content-Type", "video/mp4"}}, .body = std::string(5000, 'v')});
    }
};

std::string HashOf(const std::string& bytes) {
    Sha256 h;
    h.Add(bytes);
    return h.HexDigest();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        out.push_back(text.substr(pos, nl - pos));
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return out;
}

const std::string* LineOf(const std::vector<std::string>& lines, const std::string& url) {
    for (const std::string& l : lines)
        if (l.starts_with("{\"url\":\"" + url + "\"")) return &l;
    return nullptr;
}

}  // namespace

// The `modern` keys at their defaults: the types place the media, the files
// give the pixel sizes, the copy is listed once; --json tells it all.
TEST(FlkCrawl, JsonListsEveryMediumWithItsTypeAndTrueSize) {
    TypedSite site;
    CrawlRunFolder run;
    const std::string json = run.dir.File("media.jsonl");
    test::Subprocess crawl(run.Args(site.server.Url("/p.html"), {"--media", "all", "--json", json}), run.env,
                           run.dir.File("out.txt"));
    ASSERT_EQ(crawl.Wait(120s), 0) << run.dir.Read("out.txt");
    const std::vector<std::string> lines = Lines(run.dir.Read("media.jsonl"));
    ASSERT_EQ(lines.size(), 3u) << run.dir.Read("media.jsonl");

    const std::string page = site.server.Url("/p.html");
    const std::string* typed = LineOf(lines, site.server.Url("/img?id=7"));
    ASSERT_TRUE(typed);
    EXPECT_EQ(*typed, "{\"url\":\"" + site.server.Url("/img?id=7") +
                          "\",\"kind\":\"image\",\"bytes\":9024,\"width\":640,\"height\":480,"
                          "\"content_type\":\"image/png\",\"page\":\"" + page +
                          "\",\"alt\":\"a \\\"quoted\\\" alt\",\"sha256\":\"" + HashOf(site.png) +
                          "\",\"duplicates\":[]}");
    // The same picture under two addresses is one row, whichever address
    // was checked first, naming the other; the file's size replaces the
    // tag's 150 x 150.
    const std::string* gif = LineOf(lines, site.server.Url("/a.gif"));
    const std::string* copy = LineOf(lines, site.server.Url("/copy.gif"));
    ASSERT_TRUE(gif || copy) << run.dir.Read("media.jsonl");
    EXPECT_FALSE(gif && copy) << run.dir.Read("media.jsonl");
    const std::string other = site.server.Url(gif ? "/copy.gif" : "/a.gif");
    const std::string& kept = gif ? *gif : *copy;
    EXPECT_NE(kept.find("\"kind\":\"image\",\"bytes\":4000,\"width\":300,\"height\":200,"), std::string::npos)
        << kept;
    EXPECT_NE(kept.find("\"sha256\":\"" + HashOf(site.gif) + "\",\"duplicates\":[\"" + other + "\"]}"),
              std::string::npos)
        << kept;
    const std::string* movie = LineOf(lines, site.server.Url("/clip.jpg"));
    ASSERT_TRUE(movie);
    EXPECT_NE(movie->find("\"kind\":\"movie\",\"bytes\":5000,"), std::string::npos) << *movie;
    EXPECT_NE(movie->find("\"content_type\":\"video/mp4\""), std::string::npos) << *movie;

    // Switched off, the run finds what it always did: the typed picture is
    // not listed, the copies are two rows with the tag's size, the movie
    // stays an image.
    std::string ini = run.dir.Read("win/flk.ini");
    ASSERT_NE(ini.find("pure_images=1"), std::string::npos);
    const std::size_t modern = ini.find("[modern]");
    const std::string off = "content=0\r\nsizes=0\r\nduplicates=0\r\n";
    if (modern == std::string::npos)
        ini += "\r\n[modern]\r\n" + off;
    else
        ini.insert(ini.find('\n', modern) + 1, off);
    std::ofstream(run.dir.File("win/flk.ini"), std::ios::binary) << ini;
    site.server.ClearLog();
    test::Subprocess old(run.Args(site.server.Url("/p.html"), {"--media", "all", "--json", json}), run.env,
                         run.dir.File("old.txt"));
    ASSERT_EQ(old.Wait(120s), 0) << run.dir.Read("old.txt");
    const std::vector<std::string> oldLines = Lines(run.dir.Read("media.jsonl"));
    ASSERT_EQ(oldLines.size(), 3u) << run.dir.Read("media.jsonl");
    EXPECT_FALSE(LineOf(oldLines, site.server.Url("/img?id=7")));
    for (const char* path : {"/a.gif", "/copy.gif", "/clip.jpg"}) {
        const std::string* l = LineOf(oldLines, site.server.Url(path));
        ASSERT_TRUE(l) << path;
        EXPECT_NE(l->find("\"kind\":\"image\""), std::string::npos) << *l;
        EXPECT_NE(l->find("\"sha256\":null,\"duplicates\":[]"), std::string::npos) << *l;
        if (std::string(path) != "/clip.jpg") {
            EXPECT_NE(l->find("\"width\":150,\"height\":150,"), std::string::npos) << *l;
        }
    }
    EXPECT_EQ(site.server.Count("/img?id=7"), 0);
}

// The JSON file is written whole or not at all.
TEST(FlkCrawl, AJsonFileThatCannotBeWrittenFailsTheRunAndLeavesNoPiece) {
    TypedSite site;
    CrawlRunFolder run;
    const std::string folder = run.dir.File("taken");
    std::filesystem::create_directories(folder);  // a folder where the file should go
    test::Subprocess crawl(run.Args(site.server.Url("/p.html"), {"--json", folder}), run.env, run.dir.File("out.txt"));
    ASSERT_EQ(crawl.Wait(120s), 1) << run.dir.Read("out.txt");
    EXPECT_NE(run.dir.Read("out.txt").find("could not write " + folder), std::string::npos) << run.dir.Read("out.txt");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    for (const auto& e : std::filesystem::directory_iterator(run.dir.File("")))
        EXPECT_FALSE(e.path().filename().string().starts_with("taken.")) << e.path();

    test::Subprocess help({FLK_CRAWL_PROGRAM, "--help"}, run.env, run.dir.File("help.txt"));
    EXPECT_EQ(help.Wait(30s), 0);
    EXPECT_NE(run.dir.Read("help.txt").find("--json FILE"), std::string::npos);
    test::Subprocess bad({FLK_CRAWL_PROGRAM, "--json"}, run.env, run.dir.File("bad.txt"));
    EXPECT_EQ(bad.Wait(30s), 2);
}
