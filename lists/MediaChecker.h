#pragma once
#include "crawl/CrawlView.h"
#include "lists/MediaCheck.h"
#include "net/RequestQueue.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace flk {

// The agent name of the checker's requests.
inline constexpr char kCheckerAgent[] = "Explorer";
// Checks that run at once.
inline constexpr int kCheckerWorkers = 15;

struct MediaCheckerOptions {
    // Connect and low-speed limits, proxy use, name resolutions.
    InternetOptions network{};
    // Each request of a check (every redirect and the counting GET being a
    // request of its own) ends after this long, whatever the server does.
    long requestTimeoutMs = 120000;
    // Redirects followed: most sites send "http://" on to "https://".
    int maxRedirects = 5;
    // A body without a length is counted up to this many bytes; a medium
    // that reaches it is reported with this size ("at least").
    std::uint64_t countCap = 16u << 20;
    // An image bigger than this is not stored in the cache.
    std::uint64_t imageCap = 16u << 20;
    // Read when the checker is made; SetOptions keeps the first number.
    int workers = kCheckerWorkers;
    // Read an image's pixel size from its first bytes (`modern`/`sizes`).
    bool pixelSizes = false;
    // Give every medium a fingerprint for duplicate finding
    // (`modern`/`duplicates`).
    bool fingerprints = false;
};

// CMediaChecker finds the size of each medium the lists queue, over a
// request queue of 15 workers (agent "Explorer"), and reports it to the
// lists as a MediaCheckResult:
// - a HEAD request; a 2xx answer with a Content-Length gives the size;
// - a 2xx answer without one is followed by a GET that counts the body
//   (up to countCap); so is an answer that refuses HEAD (405, 501...),
//   while 404, 410 and a failed transfer report size 0 at once;
// - a content check (kind 5) reports the answer's content type; one that
//   names no image, audio or video is not counted further;
// - an image, while images are stored ("download" of "tree" = 1), is
//   fetched whole by one GET: its size is the bytes received, and a
//   complete 2xx body is kept in the image cache folder under
//   CacheFileName of the queued address.
// With pixelSizes or fingerprints the checker also reads each file's first
// kImageHeaderBytes (64 KB): an image's pixel size from its header, and a
// fingerprint (size + hash of those bytes) and, where the body came whole, its
// SHA-256. Where HEAD gave the length, a ranged GET asks for those bytes only;
// where HEAD gave none or was refused, that ranged GET also gives the length
// (Content-Range, or a body that ends inside it), and only a server that
// tells neither has its body counted. A stored image is hashed as it is
// written.
// A check that fails or times out reports size 0. Results go to the
// receiver on the worker threads, with no lock of the checker held; none
// is delivered once the checker has stopped.
//
// Owned by the crawler window: create after the lists, destroy before them.
class CMediaChecker : public MediaCheckQueue, public PendingChecks {
public:
    CMediaChecker(InternetShare& share, MediaCheckReceiver& receiver, MediaCheckerOptions options = {});
    ~CMediaChecker() override;

    // The options of the checks queued from now on (a new crawl reads its
    // settings); a check under way keeps those it was queued with.
    void SetOptions(MediaCheckerOptions options);
    MediaCheckerOptions Options() const;

    // Where images go and whether they are stored; read by each check as
    // it is queued (a loaded project moves the folder).
    void SetImageCache(const std::string& folder, bool store);

    void QueueCheck(const std::string& url, MediaCheckKind kind) override;
    // Checks queued or running; a crawl ends only when this is 0.
    int PendingCount() const override;
    void WaitUntilNonePending(const std::atomic<bool>& stop) const override;

    // Drops queued checks, cancels running ones and returns at once.
    void Stop() { queue_.Stop(); }
    bool Ended() const { return queue_.Ended(); }

private:
    // The options a check was queued with, and its requests' network.
    struct Current {
        MediaCheckerOptions options;
        std::shared_ptr<const InternetOptions> network;
    };
    using Snapshot = std::shared_ptr<const Current>;

    Snapshot CurrentOptions() const;
    static WebRequest Request(const std::string& url, RequestMethod method, const Snapshot& now);
    void QueueCount(const std::string& url, MediaCheckKind kind, const Snapshot& now);
    void QueueDownload(const std::string& url, MediaCheckKind kind, const std::string& folder, const Snapshot& now);
    void QueueProbe(const std::string& url, MediaCheckKind kind, long long length, const std::string& headType,
                    const Snapshot& now);
    void OnHead(const std::string& url, MediaCheckKind kind, const WebReply& reply, const Snapshot& now);
    void Report(MediaCheckResult result);
    static bool Probing(const Snapshot& now) { return now->options.pixelSizes || now->options.fingerprints; }

    MediaCheckReceiver& receiver_;
    mutable std::mutex lock_;  // current_ and the image cache
    Snapshot current_;
    std::string cacheFolder_;
    bool storeImages_ = false;
    RequestQueue queue_;  // last: its workers end before the rest goes
};

}  // namespace flk
