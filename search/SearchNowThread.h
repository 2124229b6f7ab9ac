#pragma once
#include "crawl/CrawlView.h"
#include "platform/WorkerThread.h"
#include "query/PageTest.h"

#include <atomic>
#include <memory>
#include <vector>

namespace flk {

// The off-line text search: tests the stored pages of a crawl, in order, with
// the same page test the crawl runs, and adds each match to the hit sink.
// The query and options are fixed when the search is made. Progress is
// published in atomics for the "Searching..." dialog to poll; RequestStop()
// ends the run after the page in hand.
//
// The sink must outlive the thread: its owner (the hit list) stops and joins
// it before going away, and so does this class's destructor.
class SearchNowThread : public WorkerThread {
public:
    SearchNowThread(std::vector<std::shared_ptr<const StoredPage>> pages, SearchOptions options, HitSink& hits);
    ~SearchNowThread() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    int PagesDone() const { return done_.load(); }
    int HitsFound() const { return hits_.load(); }

protected:
    void Run() override;

private:
    const std::vector<std::shared_ptr<const StoredPage>> pages_;
    const PageTest test_;
    HitSink& sink_;
    std::atomic<int> done_{0};
    std::atomic<int> hits_{0};
};

}  // namespace flk
