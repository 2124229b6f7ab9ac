#include "crawl/PageFetcher.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace flk {
namespace {

using test::LoopbackServer;
using test::PageRow;
using test::ReplyMode;
using Clock = std::chrono::steady_clock;

struct Recorder : FetchStatus, FetchLinks, Notifier {
    std::mutex lock;
    std::vector<std::string> statuses;
    std::vector<std::string> links;  // "url|kind|description"
    std::vector<std::string> questions;
    std::string user, password;  // the answer to a credentials question

    void ShowStatus(const std::string& text) override {
        std::lock_guard<std::mutex> g(lock);
        statuses.push_back(text);
    }
    void ReportLink(const std::string& url, const std::string& kind, const std::string& desc) override {
        std::lock_guard<std::mutex> g(lock);
        links.push_back(url + "|" + kind + "|" + desc);
    }
    long Send(Notification& n) override {
        std::lock_guard<std::mutex> g(lock);
        questions.push_back(std::to_string(n.code) + " " + n.text);
        n.user = user;
        n.password = password;
        return 1;
    }
};

// Lines of 99 characters and a line feed: 100 bytes each.
std::string HundredByteLines(int count) {
    std::string body;
    for (int i = 0; i < count; ++i) body += std::string(99, static_cast<char>('a' + i % 26)) + "\n";
    return body;
}

// The page as the fetcher keeps it: one "\n" between lines.
std::string Joined(const std::string& body) {
    std::string out;
    for (char c : body)
        if (c != '\r') out += c;
    return out;
}

class PageFetcherTest : public ::testing::Test {
protected:
    PageFetcherTest() {
        options.useCache = false;  // never through a proxy of the test machine
        network.connectTimeoutMs = 2000;
        network.lowSpeedTimeS = 1;
    }
    bool Fetch(const std::string& url) {
        PageFetcher fetcher(FetchContext{share, network, rec, rec, rec}, options);
        return fetcher.FetchPage(url, stop, text);
    }
    std::string Last() { return rec.statuses.empty() ? "" : rec.statuses.back(); }

    LoopbackServer server;
    InternetShare share;
    InternetOptions network;
    FetchOptions options;
    Recorder rec;
    std::atomic<bool> stop{false};
    std::string text;
};

TEST_F(PageFetcherTest, PageLinesAreJoinedWithStatusTexts) {
    server.Add({.path = "/p.html", .body = "a\r\nb\nc"});
    const std::string url = server.Url("/p.html");
    ASSERT_TRUE(Fetch(url));
    EXPECT_EQ(text, "a\nb\nc");
    EXPECT_EQ(rec.statuses, (std::vector<std::string>{"sending request [" + url + "]...",
                                                      "reading [" + url + "]..."}));
    EXPECT_EQ(server.Requests().at(0).agent, "Explorer");
}

struct SizeRow {
    const char* name;
    PageRow row;
    bool useLimit;
    int maxKb;
    std::uint64_t hardCap;
    bool ok;
    std::size_t textSize;  // expected size of the (prefix) text
};

TEST_F(PageFetcherTest, SizeLimits) {
    const std::string lines = HundredByteLines(3000);  // 300000 bytes
    const SizeRow rows[] = {
        // Announced in the exact letter case: believed, 1000 bytes per kilobyte.
        {"exact length at the limit", {.headers = {{"Content-length", "100000"}}, .body = lines.substr(0, 100000)},
         true, 100, kPageHardCap, true, 1000 * 100 - 1},
        {"exact length above", {.headers = {{"Content-length", "100001"}}, .body = lines.substr(0, 100001)},
         true, 100, kPageHardCap, false, 0},
        {"huge announced length", {.headers = {{"Content-length", "99999999999999999999999"}}, .body = "x"},
         true, 100, kPageHardCap, false, 0},
        // Other cases or no length: read until more than 1024 bytes per kilobyte.
        {"other letter case", {.headers = {{"content-length", "300000"}}, .body = lines}, true, 1, kPageHardCap,
         true, 11 * 100 - 1},
        {"no length", {.body = lines, .mode = ReplyMode::NoLength}, true, 1, kPageHardCap, true, 11 * 100 - 1},
        {"limit off", {.body = lines, .mode = ReplyMode::NoLength}, false, 1, kPageHardCap, true, 3000 * 100 - 1},
        {"hard cap with the limit off", {.body = lines, .mode = ReplyMode::NoLength}, false, 1, 5000, true, 5000},
        {"hard cap below the limit", {.body = lines}, true, 100, 5000, true, 5000},
    };
    for (const SizeRow& r : rows) {
        SCOPED_TRACE(r.name);
        PageRow row = r.row;
        row.path = "/size";
        server.Add(row);
        options.useMaxFileSize = r.useLimit;
        options.maxFileSizeKb = r.maxKb;
        options.hardCapBytes = r.hardCap;
        rec.statuses.clear();
        EXPECT_EQ(Fetch(server.Url("/size")), r.ok);
        EXPECT_EQ(text.size(), r.textSize);
        EXPECT_EQ(Joined(row.body).rfind(text, 0), 0u);  // a prefix of the page
        // A length refused in advance is dropped silently.
        if (!r.ok) {
            EXPECT_EQ(rec.statuses.size(), 1u);
        }
    }
}

TEST_F(PageFetcherTest, RedirectsBecomeNewDomainLinks) {
    const std::pair<int, std::string> rows[] = {
        {301, "http://other.example/x.html"}, {302, "next.html"}, {303, "/top/index.html"}};
    for (const auto& [status, location] : rows) {
        SCOPED_TRACE(status);
        rec.links.clear();
        server.Add({.path = "/r", .status = status,
                    .headers = {{"Content-Location", "wrong.html"}, {"Location", location}}});
        EXPECT_FALSE(Fetch(server.Url("/r")));
        EXPECT_EQ(rec.links, std::vector<std::string>{location + "|NewDomain|"});
    }
    // A location line that ends in a bare line feed loses nothing.
    rec.links.clear();
    server.Add({.path = "/bare", .mode = ReplyMode::Raw,
                .raw = "HTTP/1.1 302 Found\nLocation: moved.html\nContent-Length: 0\n\n"});
    EXPECT_FALSE(Fetch(server.Url("/bare")));
    EXPECT_EQ(rec.links, std::vector<std::string>{"moved.html|NewDomain|"});
    // "location: " in another letter case is no location.
    rec.links.clear();
    server.Add({.path = "/lower", .status = 302, .headers = {{"location", "x.html"}}});
    EXPECT_FALSE(Fetch(server.Url("/lower")));
    EXPECT_TRUE(rec.links.empty());
    EXPECT_EQ(Last(), fetchtext::kNoLocation);
}

TEST_F(PageFetcherTest, OtherStatusCodes) {
    for (int status : {404, 500, 204, 304}) {
        SCOPED_TRACE(status);
        server.Add({.path = "/s", .status = status, .body = status == 204 || status == 304 ? "" : "body"});
        EXPECT_FALSE(Fetch(server.Url("/s")));
        EXPECT_EQ(Last(), fetchtext::kGotStatus);
        EXPECT_TRUE(text.empty());
    }
}

TEST_F(PageFetcherTest, PasswordQuestion) {
    server.Add({.path = "/locked", .body = "inside", .user = "ann", .password = "pw"});
    const std::string url = server.Url("/locked");

    // Off: no question, the 401 is an error.
    EXPECT_FALSE(Fetch(url));
    EXPECT_EQ(Last(), fetchtext::kGotStatus);
    EXPECT_TRUE(rec.questions.empty());

    // On and answered: one retry with the credentials.
    options.checkPass = true;
    rec.user = "ann";
    rec.password = "pw";
    server.ClearLog();
    ASSERT_TRUE(Fetch(url));
    EXPECT_EQ(text, "inside");
    EXPECT_EQ(rec.questions, std::vector<std::string>{"1 " + url});
    auto log = server.Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].authorization, "");
    EXPECT_EQ(log[1].authorization, "Basic " + test::Base64("ann:pw"));

    // On, but cancelled or wrong: the single retry fails with the status text.
    for (const char* user : {"", "bob"}) {
        rec.user = user;
        rec.questions.clear();
        EXPECT_FALSE(Fetch(url));
        EXPECT_EQ(rec.questions.size(), 1u);
        EXPECT_EQ(Last(), fetchtext::kGotStatus);
    }
}

TEST_F(PageFetcherTest, OnlyWebAddresses) {
    for (const char* url : {"ftp://127.0.0.1/f.html", "gopher://h.example/", "mailto:a@b.example", "http://"}) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(Fetch(url));
        EXPECT_EQ(rec.statuses.back(), fetchtext::kOnlyHttp);
    }
    // https passes the scheme test; the plain loopback server cannot speak TLS.
    const std::string https = "https://127.0.0.1:" + std::to_string(server.Port()) + "/";
    EXPECT_FALSE(Fetch(https));
    EXPECT_EQ(Last(), fetchtext::kErrorReading + https);
}

TEST_F(PageFetcherTest, NetworkFailures) {
    server.Add({.path = "/stall", .mode = ReplyMode::Stalled});
    server.Add({.path = "/part", .body = std::string(4000, 'p'), .mode = ReplyMode::Partial, .partialBytes = 50});
    server.Add({.path = "/a%20b.html", .body = "encoded"});
    for (const char* path : {"/stall", "/part"}) {
        SCOPED_TRACE(path);
        const auto start = Clock::now();
        EXPECT_FALSE(Fetch(server.Url(path)));
        EXPECT_EQ(Last(), fetchtext::kErrorReading + server.Url(path));
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 5.0);
    }
    ASSERT_TRUE(Fetch(server.Url("/a b.html")));
    EXPECT_EQ(text, "encoded");
}

TEST_F(PageFetcherTest, StopIsSilent) {
    server.Add({.path = "/drip", .body = HundredByteLines(50), .mode = ReplyMode::Dripping,
                .dripDelayMs = 10, .dripChunk = 20});
    server.Add({.path = "/stall", .mode = ReplyMode::Stalled});
    server.Add({.path = "/locked", .body = "x", .user = "u", .password = "p"});
    network.lowSpeedTimeS = 60;
    for (const char* path : {"/drip", "/stall"}) {
        SCOPED_TRACE(path);
        stop = false;
        rec.statuses.clear();
        std::thread stopper([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            stop = true;
        });
        const auto start = Clock::now();
        EXPECT_FALSE(Fetch(server.Url(path)));
        stopper.join();
        EXPECT_TRUE(text.empty());
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 2.0);
        for (const std::string& s : rec.statuses) EXPECT_EQ(s.find("Error"), std::string::npos) << s;
    }
    // Stopped while the credentials question was open: no retry.
    struct StoppingNotifier : Notifier {
        std::atomic<bool>* stop;
        long Send(Notification&) override { *stop = true; return 1; }
    } notifier;
    notifier.stop = &stop;
    stop = false;
    options.checkPass = true;
    server.ClearLog();
    PageFetcher fetcher(FetchContext{share, network, notifier, rec, rec}, options);
    EXPECT_FALSE(fetcher.FetchPage(server.Url("/locked"), stop, text));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(PageFetcherTest, LocalFiles) {
    test::TempDir dir;
    dir.Write("page.html", "a\r\nb\nc\r\r\nd\n\n");
    const std::string path = dir.File("page.html");
    ASSERT_TRUE(Fetch(path));
    EXPECT_EQ(text, "a\nb\nc\r\nd\n");
    EXPECT_EQ(rec.statuses, std::vector<std::string>{"Reading [ " + path + " ]..."});
    ASSERT_TRUE(Fetch("file://" + path));
    EXPECT_EQ(text, "a\nb\nc\r\nd\n");

    rec.statuses.clear();
    EXPECT_FALSE(Fetch(dir.File("missing.html")));
    EXPECT_FALSE(Fetch(dir.Path()));  // a folder
    EXPECT_FALSE(Fetch("/dev/zero"));  // never ends
    EXPECT_TRUE(rec.statuses.empty());

    options.hardCapBytes = 1000;
    dir.Write("big.html", std::string(5000, 'z'));
    ASSERT_TRUE(Fetch(dir.File("big.html")));
    EXPECT_EQ(text.size(), 1000u);

    stop = true;
    EXPECT_FALSE(Fetch(path));
    EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace flk
