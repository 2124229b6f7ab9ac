#include "app/Startup.h"
#include "platform/InstanceLock.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

using namespace flk;
using namespace std::chrono_literals;

namespace {

pid_t StartFlk(const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string program = FLK_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    return pid;
}

// Waits up to `limit` for the process; its exit status, or -1 if it runs on.
int WaitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

}  // namespace

TEST(SecondInstance, EndsAtOnceWhileTheFirstRuns) {
    test::TempDir dir;
    dir.Write("flk.ini", "[crawler]\nenodger=1\n[update]\nfirsttime=0\n[view]\nshowpresentationagain=0\n");
    const std::vector<std::string> env = {"FLK_WINDIR=" + dir.Path(), "XDG_RUNTIME_DIR=" + dir.Path(),
                                          "FLK_OPENER=true"};
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path());

    const pid_t first = StartFlk(env);
    ASSERT_GT(first, 0);
    // Wait until the first copy has the lock file open (probing the lock
    // itself earlier could make the first copy think another one runs).
    const std::string lockPath = InstanceLock(kInstanceMutexName).LockPath();
    bool open = false;
    for (int i = 0; i < 500 && !open; ++i) {
        std::error_code ec;
        for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(first) + "/fd", ec))
            if (std::filesystem::read_symlink(fd.path(), ec) == lockPath) open = true;
        if (!open) std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(open);
    std::this_thread::sleep_for(300ms);
    ASSERT_FALSE(InstanceLock(kInstanceMutexName).Acquire(0)) << "the first copy owns the lock";
    ASSERT_EQ(WaitExit(first, 0ms), -1) << "the first copy must keep running";

    const auto started = std::chrono::steady_clock::now();
    const pid_t second = StartFlk(env);
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitExit(second, 10s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(WaitExit(first, 0ms), -1) << "the first copy is unaffected";

    ::kill(first, SIGTERM);
    EXPECT_NE(WaitExit(first, 10s), -1);
}
