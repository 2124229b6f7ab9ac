#include "crawl/PageSourceFetch.h"

namespace flk {

PageSourceFetch::PageSourceFetch(InternetShare& internet, std::string address, PageSourceOptions options,
                                 std::function<void()> done)
    : WorkerThread("PageSourceFetch"),
      internet_(internet),
      address_(std::move(address)),
      options_(std::move(options)),
      done_(std::move(done)) {
    result_.address = address_;
    result_.outcome = PageSource::Outcome::Stopped;
}

PageSourceFetch::~PageSourceFetch() {
    RequestStop();
    Join();
}

bool PageSourceFetch::Finished() const {
    std::lock_guard<std::mutex> lock(lock_);
    return finished_;
}

PageSource PageSourceFetch::Result() const {
    std::lock_guard<std::mutex> lock(lock_);
    return result_;
}

void PageSourceFetch::Run() {
    PageSource source = FetchPageSource(internet_, address_, options_, StopFlag());
    if (StopRequested()) return;
    {
        std::lock_guard<std::mutex> lock(lock_);
        result_ = std::move(source);
        finished_ = true;
    }
    if (done_) done_();
}

}  // namespace flk
