#include "app/ClipSequence.h"

namespace flk {

ClipStep NextClipStep(int current, int count) {
    ClipStep step;
    if (count <= 0 || current < 0 || current >= count) {
        step.end = true;
        return step;
    }
    if (current < kClipIntroFrames - 1) {
        if (current + 1 >= count) step.end = true;
        step.frame = step.end ? current : current + 1;
        return step;
    }
    if (current == kClipIntroFrames - 1) {
        if (count <= kClipIntroFrames) {
            step.frame = current;
            step.end = true;
        } else {
            step.frame = kClipIntroFrames;
            step.pauseMs = kClipPauseMs;
        }
        return step;
    }
    step.frame = current + 1 < count ? current + 1 : kClipIntroFrames;
    return step;
}

}  // namespace flk
