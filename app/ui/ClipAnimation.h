#pragma once
#include <wx/animate.h>
#include <wx/generic/animate.h>
#include <wx/timer.h>

namespace flk::ui {

// The searching clip: an animation control that plays its frames in the
// order of NextClipStep (the first five once, a pause, then the rest in a
// loop) instead of looping the whole clip. Without a clip it stays blank.
class ClipAnimation : public wxGenericAnimationCtrl {
public:
    ClipAnimation(wxWindow* parent, wxWindowID id);

    // Loads the clip; false (and blank) when the file cannot be opened.
    bool LoadClip(const wxString& path);
    bool HasClip() const { return GetAnimation().IsOk() && GetAnimation().GetFrameCount() > 0; }

    // From the first frame; nothing without a clip.
    void Start();
    // Back to blank.
    void Halt();
    bool Running() const { return running_; }
    int Frame() const { return static_cast<int>(m_currentFrame); }

    // One step of the sequence, as the frame timer does it; returns the
    // wait before the next step (0: the clip stays where it is).
    int StepForTesting() { return Advance(); }

private:
    int Advance();
    void ShowFrame(unsigned frame);

    wxTimer pause_;
    bool running_ = false;
};

}  // namespace flk::ui
