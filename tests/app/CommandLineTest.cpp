#include "app/CommandLine.h"

#include <gtest/gtest.h>

using flk::ParseCommandLine;

TEST(CommandLine, SwitchesAndLocation) {
    struct Case {
        const char* line;
        const char* location;
        bool page, searchSite, guide, searchWeb, run;
    } cases[] = {
        {"", "", false, false, false, false, false},
        {"www.site.example", "www.site.example", false, false, false, false, false},
        {"www.site.example -run", "www.site.example", false, false, false, false, true},
        {"  www.site.example   -run  ", "www.site.example", false, false, false, false, true},
        {"-page", "maker.example", true, false, false, false, false},
        {"x -guide -run -page", "x", false, false, true, false, false},  // guide wins
        {"x -run -guide", "x", false, false, true, false, false},
        {"x -searchweb -searchsite", "x", false, true, false, true, false},
        {"x -RUN", "x", false, false, false, false, false},               // case-sensitive
        {"x junk-runner", "x", false, false, false, false, true},         // plain substring search
        {"-run www.site.example", "maker.example", false, false, false, false, true},
        {"-page -run", "maker.example", true, false, false, false, true},
        {"C:\\pics\\index.html -page", "C:\\pics\\index.html", true, false, false, false, false},
    };
    for (const auto& c : cases) {
        auto cmd = ParseCommandLine(c.line, "maker.example");
        EXPECT_EQ(cmd.location, c.location) << c.line;
        EXPECT_EQ(cmd.singlePage, c.page) << c.line;
        EXPECT_EQ(cmd.searchSite, c.searchSite) << c.line;
        EXPECT_EQ(cmd.guide, c.guide) << c.line;
        EXPECT_EQ(cmd.searchWeb, c.searchWeb) << c.line;
        EXPECT_EQ(cmd.run, c.run) << c.line;
    }
}

TEST(CommandLine, OptionsOnlyLineIsSearchedWhole) {
    // Without a space the whole line is the option text.
    auto cmd = ParseCommandLine("-page-run", "maker.example");
    EXPECT_EQ(cmd.location, "maker.example");
    EXPECT_TRUE(cmd.singlePage);
    EXPECT_TRUE(cmd.run);
    EXPECT_EQ(flk::JoinArguments({"a", "-run"}), "a -run");
}

// The shell has already split the line: the first argument is the location
// whole, spaces and all.
TEST(CommandLine, FirstArgumentIsTheWholeLocation) {
    struct Case {
        std::vector<std::string> args;
        const char* location;
        bool page, run, guide;
    } cases[] = {
        {{}, "", false, false, false},
        {{"/home/me/My Site/index.html"}, "/home/me/My Site/index.html", false, false, false},
        {{"/home/me/My Site/index.html", "-page", "-run"}, "/home/me/My Site/index.html", true, true, false},
        {{"/home/me/a -run b.html"}, "/home/me/a -run b.html", false, false, false},  // options only after it
        {{"-page", "-run"}, "maker.example", true, true, false},
        {{"-run", "www.site.example"}, "maker.example", false, true, false},
        {{"x", "-guide", "-run"}, "x", false, false, true},
    };
    for (const auto& c : cases) {
        const auto cmd = flk::ParseArguments(c.args, "maker.example");
        const std::string line = flk::JoinArguments(c.args);
        EXPECT_EQ(cmd.location, c.location) << line;
        EXPECT_EQ(cmd.singlePage, c.page) << line;
        EXPECT_EQ(cmd.run, c.run) << line;
        EXPECT_EQ(cmd.guide, c.guide) << line;
    }
}

TEST(CommandLine, CrawlerSwitchShowsTheWindowWithAnyOtherSwitch) {
    struct Case {
        const char* line;
        const char* location;
        bool crawler, guide, run;
    } cases[] = {
        {"www.site.example -crawler", "www.site.example", true, false, false},
        {"-crawler", "maker.example", true, false, false},
        {"www.site.example -run -crawler", "www.site.example", true, false, true},
        {"x -guide -crawler", "x", true, true, false},  // guide still wins over the crawl switches
        {"x -run", "x", false, false, true},
        {"x -crawle", "x", false, false, false},
    };
    for (const auto& c : cases) {
        auto cmd = ParseCommandLine(c.line, "maker.example");
        EXPECT_EQ(cmd.location, c.location) << c.line;
        EXPECT_EQ(cmd.showCrawler, c.crawler) << c.line;
        EXPECT_EQ(cmd.guide, c.guide) << c.line;
        EXPECT_EQ(cmd.run, c.run) << c.line;
    }
}
