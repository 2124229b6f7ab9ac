#include "platform/ProfileFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

using flk::ProfileFile;
using flk::test::TempDir;

namespace {

struct ReadCase {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

TEST(ProfileFile, ReadsByWindowsRules) {
    const ReadCase cases[] = {
        {"[A]\nk=v\n", "A", "k", "v"},
        {"[A]\nk=v\n", "a", "K", "v"},                         // names are case-insensitive
        {"  [ Sec One ]  \n  key  =  spaced value  \n", "sec one", "key", "spaced value"},
        {"[A]\nk=\"quoted\"\n", "A", "k", "quoted"},           // one pair of quotes removed
        {"[A]\nk='single'\n", "A", "k", "single"},
        {"[A]\nk=\"\"twice\"\"\n", "A", "k", "\"twice\""},     // only one pair
        {"[A]\nk=\"unbalanced\n", "A", "k", "\"unbalanced"},
        {"[A]\nk=a=b\n", "A", "k", "a=b"},                     // value runs past further "="
        {"[A]\nk=first\nk=second\n", "A", "k", "first"},       // first match wins
        {"[A]\nk=1\n[A]\nk=2\nj=3\n", "A", "j", "def"},        // only the first section counts
        {"[A]\nno equals sign\n", "A", "no equals sign", "def"},
        {"[A]\n;k=comment\n", "A", ";k", "def"},
        {"[A]\nk=v\n[B]\n", "B", "k", "def"},
        {"k=outside\n[A]\n", "A", "k", "def"},
        {"[A]\r\nk=crlf\r\n", "A", "k", "crlf"},
        {"[A]\r\r\nk=crcrlf\r\r\n", "A", "k", "crcrlf"},
        {"[A]\nk=\n", "A", "k", ""},
        {"[A\nk=v\n", "A", "k", "def"},                        // no closing bracket: no section
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.Write("p.ini", c.file);
        ProfileFile f(dir.File("p.ini"));
        EXPECT_EQ(f.GetString(c.section, c.key, "def"), c.expected) << c.file;
    }
}

TEST(ProfileFile, SectionListsEachKeyOnceInFileOrder) {
    TempDir dir;
    dir.Write("p.ini", "[other]\nx=1\n[Engines]\n b = \"two words\" \n;c=comment\na=1\nB=later\n\n[engines]\nd=4\n");
    ProfileFile f(dir.File("p.ini"));
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(f.GetSection("engines"), (Entries{{"b", "two words"}, {"a", "1"}}));
    EXPECT_TRUE(f.GetSection("missing").empty());
    EXPECT_TRUE(ProfileFile(dir.File("none.ini")).GetSection("engines").empty());
}

TEST(ProfileFile, IntegerReads) {
    struct Case {
        const char* value;
        int expected;
    } cases[] = {
        {"42", 42},   {"-7", -7},  {"+5", 5},       {"12abc", 12},        {"abc", 0},
        {"", 99},     {"\"17\"", 17}, {" 8 ", 8},    {"-", 0},             {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.Write("p.ini", std::string("[n]\nv=") + c.value + "\n");
        ProfileFile f(dir.File("p.ini"));
        EXPECT_EQ(f.GetInt("n", "v", 99), c.expected) << c.value;
    }
    ProfileFile f(dir.File("p.ini"));
    EXPECT_EQ(f.GetInt("n", "missing", 99), 99);
}

TEST(ProfileFile, MissingFileGivesDefaults) {
    TempDir dir;
    ProfileFile f(dir.File("none.ini"));
    EXPECT_FALSE(f.Exists());
    EXPECT_EQ(f.GetString("a", "b", "dflt"), "dflt");
    EXPECT_EQ(f.GetInt("a", "b", 3), 3);
}

TEST(ProfileFile, RewriteKeepsEverythingElseByteForByte) {
    TempDir dir;
    const std::string original =
        "; settings\r\n[First]\r\n  Key = old  \r\nother=1\r\n\r\n[Second]\r\nx=y\r\n";
    dir.Write("p.ini", original);
    ProfileFile f(dir.File("p.ini"));
    ASSERT_TRUE(f.WriteString("first", "KEY", "new"));
    EXPECT_EQ(dir.Read("p.ini"),
              "; settings\r\n[First]\r\nKey=new\r\nother=1\r\n\r\n[Second]\r\nx=y\r\n");

    ASSERT_TRUE(f.WriteString("First", "added", "2"));  // after the section's last line
    EXPECT_EQ(dir.Read("p.ini"),
              "; settings\r\n[First]\r\nKey=new\r\nother=1\r\nadded=2\r\n\r\n[Second]\r\nx=y\r\n");

    ASSERT_TRUE(f.WriteInt("Third", "n", -4));  // new section at the end
    EXPECT_EQ(dir.Read("p.ini"),
              "; settings\r\n[First]\r\nKey=new\r\nother=1\r\nadded=2\r\n\r\n[Second]\r\nx=y\r\n"
              "[Third]\r\nn=-4\r\n");
    EXPECT_EQ(f.GetInt("third", "N", 0), -4);
}

TEST(ProfileFile, WritesIntoFilesWithoutFinalLineEnd) {
    TempDir dir;
    dir.Write("p.ini", "[A]\nk=v");
    ProfileFile f(dir.File("p.ini"));
    ASSERT_TRUE(f.WriteString("A", "j", "w"));
    EXPECT_EQ(dir.Read("p.ini"), "[A]\nk=v\nj=w\n");
    ASSERT_TRUE(f.WriteString("B", "x", "line\nbreak"));  // a value never splits a line
    EXPECT_EQ(f.GetString("B", "x", ""), "line break");
}

TEST(ProfileFile, ReadOnlyFileIsLeftAlone) {
    TempDir dir;
    dir.Write("p.ini", "[A]\nk=v\n");
    ASSERT_EQ(::chmod(dir.File("p.ini").c_str(), 0444), 0);
    ProfileFile f(dir.File("p.ini"));
    EXPECT_FALSE(f.WriteString("A", "k", "changed"));
    EXPECT_EQ(f.GetString("A", "k", ""), "v");
    EXPECT_EQ(dir.Read("p.ini"), "[A]\nk=v\n");
}

TEST(ProfileFile, GarbageAndHugeValuesAreHarmless) {
    TempDir dir;
    std::string garbage;
    for (int i = 0; i < 20000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    dir.Write("p.ini", garbage);
    ProfileFile f(dir.File("p.ini"));
    EXPECT_EQ(f.GetInt("update", "firsttime", 5), 5);
    ASSERT_TRUE(f.WriteString("update", "firsttime", "0"));
    EXPECT_EQ(f.GetInt("update", "firsttime", 5), 0);

    const std::string big(100 * 1024, 'x');
    ASSERT_TRUE(f.WriteString("big", "value", big));
    EXPECT_EQ(f.GetString("big", "value", ""), big);
    EXPECT_EQ(f.GetInt("update", "firsttime", 5), 0);
}

TEST(ProfileFile, ConcurrentWritersLoseNothing) {
    TempDir dir;
    ProfileFile f(dir.File("p.ini"));
    constexpr int kThreads = 8, kKeys = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            ProfileFile mine(dir.File("p.ini"));
            for (int k = 0; k < kKeys; ++k)
                mine.WriteInt("s" + std::to_string(t % 3), "k" + std::to_string(t) + "_" + std::to_string(k),
                              t * 1000 + k);
        });
    for (auto& th : threads) th.join();
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < kKeys; ++k)
            EXPECT_EQ(f.GetInt("s" + std::to_string(t % 3), "k" + std::to_string(t) + "_" + std::to_string(k), -1),
                      t * 1000 + k);
}

}  // namespace
