#pragma once
#include "crawl/CrawlView.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace flk {

// The pages a crawl keeps for the off-line text search, in the order they
// were stored. Crawl workers add pages while the off-line search reads a
// snapshot; pages are shared, never copied, so a snapshot costs one pointer
// per page.
//
// Memory bound: the store keeps pages while the bytes held (address, title
// and text of every page) stay within the byte limit and the number of pages
// within the page limit. A page that would pass either limit is not kept and
// is counted in Dropped(); the off-line search then covers only the pages
// kept. Defaults: 256 MiB and 100000 pages (the fetcher caps each page, so
// the page limit only matters for a crawl of many tiny pages).
class PageStore {
public:
    static constexpr std::size_t kDefaultByteLimit = std::size_t{256} << 20;
    static constexpr std::size_t kDefaultPageLimit = 100000;

    explicit PageStore(std::size_t byteLimit = kDefaultByteLimit, std::size_t pageLimit = kDefaultPageLimit)
        : byteLimit_(byteLimit), pageLimit_(pageLimit) {}

    // False when the page is not kept because of the bound.
    bool Add(StoredPage page);
    std::vector<std::shared_ptr<const StoredPage>> Snapshot() const;
    void Clear();

    std::size_t Count() const;
    std::size_t Bytes() const;
    std::size_t Dropped() const;

    static std::size_t Footprint(const StoredPage& page) {
        return page.url.size() + page.title.size() + page.text.size();
    }

private:
    const std::size_t byteLimit_;
    const std::size_t pageLimit_;
    mutable std::mutex mu_;
    std::vector<std::shared_ptr<const StoredPage>> pages_;
    std::size_t bytes_ = 0;
    std::size_t dropped_ = 0;
};

}  // namespace flk
