#pragma once
#include "net/InternetSession.h"

namespace flk {

class Settings;

// The longest a whole request may last, from `crawler`/`page_timeout`
// (seconds). A value that is not a positive number gives the default: a
// server that drips just fast enough to pass the low-speed test must never
// hold a worker for hours, so the limit cannot be switched off.
long RequestTimeLimitMs(const Settings& settings);

// The options with that limit as their total time-out; for every request
// but a download.
InternetOptions WithRequestTimeLimit(InternetOptions options, const Settings& settings);

}  // namespace flk
