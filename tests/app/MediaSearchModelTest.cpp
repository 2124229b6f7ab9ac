#include "app/MediaSearchModel.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace flk;

namespace {

struct ScriptedActions : MediaSearchActions {
    bool answerViewMedia = true;
    bool answerAtEnd = true;
    bool tickTip = false;
    bool hits = false;
    int viewMediaAsked = 0, endAsked = 0, noPages = 0, tips = 0, results = 0, stops = 0, announced = 0;
    std::vector<int> resultsAtTotal;  // the total when results were shown
    int total = 0;
    bool AskViewMedia() override { return ++viewMediaAsked, answerViewMedia; }
    bool AskViewAtEnd() override { return ++endAsked, answerAtEnd; }
    void ShowNoPages() override { ++noPages; }
    bool ShowScanTip() override { return ++tips, tickTip; }
    void ShowResults() override {
        ++results;
        resultsAtTotal.push_back(total);
    }
    void StopCrawl() override { ++stops; }
    bool HasTextHits() override { return hits; }
    void AnnounceTextHits() override { ++announced; }
};

Notification Count(int code, int n) {
    Notification m;
    m.code = code;
    m.value = (100L << 16) | n;
    return m;
}

Notification Code(int code, long value = 0) {
    Notification m;
    m.code = code;
    m.value = value;
    return m;
}

// One search: Go with the query, accepted, the scan starts, then the media
// arrive one at a time, and the search ends with `end` (none when 1).
struct Row {
    const char* name;
    const char* query;
    bool askMedia;          // [view] askmedia
    bool answerViewMedia;
    int images, sounds, movies;  // arrive in this order
    bool userStops;         // Stop pressed after the arrivals
    long end;               // 55's value, or 1 for no end
    // expected
    bool started;
    int viewMediaAsked;
    std::vector<int> resultsAt;  // totals at which results were shown (0: scan start)
    int stops;
    int endAsked;
    int noPages;
};

const std::vector<Row> kRows = {
    {"spaces only is refused", "    ", false, true, 0, 0, 0, false, 1, false, 0, {}, 0, 0, 0},
    {"six media ask nothing", "larks", false, true, 6, 0, 0, false, 1, true, 0, {0}, 0, 0, 0},
    {"the seventh asks once", "larks", false, true, 9, 0, 0, false, 1, true, 1, {0, 7}, 0, 0, 0},
    {"No leaves auto view off", "larks", true, false, 20, 0, 0, false, 1, true, 1, {0}, 0, 0, 0},
    {"auto view every six", "larks", true, true, 25, 0, 0, false, 1, true, 1, {0, 7, 12, 18, 24}, 0, 0, 0},
    {"mixed kinds count together", "larks", true, true, 3, 3, 6, false, 1, true, 1, {0, 7, 12}, 0, 0, 0},
    {"101 images stop the scan", "larks", false, false, 101, 0, 0, false, 1, true, 1, {0}, 1, 0, 0},
    {"100 images do not", "larks", false, false, 100, 0, 0, false, 1, true, 1, {0}, 0, 0, 0},
    {"end with five of each asks nothing", "larks", false, false, 5, 5, 5, false, 0, true, 1, {0}, 0, 0, 0},
    {"end with six images asks", "larks", false, false, 6, 0, 0, false, 0, true, 0, {0, 6}, 0, 1, 0},
    {"end after the user's stop asks nothing", "larks", false, false, 8, 0, 0, true, 0, true, 1, {0}, 1, 0, 0},
    {"nothing found", "larks", false, false, 0, 0, 0, false, -1, true, 0, {0}, 0, 0, 1},
    {"failure says nothing", "larks", false, false, 0, 0, 0, false, -2, true, 0, {0}, 0, 0, 0},
};

}  // namespace

TEST(MediaSearchModel, SearchesFromGoToTheirEnd) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        Settings settings(dir.File("flk.ini"), dir.Path());
        settings.Set(keys::ViewAskMedia, row.askMedia ? 1 : 0);
        settings.Set(keys::ViewTip, 0);
        ScriptedActions actions;
        actions.answerViewMedia = row.answerViewMedia;
        MediaSearchModel model(settings, actions);

        const SearchStart start = model.PressGo(row.query);
        EXPECT_EQ(start.start, row.started);
        if (!start.start) {
            EXPECT_EQ(model.View().state, SearchState::Idle);
            EXPECT_EQ(model.View().goText, "Go");
            continue;
        }
        EXPECT_EQ(model.View().state, SearchState::Starting);
        EXPECT_EQ(model.View().goText, "Stop");
        EXPECT_FALSE(model.View().goEnabled);
        model.SearchAccepted();
        EXPECT_EQ(model.View().state, SearchState::SearchingWeb);
        model.PressGo(row.query);  // does nothing while the web is searched
        EXPECT_EQ(model.View().state, SearchState::SearchingWeb);
        model.Handle(Code(notify::WebSearchOver));
        EXPECT_EQ(model.View().state, SearchState::Scanning);
        EXPECT_TRUE(model.View().goEnabled);

        auto arrive = [&](int code, int count, int already) {
            for (int i = 1; i <= count; ++i) {
                actions.total = already + i;
                model.Handle(Count(code, i));
            }
        };
        arrive(notify::ImagesCount, row.images, 0);
        arrive(notify::SoundsCount, row.sounds, row.images);
        arrive(notify::MoviesCount, row.movies, row.images + row.sounds);
        EXPECT_EQ(model.View().viewResultsEnabled, row.images + row.sounds + row.movies > 0);
        if (row.userStops) model.PressGo(row.query);
        if (row.end != 1) model.Handle(Code(notify::SearchEnded, row.end));

        EXPECT_EQ(actions.viewMediaAsked, row.viewMediaAsked);
        EXPECT_EQ(actions.resultsAtTotal, row.resultsAt);
        EXPECT_EQ(actions.stops, row.stops);
        EXPECT_EQ(actions.endAsked, row.endAsked);
        EXPECT_EQ(actions.noPages, row.noPages);
        if (row.end != 1) {
            EXPECT_EQ(model.View().state, SearchState::Idle);
            EXPECT_EQ(model.View().imagesFound, row.images);  // counters stay after the end
        }
    }
}

TEST(MediaSearchModel, NoKindTickedTicksImagesAndTheKindsAreStored) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    ScriptedActions actions;
    MediaSearchModel model(settings, actions);
    model.SetKinds(false, false, false);
    const SearchStart start = model.PressGo("  two   words ");
    ASSERT_TRUE(start.start);
    EXPECT_EQ(start.query, "two words");
    EXPECT_TRUE(start.images);
    EXPECT_FALSE(start.sounds || start.movies);
    EXPECT_FALSE(model.View().kindsEnabled);
    EXPECT_EQ(settings.Get(keys::ViewImages), "1");
    EXPECT_EQ(settings.Get(keys::ViewSounds), "0");
    EXPECT_EQ(settings.Get(keys::ViewMovies), "0");
}

TEST(MediaSearchModel, ScanTipUntilTickedAndCountQuestion) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    ScriptedActions actions;
    MediaSearchModel model(settings, actions);
    for (bool tick : {false, true, false}) {
        actions.tickTip = tick;
        ASSERT_TRUE(model.PressGo("larks").start);
        model.SearchAccepted();
        model.Handle(Code(notify::WebSearchOver));
        model.Handle(Code(notify::SearchEnded, -2));
    }
    EXPECT_EQ(actions.tips, 2);  // the third search has the tip switched off
    EXPECT_EQ(settings.Get(keys::ViewTip), 0);

    model.PressGo("larks");
    model.SearchAccepted();
    model.Handle(Code(notify::WebSearchOver));
    model.Handle(Count(notify::SoundsCount, 4));
    EXPECT_EQ(model.Handle(Code(notify::AnyCountExceeds, 3)), 1);
    EXPECT_EQ(model.Handle(Code(notify::AnyCountExceeds, 4)), 0);
}

TEST(MediaSearchModel, TextHitsAnnouncedOncePerSearchFromTheSeventhMedium) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    ScriptedActions actions;
    actions.hits = true;
    MediaSearchModel model(settings, actions);
    settings.Set(keys::ViewTip, 0);
    for (int search = 0; search < 2; ++search) {
        model.PressGo("larks");
        model.SearchAccepted();
        model.Handle(Code(notify::WebSearchOver));
        EXPECT_FALSE(model.View().viewResultsEnabled);
        model.Handle(Count(notify::ImagesCount, 1));
        EXPECT_TRUE(model.View().viewResultsEnabled);
        for (int i = 2; i <= 9; ++i) model.Handle(Count(notify::ImagesCount, i));
        model.Handle(Code(notify::SearchEnded, 0));
    }
    EXPECT_EQ(actions.announced, 2);
}

TEST(MediaSearchModel, ACrawlOverBeforeItsScanStartEndsAfterIt) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path());
    settings.Set(keys::ViewTip, 0);
    ScriptedActions actions;
    MediaSearchModel model(settings, actions);
    for (bool acceptedFirst : {false, true}) {
        SCOPED_TRACE(acceptedFirst);
        ASSERT_TRUE(model.PressGo("larks").start);
        if (acceptedFirst) model.SearchAccepted();
        for (int i = 1; i <= 8; ++i) model.Handle(Count(notify::ImagesCount, i));
        model.Handle(Code(notify::SearchEnded, 0));  // a short crawl is over already
        EXPECT_NE(model.View().state, SearchState::Idle);
        EXPECT_EQ(actions.endAsked, acceptedFirst ? 1 : 0);
        model.SearchAccepted();
        model.Handle(Code(notify::WebSearchOver));
        EXPECT_EQ(model.View().state, SearchState::Idle);  // not left scanning a crawl that is over
        EXPECT_EQ(actions.endAsked, acceptedFirst ? 2 : 1);
    }
    // The engines' "nothing found" is not held.
    ASSERT_TRUE(model.PressGo("larks").start);
    model.Handle(Code(notify::SearchEnded, -1));
    EXPECT_EQ(model.View().state, SearchState::Idle);
    EXPECT_EQ(actions.noPages, 1);
}
