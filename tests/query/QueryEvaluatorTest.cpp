#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <random>
#include <string>

#include "query/QueryEvaluator.h"

using flk::CQueryEvaluator;

namespace {

int Eval(const std::string& query, const std::string& text, bool matchCase = false, bool wholeWords = true) {
    CQueryEvaluator ev;
    ev.SetMatchCase(matchCase);
    ev.SetWholeWords(wholeWords);
    ev.SetText(text);
    return ev.Evaluate(query);
}

}  // namespace

TEST(QueryEvaluator, Table) {
    const struct {
        const char* query;
        const char* text;
        int expected;
        bool matchCase = false;
        bool wholeWords = true;
    } rows[] = {
        // Balance: the quote test comes first; only the final counts matter.
        {"\"big cat", "big cat", -3}, {"(cat", "cat", -2}, {"\"(cat", "cat", -3}, {")cat(", "cat", 27},
        // Adjacent terms are an implicit AND; the score sums (L*n)^3 and -L^2.
        {"cat dog", "cat", -1}, {"cat dog", "a cat and a dog", 54},
        {"cat OR dog", "dog dog", 207}, {"cat -dog", "cat", 18}, {"!dog cat", "cat", 18},
        {"cAt aNd DoG", "cat dog", 54}, {"cat NEAR dog", "dog ................ cat", 54},
        {"\"and\"", "and", 0}, {"AND OR NOT", "cat", 0}, {"", "cat", 0},
        {"NOT dog", "cat", -9}, {"NOT dog", "dog", -1},
        {"(cat) (dog)", "cat dog", 54}, {"((cat) (dog))", "cat dog", 54},
        // The first operator in precedence order whose operand is no marker stops the reduction.
        {"(cat OR dog) AND bird", "cat bird", -1}, {"a AND NOT b", "a", -1},
        // Phrases keep their inner space; a plain term matches inside words.
        {"\"big cat\"", "a big cat", 343}, {"\"big cat\"", "bigcat", -1},
        {"cat", "concatenate", 27}, {"e-mail", "e-mail", 216},
        // Overlapping hits count: "aa" in "aaaa" is 3 hits.
        {"aa", "aaaa", 216}, {"a -bcdef", "a a", -17}, {"a -bcdef", "a a a", 2},
        {"CAT", "cat", 27}, {"CAT", "cat", -1, true},
        // Wildcards are true in the test but count literally in the score.
        {"c?t", "cut", -9}, {"dog c?t", "dog cut", 18}, {"dog ??c?t??", "dog cut", 27 - 49},
        {"dog ca*t", "dog cart", 11}, {"dog ca*t", "dog ca t", -1}, {"dog ca*t", "dog ca t", 11, false, false},
        {"dog *cat", "dog cat", -1}, {"dog *cat", "dog cat", 11, false, false},
        {"dog cat*", "dog category", 11}, {"dog cat*", "dog dogs", -1}, {"dog *", "dog", -1, false, false},
        // Marker bytes in the query act as markers; in the text they are bytes.
        {"\xFE", "cat", 0}, {"\xFD", "cat", -1}, {"(\xFE AND \xFE)", "", 0},
        {"cat", "\xFE" "cat\xFD", 27}, {"ca\xFEt", "ca t", 8 + 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Eval(row.query, row.text, row.matchCase, row.wholeWords), row.expected)
            << "query «" << row.query << "» text «" << row.text << "»";
    }
}

// One evaluator serves many pages: the text, the options and the term list
// of one evaluation must not leak into the next.
TEST(QueryEvaluator, ReusedForManyPages) {
    CQueryEvaluator ev;
    ev.SetText("Cat cat");
    EXPECT_EQ(ev.Evaluate("cat"), 216);
    ev.SetMatchCase(true);
    EXPECT_EQ(ev.Evaluate("cat"), 27);
    ev.SetText("dog");
    EXPECT_EQ(ev.Evaluate("cat"), -1);
    ev.SetMatchCase(false);

    ev.SetText("xx cat cat dog");
    EXPECT_EQ(ev.Evaluate("cat OR dog cat"), 216 + 27 + 216);
    ASSERT_EQ(ev.Terms().size(), 3u);
    EXPECT_EQ(ev.Terms()[0].text, "cat");
    EXPECT_EQ(ev.Terms()[0].hits, 2);
    EXPECT_EQ(ev.Terms()[0].positions, (std::vector<int>{3, 7}));
    EXPECT_EQ(ev.Terms()[1].text, "dog");
    EXPECT_EQ(ev.Terms()[1].positions, (std::vector<int>{11}));
    EXPECT_EQ(ev.Terms()[2].hits, 2);
    EXPECT_EQ(ev.Evaluate("(x"), -2);
    EXPECT_TRUE(ev.Terms().empty());
}

TEST(QueryEvaluator, ScoreIsClampedNotWrapped) {
    CQueryEvaluator ev;
    ev.SetText(std::string(300000, 'a'));
    EXPECT_EQ(ev.Evaluate("a"), INT_MAX);  // 2.7e16 does not fit 32 bits
    EXPECT_EQ(ev.Terms()[0].hits, 300000);
    EXPECT_EQ(ev.Terms()[0].positions.size(), CQueryEvaluator::kMaxRecordedHits);
    EXPECT_EQ(ev.Evaluate("aaaaaaaaaa"), INT_MAX);  // (L*n)^3 does not fit 64 bits
    EXPECT_EQ(Eval("-bbbbb -bbbbb", "a"), -50);
}

// Every query terminates, whatever its shape:
// unbalanced brackets and quotes, markers, operators in odd places.
TEST(QueryEvaluator, RandomQueriesTerminate) {
    const char* pieces[] = {"cat", "dog", "c?t", "*", "?", "d*g", "ca*", "(", ")", "\"", " ",
                            "AND", "or", "Not", "near", "+", "-", "!", "[", "]", "\xFE", "\xFD",
                            "e-mail", "&"};
    std::mt19937 rng(12345);
    CQueryEvaluator ev;
    ev.SetText("the cat and the dog sent an e-mail (cut)");
    for (int round = 0; round < 20000; ++round) {
        std::string query;
        const int n = static_cast<int>(rng() % 14);
        for (int i = 0; i < n; ++i) query += pieces[rng() % std::size(pieces)];
        ev.SetMatchCase(rng() % 2);
        ev.SetWholeWords(rng() % 2);
        int quotes = 0, brackets = 0;
        for (char c : query) {
            quotes += c == '"';
            brackets += (c == '(') - (c == ')');
        }
        const int r = ev.Evaluate(query);
        if (quotes % 2) {
            EXPECT_EQ(r, -3) << query;
        } else if (brackets) {
            EXPECT_EQ(r, -2) << query;
        }
    }
}

// A hostile 1 MB page must not make any kind of term quadratic.
TEST(QueryEvaluator, HugeInputsStayFast) {
    const auto start = std::chrono::steady_clock::now();
    std::string page(1 << 20, 'a');
    CQueryEvaluator ev;
    ev.SetText(page);
    std::string longTerm(2000, 'a');
    EXPECT_EQ(ev.Evaluate(longTerm + "b"), -1);
    EXPECT_EQ(ev.Evaluate(longTerm + "*b"), -1);
    std::string wild;
    for (int i = 0; i < 200; ++i) wild += "a?";
    EXPECT_EQ(ev.Evaluate(wild + "b"), -1);
    EXPECT_EQ(ev.Evaluate(longTerm), INT_MAX);

    // Long queries: thousands of terms and operator steps.
    ev.SetText("a b");
    std::string query = "a";
    int terms = 1;
    while (query.size() < CQueryEvaluator::kMaxQueryLength - 10) {
        query += (terms % 2) ? " OR (a)" : " AND b";
        ++terms;
    }
    EXPECT_EQ(ev.Evaluate(query), terms);
    std::string nested = "a";
    for (int i = 0; i < 4000; ++i) nested = "(" + nested + ")";
    EXPECT_EQ(ev.Evaluate(nested), 1);
    EXPECT_EQ(ev.Evaluate(std::string(CQueryEvaluator::kMaxQueryLength + 1, 'a')), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}
