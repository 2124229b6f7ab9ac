#pragma once
#include <string>

namespace flk {

// The desktop's start-up entry of the tray companion, in the folder of
// [StartUp] "Path" (default: the autostart folder).
inline constexpr char kAutostartEntryName[] = "FLKPop.desktop";

// The entry's text: a desktop entry that starts trayletProgram.
std::string AutostartEntryText(const std::string& trayletProgram);

// Writes the entry into folder (created when missing) unless one is there
// already, which is left alone. False when it cannot be written.
bool InstallAutostartEntry(const std::string& folder, const std::string& trayletProgram);
// Deletes the entry from folder; true when none is left.
bool RemoveAutostartEntry(const std::string& folder);

}  // namespace flk
