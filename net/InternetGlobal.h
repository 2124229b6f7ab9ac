#pragma once

namespace flk {

// Process-wide start-up and clean-up of the internet client library; the
// stand-in for the Windows sockets start-up. Call once from main().
bool InitInternet();
void CleanupInternet();

}  // namespace flk
