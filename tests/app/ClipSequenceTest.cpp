#include "app/ClipSequence.h"

#include <gtest/gtest.h>
#include <string>

using flk::NextClipStep;

namespace {

// The frames shown from the start, 1-based as the clip's frames are
// counted, with "|" where the pause falls and "." where the clip stops.
std::string Played(int count, int steps) {
    std::string out = "1";
    int frame = 0;
    for (int i = 0; i < steps; ++i) {
        const flk::ClipStep s = NextClipStep(frame, count);
        if (s.end) return out + ".";
        if (s.pauseMs > 0) out += "|";
        frame = s.frame;
        out += " " + std::to_string(frame + 1);
    }
    return out;
}

}  // namespace

TEST(ClipSequence, IntroOncePauseThenTheRestInALoop) {
    struct Case {
        int count, steps;
        const char* played;
    } cases[] = {
        {9, 12, "1 2 3 4 5| 6 7 8 9 6 7 8 9"},
        {6, 8, "1 2 3 4 5| 6 6 6 6"},
        {5, 8, "1 2 3 4 5."},
        {3, 8, "1 2 3."},
        {1, 8, "1."},
    };
    for (const auto& c : cases) EXPECT_EQ(Played(c.count, c.steps), c.played) << c.count;
    EXPECT_EQ(NextClipStep(4, 9).pauseMs, 700);
    EXPECT_TRUE(NextClipStep(0, 0).end);   // no clip
    EXPECT_TRUE(NextClipStep(7, 3).end);   // a frame the clip does not have
}
