#include "crawl/CrawlItem.h"

#include "crawl/FoundItems.h"

namespace flk {

bool CrawlItem::IsTitleLine() const { return flk::IsTitleLine(url.Full()); }

void CrawlItem::SetTitle(const std::string& title) {
    std::lock_guard<std::mutex> lock(mutex_);
    title_ = title;
}

std::string CrawlItem::Title() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return title_;
}

}  // namespace flk
