// Polite crawling over a real loopback server: robots.txt, Crawl-delay,
// Retry-After, compressed pages, the per-host limit and a cookies file,
// each switched on and off.
#include "crawl/CrawlPages.h"
#include "crawl/Kernel.h"
#include "lists/MediaLists.h"
#include "net/InternetSession.h"
#include "net/PoliteRequests.h"
#include "platform/ProblemLog.h"
#include "search/HitList.h"
#include "settings/Settings.h"
#include "support/Compressed.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <thread>

namespace flk {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::PageRow;

struct NullNotifier : Notifier {
    long Send(Notification&) override { return 0; }
};

struct View : CrawlView {
    CrawlLimits limits{10, 100, 1000};
    std::atomic<bool> ended{false};
    CrawlLimits Limits() const override { return limits; }
    bool SinglePage() const override { return false; }
    SearchOptions Search() const override { return {}; }
    void AddTreeLine(const std::string&, const std::string&) override {}
    void ShowProgress(const CrawlProgress&) override {}
    void StorePage(const StoredPage&) override {}
    void CrawlEnded() override { ended = true; }
};

std::string Html(const std::string& inside) { return "<html><body>\n" + inside + "</body></html>\n"; }
std::string Img(const std::string& path) { return "<img src=\"" + path + "\" width=\"300\" height=\"200\">\n"; }
std::string Link(const std::string& path) { return "<a href=\"" + path + "\">page</a>\n"; }

PageRow Page(const std::string& path, const std::string& body) {
    return {path, 200, {{"Content-Type", "text/html"}}, body};
}

// One crawl of a loopback site with flk.ini's defaults plus `set`.
struct Crawl {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    View view;
    NullNotifier notifier;
    InternetShare internet;
    MediaLists lists;
    HitList hits;
    FetchFailures::Summary failures;

    explicit Crawl(const std::vector<std::pair<IntKey, int>>& set = {}) {
        settings.WriteDefaults();
        settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
        settings.Set(keys::MediaImagesMinSizeLimit, 0);
        for (const auto& [key, value] : set) settings.Set(key, value);
    }

    void Run(const std::string& start, std::chrono::seconds limit = 30s) {
        CrawlPages pages({internet, WithPoliteRequests(InternetOptions{}, settings), notifier, lists, hits, view});
        {
            kernel k(start + ";", KernelContext{settings, view, notifier, pages, nullptr, Pacing::None()});
            k.Start();
            const auto end = std::chrono::steady_clock::now() + limit;
            while (!view.ended && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
            EXPECT_TRUE(view.ended.load());
        }
        failures = pages.Failures().Get();
    }

    std::set<std::string> Images() const {
        std::set<std::string> out;
        for (std::size_t r = 0; r < lists.images.RowCount(); ++r) {
            const std::string url = lists.images.RowUrl(r);
            out.insert(url.substr(url.rfind('/')));
        }
        return out;
    }
};

std::set<std::string> Targets(const LoopbackServer& server) {
    std::set<std::string> out;
    for (const auto& r : server.Requests()) out.insert(r.target);
    return out;
}

std::vector<std::chrono::steady_clock::time_point> ArrivalsOfPages(const LoopbackServer& server) {
    std::vector<std::chrono::steady_clock::time_point> out;
    for (const auto& r : server.Requests())
        if (r.target != "/robots.txt") out.push_back(r.at);
    std::sort(out.begin(), out.end());
    return out;
}

const char kRobots[] =
    "User-agent: *\nDisallow: /\n\n"
    "User-agent: Findlark\nDisallow: /private/\nAllow: /private/open*.html$\nCrawl-delay: 0.25\n";

void RobotsSite(LoopbackServer& server, int robotsStatus, const std::string& robots) {
    server.Add(Page("/index.html", Html(Img("/i0.jpg") + Link("/a.html") + Link("/private/x.html") +
                                        Link("/private/open1.html"))));
    server.Add(Page("/a.html", Html(Img("/ia.jpg"))));
    server.Add(Page("/private/x.html", Html(Img("/ix.jpg"))));
    server.Add(Page("/private/open1.html", Html(Img("/io.jpg"))));
    if (robotsStatus != 404) server.Add({"/robots.txt", robotsStatus, {{"Content-Type", "text/plain"}}, robots});
}

TEST(PoliteCrawl, RobotsTxtKeepsDisallowedPagesOutAndSpacesRequests) {
    struct Case {
        const char* what;
        int robotsSwitch;
        int robotsStatus;
        std::set<std::string> pages;   // requested, robots.txt aside
        std::set<std::string> images;
        bool spaced;
    } cases[] = {
        {"rules for us", 1, 200, {"/index.html", "/a.html", "/private/open1.html"},
         {"/i0.jpg", "/ia.jpg", "/io.jpg"}, true},
        {"switched off", 0, 200, {"/index.html", "/a.html", "/private/x.html", "/private/open1.html"},
         {"/i0.jpg", "/ia.jpg", "/ix.jpg", "/io.jpg"}, false},
        {"no robots.txt", 1, 404, {"/index.html", "/a.html", "/private/x.html", "/private/open1.html"},
         {"/i0.jpg", "/ia.jpg", "/ix.jpg", "/io.jpg"}, false},
        // A site whose robots.txt fails is left alone but for its start page.
        {"robots.txt fails", 1, 503, {"/index.html"}, {"/i0.jpg"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server;
        RobotsSite(server, c.robotsStatus, kRobots);
        Crawl crawl({{keys::ModernRobots, c.robotsSwitch}});
        crawl.Run(server.Url("/index.html"));
        std::set<std::string> pages = Targets(server);
        const bool askedRobots = pages.erase("/robots.txt") > 0;
        EXPECT_EQ(askedRobots, c.robotsSwitch == 1);
        EXPECT_EQ(server.Count("/robots.txt"), c.robotsSwitch == 1 ? 1 : 0);  // once per site
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(crawl.Images(), c.images);
        if (c.spaced) {
            // Crawl-delay 0.25 s: the pages come one after the other, loosely apart.
            const auto at = ArrivalsOfPages(server);
            for (std::size_t i = 1; i < at.size(); ++i) EXPECT_GE(at[i] - at[i - 1], 150ms) << i;
            bool noted = false;
            for (const auto& l : crawl.failures.limits) noted = noted || l.find("robots.txt") != std::string::npos;
            EXPECT_TRUE(noted);
        }
    }
}

TEST(PoliteCrawl, StartPagesAreFetchedEvenWhenDisallowed) {
    LoopbackServer server;
    RobotsSite(server, 200, "User-agent: *\nDisallow: /\n");
    Crawl crawl;
    crawl.Run(server.Url("/private/x.html"));
    EXPECT_EQ(Targets(server), (std::set<std::string>{"/robots.txt", "/private/x.html"}));
    EXPECT_EQ(crawl.Images(), std::set<std::string>{"/ix.jpg"});
}

TEST(PoliteCrawl, RetryAfterIsWaitedForAndGivenUpAfterTwoRetries) {
    struct Case {
        int retrySwitch;
        int laterRequests;    // of /later.html
        int busyRequests;     // of /busy.html
        std::set<std::string> images;
    } cases[] = {
        {1, 2, 3, {"/i0.jpg", "/later.jpg"}},
        {0, 1, 1, {"/i0.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.retrySwitch);
        LoopbackServer server;
        server.Add(Page("/index.html", Html(Img("/i0.jpg") + Link("/later.html") + Link("/busy.html"))));
        PageRow later = Page("/later.html", Html(Img("/later.jpg")));
        later.firstReplies = {{429, {{"Retry-After", "1"}}}};
        server.Add(later);
        PageRow busy = Page("/busy.html", Html(Img("/busy.jpg")));
        busy.firstReplies = {{503, {{"Retry-After", "0"}}}, {503, {{"Retry-After", "0"}}},
                             {503, {{"Retry-After", "0"}}}};
        server.Add(busy);
        Crawl crawl({{keys::ModernRetryAfter, c.retrySwitch}});
        crawl.Run(server.Url("/index.html"));
        EXPECT_EQ(server.Count("/later.html"), c.laterRequests);
        EXPECT_EQ(server.Count("/busy.html"), c.busyRequests);
        EXPECT_EQ(crawl.Images(), c.images);
        if (c.retrySwitch) {
            std::vector<std::chrono::steady_clock::time_point> at;
            for (const auto& r : server.Requests())
                if (r.target == "/later.html") at.push_back(r.at);
            ASSERT_EQ(at.size(), 2u);
            EXPECT_GE(at[1] - at[0], 900ms);
        }
        bool busyFailed = false;
        for (const auto& f : crawl.failures.first) busyFailed = busyFailed || f.find("busy.html") != std::string::npos;
        EXPECT_TRUE(busyFailed);
    }
}

TEST(PoliteCrawl, StopEndsARetryAfterWaitAtOnce) {
    LoopbackServer server;
    PageRow page = Page("/index.html", Html(Img("/i0.jpg")));
    page.firstReplies = {{429, {{"Retry-After", "50"}}}};
    server.Add(page);
    Crawl crawl;
    CrawlPages pages({crawl.internet, InternetOptions{}, crawl.notifier, crawl.lists, crawl.hits, crawl.view});
    kernel k(server.Url("/index.html") + ";",
             KernelContext{crawl.settings, crawl.view, crawl.notifier, pages, nullptr, Pacing::None()});
    k.Start();
    for (int i = 0; i < 400 && server.Count("/index.html") == 0; ++i) std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(100ms);
    const auto before = std::chrono::steady_clock::now();
    k.Stop();
    k.Join();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_EQ(server.Count("/index.html"), 1);
}

TEST(PoliteCrawl, CompressedPagesAreDecodedAndABombIsCapped) {
    const std::string gz = Html(Img("/gz.jpg") + Link("/br.html") + Link("/bomb.html"));
    const std::string br = Html(Img("/br.jpg"));
    struct Case {
        int compression;
        int useSizeLimit;
        std::set<std::string> images;
    } cases[] = {
        {1, 1, {"/gz.jpg", "/br.jpg", "/bomb.jpg"}},
        {1, 0, {"/gz.jpg", "/br.jpg", "/bomb.jpg"}},  // the hard cap holds without the size limit
        {0, 1, {}},  // not asked for: the body is not decoded, nothing read from it
    };
    LoopbackServer server;
    server.Add({"/index.html", 200, {{"Content-Type", "text/html"}, {"Content-Encoding", "gzip"}}, test::Gzip(gz)});
    server.Add({"/br.html", 200, {{"Content-Type", "text/html"}, {"Content-Encoding", "br"}}, test::Brotli(br)});
    // 512 MB of zeros after the picture, half a MB on the wire.
    server.Add({"/bomb.html", 200, {{"Content-Type", "text/html"}, {"Content-Encoding", "gzip"}},
                test::GzipBomb(Html(Img("/bomb.jpg")), std::size_t{512} << 20)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.compression * 10 + c.useSizeLimit);
        server.ClearLog();
        Crawl crawl({{keys::ModernCompression, c.compression}, {keys::CrawlerUseMaxFileSize, c.useSizeLimit}});
        crawl.Run(server.Url("/index.html"), 60s);
        EXPECT_EQ(crawl.Images(), c.images);
        for (const auto& r : server.Requests())
            if (r.target != "/robots.txt") {
                EXPECT_EQ(r.acceptEncoding, c.compression ? "gzip, br" : "") << r.target;
            }
    }
}

TEST(PoliteCrawl, DecodedBodyStopsAtTheCap) {
    LoopbackServer server;
    server.Add({"/bomb", 200, {{"Content-Encoding", "gzip"}}, test::GzipBomb("x", std::size_t{1} << 30)});
    InternetShare share;
    InternetOptions options;
    options.acceptEncoding = true;
    const InternetSession session(share, "t", options);
    auto request = session.OpenRequest(server.Url("/bomb"), nullptr);
    ASSERT_TRUE(request);
    request->SetBodyCap(100000);
    ASSERT_TRUE(request->Send());
    std::string body;
    char block[8192];
    while (const std::size_t n = request->Read(block, sizeof block)) body.append(block, n);
    EXPECT_EQ(body.size(), 100000u);
    EXPECT_EQ(body[0], 'x');
    EXPECT_TRUE(request->Capped());
    EXPECT_FALSE(request->Failed());
}

TEST(PoliteCrawl, PerHostLimitHoldsAcrossWorkers) {
    struct Case {
        int maxPerHost;
        bool limited;
    } cases[] = {{2, true}, {0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxPerHost);
        LoopbackServer server;
        std::string links;
        for (int i = 0; i < 8; ++i) {
            const std::string path = "/p" + std::to_string(i) + ".html";
            links += Link(path);
            PageRow row = Page(path, Html(Img("/i" + std::to_string(i) + ".jpg")));
            row.delayMs = 300;
            server.Add(row);
        }
        server.Add(Page("/index.html", Html(links)));
        Crawl crawl({{keys::ModernMaxPerHost, c.maxPerHost}});
        crawl.Run(server.Url("/index.html"));
        EXPECT_EQ(crawl.Images().size(), 8u);
        if (c.limited) {
            EXPECT_LE(server.PeakConcurrent(), 2);
        } else {
            EXPECT_GT(server.PeakConcurrent(), 2);
        }
    }
}

TEST(PoliteCrawl, CookiesFileOpensTheGuardedGallery) {
    test::TempDir dir;
    const std::string good = dir.File("cookies.txt");
    const std::string cookieText =
        "# Netscape HTTP Cookie File\n"
        "#HttpOnly_127.0.0.1\tFALSE\t/\tFALSE\t0\tsession\tletmein\n"
        "other.example\tFALSE\t/\tFALSE\t0\telse\tx\n";
    std::ofstream(good, std::ios::binary) << cookieText;
    const std::string bad = dir.File("bad.txt");
    std::ofstream(bad, std::ios::binary) << "127.0.0.1 FALSE / FALSE 0 session letmein\n";
    struct Case {
        std::string file;
        std::set<std::string> images;
        int problems;
    } cases[] = {
        {good, {"/i0.jpg", "/g1.jpg", "/g2.jpg"}, 0},
        {"", {"/i0.jpg"}, 0},
        {bad, {"/i0.jpg"}, 1},
        {dir.File("missing.txt"), {"/i0.jpg"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        LoopbackServer server;
        server.Add(Page("/index.html", Html(Img("/i0.jpg") + Link("/gallery.html"))));
        PageRow gallery = Page("/gallery.html", Html(Img("/g1.jpg") + Img("/g2.jpg")));
        gallery.cookie = "session=letmein";
        server.Add(gallery);
        std::vector<std::string> problems;
        SetProblemLogHook([&](const std::string& text) { problems.push_back(text); });
        Crawl crawl;
        crawl.settings.Set(keys::ModernCookies, c.file);
        crawl.Run(server.Url("/index.html"));
        SetProblemLogHook({});
        EXPECT_EQ(crawl.Images(), c.images);
        EXPECT_EQ(static_cast<int>(problems.size()), c.problems);
        for (const auto& r : server.Requests()) EXPECT_EQ(r.cookie.find("else"), std::string::npos);
    }
    std::ifstream in(good, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, cookieText);  // never written back
}

}  // namespace
}  // namespace flk
