#pragma once
#include "net/RequestQueue.h"

#include <cstdint>
#include <string>

namespace flk {

class Notifier;

// The agent name of the requests to the maker's server.
inline constexpr char kServerAgent[] = "Vellum 1.0";
// Requests that run at once.
inline constexpr int kServerWorkers = 5;

struct ServerRequestsOptions {
    InternetOptions network{};
    int workers = kServerWorkers;
    // Answers are small profile texts; a longer one is not an answer.
    std::uint64_t maxAnswerBytes = 64 * 1024;
    // The maker's server may move to "https://" like any site.
    int maxRedirects = 5;
};

// The requests to the maker's server: the version query and the usage
// reports, on a request queue of 5 workers with agent "Vellum 1.0". An
// address without a scheme is taken relative to the server base address.
// When a version query ("mdl=checkver") ends with a complete 2xx answer, the
// answer goes to the main window as notify::ServerText; other answers are
// not used. A failed or cut-off query sends nothing, so an answer stored
// earlier is not replaced by an empty or partial one.
//
// Owned by the crawler window for the whole run; Stop() and the
// destructor's Shutdown() follow RequestQueue's rules.
class ServerRequests {
public:
    ServerRequests(InternetShare& share, Notifier& notifier, std::string serverBase,
                   ServerRequestsOptions options = {});
    ~ServerRequests();
    ServerRequests(const ServerRequests&) = delete;
    ServerRequests& operator=(const ServerRequests&) = delete;

    // Queues a GET of the address; false once stopped.
    bool Queue(const std::string& address);

    // The address as requested: unchanged when it begins with "http://" or
    // "https://" (any case), else the server base address in front.
    std::string FullAddress(const std::string& address) const;
    const std::string& ServerBase() const { return base_; }

    int Pending() const { return queue_.Pending(); }
    void Stop() { queue_.Stop(); }
    bool Ended() const { return queue_.Ended(); }
    void Shutdown() { queue_.Shutdown(); }

private:
    void OnReply(const WebReply& reply);

    Notifier& notifier_;
    std::string base_;
    ServerRequestsOptions options_;
    RequestQueue queue_;  // last: its workers end before the rest goes
};

}  // namespace flk
