#include "crawl/Pacing.h"

#include <thread>

namespace flk {

Pacing Pacing::ForSpeed(std::string_view speed) {
    if (speed == "Fast") return None();
    if (speed == "Normal") {
        const std::chrono::milliseconds zero{0}, short_{1};
        return Pacing{zero, short_, short_, short_, zero, zero};
    }
    return Pacing{};
}

void Pacing::Pause(std::chrono::milliseconds d, const std::atomic<bool>* stop) {
    if (d.count() <= 0) return;
    // Long pauses are cut into slices so a stop is noticed quickly.
    constexpr std::chrono::milliseconds slice{20};
    while (d.count() > 0) {
        if (stop && stop->load()) return;
        const auto step = d < slice ? d : slice;
        std::this_thread::sleep_for(step);
        d -= step;
    }
}

}  // namespace flk
