#include "app/ui/ScanTipDialog.h"

#include "ui/XrcSupport.h"

#include <wx/checkbox.h>

namespace flk::ui {

ScanTipDialog::ScanTipDialog(wxWindow* parent) {
    LoadDialog(*this, parent, "dlg_scan_tip");
    Fit();
    CentreOnParent();
}

bool ScanTipDialog::DontShowAgain() const {
    return Ctrl<wxCheckBox>(const_cast<ScanTipDialog*>(this), "chk_dont_show_again")->GetValue();
}

}  // namespace flk::ui
