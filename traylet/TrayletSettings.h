#pragma once
#include <optional>
#include <string>

namespace flk {

// What the tray companion reads at start: the switch in "flk.ini" and its
// values in the registry store.
struct TrayletSettings {
    int popup = -1;                     // view/popup; 0: show nothing and end
    std::optional<std::string> module;  // command line of the main program
    std::string tooltip;                // already cut to what the icon shows
    std::string openimage;              // picture, relative to the program folder
    std::string gotosite;
    std::string gotositeparam;
    std::string emailnotify;
    std::string emailnotifyparam;
};

// The tip text fits a 64-byte field with its terminating zero.
inline constexpr std::size_t kTooltipMaxLength = 63;
// Shown when no picture is named: the one installed with the program.
inline constexpr char kDefaultPicture[] = "traylet.bmp";

// Reads "flk.ini" and "registry.ini" in windowsFolder.
TrayletSettings LoadTrayletSettings(const std::string& windowsFolder);

}  // namespace flk
