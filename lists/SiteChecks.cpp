#include "lists/SiteChecks.h"

#include "lists/SitesList.h"
#include "platform/TextUtil.h"
#include "platform/WorkerThread.h"
#include "query/HtmlToText.h"
#include "query/LiteralPattern.h"

#include <algorithm>

namespace flk {

namespace {
constexpr char kCheckAgent[] = "Findlark";

std::vector<std::string> QueryWords(std::string_view query) {
    std::vector<std::string> words;
    std::string word;
    for (char c : ToLowerAscii(query) + " ") {
        if (IsSpace(c) || c == '"') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}
// A title as a reader sees it: the common entities as their characters,
// white space collapsed.
std::string TitleText(std::string_view raw) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&nbsp;", ' '}};
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        bool replaced = false;
        for (const auto& [name, c] : kEntities)
            if (raw.compare(i, name.size(), name) == 0) {
                out += c;
                i += name.size() - 1;
                replaced = true;
                break;
            }
        if (replaced) continue;
        const char c = IsSpace(raw[i]) ? ' ' : raw[i];
        if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    }
    return TrimCopy(out);
}

}  // namespace

SiteCheckResult CheckSitePage(std::string_view html, std::string_view query) {
    SiteCheckResult result;
    const std::string lower = ToLowerAscii(html);
    const std::size_t open = lower.find("<title");
    if (open != std::string::npos) {
        const std::size_t start = lower.find('>', open);
        const std::size_t close = start == std::string::npos ? std::string::npos : lower.find("</title>", start);
        if (close != std::string::npos) result.title = TitleText(html.substr(start + 1, close - start - 1));
    }
    const std::string text = ToLowerAscii(HtmlToText(html));
    for (const std::string& word : QueryWords(query))
        result.wordsFound += static_cast<int>(LiteralPattern(word).ForEach(text, [](std::size_t) {}));
    return result;
}

class SiteChecks::Worker : public WorkerThread {
public:
    explicit Worker(SiteChecks& owner) : WorkerThread("WebItemThrd"), owner_(owner) {}
    ~Worker() override {
        RequestStop();
        Join();
    }

protected:
    void Run() override { owner_.WorkerLoop(*this); }

private:
    SiteChecks& owner_;
};

SiteChecks::SiteChecks(SitesList& list, InternetShare& internet, InternetOptions network)
    : list_(list), internet_(internet), network_(std::move(network)) {}

SiteChecks::~SiteChecks() { Stop(); }

void SiteChecks::Start(std::string_view sites, const std::string& query) {
    Stop();
    {
        std::lock_guard<std::mutex> guard(lock_);
        query_ = query;
        for (std::size_t pos = 0, semi; (semi = sites.find(';', pos)) != std::string_view::npos; pos = semi + 1) {
            const std::string address = SiteAddressToFetch(sites.substr(pos, semi - pos));
            if (!TrimCopy(address).empty()) queue_.push_back(address);
        }
    }
    const int count = std::min<int>(kConcurrent, static_cast<int>(queue_.size()));
    for (int i = 0; i < count; ++i) {
        auto worker = std::make_unique<Worker>(*this);
        {
            std::lock_guard<std::mutex> guard(lock_);
            ++running_;
        }
        if (!worker->Start()) {
            std::lock_guard<std::mutex> guard(lock_);
            --running_;
        }
        workers_.push_back(std::move(worker));
    }
}

void SiteChecks::Stop() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        queue_.clear();
    }
    for (auto& w : workers_) w->RequestStop();
    workers_.clear();  // joins
}

int SiteChecks::Pending() const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(queue_.size()) + running_;
}

bool SiteChecks::NextAddress(std::string& address) {
    std::lock_guard<std::mutex> guard(lock_);
    if (queue_.empty()) return false;
    address = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void SiteChecks::WorkerLoop(Worker& worker) {
    std::string address;
    while (!worker.StopRequested() && NextAddress(address)) Check(worker, address);
    std::lock_guard<std::mutex> guard(lock_);
    --running_;
}

void SiteChecks::Check(Worker& worker, const std::string& address) {
    const InternetSession session(internet_, kCheckAgent, network_);
    auto request = session.OpenRequest(address, &worker.StopFlag());
    if (!request || !request->Send() || worker.StopRequested()) return;
    if (request->StatusCode() != 0 && (request->StatusCode() < 200 || request->StatusCode() > 299)) return;
    std::string body, line;
    while (!worker.StopRequested() && body.size() < kPageCap && request->ReadLine(line)) {
        body += line;
        body += '\n';
    }
    request->Close();
    if (worker.StopRequested()) return;
    const SiteCheckResult result = CheckSitePage(body, query_);
    list_.SetCheckResult(address, result.title, result.wordsFound);
}

}  // namespace flk
