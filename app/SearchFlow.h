#pragma once
#include <atomic>
#include <string>
#include <string_view>

namespace flk {

class CategoryUi;
class CrawlerSession;
class EngineSearchUi;
class SafetyUi;
class ServerRequests;

// What the user asked for with "Go".
struct GoRequest {
    std::string query;   // keywords, a site address, or a guide category
    bool guide = false;  // the query names a guide category
    std::string engine;  // an engine by name; empty: the one last chosen
};

enum class GoResult {
    Crawling,      // start locations were found and the crawl runs
    Refused,       // empty query, or the safety rules said no
    NothingFound,  // the search found no start location
    Failed,        // a page or service could not be read
    Stopped,       // the stop flag ended the search first
};

struct SearchFlowContext {
    CrawlerSession& session;
    SafetyUi& safety;          // the safety questions and messages
    CategoryUi& categories;    // the directory's messages
    // Ends a search still running, in every phase: the directory, the
    // engines and the guide page.
    const std::atomic<bool>* stop = nullptr;
    ServerRequests* server = nullptr;         // usage reports go here when it exists
    // The category tree for the user to choose from, when "CategoriesTree"
    // asks for it; without it the categories are always chosen by themselves.
    EngineSearchUi* categoryWindow = nullptr;
};

// The query as the search uses it: trimmed, runs of spaces collapsed.
std::string CollapseQuerySpaces(std::string_view query);

// The search flow behind "Go": the safety check (keyword searches), then a
// typed site address is crawled directly, a guide category's page gives the
// start locations, and keywords go to the search engines, whose addresses
// are crawled. When a crawl starts from keywords or a category, one usage
// report goes to the maker's server. `detail` says what went wrong.
GoResult RunGo(SearchFlowContext& context, const GoRequest& request, std::string& detail);

inline constexpr char kEmptySearchText[] = "Please define your search";
inline constexpr char kEmptySearchCaption[] = "Empty search string";

}  // namespace flk
