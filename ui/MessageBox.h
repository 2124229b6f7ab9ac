#pragma once
#include <functional>
#include <string>
#include <wx/window.h>

namespace flk::ui {

// One message box the windows show, as a test sees it.
struct MessageBoxCall {
    std::string text;
    std::string caption;
    long style = 0;  // wxOK, wxYES_NO, wxICON_... as given
};

// Every message box of the program goes through here, so that tests can see
// and answer it. Returns wxOK, wxYES, wxNO or wxCANCEL like wxMessageBox.
int ShowMessageBox(wxWindow* parent, const std::string& text, const std::string& caption, long style);

// While set, message boxes are not shown: the hook answers them instead.
// For tests; an empty function restores the real boxes.
void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook);

}  // namespace flk::ui
