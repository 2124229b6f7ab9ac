#include "app/ui/WxStartupUi.h"

#include "app/ui/AgreementDialog.h"
#include "ui/XrcSupport.h"

#include <wx/msgdlg.h>

namespace flk::ui {

void WxStartupUi::ShowError(const std::string& message) {
    wxMessageBox(ToDisplay(message), "Findlark", wxOK | wxICON_ERROR);
}

bool WxStartupUi::AskAgreement(const std::string& title, const std::string& text) {
    AgreementDialog dialog(nullptr, title, text);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace flk::ui
