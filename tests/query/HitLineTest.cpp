#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "query/HitLine.h"

using flk::BuildKeywordList;
using flk::MakeHitLine;
using Words = std::vector<std::string>;

TEST(HitLine, KeywordList) {
    EXPECT_EQ(BuildKeywordList("cat \"big dog\" -bird"), (Words{"big dog", "cat", "bird"}));
    EXPECT_EQ(BuildKeywordList("x NEAR y or z"), (Words{"x", "y", "z"}));
    EXPECT_EQ(BuildKeywordList("a AND NOT b"), (Words{"a", "NOT", "b"}));
    EXPECT_EQ(BuildKeywordList("(cat OR dog) +e-mail!!x"), (Words{"cat", "dog", "e", "mail", "x"}));
    EXPECT_EQ(BuildKeywordList("\"a\"b\" c \"\""), (Words{"a", "c", "b"}));
    EXPECT_EQ(BuildKeywordList("\"open phrase"), (Words{"open phrase"}));
    EXPECT_EQ(BuildKeywordList(""), Words{});
}

TEST(HitLine, LineAroundFirstKeywordThatOccurs) {
    const std::string text = "0123456789cat" + std::string(87, '.') + "Dog and more text after the dog here";
    // "dog" first occurs at 100: the line starts 30 earlier.
    EXPECT_EQ(MakeHitLine(text, {"bird", "dog", "cat"}, false, false),
              std::string(30, '.') + "dog and more text after the dog h");
    // "cat" at 10: the line starts at 0.
    EXPECT_EQ(MakeHitLine(text, {"cat"}, false, false), text.substr(0, 43));
    // Match case: the capital "Dog" at 100 is passed over for "dog" at 128,
    // and the line keeps its letter case, cut at the end of the text.
    EXPECT_EQ(MakeHitLine(text, {"dog"}, true, false), text.substr(98));
    // Whole words needs a space on each side.
    EXPECT_EQ(MakeHitLine("concatenate", {"cat"}, false, true), "");
    EXPECT_EQ(MakeHitLine("a cat.", {"cat"}, false, true), "");
    EXPECT_EQ(MakeHitLine("a cat b", {"cat"}, false, true), "a cat b");
    EXPECT_EQ(MakeHitLine("", {"cat", ""}, false, false), "");
}
