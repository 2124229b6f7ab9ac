#include "app/ui/UrlPasswordDialog.h"

#include "ui/XrcSupport.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace flk::ui {

UrlPasswordDialog::UrlPasswordDialog(wxWindow* parent, const std::string& address, const std::string& user) {
    LoadDialog(*this, parent, "dlg_url_password");
    Ctrl<wxStaticText>(this, "st_prompt")->SetLabel(ToDisplay("The url " + address + " requires a password"));
    user_ = Ctrl<wxTextCtrl>(this, "txt_user");
    password_ = Ctrl<wxTextCtrl>(this, "txt_password");
    user_->SetValue(ToDisplay(user));
    user_->SetFocus();
    Fit();
    CentreOnParent();
}

std::string UrlPasswordDialog::User() const { return user_->GetValue().utf8_string(); }
std::string UrlPasswordDialog::Password() const { return password_->GetValue().utf8_string(); }

}  // namespace flk::ui
