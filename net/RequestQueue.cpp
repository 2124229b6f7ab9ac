#include "net/RequestQueue.h"

#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

class WebItemThrd : public WorkerThread {
public:
    explicit WebItemThrd(RequestQueue& queue) : WorkerThread(kRequestThreadClass), queue_(queue) {}
    ~WebItemThrd() override {
        RequestStop();
        Join();
    }

protected:
    void Run() override { queue_.Work(*this); }

private:
    RequestQueue& queue_;
};

namespace {

constexpr std::size_t kReadBlock = 16 * 1024;

bool IsFtp(std::string_view url) { return StartsWithNoCase(url, "ftp://"); }

// "  1234 " -> 1234; -1 for anything but digits (a sign, a list, garbage)
// or a number too long to be a real length.
long long ParseLength(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 18) return -1;
    long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

bool FindHeaderNoCase(std::string_view raw, std::string_view name, std::string& value) {
    std::size_t pos = raw.find('\n');  // skip the status line
    while (pos != std::string_view::npos && pos + 1 < raw.size()) {
        const std::size_t start = pos + 1;
        pos = raw.find('\n', start);
        std::string_view line = raw.substr(start, pos == std::string_view::npos ? raw.npos : pos - start);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (EqualsNoCase(Trim(line.substr(0, colon)), name)) {
            value.assign(Trim(line.substr(colon + 1)));
            return true;
        }
    }
    return false;
}

bool WebReply::Success() const {
    if (!responded) return false;
    if (IsFtp(finalUrl)) return !failed;
    return status >= 200 && status < 300;
}

RequestQueue::RequestQueue(InternetShare& share, RequestQueueOptions options)
    : share_(share), options_(std::move(options)) {
    options_.workers = std::max(1, options_.workers);
}

RequestQueue::~RequestQueue() { Shutdown(); }

bool RequestQueue::Queue(WebRequest request) { return Add(std::move(request), false); }

bool RequestQueue::QueueFirst(WebRequest request) { return Add(std::move(request), true); }

bool RequestQueue::Add(WebRequest request, bool first) {
    std::unique_lock<std::mutex> lock(lock_);
    if (stopping_) return false;
    if (first) {
        queue_.push_front(std::move(request));
    } else {
        queue_.push_back(std::move(request));
    }
    // A new worker only when the idle ones cannot take everything queued.
    if (static_cast<int>(queue_.size()) > idle_ && static_cast<int>(workers_.size()) < options_.workers) {
        auto worker = std::make_unique<WebItemThrd>(*this);
        if (worker->Start(options_.priority)) workers_.push_back(std::move(worker));
    }
    if (workers_.empty()) {
        // No thread could be started: fail the request now rather than
        // leave it pending for ever (a crawl waits for Pending() to be 0).
        WebRequest orphan = std::move(first ? queue_.front() : queue_.back());
        first ? queue_.pop_front() : queue_.pop_back();
        lock.unlock();
        WebReply reply;
        reply.url = reply.finalUrl = orphan.url;
        reply.failed = true;
        reply.error = "no request thread";
        if (orphan.done) {
            try {
                orphan.done(reply);
            } catch (...) {
            }
        }
        return true;
    }
    lock.unlock();
    wake_.notify_one();
    return true;
}

int RequestQueue::Pending() const {
    std::lock_guard<std::mutex> lock(lock_);
    return static_cast<int>(queue_.size()) + running_;
}

void RequestQueue::WaitUntilIdle(const std::atomic<bool>& stop) const {
    // The stop flag has no condition of its own: it is looked at between
    // short waits.
    std::unique_lock<std::mutex> lock(lock_);
    while (!stop.load() && (!queue_.empty() || running_ > 0)) drained_.wait_for(lock, std::chrono::milliseconds(20));
}

int RequestQueue::Running() const {
    std::lock_guard<std::mutex> lock(lock_);
    return running_;
}

int RequestQueue::Workers() const {
    std::lock_guard<std::mutex> lock(lock_);
    return static_cast<int>(workers_.size());
}

void RequestQueue::Stop() {
    std::deque<WebRequest> dropped;
    {
        std::lock_guard<std::mutex> lock(lock_);
        stopping_ = true;
        dropped.swap(queue_);
        for (auto& worker : workers_) worker->RequestStop();
    }
    wake_.notify_all();
    drained_.notify_all();
    // The dropped requests (and whatever their completions hold) go here,
    // outside the lock.
}

bool RequestQueue::Stopped() const {
    std::lock_guard<std::mutex> lock(lock_);
    return stopping_;
}

bool RequestQueue::Ended() const {
    std::lock_guard<std::mutex> lock(lock_);
    return std::none_of(workers_.begin(), workers_.end(), [](const auto& w) { return w->Active(); });
}

void RequestQueue::Shutdown() {
    Stop();
    std::vector<std::unique_ptr<WebItemThrd>> workers;
    {
        std::lock_guard<std::mutex> lock(lock_);
        workers.swap(workers_);
    }
    workers.clear();  // each joins as it goes
}

void RequestQueue::Work(WebItemThrd& self) {
    for (;;) {
        WebRequest request;
        {
            std::unique_lock<std::mutex> lock(lock_);
            ++idle_;
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            --idle_;
            if (stopping_) return;
            request = std::move(queue_.front());
            queue_.pop_front();
            ++running_;
        }
        try {
            const WebReply reply = Perform(request, self.StopFlag());
            bool deliver = false;
            {
                std::lock_guard<std::mutex> lock(lock_);
                deliver = !stopping_ && !self.StopRequested();
            }
            if (deliver && request.done) request.done(reply);
        } catch (...) {
            // A failing completion must not take the worker down with it.
        }
        // What the request holds is released before it stops counting, so
        // Pending() == 0 means every request has finished with its files.
        request = WebRequest{};
        std::lock_guard<std::mutex> lock(lock_);
        if (--running_ == 0 && queue_.empty()) drained_.notify_all();
    }
}

WebReply RequestQueue::Perform(const WebRequest& request, const std::atomic<bool>& stop) const {
    WebReply reply;
    reply.url = request.url;
    std::string url = request.url;
    const InternetSession session(share_, options_.agent, request.network ? *request.network : options_.network);
    for (int hop = 0;; ++hop) {
        // The reply tells of the last request only.
        reply.finalUrl = url;
        reply.responded = false;
        reply.status = 0;
        reply.headers.clear();
        auto r = session.OpenRequest(url, &stop, {}, request.method);
        if (r && request.firstBytes > 0) r->SetFirstBytes(request.firstBytes);
        if (!r) {
            reply.failed = true;
            reply.error = "unusable address";
            return reply;
        }
        if (!r->Send()) {
            reply.failed = true;
            reply.error = r->ErrorText();
            return reply;
        }
        reply.responded = true;
        reply.status = r->StatusCode();
        reply.headers = r->RawHeaders();

        std::string location;
        if (!IsFtp(url) && reply.status >= 300 && reply.status < 400 && hop < request.maxRedirects &&
            FindHeaderNoCase(reply.headers, "Location", location)) {
            std::string next = NormaliseUrl(JoinUrl(location, url));
            if (!next.empty()) {
                url = std::move(next);
                continue;  // r closes here; an unread redirect body is dropped
            }
        }

        std::string value;
        if (FindHeaderNoCase(reply.headers, "Content-Type", value)) reply.contentType = value;
        if (FindHeaderNoCase(reply.headers, "Content-Length", value)) reply.contentLength = ParseLength(value);
        // "bytes 0-65535/120000": the whole file's length.
        if (reply.status == 206 && FindHeaderNoCase(reply.headers, "Content-Range", value) &&
            value.find('/') != std::string::npos)
            reply.rangeTotal = ParseLength(std::string_view(value).substr(value.find('/') + 1));

        const bool readBody =
            request.method == RequestMethod::Get && (!request.bodyOnlyOnSuccess || reply.Success());
        if (readBody) {
            char buffer[kReadBlock];
            while (reply.bodyBytes < request.maxBodyBytes) {
                const std::size_t want =
                    static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, request.maxBodyBytes - reply.bodyBytes));
                const std::size_t n = r->Read(buffer, want);
                if (n == 0) break;
                reply.bodyBytes += n;
                if (request.keepBody) reply.body.append(buffer, n);
                if (request.sink) request.sink(std::string_view(buffer, n));
            }
            if (reply.bodyBytes >= request.maxBodyBytes && !r->Failed() && !r->Cancelled()) {
                // At the cap: one more byte tells a body that ends exactly
                // here from a longer one.
                char extra = 0;
                reply.truncated = r->Read(&extra, 1) != 0;
            }
        }
        reply.failed = r->Failed() || r->Cancelled();
        if (reply.failed) reply.error = r->ErrorText();
        reply.complete = !reply.failed && !reply.truncated && (readBody || request.method == RequestMethod::Head);
        return reply;
    }
}

}  // namespace flk
