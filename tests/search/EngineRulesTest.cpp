#include "settings/Settings.h"
#include "platform/TextUtil.h"
#include "search/CategoryTree.h"
#include "search/DirectoryReply.h"
#include "search/EngineRequests.h"
#include "search/EngineSearch.h"
#include "search/FetchCategory.h"
#include "search/FoundAddressFilter.h"
#include "search/SearchEngineThread.h"
#include "search/UserEngines.h"
#include "support/TempDir.h"
#include "net/QueryText.h"

#include <gtest/gtest.h>

#include <set>

namespace flk {
namespace {

EngineHosts TestHosts() {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    settings.Set(hosts::Directory, "http://dir.example:81/");
    return EngineHosts::FromSettings(settings);
}

TEST(EngineRequests, AddressesPerEngineAndMaxPages) {
    const EngineHosts h = TestHosts();
    EXPECT_EQ(h.altavista, "http://altavista.search.example");
    EXPECT_EQ(h.directory, "http://dir.example:81");

    const auto av = BuildResultPageUrls(EngineKind::Altavista, h, "q", 25);
    ASSERT_EQ(av.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(av[i],
                  "http://altavista.search.example/cgi-bin/query?pg=aq&what=web&kl=XX&q=q"
                  "&navig10.x=9&navig" +
                      std::to_string(i * 10) + ".y=9");

    const auto wc = BuildResultPageUrls(EngineKind::WebCrawler, h, "q", 450);
    EXPECT_EQ(
        wc,
        (std::vector<std::string>{
            "http://webcrawler.search.example/cgi-bin/WebQuery?search=q&src=wc_more&perPage=200&start=0",
            "http://webcrawler.search.example/cgi-bin/WebQuery?search=q&src=wc_more&perPage=200&start=200",
            "http://webcrawler.search.example/cgi-bin/WebQuery?search=q&src=wc_more&perPage=200&start=400"}));
    EXPECT_EQ(BuildResultPageUrls(EngineKind::WebCrawler, h, "q", 30).at(0),
              "http://webcrawler.search.example/cgi-bin/WebQuery?search=q&src=wc_more&perPage=30&start=0");

    const auto hb = BuildResultPageUrls(EngineKind::HotBot, h, "q", 500);
    ASSERT_EQ(hb.size(), 1u);
    EXPECT_EQ(
        hb[0],
        "http://hotbot.search.example/default.asp?MT=q&SM=MC&AM0=MC&AT0=words&AW0=sex+gallery&AM1=MN"
        "&AT1=words&AW1=gay+male+man&savenummod=2&date=WH&DV=7&DR=newer&DM=1&DD=1&DY=98&FSU=1&FS=jpg"
        "&RD=AN&Domain=&RG=.com&PS=D&PD=3&DC=100&DE=0&SUBMIT=SEARCH&_v=2&OPs=MDRTP&NUMMOD=2&_v=2&OPs=MDRTP");

    // No pages for nothing wanted, and a bounded list for a huge number.
    EXPECT_TRUE(BuildResultPageUrls(EngineKind::Altavista, h, "q", 0).empty());
    EXPECT_TRUE(BuildResultPageUrls(EngineKind::WebCrawler, h, "q", -5).empty());
    EXPECT_TRUE(BuildResultPageUrls(EngineKind::Directory, h, "q", 100).empty());
    EXPECT_EQ(BuildResultPageUrls(EngineKind::Altavista, h, "q", 2000000000).size(),
              static_cast<std::size_t>(kMaxResultPages));

    EXPECT_EQ(EngineKindOf("Web crawler"), EngineKind::WebCrawler);
    EXPECT_EQ(EngineKindOf("webcrawler"), EngineKind::Directory);
    EXPECT_EQ(SearchingStatus(EngineKindOf("Looksmart")), "Searching the web using Yahoo...");
    EXPECT_EQ(SearchingStatus(EngineKind::HotBot), "Searching the web using HotBot...");
}

TEST(UserEngines, TemplatesPagesAndLimits) {
    struct Case {
        const char* value;
        int maxPages;
        std::vector<std::string> urls;  // empty: not an engine
    };
    const Case cases[] = {
        {"http://s.example/search?q={query}&format=html", 100, {"http://s.example/search?q=red+cats&format=html"}},
        {"https://s.example/?q={query}&pageno={page}", 25,
         {"https://s.example/?q=red+cats&pageno=1", "https://s.example/?q=red+cats&pageno=2",
          "https://s.example/?q=red+cats&pageno=3"}},
        {"http://s.example/?q={query}&first={start}  max_pages=2", 100,
         {"http://s.example/?q=red+cats&first=0", "http://s.example/?q=red+cats&first=10"}},
        {"http://s.example/?q={query}&p={page} max_pages=9", 0, {"http://s.example/?q=red+cats&p=1"}},
        {"http://s.example/?q={query}&p={page}", 100000, std::vector<std::string>(kMaxResultPages)},
        {"http://s.example/no-query-slot", 100, {}},
        {"ftp://s.example/?q={query}", 100, {}},
        {"s.example/?q={query}", 100, {}},
        {"http://s.example/?q={query} pages=2", 100, {}},
    };
    for (const Case& c : cases) {
        UserEngine engine;
        const bool ok = ParseUserEngine("mine", c.value, engine);
        EXPECT_EQ(ok, !c.urls.empty()) << c.value;
        if (!ok) continue;
        const auto urls = BuildUserEngineUrls(engine, EncodeQueryText("red cats"), c.maxPages);
        if (c.urls.size() == static_cast<std::size_t>(kMaxResultPages) && c.urls[0].empty())
            EXPECT_EQ(urls.size(), c.urls.size()) << c.value;
        else
            EXPECT_EQ(urls, c.urls) << c.value;
    }
    UserEngine engine;
    ASSERT_TRUE(ParseUserEngine("mine", "https://Search.Example:8443/find?q={query}", engine));
    EXPECT_EQ(UserEngineExclusion(engine), "//search.example:8443");
}

TEST(UserEngines, ReadFromTheEnginesSection) {
    test::TempDir dir;
    dir.Write("flk.ini", "[engines]\nfirst=http://a.example/?q={query}\nbroken=http://b.example/\n"
                         "second=\"http://c.example/?q={query}&p={page} max_pages=3\"\n");
    Settings settings(dir.File("flk.ini"), dir.Path());
    const auto engines = ReadUserEngines(settings);
    ASSERT_EQ(engines.size(), 2u);
    EXPECT_EQ(engines[0].name, "first");
    EXPECT_EQ(engines[1].name, "second");
    EXPECT_EQ(engines[1].maxPages, 3);
}

TEST(EngineRequests, QueryEncoding) {
    const std::pair<const char*, const char*> rows[] = {
        {"cats & dogs=1", "cats+&+dogs=1"},
        {"a\r\nb", "ab"},
        {"caf\xe9 +/%?", "caf%E9+%2B%2F%25%3F"},
        {"", ""},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(EncodeQueryText(in), out) << in;
}

TEST(FoundAddressFilter, RecordsWebAddressesOnceUpToMaxPages) {
    FoundAddressFilter f(TestHosts());
    f.Reset(3, false);
    struct Row {
        const char* link;
        FoundAddressFilter::Outcome outcome;
    } rows[] = {
        {"  HTTP://Site.example/A.html \t", FoundAddressFilter::Outcome::Recorded},  // trimmed, case kept
        {"HTTP://Site.example/A.html", FoundAddressFilter::Outcome::Ignored},        // duplicate
        {"", FoundAddressFilter::Outcome::Ignored},
        {"/relative/page.html", FoundAddressFilter::Outcome::Ignored},
        {"ftp://files.example/x", FoundAddressFilter::Outcome::Ignored},
        {"https://secure.example/", FoundAddressFilter::Outcome::Recorded},
        {"http://www.AltaVista.example/x", FoundAddressFilter::Outcome::Ignored},
        {"http://third.example/", FoundAddressFilter::Outcome::Recorded},
        {"http://fourth.example/", FoundAddressFilter::Outcome::Ignored},  // max pages reached
    };
    for (const Row& r : rows) EXPECT_EQ(f.Offer(r.link, "http://engine/page1"), r.outcome) << r.link;
    EXPECT_EQ(f.FoundCount(), 3);
    EXPECT_EQ(f.JoinedAddresses(),
              "HTTP://Site.example/A.html;https://secure.example/;http://third.example/;");
    EXPECT_EQ(f.SourceOf("https://secure.example/"), "http://engine/page1");
    f.Reset(3, false);
    EXPECT_EQ(f.FoundCount(), 0);
    EXPECT_EQ(f.JoinedAddresses(), "");
}

TEST(FoundAddressFilter, ExclusionsAndBookseller) {
    const EngineHosts h = TestHosts();
    const auto list = BuildExclusionList(h);
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), 17u);
    EXPECT_NE(std::find(list.begin(), list.end(), "webcrawler.search.example"), list.end());
    for (const std::string& fragment : list) {
        const std::string link = "http://x" + fragment + "x/page.html";
        EXPECT_FALSE(IsAcceptableFoundLink(ToUpperAscii(link), list, h.booksellerFragment)) << fragment;
    }
    EXPECT_TRUE(IsAcceptableFoundLink("http://pictures.example/yahoo/", list, h.booksellerFragment));
    EXPECT_FALSE(IsAcceptableFoundLink("http://www.yahoo.example/", list, h.booksellerFragment));
    EXPECT_FALSE(IsAcceptableFoundLink("http://books.shop.example/av-search/q", list, h.booksellerFragment));
    EXPECT_TRUE(IsAcceptableFoundLink("http://books.shop.example/item/1", list, h.booksellerFragment));
    EXPECT_TRUE(IsAcceptableFoundLink("http://other.example/av-search/q", list, h.booksellerFragment));
    // An unset host must not exclude everything.
    EXPECT_TRUE(IsAcceptableFoundLink("http://a.example/", {"", "zzz"}, ""));
}

TEST(FoundAddressFilter, CategoryWalkGoesDownOncePerRun) {
    FoundAddressFilter f(TestHosts());
    f.Reset(100, true);
    const std::string page = "http://dir.example:81/cat/Arts/";
    ASSERT_TRUE(f.MarkVisited(page));
    std::string walk;
    EXPECT_EQ(f.Offer("/cat/Arts/", page, &walk), FoundAddressFilter::Outcome::Ignored);  // itself
    EXPECT_EQ(f.Offer("/cat/Arts/Music/", page, &walk), FoundAddressFilter::Outcome::WalkCategory);
    EXPECT_EQ(walk, "http://dir.example:81/cat/Arts/Music/");
    EXPECT_EQ(f.Offer("/cat/Arts/Music/", page, &walk), FoundAddressFilter::Outcome::Ignored);
    EXPECT_EQ(f.Offer("/cat/Other/", page, &walk), FoundAddressFilter::Outcome::Ignored);  // not below
    EXPECT_EQ(f.FoundCount(), 0);
    // Without the walk a relative link is no address at all.
    f.Reset(100, false);
    EXPECT_EQ(f.Offer("/cat/Arts/Music/", page, &walk), FoundAddressFilter::Outcome::Ignored);
    // The walk's budget.
    f.Reset(100, true);
    int walked = 0;
    for (int i = 0; i < FoundAddressFilter::kMaxWalkPages + 50; ++i)
        walked += f.Offer("/cat/Arts/" + std::to_string(i) + "/", page) ==
                  FoundAddressFilter::Outcome::WalkCategory;
    EXPECT_EQ(walked, FoundAddressFilter::kMaxWalkPages);
}

TEST(EngineSearchRules, RunEndAndWhenFinished) {
    EXPECT_EQ(DecideRunEnd(0, 0, 100), RunEnd::Finish);
    EXPECT_EQ(DecideRunEnd(0, 100, 100), RunEnd::Finish);
    EXPECT_EQ(DecideRunEnd(3, 99, 100), RunEnd::Continue);
    EXPECT_EQ(DecideRunEnd(3, 100, 100), RunEnd::StopNow);
    EXPECT_EQ(DecideRunEnd(1, 0, 0), RunEnd::StopNow);

    WhenFinished w;
    EXPECT_EQ(w.Mode(), HandOverMode::StartCrawling);
    EXPECT_FALSE(w.CheckSitesEnabled());
    w.SetCheckSites(true);
    EXPECT_EQ(w.Mode(), HandOverMode::StartCrawling);  // counts only with the list viewed
    w.SetViewList(true);
    EXPECT_FALSE(w.StartCrawling());
    EXPECT_EQ(w.Mode(), HandOverMode::CheckSites);
    w.SetCheckSites(false);
    EXPECT_EQ(w.Mode(), HandOverMode::ViewList);
    w.SetStartCrawling(true);
    EXPECT_FALSE(w.ViewList());
}

TEST(EngineLinks, HrefValuesAsTheEnginesWriteThem) {
    std::vector<std::string> got;
    ExtractEngineLinks(
        "<A HREF=\"http://A.example/x.html\">a</a> <a href = 'http://b.example/'>"
        "<a href=http://c.example/p?q=1>c</a><a href=\"\">e</a><a href=http://d.example/"
        "<a href",
        [&](std::string_view l) { got.emplace_back(l); });
    EXPECT_EQ(got, (std::vector<std::string>{"http://A.example/x.html", "http://b.example/",
                                             "http://c.example/p?q=1", "", "http://d.example/<a"}));
    got.clear();
    ExtractEngineLinks(std::string("href=a\0b href=", 14), [&](std::string_view l) { got.emplace_back(l); });
    EXPECT_EQ(got, (std::vector<std::string>{"a", ""}));
}

TEST(DirectoryReply, RecordsAndPathCleaning) {
    const std::pair<const char*, const char*> paths[] = {
        {"... - Arts - Music &amp; Dance", "Arts/Music & Dance"},
        {"Arts - Music", "Arts/Music"},
        {"Rock&amp;Roll", "Rock & Roll"},
        {"..- Arts", "..- Arts"},
        {"", ""},
    };
    for (const auto& [raw, clean] : paths) EXPECT_EQ(CleanCategoryPath(raw), clean) << raw;

    std::vector<DirectoryRecord> records;
    const std::string body =
        "header\nT=stray\nU=http://a.example/\r\nT=Title A\nR=text\nE=more\nF=... - Arts - Music\n"
        "X=ignored\nU=http://b.example/\nU=http://c.example/\nF=Science\n";
    EXPECT_EQ(ParseDirectoryReply(body, records, 10), 3u);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].url, "http://a.example/");
    EXPECT_EQ(records[0].title, "Title A");
    EXPECT_EQ(records[0].text, "text");
    EXPECT_EQ(records[0].extra, "more");
    EXPECT_EQ(records[0].path, "Arts/Music");
    EXPECT_EQ(records[1].path, "");
    EXPECT_EQ(records[2].path, "Science");
    records.clear();
    EXPECT_EQ(ParseDirectoryReply(body, records, 2), 2u);
    EXPECT_EQ(records.back().url, "http://b.example/");

    EXPECT_EQ(DirectoryStatusText(404), "Query status code: 404 (Request error: Requested URL not found)");
    EXPECT_EQ(DirectoryStatusText(400), "Query status code: 400 (Request error: Unintelligble request)");
    EXPECT_EQ(DirectoryStatusText(403), "Query status code: 403 (Request error)");
    EXPECT_EQ(DirectoryStatusText(503), "Query status code: 503 (Server error: Server capacity reached)");
    EXPECT_EQ(DirectoryStatusText(302), "Query status code: 302 ()");
}

TEST(CategoryTree, MergesLevelsAndListsCategoryPaths) {
    CategoryTree t;
    for (const char* p : {"Arts/Music", "Arts/Film", "Science", "Arts/Music", "Arts", "Arts/Music/Jazz"})
        EXPECT_TRUE(t.Insert(p));
    EXPECT_FALSE(t.Insert(""));
    ASSERT_EQ(t.TopLevel().size(), 2u);
    EXPECT_EQ(t.NodeCount(), 5);
    EXPECT_EQ(t.CategoryCount(), 5);
    // A record's path that is also a parent stays choosable.
    EXPECT_EQ(t.PathsUnder(t.TopLevel()[0]),
              (std::vector<std::string>{"Arts", "Arts/Music", "Arts/Music/Jazz", "Arts/Film"}));
    EXPECT_EQ(TopicOf("Arts/Music & Dance"), "Music & Dance");
    EXPECT_EQ(PathPartOf("Arts/Music & Dance"), "Arts/");
    EXPECT_EQ(TopicOf("Science"), "Science");
    EXPECT_EQ(PathPartOf("Science"), "");

    std::string deep;
    for (int i = 0; i < CategoryTree::kMaxDepth; ++i) deep += "a/";
    EXPECT_FALSE(t.Insert(deep + "a"));
    EXPECT_TRUE(t.Insert(deep.substr(0, deep.size() - 1)));
}

TEST(GuideLinks, AnchorsJoinedAndPickedWithoutRepeats) {
    const auto links = ExtractAnchorLinks(
        "<a href=\"one.html\">1</a><A HREF = 'Two.htm#x'><abbr href=\"no.html\"><area href=\"no2.html\">"
        "<a name=x><a\nhref=/pics/a.jpg><a href=\"one.html\"><a href=\"mailto:me@x\"><a href=#top>"
        "<a href=\"http://other.example/\"><a href=\"www.plain.example",
        "http://guide.example/eng/Animals.htm");
    EXPECT_EQ(links, (std::vector<std::string>{"http://guide.example/eng/one.html",
                                               "http://guide.example/eng/Two.htm",
                                               "http://guide.example/pics/a.jpg", "http://other.example/",
                                               "http://guide.example/eng/www.plain.example"}));

    std::vector<std::string> items;
    for (int i = 0; i < 50; ++i) items.push_back(std::to_string(i));
    std::mt19937 rng(7);
    const auto picked = PickAtRandom(items, 20, rng);
    EXPECT_EQ(picked.size(), 20u);
    EXPECT_EQ(std::set<std::string>(picked.begin(), picked.end()).size(), 20u);
    EXPECT_EQ(PickAtRandom({"a", "b"}, 20, rng), (std::vector<std::string>{"a", "b"}));
    GuidePick pick{{}, {"x.jpg"}};
    EXPECT_EQ(pick.StartLocations(), (std::vector<std::string>{"x.jpg"}));
    pick.pages = {"p.html"};
    EXPECT_EQ(pick.StartLocations(), (std::vector<std::string>{"p.html"}));
}

}  // namespace
}  // namespace flk
