#pragma once

namespace flk {

class TrayletActions;

// The tray companion's states and messages, without a window: the picture
// is shown, then the icon sits in the tray, blinking after message 2010
// until it is double-clicked.
class TrayletModel {
public:
    enum class Effect { None, ShowMenu, Close };
    enum class Tick { EnterTray, SwapIcon, None };

    static constexpr int kPictureMs = 2000;
    static constexpr int kBlinkMs = 350;

    explicit TrayletModel(const TrayletActions& actions);

    // A message number from the socket or a menu command.
    Effect Handle(int message);
    // The icon double-clicked: blinking stops and "Search" runs.
    void IconDoubleClicked();

    // Timer 1: its first tick moves the window into the tray; every later
    // tick while blinking swaps the icon.
    Tick TimerTick();
    int TimerIntervalMs() const { return inTray_ ? kBlinkMs : kPictureMs; }

    bool InTray() const { return inTray_; }
    bool Blinking() const { return blinking_; }
    // Which of the two icons shows now (false: the normal one).
    bool ShowingSecondIcon() const { return secondIcon_; }

private:
    const TrayletActions& actions_;
    bool inTray_ = false;
    bool blinking_ = false;
    bool secondIcon_ = false;
};

}  // namespace flk
