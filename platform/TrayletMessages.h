#pragma once
#include <string>

namespace flk {

// The window messages the tray companion accepts from other programs,
// carried by its message socket (see ProgramMessages.h).
namespace traylet_msg {
inline constexpr int kClose = 16;           // closes the window and ends the program
inline constexpr int kIconCallback = 1025;  // from another program: the icon's double-click
inline constexpr int kShowMenu = 1029;
inline constexpr int kStartBlinking = 2010;
inline constexpr int kSearch = 32771;
inline constexpr int kGoToSite = 32773;
inline constexpr int kMailNotify = 32774;
}  // namespace traylet_msg

// The name the tray companion listens under.
inline constexpr char kTrayletMessageName[] = "traylet";

// Posts a message to a running tray companion without waiting for it to be
// handled. False when none is running.
bool PostToTraylet(const std::string& runtimeFolder, int message);

}  // namespace flk
