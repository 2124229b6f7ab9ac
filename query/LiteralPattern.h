#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// Substring search in time linear in the text (Knuth-Morris-Pratt). Crawled
// pages are hostile input: a naive search on a page of "aaaa..." with a term
// "aaa...b" would be quadratic.
class LiteralPattern {
public:
    static constexpr std::size_t npos = std::string_view::npos;

    explicit LiteralPattern(std::string_view pattern);

    // First occurrence at or after `from`, or npos. An empty pattern is found
    // at `from` when `from` lies within or at the end of the text.
    std::size_t Find(std::string_view text, std::size_t from = 0) const;

    // Calls fn(position) for every occurrence, overlapping ones included, and
    // returns their number. An empty pattern has no occurrences.
    template <class Fn>
    std::size_t ForEach(std::string_view text, Fn&& fn) const {
        const std::size_t m = pattern_.size();
        if (m == 0) return 0;
        std::size_t count = 0, k = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (k == 0 && (i = SkipToFirst(text, i)) == npos) break;
            k = Advance(k, text[i]);
            if (k == m) {
                fn(i + 1 - m);
                ++count;
                k = border_[m - 1];
            }
        }
        return count;
    }

private:
    // With nothing matched yet only the pattern's first byte can start a
    // match: jump to it with memchr, which keeps ordinary text fast.
    std::size_t SkipToFirst(std::string_view text, std::size_t i) const {
        const void* hit = std::memchr(text.data() + i, pattern_[0], text.size() - i);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : npos;
    }
    std::size_t Advance(std::size_t k, char c) const {
        while (k > 0 && pattern_[k] != c) k = border_[k - 1];
        return pattern_[k] == c ? k + 1 : 0;
    }

    std::string pattern_;
    std::vector<std::size_t> border_;  // longest proper border of each prefix
};

// True when `pattern` occurs in `text`, each "?" in the pattern standing for
// exactly one byte. Runs in O(text x pattern / 64) (bit-parallel shift-and).
bool ContainsWithWildcards(std::string_view text, std::string_view pattern);

}  // namespace flk
