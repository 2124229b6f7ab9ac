#include "query/LiteralPattern.h"

#include <cstdint>

namespace flk {

LiteralPattern::LiteralPattern(std::string_view pattern)
    : pattern_(pattern), border_(pattern.size(), 0) {
    std::size_t k = 0;
    for (std::size_t i = 1; i < pattern_.size(); ++i) {
        while (k > 0 && pattern_[i] != pattern_[k]) k = border_[k - 1];
        if (pattern_[i] == pattern_[k]) ++k;
        border_[i] = k;
    }
}

std::size_t LiteralPattern::Find(std::string_view text, std::size_t from) const {
    const std::size_t m = pattern_.size();
    if (m == 0) return from <= text.size() ? from : npos;
    std::size_t k = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (k == 0 && (i = SkipToFirst(text, i)) == npos) return npos;
        k = Advance(k, text[i]);
        if (k == m) return i + 1 - m;
    }
    return npos;
}

bool ContainsWithWildcards(std::string_view text, std::string_view pattern) {
    const std::size_t m = pattern.size();
    if (m == 0) return true;
    if (m > text.size()) return false;

    // Bit j of mask[c] says whether pattern byte j accepts byte c; the state
    // bit j says whether the pattern's first j+1 bytes end at this position.
    const std::size_t words = (m + 63) / 64;
    std::vector<std::uint64_t> mask(256 * words, 0);
    for (std::size_t j = 0; j < m; ++j) {
        const std::uint64_t bit = std::uint64_t{1} << (j % 64);
        if (pattern[j] == '?') {
            for (std::size_t c = 0; c < 256; ++c) mask[c * words + j / 64] |= bit;
        } else {
            mask[static_cast<unsigned char>(pattern[j]) * words + j / 64] |= bit;
        }
    }

    std::vector<std::uint64_t> state(words, 0);
    const std::size_t lastWord = (m - 1) / 64;
    const std::uint64_t lastBit = std::uint64_t{1} << ((m - 1) % 64);
    for (char ch : text) {
        const std::uint64_t* accept = &mask[static_cast<unsigned char>(ch) * words];
        std::uint64_t carry = 1;
        for (std::size_t w = 0; w < words; ++w) {
            const std::uint64_t out = state[w] >> 63;
            state[w] = ((state[w] << 1) | carry) & accept[w];
            carry = out;
        }
        if (state[lastWord] & lastBit) return true;
    }
    return false;
}

}  // namespace flk
