#include "crawl/UrlFilter.h"

namespace flk {

UrlFilter::UrlFilter(std::string_view pattern) {
    if (pattern.empty()) pattern = "*";
    std::size_t start = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '*') continue;
        if (i > start) parts_.emplace_back(pattern.substr(start, i - start));
        parts_.emplace_back("*");
        start = i + 1;
    }
    if (start < pattern.size()) parts_.emplace_back(pattern.substr(start));
}

bool UrlFilter::MatchesFilter(std::string_view address) const {
    // Rebuild the address from what the parts consumed; it matches when
    // nothing was skipped that a "*" did not cover.
    std::string_view remaining = address;
    std::string rebuilt;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const std::string& part = parts_[i];
        if (part == "*") continue;
        std::size_t at = remaining.find(part);
        if (at == std::string_view::npos) return false;
        if (i == 0 && at != 0) return false;
        rebuilt.append(remaining.substr(0, at));
        rebuilt.append(part);
        remaining.remove_prefix(at + part.size());
    }
    if (!parts_.empty() && parts_.back() == "*") rebuilt.append(remaining);
    return rebuilt == address;
}

}  // namespace flk
