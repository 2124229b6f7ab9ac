#include "crawl/RobotsRules.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

struct RobotsCase {
    const char* text;
    const char* path;
    bool allowed;
};

TEST(RobotsRules, GroupsPatternsAndLongestMatch) {
    const char* ours =
        "User-agent: *\nDisallow: /\n\n"
        "# ours\nUser-Agent: findlark/2.1\nDisallow: /private/\nAllow: /private/open*.html$  # some\n"
        "Disallow: /*.cgi\nDisallow:\n";
    const RobotsCase cases[] = {
        {ours, "/index.html", true},
        {ours, "/private/x.html", false},
        {ours, "/private/open1.html", true},
        {ours, "/private/open1.html?x=1", false},  // "$" anchors at the end
        {ours, "/a/b.cgi?x", false},
        {ours, "/robots.txt", true},
        // only the "*" group: it closes the site
        {"User-agent: *\nDisallow: /\n", "/x", false},
        {"User-agent: other\nDisallow: /\n", "/x", true},
        // equal lengths: Allow wins
        {"User-agent: *\nDisallow: /a\nAllow: /a\n", "/a", true},
        // the longer Disallow beats a shorter Allow
        {"User-agent: *\nAllow: /a\nDisallow: /a/b\n", "/a/b/c", false},
        // several agent lines share the rules after them; groups for us merge
        {"User-agent: x\nUser-agent: Findlark\nDisallow: /one\n\nUser-agent: findlark\nDisallow: /two\n", "/two", false},
        {"User-agent: x\nUser-agent: Findlark\nDisallow: /one\n\nUser-agent: findlark\nDisallow: /two\n", "/one", false},
        // "Findlarkish" is another robot
        {"User-agent: Findlarkish\nDisallow: /\n", "/x", true},
        {"no colon here\n\x01\xff:\xfe\nUser-agent *\n", "/x", true},
        {"User-agent: *\r\nDisallow: /x\r\n", "/x/y", false},
        {"", "", true},
    };
    for (const RobotsCase& c : cases)
        EXPECT_EQ(RobotsRules::Parse(c.text).Allows(c.path), c.allowed) << c.text << " | " << c.path;
}

TEST(RobotsRules, CrawlDelayOfTheChosenGroupBounded) {
    using std::chrono::milliseconds;
    const std::pair<const char*, milliseconds> cases[] = {
        {"User-agent: Findlark\nCrawl-delay: 0.5\n", milliseconds(500)},
        {"User-agent: *\nCrawl-delay: 2\nUser-agent: Findlark\nDisallow: /x\n", milliseconds(0)},
        {"User-agent: *\nCrawl-delay: 2\n", milliseconds(2000)},
        {"User-agent: *\nCrawl-delay: 86400\n", milliseconds(30000)},
        {"User-agent: *\nCrawl-delay: soon\n", milliseconds(0)},
        {"User-agent: *\nCrawl-delay: -3\n", milliseconds(0)},
    };
    for (const auto& [text, delay] : cases) EXPECT_EQ(RobotsRules::Parse(text).CrawlDelay(), delay) << text;
}

TEST(RobotsRules, PatternMatchingStaysQuickOnHostileInput) {
    const std::string pattern = "/" + std::string(200, '*') + "a" + std::string(200, '*') + "b$";
    const std::string path = "/" + std::string(4000, 'a');
    EXPECT_FALSE(RobotsPatternMatches(pattern, path));
    EXPECT_TRUE(RobotsPatternMatches(pattern, path + "b"));
    EXPECT_FALSE(RobotsRules::DisallowAll().Allows("/x"));
    EXPECT_TRUE(RobotsRules::AllowAll().Allows("/x"));
}

}  // namespace
}  // namespace flk
