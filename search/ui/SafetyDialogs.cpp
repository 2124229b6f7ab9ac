#include "search/ui/SafetyDialogs.h"

#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace flk::ui {

namespace {
std::string Typed(const wxTextCtrl* field) { return field->GetValue().utf8_string(); }

void ShowPrompt(wxDialog& dialog, const std::string& prompt) {
    Ctrl<wxStaticText>(&dialog, "st_prompt")->SetLabel(ToDisplay(prompt));
    dialog.SetEscapeId(wxID_CANCEL);
    dialog.Fit();
    dialog.CentreOnParent();
}
}  // namespace

PasswordDialog::PasswordDialog(wxWindow* parent, const std::string& prompt,
                               std::function<bool(const std::string&)> accept)
    : accept_(std::move(accept)) {
    LoadDialog(*this, parent, "dlg_password");
    field_ = Ctrl<wxTextCtrl>(this, "txt_password");
    ShowPrompt(*this, prompt);
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); });
    field_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnOk(); });
    field_->SetFocus();
}

void PasswordDialog::OnOk() {
    if (accept_(Typed(field_))) {
        EndModal(wxID_OK);
        return;
    }
    field_->SelectAll();
    field_->SetFocus();
}

SetPasswordDialog::SetPasswordDialog(wxWindow* parent, const std::string& prompt,
                                     std::function<bool(const std::string&, const std::string&)> accept)
    : accept_(std::move(accept)) {
    LoadDialog(*this, parent, "dlg_set_password");
    field_ = Ctrl<wxTextCtrl>(this, "txt_password");
    repeat_ = Ctrl<wxTextCtrl>(this, "txt_repeat");
    ShowPrompt(*this, prompt);
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); });
    field_->SetFocus();
}

void SetPasswordDialog::OnOk() {
    if (accept_(Typed(field_), Typed(repeat_))) EndModal(wxID_OK);
}

WarningDialog::WarningDialog(wxWindow* parent, const std::string& text) {
    LoadDialog(*this, parent, "dlg_warning");
    Ctrl<wxTextCtrl>(this, "txt_warning")->SetValue(ToDisplay(text));
    dontShow_ = Ctrl<wxCheckBox>(this, "chk_dont_show");
    SetEscapeId(wxID_CANCEL);
    Fit();
    CentreOnParent();
}

bool WarningDialog::DontShowAgain() const { return dontShow_->GetValue(); }

void WxSafetyUi::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    ShowMessageBox(parent_, text, caption,
                   wxOK | (icon == MessageIcon::Exclamation ? wxICON_EXCLAMATION : wxICON_INFORMATION));
}

bool WxSafetyUi::PasswordPrompt(const std::string& prompt,
                                const std::function<bool(const std::string& typed)>& accept) {
    PasswordDialog dialog(parent_, prompt, accept);
    return dialog.ShowModal() == wxID_OK;
}

bool WxSafetyUi::SetPasswordPrompt(const std::string& prompt,
                                   const std::function<bool(const std::string&, const std::string&)>& accept) {
    SetPasswordDialog dialog(parent_, prompt, accept);
    return dialog.ShowModal() == wxID_OK;
}

WarningAnswer WxSafetyUi::Warning(const std::string& text) {
    WarningDialog dialog(parent_, text);
    WarningAnswer answer;
    answer.proceed = dialog.ShowModal() == wxID_OK;
    answer.dontShowAgain = dialog.DontShowAgain();
    return answer;
}

}  // namespace flk::ui
