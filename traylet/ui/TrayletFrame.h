#pragma once
#include "platform/ProgramFolders.h"
#include "platform/ProgramMessages.h"
#include "platform/DibImage.h"
#include "traylet/TrayletActions.h"
#include "traylet/TrayletModel.h"
#include "traylet/TrayletSettings.h"

#include <atomic>
#include <memory>
#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

class wxTaskBarIcon;

namespace flk::ui {

// The borderless picture window "FLK_POP": shows the picture for two
// seconds, then hides and lives on as the tray icon. Other programs reach
// it through its message socket.
class TrayletFrame : public wxFrame {
public:
    // What a message is answered with: the window's state when it arrived.
    static constexpr int kStateInTray = 1;
    static constexpr int kStateBlinking = 2;

    TrayletFrame(const ProgramFolders& folders, const TrayletSettings& settings);
    ~TrayletFrame() override;

    // Shows the picture window (the tray icon follows after two seconds).
    void ShowPicture();
    // Starts listening for messages; false when the socket cannot be had.
    bool StartListening();

private:
    void OnPaint(wxPaintEvent&);
    void OnTimer(wxTimerEvent&);
    void OnClose(wxCloseEvent&);
    void Dispatch(int message);
    void ShowMenu();
    void ShowIcon();
    void PublishState();

    TrayletSettings settings_;
    TrayletActions actions_;
    TrayletModel model_;
    DibImage picture_;
    wxBitmap bitmap_;
    wxSize pictureSize_;
    std::string failureText_;  // why there is no picture
    wxTimer timer_;
    std::unique_ptr<wxTaskBarIcon> icon_;
    std::atomic<int> state_{0};
    MessageListener listener_;
};

}  // namespace flk::ui
