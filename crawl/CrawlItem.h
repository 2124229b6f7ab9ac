#pragma once
#include "net/ParsedUrl.h"

#include <atomic>
#include <mutex>
#include <string>

namespace flk {

// One found link or title line of a crawl. Shared between the kernel and the
// worker that fetches it; the worker's findings are guarded by their mutex.
struct CrawlItem {
    ParsedUrl url;         // for a title line, url.Full() is "<<title>>"
    std::string referrer;  // page the link was found on; empty for start locations
    int depth = 0;
    std::string text;      // link text, "Top" for start locations
    std::atomic<bool> matched{false};

    bool IsTitleLine() const;

    void SetTitle(const std::string& title);
    std::string Title() const;

private:
    mutable std::mutex mutex_;
    std::string title_;
};

}  // namespace flk
