#include "crawl/UrlOptions.h"

#include "settings/Settings.h"
#include "net/ParsedUrl.h"

#include <algorithm>

namespace flk {

bool UrlOptions::IsDontVisit(const ParsedUrl& url) const {
    return dontVisitOn &&
           std::find(dontVisitHosts.begin(), dontVisitHosts.end(), url.HostPart()) != dontVisitHosts.end();
}

bool UrlOptions::MayFollowPage(const ParsedUrl& url) const {
    return (parseDlls || !url.IsQuery()) && filter.MatchesFilter(url.Full());
}

UrlOptions ReadUrlOptions(Settings& settings) {
    UrlOptions o;
    o.media = MediaExtensionLists::FromSettings(settings);
    std::string pattern = settings.Get(keys::CrawlerFilter);
    if (pattern.empty()) {
        pattern = "*";
        settings.Set(keys::CrawlerFilter, pattern);
    }
    o.filter = UrlFilter(pattern);
    o.parseDlls = settings.IsOnUnless0(keys::CrawlerParseDlls);
    o.stayInDomain = settings.IsOnUnless0(keys::CrawlerStayInDomain);
    o.stayInDir = settings.IsOnlyOne(keys::CrawlerStayInDir);
    o.domainLevel = settings.Get(keys::CrawlerDomainLevel);
    o.dontVisitOn = settings.IsOnlyOne(keys::CrawlerDontVisitChk);
    o.dontVisitHosts = CompleteDontVisit(settings.Get(keys::CrawlerDontVisit));
    return o;
}

}  // namespace flk
