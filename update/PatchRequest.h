#pragma once
#include "update/LocalDate.h"

namespace flk {

class Settings;

// The message a patch program sends FLK before it replaces files: FLK notes
// the day in `patch` and ends at once with exit code 0, saving nothing.
inline constexpr int kPatchRequestMessage = 5463;
// The name FLK listens under for messages from other programs.
inline constexpr char kFlkMessageName[] = "FLK";

// Handles one message for FLK: a patch request writes the date and returns
// true (the caller then ends the process with exit code 0); any other
// message returns false.
bool HandlePatchRequest(Settings& settings, int message, const LocalDate& today = TodayLocal());

}  // namespace flk
