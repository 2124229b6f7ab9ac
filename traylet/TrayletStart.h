#pragma once
#include <string>
#include <vector>

namespace flk {

inline constexpr char kTrayletMutexName[] = "Ulm TRAYLET MUTEX";
inline constexpr int kTrayletInstanceWaitMs = 1000;
// "/c" gives a running copy this long to end.
inline constexpr int kTrayletCloseWaitMs = 10000;

// True when the command line asks to close a running copy ("/c").
bool IsCloseCommand(const std::vector<std::string>& args);

// Asks a running copy to close and waits until it has ended (its lock is
// free), at most waitMs. True when none runs any more.
bool CloseRunningTraylet(const std::string& runtimeFolder, int waitMs = kTrayletCloseWaitMs);

}  // namespace flk
