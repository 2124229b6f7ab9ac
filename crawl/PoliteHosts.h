#pragma once
#include "crawl/RobotsRules.h"
#include "net/InternetSession.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace flk {

// A robots.txt longer than this is read only this far.
inline constexpr std::size_t kRobotsCap = 512 * 1024;

// How one crawl treats the hosts it visits: each host's robots.txt, asked
// for once (by the first worker that needs it, the others waiting) and
// kept for the crawl; the spacing its Crawl-delay asks between page
// requests; and the waits of the crawl's workers, which Stop ends at once
// through WakeAll(). Thread-safe; one object per crawl.
//
// What a robots.txt answer means:
// - 2xx: its rules (the first kRobotsCap bytes);
// - 3xx: followed up to 5 times, like a page's redirect; more, or one
//   without a new location, counts as no robots.txt;
// - 4xx but 429 (404, 410, 401, 403...): no robots.txt, everything allowed;
// - 429, 5xx, or no answer at all (refused, timed out, cut off): the site
//   is taken as closed to the crawler for this crawl — a site that is down
//   or overloaded is best left alone, and its rules are unknown.
class PoliteHosts {
public:
    enum class Verdict { Allowed, Disallowed, Stopped };

    // robots off: no robots.txt is asked for, every page is allowed and no
    // Crawl-delay applies. network holds the crawl's time limit.
    PoliteHosts(InternetShare& internet, InternetOptions network, std::string agent, bool robots);

    // Whether the robots.txt of url's site lets the crawler have url.
    // `first` turns true the first time a site refuses a page.
    Verdict Check(const std::string& url, const std::atomic<bool>& stop, bool* first = nullptr);
    // Waits until the site's Crawl-delay lets the next page request of
    // url's site go; false when stopped first.
    bool WaitTurn(const std::string& url, const std::atomic<bool>& stop);
    // Waits for d; false when stopped first.
    bool Wait(std::chrono::milliseconds d, const std::atomic<bool>& stop);
    // The crawl stops: every wait looks at its stop flag now.
    void WakeAll();

private:
    struct Site {
        bool ready = false;
        bool fetching = false;
        bool refusalNoted = false;
        RobotsRules rules;
        std::chrono::steady_clock::time_point next{};
    };
    using Clock = std::chrono::steady_clock;

    // The site's entry with its rules read, or nullptr when stopped.
    Site* Ready(const std::string& origin, const std::atomic<bool>& stop, std::unique_lock<std::mutex>& lock);
    bool Fetch(const std::string& origin, const std::atomic<bool>& stop, RobotsRules& rules) const;
    bool WaitUntil(Clock::time_point when, const std::atomic<bool>& stop, std::unique_lock<std::mutex>& lock);

    InternetShare& internet_;
    InternetOptions network_;
    std::string agent_;
    bool robots_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::map<std::string, std::unique_ptr<Site>> sites_;
};

// "scheme://server:port" of a web address (lower case), and its path and
// query; false for anything but http and https.
bool SplitOrigin(const std::string& url, std::string& origin, std::string& pathAndQuery);

}  // namespace flk
