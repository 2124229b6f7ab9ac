#include "query/QueryEvaluator.h"

#include <climits>
#include <cstdint>

#include "platform/TextUtil.h"
#include "query/LiteralPattern.h"

namespace flk {

namespace {

constexpr char kTrueMark = '\xFE';
constexpr char kFalseMark = '\xFD';
constexpr std::size_t npos = std::string::npos;

// Precedence order: the first of these found anywhere is reduced first.
constexpr std::string_view kOperators[] = {"AND", "OR", "NOT", "NEAR", "+", "-", "!"};

bool IsMarker(char c) { return c == kTrueMark || c == kFalseMark; }

// Characters passed over before a term starts.
bool IsSkipped(char c) {
    switch (c) {
    case ' ': case '(': case ')': case '[': case ']': case '"': case '+': case '-': case '!':
        return true;
    default:
        return IsMarker(c);
    }
}

// Characters that end an unquoted term ("[", "+", "-", "!" belong to it).
bool EndsPlainTerm(char c) {
    switch (c) {
    case ' ': case '"': case '(': case ')': case ']':
        return true;
    default:
        return IsMarker(c);
    }
}

bool IsOperatorWord(std::string_view term) {
    const std::string upper = ToUpperAscii(term);
    for (std::string_view op : kOperators)
        if (upper == op) return true;
    return false;
}

// Whole words: a wildcard span may not cross white space; page text breaks
// words at line ends and tabs as well as at spaces.
bool HasSpace(std::string_view s) {
    for (char c : s)
        if (IsSpace(c)) return true;
    return false;
}

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum;
    if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? INT64_MAX : INT64_MIN;
    return sum;
}

// (L*n)^3, saturated: a long term with many hits must not wrap to a negative score.
std::int64_t SaturatingCube(std::int64_t x) {
    constexpr std::int64_t kCubeRootLimit = 2097151;  // 2^21 - 1; its cube fits
    if (x > kCubeRootLimit) return INT64_MAX;
    return x * x * x;
}

// Replaces the innermost-last "(" holding only `mark`s and spaces up to its
// ")" by one `mark`.
bool CollapseLastBracket(std::string& s, char mark) {
    const std::size_t open = s.rfind('(');
    if (open == npos) return false;
    std::size_t i = open + 1;
    while (i < s.size() && (s[i] == mark || s[i] == ' ')) ++i;
    if (i >= s.size() || s[i] != ')') return false;
    s.replace(open, i + 1 - open, {' ', mark, ' '});
    return true;
}

bool BracketStep(std::string& s) {
    const bool hasTrue = s.find(kTrueMark) != npos;
    const bool hasFalse = s.find(kFalseMark) != npos;
    if ((!hasTrue && !hasFalse) || s.find('(') == npos) return false;
    bool collapsed = false;
    if (hasTrue) collapsed = CollapseLastBracket(s, kTrueMark);
    // When false markers exist, their test decides the step's outcome.
    if (s.find(kFalseMark) != npos) collapsed = CollapseLastBracket(s, kFalseMark);
    return collapsed;
}

bool OperatorStep(std::string& s) {
    for (char& c : s) c = ToUpperAscii(c);

    std::size_t p = npos;
    std::string_view op;
    for (std::string_view candidate : kOperators) {
        p = s.find(candidate);
        if (p != npos) {
            op = candidate;
            break;
        }
    }
    if (p == npos) return false;

    std::size_t right = p + op.size();
    while (right < s.size() && s[right] == ' ') ++right;
    if (right >= s.size() || !IsMarker(s[right])) return false;
    const bool rightValue = s[right] == kTrueMark;

    bool value;
    std::size_t cut;
    if (op == "NOT" || op == "+" || op == "-" || op == "!") {
        value = (op == "+") ? rightValue : !rightValue;
        cut = p;
    } else {
        if (p == 0) return false;
        std::size_t left = p - 1;
        while (left > 0 && s[left] == ' ') --left;
        if (!IsMarker(s[left])) return false;
        const bool leftValue = s[left] == kTrueMark;
        value = (op == "OR") ? (leftValue || rightValue) : (leftValue && rightValue);  // NEAR is AND
        // The rewrite drops the space in front of the left operand; only a
        // space, so a marker typed straight after "(" keeps its bracket.
        cut = (left > 0 && s[left - 1] == ' ') ? left - 1 : left;
    }
    s.replace(cut, right + 1 - cut, {' ', value ? kTrueMark : kFalseMark, ' '});
    return true;
}

}  // namespace

void CQueryEvaluator::SetMatchCase(bool on) {
    if (on != matchCase_) searchReady_ = false;
    matchCase_ = on;
}

void CQueryEvaluator::SetWholeWords(bool on) { wholeWords_ = on; }

void CQueryEvaluator::SetText(std::string text) {
    text_ = std::move(text);
    searchReady_ = false;
}

std::string_view CQueryEvaluator::OutcomeText(int result) {
    if (result == kUnbalancedQuotes) return "No Matching Closing Quote Marks";
    if (result == kUnbalancedBrackets) return "No Matching Closing Brackets";
    return {};
}

int CQueryEvaluator::Evaluate(std::string_view query) {
    terms_.clear();
    found_.clear();

    int brackets = 0;
    bool oddQuotes = false;
    for (char c : query) {
        if (c == '(') ++brackets;
        else if (c == ')') --brackets;
        else if (c == '"') oddQuotes = !oddQuotes;
    }
    if (oddQuotes) return kUnbalancedQuotes;
    if (brackets != 0) return kUnbalancedBrackets;
    if (query.size() > kMaxQueryLength) return kFalse;

    if (!Reduce(query)) return kFalse;
    return Score();
}

bool CQueryEvaluator::Reduce(std::string_view query) {
    std::string s(Trim(query));
    if (s.empty()) return true;

    std::size_t start = 0;
    while (TermStep(s, start) && start + 1 < s.size()) {
    }

    while (BracketStep(s)) {
    }
    while (OperatorStep(s)) {
        while (BracketStep(s)) {
        }
    }
    return s.find(kFalseMark) == npos;
}

// Finds the next term from `start`, replaces it by its marker and sets
// `start` after the marker. Operator words are left in place and passed.
// Returns false when no term is left.
bool CQueryEvaluator::TermStep(std::string& s, std::size_t& start) {
    std::size_t i = start;
    std::size_t openQuote = npos;
    while (i < s.size() && IsSkipped(s[i])) {
        if (s[i] == '"') openQuote = i;
        ++i;
    }
    if (i >= s.size()) return false;

    // For a phrase the scan resumes after its closing quote, also when the
    // phrase is an operator word: resuming on the quote would pair it with
    // the next one and swallow the following words into a phrase.
    std::size_t end = i;
    std::size_t resume;
    if (openQuote != npos) {
        const std::size_t close = s.find('"', i);
        end = (close == npos) ? s.size() : close;
        resume = (close == npos) ? s.size() : close + 1;
    } else {
        while (end < s.size() && !EndsPlainTerm(s[end])) ++end;
        resume = end;
    }

    const std::string_view view(s);
    const std::string_view term = Trim(view.substr(i, end - i));
    if (term.empty() || IsOperatorWord(term)) {
        start = resume;
        return true;
    }

    const char mark = LookUp(term) ? kTrueMark : kFalseMark;
    const std::string_view before = Trim(view.substr(0, openQuote != npos ? openQuote : i));
    const std::string_view after = Trim(view.substr(resume));
    std::string rebuilt;
    rebuilt.reserve(before.size() + after.size() + 3);
    rebuilt.append(before).append({' ', mark, ' '}).append(after);
    start = before.size() + 2;
    s = std::move(rebuilt);
    return true;
}

const std::string& CQueryEvaluator::SearchText() {
    if (!searchReady_) {
        search_.clear();
        search_.reserve(text_.size() + 7);
        search_.append(4, ' ').append(text_).append(3, ' ');
        if (!matchCase_)
            for (char& c : search_) c = ToUpperAscii(c);
        searchReady_ = true;
    }
    return search_;
}

bool CQueryEvaluator::LookUp(std::string_view term) {
    terms_.push_back(CQueryTerm{std::string(term), 0, {}});
    std::string key = matchCase_ ? std::string(term) : ToUpperAscii(term);
    if (auto it = found_.find(key); it != found_.end()) return it->second;
    const bool found = LookUpUncached(key);
    found_.emplace(std::move(key), found);
    return found;
}

bool CQueryEvaluator::LookUpUncached(const std::string& term) {
    const std::string_view text = SearchText();

    if (const std::size_t star = term.find('*'); star != npos) {
        const std::string_view left = std::string_view(term).substr(0, star);
        const std::string_view right = std::string_view(term).substr(star + 1);
        // An empty left part stands at position 1, inside the leading spaces.
        const std::size_t from = left.empty() ? 1 : LiteralPattern(left).Find(text);
        if (from == npos) return false;
        std::size_t to;
        if (right.empty()) {
            if (left.empty()) return false;   // a lone "*"
            to = from + left.size() - 1;      // "L*": L with any continuation
        } else {
            to = LiteralPattern(right).Find(text, from);
            if (to == npos || to <= from) return false;
        }
        return !wholeWords_ || !HasSpace(text.substr(from, to + 1 - from));
    }

    if (term.find('?') != npos) {
        const std::size_t first = term.find_first_not_of('?');
        if (first == npos) return true;  // only "?": any byte, and the padding has some
        const std::size_t last = term.find_last_not_of('?');
        return ContainsWithWildcards(text, std::string_view(term).substr(first, last + 1 - first));
    }

    return LiteralPattern(term).Find(text) != npos;
}

int CQueryEvaluator::Score() {
    const std::string_view page = PageText();
    std::unordered_map<std::string, std::size_t> counted;  // term key -> index in terms_
    std::int64_t total = 0;
    for (std::size_t i = 0; i < terms_.size(); ++i) {
        CQueryTerm& term = terms_[i];
        std::string key = matchCase_ ? term.text : ToUpperAscii(term.text);
        if (auto it = counted.find(key); it != counted.end()) {
            term.hits = terms_[it->second].hits;
            term.positions = terms_[it->second].positions;
        } else {
            std::size_t hits = LiteralPattern(key).ForEach(page, [&](std::size_t pos) {
                if (term.positions.size() < kMaxRecordedHits) term.positions.push_back(static_cast<int>(pos));
            });
            term.hits = hits > INT_MAX ? INT_MAX : static_cast<int>(hits);
            counted.emplace(key, i);
        }
        const std::int64_t length = static_cast<std::int64_t>(key.size());
        const std::int64_t n = term.hits;
        total = SaturatingAdd(total, n > 0 ? SaturatingCube(length * n) : -(length * length));
    }
    if (total > INT_MAX) return INT_MAX;
    if (total < INT_MIN) return INT_MIN;
    return static_cast<int>(total);
}

}  // namespace flk
