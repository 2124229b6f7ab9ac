#pragma once
#include <wx/dialog.h>

namespace flk::ui {

// "Scanning for media": what happens now that the web search is over, with
// the "Do not show this message again." box.
class ScanTipDialog : public wxDialog {
public:
    explicit ScanTipDialog(wxWindow* parent);
    bool DontShowAgain() const;
};

}  // namespace flk::ui
