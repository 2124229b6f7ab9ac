#include "app/ui/AgreementDialog.h"

#include "ui/XrcSupport.h"

#include <wx/textctrl.h>

namespace flk::ui {

AgreementDialog::AgreementDialog(wxWindow* parent, const std::string& title, const std::string& text) {
    LoadDialog(*this, parent, "dlg_agreement");
    SetTitle(ToDisplay(title));
    Ctrl<wxTextCtrl>(this, "txt_license")->SetValue(ToDisplay(text));
    SetEscapeId(wxID_CANCEL);
    Fit();
    CentreOnScreen();
}

}  // namespace flk::ui
