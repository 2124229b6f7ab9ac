#include "app/ui/UiThreadQuestions.h"

#include "ui/MessageBox.h"
#include "ui/WxNotifier.h"

namespace flk::ui {

void UiThreadQuestions::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    notifier_.Call(
        [this, text, caption, icon] {
            windows_.ShowMessage(text, caption, icon);
            return 0L;
        },
        stop_);
}

bool UiThreadQuestions::PasswordPrompt(const std::string& prompt,
                                       const std::function<bool(const std::string& typed)>& accept) {
    return notifier_.Call([this, prompt, accept] { return windows_.PasswordPrompt(prompt, accept) ? 1L : 0L; },
                          stop_) != 0;
}

bool UiThreadQuestions::SetPasswordPrompt(const std::string& prompt,
                                          const std::function<bool(const std::string&, const std::string&)>& accept) {
    return notifier_.Call([this, prompt, accept] { return windows_.SetPasswordPrompt(prompt, accept) ? 1L : 0L; },
                          stop_) != 0;
}

WarningAnswer UiThreadQuestions::Warning(const std::string& text) {
    const long bits = notifier_.Call(
        [this, text] {
            const WarningAnswer a = windows_.Warning(text);
            return (a.proceed ? 1L : 0L) | (a.dontShowAgain ? 2L : 0L);
        },
        stop_);
    return WarningAnswer{(bits & 1) != 0, (bits & 2) != 0};
}

void UiThreadQuestions::ShowInformation(const std::string& text) {
    notifier_.Call(
        [this, text] {
            ShowMessageBox(nullptr, text, "Findlark", wxOK | wxICON_INFORMATION | wxSTAY_ON_TOP);
            return 0L;
        },
        stop_);
}

}  // namespace flk::ui
