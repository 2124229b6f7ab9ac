#include "crawl/PageFetcher.h"

#include "crawl/CrawlOptions.h"
#include "crawl/PoliteHosts.h"
#include "net/RequestQueue.h"
#include "net/RetryAfter.h"
#include "platform/LocalPath.h"
#include "platform/TextUtil.h"
#include "net/UrlSplit.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>

namespace flk {

namespace {

// A decimal number as a Content-length value holds it: leading white space
// and sign, then digits; saturates instead of overflowing.
std::int64_t DecimalOf(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        const int digit = c - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

bool IsWebAddress(const std::string& url) {
    return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

}  // namespace

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool FindRawHeader(const std::string& rawHeaders, const std::string& name, std::string& value) {
    if (name.empty()) return false;
    std::size_t pos = 0;
    for (;;) {
        pos = rawHeaders.find(name, pos);
        if (pos == std::string::npos) return false;
        // Only at the start of a line: "Content-Location: " is no "Location: ".
        if (pos == 0 || rawHeaders[pos - 1] == '\n') break;
        ++pos;
    }
    const std::size_t start = pos + name.size();
    std::size_t end = rawHeaders.find('\n', start);
    if (end == std::string::npos) end = rawHeaders.size();
    if (end > start && rawHeaders[end - 1] == '\r') --end;
    value = rawHeaders.substr(start, end - start);
    return true;
}

FetchOptions FetchOptions::FromCrawl(const CrawlOptions& crawl) {
    FetchOptions o;
    o.useMaxFileSize = crawl.useMaxFileSize;
    o.maxFileSizeKb = crawl.maxFileSizeKb;
    o.checkPass = crawl.checkPass;
    o.useCache = crawl.useCache;
    o.timeLimitMs = crawl.requestTimeLimitMs;
    o.compression = crawl.compression;
    o.retryAfter = crawl.retryAfter;
    return o;
}

PageFetcher::PageFetcher(FetchContext context, FetchOptions options)
    : context_(std::move(context)), options_(options) {}

void PageFetcher::Show(const std::atomic<bool>& stop, const std::string& text) const {
    if (!stop.load()) context_.status.ShowStatus(text);
}

bool PageFetcher::FetchPage(const std::string& url, const std::atomic<bool>& stop,
                            std::string& text) const {
    text.clear();
    // A web address that happens to hold a "\" is still fetched over HTTP.
    const bool local = !IsWebAddress(url) && IsLocalPath(url);
    const bool ok = local ? ReadLocalFile(url, stop, text) : ReadHttp(url, stop, text);
    if (!ok || stop.load()) {
        text.clear();
        return false;
    }
    return true;
}

bool PageFetcher::ReadLocalFile(const std::string& url, const std::atomic<bool>& stop,
                                std::string& text) const {
    const std::string path = LocalFilePath(url);
    std::error_code ec;
    // Only plain files: a device or a pipe could block or never end.
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return false;
    Show(stop, std::string(fetchtext::kReadingFile) + path + " ]...");

    // Lines are joined with one "\n" (CR LF read as a line end): a tag whose
    // attributes go on on the next line must not run into them.
    char block[16 * 1024];
    char previous = '\0';
    bool lineEnded = false;
    while (!stop.load() && text.size() <= options_.hardCapBytes) {
        const std::size_t n = std::fread(block, 1, sizeof block, file.get());
        if (n == 0) break;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = block[i];
            if (c == '\n') {
                if (previous == '\r' && !text.empty() && text.back() == '\r') text.pop_back();
                if (lineEnded) text += '\n';  // an empty line follows the last one
                lineEnded = true;
            } else {
                if (lineEnded) text += '\n';
                lineEnded = false;
                text += c;
            }
            previous = c;
        }
    }
    if (text.size() > options_.hardCapBytes) text.resize(options_.hardCapBytes);
    return !stop.load();
}

bool PageFetcher::RetryWait(const InternetRequest& request, int retries, std::chrono::milliseconds& wait) const {
    const int status = request.StatusCode();
    if (!options_.retryAfter || !context_.polite || retries >= kMostRetries) return false;
    if (status != 429 && status != 503) return false;
    std::string value;
    long long seconds = 0;
    if (FindHeaderNoCase(request.RawHeaders(), "Retry-After", value) &&
        ParseRetryAfter(value, std::time(nullptr), seconds)) {
        if (seconds > kLongestRetryWait.count()) return false;
        wait = std::chrono::seconds(seconds);
        return true;
    }
    // A 503 without Retry-After may be down for long; a 429 without one is
    // given a short back-off that doubles.
    if (status == 503) return false;
    wait = std::chrono::seconds(1LL << retries);
    return true;
}

namespace {
// A larger page grows its buffer as it comes.
constexpr std::uint64_t kMostReservedBytes = 4 << 20;
}  // namespace

bool PageFetcher::ReadHttp(const std::string& url, const std::atomic<bool>& stop,
                           std::string& text) const {
    UrlParts parts;
    if (!SplitUrl(url, parts) ||
        (parts.service != UrlService::Http && parts.service != UrlService::Https)) {
        Show(stop, fetchtext::kOnlyHttp);
        return false;
    }
    InternetOptions network = context_.network;
    network.access = options_.useCache ? InternetAccess::Preconfigured : InternetAccess::Direct;
    if (options_.timeLimitMs > 0) network.totalTimeoutMs = options_.timeLimitMs;
    network.acceptEncoding = options_.compression;
    const InternetSession session(context_.internet, kCrawlAgent, network);
    const std::string sending = std::string(fetchtext::kSending) + url + "]...";

    std::unique_ptr<InternetRequest> request;
    int status = 0;
    for (int retries = 0;; ++retries) {
        if (context_.polite && !context_.polite->WaitTurn(url, stop)) return false;
        request = session.OpenRequest(url, &stop);
        if (!request) {
            Show(stop, fetchtext::kOnlyHttp);
            return false;
        }
        Show(stop, sending);
        if (!request->Send()) {
            Show(stop, fetchtext::kErrorReading + url);
            return false;
        }
        status = request->StatusCode();
        std::chrono::milliseconds wait{0};
        if (!RetryWait(*request, retries, wait)) break;
        request.reset();  // its connection is free while we wait
        Show(stop, std::string(fetchtext::kWaiting) + std::to_string((wait.count() + 999) / 1000) +
                       " s for [" + url + "]...");
        if (!context_.polite->Wait(wait, stop)) return false;
    }

    if (status == 401 && options_.checkPass) {
        Notification question;
        question.code = notify::PasswordNeeded;
        question.text = url;
        question.senderStop = &stop;
        context_.notifier.Send(question);
        request.reset();
        if (stop.load()) return false;
        request = session.OpenRequest(url, &stop, Credentials{question.user, question.password});
        if (!request) {
            Show(stop, fetchtext::kErrorReading + url);
            return false;
        }
        Show(stop, sending);
        if (!request->Send()) {
            Show(stop, fetchtext::kErrorReading + url);
            return false;
        }
        status = request->StatusCode();
    }

    if (IsRedirect(status)) {
        std::string location;
        if (!FindRawHeader(request->RawHeaders(), "Location: ", location)) {
            Show(stop, fetchtext::kNoLocation);
            return false;
        }
        request.reset();
        if (!stop.load()) context_.links.ReportLink(location, kReportNewDomain, "");
        return false;
    }
    lastStatus_ = status;
    if (status != 200) {
        Show(stop, fetchtext::kGotStatus);
        return false;
    }

    const std::int64_t limitKb = options_.maxFileSizeKb;
    if (options_.useMaxFileSize) {
        std::string announced;
        // The announced length is believed only in this letter case; other
        // servers are held by the count of bytes received below.
        if (FindRawHeader(request->RawHeaders(), "Content-length:", announced) &&
            DecimalOf(announced) > limitKb * 1000)
            return false;
    }
    Show(stop, std::string(fetchtext::kReading) + url + "]...");

    const std::uint64_t sizeLimit =
        options_.useMaxFileSize ? static_cast<std::uint64_t>(std::max<std::int64_t>(0, limitKb * 1024))
                                : std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t limit = std::min(sizeLimit, options_.hardCapBytes);
    // Decoded bytes far past the limit are never taken in: a small
    // compressed body that expands to gigabytes ends here, cut like any long
    // page. The slack lets the line that crosses the limit be read whole, as
    // the line-by-line count below always did.
    constexpr std::uint64_t kLineSlack = 1 << 20;
    request->SetBodyCap(limit > std::numeric_limits<std::uint64_t>::max() - kLineSlack ? 0 : limit + kLineSlack);
    // Room for the announced length at once, not a buffer copied again at
    // each doubling; what a server announces never reserves past the limit.
    if (const std::int64_t announced = request->ContentLength(); announced > 0)
        text.reserve(static_cast<std::size_t>(
            std::min({static_cast<std::uint64_t>(announced), limit, kMostReservedBytes})));
    std::string line;
    bool ended = false;
    bool lineEnded = false;  // one "\n" goes between joined lines, none after the last
    while (!stop.load()) {
        bool pieceEnded = false;
        if (!request->ReadLine(line, pieceEnded)) {
            ended = true;
            break;
        }
        if (lineEnded) text += '\n';
        text += line;
        lineEnded = pieceEnded;
        // Every byte of the body read so far counts (line ends too), not
        // the bytes that happen to be waiting at the moment.
        if (request->BytesRead() > limit) break;
    }
    if (text.size() > options_.hardCapBytes) text.resize(options_.hardCapBytes);
    const bool failed = ended && request->Failed();
    request.reset();
    if (stop.load()) return false;
    if (failed) {
        Show(stop, fetchtext::kErrorReading + url);
        return false;
    }
    return true;
}

}  // namespace flk
