#pragma once
#include "session/ViewSwitches.h"

#include <optional>
#include <string_view>
#include <vector>

namespace flk {

// The tab pages of the crawler window.
enum class CrawlerTab { Search, Crawl, Images, Sounds, Movies };

// "Search", "Crawl", "Images", "Sounds", "Movies".
std::string_view TabCaption(CrawlerTab tab);
std::optional<CrawlerTab> TabForCaption(std::string_view caption);

// What the tabs depend on: whether the tree and each media list hold items.
struct ListsState {
    bool treeHasItems = false;
    bool images = false;
    bool sounds = false;
    bool movies = false;
};

// The tabs on demand. "Search" is there from the start: its page holds the
// text-search query, which is set before a crawl. "Crawl" comes when the
// tree switch is on and the tree holds items, a media tab when its switch is
// on and its list has rows. Each tab comes once, at the end of the row, and
// stays when its list is cleared.
class CrawlerTabs {
public:
    explicit CrawlerTabs(const CrawlerViewSwitches& switches) : switches_(switches) {}

    // The "Lists..." dialog changed the switches; tabs already added stay.
    void SetSwitches(const CrawlerViewSwitches& switches) { switches_ = switches; }
    const CrawlerViewSwitches& Switches() const { return switches_; }

    // After a change of a list or the tree: the tabs to append now, in order.
    std::vector<CrawlerTab> ListsChanged(const ListsState& state);

    const std::vector<CrawlerTab>& Tabs() const { return tabs_; }
    bool Has(CrawlerTab tab) const;

private:
    CrawlerViewSwitches switches_;
    std::vector<CrawlerTab> tabs_{CrawlerTab::Search};
};

}  // namespace flk
