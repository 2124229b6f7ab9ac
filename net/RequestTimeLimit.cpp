#include "net/RequestTimeLimit.h"

#include "settings/Settings.h"

#include <algorithm>

namespace flk {

namespace {
constexpr long kLongestSeconds = 24L * 60 * 60;
}  // namespace

long RequestTimeLimitMs(const Settings& settings) {
    long seconds = settings.Get(keys::CrawlerPageTimeout);
    if (seconds <= 0) seconds = keys::CrawlerPageTimeout.def;
    return std::min(seconds, kLongestSeconds) * 1000;
}

InternetOptions WithRequestTimeLimit(InternetOptions options, const Settings& settings) {
    options.totalTimeoutMs = RequestTimeLimitMs(settings);
    return options;
}

}  // namespace flk
