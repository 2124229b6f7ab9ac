#pragma once
#include "download/DownloadJob.h"
#include "platform/WorkerThread.h"

#include <atomic>
#include <string>

namespace flk {

class DownloadEvents;
class PartFile;
struct FetchOutcome;

// One download on its own thread: settles the target name by the
// existing-file rule, grows "name.part" (continuing one an earlier run left
// for the same address), retries transient failures, and renames the part
// to the name only when the file is complete. An interrupted download keeps
// its part and the address beside it; any other failure leaves nothing.
class CWorker : public WorkerThread {
public:
    CWorker(DownloadJob job, const DownloadNetwork& network, DownloadEvents& events);
    ~CWorker() override;

    const std::string& Url() const { return job_.url; }
    // Stops the worker and drops what it fetched (no part is kept).
    void StopAndDiscard() {
        discard_.store(true);
        RequestStop();
    }
    int Result() const { return result_.load(); }

protected:
    void Run() override;

private:
    // The target by the existing-file rule and the claims of other
    // downloads; false when the user cancelled the name question.
    bool ResolveTarget(std::string& target);
    bool Taken(const std::string& path);
    int Fetch(PartFile& file, bool& keepPart);
    bool Pause(long ms);

    DownloadJob job_;
    const DownloadNetwork& network_;
    DownloadEvents& events_;
    std::atomic<bool> discard_{false};
    std::atomic<int> result_{0};
};

}  // namespace flk
