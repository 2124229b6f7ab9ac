#include "support/LoopbackServer.h"
#include "net/RequestQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace flk {
namespace {

TEST(RequestQueue, FifoOrderCapsRedirectsAndStop) {
    test::LoopbackServer server;
    InternetShare share;
    server.Add({.path = "/answer", .headers = {{"content-TYPE", " text/plain "}}, .body = std::string(100, 'a'),
                .delayMs = 100});
    server.Add({.path = "/loop", .status = 302, .headers = {{"Location", "/loop"}}});
    server.Add({.path = "/away", .status = 302, .headers = {{"Location", "file:///etc/passwd"}}});
    server.Add({.path = "/hop", .status = 307, .headers = {{"Location", "sub/../answer#x"}}});
    RequestQueueOptions options{.agent = "Vellum 1.0", .workers = 1};
    options.network.access = InternetAccess::Direct;
    RequestQueue queue(share, options);

    struct Row {
        std::string url;
        std::uint64_t cap;
        int status;
        bool complete, truncated;
        std::size_t body;
        std::string finalUrl;
    };
    const std::vector<Row> rows = {
        {server.Url("/answer"), 100, 200, true, false, 100, server.Url("/answer")},
        {server.Url("/answer"), 99, 200, false, true, 99, server.Url("/answer")},
        {server.Url("/loop"), 100, 302, true, false, 0, server.Url("/loop")},  // gives up after 3
        {server.Url("/away"), 100, 0, false, false, 0, "file:///etc/passwd"},  // never read
        {server.Url("/hop"), 100, 200, true, false, 100, server.Url("/answer")},
        {"mailto:x@example", 100, 0, false, false, 0, "mailto:x@example"},
    };
    std::mutex lock;
    std::vector<WebReply> replies;
    for (const Row& row : rows) {
        queue.Queue({.url = row.url, .maxRedirects = 3, .maxBodyBytes = row.cap, .done = [&](const WebReply& r) {
                         std::lock_guard<std::mutex> g(lock);
                         replies.push_back(r);
                         // A follow-up of the first request overtakes everything queued.
                         if (replies.size() == 1) queue.QueueFirst({.url = "mailto:follow-up", .done = [&](const WebReply&) {
                             replies.push_back({.url = "follow-up"});
                         }});
                     }});
    }
    for (int i = 0; i < 500 && queue.Pending() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(replies.size(), rows.size() + 1);
    EXPECT_EQ(replies[1].url, "follow-up");
    replies.erase(replies.begin() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const WebReply& r = replies[i];
        SCOPED_TRACE(rows[i].url);
        EXPECT_EQ(r.url, rows[i].url);  // in queue order
        EXPECT_EQ(r.status, rows[i].status);
        EXPECT_EQ(r.complete, rows[i].complete);
        EXPECT_EQ(r.truncated, rows[i].truncated);
        EXPECT_EQ(r.body.size(), rows[i].body);
        EXPECT_EQ(r.finalUrl, rows[i].finalUrl);
    }
    EXPECT_EQ(replies[0].contentType, "text/plain");
    EXPECT_EQ(replies[0].contentLength, 100);
    EXPECT_EQ(server.Count("/loop"), 4);
    EXPECT_EQ(server.Requests().at(0).agent, "Vellum 1.0");

    // Stop cuts off the running request, drops the queued one, refuses new ones.
    queue.Queue({.url = server.Url("/answer"), .done = [&](const WebReply& r) { replies.push_back(r); }});
    queue.Queue({.url = server.Url("/loop"), .done = [&](const WebReply& r) { replies.push_back(r); }});
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    queue.Stop();
    EXPECT_FALSE(queue.Queue({.url = server.Url("/loop")}));
    for (int i = 0; i < 200 && !queue.Ended(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(queue.Ended());
    EXPECT_EQ(queue.Pending(), 0);
    EXPECT_EQ(replies.size(), rows.size());
}

// The end of a crawl waits on the checker's queue: the wait ends with the
// last request (its completion already run), and a stop ends it while a
// request still hangs.
TEST(RequestQueue, WaitUntilIdleEndsWithTheLastRequestOrAStop) {
    test::LoopbackServer server;
    InternetShare share;
    server.Add({.path = "/slow", .body = "x", .delayMs = 200});
    server.Add({.path = "/stuck", .body = "x", .delayMs = 5000});
    RequestQueueOptions options{.workers = 2};
    options.network.access = InternetAccess::Direct;
    RequestQueue queue(share, options);
    std::atomic<int> done{0};
    for (int i = 0; i < 3; ++i) queue.Queue({.url = server.Url("/slow"), .done = [&](const WebReply&) { ++done; }});
    const std::atomic<bool> never{false};
    queue.WaitUntilIdle(never);
    EXPECT_EQ(queue.Pending(), 0);
    EXPECT_EQ(done.load(), 3);

    queue.Queue({.url = server.Url("/stuck")});
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    queue.WaitUntilIdle(stop);
    stopper.join();
    EXPECT_EQ(queue.Pending(), 1);
    queue.Shutdown();
}

}  // namespace
}  // namespace flk
