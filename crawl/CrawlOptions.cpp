#include "crawl/CrawlOptions.h"

#include "settings/Settings.h"
#include "net/RequestTimeLimit.h"

namespace flk {

// The fastest speed still runs a step below the window's thread: Linux gives
// the window no boost of its own, and ten busy workers at its level left it
// without the processor for 100 ms at a time.
WorkerThread::Priority PriorityForSpeed(const std::string& speed) {
    if (speed == "Fast") return WorkerThread::Priority::BelowNormal;
    if (speed == "Normal") return WorkerThread::Priority::Lowest;
    return WorkerThread::Priority::Idle;
}

CrawlOptions ReadCrawlOptions(Settings& settings) {
    using namespace keys;
    CrawlOptions o;
    o.url = ReadUrlOptions(settings);
    o.pagesPerSite = settings.Get(CrawlerPagesPerSite);
    o.pagesPerSiteOn = settings.Get(CrawlerPagesPerDomainLimit) != 0;
    o.stayInSearch = settings.Get(CrawlerStayInSearch) == 1;
    o.checkPass = settings.IsOnUnless0(CrawlerCheckPass);
    o.depthLimitOn = settings.Get(CrawlerIsDepthLimit) == 1;
    o.pagesLimitOn = settings.Get(CrawlerIsPagesLimit) == 1;
    o.useMaxFileSize = settings.Get(CrawlerUseMaxFileSize) == 1;
    o.maxFileSizeKb = settings.Get(CrawlerMaxFileSize);
    o.useCache = settings.Get(CrawlerUseCash) == 1;
    o.requestTimeLimitMs = RequestTimeLimitMs(settings);
    o.pureImages = settings.Get(TreePureImages) == 1;
    o.showTree = settings.IsOnUnless0(TreeShowTree);
    o.treePaneOn = settings.IsOnlyOne(ViewTree);
    o.showTitles = settings.IsOnUnless0(TreeShowTitles);
    o.showExternal = settings.IsOnUnless0(TreeShowExternal);
    o.showOnlySearchItems = settings.IsOnUnless0(TreeShowSearch);
    o.forceEmails = settings.IsOnlyOne(TreeForceEmails);
    // The crawler window counts a missing list switch as on.
    auto listOn = [&](const StrKey& k) { return settings.GetProfileString(k.section, k.key, "1") == "1"; };
    o.collectImages = listOn(ViewImages);
    o.collectSounds = listOn(ViewSounds);
    o.collectMovies = listOn(ViewMovies);
    o.modernMarkup = settings.Get(ModernMarkup) != 0;
    o.contentTypes = settings.Get(ModernContent) != 0;
    o.trueSizes = settings.Get(ModernSizes) != 0;
    o.robots = settings.Get(ModernRobots) != 0;
    o.retryAfter = settings.Get(ModernRetryAfter) != 0;
    o.compression = settings.Get(ModernCompression) != 0;
    o.workerPriority = PriorityForSpeed(settings.Get(CrawlerThreadsPriority));
    return o;
}

}  // namespace flk
