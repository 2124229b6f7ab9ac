#include "net/InternetSession.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace flk {
namespace {

using test::LoopbackServer;
using test::PageRow;
using test::ReplyMode;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// The server is declared first so it outlives the share's pooled
// connections to it.
class InternetTest : public ::testing::Test {
protected:
    InternetOptions Quick() {
        InternetOptions o;
        o.access = InternetAccess::Direct;
        o.connectTimeoutMs = 2000;
        o.lowSpeedTimeS = 1;
        return o;
    }
    std::unique_ptr<InternetRequest> Open(const std::string& path, const Credentials& c = {},
                                          RequestMethod m = RequestMethod::Get) {
        return InternetSession(share, "Explorer", Quick()).OpenRequest(server.Url(path), &stop, c, m);
    }
    static std::vector<std::string> Lines(InternetRequest& r) {
        std::vector<std::string> out;
        std::string line;
        while (r.ReadLine(line)) out.push_back(line);
        return out;
    }

    LoopbackServer server;
    InternetShare share;
    std::atomic<bool> stop{false};
};

TEST_F(InternetTest, StatusExactHeadersAndLines) {
    server.Add({.path = "/p.html", .headers = {{"Content-length", "9"}, {"X-Mixed-CASE", "v"}},
                .body = "a\r\nb\nc\r\rd"});
    auto r = Open("/p.html");
    ASSERT_TRUE(r && r->Send());
    EXPECT_EQ(r->StatusCode(), 200);
    EXPECT_EQ(r->RawHeaders().rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(r->RawHeaders().find("\r\nContent-length: 9\r\n"), std::string::npos);
    EXPECT_NE(r->RawHeaders().find("\r\nX-Mixed-CASE: v\r\n"), std::string::npos);
    EXPECT_EQ(r->RawHeaders().substr(r->RawHeaders().size() - 4), "\r\n\r\n");
    EXPECT_EQ(Lines(*r), (std::vector<std::string>{"a", "b", "c\r\rd"}));
    EXPECT_EQ(r->BytesReceived(), 9u);
    EXPECT_FALSE(r->Failed());
    EXPECT_EQ(server.Requests().at(0).agent, "Explorer");
}

TEST_F(InternetTest, HeadAndBlockReads) {
    std::string big;
    for (int i = 0; i < 300000; ++i) big += static_cast<char>('a' + i % 26);
    server.Add({.path = "/big", .body = big, .mode = ReplyMode::NoLength});
    auto head = Open("/big", {}, RequestMethod::Head);
    ASSERT_TRUE(head && head->Send());
    EXPECT_EQ(head->StatusCode(), 200);
    char buf[1000];
    EXPECT_EQ(head->Read(buf, sizeof buf), 0u);
    EXPECT_EQ(server.Requests().at(0).method, "HEAD");

    auto get = Open("/big");
    ASSERT_TRUE(get && get->Send());
    std::string got;
    while (std::size_t n = get->Read(buf, sizeof buf)) got.append(buf, n);
    EXPECT_EQ(got, big);
    EXPECT_FALSE(get->Failed());
}

TEST_F(InternetTest, LongLineComesInBoundedPieces) {
    const std::string line(3 * InternetRequest::kMaxLinePiece + 5, 'x');
    server.Add({.path = "/long", .body = line + "\r\nend"});
    auto r = Open("/long");
    ASSERT_TRUE(r && r->Send());
    std::string joined;
    std::string piece;
    while (r->ReadLine(piece)) {
        EXPECT_LE(piece.size(), InternetRequest::kMaxLinePiece);
        joined += piece;
    }
    EXPECT_EQ(joined, line + "end");
}

TEST_F(InternetTest, InterimResponseAndOversizedHeaders) {
    server.Add({.path = "/interim", .mode = ReplyMode::Raw,
                .raw = "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nX-Final: 1\r\n"
                       "Content-Length: 2\r\n\r\nok"});
    server.Add({.path = "/huge", .mode = ReplyMode::Raw,
                .raw = "HTTP/1.1 200 OK\r\n" +
                       std::string(3 * InternetRequest::kMaxHeaderBytes, 'h') + ": x\r\n\r\n"});
    auto r = Open("/interim");
    ASSERT_TRUE(r && r->Send());
    EXPECT_EQ(r->StatusCode(), 200);
    EXPECT_EQ(r->RawHeaders().rfind("HTTP/1.1 200 OK\r\nX-Final: 1\r\n", 0), 0u);
    EXPECT_EQ(Lines(*r), std::vector<std::string>{"ok"});

    auto huge = Open("/huge");
    ASSERT_TRUE(huge);
    EXPECT_FALSE(huge->Send());
    EXPECT_LE(huge->RawHeaders().size(), InternetRequest::kMaxHeaderBytes);
}

TEST_F(InternetTest, PercentEncodingAndNamedHosts) {
    server.Add({.path = "/a%20b.html", .body = "spaced"});
    InternetOptions o = Quick();
    o.resolve = server.ResolveEntries("site-a.test");
    auto r = InternetSession(share, "Explorer", o)
                 .OpenRequest(server.Url("/a b.html", "site-a.test"), &stop);
    ASSERT_TRUE(r && r->Send());
    EXPECT_EQ(r->StatusCode(), 200);
    EXPECT_EQ(server.Requests().at(0).target, "/a%20b.html");
    EXPECT_EQ(server.Requests().at(0).host, "site-a.test:" + std::to_string(server.Port()));
}

TEST_F(InternetTest, SilentServerAndRefusedConnectionEndInTime) {
    server.Add({.path = "/stall", .mode = ReplyMode::Stalled});
    auto start = Clock::now();
    auto r = Open("/stall");
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->Send());
    EXPECT_TRUE(r->Failed());
    EXPECT_FALSE(r->Cancelled());
    EXPECT_LT(SecondsSince(start), 5.0);

    LoopbackServer gone;
    const std::string url = gone.Url("/x");
    gone.Stop();
    auto refused = InternetSession(share, "Explorer", Quick()).OpenRequest(url, &stop);
    ASSERT_TRUE(refused);
    EXPECT_FALSE(refused->Send());
    EXPECT_TRUE(refused->Failed());
}

TEST_F(InternetTest, StopFlagEndsWaitsAndSlowBodies) {
    server.Add({.path = "/stall", .mode = ReplyMode::Stalled});
    server.Add({.path = "/drip", .body = std::string(1000, 'd') + "\n", .mode = ReplyMode::Dripping,
                .dripDelayMs = 20});
    InternetOptions patient = Quick();
    patient.lowSpeedTimeS = 60;
    for (const char* path : {"/stall", "/drip"}) {
        SCOPED_TRACE(path);
        stop = false;
        auto r = InternetSession(share, "Explorer", patient).OpenRequest(server.Url(path), &stop);
        ASSERT_TRUE(r);
        std::thread stopper([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            stop = true;
        });
        const auto start = Clock::now();
        std::string line;
        const bool sent = r->Send();
        const bool readLine = sent && r->ReadLine(line);
        stopper.join();
        EXPECT_FALSE(readLine);
        EXPECT_TRUE(r->Cancelled());
        EXPECT_FALSE(r->Failed());
        EXPECT_LT(SecondsSince(start), 2.0);
    }
}

TEST_F(InternetTest, ConnectionsAreReusedAndSharedAcrossThreads) {
    for (int i = 0; i < 20; ++i)
        server.Add({.path = "/p" + std::to_string(i), .body = "page " + std::to_string(i) + "\n"});
    for (int i = 0; i < 2; ++i) {
        auto r = Open("/p0");
        ASSERT_TRUE(r && r->Send());
        Lines(*r);
    }
    auto log = server.Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].remotePort, log[1].remotePort);

    std::atomic<int> good{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                const int n = (t + i) % 20;
                auto r = Open("/p" + std::to_string(n));
                if (r && r->Send() && Lines(*r) == std::vector<std::string>{"page " + std::to_string(n)})
                    ++good;
            }
        });
    }
    for (auto& w : workers) w.join();
    EXPECT_EQ(good.load(), 160);
    EXPECT_LE(share.IdleCount(), 16u);
}

}  // namespace
}  // namespace flk
