#include "crawl/PageStore.h"
#include "search/HitLine.h"
#include "search/HitList.h"
#include "search/HtmlToText.h"
#include "search/PageTest.h"
#include "search/QueryEvaluator.h"
#include "search/SearchNowThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>

namespace flk {
namespace {

using Cells = std::vector<std::string>;

SearchOptions Options(std::string query, bool titlesOnly = false, bool textOnly = false, bool matchCase = false,
                      bool wholeWords = false) {
    SearchOptions o;
    o.text = std::move(query);
    o.titlesOnly = titlesOnly;
    o.textOnly = textOnly;
    o.matchCase = matchCase;
    o.wholeWords = wholeWords;
    return o;
}

bool WaitForEnd(const HitList& list) {
    for (int i = 0; i < 10000; ++i) {
        if (!list.SearchNow().running) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(PageTest, SearchedTextAndHitLine) {
    const std::string padding(40, '.');
    struct {
        SearchOptions options;
        std::string html;
        bool match;
        std::string line;
    } rows[] = {
        // Titles only: the title is searched and gives the line.
        {Options("cat", true), "<html><TITLE>Big Cat</Title><body>cat</body>", true, "big cat"},
        {Options("dog", true), "<title>Big Cat</title><body>dog</body>", false, ""},
        // No title pair, or its closing tag only before the opening one: the
        // whole page is searched.
        {Options("dog", true), "<title>unclosed " + padding + " dog", true, padding.substr(11) + " dog"},
        {Options("dog", true), "</title>dog<title>", true, "</title>dog<title>"},
        // Text only: tags go before the test, so a word split by a tag is
        // found, and the line holds no markup.
        {Options("cat", false, true), "<b>c</b>at <i>dog</i>", true, "cat dog"},
        {Options("cat"), "<b>c</b>at <i>dog</i>", false, ""},
        {Options("dog", true, true), "<title><b>dog</b> days</title>", true, "dog days"},
        // Match case keeps the line's letter case.
        {Options("Cat", false, false, true), "a cat and a Cat", true, "a cat and a Cat"},
        // The evaluator finds a plain term inside words even with whole
        // words; only the line needs the spaces around it.
        {Options("cat", false, false, false, true), "concatenate", true, ""},
        {Options("cat", false, false, false, true), "a cat b", true, "a cat b"},
        // The first keyword found decides: the phrase comes before words.
        {Options("zebra OR \"big dog\""), "zebra and a Big Dog", true, "zebra and a big dog"},
        {Options(""), "anything", false, ""},
        {Options("\"open"), "open", false, ""},
    };
    CQueryEvaluator evaluator;  // one for all pages, as a run uses it
    for (const auto& row : rows) {
        const PageTest test(row.options);
        const std::optional<TextHit> hit = test.Test(evaluator, row.html, "Title", "http://h/p");
        ASSERT_EQ(hit.has_value(), row.match) << row.options.text << " in " << row.html;
        if (!hit) continue;
        EXPECT_EQ(hit->line, row.line) << row.options.text << " in " << row.html;
        EXPECT_GT(hit->score, 0);
        EXPECT_EQ(hit->pageTitle, "Title");
        EXPECT_EQ(hit->pageUrl, "http://h/p");
    }
}

// The crawl-time rule, written out from its parts: the evaluator over the
// title (titles only, when the page has one) or the page, plain text when
// asked, and the line from the query's keywords.
std::optional<TextHit> CrawlTimeTest(const StoredPage& page, const SearchOptions& o) {
    const bool hasTitle = page.text.find("<title>") != std::string::npos;
    std::string text = o.titlesOnly && hasTitle ? page.title : page.text;
    if (o.textOnly) text = HtmlToText(text);
    CQueryEvaluator ev;
    ev.SetMatchCase(o.matchCase);
    ev.SetWholeWords(o.wholeWords);
    ev.SetText(text);
    const int score = ev.Evaluate(o.text);
    if (score <= 0) return std::nullopt;
    return TextHit{MakeHitLine(text, BuildKeywordList(o.text), o.matchCase, o.wholeWords), score, page.title,
                   page.url};
}

TEST(SearchNow, SameHitsAsTheCrawlTimeTest) {
    const StoredPage pages[] = {
        {"http://h/a", "Lark song", 0, "<title>Lark song</title><p>The sky lark sings a long song at dawn.</p>"},
        {"HTTP://h/b", "Birds", 1, "<title>Birds</title><p>Sparrow, Lark and <b>fin</b>ch in the field</p>"},
        {"https://h/c", "", 1, "no title here, only lark and dog text and a song"},
        {"h/d", "Dogs", 2, "<title>Dogs</title>" + std::string(200, 'x') + " big dog barks at a Lark"},
        {"C:\\site\\e.htm", "Finch", 2, "<title>Finch</title><script>lark</script>finch song"},
    };
    const SearchOptions runs[] = {
        Options("lark"),
        Options("lark AND song"),
        Options("Lark", false, false, true),
        Options("lark", false, false, false, true),
        Options("lark OR finch", true),
        Options("finch", false, true),
        Options("\"big dog\" NEAR lark"),
        Options("lark NOT song"),
    };
    PageStore store;
    for (const StoredPage& p : pages) ASSERT_TRUE(store.Add(p));

    for (const SearchOptions& options : runs) {
        std::vector<Cells> expected;
        for (const StoredPage& p : pages) {
            if (std::optional<TextHit> hit = CrawlTimeTest(p, options)) {
                HitList one;
                one.AddHit(*hit);
                const ListTable row = one.Snapshot();
                expected.push_back(row.Rows()[0].cells);
            }
        }
        HitList list;
        ASSERT_TRUE(list.StartSearchNow(store.Snapshot(), options));
        ASSERT_TRUE(WaitForEnd(list));
        const SearchNowProgress p = list.SearchNow();
        EXPECT_EQ(p.pagesDone, 5);
        EXPECT_EQ(p.pageCount, 5);
        EXPECT_EQ(p.hits, static_cast<int>(expected.size()));
        std::vector<Cells> got;
        const ListTable table = list.Snapshot();
        for (const ListRow& row : table.Rows()) got.push_back(row.cells);
        EXPECT_EQ(got, expected) << options.text;
        EXPECT_FALSE(expected.empty()) << options.text;
    }
}

// A sink that holds the search thread inside its first AddHit.
class HoldingSink : public HitSink {
public:
    void AddHit(const TextHit&) override {
        std::unique_lock<std::mutex> lock(mu_);
        ++calls_;
        cv_.notify_all();
        cv_.wait(lock, [&] { return released_; });
    }
    void WaitForCall() {
        std::unique_lock<std::mutex> lock(mu_);
        cv_.wait(lock, [&] { return calls_ > 0; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mu_);
        released_ = true;
        cv_.notify_all();
    }
    int Calls() {
        std::lock_guard<std::mutex> lock(mu_);
        return calls_;
    }

private:
    std::mutex mu_;
    std::condition_variable cv_;
    int calls_ = 0;
    bool released_ = false;
};

TEST(SearchNow, StopEndsAfterThePageInHand) {
    auto page = std::make_shared<const StoredPage>(StoredPage{"h/p", "t", 0, "a lark"});
    HoldingSink sink;
    SearchNowThread thread(std::vector<std::shared_ptr<const StoredPage>>(10, page), Options("lark"), sink);
    EXPECT_EQ(thread.ClassName(), "SearchNowThread");
    ASSERT_TRUE(thread.Start());
    sink.WaitForCall();
    thread.RequestStop();
    sink.Release();
    thread.Join();
    EXPECT_FALSE(thread.Active());
    EXPECT_EQ(thread.PagesDone(), 1);
    EXPECT_EQ(thread.HitsFound(), 1);
    EXPECT_EQ(sink.Calls(), 1);
}

TEST(SearchNow, TheListStopsItsSearch) {
    // Many pages that do not match: a long run that adds no rows.
    auto page = std::make_shared<const StoredPage>(StoredPage{"h/p", "t", 0, std::string(2000, 'w')});
    const std::vector<std::shared_ptr<const StoredPage>> many(200000, page);
    {
        HitList list;
        ASSERT_TRUE(list.StartSearchNow(many, Options("lark")));
        EXPECT_FALSE(list.StartSearchNow(many, Options("lark")));  // one at a time
        list.StopSearchNow();
        const SearchNowProgress p = list.SearchNow();
        EXPECT_FALSE(p.running);
        EXPECT_LT(p.pagesDone, p.pageCount);
        EXPECT_EQ(p.pageCount, 200000);

        // A finished search makes room for the next; this one is still
        // running when the list goes away, which stops and joins it.
        ASSERT_TRUE(list.StartSearchNow(many, Options("lark")));
    }
    HitList idle;
    idle.StopSearchNow();  // nothing to stop
    EXPECT_FALSE(idle.SearchNow().running);
}

TEST(PageStore, KeepsPagesWithinItsBound) {
    PageStore store(100, 3);
    auto page = [](std::size_t textBytes) { return StoredPage{"u", "t", 0, std::string(textBytes, 'x')}; };
    EXPECT_TRUE(store.Add(page(58)));   // 60 bytes with address and title
    EXPECT_FALSE(store.Add(page(58)));  // 120 would pass the bound
    EXPECT_TRUE(store.Add(page(38)));   // 100 fits exactly
    EXPECT_FALSE(store.Add(page(0)));   // 102
    EXPECT_EQ(store.Count(), 2u);
    EXPECT_EQ(store.Bytes(), 100u);
    EXPECT_EQ(store.Dropped(), 2u);

    const auto snapshot = store.Snapshot();
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_EQ(store.Bytes(), 0u);
    ASSERT_EQ(snapshot.size(), 2u);  // a running search keeps its pages
    EXPECT_EQ(snapshot[1]->text.size(), 38u);

    for (int i = 0; i < 3; ++i) EXPECT_TRUE(store.Add(page(1)));
    EXPECT_FALSE(store.Add(page(1)));  // the page limit

    PageStore shared;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < 500; ++i) shared.Add(page(10));
        });
    for (std::thread& w : workers) w.join();
    EXPECT_EQ(shared.Count(), 2000u);
    EXPECT_EQ(shared.Bytes(), 2000u * 12);
}

}  // namespace
}  // namespace flk
