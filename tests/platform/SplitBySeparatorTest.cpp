#include "platform/SplitBySeparator.h"

#include <gtest/gtest.h>

using namespace flk;

TEST(SplitBySeparator, KeepsInnerPiecesAndTrimsOnlyTheRest) {
    struct Row {
        const char* text;
        const char* sep;
        std::vector<std::string> pieces;
    } rows[] = {
        {"a, b , c ", ",", {"a", " b ", "c"}},
        {",,x,", ",", {"", "", "x"}},
        {"  ", ",", {}},
        {"one;-;two;-; ", ";-;", {"one", "two"}},
        {"a;-b", ";-;", {"a;-b"}},
        {" a,b ", "", {"a,b"}},
    };
    for (const Row& r : rows) {
        std::vector<std::string> out{"stale"};
        EXPECT_EQ(SplitBySeparator(r.text, r.sep, out), static_cast<int>(r.pieces.size())) << r.text;
        EXPECT_EQ(out, r.pieces) << r.text;
    }
}
