#include "net/CookieFile.h"
#include "net/RetryAfter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace flk {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(CookieFile, ReadsTheBrowsersExportFormat) {
    test::TempDir dir;
    const std::string path = dir.File("cookies.txt");
    Write(path,
          "# Netscape HTTP Cookie File\r\n"
          "\r\n"
          ".site.example\tTRUE\t/\tFALSE\t0\tsession\tabc\r\n"
          "#HttpOnly_www.site.example\tFALSE\t/gallery\tTRUE\t4102444800\tlogin\tyes\r\n"
          "old.example\tFALSE\t/\tFALSE\t1000\tgone\tx\r\n"
          "empty.example\tFALSE\t/\tFALSE\t0\tflag\t\n");
    const CookieFileRead read = ReadCookieFile(path, 2000000000);
    ASSERT_TRUE(read.ok) << read.problem;
    const std::vector<std::string> expected = {
        ".site.example\tTRUE\t/\tFALSE\t0\tsession\tabc",
        "#HttpOnly_www.site.example\tFALSE\t/gallery\tTRUE\t4102444800\tlogin\tyes",
        "empty.example\tFALSE\t/\tFALSE\t0\tflag\t",
    };
    EXPECT_EQ(read.lines, expected);
}

TEST(CookieFile, RefusesAFileOfAnotherShapeWhole) {
    test::TempDir dir;
    const std::string good = "site.example\tFALSE\t/\tFALSE\t0\tname\tvalue\n";
    const std::pair<const char*, const char*> cases[] = {
        {"site.example FALSE / FALSE 0 name value\n", "line 2: not seven fields"},
        {"site.example\tMAYBE\t/\tFALSE\t0\tname\tvalue\n", "line 2: the second and fourth"},
        {"site.example\tFALSE\tgallery\tFALSE\t0\tname\tvalue\n", "line 2: the path"},
        {"site.example\tFALSE\t/\tFALSE\tsoon\tname\tvalue\n", "line 2: the expiry"},
        {"site.example\tFALSE\t/\tFALSE\t0\t\tvalue\n", "line 2: no cookie name"},
        {"\tFALSE\t/\tFALSE\t0\tname\tvalue\n", "line 2: no domain"},
    };
    for (const auto& [line, problem] : cases) {
        const std::string path = dir.File("bad.txt");
        Write(path, good + line);
        const CookieFileRead read = ReadCookieFile(path, 0);
        EXPECT_FALSE(read.ok) << line;
        EXPECT_TRUE(read.lines.empty());
        EXPECT_NE(read.problem.find(problem), std::string::npos) << read.problem;
    }
    const CookieFileRead missing = ReadCookieFile(dir.File("none.txt"), 0);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.problem.find("cannot be read"), std::string::npos);
    EXPECT_FALSE(ReadCookieFile(dir.Path(), 0).ok);  // a folder
}

TEST(RetryAfter, SecondsAndDates) {
    const std::time_t now = 1445412480;  // Wed, 21 Oct 2015 07:28:00 GMT
    struct Case {
        const char* value;
        bool ok;
        long long seconds;
    } cases[] = {
        {"120", true, 120},
        {" 0 ", true, 0},
        {"Wed, 21 Oct 2015 07:28:30 GMT", true, 30},
        {"Wednesday, 21-Oct-15 07:29:00 GMT", true, 60},
        {"Wed Oct 21 07:28:05 2015", true, 5},
        {"Tue, 20 Oct 2015 07:28:00 GMT", true, 0},  // passed
        {"-5", false, 0},
        {"1.5", false, 0},
        {"soon", false, 0},
        {"", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        long long seconds = -1;
        EXPECT_EQ(ParseRetryAfter(c.value, now, seconds), c.ok) << c.value;
        if (c.ok) {
            EXPECT_EQ(seconds, c.seconds) << c.value;
        }
    }
}

}  // namespace
}  // namespace flk
