#pragma once
#include <string>
#include <wx/dialog.h>

class wxTextCtrl;

namespace flk::ui {

inline constexpr char kUrlPasswordCaption[] = "This URL requires a Password";

// "The url " + address + " requires a password": the user name and
// password a page or a download needs.
class UrlPasswordDialog : public wxDialog {
public:
    UrlPasswordDialog(wxWindow* parent, const std::string& address, const std::string& user);
    std::string User() const;
    std::string Password() const;

private:
    wxTextCtrl* user_;
    wxTextCtrl* password_;
};

}  // namespace flk::ui
