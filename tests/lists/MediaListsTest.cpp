#include "crawl/FoundItems.h"
#include "lists/MediaLists.h"
#include "platform/Notifier.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace flk {
namespace {

struct RecordingNotifier : Notifier {
    std::mutex mu;
    std::vector<std::pair<int, long>> sent;
    long Send(Notification& n) override {
        std::lock_guard<std::mutex> lock(mu);
        sent.emplace_back(n.code, n.value);
        return 0;
    }
};

struct RecordingChecker : MediaCheckQueue {
    std::vector<std::pair<std::string, MediaCheckKind>> queued;
    void QueueCheck(const std::string& url, MediaCheckKind kind) override { queued.emplace_back(url, kind); }
};

// Answers at once, on the caller's thread: proves no list lock is held
// across the call.
struct InstantChecker : MediaCheckQueue {
    MediaLists* lists = nullptr;
    long long size = 5000;
    void QueueCheck(const std::string& url, MediaCheckKind kind) override { lists->CheckDone({url, kind, size, ""}); }
};

long CountValue(int n) { return n | (100L << 16); }

std::vector<std::string> Column(const MediaList& list, std::size_t column) {
    std::vector<std::string> out;
    for (std::size_t r = 0; r < list.RowCount(); ++r) out.push_back(list.Cell(r, column));
    return out;
}

TEST(MediaLists, DuplicatesAndQueries) {
    struct Row {
        int kind;  // 0 images, 1 movies, 2 sounds
        std::vector<const char*> urls;
        std::size_t rows;
    } rows[] = {
        {0, {"http://h/a.jpg", "http://h/a.jpg"}, 1},
        {0, {" http://h/a.jpg\t", "http://h/a.jpg"}, 1},
        {0, {"http://h/a.jpg?x=1"}, 0},
        {0, {"http://h/A.jpg", "http://h/a.jpg"}, 2},
        {1, {"http://h/m.mpg", "h/m.mpg"}, 1},
        {1, {"h/m.mpg", "HTTP://h/m.mpg"}, 1},
        {1, {"https://h/m.mpg", "h/m.mpg"}, 2},
        {1, {"http://h/m.mpg?v=1"}, 1},
        {2, {"http://h/s.mp3", "h/s.mp3", "http://h/s.mp3"}, 2},
    };
    for (const Row& r : rows) {
        MediaLists lists;
        for (const char* u : r.urls) {
            if (r.kind == 0) lists.images.AddImage(u, "", "", "", "");
            if (r.kind == 1) lists.movies.AddMovie(u, "", "");
            if (r.kind == 2) lists.sounds.AddSound(u, "", "", "");
        }
        const MediaList* list[] = {&lists.images, &lists.movies, &lists.sounds};
        EXPECT_EQ(list[r.kind]->RowCount(), r.rows) << r.urls[0];
    }
}

TEST(MediaLists, RowsFromTheCrawl) {
    MediaLists lists;
    RecordingChecker checker;
    RecordingNotifier notes;
    lists.Connect(&notes, &checker, nullptr);
    lists.AddImage({"http://h/p/a.jpg", ImageDescription(" Cat ", "10", "20"), "Pets", "http://h/p/", 1});
    lists.AddImage({"http://h/b.gif", LinkDescription("see", " Big one ", "Pets", "http://h/"), "Pets", "http://h/", 1});
    lists.AddImage({"C:\\pics/x\\c.jpg", "only alt", "", "", 0});
    lists.AddMovie({"http://h/v/m.mpg", LinkDescription("", "Clip", "T", "http://h/v/"), "T", "http://h/v/", 1});
    lists.AddSound({"ftp://f/s.mp3", "", "Songs", " http://h/s/ ", 1});

    using V = std::vector<std::string>;
    const ListTable img = lists.images.Snapshot();
    EXPECT_EQ(img.Rows()[0].cells, (V{"a.jpg", "http://h/p/", "Cat", "10", "20", "Pets", "http://h/p/", "", ""}));
    EXPECT_EQ(img.Rows()[1].cells,
              (V{"b.gif", "http://h/", "http://h/b.gif", "", "", "Pets", "http://h/", "", "Big one"}));
    EXPECT_EQ(img.Rows()[2].cells, (V{"c.jpg", "C:\\pics/x\\", "only alt", "", "", "", "", "", ""}));
    EXPECT_EQ(lists.movies.Snapshot().Rows()[0].cells, (V{"m.mpg", "h/v/", "T", "h/v/", "", "Clip"}));
    EXPECT_EQ(lists.sounds.Snapshot().Rows()[0].cells, (V{"s.mp3", "ftp://f/", "Songs", "h/s/", "", ""}));

    // Movies are checked with their scheme back; an FTP sound is not checked
    // and reports its count at once, as the movie did after its add.
    EXPECT_EQ(checker.queued, (std::vector<std::pair<std::string, MediaCheckKind>>{
                                  {"http://h/p/a.jpg", MediaCheckKind::Image},
                                  {"http://h/b.gif", MediaCheckKind::Image},
                                  {"C:\\pics/x\\c.jpg", MediaCheckKind::Image},
                                  {"http://h/v/m.mpg", MediaCheckKind::Movie}}));
    EXPECT_EQ(notes.sent, (std::vector<std::pair<int, long>>{{notify::MoviesCount, CountValue(0)},
                                                             {notify::SoundsCount, CountValue(1)}}));
    EXPECT_EQ(lists.images.Caption(), "Images (0 / 3)");
}

TEST(MediaLists, TitleShortening) {
    std::string title(150, 'x');
    for (std::size_t at : {5, 10, 45, 62, 99, 130}) title[at] = ',';
    std::string expected = title.substr(0, 100) + "...";
    for (std::size_t at : {5, 45, 62, 99}) expected[at] = ' ';  // first comma from 0, 20, 40, 60
    EXPECT_EQ(ImagesList::ShortenTitle(title), expected);
    EXPECT_EQ(ImagesList::ShortenTitle("a, b, c"), "a, b, c");
    EXPECT_EQ(ImagesList::ShortenTitle(std::string(99, 'a') + "\xC3\xA9" + "tail"), std::string(99, 'a') + "...");
}

TEST(MediaLists, SizeRuleAndCounts) {
    struct Row {
        long long size;
        bool minOn, maxOn;
        bool passes;
    } rows[] = {
        {5000, true, true, true},
        {3000, true, true, false},  // "2.93 KB" reads as 2 KB
        {0, true, true, false},
        {0, false, true, true},
        {1000000, true, true, true},  // "976.56 KB"
        {1048576, true, true, false},
        {1048576, true, false, true},
    };
    for (const Row& r : rows) {
        MediaLists lists;
        RecordingNotifier notes;
        lists.Connect(&notes, nullptr, nullptr);
        lists.images.SetSizeLimits({3000, 1000000, r.minOn, r.maxOn});
        lists.images.AddImage("http://h/a.jpg", "", "", "", "");
        lists.images.AddImage("http://h/other.jpg", "", "", "", "");
        lists.images.SetSelected(1, true);
        EXPECT_TRUE(lists.images.SetItemSize(" http://h/a.jpg ", r.size));
        // The unsized row reads as 0 bytes, which passes only without a minimum.
        const int count = (r.passes ? 1 : 0) + (r.minOn ? 0 : 1);
        EXPECT_EQ(lists.images.CountValidItems(), count) << r.size;
        EXPECT_EQ(notes.sent.back(), std::make_pair(notify::ImagesCount, CountValue(count)));
        lists.images.SelectValidItems();
        EXPECT_EQ(lists.images.IsSelected(0), r.passes);
        EXPECT_EQ(lists.images.IsSelected(1), !r.minOn);
    }

    MediaLists lists;
    RecordingNotifier notes;
    lists.Connect(&notes, nullptr, nullptr);
    lists.movies.AddMovie("h/small.mpg", "", "");
    lists.movies.AddMovie("h/big.mpg", "", "");
    lists.CheckDone({"http://h/small.mpg", MediaCheckKind::Movie, 10, ""});
    lists.CheckDone({"h/big.mpg", MediaCheckKind::Content, 11, "Video/MPEG"});
    EXPECT_EQ(Column(lists.movies, 4), (std::vector<std::string>{"10 Bytes", "11 Bytes"}));
    EXPECT_EQ(lists.movies.CountValidItems(), 1);
    EXPECT_FALSE(lists.movies.SetItemSize("h/none.mpg", 50));

    lists.sounds.AddSound("FTP://f/a.wav", "", "", "");
    lists.sounds.AddSound("http://h/b.wav", "", "", "");
    EXPECT_EQ(lists.sounds.CountValidItems(), 1);
    lists.sounds.SetFtpValidation(true);
    EXPECT_EQ(lists.sounds.CountValidItems(), 0);
    lists.CheckDone({"FTP://f/a.wav", MediaCheckKind::Sound, 2048, ""});
    EXPECT_EQ(lists.sounds.CountValidItems(), 1);
    EXPECT_EQ(notes.sent.back(), std::make_pair(notify::SoundsCount, CountValue(1)));
}

// Counts sent from two threads: every count arrives, in the order taken,
// so the one delivered last is the list's count, even when the older one
// is still on its way as the newer one is taken.
TEST(MediaLists, TheLastCountDeliveredIsTheListsCount) {
    struct HeldNotifier : Notifier {
        std::mutex mu;
        std::condition_variable cv;
        bool holding = false, released = false;
        std::vector<long> sent;
        long Send(Notification& n) override {
            std::unique_lock<std::mutex> lock(mu);
            if (sent.empty() && !holding) {
                // The first delivery takes a while: the receiver is busy.
                holding = true;
                cv.notify_all();
                cv.wait(lock, [&] { return released; });
            }
            sent.push_back(n.value & 0xFFFF);
            return 0;
        }
    };
    MediaLists lists;
    lists.sounds.AddSound("http://h/a.wav", "", "", "");
    lists.sounds.AddSound("http://h/b.wav", "", "", "");
    lists.sounds.AddSound("http://h/c.wav", "", "", "");
    for (const char* url : {"http://h/a.wav", "http://h/b.wav", "http://h/c.wav"})
        lists.CheckDone({url, MediaCheckKind::Sound, 2048, ""});
    ASSERT_EQ(lists.sounds.CountValidItems(), 3);
    HeldNotifier notes;
    lists.Connect(&notes, nullptr, nullptr);

    // Rows go while the first count (2) waits for the receiver.
    std::thread first([&] { lists.sounds.TakeRow("http://h/a.wav"); });
    {
        std::unique_lock<std::mutex> lock(notes.mu);
        notes.cv.wait(lock, [&] { return notes.holding; });
    }
    lists.sounds.TakeRow("http://h/b.wav");
    {
        std::lock_guard<std::mutex> lock(notes.mu);
        notes.released = true;
    }
    notes.cv.notify_all();
    first.join();
    // Each count once, in the order they were taken.
    EXPECT_EQ(notes.sent, (std::vector<long>{2, 1})) << "an older count was shown last";
    EXPECT_EQ(lists.sounds.CountValidItems(), 1);
}

TEST(MediaLists, AnswersMayComeBackAtOnce) {
    MediaLists lists;
    InstantChecker checker;
    checker.lists = &lists;
    RecordingNotifier notes;
    lists.Connect(&notes, &checker, nullptr);
    lists.images.AddImage("http://h/a.jpg", "", "", "", "");
    lists.movies.AddMovie("http://h/m.mpg", "", "");
    EXPECT_EQ(lists.images.Cell(0, 7), "4.88 KB");
    EXPECT_EQ(lists.movies.Cell(0, 4), "4.88 KB");
    EXPECT_EQ(lists.images.CountValidItems(), 1);
}

TEST(MediaLists, WorkersAddWhileTheWindowReads) {
    MediaLists lists;
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w) {
        workers.emplace_back([&lists, w] {
            for (int i = 0; i < 300; ++i) lists.images.AddImage("http://h/" + std::to_string(i + w * 100) + ".jpg", "", "", "", "");
        });
    }
    for (int i = 0; i < 50; ++i) {
        lists.images.SortByHeader(i % 9);
        (void)lists.images.Caption();
    }
    for (std::thread& t : workers) t.join();
    EXPECT_EQ(lists.images.RowCount(), 600u);
}

}  // namespace
}  // namespace flk
