#pragma once
#include "search/CategorySearch.h"
#include "search/SafetyDialogs.h"

namespace flk {

// The search questions on a terminal. When standard input is not a
// terminal nobody can answer: messages still go to standard error, and
// every question is answered "no", so a guarded search is refused.
class TerminalSearchUi : public SafetyUi, public CategoryUi {
public:
    TerminalSearchUi();

    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool PasswordPrompt(const std::string& prompt,
                        const std::function<bool(const std::string& typed)>& accept) override;
    bool SetPasswordPrompt(const std::string& prompt,
                           const std::function<bool(const std::string&, const std::string&)>& accept) override;
    WarningAnswer Warning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

private:
    bool interactive_;
};

}  // namespace flk
