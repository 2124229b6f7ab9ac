#include "search/EngineRequests.h"

#include "settings/Settings.h"
#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

namespace {

std::string BaseOf(const std::string& configured) {
    std::string base = WithDefaultScheme(Trim(configured));
    // Trailing slashes go, but never those of "scheme://" itself.
    const std::size_t scheme = base.find("://");
    const std::size_t keep = scheme == std::string::npos ? 1 : scheme + 4;
    while (base.size() > keep && base.back() == '/') base.pop_back();
    return base;
}

constexpr const char* kHotBotTail =
    "&SM=MC&AM0=MC&AT0=words&AW0=sex+gallery&AM1=MN&AT1=words&AW1=gay+male+man&savenummod=2"
    "&date=WH&DV=7&DR=newer&DM=1&DD=1&DY=98&FSU=1&FS=jpg&RD=AN&Domain=&RG=.com&PS=D&PD=3&DC=";
constexpr const char* kHotBotCount = "100";
constexpr const char* kHotBotEnd = "&DE=0&SUBMIT=SEARCH&_v=2&OPs=MDRTP&NUMMOD=2&_v=2&OPs=MDRTP";

}  // namespace

EngineKind EngineKindOf(std::string_view name) {
    if (name == engine_names::kAltavista) return EngineKind::Altavista;
    if (name == engine_names::kWebCrawler) return EngineKind::WebCrawler;
    if (name == engine_names::kHotBot) return EngineKind::HotBot;
    return EngineKind::Directory;
}

std::string SearchingStatus(EngineKind kind) {
    switch (kind) {
        case EngineKind::Altavista:
            return "Searching the web using Altavista...";
        case EngineKind::WebCrawler:
            return "Searching the web using Web crawler...";
        case EngineKind::HotBot:
            return "Searching the web using HotBot...";
        case EngineKind::Directory:
            break;
    }
    return "Searching the web using Yahoo...";
}

EngineHosts EngineHosts::FromSettings(const Settings& settings) {
    EngineHosts h;
    h.altavista = BaseOf(settings.Get(hosts::Altavista));
    h.webCrawler = BaseOf(settings.Get(hosts::WebCrawler));
    h.hotBot = BaseOf(settings.Get(hosts::HotBot));
    h.directory = BaseOf(settings.Get(hosts::Directory));
    h.webCrawlerHost = TrimCopy(settings.Get(hosts::WebCrawler));
    h.booksellerFragment = TrimCopy(settings.Get(hosts::Bookseller));
    return h;
}

std::vector<std::string> BuildResultPageUrls(EngineKind kind, const EngineHosts& hosts,
                                             std::string_view encodedQuery, int maxPages) {
    std::vector<std::string> urls;
    const std::string q(encodedQuery);
    switch (kind) {
        case EngineKind::Altavista:
            for (int n = 0; n < maxPages && static_cast<int>(urls.size()) < kMaxResultPages; n += 10)
                urls.push_back(hosts.altavista + "/cgi-bin/query?pg=aq&what=web&kl=XX&q=" + q +
                               "&navig10.x=9&navig" + std::to_string(n) + ".y=9");
            break;
        case EngineKind::WebCrawler: {
            const int perPage = std::min(maxPages, 200);
            if (perPage <= 0) break;
            for (int s = 0; s < maxPages && static_cast<int>(urls.size()) < kMaxResultPages; s += perPage)
                urls.push_back(hosts.webCrawler + "/cgi-bin/WebQuery?search=" + q + "&src=wc_more&perPage=" +
                               std::to_string(perPage) + "&start=" + std::to_string(s));
            break;
        }
        case EngineKind::HotBot:
            urls.push_back(hosts.hotBot + "/default.asp?MT=" + q + kHotBotTail + kHotBotCount + kHotBotEnd);
            break;
        case EngineKind::Directory:
            break;
    }
    return urls;
}

}  // namespace flk
