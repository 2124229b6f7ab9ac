#pragma once
#include "download/DownloadTexts.h"
#include "net/InternetSession.h"

#include <string>

namespace flk {

class InternetShare;

// One file to fetch: queued by the manager until a worker takes it.
struct DownloadJob {
    std::string url;
    std::string target;
    ExistingFilePolicy policy = ExistingFilePolicy::Rename;
    std::string user;
    std::string password;
};

// What every worker of one manager shares.
struct DownloadNetwork {
    InternetShare& share;
    InternetOptions options{};  // Direct access when "use_cash" is 0
    int retries = 3;            // further attempts after a transient failure
    long retryDelayMs = 1000;   // the first pause; each further one doubles
    long maxRetryAfterMs = 60000;  // a server's Retry-After is obeyed up to this
};

}  // namespace flk
