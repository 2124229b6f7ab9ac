#pragma once
#include "crawl/FoundItems.h"
#include "query/SearchOptions.h"

#include <atomic>
#include <string>

namespace flk {

// The limits the crawl view holds; the kernel reads them whenever it decides,
// so the user can change them while a crawl runs.
struct CrawlLimits {
    int maxThreads = 10;
    int maxDepth = 15;
    int maxPages = 2000;
};

// What the progress display shows.
struct CrawlProgress {
    std::string status;        // empty when only the numbers changed
    int threads = 0;           // running workers
    int pagesFound = 0;        // the larger of accepted and parsed pages
    int pagesParsed = 0;
    int barMax = 0;            // progress bar range 0..barMax
    int barPos = 0;
};

// A page kept for the off-line text search.
struct StoredPage {
    std::string url;
    std::string title;
    int depth = 0;
    std::string text;
};

// What the crawl engine needs of the crawler window.
class CrawlView {
public:
    virtual ~CrawlView() = default;
    virtual CrawlLimits Limits() const = 0;
    virtual bool SinglePage() const = 0;
    virtual SearchOptions Search() const = 0;
    // A line of the site tree: a page address or a title line "<<...>>",
    // under the line whose text is parentText (a new root when none is).
    virtual void AddTreeLine(const std::string& itemText, const std::string& parentText) = 0;
    virtual void ShowProgress(const CrawlProgress& progress) = 0;
    virtual void StorePage(const StoredPage& page) = 0;
    // The crawl is over: the view shows "Ready." and enables Start again.
    virtual void CrawlEnded() = 0;
};

// Where the parser sends the media it finds; the lists decide duplicates.
class MediaSink {
public:
    virtual ~MediaSink() = default;
    virtual void AddImage(const MediaItem& item) = 0;
    virtual void AddMovie(const MediaItem& item) = 0;
    virtual void AddSound(const MediaItem& item) = 0;
    // A medium whose address names no listed kind (no extension, or a
    // query): the server's content type will tell which list it joins, if
    // any. Sinks that cannot ask drop it.
    virtual void AddByContent(const MediaItem&) {}
};

// Where the parser sends pages that matched the text search.
class HitSink {
public:
    virtual ~HitSink() = default;
    virtual void AddHit(const TextHit& hit) = 0;
};

// The media checker as the kernel sees it: a crawl ends only after the
// checks of its media are done.
class PendingChecks {
public:
    virtual ~PendingChecks() = default;
    virtual int PendingCount() const = 0;
    // Returns once PendingCount() is 0, or soon after stop is set.
    virtual void WaitUntilNonePending(const std::atomic<bool>& stop) const = 0;
};

}  // namespace flk
