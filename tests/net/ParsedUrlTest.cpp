#include "net/ParsedUrl.h"

#include <gtest/gtest.h>

#include <chrono>

namespace flk {
namespace {

struct ParseRow {
    const char* text;
    const char* scheme;
    const char* host;
    const char* path;
    const char* file;
    const char* ext;
    const char* kind;
};

TEST(ParsedUrl, ParseSplitsIntoParts) {
    const ParseRow rows[] = {
        {"http://www.site.example:8080/pics/a/Cat.JPG", "http:", "http://www.site.example:8080", "/pics/a/",
         "Cat.JPG", "JPG", "image"},
        {"HTTPS://Site.example/dir/", "https:", "HTTPS://Site.example", "/dir/", "", "", "html"},
        {"http://site.example", "http:", "http://site.example", "/", "", "", "html"},
        {"http://h/m/Clip.MPEG", "http:", "http://h", "/m/", "Clip.MPEG", "MPEG", "video"},
        {"http://h/s/Song.Mp3", "http:", "http://h", "/s/", "Song.Mp3", "Mp3", "audio"},
        {"http://h/x.mpa", "http:", "http://h", "/", "x.mpa", "mpa", "image"},
        {"http://h/x.png", "http:", "http://h", "/", "x.png", "png", "other"},
        {"http://h/a/name.", "http:", "http://h", "/a/", "name.", "", "html"},
        {"http://a..b/x", "http:", "http://a..b", "/", "x", "", "html"},
        // The query is not part of the folder or the extension.
        {"http://h/get.php?f=/a/b.jpg", "http:", "http://h", "/", "get.php?f=/a/b.jpg", "php", "other"},
        {"http://h/d/?p=1.5", "http:", "http://h", "/d/", "?p=1.5", "", "html"},
        // A ":" that does not end a scheme name makes no scheme.
        {"show.php?at=10:30", "", "", "show.php?at=10:30", "", "", "html"},
        {"/home/me/site/page.html", "", "", "/home/me/site/", "page.html", "html", "html"},
        {"file:///home/me/a.gif", "file:", "file://", "/home/me/", "a.gif", "gif", "image"},
        {"mailto:me@x.example", "mailto:", "mailto:me@x.example", "/", "", "", "html"},
        {"", "", "", "/", "", "", "html"},
        {":::", "", "", ":::", "", "", "html"},
    };
    for (const ParseRow& r : rows) {
        SCOPED_TRACE(r.text);
        ParsedUrl u(r.text);
        EXPECT_EQ(u.Full(), r.text);
        EXPECT_EQ(u.Scheme(), r.scheme);
        EXPECT_EQ(u.HostPart(), r.host);
        EXPECT_EQ(u.Path(), r.path);
        EXPECT_EQ(u.FileName(), r.file);
        EXPECT_EQ(u.Extension(), r.ext);
        EXPECT_EQ(u.Kind(), r.kind);
    }
}

TEST(ParsedUrl, KindTableIgnoresLetterCase) {
    const std::pair<const char*, std::string_view> rows[] = {
        {"", kKindHtml},       {"SHTML", kKindHtml},  {"Jpeg", kKindImage}, {"BMP", kKindImage},
        {"AIFF", kKindAudio},  {"au", kKindAudio},    {"QT", kKindVideo},   {"mpg", kKindVideo},
        {"rm", kKindOther},    {"jpgx", kKindOther},
    };
    for (const auto& [ext, kind] : rows) EXPECT_EQ(KindOfExtension(ext), kind) << ext;
}

TEST(ParsedUrl, JoinResolvesAndNormalises) {
    const char* page = "http://h/a/b/page.html";
    const char* rows[][3] = {
        {"../up.jpg", page, "http://h/a/up.jpg"},
        {"/root.jpg", page, "http://h/root.jpg"},
        {"pic.jpg#frag", page, "http://h/a/b/pic.jpg"},
        {"#top", page, page},
        {"", "http://h/a/b/page.html#x", page},
        {"./../x.jpg", page, "http://h/a/x.jpg"},
        {"././c/./d.jpg", page, "http://h/a/b/c/d.jpg"},
        {"c/..", page, "http://h/a/b/"},
        {"../../../../x.jpg", page, "http://h/x.jpg"},
        {"file..name.jpg", page, "http://h/a/b/file..name.jpg"},
        {"  spaced.htm \r", page, "http://h/a/b/spaced.htm"},
        {"x.jpg", "http://a..b/dir/p.htm", "http://a..b/dir/x.jpg"},
        {"../x.jpg", "http://a..b/dir/p.htm", "http://a..b/x.jpg"},
        {"http://o.example/p/../q.htm", page, "http://o.example/q.htm"},
        {"HTTPS://Sec.example/A.htm", page, "HTTPS://Sec.example/A.htm"},
        {"//cdn.example/i.gif", "https://h/p.htm", "https://cdn.example/i.gif"},
        {"?page=2", "http://h/list.php?page=1", "http://h/list.php?page=2"},
        // A link that is only a query keeps the page's whole path.
        {"?q=1", "http://h/x/index.html", "http://h/x/index.html?q=1"},
        {"?q=1#part", "http://h/x/", "http://h/x/?q=1"},
        {"?q=a/../b", "http://h/x/index.html", "http://h/x/index.html?q=a/../b"},
        {"?", "http://h/x/index.html", "http://h/x/index.html?"},
        {"show.php?at=10:30", page, "http://h/a/b/show.php?at=10:30"},
        {"view.php?p=../x", page, "http://h/a/b/view.php?p=../x"},
        {"img.jpg", "http://h/v.php?dir=/a/b/", "http://h/img.jpg"},
        {"x.htm", "http://h", "http://h/x.htm"},
        {"javascript:go('../x')", page, "javascript:go('../x')"},
        {"x.htm", "page-without-scheme.htm", ""},
        {"", "", ""},
        // Pages read from disk.
        {"img/a.jpg", "/home/me/site/index.html", "/home/me/site/img/a.jpg"},
        {"../a.jpg", "/home/me/site/index.html", "/home/me/a.jpg"},
        {"a.jpg", "file:///home/me/index.html", "file:///home/me/a.jpg"},
    };
    for (const auto& r : rows) EXPECT_EQ(JoinUrl(r[0], r[1]), r[2]) << r[0] << " on " << r[1];
}

// Joining against a page address split once gives what joining against its
// text gives, also for page addresses that cleaning changes.
TEST(ParsedUrl, JoinAgainstASplitPageEqualsJoinAgainstItsText) {
    const char* pages[] = {"http://h/a/b/page.html", "http://h/x/index.html?q=1", "https://h", "http://h/a/#part",
                           "  http://h/a/p.htm  ", "http://h/v.php?dir=/a/b/", "/home/me/site/index.html",
                           "file:///home/me/index.html", "page-without-scheme.htm", ""};
    const char* links[] = {"x.htm", "../up.htm", "/root.htm", "//cdn.example/i.gif", "?page=2", "", "#top",
                           "HTTPS://Sec.example/A.htm", "./a/./b/../c.htm"};
    for (const char* page : pages) {
        const ParsedUrl split(page);
        for (const char* link : links) EXPECT_EQ(JoinUrl(link, split), JoinUrl(link, page)) << link << " on " << page;
    }
}

TEST(ParsedUrl, MakeParsesTheResolvedAddress) {
    ParsedUrl page("https://h/a/b/page.html");
    ParsedUrl u;
    u.Make("../Clip.MPEG#t=3", page);
    EXPECT_EQ(u.Full(), "https://h/a/Clip.MPEG");
    EXPECT_EQ(u.HostPart(), "https://h");
    EXPECT_EQ(u.Kind(), kKindVideo);
    EXPECT_TRUE(ParsedUrl::Made("x.htm", "nowhere").Empty());
    EXPECT_TRUE(ParsedUrl::Made("?q=1", page.Full()).IsQuery());
}

TEST(ParsedUrl, LongHostileInputStaysLinear) {
    std::string up;
    for (int i = 0; i < 200000; ++i) up += "../";
    std::string host = "http://";
    for (int i = 0; i < 200000; ++i) host += "a..";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(JoinUrl(up + "x.jpg", "http://h/a/b/c.htm"), "http://h/x.jpg");
    EXPECT_EQ(JoinUrl("../x.jpg", host + "/d/p.htm"), host + "/x.jpg");
    EXPECT_EQ(ParsedUrl(std::string(1 << 20, ':')).Scheme(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(ParsedUrl, CompleteStartAddsSchemeOnlyWhereMissing) {
    auto got = CompleteStart(" a.example ; ;https://b.example/x;HTTP://c.example;C:\\dir\\p.htm;"
                             "/home/p.htm;ftp://f.example/;d.example:8080/x");
    std::vector<std::string> want = {"http://a.example", "https://b.example/x", "HTTP://c.example",
                                     "C:\\dir\\p.htm",   "/home/p.htm",         "ftp://f.example/",
                                     "http://d.example:8080/x"};
    EXPECT_EQ(got, want);
    EXPECT_TRUE(CompleteStart(" ;; ").empty());
}

TEST(ParsedUrl, CompleteDontVisitGivesHostParts) {
    auto got = CompleteDontVisit("bad.example/x/y.htm; ;https://s.example/p;/local/dir;0");
    std::vector<std::string> want = {"http://bad.example", "https://bad.example", "https://s.example",
                                     "http://0", "https://0"};
    EXPECT_EQ(got, want);
}

TEST(ParsedUrl, SiteAndDirectoryComparisons) {
    ParsedUrl start("http://h/pics/index.htm");
    EXPECT_TRUE(SameSite(ParsedUrl("http://h/other/x"), start));
    EXPECT_FALSE(SameSite(ParsedUrl("http://H/other/x"), start));
    EXPECT_TRUE(InsideDirectory(ParsedUrl("http://h/pics/a/b.htm"), start));
    EXPECT_FALSE(InsideDirectory(ParsedUrl("http://h/other/pics.htm"), start));
    EXPECT_TRUE(IsWebAddress("HTTPS://x") && IsWebAddress("http://x") && !IsWebAddress("ftp://x"));
}

}  // namespace
}  // namespace flk
