#pragma once
#include "crawl/PageSource.h"
#include "platform/WorkerThread.h"

#include <functional>
#include <mutex>
#include <string>

namespace flk {

// The text viewer's worker: reads one address with FetchPageSource and
// keeps the result for the window. `done` runs on the worker's thread once
// the result is there (not when stopped); the window passes it on to its
// own thread. The owner stops and joins the worker before it goes.
class PageSourceFetch : public WorkerThread {
public:
    PageSourceFetch(InternetShare& internet, std::string address, PageSourceOptions options,
                    std::function<void()> done = {});
    ~PageSourceFetch() override;

    const std::string& Address() const { return address_; }
    const PageSourceOptions& Options() const { return options_; }
    // True once the result is there.
    bool Finished() const;
    // The result; a Stopped one before it is finished.
    PageSource Result() const;

protected:
    void Run() override;

private:
    InternetShare& internet_;
    std::string address_;
    PageSourceOptions options_;
    std::function<void()> done_;
    mutable std::mutex lock_;
    PageSource result_;
    bool finished_ = false;
};

}  // namespace flk
