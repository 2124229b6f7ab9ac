#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace flk {

// What a download worker tells its manager and asks of it. Called on the
// worker's thread; every call carries the worker's address, by which the
// manager finds its row.
class DownloadEvents {
public:
    virtual ~DownloadEvents() = default;

    // The file the download goes to is settled.
    virtual void OnTarget(const std::string& url, const std::string& path) = 0;
    // The full size in bytes (-1 unknown) and how much of it is already on
    // disk from an earlier attempt.
    virtual void OnSize(const std::string& url, std::int64_t total, std::uint64_t already) = 0;
    virtual void OnReceived(const std::string& url, std::uint64_t bytes) = 0;
    // The already-counted bytes are gone (the server sends the file anew).
    virtual void OnRestart(const std::string& url) = 0;
    virtual void OnStatus(const std::string& url, const std::string& text) = 0;
    // The last call of a worker.
    virtual void OnFinished(const std::string& url, int code) = 0;

    // Takes `path` as this download's target; false when another running
    // download holds it. Released when the download finishes.
    virtual bool ClaimTarget(const std::string& url, const std::string& path) = 0;
    virtual bool ClaimedByOther(const std::string& url, const std::string& path) = 0;

    // A file name from the user (a save dialog with `suggested` filled in);
    // nullopt when cancelled, or dropped because `stop` was set.
    virtual std::optional<std::string> AskFileName(const std::string& title, const std::string& suggested,
                                                   const std::atomic<bool>* stop) = 0;
    // A user name and password for the address; false when the user declines.
    virtual bool AskCredentials(const std::string& url, std::string& user, std::string& password,
                                const std::atomic<bool>* stop) = 0;
};

}  // namespace flk
