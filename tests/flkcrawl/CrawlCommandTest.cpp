#include "flkcrawl/CrawlCommand.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

TEST(CrawlCommand, BadCommandLinesSayWhy) {
    const std::pair<std::vector<std::string>, const char*> bad[] = {
        {{}, "nothing to crawl"},
        {{"--depth"}, "--depth needs"},
        {{"--depth", "x", "a"}, "--depth needs"},
        {{"--threads", "0", "a"}, "--threads needs a number from 1 to 100"},
        {{"--threads", "1000", "a"}, "--threads needs"},
        {{"--media", "pictures", "a"}, "unknown kind \"pictures\""},
        {{"--stay-in-dir", "maybe", "a"}, "--stay-in-dir needs on or off"},
        {{"--frobnicate", "a"}, "unknown option --frobnicate"},
        {{"a", "--search", "cats"}, "either locations, --search or --guide"},
        {{"--engine", "HotBot", "a"}, "--engine goes with --search"},
        {{"--pages", "-5", "a"}, "--pages needs"},
    };
    for (const auto& [args, message] : bad) {
        const CrawlCommandParse r = ParseCrawlCommand(args);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(message), std::string::npos) << r.error;
    }
    EXPECT_TRUE(ParseCrawlCommand({"--help"}).command.help);
    const CrawlCommandParse version = ParseCrawlCommand({"--version"});
    EXPECT_TRUE(version.ok);
    EXPECT_TRUE(version.command.version);
}

TEST(CrawlCommand, OptionsBecomeRunOnlySettings) {
    const CrawlCommandParse r = ParseCrawlCommand({"--depth", "2", "--pages", "50", "--per-site", "0", "--media",
                                                    "sounds,movies", "--stay-in-dir", "off", "--filter", "*.html",
                                                    "a.example", "b.example"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.command.locations, (std::vector<std::string>{"a.example", "b.example"}));
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    s.WriteDefaults();
    const std::string before = dir.Read("flk.ini");
    ApplyCrawlCommand(r.command, s);
    EXPECT_EQ(s.GetDecimal(keys::CrawlerMaxDepth), 2);
    EXPECT_EQ(s.GetDecimal(keys::CrawlerMaxPages), 50);
    EXPECT_EQ(s.Get(keys::CrawlerPagesPerDomainLimit), 0);
    EXPECT_EQ(s.Get(keys::ViewImages), "0");
    EXPECT_EQ(s.Get(keys::ViewSounds), "1");
    EXPECT_FALSE(s.IsOnlyOne(keys::CrawlerStayInDir));
    EXPECT_EQ(s.Get(keys::CrawlerFilter), "*.html");
    EXPECT_EQ(dir.Read("flk.ini"), before);
}
