#pragma once
#include "net/InternetSession.h"
#include "platform/WorkerThread.h"
#include "search/DirectoryReply.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace flk {

// A directory reply is read up to this many bytes (about ten thousand
// records); the rest is dropped.
inline constexpr std::size_t kDirectoryReplyCap = 1u << 20;

class YahooThread;

// What a directory request thread reports to the category search that owns
// it. Called on the thread; the owner guards its own state.
class DirectoryThreadOwner {
public:
    virtual ~DirectoryThreadOwner() = default;
    // Room for more records (the owner's cap); parsing stops there.
    virtual std::size_t RecordRoom() const = 0;
    virtual void AddRecords(std::vector<DirectoryRecord>&& records) = 0;
    virtual void ReplyProgress(std::uint64_t bytes) = 0;
    // No reply body at all: no connection, or the server sent nothing.
    virtual void EmptyReply() = 0;
    // The last call of the thread's run.
    virtual void DirectoryDone(YahooThread* thread) = 0;
};

// Sends one directory request and hands the parsed records to its owner.
class YahooThread : public WorkerThread {
public:
    static constexpr const char* kClassName = "YahooThread";

    YahooThread(std::string requestUrl, DirectoryThreadOwner& owner, InternetShare& internet,
                InternetOptions network);
    ~YahooThread() override;

    const std::string& RequestUrl() const { return url_; }
    // Read once the run has ended.
    int StatusCode() const { return status_; }
    // The "Query status code: ..." text of a reply other than 200 (never shown).
    const std::string& StatusText() const { return statusText_; }

protected:
    void Run() override;

private:
    void Fetch(std::string& body);

    const std::string url_;
    DirectoryThreadOwner& owner_;
    InternetShare& internet_;
    const InternetOptions network_;
    int status_ = 0;
    std::string statusText_;
};

}  // namespace flk
