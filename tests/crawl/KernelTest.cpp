#include "settings/Settings.h"
#include "crawl/Kernel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <set>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;

namespace {

struct RecordingView : CrawlView {
    CrawlLimits limits;
    bool singlePage = false;
    mutable std::mutex m;
    std::vector<std::pair<std::string, std::string>> tree;
    std::vector<CrawlProgress> progress;
    std::atomic<bool> ended{false};
    std::function<void()> onEnded;

    std::function<void()> onLimits;  // may throw, as a failing window would
    CrawlLimits Limits() const override {
        if (onLimits) onLimits();
        return limits;
    }
    bool SinglePage() const override { return singlePage; }
    SearchOptions Search() const override { return {}; }
    void AddTreeLine(const std::string& item, const std::string& parent) override {
        std::lock_guard<std::mutex> l(m);
        tree.emplace_back(item, parent);
    }
    void ShowProgress(const CrawlProgress& p) override {
        std::lock_guard<std::mutex> l(m);
        progress.push_back(p);
    }
    void StorePage(const StoredPage&) override {}
    void CrawlEnded() override {
        if (onEnded) onEnded();
        ended = true;
    }
};

struct RecordingNotifier : Notifier {
    std::mutex m;
    std::vector<int> codes;
    std::function<long()> answer59 = [] { return 0L; };
    long Send(Notification& n) override {
        if (n.code == notify::AnyCountExceeds) return answer59();
        std::lock_guard<std::mutex> l(m);
        codes.push_back(n.code);
        return 0;
    }
};

// A site as a table: page address -> links on it (absolute). Records which
// pages were fetched; a page may be made to block until the crawl stops.
struct GraphPages : PageHandler {
    std::map<std::string, std::vector<std::string>> links;
    std::map<std::string, std::string> titles;
    std::mutex m;
    std::set<std::string> fetched;
    std::map<std::string, int> depthOf;
    std::string blockOn;
    std::atomic<bool> blocking{false};
    std::string slow;  // this page's links come 50 ms late
    std::chrono::milliseconds each{0};  // every page takes this long
    // Per page in the order they began: the thread and how many pages were
    // in hand at once, this one included.
    std::vector<std::pair<std::thread::id, int>> runs;
    std::atomic<int> inHand{0};

    void HandlePage(PageJob& job) override {
        const std::string url = job.item->url.Full();
        const int together = ++inHand;
        struct Leave {
            std::atomic<int>& n;
            ~Leave() { --n; }
        } leave{inHand};
        {
            std::lock_guard<std::mutex> l(m);
            fetched.insert(url);
            depthOf[url] = job.item->depth;
            runs.emplace_back(std::this_thread::get_id(), together);
        }
        if (each.count() > 0) std::this_thread::sleep_for(each);
        if (url == blockOn) {
            blocking = true;
            while (!job.stop.load()) std::this_thread::sleep_for(1ms);
            return;
        }
        if (url == slow) std::this_thread::sleep_for(50ms);
        auto t = titles.find(url);
        if (t != titles.end()) job.crawl.AddLink("<<" + t->second + ">>", "", job.item->depth, url);
        auto it = links.find(url);
        if (it == links.end()) return;
        for (const auto& link : it->second) job.crawl.AddLink(link, "", job.item->depth + 1, url);
    }
};

struct Harness {
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    RecordingView view;
    RecordingNotifier notifier;
    GraphPages pages;

    KernelContext Context() { return KernelContext{settings, view, notifier, pages, nullptr, Pacing::None()}; }

    // Runs a crawl to its end (bounded) and returns the fetched pages.
    std::set<std::string> Crawl(const std::string& start) {
        kernel k(start, Context());
        k.Start();
        for (int i = 0; i < 3000 && !view.ended; ++i) std::this_thread::sleep_for(5ms);
        EXPECT_TRUE(view.ended.load()) << "crawl did not end";
        k.Join();
        lastAccepted = k.AcceptedPages();
        lastParsed = k.ParsedPages();
        return pages.fetched;
    }
    int lastAccepted = 0;
    int lastParsed = 0;
};

std::string Page(const std::string& host, int n) { return "http://" + host + "/p" + std::to_string(n) + ".html"; }

}  // namespace

TEST(Kernel, StartLocationsAreCompletedAndQueuedOnce) {
    Harness h;
    auto fetched = h.Crawl("a.example; b.example/x/;a.example;ignored.example");
    EXPECT_EQ(fetched, (std::set<std::string>{"http://a.example", "http://b.example/x/"}));
    EXPECT_EQ(h.pages.depthOf["http://a.example"], 0);
    EXPECT_EQ(h.lastParsed, 2);
    ASSERT_FALSE(h.notifier.codes.empty());
    EXPECT_EQ(h.notifier.codes.back(), notify::SearchEnded);
}

TEST(Kernel, DepthLimitFetchesTheMaximumDepthButNotOneMore) {
    Harness h;
    h.view.limits.maxDepth = 2;
    for (int i = 0; i < 5; ++i) h.pages.links[i == 0 ? "http://s.example/" : Page("s.example", i)] = {Page("s.example", i + 1)};
    auto fetched = h.Crawl("s.example/;");
    EXPECT_EQ(fetched, (std::set<std::string>{"http://s.example/", Page("s.example", 1), Page("s.example", 2)}));
}

TEST(Kernel, PageLimitCountsAcceptedPages) {
    Harness h;
    h.view.limits.maxPages = 4;
    h.settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
    for (int i = 1; i <= 20; ++i) h.pages.links["http://s.example/"].push_back(Page("s.example", i));
    auto fetched = h.Crawl("s.example/;");
    EXPECT_EQ(fetched.size(), 4u);
    EXPECT_EQ(h.lastAccepted, 4);
}

TEST(Kernel, PagesPerSiteCountsEveryLinkThatReachesTheTest) {
    Harness h;
    h.settings.Set(keys::CrawlerPagesPerSite, 10);
    h.view.limits.maxDepth = 1;
    // The start page is link 1 of the site; links 2-10 include two that are
    // too deep to fetch but still count, so link 11 is refused.
    h.pages.links["http://s.example/"] = {Page("s.example", 1), Page("s.example", 2)};
    for (int i = 3; i <= 12; ++i) h.pages.links[Page("s.example", 1)].push_back(Page("s.example", i));
    // Links count in the order they arrive: page 1's must not overtake the
    // start page's second link on a busy machine.
    h.pages.slow = Page("s.example", 1);
    auto fetched = h.Crawl("s.example/;");
    EXPECT_TRUE(fetched.count(Page("s.example", 2)));
    EXPECT_FALSE(fetched.count(Page("s.example", 3)));  // depth 2: refused but counted
    EXPECT_EQ(fetched.size(), 3u);
    EXPECT_EQ(h.lastAccepted, 3);
}

TEST(Kernel, StayInDomainWithDomainLevels) {
    const char* other = "http://other.example/o.html";
    const char* third = "http://third.example/t.html";
    for (int level : {0, 1}) {
        Harness h;
        h.settings.Set(keys::CrawlerDomainLevel, level);
        h.settings.Set(keys::TreeShowTree, std::string("1"));
        h.settings.Set(keys::ViewTree, std::string("1"));
        h.settings.Set(keys::TreeShowExternal, std::string("1"));
        h.pages.links["http://s.example/"] = {other, "http://s.example/in.html"};
        h.pages.links[other] = {third, "http://other.example/o2.html"};
        auto fetched = h.Crawl("s.example/;");
        if (level == 0) {
            EXPECT_EQ(fetched, (std::set<std::string>{"http://s.example/", "http://s.example/in.html"}));
        } else {
            // The other host becomes a start site; its own links are taken,
            // links from it to a third host are refused.
            EXPECT_EQ(fetched, (std::set<std::string>{"http://s.example/", "http://s.example/in.html", other,
                                                      "http://other.example/o2.html"}));
        }
        // Refused external links still show with "show external links".
        bool thirdShown = false, otherShown = false;
        for (auto& [item, parent] : h.view.tree) {
            thirdShown |= item == third;
            otherShown |= item == other;
        }
        EXPECT_TRUE(otherShown);
        EXPECT_EQ(thirdShown, level == 1);
    }
}

TEST(Kernel, StayInDirectoryAndDontVisit) {
    Harness h;
    h.settings.Set(keys::CrawlerDontVisitChk, std::string("1"));
    h.settings.Set(keys::CrawlerDontVisit, std::string("s.example:81;"));
    h.settings.Set(keys::CrawlerStayInDomain, std::string("0"));
    h.pages.links["http://s.example/a/"] = {"http://s.example/a/b/x.html", "http://s.example/up.html",
                                            "http://s.example:81/blocked.html"};
    auto fetched = h.Crawl("s.example/a/;");
    // Without stay-in-domain the directory rule does not apply.
    EXPECT_EQ(fetched, (std::set<std::string>{"http://s.example/a/", "http://s.example/a/b/x.html",
                                              "http://s.example/up.html"}));

    Harness d;
    d.pages.links = h.pages.links;
    fetched = d.Crawl("s.example/a/;");
    EXPECT_EQ(fetched, (std::set<std::string>{"http://s.example/a/", "http://s.example/a/b/x.html"}));
}

// A title line needs show titles, show tree and the tree pane: with the
// pane switched off the tree collects nothing at all.
TEST(Kernel, TitleLinesShowOnlyWithTitlesAndTree) {
    for (int mask = 0; mask < 8; ++mask) {
        Harness h;
        h.settings.Set(keys::TreeShowTitles, std::string(mask & 1 ? "1" : "0"));
        h.settings.Set(keys::TreeShowTree, std::string(mask & 2 ? "1" : "0"));
        h.settings.Set(keys::ViewTree, std::string(mask & 4 ? "1" : "0"));
        h.pages.titles["http://s.example/"] = "Home";
        h.Crawl("s.example/;");
        bool titleShown = false;
        for (auto& [item, parent] : h.view.tree)
            if (item == "<<Home>>") titleShown = parent == "http://s.example/";
        EXPECT_EQ(titleShown, mask == 7) << mask;
        if (!(mask & 4)) {
            EXPECT_TRUE(h.view.tree.empty()) << mask;
        }
    }
}

TEST(Kernel, StopEndsWorkersWithoutCountingThem) {
    Harness h;
    h.pages.blockOn = "http://s.example/";
    kernel k("s.example/;", h.Context());
    k.Start();
    for (int i = 0; i < 2000 && !h.pages.blocking; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(h.pages.blocking.load());
    EXPECT_EQ(k.RunningWorkers(), 1);
    k.Stop();
    k.Join();
    EXPECT_TRUE(h.view.ended.load());
    EXPECT_EQ(k.ParsedPages(), 0);
    EXPECT_EQ(k.RunningWorkers(), 0);
}

std::set<std::thread::id> ThreadsOf(const std::vector<std::pair<std::thread::id, int>>& runs) {
    std::set<std::thread::id> ids;
    for (const auto& r : runs) ids.insert(r.first);
    return ids;
}

// Workers are reused from page to page: never more threads than the limit,
// every page once, each counted.
TEST(Kernel, WorkersAreReusedWithinTheThreadLimit) {
    Harness h;
    h.view.limits.maxThreads = 3;
    h.settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
    h.pages.each = 2ms;
    for (int i = 1; i <= 60; ++i) h.pages.links["http://s.example/"].push_back(Page("s.example", i));
    auto fetched = h.Crawl("s.example/;");
    EXPECT_EQ(fetched.size(), 61u);
    EXPECT_EQ(h.pages.runs.size(), 61u);
    EXPECT_EQ(h.lastParsed, 61);
    EXPECT_LE(ThreadsOf(h.pages.runs).size(), 3u);
    for (const auto& r : h.pages.runs) EXPECT_LE(r.second, 3);
}

// A limit lowered during the crawl: the waiting workers beyond it end, and
// the pages after that run one at a time on the one thread left.
TEST(Kernel, ALoweredThreadLimitEndsTheWorkersBeyondIt) {
    Harness h;
    h.view.limits.maxThreads = 4;
    h.settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
    h.pages.each = 2ms;
    for (int i = 1; i <= 80; ++i) h.pages.links["http://s.example/"].push_back(Page("s.example", i));
    // Read on the kernel's thread, so the change needs no lock of its own.
    h.view.onLimits = [&] {
        std::lock_guard<std::mutex> l(h.pages.m);
        if (h.pages.runs.size() >= 20) h.view.limits.maxThreads = 1;
    };
    auto fetched = h.Crawl("s.example/;");
    EXPECT_EQ(fetched.size(), 81u);
    EXPECT_EQ(h.lastParsed, 81);
    EXPECT_GT(ThreadsOf({h.pages.runs.begin(), h.pages.runs.begin() + 20}).size(), 1u);
    const std::vector<std::pair<std::thread::id, int>> last(h.pages.runs.end() - 20, h.pages.runs.end());
    EXPECT_EQ(ThreadsOf(last).size(), 1u);
    for (const auto& r : last) EXPECT_EQ(r.second, 1);
}

TEST(Kernel, AFoundCountAboveTheLimitStopsTheCrawl) {
    Harness h;
    std::atomic<int> asked{0};
    h.notifier.answer59 = [&] { return ++asked > 3 ? 1L : 0L; };
    h.settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
    for (int i = 1; i <= 50; ++i) h.pages.links["http://s.example/"].push_back(Page("s.example", i));
    auto fetched = h.Crawl("s.example/;");
    EXPECT_LT(fetched.size(), 10u);
}

TEST(Kernel, PauseHoldsNewWorkersUntilResume) {
    Harness h;
    h.settings.Set(keys::CrawlerPagesPerDomainLimit, 0);
    for (int i = 1; i <= 5; ++i) h.pages.links["http://s.example/"].push_back(Page("s.example", i));
    kernel k("s.example/;", h.Context());
    k.Pause();
    k.Start();
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(h.pages.fetched.empty());
    k.Resume();
    for (int i = 0; i < 2000 && !h.view.ended; ++i) std::this_thread::sleep_for(2ms);
    k.Join();
    EXPECT_EQ(h.pages.fetched.size(), 6u);
}

TEST(Kernel, ProgressNeverGoesBelowZeroAndSinglePageShowsOne) {
    Harness h;
    h.view.singlePage = true;
    h.view.limits.maxPages = 1;
    h.pages.links["http://s.example/"] = {Page("s.example", 1)};
    h.Crawl("s.example/;");
    for (const auto& p : h.view.progress) {
        EXPECT_GE(p.barPos, 0);
        EXPECT_LE(p.pagesFound, 1);
        EXPECT_LE(p.pagesParsed, 1);
    }
}

// A found count above the limit cancels the workers, but one may still queue
// a media check before it notices; the crawl counts as over only when that
// check is done too.
TEST(Kernel, CountLimitEndWaitsForChecksOfCancelledWorkers) {
    struct Checks : PendingChecks {
        std::atomic<int> pending{0};
        int PendingCount() const override { return pending.load(); }
        void WaitUntilNonePending(const std::atomic<bool>& stop) const override {
            while (pending.load() > 0 && !stop.load()) std::this_thread::sleep_for(1ms);
        }
    } checks;
    struct LateMedium : PageHandler {
        Checks& checks;
        std::atomic<bool> started{false};
        explicit LateMedium(Checks& c) : checks(c) {}
        void HandlePage(PageJob& job) override {
            started = true;
            while (!job.stop.load()) std::this_thread::sleep_for(1ms);
            std::this_thread::sleep_for(50ms);
            ++checks.pending;
        }
    } pages(checks);
    // The checker: a queued check takes a while.
    std::atomic<bool> done{false};
    std::thread checker([&] {
        while (!done && checks.pending == 0) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(100ms);
        checks.pending = 0;
    });

    Harness h;
    h.notifier.answer59 = [&] { return pages.started.load() ? 1L : 0L; };
    std::atomic<int> pendingAtEnd{-1};
    h.view.onEnded = [&] { pendingAtEnd = checks.pending.load(); };
    {
        kernel k("s.example/;", KernelContext{h.settings, h.view, h.notifier, pages, &checks, Pacing::None()});
        k.Start();
        for (int i = 0; i < 3000 && !h.view.ended; ++i) std::this_thread::sleep_for(2ms);
        EXPECT_TRUE(h.view.ended.load());
    }
    done = true;
    checker.join();
    EXPECT_EQ(pendingAtEnd.load(), 0);
}

// A failure inside the kernel's thread (out of memory, a library's
// exception) ends the crawl, not the program: the status line says so, the
// workers are joined and the window hears of the end.
TEST(Kernel, AFailureInTheKernelEndsTheCrawlCleanly) {
    Harness h;
    h.pages.links[Page("a.example", 0)] = {Page("a.example", 1), Page("a.example", 2)};
    std::atomic<int> calls{0};
    h.view.onLimits = [&] {
        if (++calls == 3) throw std::bad_alloc();
    };
    h.Crawl(Page("a.example", 0) + ";");
    std::lock_guard<std::mutex> l(h.view.m);
    bool said = false;
    for (const CrawlProgress& p : h.view.progress) said |= p.status == std::string(kCrawlFailed) + "std::bad_alloc";
    EXPECT_TRUE(said);
    EXPECT_EQ(h.notifier.codes, std::vector<int>{notify::SearchEnded});
}

// Answers the password question only when told to, or drops it once the
// worker that asks is stopped (as the windows' notifier does).
struct QuestionNotifier : Notifier {
    std::mutex m;
    std::condition_variable cv;
    bool asked = false;
    bool released = false;
    std::atomic<bool> overLimit{false};
    long Send(Notification& n) override {
        if (n.code == notify::AnyCountExceeds) return overLimit ? 1 : 0;
        if (n.code != notify::PasswordNeeded) return 0;
        std::unique_lock<std::mutex> l(m);
        asked = true;
        cv.notify_all();
        cv.wait(l, [&] { return released || (n.senderStop && n.senderStop->load() && dropped); });
        return 0;
    }
    void DropStopped() override {
        std::lock_guard<std::mutex> l(m);
        dropped = true;
        cv.notify_all();
    }
    void Release() {
        std::lock_guard<std::mutex> l(m);
        released = true;
        cv.notify_all();
    }
    bool dropped = false;
};

struct AskingPages : PageHandler {
    Notifier& notifier;
    explicit AskingPages(Notifier& n) : notifier(n) {}
    void HandlePage(PageJob& job) override {
        Notification question;
        question.code = notify::PasswordNeeded;
        question.text = job.item->url.Full();
        question.senderStop = &job.stop;
        notifier.Send(question);
    }
};

// A worker waiting on the password question never holds up the end of the
// crawl: stopped from the window, or ended by the kernel itself, the
// question is dropped and the crawl ends at once.
TEST(Kernel, AWorkerWaitingOnAQuestionIsStoppedAtOnce) {
    for (const bool byWindow : {true, false}) {
        SCOPED_TRACE(byWindow ? "stopped by the window" : "ended by the count limit");
        test::TempDir dir;
        Settings settings{dir.File("flk.ini"), dir.Path()};
        RecordingView view;
        QuestionNotifier notifier;
        AskingPages pages(notifier);
        kernel k(Page("a.example", 0) + ";", KernelContext{settings, view, notifier, pages, nullptr, Pacing::None()});
        ASSERT_TRUE(k.Start());
        {
            std::unique_lock<std::mutex> l(notifier.m);
            ASSERT_TRUE(notifier.cv.wait_for(l, 10s, [&] { return notifier.asked; }));
        }
        const auto start = std::chrono::steady_clock::now();
        std::thread window;
        if (byWindow) {
            window = std::thread([&] { k.Stop(); });
        } else {
            notifier.overLimit = true;
            std::this_thread::sleep_for(50ms);
            window = std::thread([&] { k.Stop(); });  // the window stops it while it ends
        }
        while (!view.ended && std::chrono::steady_clock::now() - start < 1s) std::this_thread::sleep_for(5ms);
        EXPECT_TRUE(view.ended.load());
        notifier.Release();  // lets a crawl that did not end go, so the test itself ends
        window.join();
        k.Join();
    }
}
