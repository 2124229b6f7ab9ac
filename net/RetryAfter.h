#pragma once
#include <ctime>
#include <string_view>

namespace flk {

// The seconds a Retry-After value asks to wait: a number of seconds, or an
// HTTP date (then the time left until it, 0 when it has passed). False for
// anything else.
bool ParseRetryAfter(std::string_view value, std::time_t now, long long& seconds);

}  // namespace flk
