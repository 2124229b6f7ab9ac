#pragma once
#include "net/InternetRequest.h"
#include "net/InternetSession.h"

#include <atomic>
#include <string>

namespace flk {

class DownloadEvents;
class PartFile;

// How one attempt to fetch a file ended, and what the worker does next.
struct FetchOutcome {
    enum class Next {
        Done,         // the whole file is in the part file
        Retry,        // a transient failure: try again after a pause
        Fail,         // a final failure with `code`
        Stopped,      // the stop flag
        Credentials,  // the server wants a user name and password
        StartOver,    // the part file is useless: empty it and ask again
    };
    Next next = Next::Fail;
    int code = 0;              // result code for Fail (and Retry, once retries run out)
    std::string status;        // the status text that goes with it
    long retryAfterMs = -1;    // a server's Retry-After, when it gave one
};

// One attempt: a request for the address (from the part file's size on when
// it holds something), its answer mapped to an outcome, the body appended
// to the part file with progress told to `events`. HTTP and HTTPS unless
// the address begins with "ftp" (any case).
struct FetchRequest {
    const InternetSession& session;
    const std::string& url;
    const Credentials& credentials;
    const std::atomic<bool>& stop;
    PartFile& file;
    DownloadEvents& events;
};

FetchOutcome FetchOnce(const FetchRequest& request);

bool IsFtpAddress(const std::string& url);

// A Retry-After value in seconds, as milliseconds; -1 when absent or a date.
long RetryAfterMs(const std::string& rawHeaders);

}  // namespace flk
