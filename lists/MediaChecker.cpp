#include "lists/MediaChecker.h"

#include "lists/ImageCache.h"
#include "lists/ImageHeaders.h"
#include "platform/Sha256.h"
#include "platform/TextUtil.h"

#include <memory>

namespace flk {

MediaCheckKind KindOfContentType(std::string_view contentType) {
    contentType = Trim(contentType);
    if (StartsWithNoCase(contentType, "image")) return MediaCheckKind::Image;
    if (StartsWithNoCase(contentType, "audio")) return MediaCheckKind::Sound;
    if (StartsWithNoCase(contentType, "video")) return MediaCheckKind::Movie;
    return MediaCheckKind::Content;
}

namespace {

// The network of a check's requests: the options' own, each request
// bounded by the check's time limit.
InternetOptions CheckNetwork(const MediaCheckerOptions& o) {
    InternetOptions network = o.network;
    network.totalTimeoutMs = o.requestTimeoutMs;
    return network;
}

RequestQueueOptions QueueOptions(const MediaCheckerOptions& o) {
    RequestQueueOptions q;
    q.agent = kCheckerAgent;
    q.workers = o.workers;
    q.network = CheckNetwork(o);
    // Below the window's thread, as the crawl's workers at their fastest.
    q.priority = WorkerThread::Priority::BelowNormal;
    return q;
}

bool NamesMedia(std::string_view contentType) { return KindOfContentType(contentType) != MediaCheckKind::Content; }

// The size a counting GET found: its body when it came whole, the cap when
// the body reached it, else unknown.
long long CountedSize(const WebReply& reply) {
    if (!reply.Success()) return 0;
    if (reply.complete || reply.truncated) return static_cast<long long>(reply.bodyBytes);
    return 0;
}

// What a body's bytes tell beyond its length, gathered as they stream past:
// the first kImageHeaderBytes, and a hash of them all. Hashing is the
// dearest step of a crawl, so it runs only when fingerprints are wanted.
struct BodyProbe {
    explicit BodyProbe(bool hashAll) : hashAll(hashAll) {}
    std::string head;
    bool hashAll;
    Sha256 whole;

    void Take(std::string_view bytes) {
        if (head.size() < kImageHeaderBytes) head.append(bytes.substr(0, kImageHeaderBytes - head.size()));
        if (hashAll) whole.Add(bytes);
    }

    // Fills in the pixel size (when the file is an image) and the hashes for
    // a file of `size` bytes; `wholeBody` when every byte went past.
    void Describe(MediaCheckResult& r, bool pixels, bool fingerprints, bool wholeBody) {
        const bool image = r.kind == MediaCheckKind::Image || KindOfContentType(r.contentType) == MediaCheckKind::Image;
        if (pixels && image) {
            if (const std::optional<PixelSize> px = ReadImageSize(head)) {
                r.width = px->width;
                r.height = px->height;
            }
        }
        if (!fingerprints || r.size <= 0) return;
        const std::size_t expected = static_cast<std::size_t>(std::min<long long>(r.size, kImageHeaderBytes));
        if (head.size() != expected) return;  // cut short: these bytes are not the file's start
        Sha256 start;
        start.Add(head);
        r.fingerprint = std::to_string(r.size) + ":" + start.HexDigest();
        if (wholeBody && hashAll) r.sha256 = whole.HexDigest();
    }
};

}  // namespace

CMediaChecker::CMediaChecker(InternetShare& share, MediaCheckReceiver& receiver, MediaCheckerOptions options)
    : receiver_(receiver), queue_(share, QueueOptions(options)) {
    SetOptions(std::move(options));
}

CMediaChecker::~CMediaChecker() { queue_.Shutdown(); }

void CMediaChecker::SetOptions(MediaCheckerOptions options) {
    auto current = std::make_shared<Current>();
    current->network = std::make_shared<const InternetOptions>(CheckNetwork(options));
    current->options = std::move(options);
    std::lock_guard<std::mutex> lock(lock_);
    current_ = std::move(current);
}

MediaCheckerOptions CMediaChecker::Options() const { return CurrentOptions()->options; }

CMediaChecker::Snapshot CMediaChecker::CurrentOptions() const {
    std::lock_guard<std::mutex> lock(lock_);
    return current_;
}

void CMediaChecker::SetImageCache(const std::string& folder, bool store) {
    std::lock_guard<std::mutex> lock(lock_);
    cacheFolder_ = folder;
    storeImages_ = store;
}

int CMediaChecker::PendingCount() const { return queue_.Pending(); }

void CMediaChecker::WaitUntilNonePending(const std::atomic<bool>& stop) const { queue_.WaitUntilIdle(stop); }

WebRequest CMediaChecker::Request(const std::string& url, RequestMethod method, const Snapshot& now) {
    WebRequest r;
    r.url = url;
    r.method = method;
    r.network = now->network;
    r.maxRedirects = now->options.maxRedirects;
    r.keepBody = false;
    r.bodyOnlyOnSuccess = true;
    r.maxBodyBytes = now->options.countCap;
    return r;
}

void CMediaChecker::QueueCheck(const std::string& url, MediaCheckKind kind) {
    switch (kind) {
    case MediaCheckKind::Image:
    case MediaCheckKind::Movie:
    case MediaCheckKind::Sound:
    case MediaCheckKind::Content:
        break;
    default:
        return;
    }
    std::string folder;
    bool store = false;
    Snapshot now;
    {
        std::lock_guard<std::mutex> lock(lock_);
        folder = cacheFolder_;
        store = storeImages_ && !folder.empty();
        now = current_;
    }
    if (kind == MediaCheckKind::Image && store) {
        QueueDownload(url, kind, folder, now);
        return;
    }
    WebRequest head = Request(url, RequestMethod::Head, now);
    head.done = [this, url, kind, now](const WebReply& reply) { OnHead(url, kind, reply, now); };
    queue_.Queue(std::move(head));
}

void CMediaChecker::OnHead(const std::string& url, MediaCheckKind kind, const WebReply& reply, const Snapshot& now) {
    const std::string type = reply.Success() ? reply.contentType : std::string();
    if (kind == MediaCheckKind::Content && reply.Success() && KindOfContentType(type) == MediaCheckKind::Image) {
        // A picture known by its type alone is stored like any other, so
        // the result pages show it once the site is gone.
        std::string folder;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (storeImages_) folder = cacheFolder_;
        }
        if (!folder.empty()) {
            QueueDownload(url, kind, folder, now);
            return;
        }
    }
    // A content check whose answer names no medium needs no more.
    const bool noMedium = kind == MediaCheckKind::Content && reply.Success() && !NamesMedia(type);
    if (reply.Success() && reply.contentLength >= 0) {
        if (Probing(now) && !noMedium && reply.contentLength > 0) {
            QueueProbe(url, kind, reply.contentLength, type, now);
            return;
        }
        Report({url, kind, reply.contentLength, type});
        return;
    }
    const bool gone = reply.status == 404 || reply.status == 410;
    if (!reply.responded || reply.failed || gone || noMedium) {
        Report({url, kind, 0, type});
        return;
    }
    // No length, or HEAD refused (405, 501...): the body tells.
    if (Probing(now)) {
        QueueProbe(url, kind, -1, type, now);
        return;
    }
    QueueCount(url, kind, now);
}

void CMediaChecker::QueueProbe(const std::string& url, MediaCheckKind kind, long long length,
                               const std::string& headType, const Snapshot& now) {
    auto probe = std::make_shared<BodyProbe>(now->options.fingerprints);
    WebRequest get = Request(url, RequestMethod::Get, now);
    get.firstBytes = kImageHeaderBytes;
    get.maxBodyBytes = kImageHeaderBytes;
    get.sink = [probe](std::string_view bytes) { probe->Take(bytes); };
    get.done = [this, url, kind, length, headType, probe, now](const WebReply& reply) {
        MediaCheckResult r{url, kind, length, headType.empty() && reply.Success() ? reply.contentType : headType};
        if (!reply.Success()) {
            if (length >= 0) {
                Report(std::move(r));
            } else if (reply.responded && reply.status != 416) {
                r.size = 0;  // refused as a whole, not just the range
                Report(std::move(r));
            } else {
                QueueCount(url, kind, now);  // no answer to the range; a plain GET may get one
            }
            return;
        }
        if (r.size < 0) {
            if (reply.rangeTotal >= 0) r.size = reply.rangeTotal;
            else if (reply.status != 206 && reply.contentLength >= 0) r.size = reply.contentLength;
            // A body that ended short of the bytes asked for is the whole
            // file, whether it came ranged or not.
            else if (reply.complete && (reply.status != 206 || reply.bodyBytes < kImageHeaderBytes))
                r.size = static_cast<long long>(reply.bodyBytes);
        }
        if (r.size < 0) {
            // A body of unknown length past the first bytes: count it.
            QueueCount(url, kind, now);
            return;
        }
        const bool whole = reply.complete && static_cast<long long>(reply.bodyBytes) == r.size;
        probe->Describe(r, now->options.pixelSizes, now->options.fingerprints, whole);
        Report(std::move(r));
    };
    queue_.QueueFirst(std::move(get));
}

void CMediaChecker::QueueCount(const std::string& url, MediaCheckKind kind, const Snapshot& now) {
    auto probe = std::make_shared<BodyProbe>(now->options.fingerprints);
    WebRequest get = Request(url, RequestMethod::Get, now);
    if (Probing(now)) get.sink = [probe](std::string_view bytes) { probe->Take(bytes); };
    get.done = [this, url, kind, probe, now](const WebReply& reply) {
        MediaCheckResult r{url, kind, CountedSize(reply), reply.Success() ? reply.contentType : std::string()};
        // A body cut at the cap has no known length to fingerprint.
        if (Probing(now))
            probe->Describe(r, now->options.pixelSizes, now->options.fingerprints && reply.complete, reply.complete);
        Report(std::move(r));
    };
    queue_.QueueFirst(std::move(get));
}

void CMediaChecker::QueueDownload(const std::string& url, MediaCheckKind kind, const std::string& folder,
                                  const Snapshot& now) {
    auto file = std::make_shared<CachedImageFile>(folder);
    auto probe = std::make_shared<BodyProbe>(now->options.fingerprints);
    WebRequest get = Request(url, RequestMethod::Get, now);
    get.maxBodyBytes = now->options.imageCap;
    get.sink = [file, probe](std::string_view bytes) {
        file->Write(bytes);
        probe->Take(bytes);
    };
    get.done = [this, url, kind, file, probe, now](const WebReply& reply) {
        if (reply.Success() && reply.complete) file->Keep(CacheFileName(url));
        MediaCheckResult r{url, kind, CountedSize(reply),
                           reply.Success() ? reply.contentType : std::string()};
        if (Probing(now) && reply.Success())
            probe->Describe(r, now->options.pixelSizes, now->options.fingerprints && reply.complete, reply.complete);
        Report(std::move(r));
    };
    queue_.Queue(std::move(get));
}

void CMediaChecker::Report(MediaCheckResult result) { receiver_.CheckDone(result); }

}  // namespace flk
