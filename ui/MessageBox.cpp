#include "ui/MessageBox.h"

#include "ui/XrcSupport.h"

#include <wx/msgdlg.h>

namespace flk::ui {

namespace {
// Only the UI thread shows message boxes, so the hook needs no lock.
std::function<int(const MessageBoxCall&)>& Hook() {
    static std::function<int(const MessageBoxCall&)> hook;
    return hook;
}
}  // namespace

int ShowMessageBox(wxWindow* parent, const std::string& text, const std::string& caption, long style) {
    if (Hook()) return Hook()(MessageBoxCall{text, caption, style});
    return wxMessageBox(ToDisplay(text), ToDisplay(caption), style, parent);
}

void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook) { Hook() = std::move(hook); }

}  // namespace flk::ui
