#pragma once
#include "net/InternetSession.h"

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class SitesList;

// What a site check finds on a page: its title and how often the query's
// words occur in its text (letter case ignored).
struct SiteCheckResult {
    std::string title;
    int wordsFound = 0;
};
SiteCheckResult CheckSitePage(std::string_view html, std::string_view query);

// "Check the sites.": every entry of a sites string is fetched on a worker
// (a few at a time) and its title and word count written into the list.
// Stop() (also the destructor) ends and joins every worker, so no result
// arrives after it returns.
class SiteChecks {
public:
    static constexpr int kConcurrent = 8;
    // Pages are read up to this size; the title and words are near the top.
    static constexpr std::size_t kPageCap = 1u << 20;

    SiteChecks(SitesList& list, InternetShare& internet, InternetOptions network);
    ~SiteChecks();
    SiteChecks(const SiteChecks&) = delete;
    SiteChecks& operator=(const SiteChecks&) = delete;

    void Start(std::string_view sites, const std::string& query);
    void Stop();
    // Checks queued or running.
    int Pending() const;

private:
    class Worker;
    void WorkerLoop(Worker& worker);
    bool NextAddress(std::string& address);
    void Check(Worker& worker, const std::string& address);

    SitesList& list_;
    InternetShare& internet_;
    const InternetOptions network_;
    mutable std::mutex lock_;
    std::deque<std::string> queue_;
    std::string query_;
    int running_ = 0;
    std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace flk
