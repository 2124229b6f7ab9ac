#include "search/SearchNowThread.h"

#include "query/QueryEvaluator.h"

namespace flk {

SearchNowThread::SearchNowThread(std::vector<std::shared_ptr<const StoredPage>> pages, SearchOptions options,
                                 HitSink& hits)
    : WorkerThread("SearchNowThread"), pages_(std::move(pages)), test_(std::move(options)), sink_(hits) {}

SearchNowThread::~SearchNowThread() {
    RequestStop();
    Join();
}

void SearchNowThread::Run() {
    CQueryEvaluator evaluator;  // one for the run
    for (const std::shared_ptr<const StoredPage>& page : pages_) {
        if (StopRequested()) return;
        if (page) {
            if (std::optional<TextHit> hit = test_.Test(evaluator, page->text, page->title, page->url)) {
                sink_.AddHit(*hit);
                hits_.fetch_add(1);
            }
        }
        done_.fetch_add(1);
    }
}

}  // namespace flk
