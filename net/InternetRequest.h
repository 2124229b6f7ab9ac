#pragma once
#include "net/InternetShare.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace flk {

class InternetSession;

struct Credentials {
    std::string user;
    std::string password;
};

enum class RequestMethod { Get, Head };

// One request of an internet session: send it, read the status and the raw
// headers, then pull the body line by line or in blocks. The body is
// streamed: only what the transfer delivered since the last read is held,
// so the reader decides how much of a body it takes. Used by one thread at
// a time; it must be closed (or destroyed) before its InternetShare.
class InternetRequest {
public:
    // A line longer than this is handed out in pieces of this size, so a
    // body without line feeds never grows one line without bound.
    static constexpr std::size_t kMaxLinePiece = 64 * 1024;
    // The response headers (all blocks together) may not exceed this.
    static constexpr std::size_t kMaxHeaderBytes = 256 * 1024;

    ~InternetRequest();
    InternetRequest(const InternetRequest&) = delete;
    InternetRequest& operator=(const InternetRequest&) = delete;

    // Sends the request and waits until the final response's status line
    // and headers have arrived (or the transfer ended). False when no
    // response came: a transport error, a time-out, or the stop flag.
    bool Send();
    // Before Send: ask for the body from this byte on (HTTP "Range: bytes=N-",
    // FTP "REST N"). The server may still answer with the whole body; the
    // status (206 or 200) tells.
    void SetRangeFrom(std::uint64_t offset) { rangeFrom_ = offset; }
    // Before Send: ask for the first `count` body bytes only ("Range:
    // bytes=0-(count-1)"); the server may still send the whole body.
    void SetFirstBytes(std::uint64_t count) { firstBytes_ = count; }
    // Before Send: the transfer ends once it delivered more than this many
    // (decoded) body bytes; what came up to the cap can still be read. A
    // small compressed body that expands without end stops here instead of
    // filling memory. 0: no cap.
    void SetBodyCap(std::uint64_t bytes) { bodyCap_ = bytes; }
    // The transfer was ended by the body cap (not a failure).
    bool Capped() const { return capped_; }
    // The response status (HTTP) or last reply code (FTP); 0 before Send.
    int StatusCode() const { return status_; }
    // The final response's status line and header lines exactly as
    // received, line ends included, ending with the empty line.
    const std::string& RawHeaders() const { return headers_; }

    // The next body line without its line end (LF, or CR LF). False at the
    // end of the body, on a failure, or when stopped. A line longer than
    // kMaxLinePiece comes in pieces: `ended` tells whether this piece
    // finished its line (a last line without a line end counts as ended).
    bool ReadLine(std::string& line, bool& ended);
    bool ReadLine(std::string& line) {
        bool ended = false;
        return ReadLine(line, ended);
    }
    // Up to size body bytes; 0 at the end, on a failure, or when stopped.
    std::size_t Read(char* buffer, std::size_t size);
    // The length of the body being transferred as the transfer knows it
    // (an HTTP Content-Length, an FTP file size); -1 when unknown.
    std::int64_t ContentLength() const;
    // Body bytes the transfer delivered so far, read or not.
    std::uint64_t BytesReceived() const { return received_; }
    // Body bytes handed to the reader so far, line ends included.
    std::uint64_t BytesRead() const { return read_; }

    bool Cancelled() const { return cancelled_; }
    // The transfer ended with an error (not by the stop flag).
    bool Failed() const { return done_ && result_ != 0 && !cancelled_ && !capped_; }
    const std::string& ErrorText() const { return error_; }

    // Ends the transfer (a connection in mid-transfer is dropped, a finished
    // one stays pooled for reuse). Safe to call twice.
    void Close();

private:
    friend class InternetSession;
    InternetRequest(InternetShare& share, const std::atomic<bool>* stop);
    bool Prepare(const InternetSession& session, const std::string& url, const std::string& origin,
                 const std::string& host, bool http, const Credentials& credentials, RequestMethod method);

    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int OnProgress(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t);

    bool StopRequested() const { return stop_ && stop_->load(); }
    void Perform();
    void Poll();
    void Advance();
    void Finish(int result);
    std::size_t Available() const { return body_.size() - bodyPos_; }
    void Consume(std::size_t n);
    void ReleaseSlot();

    InternetShare& share_;
    InternetShare::Transfer transfer_;
    const std::atomic<bool>* stop_;
    struct Lists;
    std::unique_ptr<Lists> lists_;
    std::unique_ptr<char[]> errorBuffer_;

    bool http_ = true;
    bool head_ = false;
    bool added_ = false;
    bool sent_ = false;
    bool headersDone_ = false;
    bool done_ = false;
    bool cancelled_ = false;
    bool headerOverflow_ = false;
    int blockStatus_ = 0;  // status of the header block being received
    int status_ = 0;
    int result_ = 0;
    std::string error_;
    std::string headers_;
    std::size_t headerBytes_ = 0;
    std::string body_;
    std::size_t bodyPos_ = 0;
    std::uint64_t received_ = 0;
    std::uint64_t read_ = 0;
    std::uint64_t rangeFrom_ = 0;
    std::uint64_t firstBytes_ = 0;
    std::string range_;  // libcurl keeps the pointer until the transfer ends
    std::uint64_t bodyCap_ = 0;
    bool capped_ = false;
    std::string host_;       // the per-host count this request is part of
    int maxPerHost_ = 0;
    bool holdsSlot_ = false;
};

}  // namespace flk
