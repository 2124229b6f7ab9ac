#pragma once
#include "search/SafetyPage.h"
#include "search/ui/SafetyDialogs.h"

#include <wx/panel.h>

class wxCheckBox;
class wxRadioButton;

namespace flk::ui {

// The "Safety" page of the configuration dialog: it shows a SafetyPage and
// forwards the user's clicks to it; Save() is called by the dialog's OK.
class SafetyPanel : public wxPanel {
public:
    SafetyPanel(wxWindow* parent, Settings& settings);
    SafetyPage& Page() { return page_; }
    void Save() { page_.Save(); }

private:
    void ShowPage();
    WxSafetyUi ui_;
    SafetyPage page_;
    wxRadioButton* levels_[3];
    wxCheckBox* usePassword_;
};

}  // namespace flk::ui
