#include "update/UpdateThread.h"

#include "settings/Settings.h"
#include "crawl/PageFetcher.h"
#include "net/BodyLines.h"
#include "net/ParsedUrl.h"
#include "net/RequestQueue.h"
#include "net/RequestTimeLimit.h"
#include "platform/Notifier.h"
#include "platform/ProblemLog.h"
#include "platform/TextUtil.h"
#include "update/UpdateData.h"
#include "update/UpdateFile.h"

namespace flk {

namespace {

// Shorter answers are not update data (an empty page, a stray "OK").
constexpr std::size_t kMinLength = 10;
// The update server may move (to "https://" like any site), but not endlessly.
constexpr int kMaxRedirects = 5;

}  // namespace

UpdateThread::UpdateThread(Settings& settings, UpdateFile& file, Notifier& notifier, InternetShare& share,
                           UpdateThreadOptions options)
    : WorkerThread(kUpdateThreadClass),
      settings_(settings),
      file_(file),
      notifier_(notifier),
      share_(share),
      options_(std::move(options)) {
    options_.network = WithRequestTimeLimit(options_.network, settings_);
    options_.network.access = InternetAccess::Direct;
    if (!options_.today) options_.today = TodayLocal;
}

UpdateThread::~UpdateThread() {
    RequestStop();
    Join();
}

std::string UpdateThread::DownloadUrl() const {
    return settings_.Get(hosts::UpdateBase) + UpdateFile::kFileName;
}

void UpdateThread::Run() {
    Outcome outcome = Outcome::Failed;
    try {
        outcome = Update();
    } catch (...) {
        // Out of memory or the like: the update is skipped, the program goes on.
    }
    if (StopRequested() && outcome != Outcome::Stored) outcome = Outcome::Stopped;
    outcome_.store(outcome);
    if (outcome == Outcome::Stopped) return;
    Notification n;
    n.code = notify::UpdateEnded;
    notifier_.Send(n);
}

UpdateThread::Outcome UpdateThread::Update() {
    const std::string url = DownloadUrl();
    const LocalDate today = options_.today();
    if (ReadDate(settings_, kUpdateDateKeys) == today) return Outcome::NotDue;

    // Whatever keeps the data from being stored is logged: the previous
    // data stays, and a user whose guide never changes can find out why.
    auto refuse = [&url](Outcome outcome, const std::string& why) {
        LogProblem("update data from " + url + " not stored (" + why + "); the previous data is kept");
        return outcome;
    };
    std::string text;
    int status = 0;
    std::string failure;
    if (!Download(url, text, status, failure)) {
        if (StopRequested()) return Outcome::Stopped;
        return refuse(Outcome::Failed, failure);
    }
    if (StopRequested()) return Outcome::Stopped;
    // An error page, a redirect past the limit or a file without the
    // adult words would replace good data (and switch the filter off).
    if (status != 200) return refuse(Outcome::NotUpdateData, "answer " + std::to_string(status));
    text.resize(TrimRight(text).size());
    if (text.size() < kMinLength) return refuse(Outcome::TooShort, "the answer is too short");
    if (!HasEveryUpdateBlock(text)) return refuse(Outcome::NotUpdateData, "a block of the update data is missing");

    if (!file_.Store(text, [this] { return !StopRequested(); })) {
        if (StopRequested()) return Outcome::Stopped;
        return refuse(Outcome::StoreFailed, "the file could not be written");
    }
    // Only a stored file counts as today's update.
    WriteDate(settings_, kUpdateDateKeys, today);
    return Outcome::Stored;
}

bool UpdateThread::Download(const std::string& firstUrl, std::string& text, int& status, std::string& failure) {
    text.clear();
    const InternetSession session(share_, kUpdateAgent, options_.network);
    std::string url = firstUrl;
    std::unique_ptr<InternetRequest> request;
    for (int hop = 0;; ++hop) {
        if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://")) {
            failure = "not an http or https address: " + url;
            return false;
        }
        request = session.OpenRequest(url, &StopFlag());
        if (!request || !request->Send()) {
            failure = "no answer from " + url + (request && !request->ErrorText().empty() ? ": " + request->ErrorText() : "");
            return false;
        }
        status = request->StatusCode();
        std::string location;
        if (!IsRedirect(status) || hop >= kMaxRedirects ||
            !FindHeaderNoCase(request->RawHeaders(), "Location", location))
            break;
        url = NormaliseUrl(JoinUrl(location, url));
    }
    // Only a 200 answer is update data: nothing else is worth reading.
    if (status != 200) return true;
    // One byte over the limit is enough to know the data is too large.
    if (ReadBodyLines(*request, text, UpdateFile::kMaxBytes + 1, LineJoin::NewlineAfterEach, StopFlag()) ==
        BodyLinesEnd::Capped) {
        failure = "larger than " + std::to_string(UpdateFile::kMaxBytes) + " bytes";
        return false;
    }
    // A broken transfer would replace good data with a truncated copy.
    if (request->Failed() || request->Cancelled()) {
        failure = request->ErrorText().empty() ? "the transfer broke off" : request->ErrorText();
        return false;
    }
    return true;
}

}  // namespace flk
