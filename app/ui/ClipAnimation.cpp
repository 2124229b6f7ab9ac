#include "app/ui/ClipAnimation.h"

#include "app/ClipSequence.h"

#include <wx/dcclient.h>

namespace flk::ui {

ClipAnimation::ClipAnimation(wxWindow* parent, wxWindowID id)
    : wxGenericAnimationCtrl(parent, id, wxNullAnimation, wxDefaultPosition, wxSize(96, 48),
                             wxAC_NO_AUTORESIZE | wxBORDER_NONE) {
    // The control's own timer would loop the whole clip: its ticks come
    // here first and are not passed on.
    Bind(wxEVT_TIMER, [this](wxTimerEvent& e) {
        if (&e.GetTimer() != &m_timer) {
            e.Skip();
            return;
        }
        const int wait = Advance();
        if (wait > 0) m_timer.StartOnce(wait);
    });
    pause_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        if (!running_) return;
        ShowFrame(kClipIntroFrames);
        m_timer.StartOnce(std::max(1, GetAnimation().GetDelay(kClipIntroFrames)));
    });
}

bool ClipAnimation::LoadClip(const wxString& path) {
    Halt();
    wxAnimation clip = CreateAnimation();
    if (!wxFileExists(path) || !clip.LoadFile(path) || clip.GetFrameCount() == 0) {
        SetAnimation(wxNullAnimation);
        return false;
    }
    SetAnimation(clip);
    Halt();
    return true;
}

void ClipAnimation::Start() {
    Halt();
    if (!HasClip()) return;
    running_ = true;
    m_isPlaying = true;
    ShowFrame(0);
    m_timer.StartOnce(std::max(1, GetAnimation().GetDelay(0)));
}

void ClipAnimation::Halt() {
    running_ = false;
    pause_.Stop();
    Stop();  // the control shows its blank inactive picture again
}

int ClipAnimation::Advance() {
    if (!running_) return 0;
    const ClipStep step = NextClipStep(Frame(), static_cast<int>(GetAnimation().GetFrameCount()));
    if (step.end) return 0;
    if (step.pauseMs > 0) {
        // The pause comes on top of the fifth frame's own delay.
        pause_.StartOnce(step.pauseMs);
        return 0;
    }
    ShowFrame(static_cast<unsigned>(step.frame));
    return std::max(1, GetAnimation().GetDelay(static_cast<unsigned>(step.frame)));
}

void ClipAnimation::ShowFrame(unsigned frame) {
    m_currentFrame = frame;
    RebuildBackingStoreUpToFrame(frame);
    Refresh();
}

}  // namespace flk::ui
