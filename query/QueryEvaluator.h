#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace flk {

// One term looked up during an evaluation.
struct CQueryTerm {
    std::string text;            // exactly as looked up, with any "*" or "?"
    int hits = 0;                // literal occurrences in the page text
    std::vector<int> positions;  // where those hits start (at most kMaxRecordedHits)
};

// Boolean text query over one page text: terms, "quoted phrases", brackets,
// AND OR NOT NEAR + - ! (any letter case), "*" and "?" wildcards.
//
// Usage, per page:
//     CQueryEvaluator ev;                  // one per run, reused for many pages
//     ev.SetMatchCase(box); ev.SetWholeWords(box);
//     ev.SetText(pageText);                // HTML, title, or HtmlToText(html)
//     int r = ev.Evaluate(query);
//     if (r > 0) { /* a match; r is the page's score */ }
// Only a result above 0 is a match. The hit line shown for a match comes from
// search/HitLine.h, not from the evaluator.
//
// Results:
//   kUnbalancedQuotes   (-3) odd number of '"' in the query
//   kUnbalancedBrackets (-2) counts of "(" and ")" differ (order is not checked)
//   kFalse              (-1) the expression is false for this page
//   anything else            true; the score. For each term looked up (once
//       per appearance in the query), with L its length and n its overlapping
//       literal hits in the page text: + (L*n)^3 when n > 0, - L^2 when n = 0.
//       Summed in 64 bits with saturation and clamped to the int range.
//       Wildcard terms count literally, so they normally subtract. A query
//       without terms (empty, only operators) scores 0: no match.
//
// The query is rewritten as a string: each term becomes a one-byte truth
// marker (0xFE true, 0xFD false; such bytes in a query act as markers), then
// brackets holding only markers of one kind collapse, then operators are
// applied in the fixed precedence AND, OR, NOT, NEAR, +, -, ! while their
// operands are markers. The reduction stops at the first operator whose
// operand is not yet a marker ("(a OR b) AND c" stops at the AND); the page
// is then false when any false marker is left. Adjacent terms act as AND.
//
// Matching ignores letter case (ASCII only) unless match case is set. A plain
// term matches inside longer words. "L*R": L, then R later in the text; with
// whole words the span must hold no white space (so "*x" never matches with
// whole words). "L*" matches L followed by anything. "?" is exactly one byte.
//
// Cost: each term is one linear pass over the text; queries longer than
// kMaxQueryLength are refused as false, which keeps the string rewriting
// (quadratic in the query length) bounded.
class CQueryEvaluator {
public:
    static constexpr int kUnbalancedQuotes = -3;
    static constexpr int kUnbalancedBrackets = -2;
    static constexpr int kFalse = -1;
    static constexpr std::size_t kMaxQueryLength = 16 * 1024;
    static constexpr std::size_t kMaxRecordedHits = 10000;

    CQueryEvaluator() = default;

    void SetMatchCase(bool on);
    void SetWholeWords(bool on);
    void SetText(std::string text);

    int Evaluate(std::string_view query);

    // The terms looked up by the last evaluation, in lookup order, with their
    // hit counts when that evaluation was true.
    const std::vector<CQueryTerm>& Terms() const { return terms_; }
    bool MatchCase() const { return matchCase_; }
    bool WholeWords() const { return wholeWords_; }

    // "No Matching Closing Quote Marks" for -3, "No Matching Closing Brackets"
    // for -2, empty for anything else.
    static std::string_view OutcomeText(int result);

private:
    bool Reduce(std::string_view query);
    bool TermStep(std::string& s, std::size_t& start);
    bool LookUp(std::string_view term);
    bool LookUpUncached(const std::string& term);
    int Score();
    const std::string& SearchText();
    std::string_view PageText() { return std::string_view(SearchText()).substr(4, text_.size()); }

    bool matchCase_ = false;
    bool wholeWords_ = true;
    std::string text_;
    std::vector<CQueryTerm> terms_;

    // Four spaces, the text, three spaces; upper-cased unless match case.
    // Built on first use and kept while the text and options stay the same.
    std::string search_;
    bool searchReady_ = false;
    std::unordered_map<std::string, bool> found_;  // per evaluation
};

}  // namespace flk
