#include "crawl/CrawlView.h"
#include "crawl/LinkClassifier.h"
#include "crawl/LinkTarget.h"
#include "crawl/PageParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace flk {
namespace {

constexpr const char* kPage = "http://h.example/d/p.html";

// Records everything the parser hands out, as one line per call, in order.
struct Recorder : LinkTarget, MediaSink, HitSink, CrawlView, ReportSink {
    std::vector<std::string> calls;
    std::vector<LinkReport> reports;
    std::vector<StoredPage> stored;
    std::string status;

    void AddLink(const std::string& url, const std::string& text, int depth, const std::string& ref) override {
        calls.push_back("link " + url + " | " + text + " | " + std::to_string(depth) + " | " + ref);
    }
    void AddStartLocation(const std::string& url) override { calls.push_back("start " + url); }
    void ShowStatus(const std::string& text) override { status = text; }
    void AddImage(const MediaItem& m) override { Media("image", m); }
    void AddMovie(const MediaItem& m) override { Media("movie", m); }
    void AddSound(const MediaItem& m) override { Media("sound", m); }
    void Media(const std::string& kind, const MediaItem& m) {
        calls.push_back(kind + " " + m.url + " | " + m.description + " | " + m.pageTitle + " | " + m.pageUrl +
                        " | " + std::to_string(m.depth));
    }
    void AddHit(const TextHit& h) override {
        calls.push_back("hit " + h.line + " | " + std::to_string(h.score) + " | " + h.pageTitle + " | " + h.pageUrl);
    }
    CrawlLimits Limits() const override { return {}; }
    bool SinglePage() const override { return false; }
    SearchOptions Search() const override { return {}; }
    void AddTreeLine(const std::string&, const std::string&) override {}
    void ShowProgress(const CrawlProgress&) override {}
    void StorePage(const StoredPage& page) override { stored.push_back(page); }
    void CrawlEnded() override {}
    void Report(const LinkReport& r) override { reports.push_back(r); }
};

ParserOptions Quiet() {
    ParserOptions o;
    o.pacing = Pacing::None();
    return o;
}

std::vector<LinkReport> Scan(const std::string& html, const ParserOptions& o = Quiet()) {
    Recorder rec;
    PageState page{kPage, 1, "", false};
    std::atomic<bool> stop{false};
    ParsePage(page, html, o, rec, rec, rec, rec, stop);
    return rec.reports;
}

// The reports after the title line.
std::vector<LinkReport> Targets(const std::string& html, const ParserOptions& o = Quiet()) {
    std::vector<LinkReport> r = Scan(html, o);
    EXPECT_FALSE(r.empty());
    if (!r.empty()) r.erase(r.begin());
    return r;
}

TEST(PageParser, TitleAndItsFallback) {
    struct Row {
        const char* html;
        const char* line;
    } rows[] = {
        {"<html><TITLE>My Page</TITLE><body>x", "<<My Page>>"},
        {"<title> Two  Words </title>", "<< Two  Words >>"},
        {"<html><body>Hello <b>big</b> world of very many words</body>", "<<Hello big  world of very many w...>>"},
        {"<title>X</title><p>ab", "<<X ab...>>"},                  // shorter than 2: from the page
        {"</title>Old<title>New", "<<Old New...>>"},               // no closing tag after the opening one
        {"<title>unclosed", "<< unclosed...>>"},
        {"", "<<...>>"},
    };
    for (const Row& r : rows) {
        const std::vector<LinkReport> reports = Scan(r.html);
        ASSERT_FALSE(reports.empty()) << r.html;
        EXPECT_EQ(reports[0], (LinkReport{r.line, "koteret", ""})) << r.html;
    }
    EXPECT_EQ(Scan("<title>" + std::string(5000, 'x') + "</title>")[0].url.size(), kMaxTitleLength + 4);
}

TEST(PageParser, TargetsOfEachTagKind) {
    ParserOptions plain = Quiet();
    plain.pureImages = false;
    ParserOptions noSounds = Quiet();
    noSounds.collectSounds = false;
    const std::string d = ";;;TT;;;" + std::string(kPage);  // title and page of a link description
    struct Row {
        std::string html;
        ParserOptions options;
        std::vector<LinkReport> expected;
    } rows[] = {
        // images: quotes, spaces around "=", capital extensions kept as written
        {"<title>TT</title><IMG SRC = \"Pics/UP.JPG\" alt=\"two words\" width= '120' height=130>", Quiet(),
         {{"Pics/UP.JPG", "image", "two words;;;120;;;130"}}},
        {"<title>TT</title><img alt=x src=a.png><img src='b.gif?x'>", Quiet(), {}},
        {"<title>TT</title><img src=\"halt.jpg\" border=0 alt=\"A\">", Quiet(), {{"halt.jpg", "image", "A;;;;;;"}}},
        // pure images: a small image or one inside a link only without pure images
        {"<title>TT</title><a href=big.jpg><img src=t.jpg width=50></a><img src=s.jpg height=99>", Quiet(),
         {{"big.jpg", "url", ";;;" + d}}},
        {"<title>TT</title><a href=big.jpg><img src=t.jpg width=50></a><img src=s.jpg height=99>", plain,
         {{"t.jpg", "image", ";;;50;;;"}, {"s.jpg", "image", ";;;;;;99"}, {"big.jpg", "url", ";;;" + d}}},
        {"<img src=first.jpg><title>TT</title>", Quiet(), {{"first.jpg", "image", ";;;;;;"}}},
        // links: quotes, text before the anchor, anchor text
        {"<title>TT</title><p>See: <a href='next.html'>Next</a>", Quiet(), {{"next.html", "url", "See:;;;Next" + d}}},
        {"<title>TT</title><a class=x href=\"it's here.html\" > Go </a>", Quiet(),
         {{"it's here.html", "url", ";;;Go" + d}}},
        {"<title>TT</title><a href=a.html title=x>A</a> the href attribute <a data-href=z HREF=b.html>B",
         Quiet(), {{"a.html", "url", ";;;A" + d}, {"b.html", "url", "the href attribute;;;B" + d}}},
        {"<title>TT</title>" + std::string(60, 'w') + "<a href=x>", Quiet(),
         {{"x", "url", "..." + std::string(50, 'w') + ";;;" + d}}},
        // refresh
        {"<title>TT</title><meta http-equiv=\"refresh\" content='0; url=next.html'>", Quiet(),
         {{"next.html", "NewDomain", ""}}},
        {"<title>TT</title><META CONTENT=\"5;URL=http://x.example/Y\"><meta property=\"og:url\" content=\"z\">",
         Quiet(), {{"http://x.example/Y", "NewDomain", ""}}},
        {"<title>TT</title><meta name=viewport><script src=\"a.js?url=b\"></script>", Quiet(), {}},
        // frames, only inside a frameset
        {"<title>TT</title><frameset cols=2><frame src=\"a.htm\"><FRAME name=x SRC='b b.htm'></frameset>", Quiet(),
         {{"a.htm", "url", ""}, {"b b.htm", "url", ""}}},
        {"<title>TT</title><frame src=a.htm>", Quiet(), {}},
        // embedded media; background sounds only with the sounds list on
        {"<title>TT</title><embed src=\"m.mid\"><bgsound src=s.wav>", Quiet(),
         {{"m.mid", "url", ""}, {"s.wav", "url", ""}}},
        {"<title>TT</title><embed src=\"m.mid\"><bgsound src=s.wav>", noSounds, {{"m.mid", "url", ""}}},
    };
    for (const Row& r : rows) EXPECT_EQ(Targets(r.html, r.options), r.expected) << r.html;
}

// Attributes are found from their "=", tags from the page's "<": names
// with white space before the "=", names that only end in "href", an
// attribute at the very start, "href=" in plain text (taken, as always), and
// tags before the one that makes them count.
TEST(PageParser, AttributesByTheirEqualsSignAndTagsByTheirStart) {
    const std::string d = ";;;TT;;;" + std::string(kPage);
    struct Row {
        std::string html;
        std::vector<LinkReport> expected;
    } rows[] = {
        {"<title>TT</title><a href\n  = \"x.html\">X</a>", {{"x.html", "url", ";;;X" + d}}},
        {"<title>TT</title><a xhref=no.html data-href=no2.html>Z</a>", {}},
        {"<title>TT</title>href is a word, href= too <a href=y.html>Y</a>",
         {{"too", "url", ";;;Y" + d}, {"y.html", "url", "href is a word, href= too;;;Y" + d}}},
        {"href=a.html><title>TT</title>", {{"a.html", "url", ";;;" + d}}},
        {"<title>TT</title>a = b == c <a href==x.html>", {{"=x.html", "url", "a = b == c;;;" + d}}},
        {"<title>TT</title><frame src=early.htm><FRAMESET><frame src=late.htm>", {{"late.htm", "url", ""}}},
        {"<title>TT</title><embed src=e1.mid><p>text</p><EMBED SRC=e2.mid>", {{"e1.mid", "url", ""}, {"e2.mid", "url", ""}}},
        {"<title>TT</title><img src=\"one.jpg\"<img src=two.jpg>", {{"one.jpg", "image", ";;;;;;"}}},
    };
    for (const Row& r : rows) EXPECT_EQ(Targets(r.html), r.expected) << r.html;
}

// Pages as people write them: attributes on the next line, tags that only
// begin with "a", sizes that are not stated or not numbers.
TEST(PageParser, LineBreaksInsideTagsAndTagsThatAreNotLinks) {
    const std::string d = ";;;TT;;;" + std::string(kPage);
    struct Row {
        std::string html;
        std::vector<LinkReport> expected;
    } rows[] = {
        {"<title>TT</title><a\nhref=\"x.html\">X</a>", {{"x.html", "url", ";;;X" + d}}},
        {"<title>TT</title><A\r\n  HREF=y.html>Y</A>", {{"y.html", "url", ";;;Y" + d}}},
        {"<title>TT</title><img\nsrc=\"a.jpg\" width=200\nheight=300>", {{"a.jpg", "image", ";;;200;;;300"}}},
        {"<title>TT</title><article><img src=p.jpg></article><aside><img src=q.jpg></aside>",
         {{"p.jpg", "image", ";;;;;;"}, {"q.jpg", "image", ";;;;;;"}}},
        {"<title>TT</title><abbr><img src=r.jpg></abbr><address><img src=s.jpg></address>",
         {{"r.jpg", "image", ";;;;;;"}, {"s.jpg", "image", ";;;;;;"}}},
        {"<title>TT</title><a href=big.jpg><img src=t.jpg></a>", {{"big.jpg", "url", ";;;" + d}}},
        {"<title>TT</title><img src=u.jpg width=abc height=wide>", {{"u.jpg", "image", ";;;abc;;;wide"}}},
    };
    for (const Row& r : rows) EXPECT_EQ(Targets(r.html), r.expected) << r.html;
}

TEST(PageParser, UnterminatedTagsAndQuotes) {
    // An open tag or quote before a good link: each scan takes what the
    // quote and ">" rules give, and the link scan still finds the link
    // unless the open quote is its own.
    const std::string link = "<a href=\"ok.html\">";
    struct Row {
        std::string head;
        std::vector<std::string> urls;
    } rows[] = {
        {"<img src=\"a.jpg", {"ok.html"}},
        {"<img src=\"a.jpg\" alt=\"open", {"a.jpg", "ok.html"}},
        {"<img", {"ok.html"}},
        {"<meta content='0;url=x", {"ok.html", "x<a href="}},
        {"<frameset><frame src=\"f.htm", {"ok.html", "f.htm<a href="}},
        {"<embed src=\"e.mid", {"ok.html", "e.mid<a href="}},
        {"<a href=\"open", {"open<a href="}},
        {"<a href", {"ok.html"}},
        {"<a href=", {"<a", "ok.html"}},
        {"<title>x", {"ok.html"}},
        {"<", {"ok.html"}},
        {"\"", {"ok.html"}},
        {"'", {"ok.html"}},
    };
    for (const Row& r : rows) {
        std::vector<std::string> urls;
        for (const LinkReport& report : Targets("<title>TT</title>" + r.head + link)) urls.push_back(report.url);
        EXPECT_EQ(urls, r.urls) << r.head;
        // At the end of the page, an open tag of any kind costs nothing before it.
        EXPECT_EQ(Targets("<title>TT</title>" + link + r.head).at(0).url, "ok.html") << r.head;
    }
}

std::vector<std::string> Classify(const std::string& url, const std::string& kind, int depth,
                                  const ParserOptions& o, bool matched = true) {
    Recorder rec;
    PageState page{kPage, depth, "T", matched};
    LinkClassifier(page, o, rec, rec).ClassifyLink(url, kind, "D");
    return rec.calls;
}

ParserOptions With(void (*change)(ParserOptions&)) {
    ParserOptions o = Quiet();
    change(o);
    return o;
}

TEST(LinkClassifier, RoutesEachTargetToItsPlace) {
    const ParserOptions q = Quiet();
    const ParserOptions noDlls = With([](ParserOptions& o) { o.url.parseDlls = false; });
    const ParserOptions filtered = With([](ParserOptions& o) { o.url.filter = UrlFilter("http://h.example/*"); });
    const ParserOptions noLists =
        With([](ParserOptions& o) { o.collectImages = o.collectSounds = o.collectMovies = false; });
    const ParserOptions showOnly = With([](ParserOptions& o) { o.showOnlySearchItems = true; });
    const ParserOptions staySearch = With([](ParserOptions& o) { o.stayInSearch = true; });
    const std::string from = " | D | T | " + std::string(kPage) + " | 2";
    const std::string ref = std::string(" | ") + kPage;
    const std::string aHtml = "link http://h.example/d/a.html | D | 3" + ref;
    struct Row {
        std::string url, kind;
        int depth;
        const ParserOptions& options;
        bool matched;
        std::vector<std::string> calls;
    } rows[] = {
        {"<<T>>", "koteret", 2, q, true, {"link <<T>> | <<T>> | 2" + ref}},
        {" a.html ", "url", 2, q, true, {aHtml}},
        {"../UP.JPG", "url", 2, q, true, {"image http://h.example/UP.JPG" + from}},
        {"S.MP3", "url", 2, q, true, {"sound http://h.example/d/S.MP3" + from}},
        {"M.MPG", "url", 2, q, true, {"movie http://h.example/d/M.MPG" + from}},
        {"M.MPG?x=1", "url", 2, q, true, {"link http://h.example/d/M.MPG?x=1 | D | 3" + ref}},
        {"M.MPG?x=1", "url", 2, noDlls, true, {}},
        {"cgi?x=1.gif", "image", 2, q, true, {}},
        {"a.wav", "image", 2, q, true, {}},
        {"http://other.example/", "url", 2, filtered, true, {}},
        {"/x.html", "url", 2, filtered, true, {"link http://h.example/x.html | D | 3" + ref}},
        {"mailto:me@x.example", "url", 2, q, true, {}},
        {"me@x.example", "url", 2, q, true, {}},
        {"GOPHER://g.example/", "url", 2, q, true, {}},
        {"file:///etc/passwd", "url", 2, q, true, {}},
        {"javascript:go('a.html')", "url", 2, q, true, {}},
        {"ftp://f.example/a.html", "url", 2, q, true, {"link ftp://f.example/a.html | D | 3" + ref}},
        {"", "url", 2, q, true, {}},
        {"http://h.example/" + std::string(kMaxLinkLength, 'a'), "url", 2, q, true, {}},
        {"next.html", "NewDomain", 2, q, true, {"link http://h.example/d/next.html | D | 3" + ref}},
        {"http://n.example/", "NewDomain", 0, q, true,
         {"start http://n.example/", "link http://n.example/ | D | 1" + ref}},
        {"http://n.example/", "NewDomain", 0, filtered, true, {}},
        // list switches, show only search items, stay in search
        {"a.jpg", "url", 2, noLists, true, {}},
        {"a.mp3", "url", 2, noLists, true, {}},
        {"a.mpg", "url", 2, noLists, true, {}},
        {"a.jpg", "image", 2, showOnly, false, {}},
        {"a.jpg", "image", 2, showOnly, true, {"image http://h.example/d/a.jpg" + from}},
        {"a.html", "url", 2, showOnly, false, {aHtml}},
        {"a.html", "url", 2, staySearch, false, {}},
        {"a.html", "url", 2, staySearch, true, {aHtml}},
        {"a.mp3", "url", 2, staySearch, false, {"sound http://h.example/d/a.mp3" + from}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Classify(r.url, r.kind, r.depth, r.options, r.matched), r.calls) << r.url << " " << r.matched;
}

TEST(LinkClassifier, EmailShapes) {
    for (const char* yes : {"me@x.example", "mailto:me@x.example", "\"a.b@c.d\"", "MAILTO:x@y.z"})
        EXPECT_TRUE(LooksLikeEmail(yes)) << yes;
    for (const char* no : {"me@x", "@x.example", "me@", "a b@c.d", "me@x.example@y.z", "http://u@h.example/",
                           "a@b/c.d", "plain.html"})
        EXPECT_FALSE(LooksLikeEmail(no)) << no;
}

TEST(PageParser, RoutesAWholePageAndStoresIt) {
    ParserOptions o = Quiet();
    o.search.offlineSearch = true;
    Recorder rec;
    PageState page{kPage, 0, "", false};
    std::atomic<bool> stop{false};
    const std::string html = "<title>Cats</title><img src=Big.GIF width=200 height=300>"
                             "<a href=\"mailto:me@x.example\">mail</a><a href=\"/s/meow.WAV\">Meow</a>"
                             "<meta http-equiv=refresh content=\"0;url=http://n.example/\">";
    ParsePage(page, html, o, ParserOutputs{rec, rec, rec, rec}, stop);
    const std::string from = " | Cats | " + std::string(kPage) + " | 0";
    EXPECT_EQ(rec.calls, (std::vector<std::string>{
                             "link <<Cats>> | <<Cats>> | 0 | " + std::string(kPage),
                             "image http://h.example/d/Big.GIF | ;;;200;;;300" + from,
                             "sound http://h.example/s/meow.WAV | ;;;Meow;;;Cats;;;" + std::string(kPage) + from,
                             "start http://n.example/",
                             "link http://n.example/ |  | 1 | " + std::string(kPage),
                         }));
    EXPECT_EQ(rec.status, "parsing [" + std::string(kPage) + "]...");
    EXPECT_EQ(page.title, "Cats");
    EXPECT_TRUE(page.matched);
    ASSERT_EQ(rec.stored.size(), 1u);
    EXPECT_EQ(rec.stored[0].text, html);
    EXPECT_EQ(rec.stored[0].title, "Cats");
}

TEST(PageParser, TextSearchSetsMatchAndHit) {
    struct Row {
        std::string html;
        SearchOptions search;
        bool matched;
        std::vector<std::string> hits;
    } rows[] = {
        {"<title>Cats</title><p>the cat sat", {}, true, {}},
        {"<title>Cats</title><p>the cat sat", {.text = "cat"}, true,
         {"hit <title>cats</title><p>the cat sat | 216 | Cats | " + std::string(kPage)}},
        {"<title>Cats</title><p>the cat sat", {.text = "cat", .matchCase = true}, true,
         {"hit <title>Cats</title><p>the cat sat | 27 | Cats | " + std::string(kPage)}},
        {"<title>Cats</title><p>the dog", {.text = "dog", .titlesOnly = true}, false, {}},
        {"<title>Cats</title><p>the dog", {.text = "cow dog"}, false, {}},
        {"<p>the dog", {.text = "dog", .titlesOnly = true}, true,       // no title tags: the whole page
         {"hit <p>the dog | 27 |  the dog... | " + std::string(kPage)}},
        {"<title>x</title><p>y", {.text = "title", .textOnly = true}, false, {}},
        {"<title>x</title><p>a &amp; big b", {.text = "big", .textOnly = true, .wholeWords = true}, true,
         {"hit xa  big b | 27 | x a &amp; big b... | " + std::string(kPage)}},
    };
    for (const Row& r : rows) {
        ParserOptions o = Quiet();
        o.search = r.search;
        Recorder rec;
        PageState page{kPage, 1, "", false};
        std::atomic<bool> stop{false};
        ParsePage(page, r.html, o, ParserOutputs{rec, rec, rec, rec}, stop);
        EXPECT_EQ(page.matched, r.matched) << r.html << " / " << r.search.text;
        std::vector<std::string> hits;
        for (const std::string& call : rec.calls)
            if (call.starts_with("hit ")) hits.push_back(call);
        EXPECT_EQ(hits, r.hits) << r.html << " / " << r.search.text;
    }
}

// Counts what a page hands out, without keeping it.
struct Counter : ReportSink {
    std::size_t reports = 0;
    std::size_t bytes = 0;
    void Report(const LinkReport& r) override {
        ++reports;
        bytes += r.url.size() + r.description.size();
    }
};

// Hostile pages: each must be parsed in time linear in its size, and what is
// handed out stays in proportion to the page.
void ExpectBounded(const std::string& name, const std::string& html, std::size_t maxReports) {
    Recorder rec;
    Counter count;
    PageState page{kPage, 1, "", false};
    std::atomic<bool> stop{false};
    const auto start = std::chrono::steady_clock::now();
    ParsePage(page, html, Quiet(), count, rec, rec, rec, stop);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(10)) << name;
    EXPECT_LE(count.reports, maxReports) << name;
    EXPECT_LE(count.bytes, 2 * html.size() + count.reports * (kMaxAnchorTextLength + kMaxTitleLength + 300))
        << name;
}

std::string Repeat(const std::string& s, std::size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

TEST(PageParser, HostilePagesStayBounded) {
    // Each case would take minutes if any scan searched again from every tag.
    const std::string block = "<p>" + std::string(1000, 't') + " <a href=a.html>x</a> <img src=b.jpg> ";
    ExpectBounded("50 MB without a break", Repeat(block, (50u << 20) / block.size()), 2 * (50u << 20) / 1000);
    ExpectBounded("one letter", std::string(8u << 20, 'a'), 1);
    const std::string pad(200, ' ');
    ExpectBounded("hrefs sharing one far tag end",
                  Repeat("href=x" + pad, 100000) + ">" + std::string(2u << 20, ' ') + "y" + std::string(2u << 20, 'z'),
                  100001);
    ExpectBounded("tags sharing one far tag end",
                  Repeat("<img src=a.jpg <embed src=a <meta url=x <frame src=f" + pad, 100000) + "<frameset" +
                      std::string(2u << 20, ' ') + ">",
                  10);
    ExpectBounded("white space before every link", ">" + std::string(2u << 20, ' ') + Repeat("<a href=x>" + pad, 100000),
                  100001);
    ExpectBounded("open quotes", Repeat("<a href=\"x <img src='y" + pad, 100000) + ">", 100001);
    ExpectBounded("lone brackets", std::string(2u << 20, '<') + std::string(2u << 20, '>'), 1);

    Recorder rec;  // 100 000 links, each routed to the kernel
    PageState page{kPage, 1, "", false};
    std::atomic<bool> stop{false};
    ParsePage(page, Repeat("<a href=\"p.html\">", 100000), Quiet(), ParserOutputs{rec, rec, rec, rec}, stop);
    EXPECT_EQ(rec.calls.size(), 100001u);

    std::mt19937 random(7);
    std::string garbage(4u << 20, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    ExpectBounded("binary garbage", garbage, garbage.size());
    ExpectBounded("NUL bytes", std::string("<title>a\0b</title><a href=\"x\0y\">\0</a>", 37) + std::string(1000, '\0'),
                  3);
}

TEST(PageParser, StopFlagEndsTheScans) {
    Recorder rec;
    PageState page{kPage, 1, "", false};
    std::atomic<bool> stop{false};
    ParserOptions paced;  // the real pauses: 1 ms per target would take 100 s here
    paced.search.offlineSearch = true;
    const std::string html = Repeat("<a href=\"p.html\">", 100000);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    const auto start = std::chrono::steady_clock::now();
    ParsePage(page, html, paced, rec, rec, rec, rec, stop);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_LT(rec.reports.size(), 1000u);
    EXPECT_TRUE(rec.stored.empty());
}

}  // namespace
}  // namespace flk
