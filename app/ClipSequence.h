#pragma once

namespace flk {

// The order the searching clip plays in: frames 1 to 5 once, a pause, then
// frame 6 to the last in a loop. Frames are counted from 0 here.
struct ClipStep {
    int frame = 0;     // the frame to show next
    int pauseMs = 0;   // waited on top of the current frame's own delay
    bool end = false;  // nothing follows: the current frame stays
};

inline constexpr int kClipIntroFrames = 5;
inline constexpr int kClipPauseMs = 700;

// The step after `current` in a clip of `count` frames. A clip of five
// frames or fewer plays once and stays on its last frame.
ClipStep NextClipStep(int current, int count);

}  // namespace flk
