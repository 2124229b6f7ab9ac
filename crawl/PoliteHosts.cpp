#include "crawl/PoliteHosts.h"

#include "crawl/PageFetcher.h"
#include "net/ParsedUrl.h"
#include "net/RequestQueue.h"
#include "net/UrlSplit.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {
constexpr int kRobotsRedirects = 5;
}  // namespace

bool SplitOrigin(const std::string& url, std::string& origin, std::string& pathAndQuery) {
    UrlParts parts;
    if (!SplitUrl(url, parts)) return false;
    if (parts.service != UrlService::Http && parts.service != UrlService::Https) return false;
    origin = ToLowerAscii(parts.scheme) + "://" + ToLowerAscii(parts.server) + ":" + std::to_string(parts.port);
    pathAndQuery = parts.object;
    return true;
}

PoliteHosts::PoliteHosts(InternetShare& internet, InternetOptions network, std::string agent, bool robots)
    : internet_(internet), network_(std::move(network)), agent_(std::move(agent)), robots_(robots) {}

bool PoliteHosts::Fetch(const std::string& origin, const std::atomic<bool>& stop, RobotsRules& rules) const {
    const InternetSession session(internet_, agent_, network_);
    std::string url = origin + "/robots.txt";
    for (int hop = 0; hop <= kRobotsRedirects; ++hop) {
        auto request = session.OpenRequest(url, &stop);
        if (!request) break;
        request->SetBodyCap(kRobotsCap);
        const bool answered = request->Send();
        if (stop.load()) return false;
        const int status = request->StatusCode();
        if (!answered || status == 0 || status == 429 || status >= 500) {
            rules = RobotsRules::DisallowAll();
            return true;
        }
        if (IsRedirect(status)) {
            std::string location;
            if (!FindHeaderNoCase(request->RawHeaders(), "Location", location)) break;
            url = NormaliseUrl(JoinUrl(location, url));
            if (url.empty()) break;
            continue;
        }
        if (status < 200 || status >= 300) break;  // no robots.txt
        std::string text;
        char block[16 * 1024];
        while (text.size() < kRobotsCap) {
            const std::size_t n = request->Read(block, sizeof block);
            if (n == 0) break;
            text.append(block, n);
        }
        if (stop.load()) return false;
        if (request->Failed()) {
            rules = RobotsRules::DisallowAll();  // cut off: its rules are unknown
            return true;
        }
        if (text.size() > kRobotsCap) text.resize(kRobotsCap);
        rules = RobotsRules::Parse(text);
        return true;
    }
    rules = RobotsRules::AllowAll();
    return true;
}

PoliteHosts::Site* PoliteHosts::Ready(const std::string& origin, const std::atomic<bool>& stop,
                                      std::unique_lock<std::mutex>& lock) {
    for (;;) {
        if (stop.load()) return nullptr;
        std::unique_ptr<Site>& slot = sites_[origin];
        if (!slot) slot = std::make_unique<Site>();
        Site* site = slot.get();
        if (site->ready) return site;
        if (!robots_) {
            site->ready = true;
            return site;
        }
        if (site->fetching) {
            changed_.wait(lock, [&] { return !site->fetching || stop.load(); });
            continue;
        }
        site->fetching = true;
        lock.unlock();
        RobotsRules rules;
        bool fetched = false;
        try {
            fetched = Fetch(origin, stop, rules);
        } catch (...) {
            rules = RobotsRules::DisallowAll();
            fetched = true;
        }
        lock.lock();
        site->fetching = false;
        if (fetched) {
            site->rules = std::move(rules);
            site->ready = true;
        }
        changed_.notify_all();
        if (!fetched) return nullptr;  // stopped; asked again by the next crawl
        return site;
    }
}

PoliteHosts::Verdict PoliteHosts::Check(const std::string& url, const std::atomic<bool>& stop, bool* first) {
    if (first) *first = false;
    std::string origin, path;
    if (!robots_ || !SplitOrigin(url, origin, path)) return Verdict::Allowed;
    std::unique_lock<std::mutex> lock(lock_);
    Site* site = Ready(origin, stop, lock);
    if (!site) return Verdict::Stopped;
    if (site->rules.Allows(path)) return Verdict::Allowed;
    if (first && !site->refusalNoted) *first = true;
    site->refusalNoted = true;
    return Verdict::Disallowed;
}

bool PoliteHosts::WaitUntil(Clock::time_point when, const std::atomic<bool>& stop,
                            std::unique_lock<std::mutex>& lock) {
    changed_.wait_until(lock, when, [&] { return stop.load() || Clock::now() >= when; });
    return !stop.load();
}

bool PoliteHosts::WaitTurn(const std::string& url, const std::atomic<bool>& stop) {
    std::string origin, path;
    if (!robots_ || !SplitOrigin(url, origin, path)) return !stop.load();
    std::unique_lock<std::mutex> lock(lock_);
    Site* site = Ready(origin, stop, lock);
    if (!site) return false;
    const auto delay = site->rules.CrawlDelay();
    if (delay.count() <= 0) return true;
    // Each request takes the next free moment, so waiting workers go one
    // delay apart in the order they came.
    const Clock::time_point turn = std::max(Clock::now(), site->next);
    site->next = turn + delay;
    return WaitUntil(turn, stop, lock);
}

bool PoliteHosts::Wait(std::chrono::milliseconds d, const std::atomic<bool>& stop) {
    std::unique_lock<std::mutex> lock(lock_);
    return WaitUntil(Clock::now() + d, stop, lock);
}

void PoliteHosts::WakeAll() {
    { std::lock_guard<std::mutex> lock(lock_); }
    changed_.notify_all();
    internet_.Slots().WakeAll();
}

}  // namespace flk
