#include "download/DownloadFetch.h"

#include "download/DownloadEvents.h"
#include "download/DownloadTexts.h"
#include "download/PartFile.h"
#include "net/RequestQueue.h"
#include "platform/TextUtil.h"

#include <charconv>
#include <memory>

namespace flk {

namespace {

constexpr std::size_t kBlockBytes = 4096;

using Next = FetchOutcome::Next;

FetchOutcome Outcome(Next next, int code = 0, std::string status = {}) {
    FetchOutcome o;
    o.next = next;
    o.code = code;
    o.status = std::move(status);
    return o;
}

FetchOutcome Stopped() { return Outcome(Next::Stopped, download_result::Interrupted, download_status::Interrupted); }

// A transfer that failed on the way (connection refused or dropped, a
// time-out) is worth another try.
FetchOutcome Dropped() {
    return Outcome(Next::Retry, download_result::ConnectionError, download_status::InternetException);
}

bool ParseNumber(std::string_view text, std::uint64_t& out) {
    text = Trim(text);
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

// "bytes 100-199/500" gives 100; "bytes */500" gives the total. False when
// the header is missing or malformed.
bool ContentRangeStart(const std::string& headers, std::uint64_t& start) {
    std::string value;
    if (!FindHeaderNoCase(headers, "Content-Range", value)) return false;
    const std::string_view v = Trim(value);
    if (v.substr(0, 6) != "bytes ") return false;
    const std::size_t dash = v.find('-');
    return dash != std::string_view::npos && ParseNumber(v.substr(6, dash - 6), start);
}

bool ContentRangeTotal(const std::string& headers, std::uint64_t& total) {
    std::string value;
    if (!FindHeaderNoCase(headers, "Content-Range", value)) return false;
    const std::size_t slash = value.find('/');
    return slash != std::string::npos && ParseNumber(std::string_view(value).substr(slash + 1), total);
}

// Reads the body into the part file. `total` is the size the file must
// reach (-1 unknown): a transfer that ends short of it was cut off.
FetchOutcome ReadBody(const FetchRequest& r, InternetRequest& request, std::int64_t total) {
    r.events.OnSize(r.url, total, r.file.Size());
    if (r.stop.load()) return Stopped();
    r.events.OnStatus(r.url, download_status::Reading);
    char block[kBlockBytes];
    for (;;) {
        const std::size_t n = request.Read(block, sizeof block);
        if (n == 0) break;
        if (!r.file.Write(block, n))
            return Outcome(Next::Fail, download_result::CreateError, download_status::WriteError);
        r.events.OnReceived(r.url, n);
        if (r.stop.load()) return Stopped();
    }
    if (r.stop.load() || request.Cancelled()) return Stopped();
    if (request.Failed()) return Dropped();
    if (total >= 0 && r.file.Size() != static_cast<std::uint64_t>(total)) return Dropped();
    return Outcome(Next::Done, download_result::Finished, download_status::Finished);
}

std::int64_t TotalOf(const InternetRequest& request, std::uint64_t offset) {
    const std::int64_t length = request.ContentLength();
    return length < 0 ? -1 : static_cast<std::int64_t>(offset) + length;
}

FetchOutcome FetchHttp(const FetchRequest& r) {
    std::unique_ptr<InternetRequest> request = r.session.OpenRequest(r.url, &r.stop, r.credentials);
    if (!request) return Outcome(Next::Fail, download_result::NotFound, download_status::NotFound);
    const std::uint64_t offset = r.file.Size();
    if (offset > 0) request->SetRangeFrom(offset);
    if (r.stop.load()) return Stopped();
    if (!request->Send()) return r.stop.load() || request->Cancelled() ? Stopped() : Dropped();
    const int status = request->StatusCode();
    const std::string& headers = request->RawHeaders();
    if (status >= 300 && status <= 399) return Outcome(Next::Fail, download_result::NotFound, download_status::Moved);
    if (status == 404) return Outcome(Next::Fail, download_result::NotFound, download_status::NotFound);
    if (status == 401) return Outcome(Next::Credentials, download_result::AccessDenied, download_status::AccessDenied);
    if (status == 429 || status == 500 || status == 502 || status == 503 || status == 504) {
        FetchOutcome o = Outcome(Next::Retry, download_result::ConnectionError, download_status::ConnectionError);
        o.retryAfterMs = RetryAfterMs(headers);
        return o;
    }
    if (status == 416 && offset > 0) {
        // The part may already hold the whole file.
        std::uint64_t whole = 0;
        if (ContentRangeTotal(headers, whole) && whole == offset) {
            r.events.OnSize(r.url, static_cast<std::int64_t>(whole), offset);
            return Outcome(Next::Done, download_result::Finished, download_status::Finished);
        }
        return Outcome(Next::StartOver);
    }
    if (status < 200 || status > 299)
        return Outcome(Next::Fail, download_result::ConnectionError, download_status::ConnectionError);
    if (offset > 0) {
        std::uint64_t start = 0;
        if (status == 206 && !(ContentRangeStart(headers, start) && start == offset)) return Outcome(Next::StartOver);
        if (status != 206) {
            // The server sends the whole file: what is on disk goes.
            if (!r.file.Restart())
                return Outcome(Next::Fail, download_result::CreateError, download_status::WriteError);
            r.events.OnRestart(r.url);
            return ReadBody(r, *request, TotalOf(*request, 0));
        }
    }
    return ReadBody(r, *request, TotalOf(*request, offset));
}

FetchOutcome FetchFtp(const FetchRequest& r) {
    std::unique_ptr<InternetRequest> request = r.session.OpenRequest(r.url, &r.stop, r.credentials);
    if (!request) return Outcome(Next::Fail, download_result::NotFound, download_status::NotFound);
    const std::uint64_t offset = r.file.Size();
    if (offset > 0) request->SetRangeFrom(offset);
    if (r.stop.load()) return Stopped();
    if (!request->Send()) {
        if (r.stop.load() || request->Cancelled()) return Stopped();
        const int reply = request->StatusCode();
        if (reply == 530 || reply == 332)
            return Outcome(Next::Fail, download_result::AccessDenied, download_status::AccessDenied);
        // 5yz replies are final (a missing file or folder is 550); 4yz and
        // no reply at all are worth another try.
        if (reply >= 500) return Outcome(Next::Fail, download_result::NotFound, download_status::NotFound);
        return Dropped();
    }
    return ReadBody(r, *request, TotalOf(*request, offset));
}

}  // namespace

bool IsFtpAddress(const std::string& url) { return ToLowerAscii(url.substr(0, 3)) == "ftp"; }

long RetryAfterMs(const std::string& rawHeaders) {
    std::string value;
    std::uint64_t seconds = 0;
    if (!FindHeaderNoCase(rawHeaders, "Retry-After", value) || !ParseNumber(value, seconds)) return -1;
    return seconds > 24 * 3600 ? 24L * 3600 * 1000 : static_cast<long>(seconds * 1000);
}

FetchOutcome FetchOnce(const FetchRequest& request) {
    request.events.OnStatus(request.url, download_status::Connecting);
    return IsFtpAddress(request.url) ? FetchFtp(request) : FetchHttp(request);
}

}  // namespace flk
