#include "app/Startup.h"
#include "platform/InstanceLock.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace flk;
using namespace std::chrono_literals;

TEST(SecondInstance, EndsAtOnceWhileTheFirstRuns) {
    test::TempDir dir;
    dir.Write("flk.ini", "[crawler]\nenodger=1\n[update]\nfirsttime=0\n[view]\nshowpresentationagain=0\n");
    const std::vector<std::string> env = {"FLK_WINDIR=" + dir.Path(), "XDG_RUNTIME_DIR=" + dir.Path(),
                                          "FLK_OPENER=true"};
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path());

    test::Subprocess firstCopy({FLK_PROGRAM}, env);
    ASSERT_TRUE(firstCopy.Started());
    const pid_t first = firstCopy.Pid();
    // Wait until the first copy has the lock file open (probing the lock
    // itself earlier could make the first copy think another one runs).
    const std::string lockPath = InstanceLock(dir.Path(), kInstanceMutexName).LockPath();
    bool open = false;
    for (int i = 0; i < 500 && !open; ++i) {
        std::error_code ec;
        for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(first) + "/fd", ec))
            if (std::filesystem::read_symlink(fd.path(), ec) == lockPath) open = true;
        if (!open) std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(open);
    std::this_thread::sleep_for(300ms);
    ASSERT_FALSE(InstanceLock(dir.Path(), kInstanceMutexName).Acquire(0)) << "the first copy owns the lock";
    ASSERT_EQ(firstCopy.Wait(0ms), -1) << "the first copy must keep running";

    const auto started = std::chrono::steady_clock::now();
    test::Subprocess second({FLK_PROGRAM}, env);
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.Wait(10s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(firstCopy.Wait(0ms), -1) << "the first copy is unaffected";

    firstCopy.Signal(SIGTERM);
    EXPECT_NE(firstCopy.Wait(10s), -1);
}
