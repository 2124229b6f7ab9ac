#include "session/CrawlerTabs.h"

#include <algorithm>
#include <array>
#include <utility>

namespace flk {

namespace {

constexpr std::array<std::pair<CrawlerTab, std::string_view>, 5> kCaptions = {{
    {CrawlerTab::Search, "Search"},
    {CrawlerTab::Crawl, "Crawl"},
    {CrawlerTab::Images, "Images"},
    {CrawlerTab::Sounds, "Sounds"},
    {CrawlerTab::Movies, "Movies"},
}};

}  // namespace

std::string_view TabCaption(CrawlerTab tab) {
    for (const auto& [t, caption] : kCaptions)
        if (t == tab) return caption;
    return {};
}

std::optional<CrawlerTab> TabForCaption(std::string_view caption) {
    for (const auto& [t, c] : kCaptions)
        if (c == caption) return t;
    return std::nullopt;
}

bool CrawlerTabs::Has(CrawlerTab tab) const { return std::find(tabs_.begin(), tabs_.end(), tab) != tabs_.end(); }

std::vector<CrawlerTab> CrawlerTabs::ListsChanged(const ListsState& state) {
    const std::array<std::pair<CrawlerTab, bool>, 4> wanted = {{
        {CrawlerTab::Crawl, switches_.tree && state.treeHasItems},
        {CrawlerTab::Images, switches_.images && state.images},
        {CrawlerTab::Sounds, switches_.sounds && state.sounds},
        {CrawlerTab::Movies, switches_.movies && state.movies},
    }};
    std::vector<CrawlerTab> added;
    for (const auto& [tab, want] : wanted) {
        if (!want || Has(tab)) continue;
        tabs_.push_back(tab);
        added.push_back(tab);
    }
    return added;
}

}  // namespace flk
