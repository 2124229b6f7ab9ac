#include "download/CWorker.h"

#include "download/DownloadEvents.h"
#include "download/DownloadFetch.h"
#include "download/DownloadNames.h"
#include "download/PartFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace flk {

namespace {

// The agent name the download requests carry.
constexpr char kAgent[] = "Explorer";
// A user who keeps giving wrong credentials is asked this often, then the
// download ends as "Access denied".
constexpr int kMaxCredentialQuestions = 5;
// A server that keeps sending an unusable range is given up on.
constexpr int kMaxStartOvers = 2;
// A cancelled claim race is tried again this often.
constexpr int kMaxClaimTries = 100;

}  // namespace

CWorker::CWorker(DownloadJob job, const DownloadNetwork& network, DownloadEvents& events)
    : WorkerThread("CWorker"), job_(std::move(job)), network_(network), events_(events) {}

CWorker::~CWorker() { Join(); }

bool CWorker::Taken(const std::string& path) {
    if (FileExists(path)) return true;
    // Another address's kept part is its own to continue later.
    if (FileExists(PartPath(path)) && ReadPartNote(path) != job_.url) return true;
    return events_.ClaimedByOther(job_.url, path);
}

bool CWorker::ResolveTarget(std::string& target) {
    std::string wanted = job_.target;
    auto taken = [this](const std::string& p) { return Taken(p); };
    for (int tries = 0; tries < kMaxClaimTries; ++tries) {
        std::string chosen = wanted;
        if (Taken(wanted)) {
            // Two downloads never share a file, whatever the rule says.
            const bool busy = events_.ClaimedByOther(job_.url, wanted);
            switch (job_.policy) {
                case ExistingFilePolicy::Overwrite:
                    if (busy) chosen = RenamedPath(wanted, taken);
                    break;
                case ExistingFilePolicy::Ask: {
                    std::optional<std::string> answer = events_.AskFileName(kFileExistsTitle, wanted, &StopFlag());
                    if (!answer || answer->empty() || StopRequested()) return false;
                    chosen = *answer;
                    if (events_.ClaimedByOther(job_.url, chosen)) chosen = RenamedPath(chosen, taken);
                    break;
                }
                case ExistingFilePolicy::Rename:
                    chosen = RenamedPath(wanted, taken);
                    break;
            }
        }
        if (events_.ClaimTarget(job_.url, chosen)) {
            target = chosen;
            return true;
        }
        wanted = chosen;
    }
    return false;
}

bool CWorker::Pause(long ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!StopRequested()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(50)));
    }
    return false;
}

int CWorker::Fetch(PartFile& file, bool& keepPart) {
    using Next = FetchOutcome::Next;
    const InternetSession session(network_.share, kAgent, network_.options);
    Credentials credentials{job_.user, job_.password};
    int retriesLeft = network_.retries;
    long delay = network_.retryDelayMs;
    int questions = 0;
    int startOvers = 0;
    for (;;) {
        const FetchOutcome o = FetchOnce({session, job_.url, credentials, StopFlag(), file, events_});
        switch (o.next) {
            case Next::Done:
                events_.OnStatus(job_.url, o.status);
                return o.code;
            case Next::Stopped:
                events_.OnStatus(job_.url, o.status);
                keepPart = true;
                return o.code;
            case Next::Fail:
                events_.OnStatus(job_.url, o.status);
                return o.code;
            case Next::Credentials:
                events_.OnStatus(job_.url, o.status);
                if (++questions > kMaxCredentialQuestions ||
                    !events_.AskCredentials(job_.url, credentials.user, credentials.password, &StopFlag()))
                    return o.code;
                break;
            case Next::StartOver:
                if (++startOvers > kMaxStartOvers)
                    return events_.OnStatus(job_.url, download_status::ConnectionError),
                           download_result::ConnectionError;
                if (!file.Restart()) return download_result::CreateError;
                events_.OnRestart(job_.url);
                break;
            case Next::Retry: {
                // A dropped transfer keeps what it fetched, so the next
                // attempt (or a later run) continues from there.
                keepPart = true;
                if (retriesLeft <= 0) {
                    events_.OnStatus(job_.url, o.status);
                    return o.code;
                }
                const int attempt = network_.retries - retriesLeft + 1;
                --retriesLeft;
                const long wait = o.retryAfterMs >= 0 ? std::min(o.retryAfterMs, network_.maxRetryAfterMs) : delay;
                delay *= 2;
                events_.OnStatus(job_.url, o.status + ", retry " + std::to_string(attempt) + " of " +
                                               std::to_string(network_.retries));
                if (!Pause(wait)) {
                    events_.OnStatus(job_.url, download_status::Interrupted);
                    return download_result::Interrupted;
                }
                break;
            }
        }
    }
}

void CWorker::Run() {
    std::string target;
    if (!ResolveTarget(target)) {
        result_ = download_result::None;
        events_.OnFinished(job_.url, download_result::None);
        return;
    }
    events_.OnTarget(job_.url, target);
    const bool resume = FileExists(PartPath(target)) && ReadPartNote(target) == job_.url;
    PartFile file;
    if (!file.Open(PartPath(target), resume) || !WritePartNote(target, job_.url)) {
        file.Close();
        if (!resume) RemovePart(target);
        result_ = download_result::CreateError;
        events_.OnFinished(job_.url, download_result::CreateError);
        return;
    }
    bool keepPart = false;
    int code = Fetch(file, keepPart);
    const std::uint64_t size = file.Size();
    const bool stored = file.Close();
    if (code == download_result::Finished) {
        if (stored && std::rename(PartPath(target).c_str(), target.c_str()) == 0) {
            std::remove(PartNotePath(target).c_str());
        } else {
            code = download_result::CreateError;
            keepPart = false;
            events_.OnStatus(job_.url, download_status::WriteError);
        }
    }
    if (code != download_result::Finished && !(keepPart && !discard_.load() && size > 0)) RemovePart(target);
    result_ = code;
    events_.OnFinished(job_.url, code);
}

}  // namespace flk
