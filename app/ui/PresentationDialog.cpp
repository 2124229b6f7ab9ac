#include "app/ui/PresentationDialog.h"

#include "app/Presentation.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>

namespace flk::ui {

PresentationDialog::PresentationDialog(wxWindow* parent, Settings& settings) : settings_(settings) {
    LoadDialog(*this, parent, "dlg_presentation");
    Ctrl<wxButton>(this, "btn_now")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ShowPresentation(settings_);
        Finish(wxID_OK);
    });
    Ctrl<wxButton>(this, "btn_later")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Finish(wxID_CANCEL); });
    Fit();
    CentreOnParent();
}

void PresentationDialog::Finish(int code) {
    RememberPresentationChoice(settings_, Ctrl<wxCheckBox>(this, "chk_dont_show_again")->IsChecked());
    if (IsModal())
        EndModal(code);
    else
        Destroy();
}

}  // namespace flk::ui
