#pragma once
#include "net/InternetSession.h"
#include "platform/WorkerThread.h"
#include "update/LocalDate.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

namespace flk {

class InternetShare;
class Notifier;
class Settings;
class UpdateFile;

inline constexpr char kUpdateThreadClass[] = "UpdateThread";
// The agent name of the update download.
inline constexpr char kUpdateAgent[] = "Explorer";

struct UpdateThreadOptions {
    // Connect and low-speed limits; the download never goes through a proxy.
    InternetOptions network{};
    // Today's local date; tests fix it.
    std::function<LocalDate()> today = TodayLocal;
};

// Refreshes the stored update data at most once a calendar day: when the
// profile's `update` date is not today, it downloads the update base
// address + "data.txt" (following at most 5 redirects) and, when the answer
// is a 200 one, longer than 9 characters (after trailing white space is
// trimmed) and holds every block the readers need (HasEveryUpdateBlock),
// stores it through the update file (adult block encoded, under the update
// file lock) and only then writes today's date. Any other answer, a download
// that breaks off, is stopped or grows past UpdateFile::kMaxBytes stores
// nothing and keeps the previous data and the date, so the next start tries
// again; Result() tells why, and the reason is logged (LogProblem). Unless
// stopped it ends by sending notify::UpdateEnded.
//
// Owned by the media-search window; the destructor stops and joins it.
class UpdateThread : public WorkerThread {
public:
    enum class Outcome {
        Running,
        NotDue,       // the stored date is today
        Stored,       // the file was replaced and the date written
        TooShort,     // 9 characters or fewer
        NotUpdateData,  // not a 200 answer, or a block the readers need is missing
        Failed,       // unusable address, no answer, the transfer broke off, too large
        StoreFailed,  // the file could not be written
        Stopped,      // stopped before the file was written
    };

    UpdateThread(Settings& settings, UpdateFile& file, Notifier& notifier, InternetShare& share,
                 UpdateThreadOptions options = {});
    ~UpdateThread() override;

    // The full download address: update base address + "data.txt".
    std::string DownloadUrl() const;
    Outcome Result() const { return outcome_.load(); }

protected:
    void Run() override;

private:
    Outcome Update();
    // Fills text with the answer; false (and why in failure) when it is
    // not to be used. status: the final answer's, after at most 5 redirects.
    bool Download(const std::string& url, std::string& text, int& status, std::string& failure);

    Settings& settings_;
    UpdateFile& file_;
    Notifier& notifier_;
    InternetShare& share_;
    UpdateThreadOptions options_;
    std::atomic<Outcome> outcome_{Outcome::Running};
};

}  // namespace flk
