#pragma once
#include "search/SafetyDialogs.h"

#include <functional>
#include <string>
#include <wx/dialog.h>

class wxCheckBox;
class wxTextCtrl;

namespace flk::ui {

// "Password": the prompt line and one field; OK hands the text to accept
// and closes only when accept says so.
class PasswordDialog : public wxDialog {
public:
    PasswordDialog(wxWindow* parent, const std::string& prompt, std::function<bool(const std::string&)> accept);
    wxTextCtrl* Field() const { return field_; }

private:
    void OnOk();
    std::function<bool(const std::string&)> accept_;
    wxTextCtrl* field_;
};

// "Set password": the prompt line, "Password:" and "Repeat password:".
class SetPasswordDialog : public wxDialog {
public:
    SetPasswordDialog(wxWindow* parent, const std::string& prompt,
                      std::function<bool(const std::string&, const std::string&)> accept);
    wxTextCtrl* Field() const { return field_; }
    wxTextCtrl* Repeat() const { return repeat_; }

private:
    void OnOk();
    std::function<bool(const std::string&, const std::string&)> accept_;
    wxTextCtrl* field_;
    wxTextCtrl* repeat_;
};

// "Warning!": the text, "Don't show this dialog again", Continue and Cancel.
class WarningDialog : public wxDialog {
public:
    WarningDialog(wxWindow* parent, const std::string& text);
    bool DontShowAgain() const;

private:
    wxCheckBox* dontShow_;
};

// The safety questions shown as these dialogs, owned by parent.
class WxSafetyUi : public SafetyUi {
public:
    explicit WxSafetyUi(wxWindow* parent) : parent_(parent) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool PasswordPrompt(const std::string& prompt,
                        const std::function<bool(const std::string& typed)>& accept) override;
    bool SetPasswordPrompt(const std::string& prompt,
                           const std::function<bool(const std::string&, const std::string&)>& accept) override;
    WarningAnswer Warning(const std::string& text) override;

private:
    wxWindow* parent_;
};

}  // namespace flk::ui
