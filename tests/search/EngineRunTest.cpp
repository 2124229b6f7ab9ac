#include "settings/Settings.h"
#include "search/CategorySearch.h"
#include "search/EngineSearch.h"
#include "search/FetchCategory.h"
#include "search/SearchEngineThread.h"
#include "search/YahooThread.h"
#include "net/RequestTimeLimit.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "update/UpdateFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>
#include <tuple>

namespace flk {
namespace {

using test::LoopbackServer;
using test::PageRow;
using test::ReplyMode;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

struct Receiver : FoundAddressReceiver {
    std::vector<std::tuple<std::string, std::string, HandOverMode>> calls;
    void TakeFoundAddresses(const std::string& q, const std::string& a, HandOverMode m) override {
        calls.emplace_back(q, a, m);
    }
};

struct EndNotifier : Notifier {
    std::vector<long> ended;
    long Send(Notification& n) override {
        if (n.code == notify::SearchEnded) ended.push_back(n.value);
        return 0;
    }
};

struct Messages : CategoryUi {
    std::vector<std::string> shown;
    void ShowInformation(const std::string& text) override { shown.push_back(text); }
};

// Answers the category dialog with a fixed result.
struct FixedCategoryAnswer : EngineSearchUi {
    int answer = kCategoryOk;
    int RunCategoryDialog(const CategoryRequest&, SafetyScope, std::vector<std::string>&) override {
        return answer;
    }
};

std::set<std::string> SplitAddresses(const std::string& joined) {
    std::set<std::string> out;
    std::size_t pos = 0;
    for (std::size_t semi; (semi = joined.find(';', pos)) != std::string::npos; pos = semi + 1)
        out.insert(joined.substr(pos, semi - pos));
    return out;
}

std::string Links(std::initializer_list<const char*> hrefs) {
    std::string body = "<html><body>\n";
    for (const char* h : hrefs) body += std::string("<a href=\"") + h + "\">link</a>\n";
    return body + "</body></html>";
}

// Every outside host is a name on one loopback server.
class EngineRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const StrKey& k : {hosts::Altavista, hosts::WebCrawler, hosts::HotBot, hosts::Directory})
            settings.Set(k, std::string(k.def) + ":" + std::to_string(server.Port()));
        settings.Set(keys::SearchCategoriesAmount, 10);
    }
    InternetOptions Net() const {
        InternetOptions o;
        o.access = InternetAccess::Direct;
        o.connectTimeoutMs = 2000;
        o.lowSpeedTimeS = 2;
        for (const char* h : {"altavista.search.example", "webcrawler.search.example",
                              "hotbot.search.example", "directory.search.example", "plain.example"})
            for (const std::string& e : server.ResolveEntries(h)) o.resolve.push_back(e);
        return o;
    }
    std::string Dir(const std::string& path) const {
        return "http://directory.search.example:" + std::to_string(server.Port()) + path;
    }
    // Engine list: Altavista, Web crawler, then the directory.
    void WriteEngines() {
        std::string t = "<engines>[Altavista]url1=\"-\"[Web crawler]url1=\"-\"[Looksmart]";
        for (int n = 1; n <= 3; ++n)
            t += "url" + std::to_string(n) + "=\"" + Dir("/r_search?look=x&izm" + std::to_string(n)) +
                 "&key=%search%&skip=%from%\"";
        dir.Write("data.txt", t + "</engines>");
    }
    CategoryContext Categories() { return {settings, updateFile, share, Net(), messages}; }
    std::unique_ptr<EngineSearch> Search(EngineSearchUi* ui = nullptr) {
        return std::make_unique<EngineSearch>(EngineSearchContext{settings, updateFile, share, Net(),
                                                                  notifier, receiver, ui ? *ui : unattended});
    }
    static int RunToEnd(EngineSearch& s, double limitS = 15) {
        const auto start = Clock::now();
        while (s.Result() == 0 && SecondsSince(start) < limitS) {
            s.Tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return s.Result();
    }
    std::string DirectoryReply() const {
        return "U=" + Dir("/cat/Arts/") + "\nT=Arts\nR=about arts\nF=... - Arts\n" +
               "U=http://plain.example/page.html\nT=Plain\n" + "U=" + Dir("/cat/Science/") +
               "\r\nR=about physics\r\nF=... - Science - Physics\r\n";
    }

    LoopbackServer server;
    InternetShare share;
    test::TempDir dir;
    Settings settings{dir.File("flk.ini"), dir.Path()};
    UpdateFile updateFile{dir.Path()};
    Receiver receiver;
    EndNotifier notifier;
    Messages messages;
    UnattendedCategoryDialog unattended{Categories()};
};

TEST_F(EngineRunTest, AltavistaPagesGiveFilteredAddresses) {
    WriteEngines();
    server.Add({.path = "/cgi-bin/query",
                .body = Links({"http://site-a.example/1.html", "HTTP://Site-B.example/", "/relative.html",
                               "http://www.altavista.search.example/ad", "http://site-a.example/1.html",
                               "https://secure.example/p", "mailto:x@y.example"})});
    auto s = Search();
    ASSERT_TRUE(s->Open("cats & dogs=1", false));
    EXPECT_EQ(s->Engines(), (std::vector<std::string>{"Altavista", "Web crawler", "Looksmart"}));
    s->GetFields().maxPages = 25;
    ASSERT_TRUE(s->Go());
    EXPECT_EQ(s->View().status, "Searching the web using Altavista...");
    EXPECT_FALSE(s->View().fieldsEnabled);
    EXPECT_EQ(RunToEnd(*s), EngineSearch::kHandedOver);

    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(std::get<0>(receiver.calls[0]), "cats & dogs=1");
    EXPECT_EQ(std::get<1>(receiver.calls[0]),
              "http://site-a.example/1.html;HTTP://Site-B.example/;https://secure.example/p;");
    EXPECT_EQ(std::get<2>(receiver.calls[0]), HandOverMode::StartCrawling);
    EXPECT_TRUE(notifier.ended.empty());
    for (int n : {0, 10, 20})
        EXPECT_EQ(server.Count("/cgi-bin/query?pg=aq&what=web&kl=XX&q=cats+&+dogs=1&navig10.x=9&navig" +
                               std::to_string(n) + ".y=9"),
                  1);
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[0].agent, "Explorer");
    const auto view = s->View();
    EXPECT_EQ(view.found, 3);
    EXPECT_EQ(view.progressRange, 15);
    EXPECT_EQ(view.progressPosition, 12);
    EXPECT_EQ(settings.Get(keys::SearchEngineLine), "cats & dogs=1");
    EXPECT_NE(dir.Read("flk.ini").find("engineline=\"cats & dogs=1\""), std::string::npos);
}

TEST_F(EngineRunTest, UserEngineFromTheProfileIsHarvestedAfterTheUpdateEngines) {
    WriteEngines();
    const std::string engine = "http://127.0.0.1:" + std::to_string(server.Port());
    settings.WriteProfileString(kUserEnginesSection, "Home search",
                                engine + "/search?q={query}&format=html&pageno={page} max_pages=2");
    server.Add({.path = "/search?q=red+cats&format=html&pageno=1",
                .body = Links({"http://site-a.example/", (engine + "/search?q=red+cats&pageno=2").c_str(),
                               (engine + "/about").c_str(), "/preferences", "http://site-b.example/x.html"})});
    server.Add({.path = "/search?q=red+cats&format=html&pageno=2",
                .body = Links({"http://site-b.example/x.html", "https://site-c.example/"})});
    auto s = Search();
    ASSERT_TRUE(s->Open("red cats", false));
    EXPECT_EQ(s->Engines(), (std::vector<std::string>{"Altavista", "Web crawler", "Looksmart", "Home search"}));
    s->GetFields().engineIndex = 3;
    ASSERT_TRUE(s->Go());
    EXPECT_EQ(s->View().status, "Searching the web using Home search...");
    EXPECT_EQ(RunToEnd(*s), EngineSearch::kHandedOver);
    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(SplitAddresses(std::get<1>(receiver.calls[0])),
              (std::set<std::string>{"http://site-a.example/", "http://site-b.example/x.html", "https://site-c.example/"}));
    EXPECT_EQ(server.Requests().size(), 2u);  // max_pages holds however many "Max pages amount:" allows
}

TEST_F(EngineRunTest, MaxPagesStopsTheRunAtTheNextTick) {
    WriteEngines();
    std::vector<std::string> many;
    for (int i = 0; i < 40; ++i) many.push_back("http://s" + std::to_string(i) + ".example/");
    std::string body;
    for (const auto& m : many) body += "<a href=" + m + ">";
    server.Add({.path = "/cgi-bin/query?pg=aq&what=web&kl=XX&q=x&navig10.x=9&navig0.y=9", .body = body});
    server.Add({.path = "/cgi-bin/query?pg=aq&what=web&kl=XX&q=x&navig10.x=9&navig10.y=9",
                .mode = ReplyMode::Stalled});
    auto s = Search();
    s->Open("x", false);
    s->GetFields().maxPages = 15;
    s->GetFields().whenFinished.SetViewList(true);
    ASSERT_TRUE(s->Go());
    const auto start = Clock::now();
    EXPECT_EQ(RunToEnd(*s), EngineSearch::kEndedWithout);
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(s->Running(), 0);
    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(SplitAddresses(std::get<1>(receiver.calls[0])).size(), 15u);
    EXPECT_EQ(std::get<1>(receiver.calls[0]).rfind("http://s0.example/;http://s1.example/;", 0), 0u);
    EXPECT_EQ(std::get<2>(receiver.calls[0]), HandOverMode::ViewList);
}

TEST_F(EngineRunTest, NothingFoundAndRefusedCategoryDialog) {
    WriteEngines();
    server.Add({.path = "/cgi-bin/WebQuery", .body = Links({"http://www.looksmart.example/", "/x"})});
    settings.Set(keys::SearchEngine, 1);
    auto s = Search();
    s->Open("", false);
    s->GetFields().maxPages = 5;
    s->Go();
    EXPECT_EQ(RunToEnd(*s), EngineSearch::kEndedWithout);
    EXPECT_EQ(notifier.ended, (std::vector<long>{-1}));
    EXPECT_TRUE(receiver.calls.empty());

    FixedCategoryAnswer ui;
    settings.Set(keys::SearchEngine, 2);
    for (int answer : {kCategoryCancelled, kCategoryAbandoned}) {
        notifier.ended.clear();
        ui.answer = answer;
        auto c = Search(&ui);
        c->Open("q", false);
        EXPECT_FALSE(c->Go());
        EXPECT_EQ(c->View().maxCategoriesVisible, true);
        if (answer == kCategoryCancelled) {
            EXPECT_EQ(notifier.ended, (std::vector<long>{-2}));
            EXPECT_EQ(c->Result(), EngineSearch::kEndedWithout);
            EXPECT_EQ(c->View().status, engine_text::kIdle);
        } else {
            EXPECT_TRUE(notifier.ended.empty());
            EXPECT_EQ(c->Result(), 0);
        }
    }
}

TEST_F(EngineRunTest, DirectoryRecordsBecomeAddressesAndCategoryPagesAreHarvested) {
    server.Add({.path = "/r_search", .body = DirectoryReply()});
    server.Add({.path = "/cat/Arts/", .body = Links({"http://site-a.example/", "/cat/Arts/Music/"})});
    server.Add({.path = "/cat/Science/", .body = Links({"http://site-s.example/"})});
    auto s = Search();  // default update data: the directory is the only engine
    s->Open("cats", false);
    ASSERT_TRUE(s->Go());
    EXPECT_EQ(s->View().status, "Searching the web using Yahoo...");
    EXPECT_EQ(RunToEnd(*s), EngineSearch::kHandedOver);
    EXPECT_EQ(server.Count("/r_search?look=x&izm2&key=cats&external=av&skip=0"), 1);
    ASSERT_EQ(receiver.calls.size(), 1u);
    const std::string& joined = std::get<1>(receiver.calls[0]);
    EXPECT_EQ(
        joined.rfind("http://plain.example/page.html;" + Dir("/cat/Arts/") + ";" + Dir("/cat/Science/") + ";",
                     0),
        0u);
    EXPECT_EQ(
        SplitAddresses(joined),
        (std::set<std::string>{"http://plain.example/page.html", Dir("/cat/Arts/"), Dir("/cat/Science/"),
                               "http://site-a.example/", "http://site-s.example/"}));
    EXPECT_EQ(server.Count("/cat/Arts/Music/"), 0);  // no category walk for this engine
    EXPECT_TRUE(messages.shown.empty());

    // The safest level: template 1, whichever engine is chosen, and no plain web pages.
    receiver.calls.clear();
    WriteEngines();
    settings.Set(keys::CrawlerSafetyLevel, 1);
    auto safe = Search();
    safe->Open("cats", false);
    ASSERT_TRUE(safe->Go());
    EXPECT_EQ(safe->View().status, "Searching the web using Yahoo...");
    EXPECT_EQ(RunToEnd(*safe), EngineSearch::kHandedOver);
    EXPECT_EQ(server.Count("/r_search?look=x&izm1&key=cats&skip=0"), 1);
    EXPECT_EQ(server.Count("/cgi-bin/query"), 0);
    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(SplitAddresses(std::get<1>(receiver.calls[0])).count("http://plain.example/page.html"), 0u);
}

TEST_F(EngineRunTest, CategoryWalkVisitsEachPageOnce) {
    WriteEngines();
    settings.Set(keys::SearchEngine, 2);
    server.Add({.path = "/r_search", .body = "U=" + Dir("/cat/Arts/") + "\nF=... - Arts\n"});
    server.Add({.path = "/cat/Arts/",
                .body = Links({"/cat/Arts/", "/cat/Arts/", "/cat/Arts/Music/", "/cat/Other/",
                               "http://site-a.example/"})});
    server.Add({.path = "/cat/Arts/Music/",
                .body = Links({"/cat/Arts/Music/", "/cat/Arts/", "http://site-b.example/x"})});
    auto s = Search();
    s->Open("art", false);
    ASSERT_TRUE(s->Go());
    const auto start = Clock::now();
    EXPECT_EQ(RunToEnd(*s), EngineSearch::kHandedOver);
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(server.Count("/cat/Arts/"), 1);
    EXPECT_EQ(server.Count("/cat/Arts/Music/"), 1);
    EXPECT_EQ(server.Count("/cat/Other/"), 0);
    EXPECT_EQ(s->ThreadsStarted(), 2);
    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(
        SplitAddresses(std::get<1>(receiver.calls[0])),
        (std::set<std::string>{Dir("/cat/Arts/"), "http://site-a.example/", "http://site-b.example/x"}));
}

TEST_F(EngineRunTest, CategoryChoiceByTheUser) {
    settings.Set(keys::ViewCategoriesTree, 1);
    server.Add({.path = "/r_search", .body = DirectoryReply()});
    CategorySearch c(Categories(), SafetyScopeFor(2));
    c.Start({"cats", "cats", 20});
    EXPECT_EQ(c.RequestUrls(),
              (std::vector<std::string>{Dir("/r_search?look=x&izm2&key=cats&external=av&skip=0")}));
    const auto start = Clock::now();
    while (c.Tick() == CategorySearch::State::Loading && SecondsSince(start) < 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(c.GetState(), CategorySearch::State::Choosing);
    EXPECT_EQ(c.Status(), "Found 2 categories, 1 web pages.");
    EXPECT_EQ(c.ProgressPosition(), CategorySearch::kProgressRange);
    EXPECT_TRUE(c.AddEnabled());
    EXPECT_FALSE(c.RemoveEnabled());
    EXPECT_TRUE(c.OkEnabled());  // web pages alone allow OK

    const int science = c.Tree().TopLevel().at(1);
    c.Add(science);
    c.Add(science);
    ASSERT_EQ(c.Selected().size(), 1u);
    EXPECT_EQ(c.Selected()[0].topic, "Physics");
    EXPECT_EQ(c.Selected()[0].path, "Science/");
    c.AddAll();
    ASSERT_EQ(c.Selected().size(), 2u);
    EXPECT_EQ(c.Selected()[1].topic, "Arts");
    c.Remove({0, 7, -1});
    ASSERT_EQ(c.Selected().size(), 1u);
    c.Ok();
    EXPECT_EQ(c.Result(), kCategoryOk);
    EXPECT_EQ(c.Addresses(), (std::vector<std::string>{"http://plain.example/page.html", Dir("/cat/Arts/")}));
    EXPECT_EQ(c.ChosenTexts(), (std::vector<std::string>{"about arts"}));
}

TEST_F(EngineRunTest, DirectoryFailuresAndTheConnectionMessageOnce) {
    settings.Set(keys::SearchCategoriesAmount, 30);
    server.Add({.path = "/r_search?look=x&izm2&key=q&external=av&skip=20", .body = ""});
    server.Add({.path = "/r_search?look=x&izm2&key=q&external=av&skip=10", .body = ""});
    server.Add({.path = "/r_search?look=x&izm2&key=q&external=av&skip=0",
                .status = 503,
                .body = "U=http://x.example/\n"});
    std::vector<std::string> addresses{"stale"};
    EXPECT_EQ(RunCategorySearchUnattended(Categories(), SafetyScopeFor(2), {"q", "q", 20}, addresses),
              kCategoryOk);
    EXPECT_TRUE(addresses.empty());
    EXPECT_EQ(messages.shown, (std::vector<std::string>{category_text::kNoConnection}));
    EXPECT_EQ(server.Requests().size(), 3u);

    // Fewer than ten results asked for: no request at all.
    settings.Set(keys::SearchCategoriesAmount, 9);
    server.ClearLog();
    EXPECT_EQ(RunCategorySearchUnattended(Categories(), SafetyScopeFor(2), {"q", "q", 20}, addresses),
              kCategoryOk);
    EXPECT_TRUE(server.Requests().empty());

    struct Owner : DirectoryThreadOwner {
        int empty = 0, added = 0;
        std::size_t RecordRoom() const override { return 100; }
        void AddRecords(std::vector<DirectoryRecord>&& r) override { added += static_cast<int>(r.size()); }
        void ReplyProgress(std::uint64_t) override {}
        void EmptyReply() override { ++empty; }
        void DirectoryDone(YahooThread*) override {}
    } owner;
    YahooThread t(Dir("/r_search?look=x&izm2&key=q&external=av&skip=0"), owner, share, Net());
    ASSERT_TRUE(t.Start());
    t.Join();
    EXPECT_EQ(t.StatusText(), "Query status code: 503 (Server error: Server capacity reached)");
    EXPECT_EQ(owner.empty + owner.added, 0);
}

TEST_F(EngineRunTest, HostileRepliesStayBounded) {
    // A 20 MB engine page: read up to the cap, in bounded time.
    std::string huge;
    huge.reserve(20u << 20);
    for (int i = 0; huge.size() < (20u << 20); ++i)
        huge += "<a href=http://h" + std::to_string(i) + ".example/>x</a>\n";
    server.Add({.path = "/huge", .body = huge});
    struct Owner : EngineThreadOwner {
        std::atomic<int> offered{0};
        void StepProgress() override {}
        void OfferLink(std::string_view, const std::string&) override { ++offered; }
        void PageDone(SearchEngineThread*) override {}
    } owner;
    auto start = Clock::now();
    SearchEngineThread page(server.Url("/huge"), owner, share, Net());
    ASSERT_TRUE(page.Start());
    page.Join();
    EXPECT_LT(SecondsSince(start), 10.0);
    EXPECT_LE(page.Body().size(), kEnginePageCap);
    EXPECT_GT(owner.offered.load(), 10000);
    EXPECT_LT(owner.offered.load(), 100000);

    // A directory reply of 100 000 records: a bounded record list and choice.
    std::string records;
    for (int i = 0; i < 100000; ++i)
        records +=
            "U=http://r" + std::to_string(i) + ".example/\nF=... - Top - Sub " + std::to_string(i) + "\n";
    server.Add({.path = "/r_search", .body = records});
    start = Clock::now();
    CategorySearch c(Categories(), SafetyScopeFor(2));
    c.Start({"q", "q", 20});
    while (c.Tick() == CategorySearch::State::Loading && SecondsSince(start) < 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LT(SecondsSince(start), 10.0);
    EXPECT_EQ(c.Records().size(), CategorySearch::kMaxRecords);
    EXPECT_EQ(c.CategoryCount(), static_cast<int>(CategorySearch::kMaxRecords));
    EXPECT_EQ(c.Result(), kCategoryOk);
    // The automatic choice takes every category; the records bound it.
    EXPECT_EQ(c.Addresses().size(), CategorySearch::kMaxRecords);
}

TEST_F(EngineRunTest, StoppingNeverWaitsForStalledPages) {
    WriteEngines();
    server.Add({.path = "/cgi-bin/query", .mode = ReplyMode::Stalled});
    const auto start = Clock::now();
    {
        auto s = Search();
        s->Open("x", false);
        s->GetFields().maxPages = 30;
        ASSERT_TRUE(s->Go());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        s->Tick();
        EXPECT_EQ(s->Running(), 3);
        EXPECT_FALSE(s->View().stopNowEnabled);
        s->Cancel();
        EXPECT_EQ(s->Result(), EngineSearch::kEndedWithout);
        EXPECT_EQ(s->Running(), 0);
        auto t = Search();
        t->Open("y", false);
        ASSERT_TRUE(t->Go());
    }  // destroyed mid-run
    EXPECT_LT(SecondsSince(start), 4.0);
    EXPECT_TRUE(receiver.calls.empty());
    EXPECT_TRUE(notifier.ended.empty());
}

TEST_F(EngineRunTest, GuidePageFetchPicksStartLocations) {
    std::vector<const char*> hrefs;
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) names.push_back("page" + std::to_string(i) + ".html");
    for (int i = 0; i < 25; ++i) names.push_back("/pics/p" + std::to_string(i) + ".jpg");
    for (const auto& n : names) hrefs.push_back(n.c_str());
    std::string body = "<html>";
    for (const char* h : hrefs)
        body += std::string("<a href=\"") + h + "\">x</a><a href=\"" + h + "\">again</a>";
    server.Add({.path = "/eng/Animals.htm", .body = body});
    const std::string base = "http://directory.search.example:" + std::to_string(server.Port());

    FetchCategory guide(base + "/eng/Animals.htm", share, Net(), 42);
    ASSERT_TRUE(guide.Start());
    guide.Join();
    ASSERT_TRUE(guide.PageRead());
    const GuidePick& pick = guide.Pick();
    ASSERT_EQ(pick.pages.size(), 20u);
    ASSERT_EQ(pick.others.size(), 20u);
    EXPECT_EQ(std::set<std::string>(pick.pages.begin(), pick.pages.end()).size(), 20u);
    for (const auto& p : pick.pages) EXPECT_EQ(p.rfind(base + "/eng/page", 0), 0u) << p;
    for (const auto& o : pick.others) EXPECT_EQ(o.rfind(base + "/pics/p", 0), 0u) << o;
    EXPECT_EQ(pick.StartLocations(), pick.pages);
    EXPECT_EQ(server.Requests().at(0).agent, "Explorer");

    FetchCategory missing(base + "/eng/None.htm", share, Net());
    ASSERT_TRUE(missing.Start());
    missing.Join();
    EXPECT_FALSE(missing.PageRead());
    EXPECT_TRUE(missing.Pick().StartLocations().empty());
}

// Engine pages, directory replies and guide pages that drip just fast enough
// to pass the low-speed test end at the request time limit.
TEST_F(EngineRunTest, DrippingRepliesEndAtTheRequestTimeLimit) {
    WriteEngines();
    settings.Set(keys::CrawlerPageTimeout, 1);
    const PageRow drip{.body = std::string(40, 'x'), .mode = ReplyMode::Dripping, .dripDelayMs = 200, .dripChunk = 1};
    for (const char* path : {"/cgi-bin/query", "/r_search", "/eng/Animals.htm"}) {
        PageRow row = drip;
        row.path = path;
        server.Add(row);
    }
    {
        SCOPED_TRACE("engine page");
        const auto start = Clock::now();
        auto s = Search();
        s->Open("x", false);
        ASSERT_TRUE(s->Go());
        EXPECT_EQ(RunToEnd(*s, 20), EngineSearch::kEndedWithout);
        EXPECT_LT(SecondsSince(start), 5.0);
    }
    {
        SCOPED_TRACE("directory reply");
        const auto start = Clock::now();
        CategorySearch c(Categories(), SafetyScopeFor(2));
        c.Start({"q", "q", 20});
        while (c.Tick() == CategorySearch::State::Loading && SecondsSince(start) < 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_LT(SecondsSince(start), 5.0);
    }
    {
        SCOPED_TRACE("guide page");
        const auto start = Clock::now();
        FetchCategory guide("http://directory.search.example:" + std::to_string(server.Port()) + "/eng/Animals.htm",
                            share, WithRequestTimeLimit(Net(), settings));
        ASSERT_TRUE(guide.Start());
        guide.Join();
        EXPECT_FALSE(guide.PageRead());
        EXPECT_LT(SecondsSince(start), 5.0);
    }
}

// A worker whose step fails (out of memory in the owner's filter, say) still
// ends its run with the owner's last call, so the search never waits for it.
TEST_F(EngineRunTest, AWorkerWhoseStepFailsStillReportsItsEnd) {
    server.Add({.path = "/page.html", .body = Links({"http://a.example/"})});
    server.Add({.path = "/r_search", .body = DirectoryReply()});
    struct FailingEngineOwner : EngineThreadOwner {
        std::atomic<int> done{0};
        void StepProgress() override {}
        void OfferLink(std::string_view, const std::string&) override { throw std::bad_alloc(); }
        void PageDone(SearchEngineThread*) override { ++done; }
    } engineOwner;
    struct FailingDirectoryOwner : DirectoryThreadOwner {
        std::atomic<int> done{0};
        std::size_t RecordRoom() const override { return 100; }
        void AddRecords(std::vector<DirectoryRecord>&&) override { throw std::runtime_error("failed"); }
        void ReplyProgress(std::uint64_t) override {}
        void EmptyReply() override {}
        void DirectoryDone(YahooThread*) override { ++done; }
    } directoryOwner;
    SearchEngineThread page(Dir("/page.html"), engineOwner, share, Net());
    YahooThread reply(Dir("/r_search"), directoryOwner, share, Net());
    ASSERT_TRUE(page.Start());
    ASSERT_TRUE(reply.Start());
    page.Join();
    reply.Join();
    EXPECT_EQ(engineOwner.done, 1);
    EXPECT_EQ(directoryOwner.done, 1);
}

}  // namespace
}  // namespace flk
