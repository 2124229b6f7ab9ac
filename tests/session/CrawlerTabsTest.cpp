#include "session/CrawlerTabs.h"
#include "session/ViewSwitches.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

namespace {

std::vector<std::string> Captions(const std::vector<CrawlerTab>& tabs) {
    std::vector<std::string> out;
    for (CrawlerTab t : tabs) out.emplace_back(TabCaption(t));
    return out;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(CrawlerTabs, TabsComeOnDemandOnceAndInArrivalOrder) {
    CrawlerViewSwitches on;
    on.tree = true;
    CrawlerTabs tabs(on);
    EXPECT_EQ(Captions(tabs.Tabs()), Names{"Search"}) << "the text search is set before a crawl";
    EXPECT_TRUE(tabs.ListsChanged(ListsState{}).empty());

    ListsState s;
    s.sounds = true;
    EXPECT_EQ(Captions(tabs.ListsChanged(s)), Names{"Sounds"});
    EXPECT_TRUE(tabs.ListsChanged(s).empty()) << "each tab once";
    s.images = s.movies = s.treeHasItems = true;
    EXPECT_EQ(Captions(tabs.ListsChanged(s)), (Names{"Crawl", "Images", "Movies"}));
    EXPECT_EQ(Captions(tabs.Tabs()), (Names{"Search", "Sounds", "Crawl", "Images", "Movies"}));
    EXPECT_TRUE(tabs.ListsChanged(ListsState{}).empty()) << "a cleared list keeps its tab";
    EXPECT_EQ(tabs.Tabs().size(), 5u);
}

TEST(CrawlerTabs, ASwitchedOffKindGetsNoTabUntilSwitchedOn) {
    CrawlerViewSwitches view;  // tree off, media on
    view.sounds = false;
    CrawlerTabs tabs(view);
    ListsState all{true, true, true, true};
    EXPECT_EQ(Captions(tabs.ListsChanged(all)), (Names{"Images", "Movies"}));
    view.tree = view.sounds = true;
    tabs.SetSwitches(view);
    EXPECT_EQ(Captions(tabs.ListsChanged(all)), (Names{"Crawl", "Sounds"}));
}

TEST(CrawlerTabs, CaptionsMapBothWays) {
    for (CrawlerTab t : {CrawlerTab::Search, CrawlerTab::Crawl, CrawlerTab::Images, CrawlerTab::Sounds,
                         CrawlerTab::Movies})
        EXPECT_EQ(TabForCaption(TabCaption(t)), t);
    EXPECT_FALSE(TabForCaption("images").has_value());
}

// The window and the "Lists..." dialog read a missing key differently; both
// read what the other wrote the same way.
TEST(ViewSwitches, MissingKeysReadDifferentlyByTheWindowAndTheDialog) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    const CrawlerViewSwitches window = CrawlerViewSwitches::Read(settings);
    EXPECT_FALSE(window.tree);
    EXPECT_TRUE(window.images && window.sounds && window.movies && window.toolbar && window.progressbar);

    const ListSwitchValues dialog = ReadListSwitches(settings);
    for (std::size_t i = 0; i < kListSwitchCount; ++i)
        EXPECT_EQ(dialog[i], std::string(kListSwitches[i].key->key) == "images") << kListSwitches[i].label;

    // What the dialog writes, both read alike.
    ListSwitchValues chosen{};
    chosen[0] = true;   // tree
    chosen[3] = false;  // sounds
    chosen[7] = true;   // movies
    WriteListSwitches(settings, chosen);
    EXPECT_EQ(ReadListSwitches(settings), chosen);
    const CrawlerViewSwitches after = CrawlerViewSwitches::Read(settings);
    EXPECT_TRUE(after.tree);
    EXPECT_FALSE(after.images);
    EXPECT_FALSE(after.sounds);
    EXPECT_TRUE(after.movies);
    EXPECT_EQ(settings.Get(keys::ViewEmails), "0");

    WriteBarSwitch(settings, keys::ViewToolbar, false);
    EXPECT_FALSE(CrawlerViewSwitches::Read(settings).toolbar);
    EXPECT_TRUE(CrawlerViewSwitches::Read(settings).progressbar);
    // Anything but "1" is off, for the window too.
    settings.Set(keys::ViewProgressbar, std::string("yes"));
    EXPECT_FALSE(CrawlerViewSwitches::Read(settings).progressbar);
}
