#include "net/InternetRequest.h"

#include "net/InternetSession.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

namespace flk {

namespace {

// How long one wait for network activity may last; bounds how late the
// stop flag is noticed while nothing arrives.
constexpr int kPollMs = 100;

bool IsBlankLine(const char* data, std::size_t n) {
    return (n == 1 && data[0] == '\n') || (n == 2 && data[0] == '\r' && data[1] == '\n');
}

// "HTTP/1.1 200 OK" -> 200; 0 when the line is no status line.
int StatusOfLine(const char* data, std::size_t n) {
    if (n < 5 || std::memcmp(data, "HTTP/", 5) != 0) return 0;
    std::size_t i = 5;
    while (i < n && data[i] != ' ') ++i;
    while (i < n && data[i] == ' ') ++i;
    int code = 0;
    for (int digits = 0; digits < 3; ++digits, ++i) {
        if (i >= n || data[i] < '0' || data[i] > '9') return 0;
        code = code * 10 + (data[i] - '0');
    }
    return code;
}

}  // namespace

struct InternetRequest::Lists {
    curl_slist* resolve = nullptr;
    ~Lists() { curl_slist_free_all(resolve); }
};

InternetRequest::InternetRequest(InternetShare& share, const std::atomic<bool>* stop)
    : share_(share), stop_(stop), lists_(std::make_unique<Lists>()),
      errorBuffer_(std::make_unique<char[]>(CURL_ERROR_SIZE)) {}

InternetRequest::~InternetRequest() { Close(); }

bool InternetRequest::Prepare(const InternetSession& session, const std::string& url,
                              const std::string& origin, const std::string& host, bool http,
                              const Credentials& credentials, RequestMethod method) {
    http_ = http;
    host_ = host;
    head_ = method == RequestMethod::Head;
    transfer_ = share_.Acquire(origin);
    if (!transfer_.easy) return false;
    transfer_.origin = origin;
    CURL* e = transfer_.easy;
    const InternetOptions& o = session.Options();
    errorBuffer_[0] = '\0';

    curl_easy_reset(e);
    bool ok = curl_easy_setopt(e, CURLOPT_URL, url.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp") == CURLE_OK;
    curl_easy_setopt(e, CURLOPT_SHARE, share_.Handle());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorBuffer_.get());
    curl_easy_setopt(e, CURLOPT_USERAGENT,
                     o.userAgent.empty() ? session.Agent().c_str() : o.userAgent.c_str());
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, o.connectTimeoutMs);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, o.lowSpeedLimit);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, o.lowSpeedTimeS);
    if (o.totalTimeoutMs > 0) curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, o.totalTimeoutMs);
    curl_easy_setopt(e, CURLOPT_FTP_USE_EPSV, 1L);
    curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, 0L);
    if (o.access == InternetAccess::Direct) curl_easy_setopt(e, CURLOPT_PROXY, "");
    for (const std::string& entry : o.resolve) {
        curl_slist* grown = curl_slist_append(lists_->resolve, entry.c_str());
        if (grown) lists_->resolve = grown;
    }
    if (lists_->resolve) curl_easy_setopt(e, CURLOPT_RESOLVE, lists_->resolve);
    if (!credentials.user.empty() || !credentials.password.empty()) {
        // Basic only: libcurl then sends the credentials with the first
        // request instead of probing, so a 401 is always the final answer.
        curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(e, CURLOPT_USERNAME, credentials.user.c_str());
        curl_easy_setopt(e, CURLOPT_PASSWORD, credentials.password.c_str());
    }
    if (method == RequestMethod::Head) curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    // libcurl decodes what it asked for; the body callback sees decoded bytes.
    if (o.acceptEncoding && http) curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "gzip, br");
    // A pooled handle keeps the cookies of its last request: drop them, so
    // each request carries exactly the cookies its options name. No cookie
    // jar is ever set, so nothing is written back.
    curl_easy_setopt(e, CURLOPT_COOKIELIST, "ALL");
    if (o.cookies && !o.cookies->empty() && http) {
        // A cookie line turns the cookie engine on by itself; an empty
        // cookie file name would too, but libcurl keeps each such name
        // until the handle is gone and loses those of a pooled handle.
        for (const std::string& line : *o.cookies) curl_easy_setopt(e, CURLOPT_COOKIELIST, line.c_str());
    }
    maxPerHost_ = o.maxPerHost;
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &InternetRequest::OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &InternetRequest::OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &InternetRequest::OnProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    if (!ok) {
        error_ = "unusable address";
        Close();
    }
    return ok;
}

std::size_t InternetRequest::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto* r = static_cast<InternetRequest*>(self);
    const std::size_t n = size * count;
    r->headersDone_ = true;
    if (r->bodyCap_ > 0 && r->received_ + n > r->bodyCap_) {
        const std::size_t fits = static_cast<std::size_t>(r->bodyCap_ - r->received_);
        r->body_.append(data, fits);
        r->received_ += fits;
        r->capped_ = true;
        return 0;  // ends the transfer
    }
    r->body_.append(data, n);
    r->received_ += n;
    return n;
}

std::size_t InternetRequest::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto* r = static_cast<InternetRequest*>(self);
    const std::size_t n = size * count;
    r->headerBytes_ += n;
    if (r->headerBytes_ > kMaxHeaderBytes) {
        r->headerOverflow_ = true;
        return 0;  // aborts the transfer
    }
    if (r->http_) {
        // Each response (an interim 1xx one too) starts with a status line;
        // only the final response's block is kept.
        if (const int code = StatusOfLine(data, n)) {
            r->headers_.clear();
            r->blockStatus_ = code;
        }
        r->headers_.append(data, n);
        if (IsBlankLine(data, n) && r->blockStatus_ >= 200) r->headersDone_ = true;
    } else {
        r->headers_.append(data, n);
    }
    return n;
}

int InternetRequest::OnProgress(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {
    return static_cast<InternetRequest*>(self)->StopRequested() ? 1 : 0;
}

void InternetRequest::Finish(int result) {
    done_ = true;
    result_ = result;
    if (added_) {
        curl_multi_remove_handle(transfer_.multi, transfer_.easy);
        added_ = false;
    }
    ReleaseSlot();  // the connection carries nothing more for this request
    if (result == CURLE_OK) return;
    if (StopRequested()) {
        cancelled_ = true;
        error_ = "stopped";
    } else if (headerOverflow_) {
        error_ = "response headers too large";
    } else if (capped_) {
        error_ = "body cut at " + std::to_string(bodyCap_) + " bytes";
    } else {
        error_ = errorBuffer_[0] ? errorBuffer_.get() : curl_easy_strerror(static_cast<CURLcode>(result));
    }
}

void InternetRequest::Perform() {
    if (done_) return;
    if (StopRequested()) {
        Finish(CURLE_ABORTED_BY_CALLBACK);
        return;
    }
    int running = 0;
    const CURLMcode mc = curl_multi_perform(transfer_.multi, &running);
    if (mc != CURLM_OK) {
        std::strncpy(errorBuffer_.get(), curl_multi_strerror(mc), CURL_ERROR_SIZE - 1);
        Finish(CURLE_RECV_ERROR);
        return;
    }
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(transfer_.multi, &queued)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == transfer_.easy) {
            Finish(msg->data.result);
            return;
        }
    }
}

void InternetRequest::Poll() {
    if (!done_) curl_multi_poll(transfer_.multi, nullptr, 0, kPollMs, nullptr);
}

void InternetRequest::Advance() {
    const std::size_t before = body_.size();
    while (!done_) {
        Perform();
        if (done_ || body_.size() != before) return;
        Poll();
    }
}

bool InternetRequest::Send() {
    if (sent_ || !transfer_.easy) return false;
    sent_ = true;
    if (rangeFrom_ > 0 || firstBytes_ > 0) {
        range_ = std::to_string(rangeFrom_) + "-";
        if (firstBytes_ > 0) range_ += std::to_string(rangeFrom_ + firstBytes_ - 1);
        curl_easy_setopt(transfer_.easy, CURLOPT_RANGE, range_.c_str());
    }
    if (maxPerHost_ > 0) {
        if (!share_.Slots().Acquire(host_, maxPerHost_, stop_)) {
            cancelled_ = true;
            done_ = true;
            result_ = CURLE_ABORTED_BY_CALLBACK;
            error_ = "stopped";
            return false;
        }
        holdsSlot_ = true;
    }
    if (curl_multi_add_handle(transfer_.multi, transfer_.easy) != CURLM_OK) {
        error_ = "cannot start the transfer";
        done_ = true;
        result_ = CURLE_FAILED_INIT;
        return false;
    }
    added_ = true;
    // A HEAD answer has no body: running it to its end keeps the
    // connection reusable.
    while (!done_ && (head_ || !headersDone_)) {
        Perform();
        if (done_ || (!head_ && headersDone_)) break;
        Poll();
    }
    long code = 0;
    curl_easy_getinfo(transfer_.easy, CURLINFO_RESPONSE_CODE, &code);
    status_ = static_cast<int>(code);
    return headersDone_ || (done_ && result_ == CURLE_OK);
}

std::int64_t InternetRequest::ContentLength() const {
    if (!transfer_.easy) return -1;
    curl_off_t length = -1;
    if (curl_easy_getinfo(transfer_.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) return -1;
    return length < 0 ? -1 : static_cast<std::int64_t>(length);
}

void InternetRequest::Consume(std::size_t n) {
    bodyPos_ += n;
    read_ += n;
    if (bodyPos_ >= body_.size()) {
        body_.clear();
        bodyPos_ = 0;
    } else if (bodyPos_ >= kMaxLinePiece && bodyPos_ * 2 >= body_.size()) {
        // Compacting only once half the buffer is read keeps reading a body
        // line by line linear in its size.
        body_.erase(0, bodyPos_);
        bodyPos_ = 0;
    }
}

bool InternetRequest::ReadLine(std::string& line, bool& ended) {
    line.clear();
    ended = true;
    if (!sent_) return false;
    std::size_t searched = 0;  // bytes already known to hold no line feed
    for (;;) {
        const std::size_t available = Available();
        const char* start = body_.data() + bodyPos_;
        // A line feed counts only within one piece's reach.
        const std::size_t window = std::min(available, kMaxLinePiece + 1);
        const void* lf = window > searched ? std::memchr(start + searched, '\n', window - searched) : nullptr;
        if (lf) {
            std::size_t len = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
            line.assign(start, len && start[len - 1] == '\r' ? len - 1 : len);
            Consume(len + 1);
            return true;
        }
        if (available >= kMaxLinePiece) {
            std::size_t len = kMaxLinePiece;
            if (start[len - 1] == '\r') --len;  // keep a CR with its LF
            line.assign(start, len);
            ended = false;
            Consume(len);
            return true;
        }
        if (done_ || cancelled_) {
            if (available == 0 || cancelled_) return false;
            line.assign(start, available);  // a last line without a line end
            Consume(available);
            return true;
        }
        searched = available;
        Advance();
    }
}

std::size_t InternetRequest::Read(char* buffer, std::size_t size) {
    if (!sent_ || size == 0) return 0;
    if (Available() == 0 && !cancelled_) Advance();
    if (cancelled_) return 0;
    const std::size_t n = std::min(size, Available());
    std::memcpy(buffer, body_.data() + bodyPos_, n);
    Consume(n);
    return n;
}

void InternetRequest::ReleaseSlot() {
    if (!holdsSlot_) return;
    holdsSlot_ = false;
    share_.Slots().Release(host_);
}

void InternetRequest::Close() {
    ReleaseSlot();
    if (!transfer_.easy) return;
    if (added_) {
        curl_multi_remove_handle(transfer_.multi, transfer_.easy);
        added_ = false;
    }
    // The handle must not call back into this object once it is pooled.
    curl_easy_reset(transfer_.easy);
    share_.Release(std::move(transfer_));
    transfer_ = InternetShare::Transfer{};
}

}  // namespace flk
