#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/TextSearch.h"

using flk::ContainsWithWildcards;
using flk::LiteralPattern;

namespace {

bool NaiveWildcard(const std::string& text, const std::string& pattern) {
    for (std::size_t i = 0; i + pattern.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < pattern.size() && (pattern[j] == '?' || pattern[j] == text[i + j])) ++j;
        if (j == pattern.size()) return true;
    }
    return pattern.empty();
}

std::string Random(std::mt19937& rng, std::size_t length, const char* alphabet) {
    const std::string letters(alphabet);
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += letters[rng() % letters.size()];
    return s;
}

}  // namespace

// Checked against the obvious search on small two-letter texts, where
// borders and overlaps are everywhere, and on patterns longer than 64 bytes.
TEST(TextSearch, AgreesWithNaiveSearch) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = Random(rng, rng() % 200, "ab");
        const std::string pattern = Random(rng, 1 + rng() % (round % 10 == 0 ? 150 : 6), "ab");
        const LiteralPattern literal(pattern);
        const std::size_t from = text.empty() ? 0 : rng() % text.size();
        EXPECT_EQ(literal.Find(text, from), text.find(pattern, from));
        std::size_t count = 0;
        for (std::size_t p = text.find(pattern); p != std::string::npos; p = text.find(pattern, p + 1)) ++count;
        EXPECT_EQ(literal.ForEach(text, [](std::size_t) {}), count);

        std::string wild = pattern;
        for (char& c : wild)
            if (rng() % 3 == 0) c = '?';
        EXPECT_EQ(ContainsWithWildcards(text, wild), NaiveWildcard(text, wild)) << text << " / " << wild;
    }
    EXPECT_EQ(LiteralPattern("").Find("abc", 3), 3u);
    EXPECT_EQ(LiteralPattern("").Find("abc", 4), std::string::npos);
    EXPECT_EQ(LiteralPattern("").ForEach("abc", [](std::size_t) {}), 0u);
    EXPECT_TRUE(ContainsWithWildcards("\xFE\xFD", "\xFE?"));
}
