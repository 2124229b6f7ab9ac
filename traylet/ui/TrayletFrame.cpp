#include "traylet/ui/TrayletFrame.h"

#include "platform/Paths.h"
#include "platform/TrayletMessages.h"
#include "traylet/ui/TrayletIcons.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/taskbar.h>

namespace flk::ui {

namespace {

constexpr char kWindowTitle[] = "FLK_POP";
// The window keeps this size when there is no picture to show.
constexpr int kBlankWidth = 320;
constexpr int kBlankHeight = 140;

}  // namespace

TrayletFrame::TrayletFrame(const ProgramFolders& folders, const TrayletSettings& settings)
    : wxFrame(nullptr, wxID_ANY, kWindowTitle, wxDefaultPosition, wxSize(kBlankWidth, kBlankHeight),
              wxBORDER_NONE | wxFRAME_NO_TASKBAR | wxSTAY_ON_TOP),
      settings_(settings),
      actions_(folders.windows),
      model_(actions_),
      pictureSize_(kBlankWidth, kBlankHeight),
      timer_(this, 1),
      listener_(folders.runtime, kTrayletMessageName, [this](int message) {
          const int state = state_.load();
          CallAfter([this, message] { Dispatch(message); });
          return state;
      }) {
    SetIcon(TrayletNormalIcon());
    SetBackgroundStyle(wxBG_STYLE_PAINT);

    picture_ = LoadDibFile(JoinPath(folders.program, settings_.openimage));
    if (picture_.Loaded() && picture_.width > 0 && picture_.height > 0) {
        // wxImage takes the buffer over and frees it with free().
        auto* data = static_cast<unsigned char*>(std::malloc(picture_.rgb.size()));
        if (data) {
            std::copy(picture_.rgb.begin(), picture_.rgb.end(), data);
            bitmap_ = wxBitmap(wxImage(picture_.width, picture_.height, data));
            pictureSize_ = wxSize(picture_.width, picture_.height);
        }
    } else if (!picture_.Loaded()) {
        // Said in the window rather than in a message box: a modal box at
        // start-up, with nobody there, would hold the program open against
        // "/c" and "Exit".
        failureText_ = DibFailureText(picture_);
        std::fprintf(stderr, "traylet: %s\n", failureText_.c_str());
    }
    SetClientSize(pictureSize_);
    Centre();

    Bind(wxEVT_PAINT, &TrayletFrame::OnPaint, this);
    Bind(wxEVT_TIMER, &TrayletFrame::OnTimer, this);
    Bind(wxEVT_CLOSE_WINDOW, &TrayletFrame::OnClose, this);
    timer_.Start(model_.TimerIntervalMs());
}

TrayletFrame::~TrayletFrame() {
    listener_.Stop();
    timer_.Stop();
    if (icon_) icon_->RemoveIcon();
}

void TrayletFrame::ShowPicture() {
    Show();
    // A frame without children is shown 1 by 1 pixel when its size was set
    // before it was first shown: it is set again now.
    SetClientSize(pictureSize_);
}

bool TrayletFrame::StartListening() { return listener_.Start(); }

void TrayletFrame::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (bitmap_.IsOk()) {
        dc.DrawBitmap(bitmap_, 0, 0);
    } else if (!failureText_.empty()) {
        dc.SetTextForeground(wxColour(0x40, 0x40, 0x40));
        dc.DrawLabel(failureText_, wxRect(GetClientSize()), wxALIGN_CENTER);
    }
}

void TrayletFrame::OnTimer(wxTimerEvent&) {
    switch (model_.TimerTick()) {
        case TrayletModel::Tick::EnterTray:
            Hide();
            icon_ = std::make_unique<wxTaskBarIcon>();
            icon_->Bind(wxEVT_TASKBAR_LEFT_DCLICK, [this](wxTaskBarIconEvent&) {
                model_.IconDoubleClicked();
                ShowIcon();
                PublishState();
            });
            icon_->Bind(wxEVT_TASKBAR_RIGHT_DOWN, [this](wxTaskBarIconEvent&) { Dispatch(traylet_msg::kShowMenu); });
            icon_->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { Dispatch(e.GetId()); });
            ShowIcon();
            timer_.Start(model_.TimerIntervalMs());
            break;
        case TrayletModel::Tick::SwapIcon: ShowIcon(); break;
        case TrayletModel::Tick::None: break;
    }
    PublishState();
}

void TrayletFrame::ShowIcon() {
    if (!icon_) return;
    icon_->SetIcon(model_.ShowingSecondIcon() ? TrayletBlinkIcon() : TrayletNormalIcon(),
                   wxString::FromUTF8(settings_.tooltip.c_str()));
}

void TrayletFrame::Dispatch(int message) {
    switch (model_.Handle(message)) {
        case TrayletModel::Effect::Close: Close(true); return;
        case TrayletModel::Effect::ShowMenu: ShowMenu(); break;
        case TrayletModel::Effect::None: break;
    }
    ShowIcon();
    PublishState();
}

void TrayletFrame::ShowMenu() {
    if (!icon_) return;
    wxMenu menu;
    menu.Append(traylet_msg::kSearch, "Search");
    menu.Append(traylet_msg::kGoToSite, "Go To Site");
    menu.AppendSeparator();
    menu.Append(traylet_msg::kClose, "Exit");
    icon_->PopupMenu(&menu);
}

void TrayletFrame::PublishState() {
    state_ = (model_.InTray() ? kStateInTray : 0) | (model_.Blinking() ? kStateBlinking : 0);
}

void TrayletFrame::OnClose(wxCloseEvent&) {
    listener_.Stop();
    timer_.Stop();
    if (icon_) icon_->RemoveIcon();
    Destroy();
}

}  // namespace flk::ui
