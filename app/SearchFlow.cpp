#include "app/SearchFlow.h"

#include "settings/Settings.h"
#include "session/CrawlerSession.h"
#include "net/RequestTimeLimit.h"
#include "platform/TextUtil.h"
#include "search/EngineSearch.h"
#include "search/FetchCategory.h"
#include "search/SafetyCheck.h"
#include "search/SafetyDialogs.h"
#include "update/ServerQueries.h"
#include "update/ServerRequests.h"
#include "update/UpdateData.h"

#include <thread>

namespace flk {

namespace {

bool Stopped(const SearchFlowContext& c) { return c.stop && c.stop->load(); }

// The engine run's hand-over: the accepted addresses, each followed by ";".
struct CollectAddresses : FoundAddressReceiver {
    std::string addresses;
    void TakeFoundAddresses(const std::string&, const std::string& found, HandOverMode) override {
        addresses = found;
    }
};

void ReportUsage(SearchFlowContext& c, const std::string& text, bool isWord) {
    if (c.server) c.server->Queue(BuildUsageQuery(text, isWord));
}

GoResult StartCrawl(SearchFlowContext& c, const std::string& locations, std::string& detail) {
    if (TrimCopy(locations).empty()) {
        detail = "no start locations were found";
        return GoResult::NothingFound;
    }
    if (!c.session.Start(locations)) {
        detail = "the crawl could not be started";
        return GoResult::Failed;
    }
    return GoResult::Crawling;
}

GoResult GuideSearch(SearchFlowContext& c, const std::string& category, std::string& detail) {
    Settings& settings = c.session.GetSettings();
    UpdateData data(c.session.Update(), settings);
    data.Load();
    const std::string page = data.GetCategoryPageUrl(category);
    if (page.empty()) {
        detail = "the guide has no page for \"" + category + "\"";
        return GoResult::Failed;
    }
    FetchCategory fetch(page, c.session.Internet(), WithRequestTimeLimit(c.session.Network(), settings));
    fetch.Start();
    while (fetch.Active()) {
        if (Stopped(c)) fetch.RequestStop();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    fetch.Join();
    if (Stopped(c)) return GoResult::Stopped;
    if (!fetch.PageRead()) {
        detail = "the guide page " + page + " could not be read";
        return GoResult::Failed;
    }
    std::string locations;
    for (const std::string& l : fetch.Pick().StartLocations()) locations += l + ";";
    const GoResult result = StartCrawl(c, locations, detail);
    if (result == GoResult::Crawling) ReportUsage(c, category, false);
    return result;
}

GoResult EngineRun(SearchFlowContext& c, const GoRequest& request, const std::string& query, std::string& detail) {
    Settings& settings = c.session.GetSettings();
    settings.Set(keys::SearchEngineLine, query);
    CollectAddresses found;
    UnattendedCategoryDialog directory(
        CategoryContext{settings, c.session.Update(), c.session.Internet(), c.session.Network(), c.categories},
        c.stop);
    const bool userChooses = c.categoryWindow && settings.Get(keys::ViewCategoriesTree) == 1;
    EngineSearch search(EngineSearchContext{settings, c.session.Update(), c.session.Internet(), c.session.Network(),
                                            c.session.GetNotifier(), found,
                                            userChooses ? *c.categoryWindow : static_cast<EngineSearchUi&>(directory)});
    search.Open(query, false);
    if (!request.engine.empty()) {
        const auto& engines = search.Engines();
        int index = -1;
        for (std::size_t i = 0; i < engines.size(); ++i)
            if (EqualsNoCase(engines[i], request.engine)) index = static_cast<int>(i);
        if (index < 0) {
            detail = "unknown engine \"" + request.engine + "\"; the engines are:";
            for (const auto& e : engines) detail += " \"" + e + "\"";
            return GoResult::Failed;
        }
        search.GetFields().engineIndex = index;
    }
    search.GetFields().whenFinished.SetStartCrawling(true);
    const bool started = search.Go();
    if (Stopped(c)) return GoResult::Stopped;
    if (!started && search.Result() == 0) {
        detail = "the search was not started";
        return GoResult::Failed;
    }
    while (search.Result() == 0) {
        if (Stopped(c)) search.Cancel();
        search.Tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (Stopped(c)) return GoResult::Stopped;
    if (found.addresses.empty()) {
        detail = "the search engines found no pages for \"" + query + "\"";
        return GoResult::NothingFound;
    }
    const GoResult result = StartCrawl(c, found.addresses, detail);
    if (result == GoResult::Crawling) ReportUsage(c, query, true);
    return result;
}

}  // namespace

std::string CollapseQuerySpaces(std::string_view query) {
    std::string out;
    for (char ch : Trim(query)) {
        if (ch == ' ' && !out.empty() && out.back() == ' ') continue;
        out += ch;
    }
    return out;
}

GoResult RunGo(SearchFlowContext& c, const GoRequest& request, std::string& detail) {
    const std::string query = CollapseQuerySpaces(request.query);
    if (query.empty()) {
        c.safety.ShowMessage(kEmptySearchText, kEmptySearchCaption, MessageIcon::Information);
        detail = kEmptySearchText;
        return GoResult::Refused;
    }
    if (request.guide) return GuideSearch(c, query, detail);

    Settings& settings = c.session.GetSettings();
    if (CheckSearchAllowed(settings, c.safety, UpdateDataAdultWords(c.session.Update(), settings), query) != 0) {
        detail = "the safety level does not allow this search";
        return GoResult::Refused;
    }
    // A typed site address is crawled as it is: every ";"-separated part is
    // a start location.
    if (IsSiteAddressQuery(query)) return StartCrawl(c, query + ";", detail);
    return EngineRun(c, request, query, detail);
}

}  // namespace flk
