#include "crawl/PageSource.h"

#include "crawl/PageFetcher.h"
#include "net/ParsedUrl.h"
#include "net/PoliteRequests.h"
#include "net/RequestQueue.h"
#include "net/RequestTimeLimit.h"
#include "platform/LocalPath.h"
#include "platform/PercentEncoding.h"
#include "platform/TextUtil.h"
#include "platform/Utf8Text.h"
#include "settings/Settings.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace flk {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

PageSource Failed(PageSource s, std::string reason) {
    s.outcome = PageSource::Outcome::Failed;
    s.reason = std::move(reason);
    return s;
}

// What came of the body, cut to the cap, as the result's text.
void TakeBody(PageSource& s, std::string& body, std::uint64_t cap) {
    if (body.size() > cap) {
        body.resize(cap);
        s.cut = true;
    }
    s.bytes = body.size();
    s.text = SourceDisplayText(body, s.cut);
}

PageSource ReadFile(PageSource s, const PageSourceOptions& options, const std::atomic<bool>& stop) {
    s.local = true;
    std::string path = LocalFilePath(s.address);
    // A "file:" address writes "%", "#" and "?" of the path as escapes.
    if (StartsWithNoCase(s.address, "file://")) path = PercentDecode(path);
    s.finalAddress = s.address;
    std::error_code ec;
    const auto kind = std::filesystem::status(path, ec).type();
    if (kind == std::filesystem::file_type::not_found || kind == std::filesystem::file_type::none)
        return Failed(std::move(s), sourcetext::kNoFile);
    // A device or a pipe could block or never end.
    if (kind != std::filesystem::file_type::regular) return Failed(std::move(s), sourcetext::kNotAFile);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return Failed(std::move(s), sourcetext::kUnreadable);
    std::string body;
    char block[kBlock];
    while (body.size() <= options.capBytes) {
        if (stop.load()) {
            s.outcome = PageSource::Outcome::Stopped;
            return s;
        }
        const std::size_t n = std::fread(block, 1, sizeof block, file.get());
        if (n == 0) break;
        body.append(block, n);
    }
    if (std::ferror(file.get())) return Failed(std::move(s), sourcetext::kUnreadable);
    TakeBody(s, body, options.capBytes);
    s.outcome = PageSource::Outcome::Read;
    return s;
}

std::string WithDetail(const char* reason, const std::string& detail) {
    return detail.empty() ? std::string(reason) : std::string(reason) + " (" + detail + ")";
}

PageSource ReadRemote(PageSource s, InternetShare& internet, const PageSourceOptions& options,
                      const std::atomic<bool>& stop) {
    const InternetSession session(internet, kCrawlAgent, options.network);
    std::string url = s.address;
    for (int redirects = 0;; ++redirects) {
        std::unique_ptr<InternetRequest> request = session.OpenRequest(url, &stop);
        if (!request) return Failed(std::move(s), sourcetext::kNotAnAddress);
        s.finalAddress = url;
        // A body far past the cap is not even received.
        request->SetBodyCap(options.capBytes);
        const bool answered = request->Send();
        if (stop.load()) {
            s.outcome = PageSource::Outcome::Stopped;
            return s;
        }
        if (!answered) return Failed(std::move(s), WithDetail(sourcetext::kNoAnswer, request->ErrorText()));
        s.status = request->StatusCode();
        const bool web = IsWebAddress(url);
        std::string location;
        if (web && IsRedirect(s.status) && FindHeaderNoCase(request->RawHeaders(), "Location", location) &&
            !Trim(location).empty()) {
            if (redirects >= options.mostRedirects) return Failed(std::move(s), sourcetext::kTooManyRedirects);
            // JoinUrl keeps a new scheme as it is; one that is no web or
            // ftp address is refused by OpenRequest, so a server never
            // makes the viewer read a local file.
            const std::string next = JoinUrl(Trim(location), url);
            if (!next.empty()) {
                url = next;
                continue;
            }
        }

        std::string body;
        char block[kBlock];
        while (!stop.load() && body.size() <= options.capBytes) {
            const std::size_t n = request->Read(block, sizeof block);
            if (n == 0) break;
            body.append(block, n);
        }
        if (stop.load()) {
            s.outcome = PageSource::Outcome::Stopped;
            return s;
        }
        const bool brokeOff = request->Failed();
        const std::string error = request->ErrorText();
        // The transfer ends at the cap and hands out what fits.
        s.cut = request->Capped();
        TakeBody(s, body, options.capBytes);
        if (brokeOff) return Failed(std::move(s), WithDetail(sourcetext::kBrokeOff, error));
        const bool success = web ? s.status >= 200 && s.status < 300 : s.status < 400;
        s.outcome = success ? PageSource::Outcome::Read : PageSource::Outcome::HttpError;
        return s;
    }
}

}  // namespace

PageSourceOptions ReadPageSourceOptions(const Settings& settings, InternetOptions network) {
    PageSourceOptions o;
    o.network = WithPoliteRequests(WithRequestTimeLimit(std::move(network), settings), settings);
    o.network.access = settings.Get(keys::CrawlerUseCash) == 1 ? InternetAccess::Preconfigured : InternetAccess::Direct;
    o.network.acceptEncoding = settings.Get(keys::ModernCompression) != 0;
    return o;
}

PageSource FetchPageSource(InternetShare& internet, const std::string& address, const PageSourceOptions& options,
                           const std::atomic<bool>& stop) {
    PageSource s;
    s.address = TrimCopy(address);
    // A web address that happens to hold a "\" is still a web address.
    if (!IsWebAddress(s.address) && IsLocalPath(s.address)) return ReadFile(std::move(s), options, stop);
    return ReadRemote(std::move(s), internet, options, stop);
}

std::string PageSource::StatusLine(std::uint64_t capBytes) const {
    const std::string size = std::to_string(bytes) + " bytes";
    std::string tail;
    if (!local && !finalAddress.empty() && finalAddress != address) tail += ", moved to " + finalAddress;
    if (cut) tail += "; cut at " + std::to_string(capBytes / 1024) + " KB, the rest was not read";
    const std::string answer = (IsWebAddress(finalAddress) ? "HTTP status " : "reply ") + std::to_string(status);
    switch (outcome) {
    case Outcome::Read:
        return size + ", " + (local ? std::string("local file") : answer) + tail;
    case Outcome::HttpError:
        return sourcetext::kError + answer + ", " + size + tail;
    case Outcome::Failed:
        return sourcetext::kError + reason + (bytes > 0 ? ", after " + size + tail : tail);
    case Outcome::Stopped:
        break;
    }
    return sourcetext::kStopped;
}

std::string SourceDisplayText(std::string_view bytes, bool cut) {
    const std::string utf8 = cut ? Utf8FromCutText(bytes) : IsUtf8(bytes) ? std::string(bytes) : Utf8FromLatin1(bytes);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        } else if (c == '\0') {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace flk
