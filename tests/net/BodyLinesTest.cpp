#include "net/BodyLines.h"
#include "net/InternetRequest.h"
#include "net/InternetSession.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

namespace flk {
namespace {

using test::LoopbackServer;

// The server is declared first so it outlives the share's pooled
// connections to it.
class BodyLinesTest : public ::testing::Test {
protected:
    std::unique_ptr<InternetRequest> Open(const std::string& path) {
        InternetOptions o;
        o.access = InternetAccess::Direct;
        o.connectTimeoutMs = 2000;
        o.lowSpeedTimeS = 2;
        auto r = InternetSession(share, "Explorer", o).OpenRequest(server.Url(path), &stop);
        EXPECT_TRUE(r && r->Send()) << path;
        return r;
    }

    LoopbackServer server;
    InternetShare share;
    std::atomic<bool> stop{false};
};

TEST_F(BodyLinesTest, JoinsAndCutsAtExactlyTheCap) {
    using enum LineJoin;
    using enum BodyLinesEnd;
    struct {
        const char* body;
        std::size_t cap;
        LineJoin join;
        const char* text;
        BodyLinesEnd end;
    } rows[] = {
        {"a\r\nb\nc", 100, NewlineAfterEach, "a\nb\nc\n", Ended},  // CR LF, LF, no final line end
        {"a\r\nb\nc", 100, SpaceBetween, "a b c", Ended},
        {"\n\nab\n\ncd\n", 100, SpaceBetween, "ab  cd", Ended},  // no space before the first text
        {"", 100, NewlineAfterEach, "", Ended},
        {"ab\ncd\n", 7, NewlineAfterEach, "ab\ncd\n", Ended},   // one under: the end is seen
        {"ab\ncd\n", 6, NewlineAfterEach, "ab\ncd\n", Capped},  // exactly the cap
        {"ab\r\ncd\r\n", 6, NewlineAfterEach, "ab\ncd\n", Capped},  // CRs do not count
        {"ab\ncd\n", 4, NewlineAfterEach, "ab\nc", Capped},  // over it: cut inside a line
        {"ab\ncd\n", 3, NewlineAfterEach, "ab\n", Capped},
        {"ab\ncd", 4, SpaceBetween, "ab c", Capped},
        {"abcdef", 4, NewlineAfterEach, "abcd", Capped},
    };
    int n = 0;
    for (const auto& r : rows) {
        const std::string path = "/b" + std::to_string(n++);
        server.Add({.path = path, .body = r.body});
        auto request = Open(path);
        ASSERT_TRUE(request);
        std::string body;
        EXPECT_EQ(ReadBodyLines(*request, body, r.cap, r.join, stop), r.end) << path;
        EXPECT_EQ(body, r.text) << path;
    }
}

// The stop flag ends the reading between lines, before the cap and before
// the end, even on a server that sends one byte at a time.
TEST_F(BodyLinesTest, StopsBetweenLines) {
    server.Add({.path = "/drip", .body = "one\ntwo\nthree\n", .mode = test::ReplyMode::Dripping, .dripDelayMs = 5});
    auto request = Open("/drip");
    ASSERT_TRUE(request);
    std::string body;
    int lines = 0;
    EXPECT_EQ(ReadBodyLines(*request, body, 1000, LineJoin::NewlineAfterEach, stop,
                            [&] {
                                ++lines;
                                stop = true;
                            }),
              BodyLinesEnd::Stopped);
    EXPECT_EQ(body, "one\n");
    EXPECT_EQ(lines, 1);

    EXPECT_EQ(ReadBodyLines(*request, body, 1000, LineJoin::NewlineAfterEach, stop), BodyLinesEnd::Stopped);
    EXPECT_EQ(body, "one\n");
}

}  // namespace
}  // namespace flk
