#pragma once
#include "query/SearchOptions.h"
#include "query/TextHit.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class CQueryEvaluator;

// The text this test searches in a page: with titles only, the text between
// "<title>" and the first "</title>" after it (any letter case), or the
// whole page when either is missing; with text only, that text reduced to
// plain text (HtmlToText).
std::string SearchedText(std::string_view html, bool titlesOnly, bool textOnly);

// The text-search test of one page. The crawl runs it on every page it
// parses and the off-line search on every stored page, so both give the
// same hits for the same page. Built once per run from the search options
// (the query and its keyword list stay fixed for the run).
class PageTest {
public:
    explicit PageTest(SearchOptions options);

    const SearchOptions& Options() const { return options_; }
    // The words and phrases of the query that hit lines are made from.
    const std::vector<std::string>& Keywords() const { return keywords_; }
    // Without a query there is nothing to test (every page counts as
    // matched for the crawl's rules, and no hit is made).
    bool HasQuery() const { return !options_.text.empty(); }

    // The hit for a page, or nothing when the evaluation is not above 0.
    // The evaluator belongs to the caller: one per thread, reused for many
    // pages. `title` and `url` go into the hit unchanged.
    std::optional<TextHit> Test(CQueryEvaluator& evaluator, std::string_view html, std::string_view title,
                                std::string_view url) const;

private:
    SearchOptions options_;
    std::vector<std::string> keywords_;
};

}  // namespace flk
