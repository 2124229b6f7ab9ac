#pragma once
#include "search/EngineRequests.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace flk {

// Fragments that keep links back into the engines, their owners and their
// advertising from becoming start locations, tested as plain substrings of
// the lower-cased link. Seventeen entries; the WebCrawler entry is the
// configured host, the rest are fixed.
std::vector<std::string> BuildExclusionList(const EngineHosts& hosts);

// The link rule without the count and duplicate checks: a web address
// ("http://" or "https://", any case), none of the exclusions, and not a
// bookseller's engine-result page.
bool IsAcceptableFoundLink(std::string_view link, const std::vector<std::string>& exclusions,
                           std::string_view booksellerFragment);

// The found addresses of one search run, shared by its worker threads: every
// member is safe to call from any thread.
class FoundAddressFilter {
public:
    // A category walk never fetches more pages than this in one run.
    static constexpr int kMaxWalkPages = 200;

    enum class Outcome {
        Ignored,
        Recorded,
        WalkCategory,  // walkUrl is a category page below the offering page
    };

    explicit FoundAddressFilter(const EngineHosts& hosts);

    // A new run: nothing found, nothing visited. categoryWalk makes links
    // that begin with "/" category links below the directory's root.
    // runExclusion, when given, is one more lower-case fragment excluded for
    // this run (the host of a user's own engine).
    void Reset(int maxPages, bool categoryWalk, std::string runExclusion = std::string());

    // Offers a link found on fromPage. A WalkCategory outcome names a page
    // that was not seen before in this run, already marked as visited.
    Outcome Offer(std::string_view link, const std::string& fromPage, std::string* walkUrl = nullptr);

    // Marks a result page as fetched in this run; false when it already was.
    bool MarkVisited(const std::string& url);

    int FoundCount() const;
    int MaxPages() const;
    // Each accepted address followed by ";", in the order they were found.
    std::string JoinedAddresses() const;
    std::vector<std::string> Addresses() const;
    // The result page an address was found on, or "".
    std::string SourceOf(const std::string& address) const;

    const std::vector<std::string>& Exclusions() const { return exclusions_; }

private:
    const std::string directoryRoot_;
    const std::string bookseller_;
    const std::vector<std::string> exclusions_;

    mutable std::mutex lock_;
    int maxPages_ = 0;
    bool categoryWalk_ = false;
    int walked_ = 0;
    std::string runExclusion_;
    std::unordered_map<std::string, std::string> found_;  // address -> result page
    std::vector<std::string> order_;
    std::unordered_set<std::string> visited_;
};

}  // namespace flk
