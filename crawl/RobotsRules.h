#pragma once
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The robots token the crawler answers to in a robots.txt.
inline constexpr char kRobotsAgent[] = "Findlark";

// The rules a site's robots.txt gives this crawler: the group whose
// User-agent is "Findlark" (any letter case; several such groups count as
// one), else the "*" group, else none. Among the Allow and Disallow
// patterns that match a path the longest wins, Allow on a tie; "*" matches
// any run of characters and a final "$" anchors the pattern at the end of
// the path. An empty Disallow forbids nothing.
class RobotsRules {
public:
    // Everything allowed, no delay: a missing robots.txt.
    static RobotsRules AllowAll() { return RobotsRules(); }
    // Nothing allowed: a site whose robots.txt could not be had.
    static RobotsRules DisallowAll();
    static RobotsRules Parse(std::string_view text);

    // pathAndQuery as requested ("/a/b?c"); an empty one means "/".
    bool Allows(std::string_view pathAndQuery) const;
    // Crawl-delay of the chosen group; zero when it names none.
    std::chrono::milliseconds CrawlDelay() const { return delay_; }

private:
    struct Rule {
        std::string pattern;
        bool allow = false;
    };
    std::vector<Rule> rules_;
    std::chrono::milliseconds delay_{0};
};

// Whether pattern (robots.txt syntax) matches path from its start.
bool RobotsPatternMatches(std::string_view pattern, std::string_view path);

}  // namespace flk
