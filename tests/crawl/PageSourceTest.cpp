// The text viewer's reading of one page: over loopback HTTP, from local
// files, capped, stopped, and made into display text.
#include "crawl/PageSource.h"
#include "crawl/PageSourceFetch.h"
#include "settings/Settings.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

namespace flk {
namespace {

using test::LoopbackServer;
using test::PageRow;
using test::ReplyMode;
using Outcome = PageSource::Outcome;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

PageSourceOptions TestOptions() {
    PageSourceOptions o;
    o.network.connectTimeoutMs = 2000;
    o.network.lowSpeedTimeS = 2;
    o.network.access = InternetAccess::Direct;  // never through a proxy of the test machine
    return o;
}

class PageSourceTest : public ::testing::Test {
protected:
    PageSource Fetch(const std::string& address) { return FetchPageSource(share, address, options, stop); }

    // The share goes first: its kept-alive connections would hold the
    // server's end.
    LoopbackServer server;
    InternetShare share;
    PageSourceOptions options = TestOptions();
    std::atomic<bool> stop{false};
};

PageRow Row(std::string path, int status, std::string body, std::vector<std::pair<std::string, std::string>> headers = {}) {
    return PageRow{std::move(path), status, std::move(headers), std::move(body)};
}

TEST_F(PageSourceTest, AnswersOfTheServer) {
    PageRow partial = Row("/partial.html", 200, std::string(5000, 'p'));
    partial.mode = ReplyMode::Partial;
    partial.partialBytes = 1200;
    server.Add(Row("/page.html", 200, "<html>\r\n<b>bold</b>\r\n</html>\r\n", {{"Content-Type", "text/html"}}));
    server.Add(Row("/missing.html", 404, "not found"));
    server.Add(Row("/moved.html", 302, "", {{"Location", "/page.html"}}));
    server.Add(Row("/latin.html", 200, "caf\xE9"));
    server.Add(Row("/empty.html", 204, ""));
    server.Add(Row("/loop.html", 301, "", {{"Location", "loop.html"}}));
    server.Add(Row("/tofile.html", 302, "", {{"Location", "file:///etc/passwd"}}));
    server.Add(Row("/nolocation.html", 302, "gone"));
    server.Add(partial);
    const std::string page = server.Url("/page.html");
    struct Case {
        std::string path;
        Outcome outcome;
        int status;
        std::string text;
        std::string statusLine;
    };
    const Case cases[] = {
        {"/page.html", Outcome::Read, 200, "<html>\n<b>bold</b>\n</html>\n", "30 bytes, HTTP status 200"},
        {"/missing.html", Outcome::HttpError, 404, "not found", "Error: HTTP status 404, 9 bytes"},
        {"/moved.html", Outcome::Read, 200, "<html>\n<b>bold</b>\n</html>\n",
         "30 bytes, HTTP status 200, moved to " + page},
        {"/latin.html", Outcome::Read, 200, "caf\xC3\xA9", "4 bytes, HTTP status 200"},
        {"/empty.html", Outcome::Read, 204, "", "0 bytes, HTTP status 204"},
        {"/loop.html", Outcome::Failed, 301, "", "Error: too many redirects"},
        // A web server never makes the viewer read a local file.
        {"/tofile.html", Outcome::Failed, 302, "", "Error: not a web address or a local file"},
        {"/nolocation.html", Outcome::HttpError, 302, "gone", "Error: HTTP status 302, 4 bytes"},
        {"/partial.html", Outcome::Failed, 200, std::string(1200, 'p'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const PageSource s = Fetch(server.Url(c.path));
        EXPECT_EQ(s.outcome, c.outcome);
        EXPECT_EQ(s.status, c.status);
        EXPECT_EQ(s.text, c.text);
        EXPECT_FALSE(s.cut);
        EXPECT_FALSE(s.local);
        if (!c.statusLine.empty()) {
            EXPECT_EQ(s.StatusLine(), c.statusLine);
        }
    }
    // The loop was asked once and then five times more, no further.
    EXPECT_EQ(server.Count("/loop.html"), 1 + kMostSourceRedirects);
    const std::string broke = Fetch(server.Url("/partial.html")).StatusLine();
    EXPECT_EQ(broke.rfind("Error: the transfer broke off", 0), 0u) << broke;
    EXPECT_NE(broke.find(", after 1200 bytes"), std::string::npos) << broke;
    // Nothing to ask for: no service this layer speaks.
    EXPECT_EQ(Fetch("gopher://127.0.0.1/x").StatusLine(), "Error: not a web address or a local file");
}

TEST_F(PageSourceTest, ALargeBodyIsCutAtTheCap) {
    const std::string body = std::string(kSourceCapBytes, 'a') + std::string(1 << 20, 'b');
    server.Add(Row("/big.html", 200, body));
    PageRow chunked = Row("/chunked.html", 200, body);
    chunked.mode = ReplyMode::NoLength;
    server.Add(chunked);
    // A two-byte character that the cap would break is not shown half.
    server.Add(Row("/wide.html", 200, std::string(kSourceCapBytes - 1, 'a') + "\xC3\xA9" + "tail"));
    for (const char* path : {"/big.html", "/chunked.html"}) {
        SCOPED_TRACE(path);
        const PageSource s = Fetch(server.Url(path));
        EXPECT_EQ(s.outcome, Outcome::Read);
        EXPECT_TRUE(s.cut);
        EXPECT_EQ(s.bytes, kSourceCapBytes);
        EXPECT_EQ(s.text, std::string(kSourceCapBytes, 'a'));
        EXPECT_EQ(s.StatusLine(), "4194304 bytes, HTTP status 200; cut at 4096 KB, the rest was not read");
    }
    const PageSource wide = Fetch(server.Url("/wide.html"));
    EXPECT_TRUE(wide.cut);
    EXPECT_EQ(wide.text, std::string(kSourceCapBytes - 1, 'a'));
    // Exactly the cap is no cut.
    server.Add(Row("/exact.html", 200, std::string(1000, 'x')));
    options.capBytes = 1000;
    const PageSource exact = Fetch(server.Url("/exact.html"));
    EXPECT_FALSE(exact.cut);
    EXPECT_EQ(exact.bytes, 1000u);
}

TEST_F(PageSourceTest, AStalledServerIsLeftWhenStoppedOrWhenTheTimeRunsOut) {
    PageRow stalled = Row("/stalled.html", 200, "never");
    stalled.mode = ReplyMode::Stalled;
    server.Add(stalled);
    PageRow dripping = Row("/dripping.html", 200, std::string(100000, 'd'));
    dripping.mode = ReplyMode::Dripping;
    server.Add(dripping);

    // The worker is stopped while it waits: it ends at once and says nothing.
    for (const char* path : {"/stalled.html", "/dripping.html"}) {
        SCOPED_TRACE(path);
        std::atomic<int> told{0};
        auto fetch = std::make_unique<PageSourceFetch>(share, server.Url(path), options, [&] { ++told; });
        ASSERT_TRUE(fetch->Start());
        const auto askedBy = Clock::now() + 5s;
        while (server.Count(path) == 0 && Clock::now() < askedBy) std::this_thread::sleep_for(10ms);
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(fetch->Finished());
        const auto begin = Clock::now();
        fetch.reset();  // stops and joins
        EXPECT_LT(Clock::now() - begin, 1s);
        EXPECT_EQ(told, 0);
    }

    // Without a stop the request's time limit ends the wait.
    options.network.totalTimeoutMs = 500;
    const auto begin = Clock::now();
    const PageSource s = Fetch(server.Url("/stalled.html"));
    EXPECT_LT(Clock::now() - begin, 3s);
    EXPECT_EQ(s.outcome, Outcome::Failed);
    EXPECT_EQ(s.StatusLine().rfind("Error: no answer from the server", 0), 0u) << s.StatusLine();
}

TEST_F(PageSourceTest, TheWorkerKeepsItsResultAndTellsOnce) {
    server.Add(Row("/page.html", 200, "hello"));
    std::atomic<int> told{0};
    PageSourceFetch fetch(share, server.Url("/page.html"), options, [&] { ++told; });
    EXPECT_FALSE(fetch.Finished());
    EXPECT_EQ(fetch.Result().outcome, Outcome::Stopped);
    ASSERT_TRUE(fetch.Start());
    const auto until = Clock::now() + 5s;
    while (!fetch.Finished() && Clock::now() < until) std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(fetch.Finished());
    fetch.Join();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(fetch.Result().text, "hello");
    EXPECT_EQ(fetch.Result().StatusLine(), "5 bytes, HTTP status 200");
}

TEST_F(PageSourceTest, LocalFiles) {
    test::TempDir dir;
    dir.Write("page.html", "<p>one</p>\r\n<p>two</p>");
    dir.Write("100% sure.html", "sure");
    dir.Write("big.html", std::string(3000, 'z'));
    ::mkdir(dir.File("folder").c_str(), 0755);
    ::mkfifo(dir.File("pipe").c_str(), 0644);
    struct Case {
        std::string address;
        Outcome outcome;
        std::string text;
        std::string statusLine;
    };
    const Case cases[] = {
        {dir.File("page.html"), Outcome::Read, "<p>one</p>\n<p>two</p>", "22 bytes, local file"},
        {"file://" + dir.File("page.html"), Outcome::Read, "<p>one</p>\n<p>two</p>", "22 bytes, local file"},
        {"  " + dir.File("page.html") + " ", Outcome::Read, "<p>one</p>\n<p>two</p>", "22 bytes, local file"},
        {"file://" + dir.File("100%25 sure.html"), Outcome::Read, "sure", "4 bytes, local file"},
        {dir.File("big.html"), Outcome::Read, std::string(2000, 'z'),
         "2000 bytes, local file; cut at 1 KB, the rest was not read"},
        {dir.File("none.html"), Outcome::Failed, "", "Error: no such file"},
        {dir.File("folder"), Outcome::Failed, "", "Error: not a plain file"},
        // A pipe would block the worker for ever.
        {dir.File("pipe"), Outcome::Failed, "", "Error: not a plain file"},
    };
    options.capBytes = 2000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const PageSource s = Fetch(c.address);
        EXPECT_EQ(s.outcome, c.outcome);
        EXPECT_TRUE(s.local);
        EXPECT_EQ(s.text, c.text);
        EXPECT_EQ(s.StatusLine(options.capBytes), c.statusLine);
    }
}

TEST(PageSourceText, DisplayText) {
    const std::pair<std::string, std::string> rows[] = {
        {"a\r\nb\rc\n\nd", "a\nb\nc\n\nd"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},          // UTF-8 stays
        {"caf\xE9 na\xEFve", "caf\xC3\xA9 na\xC3\xAFve"},  // not UTF-8: Latin-1
        {"ab\xC3", "ab\xC3\x83"},                // not cut: the last byte is Latin-1 too
        {std::string("a\0b", 3), "a\xEF\xBF\xBD" "b"},
        {"\r\r\n", "\n\n"},
        {"", ""},
    };
    for (const auto& [bytes, shown] : rows) EXPECT_EQ(SourceDisplayText(bytes), shown) << bytes;
    // A body the cap cut loses the character it broke, and only that.
    EXPECT_EQ(SourceDisplayText("caf\xC3\xA9 ab\xC3", true), "caf\xC3\xA9 ab");
}

TEST(PageSourceOptionsTest, TheCrawlsSettingsApply) {
    test::TempDir dir;
    Settings settings(dir.File("flk.ini"), dir.Path() + "/");
    InternetOptions network;
    network.connectTimeoutMs = 1234;
    PageSourceOptions o = ReadPageSourceOptions(settings, network);
    EXPECT_EQ(o.network.connectTimeoutMs, 1234);
    EXPECT_EQ(o.network.access, InternetAccess::Preconfigured);
    EXPECT_TRUE(o.network.acceptEncoding);
    EXPECT_GT(o.network.totalTimeoutMs, 0);
    EXPECT_EQ(o.capBytes, kSourceCapBytes);

    settings.Set(keys::CrawlerUseCash, 0);
    settings.Set(keys::ModernCompression, 0);
    settings.Set(keys::ModernUserAgent, std::string("Viewer/1.0"));
    o = ReadPageSourceOptions(settings, network);
    EXPECT_EQ(o.network.access, InternetAccess::Direct);
    EXPECT_FALSE(o.network.acceptEncoding);
    // The agent of the crawl's requests is the viewer's too.
    LoopbackServer server({Row("/a.html", 200, "a")});
    InternetShare share;
    std::atomic<bool> stop{false};
    o.network.connectTimeoutMs = 2000;
    ASSERT_EQ(FetchPageSource(share, server.Url("/a.html"), o, stop).outcome, Outcome::Read);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].agent, "Viewer/1.0");
}

}  // namespace
}  // namespace flk
