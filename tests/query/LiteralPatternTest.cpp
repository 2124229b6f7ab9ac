#include <gtest/gtest.h>

#include <random>
#include <string>

#include "query/LiteralPattern.h"

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

}  // namespace

// Checked against the obvious search on small two-letter texts, where
// borders and overlaps are everywhere, and on patterns longer than 64 bytes.
TEST(LiteralPattern, AgreesWithNaiveSearch) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 200, 'a'), pattern(1 + rng() % (round % 10 == 0 ? 150 : 6), 'a');
        for (char& c : text) c += rng() % 2;
        for (char& c : pattern) c += rng() % 2;
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
    EXPECT_EQ(LiteralPattern("").ForEach("abc", [](std::size_t) {}), 0u);
}
