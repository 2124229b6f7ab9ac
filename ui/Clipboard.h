#pragma once
#include <string>
#include <wx/clipbrd.h>
#include <wx/window.h>

namespace flk::ui {

inline constexpr char kCannotOpenClipboard[] = "Cannot open the Clipboard";
inline constexpr char kCannotSetClipboard[] = "Unable to set Clipboard data";

// Puts text on the clipboard; empty text changes nothing. A clipboard that
// cannot be opened or written is reported in a message box. False when the
// text did not get there.
bool CopyToClipboard(wxWindow* parent, const std::string& text, wxClipboard& clipboard = *wxTheClipboard);

}  // namespace flk::ui
