#pragma once
#include "search/CategorySearch.h"
#include "search/SafetyDialogs.h"

#include <string>

namespace flk {

namespace terminal_text {
// The safety texts for flkcrawl, naming the setting instead of a button.
std::string AdultBlocked(const std::string& profilePath);
std::string Warning(const std::string& profilePath);
std::string NoTerminal(const std::string& profilePath);
}  // namespace terminal_text

// The search questions on a terminal. When standard input is not a
// terminal nobody can answer: messages still go to standard error, and
// every question is answered "no", so a guarded search is refused. Texts
// that send the user to the window's "Config" button say instead which
// setting of the settings file changes the safety level.
class TerminalSearchUi : public SafetyUi, public CategoryUi {
public:
    // profilePath: the settings file the texts point to for the safety level.
    explicit TerminalSearchUi(std::string profilePath);

    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool PasswordPrompt(const std::string& prompt,
                        const std::function<bool(const std::string& typed)>& accept) override;
    bool SetPasswordPrompt(const std::string& prompt,
                           const std::function<bool(const std::string&, const std::string&)>& accept) override;
    WarningAnswer Warning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

private:
    bool interactive_;
    std::string profilePath_;
};

}  // namespace flk
