#pragma once
#include "settings/Settings.h"

#include <wx/dialog.h>

namespace flk::ui {

// The about box with "View Presentation". Shown without a modal loop it is
// the program's window until the crawler window exists, and closing it
// ends the program.
class AboutDialog : public wxDialog {
public:
    AboutDialog(wxWindow* parent, Settings& settings);

private:
    void Close(int code);
    Settings& settings_;
};

}  // namespace flk::ui
