// Whole crawls of a generated site over loopback: real fetcher, parser,
// kernel and lists, checked against the site's own ground truth.
#include "settings/Settings.h"
#include "crawl/CrawlPages.h"
#include "crawl/Kernel.h"
#include "lists/MediaLists.h"
#include "net/InternetShare.h"
#include "search/HitList.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <map>
#include <set>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

// A site per host: a tree of pages (branching 3, depth 4: 121 pages), each
// linking to its children, its ancestors and the home page (links that can
// never make a page look shallower than it is), with a large image of its
// own, a small one (not "pure"), a shared logo, and on some pages a sound, a
// movie and a link to another host's home page.
struct Site {
    std::unique_ptr<test::LoopbackServer> server = std::make_unique<test::LoopbackServer>();
    std::string name;
    std::map<std::string, int> depthOf;       // page URL -> tree depth
    std::map<std::string, std::set<std::string>> imagesOf, soundsOf, moviesOf;
    std::string Home() const { return server->Url("/index.html"); }
};

std::string PagePath(const std::string& id) { return id.empty() ? "/index.html" : "/p" + id + ".html"; }

void Build(Site& site, const std::string& name, const std::vector<std::string>& otherHomes) {
    site.name = name;
    std::map<std::string, std::string> parentOf;
    std::vector<std::string> ids{""};
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (ids[i].size() < 4)
            for (char c : {'0', '1', '2'}) {
                ids.push_back(ids[i] + c);
                parentOf[ids.back()] = ids[i];
            }
    for (const std::string& id : ids) {
        const std::string url = site.server->Url(PagePath(id));
        site.depthOf[url] = static_cast<int>(id.size());
        std::string body = "<html><head><title>" + name + " page " + id + "</title></head><body>\n";
        for (char c : {'0', '1', '2'})
            if (id.size() < 4) body += "<a href=\"" + PagePath(id + c).substr(1) + "\">child " + c + "</a>\n";
        for (std::string a = id; !a.empty();) {
            a = parentOf[a];
            body += "<a href='" + PagePath(a) + "'>up</a>\n";
        }
        const std::string big = "/img/big" + id + ".jpg";
        body += "<img src=\"" + big + "\" width=\"300\" height=\"200\" alt=\"Picture " + id + "\">\n";
        body += "<img src=\"/img/small" + id + ".gif\" width=\"40\" height=\"40\">\n";
        body += "<IMG SRC=\"/img/LOGO.JPG\">\n";
        site.imagesOf[url] = {site.server->Url(big), site.server->Url("/img/LOGO.JPG")};
        if (id.size() == 2) {
            body += "<a href=\"/snd/s" + id + ".wav\">song</a> <embed src=\"/mov/m" + id + ".avi\">\n";
            site.soundsOf[url] = {site.server->Url("/snd/s" + id + ".wav")};
            site.moviesOf[url] = {site.server->Url("/mov/m" + id + ".avi")};
        }
        if (id == "1" || id == "21")
            for (const auto& other : otherHomes) body += "<a href=\"" + other + "\">elsewhere</a>\n";
        site.server->Add({PagePath(id), 200, {{"Content-Type", "text/html"}}, body + "</body></html>\n"});
    }
}

struct View : CrawlView {
    CrawlLimits limits{10, 100, 100000};
    SearchOptions search;
    std::atomic<bool> ended{false};
    CrawlLimits Limits() const override { return limits; }
    bool SinglePage() const override { return limits.maxPages == 1; }
    SearchOptions Search() const override { return search; }
    void AddTreeLine(const std::string&, const std::string&) override {}
    void ShowProgress(const CrawlProgress&) override {}
    void StorePage(const StoredPage&) override {}
    void CrawlEnded() override { ended = true; }
};

struct Crawl {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    View view;
    NullNotifier notifier;
    InternetShare internet;
    MediaLists lists;
    HitList hits;

    Crawl() {
        settings.WriteDefaults();
        settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
        for (const StrKey& k : {keys::ViewImages, keys::ViewSounds, keys::ViewMovies}) settings.Set(k, std::string("1"));
    }

    std::set<std::string> Run(const std::string& start, const std::vector<const Site*>& sites) {
        for (const Site* s : sites) s->server->ClearLog();
        CrawlPages pages({internet, InternetOptions{}, notifier, lists, hits, view});
        {
            kernel k(start + ";", KernelContext{settings, view, notifier, pages, nullptr, Pacing::None()});
            k.Start();
            for (int i = 0; i < 6000 && !view.ended; ++i) std::this_thread::sleep_for(5ms);
            EXPECT_TRUE(view.ended.load());
            parsed = k.ParsedPages();
        }
        failures = pages.Failures().Get();
        std::set<std::string> fetched;
        for (const Site* s : sites)
            for (const auto& r : s->server->Requests())
                if (r.target != "/robots.txt") fetched.insert(s->server->Url(r.target));  // none: all allowed
        return fetched;
    }

    std::set<std::string> Column(const MediaList& list) const {
        std::set<std::string> out;
        for (std::size_t r = 0; r < list.RowCount(); ++r) out.insert(list.RowUrl(r));
        return out;
    }
    int parsed = 0;
    FetchFailures::Summary failures;
};

template <class Pred>
std::set<std::string> Pages(const Site& s, Pred keep) {
    std::set<std::string> out;
    for (const auto& [url, depth] : s.depthOf)
        if (keep(depth)) out.insert(url);
    return out;
}

std::set<std::string> MediaOf(const std::map<std::string, std::set<std::string>>& byPage,
                              const std::set<std::string>& pages) {
    std::set<std::string> out;
    for (const auto& p : pages) {
        auto it = byPage.find(p);
        if (it != byPage.end()) out.insert(it->second.begin(), it->second.end());
    }
    return out;
}

struct ThreeSites {
    Site a, b, c;
    ThreeSites() {
        Build(c, "C", {});
        Build(b, "B", {c.Home()});
        Build(a, "A", {b.Home()});
    }
};

}  // namespace

TEST(CrawlSite, StaysOnItsSiteAndFindsEveryPageAndMedium) {
    ThreeSites s;
    Crawl crawl;
    const auto fetched = crawl.Run(s.a.Home(), {&s.a, &s.b, &s.c});
    const auto all = Pages(s.a, [](int) { return true; });
    EXPECT_EQ(fetched, all);
    EXPECT_EQ(crawl.parsed, 121);
    EXPECT_EQ(crawl.Column(crawl.lists.images), MediaOf(s.a.imagesOf, all));
    EXPECT_EQ(crawl.Column(crawl.lists.sounds), MediaOf(s.a.soundsOf, all));
    // Movies are kept without "http://".
    std::set<std::string> movies;
    for (const auto& m : MediaOf(s.a.moviesOf, all)) movies.insert(m);
    EXPECT_EQ(crawl.Column(crawl.lists.movies), movies);
}

TEST(CrawlSite, DepthLimitTakesTheMaximumDepthAndNoMore) {
    ThreeSites s;
    Crawl crawl;
    crawl.view.limits.maxDepth = 2;
    EXPECT_EQ(crawl.Run(s.a.Home(), {&s.a}), Pages(s.a, [](int d) { return d <= 2; }));
    EXPECT_EQ(crawl.Column(crawl.lists.images), MediaOf(s.a.imagesOf, Pages(s.a, [](int d) { return d <= 2; })));
}

TEST(CrawlSite, DomainLevelOneTakesTheNextSiteButNotTheOneAfter) {
    ThreeSites s;
    Crawl crawl;
    crawl.settings.Set(keys::CrawlerDomainLevel, 1);
    const auto fetched = crawl.Run(s.a.Home(), {&s.a, &s.b, &s.c});
    auto expected = Pages(s.a, [](int) { return true; });
    const auto bPages = Pages(s.b, [](int) { return true; });
    expected.insert(bPages.begin(), bPages.end());
    EXPECT_EQ(fetched, expected);
}

TEST(CrawlSite, PageLimitsAndPerSiteLimit) {
    ThreeSites s;
    {
        Crawl crawl;
        crawl.view.limits.maxPages = 30;
        EXPECT_EQ(crawl.Run(s.a.Home(), {&s.a}).size(), 30u);
    }
    {
        Crawl crawl;
        crawl.settings.Set(keys::CrawlerPagesPerDomainLimit, 1);
        crawl.settings.Set(keys::CrawlerPagesPerSite, 10);
        crawl.settings.Set(keys::CrawlerDomainLevel, 1);
        const auto fetched = crawl.Run(s.a.Home(), {&s.a, &s.b});
        std::size_t onA = 0, onB = 0;
        for (const auto& f : fetched) (s.a.depthOf.count(f) ? onA : onB)++;
        EXPECT_EQ(onA, 10u);
        EXPECT_LE(onB, 10u);
    }
}

TEST(CrawlSite, FilterAndTextSearch) {
    ThreeSites s;
    Crawl crawl;
    crawl.settings.Set(keys::CrawlerFilter, std::string("*/p1*"));
    crawl.view.search.text = "\"A page 12\"";
    const auto fetched = crawl.Run(s.a.Home(), {&s.a});
    // The start page, then only links that pass the filter: the branch under "1".
    auto expected = Pages(s.a, [](int) { return false; });
    for (const auto& [url, depth] : s.a.depthOf)
        if (url == s.a.Home() || url.find("/p1") != std::string::npos) expected.insert(url);
    EXPECT_EQ(fetched, expected);
    EXPECT_EQ(crawl.hits.RowCount(), 13u);  // page "12" and its twelve descendants carry the phrase
}

// A crawl that waits on one slow page waits: it does not pass again and
// again while nothing can happen (the kernel used a whole core for that).
TEST(CrawlSite, WaitingOnASlowPageCostsNoCpu) {
    test::LoopbackServer server;
    server.Add({.path = "/index.html", .body = "<a href=\"slow.html\">slow</a>"});
    server.Add({.path = "/slow.html", .body = "late", .delayMs = 2000});
    Crawl c;
    const auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return t.tv_sec + t.tv_nsec / 1e9;
    };
    const double before = cpu();
    const auto start = std::chrono::steady_clock::now();
    c.Run(server.Url("/index.html"), {});
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double used = cpu() - before;
    EXPECT_GE(wall, 1.9);
    EXPECT_LT(used, 0.25 * wall) << used << " s CPU in " << wall << " s";
    std::printf("slow page: %.3f s CPU in %.2f s\n", used, wall);
}

// A server that drips a page just fast enough to pass the low-speed test
// holds it only as long as the request time limit: the page is then a
// failed page like any other, and the crawl ends.
TEST(CrawlSite, APageCutByTheTimeLimitIsAFailedPage) {
    test::LoopbackServer server;
    server.Add({.path = "/index.html", .body = "<a href=\"drip.html\">drip</a>"});
    server.Add({.path = "/drip.html", .body = std::string(40, 'x'), .mode = test::ReplyMode::Dripping,
                .dripDelayMs = 200, .dripChunk = 1});  // 5 bytes a second: 8 s in all
    Crawl c;
    c.settings.Set(keys::CrawlerPageTimeout, 1);
    const auto start = std::chrono::steady_clock::now();
    c.Run(server.Url("/index.html"), {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(c.failures.failed, 1);
    ASSERT_EQ(c.failures.first.size(), 1u);
    EXPECT_EQ(c.failures.first[0], server.Url("/drip.html") + ": Error reading " + server.Url("/drip.html"));
}
