// Windowed tests run with a real toolkit on a virtual X server.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// A virtual server started without -noreset resets whenever its last client
// leaves, and refuses a program that connects meanwhile. The toolkit
// cannot be started twice in one process, so the test program starts itself
// again, a few times, before it calls the display missing.
constexpr const char* kStartsVariable = "FLK_UI_TEST_STARTS";
constexpr int kMostStarts = 5;

[[noreturn]] void StartAgainOrGiveUp(const std::vector<std::string>& originalArgs) {
    const char* value = std::getenv(kStartsVariable);
    const int starts = value ? std::atoi(value) : 1;
    if (starts < kMostStarts) {
        setenv(kStartsVariable, std::to_string(starts + 1).c_str(), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * starts));
        std::vector<char*> argv;
        for (const std::string& arg : originalArgs) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
    }
    fprintf(stderr, "no display: run the windowed tests under xvfb-run\n");
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> originalArgs(argv, argv + argc);
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    wxApp::SetInstance(new wxApp);
    // Why the toolkit would not start is logged at once, not kept for a
    // log window that never comes.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    if (!wxEntryStart(argc, argv)) StartAgainOrGiveUp(originalArgs);
    wxTheApp->CallOnInit();
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
