#include "ui/Clipboard.h"

#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

namespace flk::ui {

bool CopyToClipboard(wxWindow* parent, const std::string& text, wxClipboard& clipboard) {
    if (text.empty()) return false;
    if (!clipboard.Open()) {
        ShowMessageBox(parent, kCannotOpenClipboard, "Findlark", wxOK | wxICON_EXCLAMATION);
        return false;
    }
    // Setting the data replaces what was there: wx empties the clipboard
    // itself and cannot report a failure to empty it separately.
    const bool set = clipboard.SetData(new wxTextDataObject(ToDisplay(text)));
    clipboard.Close();
    if (!set) ShowMessageBox(parent, kCannotSetClipboard, "Findlark", wxOK | wxICON_EXCLAMATION);
    return set;
}

}  // namespace flk::ui
