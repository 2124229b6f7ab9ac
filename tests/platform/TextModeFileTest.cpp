#include "platform/TextModeFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

TEST(TextModeFile, WritesWindowsTextModeBytesAndReadsEveryLineEnd) {
    test::TempDir dir;
    ASSERT_TRUE(WriteTextModeFile(dir.File("t.txt"), "Images:\r\n=======\r\nplain\nlast"));
    EXPECT_EQ(dir.Read("t.txt"), "Images:\r\r\n=======\r\r\nplain\r\nlast");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir.File("t.txt"), lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"Images:", "=======", "plain", "last"}));
    EXPECT_EQ(SplitTextLines("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_FALSE(ReadTextLines(dir.File("missing.txt"), lines));
}

TEST(TextModeFile, FailedWriteLeavesOldFile) {
    test::TempDir dir;
    dir.Write("keep.txt", "old");
    EXPECT_FALSE(WriteTextModeFile(dir.File("no/such/folder/keep.txt"), "new"));
    EXPECT_EQ(dir.Read("keep.txt"), "old");
}
