#pragma once
#include "net/InternetSession.h"
#include "platform/WorkerThread.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace flk {

// The agent name of every search front-end request.
inline constexpr char kSearchAgent[] = "Explorer";

// Engine result pages are read up to this many bytes; the rest is dropped,
// so a hostile engine cannot fill memory.
inline constexpr std::size_t kEnginePageCap = 2u << 20;

// Pulls the "href" values out of a result page: after each "href" (any
// case) the next "=", then spaces and quote characters are skipped, and the
// link runs (letter case kept) to the first NUL, space, quote or ">".
// Runs in one pass over the text.
void ExtractEngineLinks(std::string_view body, const std::function<void(std::string_view)>& offer);

// What a result-page thread reports to the search run that owns it. Called
// on the thread; the owner guards its own state.
class EngineThreadOwner {
public:
    virtual ~EngineThreadOwner() = default;
    virtual void StepProgress() = 0;
    virtual void OfferLink(std::string_view link, const std::string& resultPage) = 0;
    // The last call of the thread's run.
    virtual void PageDone(class SearchEngineThread* thread) = 0;
};

// Fetches one result page of a search engine (or one directory category
// page), extracts its links and offers each to the owner's filter.
class SearchEngineThread : public WorkerThread {
public:
    static constexpr const char* kClassName = "SearchEngineThread";

    SearchEngineThread(std::string resultPage, EngineThreadOwner& owner, InternetShare& internet,
                       InternetOptions network);
    ~SearchEngineThread() override;

    const std::string& ResultPage() const { return resultPage_; }
    // The body read (at most kEnginePageCap bytes); stable once the run ended.
    const std::string& Body() const { return body_; }

protected:
    void Run() override;

private:
    void Fetch();

    const std::string resultPage_;
    EngineThreadOwner& owner_;
    InternetShare& internet_;
    const InternetOptions network_;
    std::string body_;
};

}  // namespace flk
