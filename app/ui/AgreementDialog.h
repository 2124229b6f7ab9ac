#pragma once
#include <string>
#include <wx/dialog.h>

namespace flk::ui {

// The end-user agreement: "I Agree" ends with wxID_OK, "I Disagree" and
// closing with wxID_CANCEL.
class AgreementDialog : public wxDialog {
public:
    AgreementDialog(wxWindow* parent, const std::string& title, const std::string& text);
};

}  // namespace flk::ui
