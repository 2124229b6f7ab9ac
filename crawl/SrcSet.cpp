#include "crawl/SrcSet.h"

#include "platform/TextUtil.h"

#include <algorithm>
#include <charconv>

namespace flk {

namespace {

bool ParseDescriptor(std::string_view d, SrcSetCandidate& c) {
    if (d.empty()) return true;
    const char unit = static_cast<char>(d.back() | 0x20);
    if (unit != 'w' && unit != 'x') return false;
    d.remove_suffix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(d.data(), d.data() + d.size(), value);
    if (ec != std::errc() || end != d.data() + d.size() || !(value > 0)) return false;
    c.size = value;
    c.width = unit == 'w';
    return true;
}

}  // namespace

std::vector<SrcSetCandidate> ParseSrcSet(std::string_view value) {
    std::vector<SrcSetCandidate> out;
    std::size_t i = 0;
    const std::size_t n = value.size();
    while (i < n) {
        while (i < n && (IsSpace(value[i]) || value[i] == ',')) ++i;
        const std::size_t urlBegin = i;
        while (i < n && !IsSpace(value[i])) ++i;
        std::string_view url = value.substr(urlBegin, i - urlBegin);
        bool ended = false;
        // "a.jpg," with no descriptor: the comma belongs to the list.
        while (!url.empty() && url.back() == ',') {
            url.remove_suffix(1);
            ended = true;
        }
        if (url.empty()) continue;
        std::string_view descriptor;
        if (!ended) {
            while (i < n && IsSpace(value[i])) ++i;
            const std::size_t d = i;
            while (i < n && value[i] != ',') ++i;
            descriptor = Trim(value.substr(d, i - d));
        }
        SrcSetCandidate c{url};
        // Inline "data:" pictures are placeholders of lazy loading, never the
        // picture itself.
        if (StartsWithNoCase(url, "data:")) continue;
        if (ParseDescriptor(descriptor, c)) out.push_back(c);
    }
    return out;
}

std::vector<SrcSetCandidate> LargestFirst(std::vector<SrcSetCandidate> candidates) {
    std::stable_sort(candidates.begin(), candidates.end(), [](const SrcSetCandidate& a, const SrcSetCandidate& b) {
        if (a.width != b.width) return a.width;
        return a.size > b.size;
    });
    return candidates;
}

}  // namespace flk
