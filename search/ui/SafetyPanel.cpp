#include "search/ui/SafetyPanel.h"

#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>

namespace flk::ui {

SafetyPanel::SafetyPanel(wxWindow* parent, Settings& settings) : ui_(this), page_(settings, ui_) {
    LoadPanel(*this, parent, "pnl_safety");
    const char* names[3] = {"rad_level1", "rad_level2", "rad_level3"};
    for (int i = 0; i < 3; ++i) {
        levels_[i] = Ctrl<wxRadioButton>(this, names[i]);
        levels_[i]->Bind(wxEVT_RADIOBUTTON, [this, i](wxCommandEvent&) {
            page_.ClickLevel(i + 1);
            ShowPage();
        });
    }
    usePassword_ = Ctrl<wxCheckBox>(this, "chk_use_password");
    usePassword_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        page_.ClickUsePassword(e.IsChecked());
        ShowPage();
    });
    Ctrl<wxButton>(this, "btn_set_password")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { page_.ClickSetPassword(); });
    ShowPage();
}

// The page may refuse a click (a wrong password): the controls always show
// what it decided.
void SafetyPanel::ShowPage() {
    levels_[page_.ChosenLevel() - 1]->SetValue(true);
    usePassword_->SetValue(page_.UsePassword());
}

}  // namespace flk::ui
