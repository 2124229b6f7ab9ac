#include "settings/Settings.h"
#include "crawl/FoundItems.h"
#include "crawl/MediaExtensions.h"
#include "net/ParsedUrl.h"
#include "crawl/UrlFilter.h"
#include "crawl/UrlOptions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

namespace flk {
namespace {

TEST(UrlFilter, MatchesLikeTheUserExpects) {
    struct Row {
        const char* pattern;
        const char* address;
        bool match;
    } rows[] = {
        {"*", "http://h/a.jpg", true},
        {"*", "", true},
        {"", "http://h/", true},
        {"**", "x", true},
        {"http://h/*", "http://h/a/b.htm", true},
        {"http://h/*", "https://h/a", false},
        {"http://h/*", "xhttp://h/a", false},
        {"*.jpg", "http://h/a.jpg", true},
        {"*.jpg", "http://h/x.jpg/y.jpg", false},  // the literal binds to its first occurrence
        {"*.JPG", "http://h/a.jpg", false},
        {"*img*", "http://h/img/a", true},
        {"*img*", "http://h/a", false},
        {"http://h/", "http://h/", true},
        {"http://h/", "http://h/x", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "aXbYcZ", false},
        {"a*b*c", "ac", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(UrlFilter(r.pattern).MatchesFilter(r.address), r.match) << r.pattern << " / " << r.address;

    EXPECT_EQ(UrlFilter("a*b").Parts(), (std::vector<std::string>{"a", "*", "b"}));
    EXPECT_EQ(UrlFilter("*").Parts(), (std::vector<std::string>{"*"}));

    std::string pattern;
    for (int i = 0; i < 200; ++i) pattern += "*ab";
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(UrlFilter(pattern).MatchesFilter(std::string(1 << 20, 'a')));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(MediaExtensions, MembershipIsLowerCaseSubstring) {
    const char* images = "jpg;jpeg;gif;";
    EXPECT_TRUE(InExtensionList(images, "JPG"));
    EXPECT_TRUE(InExtensionList(images, "peg"));  // substring, through "jpeg;"
    EXPECT_FALSE(InExtensionList(images, "jp"));
    EXPECT_FALSE(InExtensionList(images, ""));    // ";" alone is in every list
    EXPECT_FALSE(InExtensionList("jpg", "jpg"));
    EXPECT_TRUE(InExtensionList("PNG;", "png"));

    MediaExtensionLists lists;
    const std::pair<const char*, MediaKindList> rows[] = {
        {"http://h/UP.JPG", MediaKindList::Images},  {"http://h/S.MP3", MediaKindList::Sounds},
        {"http://h/M.MPG", MediaKindList::Movies},   {"http://h/a.jpg?x=1", MediaKindList::None},
        {"http://h/dir/", MediaKindList::None},      {"http://h/p.htm", MediaKindList::None},
        {"http://h/a.bmp", MediaKindList::None},  // kind "image", but not in the default list
    };
    for (const auto& [url, list] : rows) EXPECT_EQ(lists.ListFor(ParsedUrl(url)), list) << url;
}

TEST(UrlOptions, ReadFromProfile) {
    test::TempDir dir;
    dir.Write("flk.ini",
              "[crawler]\nfilter=\nparse_dlls=0\nstay_in_dir=0\ndont_visit_chk=1\n"
              "dont_visit=bad.example;\ndomain_level=2\n[media]\nimages=png;\n");
    Settings settings(dir.File("flk.ini"), dir.Path());
    UrlOptions o = ReadUrlOptions(settings);

    EXPECT_EQ(settings.Get(keys::CrawlerFilter), "*");  // an empty filter is written back
    EXPECT_EQ(o.filter.Parts(), (std::vector<std::string>{"*"}));
    EXPECT_FALSE(o.parseDlls);
    EXPECT_TRUE(o.stayInDomain);
    EXPECT_FALSE(o.stayInDir);
    EXPECT_EQ(o.domainLevel, 2);
    EXPECT_EQ(o.media.images, "png;");
    EXPECT_EQ(o.media.audio, keys::MediaAudio.def);
    EXPECT_TRUE(o.IsDontVisit(ParsedUrl("http://bad.example/x")));
    EXPECT_TRUE(o.IsDontVisit(ParsedUrl("https://bad.example/")));
    EXPECT_FALSE(o.IsDontVisit(ParsedUrl("http://good.example/")));
    EXPECT_TRUE(o.MayFollowPage(ParsedUrl("http://h/a.htm")));
    EXPECT_FALSE(o.MayFollowPage(ParsedUrl("http://h/a.cgi?x")));
    o.dontVisitOn = false;
    EXPECT_FALSE(o.IsDontVisit(ParsedUrl("http://bad.example/x")));
}

TEST(FoundItems, Descriptions) {
    EXPECT_EQ(ImageDescription("a cat", "50", "60"), "a cat;;;50;;;60");
    EXPECT_EQ(LinkDescription("  before ", " Next ", " Title ", "http://h/"),
              "before;;;Next;;;Title;;;http://h/");

    std::string longText = "0123456789" + std::string(50, 'x');
    EXPECT_EQ(TextBeforeAnchor(longText), "..." + std::string(50, 'x'));
    // 25 two-byte letters plus one byte: the cut skips a half letter.
    std::string utf8 = "a";
    for (int i = 0; i < 25; ++i) utf8 += "\xc3\xa9";
    EXPECT_EQ(TextBeforeAnchor(utf8 + "z"), "..." + utf8.substr(3) + "z");

    EXPECT_EQ(TitleLineText("Home"), "<<Home>>");
    EXPECT_TRUE(IsTitleLine("<<Home>>"));
    EXPECT_FALSE(IsTitleLine("http://h/"));
}

}  // namespace
}  // namespace flk
