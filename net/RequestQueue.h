#pragma once
#include "net/InternetRequest.h"
#include "net/InternetSession.h"
#include "net/InternetShare.h"
#include "platform/WorkerThread.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The run-time class name of the queue's worker threads.
inline constexpr char kRequestThreadClass[] = "WebItemThrd";

// What one request brought back.
struct WebReply {
    std::string url{};                // as queued
    std::string finalUrl{};           // after the redirects followed
    bool responded = false;           // a response arrived: status and headers are valid
    bool complete = false;            // and its body (none for HEAD) was received to the end
    bool truncated = false;           // reading stopped at the request's maxBodyBytes
    bool failed = false;              // no response, or the transfer broke off (time-out included)
    int status = 0;                   // HTTP status; an FTP transfer's last reply code
    std::string headers{};            // the final response's raw header block
    std::string contentType{};        // the Content-Type value, trimmed; "" when none
    long long contentLength = -1;     // the Content-Length value; -1 when none or unreadable
    long long rangeTotal = -1;        // a 206 answer's whole length (Content-Range "/N"); -1 when none
    std::uint64_t bodyBytes = 0;      // body bytes read
    std::string body{};               // the body, when the request keeps it
    std::string error{};              // why it failed

    // A response that counts as the thing asked for: a 2xx status over
    // HTTP(S); over FTP any completed reply.
    bool Success() const;
};

// One request. Everything but url has a sensible default.
struct WebRequest {
    std::string url{};  // full address: http, https or ftp
    RequestMethod method = RequestMethod::Get;
    // 3xx answers with a Location are followed this many times; the answer
    // past the limit is the reply.
    int maxRedirects = 0;
    // The body is kept in WebReply::body; off, it is only counted (and
    // handed to sink).
    bool keepBody = true;
    // When set, the body of a non-2xx HTTP answer is not read (an error
    // page is rarely worth the bytes).
    bool bodyOnlyOnSuccess = false;
    // Reading stops here; the reply is then marked truncated.
    std::uint64_t maxBodyBytes = 4u << 20;
    // When set, only the body's first this many bytes are asked for (a
    // ranged GET); a server that ignores the range sends it all, and the
    // reply then shows status 200 rather than 206.
    std::uint64_t firstBytes = 0;
    // When set, this request's time-outs, User-Agent, cookies and per-host
    // limit instead of the queue's (an owner whose settings change while
    // older requests still run).
    std::shared_ptr<const InternetOptions> network{};
    // Receives the body in blocks as they arrive, on the worker thread.
    std::function<void(std::string_view)> sink{};
    // Receives the reply on the worker thread, with no lock of the queue
    // held, so it may queue more (see QueueFirst). Not called for a request
    // cut off by Stop(), nor started once Stop() has returned.
    std::function<void(const WebReply&)> done{};
};

struct RequestQueueOptions {
    std::string agent{};        // the sessions' agent name
    int workers = 5;            // at most this many requests run at once
    InternetOptions network{};  // time-outs, proxy use, name resolutions
    WorkerThread::Priority priority = WorkerThread::Priority::Normal;
};

class WebItemThrd;

// An asynchronous queue of HTTP(S)/FTP GET and HEAD requests: a FIFO served
// by a fixed pool of at most `workers` threads (run-time class
// "WebItemThrd"), started as requests arrive and kept until shutdown. Each
// request runs on one worker through the internet layer, follows redirects
// when asked, and ends with its completion on that worker.
//
// Two owners build on it:
// - the media checker (lists/MediaChecker.h): 15 workers, agent "Explorer",
//   HEAD and counting GET requests, image downloads through a sink;
// - the server requests: 5 workers, agent "Vellum 1.0"; that owner puts the
//   server base address in front of a path that does not begin with
//   "http://" before queueing, and hands WebReply::body of a finished
//   request on (keepBody on, maxBodyBytes as a cap on the answer).
//
// Shutting down: Stop() drops what is queued, cancels what runs (each
// worker's stop flag reaches the transfer) and returns at once; once it has
// returned no further completion starts (one already started may finish).
// Shutdown() (and the destructor) also waits for the workers, so afterwards
// nothing of the queue runs. Never call Shutdown() from a completion. A UI
// thread whose completions call into it synchronously calls Stop(), waits
// while servicing those calls until Ended(), then destroys the queue.
//
// All members are thread-safe. The InternetShare must outlive the queue.
class RequestQueue {
public:
    RequestQueue(InternetShare& share, RequestQueueOptions options);
    ~RequestQueue();
    RequestQueue(const RequestQueue&) = delete;
    RequestQueue& operator=(const RequestQueue&) = delete;

    // Appends a request; false (and the request is dropped) after Stop().
    bool Queue(WebRequest request);
    // Puts a request at the head of the queue: a follow-up queued from a
    // completion runs next, and since the completed request still counts as
    // running, Pending() never passes through 0 between the two.
    bool QueueFirst(WebRequest request);

    // Requests queued plus requests running (completions included).
    int Pending() const;
    // Returns once nothing is queued or running, or once stop is set (seen
    // within a few milliseconds): the end of the last request wakes it.
    void WaitUntilIdle(const std::atomic<bool>& stop) const;
    int Running() const;
    int Workers() const;

    void Stop();
    bool Stopped() const;
    // Every worker has returned (true as well when none was ever started).
    bool Ended() const;
    // Stop() and join every worker.
    void Shutdown();

private:
    friend class WebItemThrd;
    bool Add(WebRequest request, bool first);
    void Work(WebItemThrd& self);
    WebReply Perform(const WebRequest& request, const std::atomic<bool>& stop) const;

    InternetShare& share_;
    RequestQueueOptions options_;

    mutable std::mutex lock_;
    std::condition_variable wake_;
    mutable std::condition_variable drained_;
    std::deque<WebRequest> queue_;
    std::vector<std::unique_ptr<WebItemThrd>> workers_;
    int idle_ = 0;
    int running_ = 0;
    bool stopping_ = false;
};

// The value of the first header line called name (any letter case) in a raw
// header block; false when there is none. The status line is no header.
bool FindHeaderNoCase(std::string_view rawHeaders, std::string_view name, std::string& value);

}  // namespace flk
