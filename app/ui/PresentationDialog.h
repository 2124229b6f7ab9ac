#pragma once
#include "settings/Settings.h"

#include <wx/dialog.h>

namespace flk::ui {

// The "Presentation" offer: "Now" opens the presentation, "Later" only
// closes; a ticked check box stops later offers.
class PresentationDialog : public wxDialog {
public:
    PresentationDialog(wxWindow* parent, Settings& settings);

private:
    void Finish(int code);
    Settings& settings_;
};

}  // namespace flk::ui
