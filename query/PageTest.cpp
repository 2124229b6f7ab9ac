#include "query/PageTest.h"

#include "platform/TextUtil.h"
#include "query/HitLine.h"
#include "query/HtmlToText.h"
#include "query/QueryEvaluator.h"

#include <cstring>

namespace flk {

namespace {

// First occurrence of a lower-case ASCII needle, ignoring the text's letter
// case. The needles are short tags, so the search stays linear in practice.
std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from = 0) {
    if (lowerNeedle.empty() || text.size() < lowerNeedle.size()) return std::string_view::npos;
    for (std::size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < lowerNeedle.size() && ToLowerAscii(text[i + k]) == lowerNeedle[k]) ++k;
        if (k == lowerNeedle.size()) return i;
    }
    return std::string_view::npos;
}

std::string_view TitleOrPage(std::string_view html) {
    constexpr std::string_view kOpen = "<title>";
    const std::size_t open = FindNoCase(html, kOpen);
    if (open == std::string_view::npos) return html;
    const std::size_t start = open + kOpen.size();
    const std::size_t close = FindNoCase(html, "</title>", start);
    if (close == std::string_view::npos) return html;
    return html.substr(start, close - start);
}

}  // namespace

std::string SearchedText(std::string_view html, bool titlesOnly, bool textOnly) {
    const std::string_view text = titlesOnly ? TitleOrPage(html) : html;
    std::string searched = textOnly ? HtmlToText(text) : std::string(text);
    // Pages keep their line breaks; to whole-word search and hit lines a
    // line break or a tab separates words just as a space does.
    // One memchr pass per blank kind: they are rare, and a byte-by-byte loop
    // over every page searched cost a fifth of a text search.
    for (const char blank : {'\t', '\n', '\v', '\f', '\r'}) {
        char* at = searched.data();
        char* const end = at + searched.size();
        while ((at = static_cast<char*>(std::memchr(at, blank, static_cast<std::size_t>(end - at)))) != nullptr)
            *at++ = ' ';
    }
    return searched;
}

PageTest::PageTest(SearchOptions options)
    : options_(std::move(options)), keywords_(BuildKeywordList(options_.text)) {}

std::optional<TextHit> PageTest::Test(CQueryEvaluator& evaluator, std::string_view html, std::string_view title,
                                      std::string_view url) const {
    if (!HasQuery()) return std::nullopt;
    std::string text = SearchedText(html, options_.titlesOnly, options_.textOnly);
    evaluator.SetMatchCase(options_.matchCase);
    evaluator.SetWholeWords(options_.wholeWords);
    evaluator.SetText(text);
    const int score = evaluator.Evaluate(options_.text);
    if (score <= 0) return std::nullopt;
    TextHit hit;
    hit.line = MakeHitLine(text, keywords_, options_.matchCase, options_.wholeWords);
    hit.score = score;
    hit.pageTitle.assign(title);
    hit.pageUrl.assign(url);
    return hit;
}

}  // namespace flk
