#include "settings/Settings.h"
#include "platform/TextModeFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <array>
#include <map>

using namespace flk;

namespace {

// The first-run entries as they must appear, in order: section, key, value.
const char* const kFirstRun[][3] = {
    {"search", "categories_amount", "30"}, {"search", "engineline", ""}, {"search", "line", ""},
    {"search", "cond", "and"}, {"crawler", "pagespersite", "10"}, {"crawler", "crl", "2"},
    {"crawler", "crt", "0"}, {"crawler", "warning", "0"}, {"crawler", "word", ""},
    {"crawler", "check_pass", "0"}, {"crawler", "maxthreads", "10"}, {"crawler", "maxdepth", "15"},
    {"crawler", "maxpages", "2000"}, {"crawler", "parse_dlls", "1"}, {"crawler", "stay_in_domain", "1"},
    {"crawler", "filter", "*"}, {"crawler", "dont_visit_chk", "0"}, {"tree", "pure_images", "1"},
    {"tree", "download", "1"}, {"tree", "show_titles", "0"}, {"tree", "show_external", "0"},
    {"tree", "show_search", "0"}, {"tree", "show_tree", "0"}, {"view", "tip", "1"},
    {"view", "askmedia", "0"}, {"view", "CategoriesTree", "0"}, {"browser", "default", "1"},
    {"update", "year", ""}, {"update", "month", ""}, {"update", "day", ""}, {"media", "tab", "0"},
    {"media", "images_min_size_limit", "1"}, {"media", "images_max_size_limit", "1"},
    {"media", "images_min_size", "3000"}, {"media", "images_max_size", "1000000"},
    {"media", "images", "jpg;jpeg;gif;png;webp;avif;svg;bmp;"},
    {"media", "audio", "rm;wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;ogg;oga;opus;m4a;aac;flac;"},
    {"media", "video", "avi;mov;qt;mpeg;mpg;mp4;m4v;webm;mkv;ogv;"}, {"patch", "year", "0"}, {"patch", "month", "0"},
    {"patch", "day", "0"}, {"view", "toolbar", "1"}, {"view", "progressbar", "1"}, {"view", "tree", "0"},
    {"view", "images", "1"}, {"view", "emails", "0"}, {"view", "sounds", "0"}, {"view", "movies", "0"},
    {"view", "forms", "0"}, {"view", "externs", "0"}, {"view", "downloads", "0"}, {"view", "applets", "0"},
    {"view", "scripts", "0"}, {"view", "data", "0"}, {"view", "errors", "0"},
    {"urls history", "url", "www.findlark.example"}, {"urls history", "history", "www.findlark.example;"},
};

// Every "key=value" of the file, in file order, with its section.
std::vector<std::array<std::string, 3>> Entries(const std::string& bytes) {
    std::vector<std::array<std::string, 3>> out;
    std::string section;
    for (const std::string& line : SplitTextLines(bytes)) {
        if (!line.empty() && line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        auto eq = line.find('=');
        if (eq != std::string::npos) out.push_back({section, line.substr(0, eq), line.substr(eq + 1)});
    }
    return out;
}

}  // namespace

TEST(Settings, WriteDefaultsWritesTheFirstRunEntriesInOrder) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    s.WriteDefaults();
    auto entries = Entries(dir.Read("flk.ini"));
    ASSERT_EQ(entries.size(), 57u);
    // Sections group their keys, so compare per section in first-run order.
    for (const auto& row : kFirstRun) {
        EXPECT_EQ(s.GetProfileString(row[0], row[1], "<missing>"), row[2]) << row[0] << "/" << row[1];
    }
    std::map<std::string, std::vector<std::string>> bySection, expected;
    for (auto& e : entries) bySection[e[0]].push_back(e[1]);
    for (const auto& row : kFirstRun) expected[row[0]].push_back(row[1]);
    EXPECT_EQ(bySection, expected);
    // The dates are written empty, and empty integers read as the reader's default.
    EXPECT_EQ(s.Get(keys::UpdateYear), 1980);
}

TEST(Settings, FirstRunMediaListsAreTheClassicOnesWithModernFormatsOff) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    s.WriteProfileInt("modern", "formats", 0);
    s.WriteDefaults();
    EXPECT_EQ(s.Get(keys::MediaImages), "jpg;jpeg;gif;");
    EXPECT_EQ(s.Get(keys::MediaAudio), "rm;wav;mid;midi;snd;ram;mod;au;aiff;mp2;mp3;");
    EXPECT_EQ(s.Get(keys::MediaVideo), "avi;mov;qt;mpeg;mpg;");
}

TEST(Settings, FirstRunIsAMissingFileOrTheFlag) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    EXPECT_TRUE(s.IsFirstRun());
    s.Set(keys::CrawlerEnodger, 1);
    EXPECT_FALSE(s.IsFirstRun());
    s.Set(keys::UpdateFirstTime, 1);
    EXPECT_TRUE(s.IsFirstRun());
}

TEST(Settings, ReaderDefaultsAndConversions) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    EXPECT_EQ(s.Get(keys::CrawlerPagesPerSite), 15);
    EXPECT_EQ(s.Get(keys::CrawlerPagesPerSiteInConfig), 10);
    EXPECT_EQ(s.Get(keys::MediaAudio), "wav;au;mod;mid;midi;snd;ram;aiff;mp2;mp3;");
    EXPECT_EQ(s.GetDecimal(keys::CrawlerMaxDepth), 15);
    s.Set(keys::CrawlerMaxDepth, std::string("abc"));
    EXPECT_EQ(s.GetDecimal(keys::CrawlerMaxDepth), 0);
    EXPECT_EQ(s.GetProfileDecimal("crawler", "none", 300), 300);
    EXPECT_TRUE(s.IsOnUnless0(keys::CrawlerStayInDomain));
    s.Set(keys::CrawlerStayInDomain, std::string("yes"));
    EXPECT_TRUE(s.IsOnUnless0(keys::CrawlerStayInDomain));
    EXPECT_TRUE(s.IsOnlyOne(keys::CrawlerStayInDir));
    s.Set(keys::CrawlerStayInDir, std::string("2"));
    EXPECT_FALSE(s.IsOnlyOne(keys::CrawlerStayInDir));
    // Section and key names are read in any case.
    s.WriteProfileString("program", "version", "Ver. 2");
    EXPECT_EQ(s.Get(keys::ProgramVersion), "Ver. 2");
}

TEST(Settings, HomeDirectoryEndsInOneSeparator) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), "/opt/findlark");
    EXPECT_EQ(s.HomeDirectory(), "/opt/findlark/");
    s.Set(keys::PathExe, std::string("/usr/share/flk"));
    EXPECT_EQ(s.HomeDirectory(), "/usr/share/flk/");
    s.Set(keys::PathExe, std::string("/usr/share/flk/"));
    EXPECT_EQ(s.HomeDirectory(), "/usr/share/flk/");
    s.Set(keys::PathExe, std::string("C:\\Findlark\\"));
    EXPECT_EQ(s.HomeDirectory(), "C:\\Findlark\\");
}

TEST(Settings, HostsComeFromConfiguration) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    EXPECT_EQ(s.MakerHost(), "www.findlark.example");
    s.Set(hosts::Maker, std::string("127.0.0.1:8080"));
    s.WriteDefaults();
    EXPECT_EQ(s.Get(keys::UrlsHistoryHistory), "127.0.0.1:8080;");
}

TEST(Settings, OverridesReadInsteadOfTheFileAndAreNotWritten) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    s.Set(keys::CrawlerMaxDepth, std::string("15"));
    s.Override(keys::CrawlerMaxDepth, 3);
    s.Override(keys::CrawlerFilter, "*.html");
    EXPECT_EQ(s.GetDecimal(keys::CrawlerMaxDepth), 3);
    EXPECT_EQ(s.GetProfileInt("CRAWLER", "MaxDepth", 0), 3);
    EXPECT_EQ(s.Get(keys::CrawlerFilter), "*.html");
    Settings plain(dir.File("flk.ini"), dir.Path());
    EXPECT_EQ(plain.GetDecimal(keys::CrawlerMaxDepth), 15);
    EXPECT_EQ(plain.Get(keys::CrawlerFilter), "*");
}
