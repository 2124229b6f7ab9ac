#pragma once
#include "crawl/MediaExtensions.h"
#include "crawl/UrlFilter.h"

#include <string>
#include <vector>

namespace flk {

class ParsedUrl;
class Settings;

// The address rules of one crawl, read once when it starts and then only
// read, so the kernel and every worker can share one copy without locks.
struct UrlOptions {
    MediaExtensionLists media;
    UrlFilter filter;           // `crawler`/`filter`
    bool parseDlls = true;      // follow query addresses ("parse dll's and cgi's")
    bool stayInDomain = true;   // keep to the start sites
    bool stayInDir = true;      // keep to the start folders
    int domainLevel = 0;        // how many site hops away from a start site are taken
    bool dontVisitOn = false;   // `dont_visit_chk`
    std::vector<std::string> dontVisitHosts;  // host parts, from CompleteDontVisit

    // The don't-visit switch is on and the address's host part is listed.
    bool IsDontVisit(const ParsedUrl& url) const;

    // A page link may be queued: it is not a query address unless query
    // addresses are followed, and it passes the filter.
    bool MayFollowPage(const ParsedUrl& url) const;
};

// Reads the options from the profile. A filter that reads as empty is
// replaced by "*" and written back, so the configuration shows what is used.
UrlOptions ReadUrlOptions(Settings& settings);

}  // namespace flk
