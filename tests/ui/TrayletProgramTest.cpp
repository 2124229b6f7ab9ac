// The tray companion as the desktop runs it: the real program on a virtual
// display of its own, with a minimal system tray (trayer) and without one.
#include "platform/ProgramMessages.h"
#include "platform/TrayletMessages.h"
#include "support/PrivateDisplay.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

using namespace flk;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWidth = 640, kHeight = 480;
// Where trayer puts its panel: the bottom right corner.
constexpr int kPanelWidth = 100, kPanelHeight = 24;
constexpr int kMessageState = 0;  // not a command: only answers the state
// "/c" ends a running copy within a second. The clock here also runs while
// the "/c" copy itself starts, which on a loaded machine takes most of a
// second, and a sanitizer build is several times slower still: the bounds
// leave room for that and still catch a close that waits for a time-out.
#if defined(__SANITIZE_ADDRESS__)
constexpr auto kCloseWithin = 10s;
#else
constexpr auto kCloseWithin = 3s;
#endif

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() >= end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// One test's folders and the traylet copies it starts.
struct Traylet {
    test::TempDir dir;
    test::PrivateDisplay display{kWidth, kHeight};
    std::unique_ptr<test::Subprocess> tray;
    int started = 0;

    Traylet() {
        dir.Write("traylet.bmp", ReadSource("resources/traylet.bmp"));
    }
    static std::string ReadSource(const std::string& name) {
        std::ifstream in(std::string(FLK_SOURCE_DIR) + "/" + name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void StartTray() {
        tray = std::make_unique<test::Subprocess>(
            std::vector<std::string>{"/usr/bin/trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                     "--width", std::to_string(kPanelWidth), "--heighttype", "pixel", "--height",
                                     std::to_string(kPanelHeight), "--transparent", "false"},
            std::vector<std::string>{"DISPLAY=" + display.Name()}, dir.File("trayer.log"));
        std::this_thread::sleep_for(500ms);  // until it owns the tray selection
    }
    std::unique_ptr<test::Subprocess> Start(std::vector<std::string> args = {}) {
        args.insert(args.begin(), FLK_TRAYLET_PROGRAM);
        return std::make_unique<test::Subprocess>(
            args,
            std::vector<std::string>{"DISPLAY=" + display.Name(), "FLK_WINDIR=" + dir.Path(),
                                     "XDG_RUNTIME_DIR=" + dir.Path(), "FLK_PROGRAM_DIR=" + dir.Path(),
                                     "NO_AT_BRIDGE=1"},
            dir.File("traylet" + std::to_string(++started) + ".log"));
    }
    // The window's state, as the running copy answers it (-1: none runs).
    int State() const {
        int answer = -1;
        return SendProgramMessage(dir.Path(), kTrayletMessageName, kMessageState, &answer) ? answer : -1;
    }
    std::string Log(int copy) const { return dir.Read("traylet" + std::to_string(copy) + ".log"); }
    std::string PanelPixels(const std::string& file) const {
        return display.Pixels(kWidth - kPanelWidth, kHeight - kPanelHeight, kPanelWidth, kPanelHeight,
                              dir.File(file));
    }
};

constexpr int kInTray = 1, kBlinking = 2;  // TrayletFrame's state bits

}  // namespace

TEST(TrayletProgram, WithoutATrayItSaysSoAndEnds) {
    Traylet t;
    ASSERT_TRUE(t.display.Up());
    auto copy = t.Start();
    EXPECT_EQ(copy->Wait(20s), 1);
    EXPECT_NE(t.Log(1).find("no notification area"), std::string::npos) << t.Log(1);
}

TEST(TrayletProgram, PopupZeroEndsAtOnce) {
    Traylet t;
    ASSERT_TRUE(t.display.Up());
    t.StartTray();
    t.dir.Write("flk.ini", "[View]\nPOPUP=0\n");
    const auto started = Clock::now();
    auto copy = t.Start();
    EXPECT_EQ(copy->Wait(20s), 0);
    EXPECT_LT(Clock::now() - started, 3s);
    EXPECT_EQ(t.State(), -1) << "no window listens";
}

TEST(TrayletProgram, PictureThenTrayOneCopyCloseCommand) {
    Traylet t;
    ASSERT_TRUE(t.display.Up());
    t.StartTray();
    auto first = t.Start();
    ASSERT_TRUE(WaitFor([&] { return t.State() >= 0; }, 20s)) << t.Log(1);
    EXPECT_EQ(t.State() & kInTray, 0) << "the picture shows first";
    // The picture, 320 by 140, in the middle of the screen.
    const int x = (kWidth - 320) / 2, y = (kHeight - 140) / 2;
    t.display.Screenshot(x, y, 320, 140, "traylet_window");
    const std::string picture = t.display.Pixels(x, y, 320, 140, t.dir.File("picture.rgb"));
    ASSERT_EQ(picture.size(), 320u * 140 * 3);
    EXPECT_EQ(std::set<char>(picture.begin(), picture.end()).size() > 16, true) << "a picture, not a blank window";

    // A second copy ends by itself, within the lock's second.
    auto second = t.Start();
    const auto secondStarted = Clock::now();
    EXPECT_EQ(second->Wait(20s), 0);
    EXPECT_LT(Clock::now() - secondStarted, 5s);
    EXPECT_EQ(first->Wait(0ms), -1) << "the first copy runs on";

    ASSERT_TRUE(WaitFor([&] { return (t.State() & kInTray) != 0; }, 10s));
    t.display.Screenshot(kWidth - kPanelWidth, kHeight - kPanelHeight, kPanelWidth, kPanelHeight, "traylet_tray");

    const auto closing = Clock::now();
    auto close = t.Start({"/c"});
    EXPECT_EQ(close->Wait(20s), 0);
    EXPECT_NE(first->Wait(5s), -1);
    EXPECT_LT(Clock::now() - closing, kCloseWithin) << "\"/c\" closes it within a second";
    EXPECT_EQ(first->Wait(0ms), 0);
    EXPECT_EQ(t.State(), -1);
}

TEST(TrayletProgram, BlinksOnMessage2010AndSearchRunsTheStoredCommand) {
    Traylet t;
    ASSERT_TRUE(t.display.Up());
    t.StartTray();
    const std::string marker = t.dir.File("searched");
    t.dir.Write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Tesk\\FLKPop]\nmodule=/usr/bin/touch \"" + marker +
                                    "\"\ntooltip=Findlark\n");
    auto copy = t.Start();
    ASSERT_TRUE(WaitFor([&] { return (t.State() & kInTray) != 0; }, 20s)) << t.Log(1);

    // In the tray and still: once the icon is drawn the panel stays as it is.
    std::string settled = t.PanelPixels("still.rgb");
    ASSERT_TRUE(WaitFor([&] {
        const std::string now = t.PanelPixels("still.rgb");
        const bool same = now == settled;
        settled = now;
        return same;
    }, 10s));
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(t.PanelPixels("still.rgb"), settled) << "no blinking before 2010";
    }

    // What FLK sends when the first text hits arrive.
    ASSERT_TRUE(PostToTraylet(t.dir.Path(), traylet_msg::kStartBlinking));
    ASSERT_TRUE(WaitFor([&] { return (t.State() & kBlinking) != 0; }, 5s));
    std::set<std::string> blinking;
    for (int i = 0; i < 20 && blinking.size() < 2; ++i) {
        blinking.insert(t.PanelPixels("blink.rgb"));
        std::this_thread::sleep_for(150ms);
    }
    EXPECT_EQ(blinking.size(), 2u) << "the icon swaps between its two pictures";
    EXPECT_FALSE(Exists(marker));

    // "Search" from the menu's command runs the stored command line.
    ASSERT_TRUE(PostToTraylet(t.dir.Path(), traylet_msg::kSearch));
    EXPECT_TRUE(WaitFor([&] { return Exists(marker); }, 10s));
    EXPECT_NE(t.State() & kBlinking, 0) << "a menu command does not stop the blinking";

    // The icon's double-click stops the blinking and searches again.
    ::unlink(marker.c_str());
    ASSERT_TRUE(PostToTraylet(t.dir.Path(), traylet_msg::kIconCallback));
    EXPECT_TRUE(WaitFor([&] { return (t.State() & kBlinking) == 0; }, 5s));
    EXPECT_TRUE(WaitFor([&] { return Exists(marker); }, 10s));

    ASSERT_TRUE(PostToTraylet(t.dir.Path(), traylet_msg::kClose));
    EXPECT_EQ(copy->Wait(10s), 0) << t.Log(1);
}

TEST(TrayletProgram, BrokenOrShortPictureLeavesTheWindowBlank) {
    const std::string good = Traylet::ReadSource("resources/traylet.bmp");
    const struct {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"no BM", "XM" + good.substr(2)},
        {"cut short", good.substr(0, good.size() / 2)},
        {"header only", good.substr(0, 20)},
        {"empty", ""},
    };
    for (const auto& row : rows) {
        Traylet t;
        ASSERT_TRUE(t.display.Up());
        t.StartTray();
        t.dir.Write("traylet.bmp", row.bytes);
        auto copy = t.Start();
        ASSERT_TRUE(WaitFor([&] { return t.State() >= 0; }, 20s)) << row.what << "\n" << t.Log(1);
        if (std::string(row.what) == "cut short")
            t.display.Screenshot(0, 0, kWidth, kHeight, "traylet_broken_picture");
        // It says why in the window and carries on into the tray.
        EXPECT_TRUE(WaitFor([&] { return (t.State() & kInTray) != 0; }, 10s)) << row.what;
        EXPECT_EQ(copy->Wait(0ms), -1) << row.what;
        EXPECT_NE(t.Log(1).find("Couldn't load DIB"), std::string::npos) << row.what << "\n" << t.Log(1);
        ASSERT_TRUE(PostToTraylet(t.dir.Path(), traylet_msg::kClose));
        EXPECT_EQ(copy->Wait(10s), 0) << row.what;
    }
}
