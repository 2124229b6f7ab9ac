#include "search/FetchCategory.h"

#include "net/BodyLines.h"
#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"
#include "search/SearchEngineThread.h"

#include <chrono>
#include <unordered_set>

namespace flk {

namespace {

bool FollowableScheme(std::string_view url) {
    return IsWebAddress(url) || StartsWithNoCase(url, "ftp://") || StartsWithNoCase(url, "file://");
}

// The value of the href attribute inside one tag's text, or false.
bool HrefValue(std::string_view tag, std::string_view lowerTag, std::string_view& value) {
    std::size_t pos = 0;
    while ((pos = lowerTag.find("href", pos)) != std::string_view::npos) {
        std::size_t at = pos + 4;
        while (at < tag.size() && IsSpace(tag[at])) ++at;
        if (at >= tag.size() || tag[at] != '=') {
            pos += 4;
            continue;
        }
        ++at;
        while (at < tag.size() && IsSpace(tag[at])) ++at;
        if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
            const char quote = tag[at];
            const std::size_t end = tag.find(quote, at + 1);
            value = tag.substr(at + 1, (end == std::string_view::npos ? tag.size() : end) - at - 1);
        } else {
            std::size_t end = at;
            while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '>') ++end;
            value = tag.substr(at, end - at);
        }
        return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> ExtractAnchorLinks(std::string_view html, std::string_view pageUrl,
                                            std::size_t maxLinks) {
    const std::string lower = ToLowerAscii(html);
    std::vector<std::string> links;
    std::unordered_set<std::string> seen;
    std::size_t pos = 0;
    while (links.size() < maxLinks && (pos = lower.find("<a", pos)) != std::string::npos) {
        const std::size_t nameEnd = pos + 2;
        if (nameEnd < lower.size() && !IsSpace(lower[nameEnd])) {
            pos = nameEnd;  // "<abbr", "<area" and the like
            continue;
        }
        std::size_t end = lower.find('>', nameEnd);
        if (end == std::string::npos) end = lower.size();
        std::string_view value;
        if (HrefValue(html.substr(nameEnd, end - nameEnd),
                      std::string_view(lower).substr(nameEnd, end - nameEnd), value)) {
            const std::string_view link = Trim(value);
            if (!link.empty() && link.front() != '#') {
                std::string url = JoinUrl(link, pageUrl);
                if (!url.empty() && SchemeLength(url) == 0) url = WithDefaultScheme(url);
                if (FollowableScheme(url) && seen.insert(url).second) links.push_back(std::move(url));
            }
        }
        pos = end;
    }
    return links;
}

std::vector<std::string> PickAtRandom(const std::vector<std::string>& items, std::size_t count,
                                      std::mt19937& rng) {
    if (items.size() <= count) return items;
    std::vector<std::size_t> order(items.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::vector<std::string> picked;
    picked.reserve(count);
    // The first count steps of a Fisher-Yates shuffle.
    for (std::size_t i = 0; i < count; ++i) {
        std::uniform_int_distribution<std::size_t> pick(i, order.size() - 1);
        std::swap(order[i], order[pick(rng)]);
        picked.push_back(items[order[i]]);
    }
    return picked;
}

std::vector<std::string> GuidePick::StartLocations() const { return pages.empty() ? others : pages; }

FetchCategory::FetchCategory(std::string categoryPageUrl, InternetShare& internet, InternetOptions network,
                             std::uint32_t seed)
    : WorkerThread(kClassName),
      url_(std::move(categoryPageUrl)),
      internet_(internet),
      network_(std::move(network)),
      rng_(seed ? seed
                : static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count())) {}

FetchCategory::~FetchCategory() {
    RequestStop();
    Join();
}

bool FetchCategory::ReadPage(std::string& html) {
    const InternetSession session(internet_, kSearchAgent, network_);
    auto request = session.OpenRequest(url_, &StopFlag());
    if (!request || !request->Send() || request->StatusCode() != 200) return false;
    ReadBodyLines(*request, html, kEnginePageCap, LineJoin::NewlineAfterEach, StopFlag());
    // A page cut off (the time limit, a dropped connection) is not read.
    const bool failed = request->Failed();
    request->Close();
    return !StopRequested() && !failed;
}

void FetchCategory::Run() {
    std::string html;
    if (!IsWebAddress(url_) || !ReadPage(html)) return;
    std::vector<std::string> pages;
    std::vector<std::string> others;
    for (std::string& link : ExtractAnchorLinks(html, url_))
        (ParsedUrl(link).Kind() == kKindHtml ? pages : others).push_back(std::move(link));
    pick_.pages = PickAtRandom(pages, kPickCount, rng_);
    pick_.others = PickAtRandom(others, kPickCount, rng_);
    pageRead_.store(true);
}

}  // namespace flk
