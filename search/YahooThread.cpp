#include "search/YahooThread.h"

#include "net/BodyLines.h"
#include "net/UrlSplit.h"
#include "search/SearchEngineThread.h"

namespace flk {

YahooThread::YahooThread(std::string requestUrl, DirectoryThreadOwner& owner, InternetShare& internet,
                         InternetOptions network)
    : WorkerThread(kClassName),
      url_(std::move(requestUrl)),
      owner_(owner),
      internet_(internet),
      network_(std::move(network)) {}

YahooThread::~YahooThread() {
    RequestStop();
    Join();
}

void YahooThread::Fetch(std::string& body) {
    UrlParts parts;
    if (!SplitUrl(url_, parts) || (parts.service != UrlService::Http && parts.service != UrlService::Https))
        return;
    const InternetSession session(internet_, kSearchAgent, network_);
    auto request = session.OpenRequest(url_, &StopFlag());
    if (!request || !request->Send()) return;
    status_ = request->StatusCode();
    if (status_ != 200) {
        statusText_ = DirectoryStatusText(status_);
        return;
    }
    ReadBodyLines(*request, body, kDirectoryReplyCap, LineJoin::NewlineAfterEach, StopFlag(),
                  [&] { owner_.ReplyProgress(request->BytesRead()); });
    request->Close();
}

void YahooThread::Run() {
    try {
        std::string body;
        Fetch(body);
        if (!StopRequested()) {
            if (body.empty()) {
                // A non-200 reply ends quietly; only a missing reply is reported.
                if (statusText_.empty()) owner_.EmptyReply();
            } else {
                std::vector<DirectoryRecord> records;
                ParseDirectoryReply(body, records, owner_.RecordRoom());
                if (!records.empty()) owner_.AddRecords(std::move(records));
            }
        }
    } catch (...) {
        // Out of memory or the like: this reply is lost, the search goes on.
    }
    // Always: the search waits for every worker's end.
    owner_.DirectoryDone(this);
}

}  // namespace flk
