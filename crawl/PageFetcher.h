#pragma once
#include "crawl/LinkReport.h"
#include "net/InternetSession.h"
#include "net/InternetShare.h"
#include "platform/Notifier.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace flk {

struct CrawlOptions;
class PoliteHosts;

// A 429 or 503 page is asked again at most this often.
inline constexpr int kMostRetries = 2;
// A Retry-After asking for longer than this is not waited for: the page
// fails at once rather than hold a worker, or come back sooner than asked.
inline constexpr std::chrono::seconds kLongestRetryWait{60};

// Texts the fetcher puts in the crawler window's status line.
namespace fetchtext {
inline constexpr char kOnlyHttp[] = "Error: can only use URLs beginning with http://";
inline constexpr char kNoLocation[] = "Error: Site redirects with no new location";
inline constexpr char kGotStatus[] = "Error: Got status code ";
inline constexpr char kErrorReading[] = "Error reading ";  // + URL
inline constexpr char kSending[] = "sending request [";    // + URL + "]..."
inline constexpr char kReading[] = "reading [";            // + URL + "]..."
inline constexpr char kReadingFile[] = "Reading [ ";       // + path + " ]..."
inline constexpr char kWaiting[] = "waiting ";             // + seconds + " s for [" + URL + "]..."
}  // namespace fetchtext

// The agent name of every crawl session.
inline constexpr char kCrawlAgent[] = "Explorer";
// No page is held beyond this many bytes, even with the size limit off.
inline constexpr std::uint64_t kPageHardCap = 8u << 20;

// Receives the fetcher's progress and error texts (the crawl's status line).
// Called on the worker's thread, only while the worker is not stopped.
class FetchStatus {
public:
    virtual ~FetchStatus() = default;
    virtual void ShowStatus(const std::string& text) = 0;
};

// Receives the links the fetcher itself finds: the new location of a
// redirect, exactly as the server wrote it (it may be relative), with
// kind kReportNewDomain and an empty description; the receiver resolves
// and queues it like a link the parser reports. Called on the worker's
// thread, only while the worker is not stopped.
class FetchLinks {
public:
    virtual ~FetchLinks() = default;
    virtual void ReportLink(const std::string& url, const std::string& kind,
                            const std::string& description) = 0;
};

// The crawl options the fetcher uses.
struct FetchOptions {
    bool useMaxFileSize = true;
    int maxFileSizeKb = 100;
    bool checkPass = false;  // ask for credentials on 401
    bool useCache = true;    // "Use cache/proxy": on = the system's proxy set-up, off = direct
    long timeLimitMs = 0;    // a page that takes longer in all is an error; 0: the network's own limit
    std::uint64_t hardCapBytes = kPageHardCap;
    bool compression = false;  // ask for gzip and brotli and decode them
    bool retryAfter = false;   // ask a 429 or 503 page again as Retry-After says

    static FetchOptions FromCrawl(const CrawlOptions& crawl);
};

// What the fetcher works with; every member outlives the fetcher.
struct FetchContext {
    InternetShare& internet;
    InternetOptions network;  // time-outs and name resolutions (access follows useCache)
    Notifier& notifier;       // the credentials question (notify::PasswordNeeded)
    FetchStatus& status;
    FetchLinks& links;
    // Crawl-delay spacing and the waits before a retry; none without it.
    PoliteHosts* polite = nullptr;
};

// Brings one page's text into memory, from a local file or over HTTP(S),
// within the size limits and the time limit. The lines of the page
// are joined with one "\n". One fetcher may serve many workers at
// once; each call runs on its caller's thread.
class PageFetcher {
public:
    PageFetcher(FetchContext context, FetchOptions options);

    // True when text holds the page and should go to the parser; false
    // when the page is dropped (an error, a redirect, a refused size) or
    // the worker was stopped (stop turned true), in which case nothing is
    // reported at all.
    //
    // On a 401 with checkPass on, a PasswordNeeded notification carrying
    // the URL asks for credentials and the request is tried once more with
    // the notification's user and password as the answer left them (a
    // cancelled question leaves them empty).
    bool FetchPage(const std::string& url, const std::atomic<bool>& stop, std::string& text) const;
    // The last HTTP answer's status of this fetcher's last page (0: none).
    int LastStatus() const { return lastStatus_; }

private:
    bool ReadLocalFile(const std::string& url, const std::atomic<bool>& stop, std::string& text) const;
    bool ReadHttp(const std::string& url, const std::atomic<bool>& stop, std::string& text) const;
    // How long to wait before asking a 429 or 503 page again (the
    // retries-th retry); false when it is not asked again.
    bool RetryWait(const InternetRequest& request, int retries, std::chrono::milliseconds& wait) const;
    void Show(const std::atomic<bool>& stop, const std::string& text) const;

    FetchContext context_;
    FetchOptions options_;
    mutable int lastStatus_ = 0;
};

// 301, 302, 303, 307 and 308: the answer names a new address in "Location: ".
bool IsRedirect(int status);

// The value of the header line that begins with name (exact letter case,
// name includes its ":" and any space), up to the line feed, with a CR
// right before the line feed removed. False when no line begins with name.
bool FindRawHeader(const std::string& rawHeaders, const std::string& name, std::string& value);

}  // namespace flk
