#pragma once
#include "net/InternetSession.h"
#include "platform/WorkerThread.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The referrer text of the start locations a guide search picks.
inline constexpr char kGuideReferrer[] = "From FLK guides";

// The "href" values of the page's "<a" tags (any case), joined with the
// page address, fragments dropped, completed with "http://" where they have
// no scheme, each address once, in page order. Only links to web, ftp and
// file addresses are kept; at most maxLinks are returned.
std::vector<std::string> ExtractAnchorLinks(std::string_view html, std::string_view pageUrl,
                                            std::size_t maxLinks = 10000);

// Up to count entries picked at random without repeats; all of them, in
// their order, when there are no more than count.
std::vector<std::string> PickAtRandom(const std::vector<std::string>& items, std::size_t count,
                                      std::mt19937& rng);

// What a guide search found on its category page.
struct GuidePick {
    std::vector<std::string> pages;   // picked links of kind "html"
    std::vector<std::string> others;  // picked links of every other kind
    // The page links; the other links only when the page has no page links.
    std::vector<std::string> StartLocations() const;
};

// The guide search's page fetch: reads the category page over HTTP on a
// session of its own, splits its links into page links and others, and
// picks at most kPickCount of each at random. The window polls Active()
// and reads the pick once the run has ended.
class FetchCategory : public WorkerThread {
public:
    static constexpr const char* kClassName = "FetchCategory";
    static constexpr std::size_t kPickCount = 20;

    // seed 0: seeded from the current time.
    FetchCategory(std::string categoryPageUrl, InternetShare& internet, InternetOptions network,
                  std::uint32_t seed = 0);
    ~FetchCategory() override;

    const std::string& PageUrl() const { return url_; }
    // After the run: whether the page was read, and what was picked.
    bool PageRead() const { return pageRead_.load(); }
    const GuidePick& Pick() const { return pick_; }

protected:
    void Run() override;

private:
    bool ReadPage(std::string& html);

    const std::string url_;
    InternetShare& internet_;
    const InternetOptions network_;
    std::mt19937 rng_;
    std::atomic<bool> pageRead_{false};
    GuidePick pick_;
};

}  // namespace flk
