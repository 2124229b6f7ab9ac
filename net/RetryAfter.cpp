#include "net/RetryAfter.h"

#include "platform/TextUtil.h"

#include <curl/curl.h>

#include <string>

namespace flk {

bool ParseRetryAfter(std::string_view value, std::time_t now, long long& seconds) {
    const std::string text = TrimCopy(value);
    if (text.empty()) return false;
    bool digits = true;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (digits) {
        if (text.size() > 9) return false;  // beyond any wait anyone would honour
        seconds = std::stoll(text);
        return true;
    }
    // libcurl reads the three date forms HTTP allows.
    const time_t when = curl_getdate(text.c_str(), nullptr);
    if (when == -1) return false;
    seconds = when > now ? static_cast<long long>(when - now) : 0;
    return true;
}

}  // namespace flk
