#pragma once

namespace flk {

class Settings;
class SafetyUi;

// The safety page of the configuration dialog: the level radio buttons, "Use
// password" and "Set password...". Lowering the level behind a password asks
// for it; raising it never does. The chosen level and the box are kept here
// until the dialog's OK calls Save; a password set here is written at once.
class SafetyPage {
public:
    // Opens with the stored level (outside 1..3: the nearest) and "crt".
    SafetyPage(Settings& settings, SafetyUi& ui);

    int ChosenLevel() const { return level_; }  // the radio to show selected
    bool UsePassword() const { return usePassword_; }  // the box to show

    // A level radio button clicked (1, 2 or 3).
    void ClickLevel(int level);
    // "Use password" ticked (true) or unticked (false) by the user.
    void ClickUsePassword(bool ticked);
    // "Set password...".
    void ClickSetPassword();

    // The dialog's OK: `crl` and `crt`.
    void Save();

private:
    bool PasswordGranted();

    Settings& settings_;
    SafetyUi& ui_;
    int level_;
    bool usePassword_;
};

}  // namespace flk
