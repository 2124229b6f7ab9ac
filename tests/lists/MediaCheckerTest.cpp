#include "lists/ImageCache.h"
#include "lists/MediaChecker.h"
#include "lists/ProjectFolder.h"
#include "platform/Sha256.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

namespace flk {
namespace {

using test::LoopbackServer;
using test::PageRow;
using test::ReplyMode;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double SecondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Collects results; anything arriving after `closed` is set counts as late.
struct Results : MediaCheckReceiver {
    void CheckDone(const MediaCheckResult& r) override {
        std::lock_guard<std::mutex> g(lock);
        late += closed;
        byUrl[r.url] = r;
        ++count;
    }
    // Read once the checker is idle or gone.
    const MediaCheckResult& At(const std::string& url) { return byUrl[url]; }

    std::mutex lock;
    std::map<std::string, MediaCheckResult> byUrl;
    int count = 0;
    int late = 0;
    bool closed = false;
};

class MediaCheckerTest : public ::testing::Test {
protected:
    MediaCheckerOptions Quick() {
        MediaCheckerOptions o;
        o.network.access = InternetAccess::Direct;
        o.network.connectTimeoutMs = 2000;
        o.network.lowSpeedTimeS = 1;
        o.requestTimeoutMs = 1500;
        return o;
    }
    static bool Drain(const CMediaChecker& c, double seconds) {
        const auto start = Clock::now();
        while (c.PendingCount() > 0 && SecondsSince(start) < seconds)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return c.PendingCount() == 0;
    }
    int Count(const std::string& method, const std::string& target) const {
        int n = 0;
        for (const auto& r : server.Requests()) n += r.method == method && r.target == target;
        return n;
    }

    LoopbackServer server;
    InternetShare share;
    Results results;
};

TEST_F(MediaCheckerTest, SizesContentTypesAndSlowServers) {
    server.Add({.path = "/len.jpg", .headers = {{"Content-Type", "image/jpeg"}}, .body = std::string(5000, 'x')});
    server.Add({.path = "/nolen.mp3", .body = std::string(777, 's'), .mode = ReplyMode::NoLength});
    server.Add({.path = "/old.mpg", .status = 301, .headers = {{"location", "/new.mpg"}}});
    server.Add({.path = "/new.mpg", .headers = {{"Content-Type", "video/mpeg"}}, .body = std::string(1234, 'm')});
    server.Add({.path = "/what?id=1", .headers = {{"Content-Type", "audio/x-wav"}}, .body = std::string(300, 'w')});
    server.Add({.path = "/page", .body = "<html>", .mode = ReplyMode::NoLength});
    server.Add({.path = "/stall.jpg", .mode = ReplyMode::Stalled});
    // 20 bytes a second passes the low-speed test; only the time limit ends it.
    server.Add({.path = "/drip.mp3", .body = std::string(100000, 'd'), .mode = ReplyMode::Dripping});
    server.Add({.path = "/slow.wav", .body = std::string(30, 'w'), .mode = ReplyMode::Dripping, .dripDelayMs = 10});
    struct Row {
        std::string path;
        MediaCheckKind kind;
        long long size;
        std::string type;
        int heads, gets;
    };
    const std::vector<Row> rows = {
        {"/len.jpg", MediaCheckKind::Image, 5000, "image/jpeg", 1, 0},
        {"/nolen.mp3", MediaCheckKind::Sound, 777, "text/html", 1, 1},  // no length: counted
        {"/gone.avi", MediaCheckKind::Movie, 0, "", 1, 0},              // 404: no GET
        {"/old.mpg", MediaCheckKind::Movie, 1234, "video/mpeg", 1, 0},  // redirect followed
        {"/what?id=1", MediaCheckKind::Content, 300, "audio/x-wav", 1, 0},
        {"/page", MediaCheckKind::Content, 0, "text/html", 1, 0},  // no medium: not counted
        {"/stall.jpg", MediaCheckKind::Image, 0, "", 1, 0},
        {"/drip.mp3", MediaCheckKind::Sound, 0, "text/html", 1, 1},  // cut off: size unknown
        {"/slow.wav", MediaCheckKind::Sound, 30, "text/html", 1, 1},
    };
    const auto start = Clock::now();
    {
        CMediaChecker checker(share, results, Quick());
        for (const Row& r : rows) checker.QueueCheck(server.Url(r.path), r.kind);
        ASSERT_TRUE(Drain(checker, 10));
    }
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(results.count, static_cast<int>(rows.size()));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        const MediaCheckResult got = results.At(server.Url(r.path));
        EXPECT_EQ(got.kind, r.kind);
        EXPECT_EQ(got.size, r.size);
        EXPECT_EQ(got.contentType, r.type);
        EXPECT_EQ(Count("HEAD", r.path), r.heads);
        EXPECT_EQ(Count("GET", r.path), r.gets);
    }
    for (const auto& req : server.Requests()) EXPECT_EQ(req.agent, "Explorer");
}

TEST_F(MediaCheckerTest, ThousandChecksNeverRunMoreThanFifteenAtOnce) {
    server.Add({.path = "/c.jpg", .body = std::string(2000, 'c'), .delayMs = 10});
    CMediaChecker checker(share, results, Quick());
    for (int i = 0; i < 1000; ++i) checker.QueueCheck(server.Url("/c.jpg?n=" + std::to_string(i)), MediaCheckKind::Image);
    EXPECT_GT(checker.PendingCount(), 0);
    ASSERT_TRUE(Drain(checker, 60));
    EXPECT_EQ(results.count, 1000);
    EXPECT_EQ(results.At(server.Url("/c.jpg?n=999")).size, 2000);
    EXPECT_EQ(static_cast<int>(server.Requests().size()), 1000);
    EXPECT_LE(server.PeakConcurrent(), 15);
    EXPECT_GE(server.PeakConcurrent(), 8);  // the pool does fill up
}

TEST(CacheFileName, HostileNamesBecomeSafeBaseNames) {
    const std::string longStem(300, 'L');
    std::string accented = "a";
    for (int i = 0; i < 100; ++i) accented += "\xC3\xA9";
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"http://h/a/b.jpg", "b.jpg"},
        {"http://h/img/../../x.jpg", "x.jpg"},
        {"http://h/a%2F..%2F..%2Fetc%2Fpasswd", "passwd"},
        {"http://h/a%5C..%5Cwin.ini", "win.ini"},
        {"http://h/%2e%2e", "image"},
        {"http://h/..", "image"},
        {"http://h/", "image"},
        {"", "image"},
        {std::string("http://h/a\x01" "b\x7f.jpg"), "ab.jpg"},
        {"http://h/x%00y%0d%0a.gif", "xy.gif"},
        {"http://h/...hidden..jpg", "hidden.jpg"},
        {"http://h/pic.jpg?f=../../a#frag", "pic.jpg"},
        {"http://h/a:b*c|d<e>\".jpg", "a_b_c_d_e__.jpg"},
        {"http://h/trail. . ", "trail"},
        {"http://h/" + longStem + ".jpg", std::string(kCacheNameMax - 4, 'L') + ".jpg"},
        {"http://h/" + longStem, std::string(kCacheNameMax, 'L')},
    };
    for (const auto& [url, name] : rows) EXPECT_EQ(CacheFileName(url), name) << url;

    // A cut never leaves half a UTF-8 character.
    EXPECT_EQ(CacheFileName("http://h/" + accented + ".png"), "a" + accented.substr(1, 114) + ".png");
}

TEST_F(MediaCheckerTest, ImagesAreCachedUnderSafeNamesInsideTheFolder) {
    test::TempDir root;
    const std::string cache = root.File("Images");
    ASSERT_TRUE(PrepareImageCache(cache));
    server.Add({.path = "/a/pic.jpg", .body = "first"});
    server.Add({.path = "/b/pic.jpg", .body = "second", .mode = ReplyMode::NoLength});
    server.Add({.path = "/img/..%2F..%2Fevil.jpg", .body = "evil"});
    server.Add({.path = "/x.jpg", .body = "dots"});
    {
        CMediaChecker checker(share, results, Quick());
        checker.SetImageCache(cache, true);
        for (const char* path : {"/a/pic.jpg", "/b/pic.jpg", "/img/..%2F..%2Fevil.jpg", "/img/../../x.jpg", "/missing.jpg"})
            checker.QueueCheck(server.Url(path), MediaCheckKind::Image);
        ASSERT_TRUE(Drain(checker, 10));
    }
    EXPECT_EQ(results.At(server.Url("/b/pic.jpg")).size, 6);
    EXPECT_EQ(results.At(server.Url("/missing.jpg")).size, 0);
    EXPECT_EQ(Count("HEAD", "/a/pic.jpg"), 0);  // one GET does both

    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(cache))
        files[entry.path().filename().string()] = root.Read("Images/" + entry.path().filename().string());
    const std::map<std::string, std::string> expected = {{".findlark-image-cache", ""}, {"evil.jpg", "evil"},
        {"x.jpg", "dots"}, {"pic.jpg", files["pic.jpg"]}, {"pic(1).jpg", files["pic(1).jpg"]}};
    EXPECT_EQ(files, expected);  // no temporary file left, nothing for the 404
    EXPECT_EQ((std::set<std::string>{files["pic.jpg"], files["pic(1).jpg"]}),
              (std::set<std::string>{"first", "second"}));
    // Nothing beside the cache folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(root.Path()), fs::directory_iterator()), 1);
}

// Media known only by their type: a picture goes into the cache like any
// other (the offline result pages need it), a page or a sound does not.
TEST_F(MediaCheckerTest, PicturesKnownByTheirTypeAreCachedToo) {
    test::TempDir root;
    const std::string cache = root.File("Images");
    ASSERT_TRUE(PrepareImageCache(cache));
    server.Add({.path = "/media/12345", .headers = {{"Content-Type", "image/png"}}, .body = "a typed picture"});
    server.Add({.path = "/media/song", .headers = {{"Content-Type", "audio/mpeg"}}, .body = "a typed song"});
    server.Add({.path = "/media/page", .headers = {{"Content-Type", "text/html"}}, .body = "<html></html>"});
    {
        CMediaChecker checker(share, results, Quick());
        checker.SetImageCache(cache, true);
        for (const char* path : {"/media/12345", "/media/song", "/media/page"})
            checker.QueueCheck(server.Url(path), MediaCheckKind::Content);
        ASSERT_TRUE(Drain(checker, 3));
    }
    const MediaCheckResult picture = results.At(server.Url("/media/12345"));
    EXPECT_EQ(picture.kind, MediaCheckKind::Content);
    EXPECT_EQ(picture.contentType, "image/png");
    EXPECT_EQ(picture.size, 15);
    EXPECT_EQ(root.Read("Images/12345"), "a typed picture");
    EXPECT_EQ(results.At(server.Url("/media/song")).size, 12);
    EXPECT_EQ(std::distance(fs::directory_iterator(cache), fs::directory_iterator()), 2);  // the marker and the picture
}

TEST_F(MediaCheckerTest, ShutdownWithChecksQueuedAndRunningIsPromptAndFinal) {
    test::TempDir root;
    const std::string cache = root.File("Images");
    ASSERT_TRUE(PrepareImageCache(cache));
    server.Add({.path = "/stall.mpg", .mode = ReplyMode::Stalled});
    server.Add({.path = "/drip.jpg", .body = std::string(100000, 'd'), .mode = ReplyMode::Dripping});
    server.Add({.path = "/ok.mpg", .body = "quick"});
    MediaCheckerOptions patient = Quick();
    patient.network.lowSpeedTimeS = 60;
    patient.requestTimeoutMs = 60000;
    auto checker = std::make_unique<CMediaChecker>(share, results, patient);
    checker->SetImageCache(cache, true);
    for (int i = 0; i < 5; ++i) checker->QueueCheck(server.Url("/drip.jpg?n=" + std::to_string(i)), MediaCheckKind::Image);
    for (int i = 0; i < 100; ++i) {
        checker->QueueCheck(server.Url("/stall.mpg?n=" + std::to_string(i)), MediaCheckKind::Movie);
        checker->QueueCheck(server.Url("/ok.mpg?n=" + std::to_string(i)), MediaCheckKind::Movie);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_GT(checker->PendingCount(), 100);
    const auto start = Clock::now();
    checker.reset();
    EXPECT_LT(SecondsSince(start), 2.0);
    {
        std::lock_guard<std::mutex> g(results.lock);
        results.closed = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(results.late, 0);
    EXPECT_LT(results.count, 200);
    // Images cut off in mid-download leave nothing behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(cache), fs::directory_iterator()), 1);
}

namespace probe {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string Le16(std::uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
// A file of `bytes` bytes whose header states w x h.
std::string Png(std::uint32_t w, std::uint32_t h, std::size_t bytes) {
    std::string s = std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(w) + Be32(h) + std::string(5, '\0');
    s.resize(bytes, 'p');
    return s;
}
std::string Gif(std::uint32_t w, std::uint32_t h, std::size_t bytes) {
    std::string s = "GIF89a" + Le16(w) + Le16(h) + std::string(3, '\0');
    s.resize(bytes, 'g');
    return s;
}
std::string Hash(std::string_view bytes) {
    Sha256 h;
    h.Add(bytes);
    return h.HexDigest();
}

}  // namespace probe

// With pixel sizes and fingerprints on, every kind of server gives the size,
// the header's pixels and a fingerprint of the first 64 KB; a body that came
// whole also gives its SHA-256. Servers that refuse HEAD or ignore ranges
// cost one more request at most, never the whole of a big file.
TEST_F(MediaCheckerTest, FirstBytesGivePixelsAndFingerprints) {
    const std::string big = probe::Png(640, 480, 100000);
    const std::string small = probe::Gif(300, 200, 5000);
    const std::string huge = probe::Png(800, 600, 300000);
    server.Add({.path = "/img?id=7", .headers = {{"Content-Type", "image/png"}}, .body = big, .ranges = true});
    server.Add({.path = "/nohead.gif", .headers = {{"Content-Type", "image/gif"}}, .body = small, .ranges = true,
                .headStatus = 405});
    server.Add({.path = "/norange.png", .headers = {{"Content-Type", "image/png"}}, .body = huge});
    server.Add({.path = "/neither", .headers = {{"Content-Type", "image/gif"}}, .body = small, .headStatus = 501});
    server.Add({.path = "/chunked.gif", .headers = {{"Content-Type", "image/gif"}}, .body = small,
                .mode = ReplyMode::NoLength, .headStatus = 405});
    server.Add({.path = "/song", .headers = {{"Content-Type", "audio/ogg"}}, .body = std::string(70000, 's'),
                .ranges = true});
    server.Add({.path = "/page", .headers = {{"Content-Type", "text/html"}}, .body = "<html>"});
    struct Row {
        std::string path;
        MediaCheckKind kind;
        long long size;
        std::string type;
        long width, height;
        std::string firstBytes;  // the bytes the fingerprint covers; "" none
        bool whole;              // a SHA-256 of the body
        int gets;
    };
    const std::vector<Row> rows = {
        {"/img?id=7", MediaCheckKind::Content, 100000, "image/png", 640, 480, big.substr(0, 65536), false, 1},
        {"/nohead.gif", MediaCheckKind::Image, 5000, "image/gif", 300, 200, small, true, 1},
        {"/norange.png", MediaCheckKind::Image, 300000, "image/png", 800, 600, huge.substr(0, 65536), false, 1},
        {"/neither", MediaCheckKind::Content, 5000, "image/gif", 300, 200, small, true, 1},
        {"/chunked.gif", MediaCheckKind::Image, 5000, "image/gif", 300, 200, small, true, 1},
        {"/song", MediaCheckKind::Sound, 70000, "audio/ogg", 0, 0, std::string(65536, 's'), false, 1},
        {"/page", MediaCheckKind::Content, 6, "text/html", 0, 0, "", false, 0},  // no medium: HEAD only
    };
    MediaCheckerOptions options = Quick();
    options.pixelSizes = options.fingerprints = true;
    {
        CMediaChecker checker(share, results, options);
        for (const Row& r : rows) checker.QueueCheck(server.Url(r.path), r.kind);
        ASSERT_TRUE(Drain(checker, 10));
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        const MediaCheckResult got = results.At(server.Url(r.path));
        EXPECT_EQ(got.size, r.size);
        EXPECT_EQ(got.contentType, r.type);
        EXPECT_EQ(got.width, r.width);
        EXPECT_EQ(got.height, r.height);
        EXPECT_EQ(got.fingerprint, r.firstBytes.empty() ? "" : std::to_string(r.size) + ":" + probe::Hash(r.firstBytes));
        EXPECT_EQ(Count("GET", r.path), r.gets);
        EXPECT_EQ(Count("HEAD", r.path), 1);
        EXPECT_EQ(got.sha256, r.whole ? probe::Hash(r.firstBytes) : "");
    }
    for (const auto& req : server.Requests()) {
        if (req.method == "GET") {
            EXPECT_EQ(req.range, "bytes=0-65535") << req.target;
        }
    }
}

// Switched off, the checker asks as it always did: HEAD, and a GET only to
// count a body whose length HEAD did not give; nothing beyond the size.
TEST_F(MediaCheckerTest, WithoutProbingOnlyTheSizeIsAsked) {
    server.Add({.path = "/img?id=7", .headers = {{"Content-Type", "image/png"}}, .body = probe::Png(640, 480, 100000),
                .ranges = true});
    {
        CMediaChecker checker(share, results, Quick());
        checker.QueueCheck(server.Url("/img?id=7"), MediaCheckKind::Content);
        ASSERT_TRUE(Drain(checker, 10));
    }
    const MediaCheckResult got = results.At(server.Url("/img?id=7"));
    EXPECT_EQ(got.size, 100000);
    EXPECT_EQ(got.width, 0);
    EXPECT_EQ(got.fingerprint, "");
    EXPECT_EQ(Count("GET", "/img?id=7"), 0);
}

// New options (a new crawl's settings) apply to the checks queued after
// them; a check under way finishes with the options it was queued with,
// its follow-up requests included.
TEST_F(MediaCheckerTest, NewOptionsApplyToChecksQueuedLater) {
    server.Add({.path = "/early.png", .headers = {{"Content-Type", "image/png"}}, .body = probe::Png(64, 48, 9000),
                .delayMs = 400, .ranges = true});
    server.Add({.path = "/late.png", .headers = {{"Content-Type", "image/png"}}, .body = probe::Png(320, 240, 9000),
                .ranges = true});
    MediaCheckerOptions first = Quick();
    first.network.userAgent = "Probe/1";
    CMediaChecker checker(share, results, first);
    checker.QueueCheck(server.Url("/early.png"), MediaCheckKind::Image);
    for (int i = 0; i < 200 && Count("HEAD", "/early.png") == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(Count("HEAD", "/early.png"), 1) << "the first check is under way";

    MediaCheckerOptions second = Quick();
    second.network.userAgent = "Probe/2";
    second.pixelSizes = true;
    second.fingerprints = true;
    checker.SetOptions(second);
    EXPECT_EQ(checker.Options().network.userAgent, "Probe/2");
    checker.QueueCheck(server.Url("/late.png"), MediaCheckKind::Image);
    ASSERT_TRUE(Drain(checker, 10));

    const MediaCheckResult early = results.At(server.Url("/early.png"));
    EXPECT_EQ(early.size, 9000);
    EXPECT_EQ(early.width, 0) << "no pixel sizes for the check queued before";
    EXPECT_EQ(early.fingerprint, "");
    EXPECT_EQ(Count("GET", "/early.png"), 0);
    const MediaCheckResult late = results.At(server.Url("/late.png"));
    EXPECT_EQ(late.size, 9000);
    EXPECT_EQ(late.width, 320);
    EXPECT_EQ(late.height, 240);
    EXPECT_NE(late.fingerprint, "");
    for (const test::RequestRecord& r : server.Requests())
        EXPECT_EQ(r.agent, r.target == "/early.png" ? "Probe/1" : "Probe/2") << r.method << " " << r.target;
}

}  // namespace
}  // namespace flk
