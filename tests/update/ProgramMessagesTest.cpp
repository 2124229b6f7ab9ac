#include "settings/Settings.h"
#include "platform/Launcher.h"
#include "platform/ProgramMessages.h"
#include "support/TempDir.h"
#include "update/PatchRequest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace flk;

namespace {

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the writer finish its line
    return std::filesystem::exists(path);
}

// What a program that died while listening leaves behind: a socket file
// nobody listens on.
void LeaveStaleSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

}  // namespace

TEST(ProgramMessages, PatchRequestRoundTripAndStaleSockets) {
    test::TempDir dir;
    const std::string runtime = dir.Path();
    Settings settings(dir.File("flk.ini"), dir.Path());
    const LocalDate today{2024, 3, 5};
    std::atomic<int> exits{0};
    auto handler = [&](int message) {
        if (!HandlePatchRequest(settings, message, today)) return 0;
        ++exits;  // the window would end the process here, saving nothing
        return 1;
    };

    LeaveStaleSocket(ProgramSocketPath(runtime, kFlkMessageName));
    MessageListener listener(runtime, kFlkMessageName, handler);
    ASSERT_TRUE(listener.Start());
    MessageListener second(runtime, kFlkMessageName, handler);
    EXPECT_FALSE(second.Start());  // the name is taken by a live listener

    // A client that connects and says nothing holds nobody up for long.
    const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", listener.Path().c_str());
    ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    int answer = -1;
    EXPECT_TRUE(SendProgramMessage(runtime, kFlkMessageName, 2010, &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(ReadDate(settings, kPatchDateKeys), (LocalDate{0, 0, 0}));
    EXPECT_TRUE(SendProgramMessage(runtime, kFlkMessageName, kPatchRequestMessage, &answer));
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(ReadDate(settings, kPatchDateKeys), today);
    ::close(silent);

    listener.Stop();
    EXPECT_FALSE(std::filesystem::exists(listener.Path()));
    EXPECT_FALSE(SendProgramMessage(runtime, kFlkMessageName, kPatchRequestMessage));

    // A file of that name that is no socket is never removed.
    test::TempDir other;
    other.Write("traylet.msg", "keep");
    MessageListener traylet(other.Path(), "traylet", handler);
    EXPECT_FALSE(traylet.Start());
    EXPECT_EQ(other.Read("traylet.msg"), "keep");
}

// What follows the answer (FLK ends its process there) must not overtake
// it: the hook waits for the sender to hold the answer, which it could not
// if the hook ran first.
TEST(ProgramMessages, AnsweredHookRunsOnlyOnceTheSenderHasTheAnswer) {
    test::TempDir dir;
    std::promise<void> received;
    std::future<void> receivedFuture = received.get_future();
    std::atomic<bool> answerWasOut{false};
    std::atomic<int> hookMessage{0}, hookAnswer{0};
    MessageListener listener(
        dir.Path(), kFlkMessageName, [](int message) { return message + 1; },
        [&](int message, int answer) {
            answerWasOut = receivedFuture.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
            hookMessage = message;
            hookAnswer = answer;
        });
    ASSERT_TRUE(listener.Start());
    int answer = -1;
    EXPECT_TRUE(SendProgramMessage(dir.Path(), kFlkMessageName, 41, &answer, 3000));
    received.set_value();
    EXPECT_EQ(answer, 42);
    listener.Stop();  // joins, so the hook is done
    EXPECT_TRUE(answerWasOut);
    EXPECT_EQ(hookMessage, 41);
    EXPECT_EQ(hookAnswer, 42);
}

TEST(ShellOpen, ProgramsGetArgumentVectorsEverythingElseTheSystemHandler) {
    test::TempDir dir;
    const std::string recorder = dir.File("recorder");
    // Writes one argument a line into the file named by its first argument.
    dir.Write("recorder", "#!/bin/sh\nout=\"$1\"; shift\nfor a in \"$@\"; do echo \"$a\"; done > \"$out\"\n");
    std::filesystem::permissions(recorder, std::filesystem::perms::owner_all);
    dir.Write("opener", "#!/bin/sh\necho \"$1\" > \"" + dir.File("opened") + "\"\n");
    std::filesystem::permissions(dir.File("opener"), std::filesystem::perms::owner_all);
    test::ScopedEnv opener("FLK_OPENER", dir.File("opener"));

    EXPECT_EQ(ShellRun(recorder, {dir.File("run"), "two words", "a;b", "$HOME"}), 0);
    ASSERT_TRUE(WaitForFile(dir.File("run")));
    EXPECT_EQ(dir.Read("run"), "two words\na;b\n$HOME\n");

    // A document and an address given to the system go to its handler.
    EXPECT_EQ(ShellRun(dir.File("page.html")), 0);
    ASSERT_TRUE(WaitForFile(dir.File("opened")));
    EXPECT_EQ(dir.Read("opened"), dir.File("page.html") + "\n");
    std::filesystem::remove(dir.File("opened"));
    EXPECT_EQ(OpenUrl("http://a.test/?x=1&y", kOpenUrlWithSystem, recorder), 0);
    ASSERT_TRUE(WaitForFile(dir.File("opened")));
    EXPECT_EQ(dir.Read("opened"), "http://a.test/?x=1&y\n");

    EXPECT_EQ(OpenUrl("http://c.test/", 0, dir.File("no such browser")), -1);
    EXPECT_EQ(ShellRun(""), -1);
}
