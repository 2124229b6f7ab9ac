#include "search/FoundAddressFilter.h"

#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

// In the order the entries are described: an advertising network, six
// words, WebCrawler (configured), the hardware and index vendors, the
// portal's WebCrawler start page, its mail site and its corporate site, any
// Yahoo domain, a health portal, a news robot and a web magazine.
constexpr const char* kBannerNetwork = "adnetwork.example";
constexpr const char* kWords[] = {"altavista", "hotbot", "netscape", "microsoft", "looksmart", "wired"};
constexpr const char* kAfterWebCrawler[] = {
    "hardware-vendor.example", "index-vendor.example", "portal.example/webcrawler",
    "mail.portal.example",     "corp.portal.example",  ".yahoo.",
    "health-portal.example",   "newsrobot.example",    "webmagazine.example",
};

}  // namespace

std::vector<std::string> BuildExclusionList(const EngineHosts& hosts) {
    std::vector<std::string> list;
    list.emplace_back(kBannerNetwork);
    for (const char* w : kWords) list.emplace_back(w);
    list.push_back(ToLowerAscii(hosts.webCrawlerHost));
    for (const char* f : kAfterWebCrawler) list.emplace_back(f);
    return list;
}

bool IsAcceptableFoundLink(std::string_view link, const std::vector<std::string>& exclusions,
                           std::string_view booksellerFragment) {
    if (!IsWebAddress(link)) return false;
    const std::string lower = ToLowerAscii(link);
    for (const std::string& fragment : exclusions)
        // An empty fragment (an unset host) would exclude everything.
        if (!fragment.empty() && lower.find(fragment) != std::string::npos) return false;
    const std::string bookseller = ToLowerAscii(booksellerFragment);
    if (!bookseller.empty() && lower.find(bookseller) != std::string::npos &&
        lower.find("/av-search/") != std::string::npos)
        return false;
    return true;
}

FoundAddressFilter::FoundAddressFilter(const EngineHosts& hosts)
    : directoryRoot_(hosts.directory),
      bookseller_(hosts.booksellerFragment),
      exclusions_(BuildExclusionList(hosts)) {}

void FoundAddressFilter::Reset(int maxPages, bool categoryWalk, std::string runExclusion) {
    std::lock_guard<std::mutex> guard(lock_);
    runExclusion_ = std::move(runExclusion);
    maxPages_ = maxPages;
    categoryWalk_ = categoryWalk;
    walked_ = 0;
    found_.clear();
    order_.clear();
    visited_.clear();
}

FoundAddressFilter::Outcome FoundAddressFilter::Offer(std::string_view rawLink, const std::string& fromPage,
                                                      std::string* walkUrl) {
    const std::string_view link = Trim(rawLink);
    if (link.empty()) return Outcome::Ignored;

    std::lock_guard<std::mutex> guard(lock_);
    if (categoryWalk_ && link.front() == '/') {
        // A category link: followed only when it lies below the page it was
        // found on, once per run, and within the walk's budget. It is never
        // an address of its own.
        std::string url = directoryRoot_ + std::string(link);
        if (fromPage.empty() || url.find(fromPage) == std::string::npos) return Outcome::Ignored;
        if (walked_ >= kMaxWalkPages || !visited_.insert(url).second) return Outcome::Ignored;
        ++walked_;
        if (walkUrl) *walkUrl = std::move(url);
        return Outcome::WalkCategory;
    }
    if (static_cast<int>(order_.size()) >= maxPages_) return Outcome::Ignored;
    std::string key(link);
    if (found_.count(key)) return Outcome::Ignored;
    if (!IsAcceptableFoundLink(link, exclusions_, bookseller_)) return Outcome::Ignored;
    if (!runExclusion_.empty() && ToLowerAscii(link).find(runExclusion_) != std::string::npos)
        return Outcome::Ignored;
    found_.emplace(key, fromPage);
    order_.push_back(std::move(key));
    return Outcome::Recorded;
}

bool FoundAddressFilter::MarkVisited(const std::string& url) {
    std::lock_guard<std::mutex> guard(lock_);
    return visited_.insert(url).second;
}

int FoundAddressFilter::FoundCount() const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(order_.size());
}

int FoundAddressFilter::MaxPages() const {
    std::lock_guard<std::mutex> guard(lock_);
    return maxPages_;
}

std::string FoundAddressFilter::JoinedAddresses() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::string joined;
    for (const std::string& a : order_) {
        joined += a;
        joined += ';';
    }
    return joined;
}

std::vector<std::string> FoundAddressFilter::Addresses() const {
    std::lock_guard<std::mutex> guard(lock_);
    return order_;
}

std::string FoundAddressFilter::SourceOf(const std::string& address) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = found_.find(address);
    return it == found_.end() ? std::string() : it->second;
}

}  // namespace flk
