#include "net/PoliteRequests.h"

#include "net/CookieFile.h"
#include "platform/ProblemLog.h"
#include "platform/TextUtil.h"
#include "settings/Settings.h"

#include <algorithm>
#include <ctime>

namespace flk {

InternetOptions WithPoliteRequests(InternetOptions options, const Settings& settings) {
    options.maxPerHost = std::max(0, settings.Get(keys::ModernMaxPerHost));
    options.userAgent = TrimCopy(settings.Get(keys::ModernUserAgent));
    const std::string cookies = TrimCopy(settings.Get(keys::ModernCookies));
    options.cookies.reset();
    if (!cookies.empty()) {
        CookieFileRead read = ReadCookieFile(cookies, std::time(nullptr));
        if (read.ok)
            options.cookies = std::make_shared<const std::vector<std::string>>(std::move(read.lines));
        else
            LogProblem(read.problem);
    }
    return options;
}

}  // namespace flk
