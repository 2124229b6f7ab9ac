#pragma once
#include <string>
#include <string_view>

namespace flk {

// What a size check of a found medium is for. The numbers are those the
// checker's requests carry.
enum class MediaCheckKind {
    Image = 1,
    Movie = 2,
    Sound = 3,
    Content = 5,  // a link whose kind only the server's content type tells
};

// The media checker as the lists see it: a queue of HTTP requests that find
// each new medium's size. QueueCheck only queues and returns at once; it may
// be called from any thread, never under a list's lock.
class MediaCheckQueue {
public:
    virtual ~MediaCheckQueue() = default;
    virtual void QueueCheck(const std::string& url, MediaCheckKind kind) = 0;
};

// What a finished check reports: the address as queued, its size in bytes
// (0 when unknown or failed) and the response's content type ("image/gif"...;
// Content checks rely on it). When the checker reads the file's first bytes
// it adds what they tell.
struct MediaCheckResult {
    std::string url;
    MediaCheckKind kind = MediaCheckKind::Image;
    long long size = 0;
    std::string contentType;
    long width = 0;           // pixels from the image's own header; 0 unknown
    long height = 0;
    std::string sha256{};     // of the whole body, when it was read whole
    std::string fingerprint{};  // size + SHA-256 of the first 64 KB, when those were read
};

// "image", "audio" and "video" content types and the check kinds they make.
// Content (no medium) for any other type.
MediaCheckKind KindOfContentType(std::string_view contentType);

// Where the checker delivers finished checks (on its own threads).
class MediaCheckReceiver {
public:
    virtual ~MediaCheckReceiver() = default;
    virtual void CheckDone(const MediaCheckResult& result) = 0;
};

}  // namespace flk
