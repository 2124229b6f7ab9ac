#include "update/UpdateThread.h"

#include "settings/Settings.h"
#include "platform/Notifier.h"
#include "platform/TextUtil.h"
#include "update/UpdateFile.h"

namespace flk {

namespace {

// Shorter answers are not update data (an empty page, a stray "OK").
constexpr std::size_t kMinLength = 10;

}  // namespace

UpdateThread::UpdateThread(Settings& settings, UpdateFile& file, Notifier& notifier, InternetShare& share,
                           UpdateThreadOptions options)
    : WorkerThread(kUpdateThreadClass),
      settings_(settings),
      file_(file),
      notifier_(notifier),
      share_(share),
      options_(std::move(options)) {
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

    std::string text;
    if (!Download(url, text)) return Outcome::Failed;
    if (StopRequested()) return Outcome::Stopped;
    text.resize(TrimRight(text).size());
    if (text.size() < kMinLength) return Outcome::TooShort;

    if (!file_.Store(text, [this] { return !StopRequested(); }))
        return StopRequested() ? Outcome::Stopped : Outcome::StoreFailed;
    // Only a stored file counts as today's update.
    WriteDate(settings_, kUpdateDateKeys, today);
    return Outcome::Stored;
}

bool UpdateThread::Download(const std::string& url, std::string& text) {
    text.clear();
    if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://")) return false;
    const InternetSession session(share_, kUpdateAgent, options_.network);
    auto request = session.OpenRequest(url, &StopFlag());
    if (!request || !request->Send()) return false;
    std::string line;
    while (!StopRequested() && request->ReadLine(line)) {
        text += line;
        text += '\n';
        if (text.size() > UpdateFile::kMaxBytes) return false;
    }
    // A broken transfer would replace good data with a truncated copy.
    return !request->Failed() && !request->Cancelled();
}

}  // namespace flk
