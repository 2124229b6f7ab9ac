#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace flk::test {

enum class ReplyMode {
    Normal,    // status, headers, body; a Content-Length is added unless a row header names one
    NoLength,  // the body is sent chunked, with no length at all
    Partial,   // the whole body's length is announced, partialBytes are sent, the connection drops
    Dripping,  // the body goes out chunked, dripChunk bytes every dripDelayMs
    Stalled,   // the request is read and never answered
    Raw,       // raw is written byte for byte, then the connection closes (served on RawPort())
};

// An answer given before a row's own one (see PageRow::firstReplies).
struct EarlyReply {
    int status = 503;
    std::vector<std::pair<std::string, std::string>> headers{};
};

// One row of the server's table. Header names are sent in the letter case
// given here.
struct PageRow {
    std::string path{};  // matched against the request target, then against the path without query
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers{};
    std::string body{};
    ReplyMode mode = ReplyMode::Normal;
    std::size_t partialBytes = 0;
    int dripDelayMs = 50;
    std::size_t dripChunk = 1;
    std::string user{};  // when set, basic authentication with user/password is demanded
    std::string password{};
    std::string raw{};
    int delayMs = 0;  // the answer waits this long first (not for Raw rows)
    // "Range: bytes=N-" and "bytes=N-M" are answered 206 with Content-Range
    // (416 past the end); when false a Range header is ignored and the whole
    // body comes with 200. A Partial row serves ranged requests whole.
    bool ranges = false;
    // When set, a HEAD request gets this status (405, 501...) and no headers
    // of the row; GET is answered as usual.
    int headStatus = 0;
    // The first requests of this path get these answers in turn (with an
    // empty body); later ones get the row's own answer.
    std::vector<EarlyReply> firstReplies{};
    // When set, a request whose Cookie header does not hold this text is
    // answered 403.
    std::string cookie{};
};

struct RequestRecord {
    std::string method;
    std::string target;  // path and query as requested
    std::string host;    // the Host header
    std::string authorization;
    std::string agent;   // the User-Agent header
    std::string range;   // the Range header
    int remotePort = 0;  // tells the client's connections apart
    std::string cookie;          // the Cookie header
    std::string acceptEncoding;  // the Accept-Encoding header
    std::chrono::steady_clock::time_point at{};  // when the request arrived
};

// An HTTP server on ephemeral 127.0.0.1 ports, serving a table of rows. Rows
// may be added while it runs; every request is logged. Unknown paths get
// 404. Stop() (or the destructor) releases stalled and dripping replies.
class LoopbackServer {
public:
    explicit LoopbackServer(std::vector<PageRow> rows = {});
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    void Add(PageRow row);  // replaces a row with the same path
    int Port() const;
    int RawPort() const;
    // "http://host:port" + path, on the raw port for Raw rows. Another host
    // name needs ResolveEntry(host) in the client's name resolutions.
    std::string Url(const std::string& path, const std::string& host = "127.0.0.1") const;
    // "host:port:127.0.0.1" entries for both ports (InternetOptions::resolve).
    std::vector<std::string> ResolveEntries(const std::string& host) const;

    std::vector<RequestRecord> Requests() const;
    int Count(const std::string& target) const;
    void ClearLog();
    // The most requests that were being answered at one time (from arrival
    // until the handler returns; a delayed row stretches that) since the
    // start or the last ClearLog().
    int PeakConcurrent() const;
    void Stop();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

std::string Base64(const std::string& bytes);

}  // namespace flk::test
