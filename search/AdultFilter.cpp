#include "search/AdultFilter.h"

#include "platform/TextUtil.h"

namespace flk {

namespace {

// Maps the chosen bytes to spaces, collapses space runs, trims, lower-cases.
std::string Collapse(std::string_view text, bool punctuationIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const bool space = IsSpace(c) ||
                           (punctuationIsSpace && kQueryPunctuation.find(c) != std::string_view::npos);
        if (space) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += ToLowerAscii(c);
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

std::string NormaliseQuery(std::string_view query) { return Collapse(query, true); }

bool IsAdultQuery(const std::vector<std::string>& keywords, std::string_view query) {
    const std::string normal = NormaliseQuery(query);
    std::vector<std::string_view> words;
    for (std::size_t pos = 0; pos < normal.size();) {
        std::size_t space = normal.find(' ', pos);
        if (space == std::string::npos) space = normal.size();
        if (space - pos > 1) words.emplace_back(std::string_view(normal).substr(pos, space - pos));
        pos = space + 1;
    }
    for (const std::string& entry : keywords) {
        const std::string keyword = Collapse(entry, false);
        if (keyword.size() <= 1) continue;
        if (keyword.find(' ') != std::string::npos) {
            if (normal.find(keyword) != std::string::npos) return true;
            continue;
        }
        for (std::string_view word : words)
            if (std::string_view(keyword).starts_with(word)) return true;
    }
    return false;
}

}  // namespace flk
