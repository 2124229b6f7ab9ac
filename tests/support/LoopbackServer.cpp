#include "support/LoopbackServer.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace flk::test {

std::string Base64(const std::string& bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

namespace {

bool HasHeaderNoCase(const PageRow& row, const std::string& name) {
    return std::any_of(row.headers.begin(), row.headers.end(), [&](const auto& h) {
        return h.first.size() == name.size() &&
               std::equal(h.first.begin(), h.first.end(), name.begin(),
                          [](char a, char b) { return std::tolower(a) == std::tolower(b); });
    });
}

// "bytes=N-" or "bytes=N-M" into the first and last byte (the last clamped
// to the body); false for no header or one of another form.
bool ParseRange(const std::string& header, std::size_t size, std::size_t& first, std::size_t& last) {
    const std::string prefix = "bytes=";
    if (header.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string range = header.substr(prefix.size());
    const std::size_t dash = range.find('-');
    if (dash == std::string::npos || dash == 0 || range.find(',') != std::string::npos) return false;
    try {
        first = std::stoull(range.substr(0, dash));
        last = dash + 1 < range.size() ? std::stoull(range.substr(dash + 1)) : (size ? size - 1 : 0);
    } catch (...) {
        return false;
    }
    if (size && last >= size) last = size - 1;
    return last >= first || first >= size;
}

}  // namespace

struct LoopbackServer::Impl {
    httplib::Server server;
    std::thread listenThread;
    int port = 0;

    int rawSocket = -1;
    int rawPort = 0;
    std::thread rawThread;

    mutable std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    bool stopped = false;
    std::map<std::string, PageRow> rows;
    std::map<std::string, std::size_t> served;  // requests per row path, for firstReplies
    std::vector<RequestRecord> log;
    int active = 0;
    int peak = 0;

    // The row for a request and how many requests it answered before.
    std::optional<PageRow> Find(const std::string& target, const std::string& path,
                                std::size_t* before = nullptr) {
        std::lock_guard<std::mutex> g(lock);
        auto it = rows.find(target);
        if (it == rows.end()) it = rows.find(path);
        if (it == rows.end()) return std::nullopt;
        const std::size_t count = served[it->first]++;
        if (before) *before = count;
        return it->second;
    }

    void Record(RequestRecord r) {
        std::lock_guard<std::mutex> g(lock);
        log.push_back(std::move(r));
    }

    // Sleeps up to ms; false once the server is stopping.
    bool Pause(int ms) {
        std::unique_lock<std::mutex> g(lock);
        return !wake.wait_for(g, std::chrono::milliseconds(ms), [this] { return stopping; });
    }

    void Serve(const httplib::Request& req, httplib::Response& res);
    void StartRaw();
    void RawLoop();
    void ServeRaw(int fd);
};

void LoopbackServer::Impl::Serve(const httplib::Request& req, httplib::Response& res) {
    struct Active {
        Impl& impl;
        explicit Active(Impl& i) : impl(i) {
            std::lock_guard<std::mutex> g(impl.lock);
            impl.peak = std::max(impl.peak, ++impl.active);
        }
        ~Active() {
            std::lock_guard<std::mutex> g(impl.lock);
            --impl.active;
        }
    } active(*this);
    Record({req.method, req.target, req.get_header_value("Host"), req.get_header_value("Authorization"),
            req.get_header_value("User-Agent"), req.get_header_value("Range"), req.remote_port,
            req.get_header_value("Cookie"), req.get_header_value("Accept-Encoding"),
            std::chrono::steady_clock::now()});
    // The library would cut the body to a requested range on its own while
    // keeping the handler's status 200; ranges are answered here instead.
    // (The request object is the server's own, not a constant.)
    const_cast<httplib::Request&>(req).ranges.clear();
    std::size_t before = 0;
    std::optional<PageRow> found = Find(req.target, req.path, &before);
    if (!found || found->mode == ReplyMode::Raw) {
        res.status = 404;
        res.set_content("Not found", "text/plain");
        return;
    }
    auto row = std::make_shared<PageRow>(std::move(*found));
    if (row->delayMs > 0 && !Pause(row->delayMs)) {
        res.status = 503;
        return;
    }
    if (!row->user.empty() &&
        req.get_header_value("Authorization") != "Basic " + Base64(row->user + ":" + row->password)) {
        res.status = 401;
        res.set_header("WWW-Authenticate", "Basic realm=\"loopback\"");
        res.set_content("Password needed", "text/plain");
        return;
    }
    if (!row->cookie.empty() && req.get_header_value("Cookie").find(row->cookie) == std::string::npos) {
        res.status = 403;
        res.set_content("Log in first", "text/plain");
        return;
    }
    if (row->headStatus != 0 && req.method == "HEAD") {
        res.status = row->headStatus;
        res.set_header("Content-Length", "0");
        return;
    }
    if (before < row->firstReplies.size()) {
        const EarlyReply& early = row->firstReplies[before];
        res.status = early.status;
        for (const auto& [name, value] : early.headers) res.set_header(name, value);
        res.set_header("Content-Length", "0");
        return;
    }
    res.status = row->status;
    for (const auto& [name, value] : row->headers) res.set_header(name, value);
    std::size_t rangeStart = 0, rangeEnd = 0;
    if (row->ranges && ParseRange(req.get_header_value("Range"), row->body.size(), rangeStart, rangeEnd)) {
        if (rangeStart >= row->body.size()) {
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(row->body.size()));
            res.set_header("Content-Length", "0");
            return;
        }
        res.status = 206;
        res.set_header("Content-Range", "bytes " + std::to_string(rangeStart) + "-" + std::to_string(rangeEnd) +
                                            "/" + std::to_string(row->body.size()));
        res.body = row->body.substr(rangeStart, rangeEnd - rangeStart + 1);
        res.set_header("Content-Length", std::to_string(res.body.size()));
        return;
    }

    switch (row->mode) {
        case ReplyMode::Normal:
        case ReplyMode::Raw:
            res.body = row->body;
            if (!HasHeaderNoCase(*row, "Content-Length"))
                res.set_header("Content-Length", std::to_string(row->body.size()));
            break;
        case ReplyMode::NoLength:
            res.set_chunked_content_provider("text/html", [row](std::size_t offset, httplib::DataSink& sink) {
                if (offset < row->body.size() &&
                    !sink.write(row->body.data() + offset, row->body.size() - offset))
                    return false;
                sink.done();
                return true;
            });
            break;
        case ReplyMode::Partial:
            res.set_content_provider(row->body.size(), "text/html",
                                     [row](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         const std::size_t end = std::min(row->partialBytes, row->body.size());
                                         if (offset < end) sink.write(row->body.data() + offset, end - offset);
                                         return false;  // drops the connection
                                     });
            break;
        case ReplyMode::Dripping:
            res.set_chunked_content_provider(
                "text/html", [this, row](std::size_t offset, httplib::DataSink& sink) {
                    if (offset >= row->body.size()) {
                        sink.done();
                        return true;
                    }
                    const std::size_t n = std::min(std::max<std::size_t>(row->dripChunk, 1),
                                                   row->body.size() - offset);
                    if (!sink.write(row->body.data() + offset, n)) return false;
                    return Pause(row->dripDelayMs);
                });
            break;
        case ReplyMode::Stalled: {
            std::unique_lock<std::mutex> g(lock);
            wake.wait(g, [this] { return stopping; });
            res.status = 503;
            break;
        }
    }
}

void LoopbackServer::Impl::StartRaw() {
    rawSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (rawSocket < 0) throw std::runtime_error("raw socket failed");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(rawSocket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(rawSocket, 64) != 0 ||
        ::getsockname(rawSocket, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("raw listen failed");
    rawPort = ntohs(addr.sin_port);
    rawThread = std::thread([this] { RawLoop(); });
}

void LoopbackServer::Impl::RawLoop() {
    for (;;) {
        {
            std::lock_guard<std::mutex> g(lock);
            if (stopping) return;
        }
        pollfd p{rawSocket, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const int fd = ::accept4(rawSocket, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ServeRaw(fd);
        ::close(fd);
    }
}

void LoopbackServer::Impl::ServeRaw(int fd) {
    // Reads the request head (bounded in size and time), then answers once.
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 64 * 1024 &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return;
        head.append(buf, static_cast<std::size_t>(n));
    }
    RequestRecord r;
    const std::size_t sp1 = head.find(' ');
    const std::size_t sp2 = sp1 == std::string::npos ? sp1 : head.find(' ', sp1 + 1);
    if (sp2 == std::string::npos) return;
    r.method = head.substr(0, sp1);
    r.target = head.substr(sp1 + 1, sp2 - sp1 - 1);
    for (const char* name : {"\r\nHost: ", "\r\nAuthorization: "}) {
        const std::size_t at = head.find(name);
        if (at == std::string::npos) continue;
        const std::size_t start = at + std::strlen(name);
        std::string value = head.substr(start, head.find("\r\n", start) - start);
        (name[2] == 'H' ? r.host : r.authorization) = value;
    }
    const std::string target = r.target;
    Record(std::move(r));
    std::optional<PageRow> row = Find(target, target.substr(0, target.find('?')));
    const std::string reply = row && row->mode == ReplyMode::Raw
                                  ? row->raw
                                  : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
    std::size_t sent = 0;
    while (sent < reply.size()) {
        const ssize_t n = ::send(fd, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

LoopbackServer::LoopbackServer(std::vector<PageRow> rows) : impl_(std::make_unique<Impl>()) {
    for (PageRow& row : rows) Add(std::move(row));
    Impl* impl = impl_.get();
    // Idle keep-alive connections each hold a pool thread; a large pool and
    // a short keep-alive keep many client connections from queueing.
    impl->server.new_task_queue = [] { return new httplib::ThreadPool(48); };
    impl->server.set_keep_alive_timeout(1);
    impl->server.Get(".*", [impl](const httplib::Request& req, httplib::Response& res) {
        impl->Serve(req, res);
    });
    int listenSocket = -1;
    impl->server.set_socket_options([&listenSocket](socket_t sock) {
        httplib::default_socket_options(sock);
        listenSocket = sock;
    });
    impl->port = impl->server.bind_to_any_port("127.0.0.1");
    if (impl->port <= 0) throw std::runtime_error("loopback server cannot bind");
    // The library listens with a backlog of 5: a sixth client connecting at
    // the same moment has its SYN dropped and waits a second to retry.
    if (listenSocket >= 0) ::listen(listenSocket, 128);
    impl->listenThread = std::thread([impl] { impl->server.listen_after_bind(); });
    for (int i = 0; i < 5000 && !impl->server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    impl->StartRaw();
}

LoopbackServer::~LoopbackServer() { Stop(); }

void LoopbackServer::Stop() {
    {
        std::lock_guard<std::mutex> g(impl_->lock);
        if (impl_->stopped) return;
        impl_->stopped = true;
        impl_->stopping = true;
    }
    impl_->wake.notify_all();
    impl_->server.stop();
    if (impl_->listenThread.joinable()) impl_->listenThread.join();
    if (impl_->rawThread.joinable()) impl_->rawThread.join();
    if (impl_->rawSocket >= 0) ::close(impl_->rawSocket);
    impl_->rawSocket = -1;
}

void LoopbackServer::Add(PageRow row) {
    std::lock_guard<std::mutex> g(impl_->lock);
    std::string path = row.path;
    impl_->rows[path] = std::move(row);
}

int LoopbackServer::Port() const { return impl_->port; }
int LoopbackServer::RawPort() const { return impl_->rawPort; }

std::string LoopbackServer::Url(const std::string& path, const std::string& host) const {
    bool raw = false;
    {
        std::lock_guard<std::mutex> g(impl_->lock);
        auto it = impl_->rows.find(path);
        raw = it != impl_->rows.end() && it->second.mode == ReplyMode::Raw;
    }
    return "http://" + host + ":" + std::to_string(raw ? impl_->rawPort : impl_->port) + path;
}

std::vector<std::string> LoopbackServer::ResolveEntries(const std::string& host) const {
    return {host + ":" + std::to_string(impl_->port) + ":127.0.0.1",
            host + ":" + std::to_string(impl_->rawPort) + ":127.0.0.1"};
}

std::vector<RequestRecord> LoopbackServer::Requests() const {
    std::lock_guard<std::mutex> g(impl_->lock);
    return impl_->log;
}

int LoopbackServer::Count(const std::string& target) const {
    std::lock_guard<std::mutex> g(impl_->lock);
    return static_cast<int>(std::count_if(impl_->log.begin(), impl_->log.end(),
                                          [&](const RequestRecord& r) { return r.target == target; }));
}

void LoopbackServer::ClearLog() {
    std::lock_guard<std::mutex> g(impl_->lock);
    impl_->log.clear();
    impl_->peak = impl_->active;
}

int LoopbackServer::PeakConcurrent() const {
    std::lock_guard<std::mutex> g(impl_->lock);
    return impl_->peak;
}

}  // namespace flk::test
