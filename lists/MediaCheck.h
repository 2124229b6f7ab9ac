#pragma once
#include <string>

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
// (0 when unknown or failed) and, for Content checks, the response's content
// type ("image/gif"...).
struct MediaCheckResult {
    std::string url;
    MediaCheckKind kind = MediaCheckKind::Image;
    long long size = 0;
    std::string contentType;
};

// Where the checker delivers finished checks (on its own threads).
class MediaCheckReceiver {
public:
    virtual ~MediaCheckReceiver() = default;
    virtual void CheckDone(const MediaCheckResult& result) = 0;
};

}  // namespace flk
