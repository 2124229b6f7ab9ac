#include "platform/SplitBySeparator.h"

#include <gtest/gtest.h>

using namespace flk;

TEST(SplitBySeparator, KeepsInnerPiecesAndTrimsOnlyTheRest) {
    const std::pair<const char*, std::vector<std::string>> rows[] = {
        {"a, b , c ", {"a", " b ", "c"}}, {",,x,", {"", "", "x"}}, {"  ", {}}, {"a;b", {"a;b"}}};
    for (const auto& [text, pieces] : rows) {
        std::vector<std::string> out{"stale"};
        EXPECT_EQ(SplitBySeparator(text, ",", out), static_cast<int>(pieces.size())) << text;
        EXPECT_EQ(out, pieces) << text;
    }
    std::vector<std::string> out;
    EXPECT_EQ(SplitBySeparator("x;-;y;-; ", ";-;", out), 2);
    EXPECT_EQ(SplitBySeparator(" a,b ", "", out), 1);  // no separator: no endless loop
}
