#pragma once
#include <atomic>
#include <chrono>
#include <string_view>

namespace flk {

// The short pauses of a crawl, kept in one place so they can be measured and
// tuned without touching the crawl rules. They keep the user interface
// responsive on slow machines; a pause ends early when the stop flag is set.
struct Pacing {
    std::chrono::milliseconds perIncomingItem{1};
    std::chrono::milliseconds betweenTreeLines{10};
    std::chrono::milliseconds betweenPasses{10};
    std::chrono::milliseconds betweenScans{10};
    std::chrono::milliseconds perFoundTag{1};
    std::chrono::milliseconds workerEnd{1};

    // No pauses at all: for batch runs and tests.
    static Pacing None() {
        const std::chrono::milliseconds zero{0};
        return Pacing{zero, zero, zero, zero, zero, zero};
    }

    // The pauses of the "Crawling speed:" setting: "Slow" (and anything
    // unknown) keeps every pause, "Normal" only short ones between passes and
    // scans, "Fast" none, for a machine that has the time to spare.
    static Pacing ForSpeed(std::string_view speed);

    static void Pause(std::chrono::milliseconds d, const std::atomic<bool>* stop = nullptr);
};

}  // namespace flk
