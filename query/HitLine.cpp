#include "query/HitLine.h"

#include <algorithm>

#include "platform/TextUtil.h"
#include "query/LiteralPattern.h"

namespace flk {

namespace {

constexpr std::size_t kContext = 30;

// Brackets separate words too: otherwise «(cat OR dog)» would give the
// keywords «(cat» and «dog)», which never occur in a page, and every hit of
// a bracketed query would show an empty line.
bool SeparatesWords(char c) {
    return c == ' ' || c == '!' || c == '+' || c == '-' || c == '(' || c == ')';
}

void AddWords(std::string_view text, std::vector<std::string>& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && SeparatesWords(text[i])) ++i;
        std::size_t end = i;
        while (end < text.size() && !SeparatesWords(text[end])) ++end;
        const std::string_view word = Trim(text.substr(i, end - i));
        if (!word.empty() && !EqualsNoCase(word, "near") && !EqualsNoCase(word, "or") &&
            !EqualsNoCase(word, "and"))
            out.emplace_back(word);
        i = end;
    }
}

}  // namespace

std::vector<std::string> BuildKeywordList(std::string_view query) {
    // Two closing quotes keep the text after the last phrase in the walk.
    const std::string q = TrimCopy(std::string(query) + "\"\"");
    std::vector<std::string> keywords;
    std::string words;
    std::size_t pos = 0;
    while (pos < q.size()) {
        const std::size_t open = q.find('"', pos);
        if (open == std::string::npos) break;
        words.append(q, pos, open - pos).push_back(' ');
        const std::size_t close = q.find('"', open + 1);
        const std::size_t phraseEnd = close == std::string::npos ? q.size() : close;
        const std::string_view phrase = Trim(std::string_view(q).substr(open + 1, phraseEnd - open - 1));
        if (!phrase.empty()) keywords.emplace_back(phrase);
        pos = close == std::string::npos ? q.size() : close + 1;
    }
    if (Trim(words).empty()) words = q.substr(pos);
    AddWords(words, keywords);
    return keywords;
}

std::string MakeHitLine(std::string_view text, const std::vector<std::string>& keywords,
                        bool matchCase, bool wholeWords) {
    const std::string searched = matchCase ? std::string(text) : ToLowerAscii(text);
    for (const std::string& keyword : keywords) {
        if (keyword.empty()) continue;
        std::string key = wholeWords ? " " + keyword + " " : keyword;
        if (!matchCase) key = ToLowerAscii(key);
        const std::size_t p = LiteralPattern(key).Find(searched);
        if (p == std::string::npos) continue;
        const std::size_t from = p > kContext ? p - kContext : 0;
        const std::size_t to = std::min(searched.size(), p + key.size() + kContext);
        return searched.substr(from, to - from);
    }
    return {};
}

}  // namespace flk
