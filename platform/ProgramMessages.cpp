#include "platform/ProgramMessages.h"

#include "platform/Paths.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace flk {

namespace {

// A client that connects and says nothing is dropped after this long, so
// it cannot hold up the messages behind it.
constexpr int kReadWaitMs = 1000;

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Reads exactly 4 bytes before the deadline; gives up early when wakeFd
// (if any) becomes readable.
bool ReadNumber(int fd, int wakeFd, Clock::time_point deadline, int& value) {
    unsigned char bytes[4];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int r = ::poll(fds, wakeFd >= 0 ? 2 : 1, MsLeft(deadline));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0 || (wakeFd >= 0 && fds[1].revents != 0)) return false;
        const ssize_t n = ::recv(fd, bytes + got, sizeof bytes - got, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    std::uint32_t net;
    std::memcpy(&net, bytes, sizeof net);
    value = static_cast<int>(ntohl(net));
    return true;
}

bool WriteNumber(int fd, int value) {
    const std::uint32_t net = htonl(static_cast<std::uint32_t>(value));
    // Four bytes always fit an empty socket buffer: one send does it.
    ssize_t n;
    while ((n = ::send(fd, &net, sizeof net, MSG_NOSIGNAL | MSG_DONTWAIT)) < 0 && errno == EINTR) {
    }
    return n == static_cast<ssize_t>(sizeof net);
}

// A connected socket to path, or -1. Non-blocking connect: a listener with
// a full backlog fails the send instead of hanging it.
int Connect(const std::string& path) {
    sockaddr_un addr;
    if (!MakeAddress(path, addr)) return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    int r;
    while ((r = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr)) < 0 && errno == EINTR) {
    }
    if (r < 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

}  // namespace

std::string FileNameOfProgramName(const std::string& name) {
    std::string file;
    for (char c : name) file += (c == ' ' || c == '/' || c == '\\') ? '_' : c;
    return file;
}

std::string ProgramSocketPath(const std::string& runtimeFolder, const std::string& program) {
    return runtimeFolder.empty() ? std::string() : JoinPath(runtimeFolder, FileNameOfProgramName(program) + ".msg");
}

MessageListener::MessageListener(const std::string& runtimeFolder, const std::string& program, Handler handler,
                                 Answered answered)
    : path_(ProgramSocketPath(runtimeFolder, program)), handler_(std::move(handler)), answered_(std::move(answered)) {}

MessageListener::~MessageListener() { Stop(); }

bool MessageListener::Bind() {
    sockaddr_un addr;
    if (!MakeAddress(path_, addr)) return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Non-blocking, so a client gone between poll and accept cannot
        // block the loop.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return false;
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
            (void)::chmod(path_.c_str(), 0600);
            if (::listen(fd, 16) != 0) {
                ::close(fd);
                ::unlink(path_.c_str());
                return false;
            }
            listenFd_ = fd;
            return true;
        }
        const int err = errno;
        ::close(fd);
        if (err != EADDRINUSE) return false;
        // Something holds the name: replace it only when it is a socket
        // nobody listens on any more.
        struct stat st {};
        if (::lstat(path_.c_str(), &st) != 0) continue;
        if (!S_ISSOCK(st.st_mode)) return false;
        const int probe = Connect(path_);
        if (probe >= 0) {
            ::close(probe);
            return false;
        }
        if (errno != ECONNREFUSED) return false;
        ::unlink(path_.c_str());
    }
    return false;
}

bool MessageListener::Start() {
    if (thread_.joinable()) return true;
    if (!Bind()) return false;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        Stop();
        return false;
    }
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        Stop();
        return false;
    }
    return true;
}

void MessageListener::Stop() {
    if (thread_.joinable()) {
        const char wake = 1;
        ssize_t ignored;
        while ((ignored = ::write(wakeWrite_, &wake, 1)) < 0 && errno == EINTR) {
        }
        // From the handler the loop ends by itself; the owner joins later.
        if (thread_.get_id() == std::this_thread::get_id()) return;
        thread_.join();
    }
    for (int* fd : {&wakeRead_, &wakeWrite_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        ::unlink(path_.c_str());
    }
}

void MessageListener::Run() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Serve(client);
        ::close(client);
    }
}

void MessageListener::Serve(int fd) {
    int message = 0;
    if (!ReadNumber(fd, wakeRead_, Clock::now() + std::chrono::milliseconds(kReadWaitMs), message)) return;
    int answer = 0;
    try {
        if (handler_) answer = handler_(message);
    } catch (...) {
        // A failing handler must not end the listener.
    }
    WriteNumber(fd, answer);
    if (!answered_) return;
    try {
        answered_(message, answer);
    } catch (...) {
    }
}

bool SendProgramMessage(const std::string& runtimeFolder, const std::string& program, int message, int* answer,
                        int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int fd = Connect(ProgramSocketPath(runtimeFolder, program));
    if (fd < 0) return false;
    bool ok = WriteNumber(fd, message);
    if (ok && answer) ok = ReadNumber(fd, -1, deadline, *answer);
    ::close(fd);
    return ok;
}

}  // namespace flk
