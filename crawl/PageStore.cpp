#include "crawl/PageStore.h"

namespace flk {

bool PageStore::Add(StoredPage page) {
    const std::size_t size = Footprint(page);
    std::lock_guard<std::mutex> lock(mu_);
    if (pages_.size() >= pageLimit_ || size > byteLimit_ - bytes_) {
        ++dropped_;
        return false;
    }
    pages_.push_back(std::make_shared<const StoredPage>(std::move(page)));
    bytes_ += size;
    return true;
}

std::vector<std::shared_ptr<const StoredPage>> PageStore::Snapshot() const {
    std::lock_guard<std::mutex> lock(mu_);
    return pages_;
}

void PageStore::Clear() {
    std::vector<std::shared_ptr<const StoredPage>> old;
    {
        std::lock_guard<std::mutex> lock(mu_);
        old.swap(pages_);
        bytes_ = 0;
        dropped_ = 0;
    }
    // Pages still in a running search's snapshot live on until it ends.
}

std::size_t PageStore::Count() const {
    std::lock_guard<std::mutex> lock(mu_);
    return pages_.size();
}

std::size_t PageStore::Bytes() const {
    std::lock_guard<std::mutex> lock(mu_);
    return bytes_;
}

std::size_t PageStore::Dropped() const {
    std::lock_guard<std::mutex> lock(mu_);
    return dropped_;
}

}  // namespace flk
