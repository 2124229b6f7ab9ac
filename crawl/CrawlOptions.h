#pragma once
#include "crawl/UrlOptions.h"
#include "platform/WorkerThread.h"

namespace flk {

class Settings;

// Everything a crawl reads from the profile when it starts. Read once on the
// kernel thread, then shared read-only with the workers.
struct CrawlOptions {
    UrlOptions url;
    int pagesPerSite = 15;
    bool pagesPerSiteOn = true;
    bool stayInSearch = false;
    bool checkPass = false;       // ask for user and password on 401
    bool depthLimitOn = true;
    bool pagesLimitOn = true;
    bool useMaxFileSize = true;
    int maxFileSizeKb = 100;
    bool useCache = true;
    long requestTimeLimitMs = 120000;  // `crawler`/`page_timeout`
    bool pureImages = true;
    bool showTree = false;        // `tree`/`show_tree`
    bool treePaneOn = false;      // `view`/`tree`
    bool showTitles = false;
    bool showExternal = false;
    bool showOnlySearchItems = false;
    bool forceEmails = false;
    bool collectImages = true;    // `view`/`images`
    bool collectSounds = false;   // `view`/`sounds`
    bool collectMovies = false;   // `view`/`movies`
    bool modernMarkup = true;     // `modern`/`markup`
    bool contentTypes = true;     // `modern`/`content`
    bool trueSizes = true;        // `modern`/`sizes`
    bool robots = true;           // `modern`/`robots`
    bool retryAfter = true;       // `modern`/`retry_after`
    bool compression = true;      // `modern`/`compression`
    WorkerThread::Priority workerPriority = WorkerThread::Priority::Idle;
};

// "Fast" runs workers at normal priority, "Normal" at the lowest, "Slow" and
// anything else at idle priority.
WorkerThread::Priority PriorityForSpeed(const std::string& speed);

CrawlOptions ReadCrawlOptions(Settings& settings);

}  // namespace flk
