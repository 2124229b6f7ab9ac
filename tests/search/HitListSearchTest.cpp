#include "crawl/PageStore.h"
#include "query/HitLine.h"
#include "search/HitList.h"
#include "query/HtmlToText.h"
#include "query/PageTest.h"
#include "query/QueryEvaluator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace flk {
namespace {

SearchOptions Options(std::string query, bool titlesOnly = false, bool textOnly = false, bool matchCase = false,
                      bool wholeWords = false) {
    return SearchOptions{std::move(query), titlesOnly, textOnly, matchCase, wholeWords, true};
}

TEST(PageTest, SearchedTextAndHitLine) {
    const std::string dots(40, '.');
    struct {
        SearchOptions options;
        std::string html;
        bool match;
        std::string line;
    } rows[] = {
        {Options("cat", true), "<html><TITLE>Big Cat</Title><body>cat</body>", true, "big cat"},
        {Options("dog", true), "<title>Big Cat</title><body>dog</body>", false, ""},
        // Without a title pair (or with its closing tag only before the
        // opening one) the whole page is searched.
        {Options("dog", true), "<title>unclosed " + dots + " dog", true, dots.substr(11) + " dog"},
        {Options("dog", true), "</title>dog<title>", true, "</title>dog<title>"},
        // Text only: a word split by a tag is found, the line holds no markup.
        {Options("cat", false, true), "<b>c</b>at <i>dog</i>", true, "cat dog"},
        {Options("cat"), "<b>c</b>at <i>dog</i>", false, ""},
        {Options("Cat", false, false, true), "a cat and a Cat", true, "a cat and a Cat"},
        // The evaluator finds a plain term inside words even with whole
        // words; only the line needs spaces around it.
        {Options("cat", false, false, false, true), "concatenate", true, ""},
        {Options("zebra OR \"big dog\""), "zebra and a Big Dog", true, "zebra and a big dog"},
        {Options(""), "anything", false, ""},
    };
    CQueryEvaluator evaluator;  // one for all pages, as a run uses it
    for (const auto& row : rows) {
        const std::optional<TextHit> hit = PageTest(row.options).Test(evaluator, row.html, "T", "u");
        ASSERT_EQ(hit.has_value(), row.match) << row.options.text << " in " << row.html;
        if (hit) {
            EXPECT_EQ(hit->line, row.line) << row.options.text << " in " << row.html;
        }
    }
}

// The crawl-time rule written out from its parts: the evaluator over the
// title (titles only) or the page, as plain text when asked, and the line
// from the query's keywords.
std::optional<TextHit> CrawlTimeTest(const StoredPage& page, const SearchOptions& o) {
    std::string text = o.titlesOnly ? page.title : page.text;
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

bool WaitForEnd(const HitList& list) {
    for (int i = 0; i < 10000 && list.SearchNow().running; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !list.SearchNow().running;
}

TEST(SearchNow, SameHitsAsTheCrawlTimeTest) {
    const StoredPage pages[] = {
        {"http://h/a", "Lark song", 0, "<title>Lark song</title><p>The sky lark sings a long song at dawn.</p>"},
        {"HTTP://h/b", "Birds", 1, "<title>Birds</title><p>Sparrow, Lark and <b>fin</b>ch in the field</p>"},
        {"https://h/c", "Dogs", 1, "<title>Dogs</title>" + std::string(200, 'x') + " big dog barks at a Lark"},
        {"C:\\site\\e.htm", "Finch", 2, "<title>Finch</title><script>lark</script>finch song"},
    };
    PageStore store;
    for (const StoredPage& p : pages) ASSERT_TRUE(store.Add(p));
    for (const SearchOptions& options :
         {Options("lark AND song"), Options("Lark", false, false, true), Options("lark", false, false, false, true),
          Options("lark OR finch", true), Options("finch", false, true), Options("\"big dog\" NEAR lark")}) {
        HitList expected;
        for (const StoredPage& p : pages)
            if (std::optional<TextHit> hit = CrawlTimeTest(p, options)) expected.AddHit(*hit);
        ASSERT_GT(expected.RowCount(), 0u) << options.text;

        HitList list;
        ASSERT_TRUE(list.StartSearchNow(store.Snapshot(), options));
        ASSERT_TRUE(WaitForEnd(list));
        EXPECT_EQ(list.SearchNow().pagesDone, 4);
        EXPECT_EQ(list.SearchNow().hits, static_cast<int>(expected.RowCount()));
        EXPECT_EQ(list.SaveBlock(), expected.SaveBlock()) << options.text;
    }
}

TEST(SearchNow, StopsAndNeverOutlivesTheList) {
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
        // A stopped search makes room for the next; this one is still
        // running when the list goes away, which stops and joins it.
        ASSERT_TRUE(list.StartSearchNow(many, Options("lark")));
    }
}

TEST(PageStore, KeepsPagesWithinItsBound) {
    PageStore store(100, 3);
    auto page = [](std::size_t textBytes) { return StoredPage{"u", "t", 0, std::string(textBytes, 'x')}; };
    EXPECT_TRUE(store.Add(page(58)));   // 60 bytes with address and title
    EXPECT_FALSE(store.Add(page(58)));  // 120 would pass the bound
    EXPECT_TRUE(store.Add(page(38)));   // 100 fits exactly
    EXPECT_FALSE(store.Add(page(0)));
    EXPECT_EQ(store.Bytes(), 100u);
    EXPECT_EQ(store.Dropped(), 2u);
    const auto snapshot = store.Snapshot();
    store.Clear();
    ASSERT_EQ(snapshot.size(), 2u);  // a running search keeps its pages
    EXPECT_EQ(snapshot[1]->text.size(), 38u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(store.Add(page(1)));
    EXPECT_FALSE(store.Add(page(1)));  // the page limit
}

}  // namespace
}  // namespace flk
