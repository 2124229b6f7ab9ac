#include "app/ui/AboutDialog.h"

#include "app/ui/PresentationDialog.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/stattext.h>

namespace flk::ui {

AboutDialog::AboutDialog(wxWindow* parent, Settings& settings) : settings_(settings) {
    LoadDialog(*this, parent, "dlg_about");
    Ctrl<wxStaticText>(this, "lbl_version")->SetLabel(ToDisplay(settings_.Get(keys::ProgramVersion)));
    Ctrl<wxButton>(this, "btn_view_presentation")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        PresentationDialog offer(this, settings_);
        offer.ShowModal();
    });
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(wxID_OK); });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Close(wxID_CANCEL); });
    Fit();
    CentreOnScreen();
}

void AboutDialog::Close(int code) {
    if (IsModal())
        EndModal(code);
    else
        Destroy();
}

}  // namespace flk::ui
