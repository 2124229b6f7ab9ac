#pragma once
#include "search/CategorySearch.h"
#include "search/SafetyDialogs.h"
#include "search/ui/SafetyDialogs.h"

#include <atomic>

namespace flk::ui {

class WxNotifier;

// The questions of a search that runs on a worker, asked in the windows on
// the UI thread while the worker waits. A question whose worker is stopped
// is dropped and answers "no". The texts travel as copies, so a dialog
// still on screen never reads a worker's stack.
class UiThreadQuestions : public SafetyUi, public CategoryUi {
public:
    UiThreadQuestions(wxWindow* parent, WxNotifier& notifier, const std::atomic<bool>* stop)
        : windows_(parent), notifier_(notifier), stop_(stop) {}

    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool PasswordPrompt(const std::string& prompt,
                        const std::function<bool(const std::string& typed)>& accept) override;
    bool SetPasswordPrompt(const std::string& prompt,
                           const std::function<bool(const std::string&, const std::string&)>& accept) override;
    WarningAnswer Warning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

    void SetStop(const std::atomic<bool>* stop) { stop_ = stop; }

private:
    WxSafetyUi windows_;
    WxNotifier& notifier_;
    const std::atomic<bool>* stop_;
};

}  // namespace flk::ui
