#pragma once
#include <wx/icon.h>

namespace flk::ui {

// The two pictures of the tray icon: the normal one and the second image
// it swaps with while blinking. Drawn here, so no icon file can go missing.
wxIcon TrayletNormalIcon();
wxIcon TrayletBlinkIcon();

}  // namespace flk::ui
