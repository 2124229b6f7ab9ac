#pragma once
#include <string>
#include <wx/window.h>

namespace flk::test {

// Writes what the screen shows of the window to
// build/screenshots/<name>.png, for a reviewer to look at. False when no
// picture could be taken (no display grabber).
bool SaveScreenshot(wxWindow& window, const std::string& name);

}  // namespace flk::test
