#include "lists/MediaChecker.h"

#include "lists/ImageCache.h"
#include "platform/TextUtil.h"

#include <memory>

namespace flk {

namespace {

RequestQueueOptions QueueOptions(const MediaCheckerOptions& o) {
    RequestQueueOptions q;
    q.agent = kCheckerAgent;
    q.workers = o.workers;
    q.network = o.network;
    q.network.totalTimeoutMs = o.requestTimeoutMs;
    return q;
}

bool NamesMedia(std::string_view contentType) {
    contentType = Trim(contentType);
    return StartsWithNoCase(contentType, "image") || StartsWithNoCase(contentType, "audio") ||
           StartsWithNoCase(contentType, "video");
}

// The size a counting GET found: its body when it came whole, the cap when
// the body reached it, else unknown.
long long CountedSize(const WebReply& reply) {
    if (!reply.Success()) return 0;
    if (reply.complete || reply.truncated) return static_cast<long long>(reply.bodyBytes);
    return 0;
}

}  // namespace

CMediaChecker::CMediaChecker(InternetShare& share, MediaCheckReceiver& receiver, MediaCheckerOptions options)
    : receiver_(receiver), options_(std::move(options)), queue_(share, QueueOptions(options_)) {}

CMediaChecker::~CMediaChecker() { queue_.Shutdown(); }

void CMediaChecker::SetImageCache(const std::string& folder, bool store) {
    std::lock_guard<std::mutex> lock(cacheLock_);
    cacheFolder_ = folder;
    storeImages_ = store;
}

int CMediaChecker::PendingCount() const { return queue_.Pending(); }

WebRequest CMediaChecker::Request(const std::string& url, RequestMethod method) const {
    WebRequest r;
    r.url = url;
    r.method = method;
    r.maxRedirects = options_.maxRedirects;
    r.keepBody = false;
    r.bodyOnlyOnSuccess = true;
    r.maxBodyBytes = options_.countCap;
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
    {
        std::lock_guard<std::mutex> lock(cacheLock_);
        folder = cacheFolder_;
        store = storeImages_ && !folder.empty();
    }
    if (kind == MediaCheckKind::Image && store) {
        QueueDownload(url, folder);
        return;
    }
    WebRequest head = Request(url, RequestMethod::Head);
    head.done = [this, url, kind](const WebReply& reply) { OnHead(url, kind, reply); };
    queue_.Queue(std::move(head));
}

void CMediaChecker::OnHead(const std::string& url, MediaCheckKind kind, const WebReply& reply) {
    const std::string type = reply.Success() ? reply.contentType : std::string();
    if (reply.Success() && reply.contentLength >= 0) {
        Report(url, kind, reply.contentLength, type);
        return;
    }
    // A content check whose answer names no medium needs no size.
    const bool nothingToCount = kind == MediaCheckKind::Content && reply.Success() && !NamesMedia(type);
    const bool gone = reply.status == 404 || reply.status == 410;
    if (!reply.responded || reply.failed || gone || nothingToCount) {
        Report(url, kind, 0, type);
        return;
    }
    // No length, or HEAD refused: count the body.
    QueueCount(url, kind);
}

void CMediaChecker::QueueCount(const std::string& url, MediaCheckKind kind) {
    WebRequest get = Request(url, RequestMethod::Get);
    get.done = [this, url, kind](const WebReply& reply) {
        Report(url, kind, CountedSize(reply), reply.Success() ? reply.contentType : std::string());
    };
    queue_.QueueFirst(std::move(get));
}

void CMediaChecker::QueueDownload(const std::string& url, const std::string& folder) {
    auto file = std::make_shared<CachedImageFile>(folder);
    WebRequest get = Request(url, RequestMethod::Get);
    get.maxBodyBytes = options_.imageCap;
    get.sink = [file](std::string_view bytes) { file->Write(bytes); };
    get.done = [this, url, file](const WebReply& reply) {
        if (reply.Success() && reply.complete) file->Keep(CacheFileName(url));
        Report(url, MediaCheckKind::Image, CountedSize(reply), reply.Success() ? reply.contentType : std::string());
    };
    queue_.Queue(std::move(get));
}

void CMediaChecker::Report(const std::string& url, MediaCheckKind kind, long long size,
                           const std::string& contentType) {
    MediaCheckResult result;
    result.url = url;
    result.kind = kind;
    result.size = size;
    result.contentType = contentType;
    receiver_.CheckDone(result);
}

}  // namespace flk
