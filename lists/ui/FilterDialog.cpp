#include "lists/ui/FilterDialog.h"

#include "ui/XrcSupport.h"

#include <wx/dialog.h>
#include <wx/textctrl.h>

namespace flk::ui {

bool AskFilterPattern(wxWindow* parent, std::string& pattern) {
    wxDialog dialog;
    LoadDialog(dialog, parent, "dlg_filter");
    auto* field = Ctrl<wxTextCtrl>(&dialog, "txt_pattern");
    field->SetValue(ToDisplay(pattern));
    field->SetFocus();
    dialog.Fit();
    dialog.CentreOnParent();
    if (dialog.ShowModal() != wxID_OK) return false;
    pattern = field->GetValue().utf8_string();
    return true;
}

}  // namespace flk::ui
