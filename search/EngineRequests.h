#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class Settings;

// Engine names with a request format of their own; every other name
// (the directory and engines added by update data) goes through the
// category search.
namespace engine_names {
inline constexpr const char* kAltavista = "Altavista";
inline constexpr const char* kWebCrawler = "Web crawler";
inline constexpr const char* kHotBot = "HotBot";
// The directory's request templates are always this engine's.
inline constexpr const char* kDirectory = "Looksmart";
}  // namespace engine_names

enum class EngineKind { Altavista, WebCrawler, HotBot, Directory };

// The kind by the engine list's text, compared exactly.
EngineKind EngineKindOf(std::string_view name);

// "Searching the web using Altavista..." and the like; the directory's text
// names "Yahoo" whatever engine was chosen.
std::string SearchingStatus(EngineKind kind);

// Base addresses ("scheme://host[:port]", no trailing "/") of the outside
// services, from the [hosts] configuration. A host written without a scheme
// is reached over "http://".
struct EngineHosts {
    std::string altavista;
    std::string webCrawler;
    std::string hotBot;
    std::string directory;       // the directory site's root, for relative category links
    std::string webCrawlerHost;  // the configured WebCrawler host as written
    std::string booksellerFragment;

    static EngineHosts FromSettings(const Settings& settings);
};

// One request address per result page. encodedQuery is already encoded
// (EncodeQueryText). Never more than kMaxResultPages pages, however large
// maxPages is; the directory kind yields none (the category search
// supplies its addresses).
inline constexpr int kMaxResultPages = 200;
std::vector<std::string> BuildResultPageUrls(EngineKind kind, const EngineHosts& hosts,
                                             std::string_view encodedQuery, int maxPages);

}  // namespace flk
