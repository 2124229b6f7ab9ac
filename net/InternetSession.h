#pragma once
#include "net/InternetRequest.h"
#include "net/InternetShare.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace flk {

enum class InternetAccess {
    Preconfigured,  // as the system is set up (proxy from the environment)
    Direct,         // never through a proxy
};

struct InternetOptions {
    long connectTimeoutMs = 30000;
    // A transfer slower than lowSpeedLimit bytes per second for
    // lowSpeedTimeS seconds is aborted, so a silent or dripping server
    // never holds a worker forever.
    long lowSpeedLimit = 1;
    long lowSpeedTimeS = 60;
    // A whole transfer (connect, headers and body) that lasts longer than
    // this is aborted; 0 means no limit. Bounds a server that drips just
    // fast enough to pass the low-speed test.
    long totalTimeoutMs = 0;
    InternetAccess access = InternetAccess::Preconfigured;
    // Fixed name resolutions "host:port:address", e.g. several host names
    // served by one loopback server.
    std::vector<std::string> resolve;
    // Sent as the User-Agent instead of the session's agent name when set.
    std::string userAgent;
    // Ask for "gzip, br" and hand out the decoded body (sizes then count
    // decoded bytes); off: no Accept-Encoding, the body as sent.
    bool acceptEncoding = false;
    // Cookie lines in the Netscape cookies.txt format, sent to the hosts
    // they match; never written anywhere.
    std::shared_ptr<const std::vector<std::string>> cookies;
    // At most this many requests with this limit run to one host at once
    // (counted across the share); 0: no limit.
    int maxPerHost = 0;
};

// An internet session: an agent name and the request settings, over the
// process's shared connection state. Cheap to create; one per page is fine.
// Requests use HTTP/1.1 (header names keep the server's letter case), never
// follow redirects, and FTP runs passive and binary.
class InternetSession {
public:
    InternetSession(InternetShare& share, std::string agent, InternetOptions options = {});

    const std::string& Agent() const { return agent_; }
    const InternetOptions& Options() const { return options_; }

    // A request for an http, https or ftp address, not yet sent; nullptr
    // when the address does not split or has another service. stop may be
    // null; when it turns true the request ends as soon as it can.
    // Credentials, when given, are sent with basic authentication.
    std::unique_ptr<InternetRequest> OpenRequest(const std::string& url, const std::atomic<bool>* stop,
                                                 const Credentials& credentials = {},
                                                 RequestMethod method = RequestMethod::Get) const;

private:
    InternetShare& share_;
    std::string agent_;
    InternetOptions options_;
};

}  // namespace flk
