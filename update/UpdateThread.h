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
// address + "data.txt" and, when the answer is longer than 9 characters
// (after trailing white space is trimmed), stores it through the update
// file (adult block encoded, under the update file lock) and only then
// writes today's date. A download that breaks off, is stopped or grows past
// UpdateFile::kMaxBytes stores nothing and keeps the date, so the next start
// tries again. Unless stopped it ends by sending notify::UpdateEnded.
//
// The status code is not acted upon: a server error page is stored like any
// answer, and the readers fall back to the default data.
//
// Owned by the media-search window; the destructor stops and joins it.
class UpdateThread : public WorkerThread {
public:
    enum class Outcome {
        Running,
        NotDue,       // the stored date is today
        Stored,       // the file was replaced and the date written
        TooShort,     // 9 characters or fewer
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
    // Fills text with the answer; false when it is not to be used.
    bool Download(const std::string& url, std::string& text);

    Settings& settings_;
    UpdateFile& file_;
    Notifier& notifier_;
    InternetShare& share_;
    UpdateThreadOptions options_;
    std::atomic<Outcome> outcome_{Outcome::Running};
};

}  // namespace flk
