#pragma once
#include <functional>
#include <string>

namespace flk {

class Settings;

// Texts of the safety messages and dialogs, shown exactly as written here.
namespace safety_text {
inline constexpr const char* kSitePrompt = "This may bring adult's media,\nPlease enter the password.";
inline constexpr const char* kSiteRefused =
    "Entering site address only works in the lowest safety level (Safety Level 3).";
inline constexpr const char* kSiteRefusedCaption = "Safety level";
inline constexpr const char* kAdultBlocked =
    "The keywords you have searched for\nmay retrieve Adult-related content.\nFor your safety, the "
    "search is blocked\nto avoid the possible exposure to such\ncontent. If you wish to search for "
    "these\nkeywords please change your safety level\nto safety level 3 by pressing the "
    "\"Config\"\nbutton on the main screen and then choosing\nthe Safety tab.";
inline constexpr const char* kAdultBlockedCaption = "Warning! potential adult-related content";
inline constexpr const char* kWrongPassword = "Incorrect password!\nTry again.";
inline constexpr const char* kWrongPasswordCaption = "Wrong password";
inline constexpr const char* kNoPassword = "Please fill up the password";
inline constexpr const char* kNoPasswordCaption = "No password written";
inline constexpr const char* kNotIdentical =
    "Passwords fields are not identical.\nPlease ensure you write exactly the same text\nin both "
    "of the fields.";
inline constexpr const char* kNotIdenticalCaption = "Non Identical fields.";
inline constexpr const char* kWarning =
    "WARNING!\n"
    "The following pages may contain adult-only material or other offensive content.\r\n"
    "If you wish to surf the Web in a safe manner please go back to the \"Config\" button on\r\n"
    "Findlark's main screen and change your SECURITY LEVEL.\r\n"
    "The safest way to surf is to choose SECURITY LEVEL 1, \r\n"
    "which uses LookSmart results exclusively.  LookSmart provides you with the\r\n"
    "highest guarantee of family-safe content.";
inline constexpr const char* kReduceLevelPrompt = "Please fill in the password to reduce safety level";
inline constexpr const char* kNewPasswordPrompt = "Fill in new password";
inline constexpr const char* kPasswordPrompt = "Please fill in the password";
inline constexpr const char* kOldPasswordPrompt = "Please fill in old password";
inline constexpr const char* kChangedPasswordPrompt =
    "Fill in new password.\nPlease remember your password.";
// Accepted in place of the stored password, so a forgotten one can be reset.
inline constexpr const char* kFallbackPassword = "Lost mine...";
}  // namespace safety_text

enum class MessageIcon { Exclamation, Information };

struct WarningAnswer {
    bool proceed = false;        // "Continue" rather than "Cancel"
    bool dontShowAgain = false;  // "Don't show this dialog again" ticked
};

// The questions the safety rules put to the user. The windows implement it
// over the "Password", "Set password" and "Warning!" dialogs; tests answer
// from a script. The decisions stay in the functions below.
class SafetyUi {
public:
    virtual ~SafetyUi() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // Shows the password prompt with prompt in its top line. Each OK hands
    // the typed text to accept; the prompt closes with true once accept says
    // so and stays open otherwise. Cancel closes it with false.
    virtual bool PasswordPrompt(const std::string& prompt,
                                const std::function<bool(const std::string& typed)>& accept) = 0;
    // The set-password dialog, the same way, with its two fields.
    virtual bool SetPasswordPrompt(
        const std::string& prompt,
        const std::function<bool(const std::string& password, const std::string& repeat)>& accept) = 0;
    // The warning dialog showing text.
    virtual WarningAnswer Warning(const std::string& text) = 0;
};

// The stored password (read now, so a password just set is in force) or the
// fallback phrase, compared exactly.
bool IsAcceptedPassword(const std::string& stored, const std::string& typed);

// The password prompt: true at once when no password is stored; otherwise
// true when the right password is typed. A wrong one is answered with the
// "Wrong password" message and the prompt stays open.
bool RunPasswordPrompt(const Settings& settings, SafetyUi& ui, const std::string& prompt);

// The set-password dialog: an empty first field and differing fields are
// refused with their messages; otherwise `word` is written and true returned.
bool RunSetPasswordDialog(Settings& settings, SafetyUi& ui, const std::string& prompt);

// The warning dialog: true on "Continue", which first records "Don't show
// this dialog again" in `warning`.
bool RunWarningDialog(Settings& settings, SafetyUi& ui);

// True when no password is needed ("Use password" off) or the right one was
// typed at the prompt.
bool AskSafetyPassword(const Settings& settings, SafetyUi& ui, const std::string& prompt);

}  // namespace flk
