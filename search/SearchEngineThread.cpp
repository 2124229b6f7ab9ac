#include "search/SearchEngineThread.h"

#include "net/BodyLines.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

void ExtractEngineLinks(std::string_view body, const std::function<void(std::string_view)>& offer) {
    const std::string lower = ToLowerAscii(body);
    std::size_t pos = 0;
    while (pos < lower.size()) {
        const std::size_t href = lower.find("href", pos);
        if (href == std::string::npos) break;
        const std::size_t eq = lower.find('=', href + 4);
        if (eq == std::string::npos) break;
        std::size_t start = eq + 1;
        while (start < body.size() && (body[start] == ' ' || body[start] == '"' || body[start] == '\''))
            ++start;
        std::size_t end = start;
        while (end < body.size()) {
            const char c = body[end];
            if (c == '\0' || c == ' ' || c == '"' || c == '\'' || c == '>') break;
            ++end;
        }
        offer(body.substr(start, end - start));
        pos = std::max(end, eq + 1);
    }
}

SearchEngineThread::SearchEngineThread(std::string resultPage, EngineThreadOwner& owner,
                                       InternetShare& internet, InternetOptions network)
    : WorkerThread(kClassName),
      resultPage_(std::move(resultPage)),
      owner_(owner),
      internet_(internet),
      network_(std::move(network)) {}

SearchEngineThread::~SearchEngineThread() {
    RequestStop();
    Join();
}

void SearchEngineThread::Fetch() {
    const InternetSession session(internet_, kSearchAgent, network_);
    owner_.StepProgress();
    if (StopRequested()) return;

    auto request = session.OpenRequest(resultPage_, &StopFlag());
    if (!request) return;
    const bool sent = request->Send();
    owner_.StepProgress();
    if (!sent || StopRequested()) return;

    // A line break is white space in a page; joining lines with a space
    // keeps a link at a line's end from running into the next line.
    ReadBodyLines(*request, body_, kEnginePageCap, LineJoin::SpaceBetween, StopFlag());
    request->Close();
    owner_.StepProgress();
}

void SearchEngineThread::Run() {
    try {
        if (!StopRequested()) {
            Fetch();
            if (!StopRequested()) {
                ExtractEngineLinks(body_, [this](std::string_view link) {
                    if (!StopRequested()) owner_.OfferLink(link, resultPage_);
                });
                owner_.StepProgress();
            }
        }
    } catch (...) {
        // Out of memory or the like: this page is lost, the run goes on.
    }
    // Always: the run waits for every page's end.
    owner_.PageDone(this);
}

}  // namespace flk
