#pragma once
#include <string>

namespace flk {

inline constexpr char kUpgradeIniName[] = "upgrade.ini";
// The upgrade tool, a program in the program folder.
inline constexpr char kUpgradeToolName[] = "Extractor";
inline constexpr char kUpgradeTitle[] = "Findlark Upgrade";
// The question when "upgrade.ini" has none; "\n" is the file's two-character
// form of a line break.
inline constexpr char kUpgradeDefaultMessage[] = "A new version of Findlark is available!\\nUpgrade now?";
inline constexpr char kUpgradeToolFailed[] = "Could not run Extractor:\n";

// How the upgrade offer talks to the user: a system-modal yes/no question
// and a system-modal information box.
class UpgradeQuestion {
public:
    virtual ~UpgradeQuestion() = default;
    virtual bool AskYesNo(const std::string& message, const std::string& title) = 0;
    virtual void Inform(const std::string& message, const std::string& title) = 0;
};

enum class UpgradeDecision {
    NoOffer,     // nothing pending
    Declined,    // the user said No
    ToolFailed,  // Yes, but the tool could not be started (the user was told)
    EndProcess,  // the tool runs: the caller ends the process at once with exit code 0, saving nothing
};

// Where the upgrade tool and "upgrade.ini" live.
struct UpgradePlace {
    std::string programFolder;
    // Takes "upgrade.ini" when the program folder is not writable.
    std::string userDataFolder;
};

// "upgrade.ini" beside the program, or in the user data folder when the
// program folder is not writable.
std::string UpgradeIniPath(const UpgradePlace& place);

// Stores the server's version answer as "upgrade.ini", bytes unchanged.
bool StoreVersionAnswer(const UpgradePlace& place, const std::string& answer);

// Offers the upgrade that "upgrade.ini" describes: pending when one of the
// sections "1" ... `max_files` has a `status` of 0 or 1. On Yes the tool
// is started from the program folder.
UpgradeDecision CheckPendingUpgrade(const UpgradePlace& place, UpgradeQuestion& question);

}  // namespace flk
