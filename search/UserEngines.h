#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class Settings;

// Engines the user adds in "flk.ini", section "engines": one key per engine
// name, its value an address template, optionally followed by white space and
// "max_pages=N":
//     searx = https://searx.example.org/search?q={query}&format=html&pageno={page} max_pages=3
// {query} is the encoded query, {page} the result page number from 1, and
// {start} the number of results before the page (10 a page). They are
// harvested like the built-in result-page engines.
struct UserEngine {
    std::string name;
    std::string urlTemplate;
    int maxPages = 0;  // 0: as many pages as "Max pages amount:" asks for
};

inline constexpr char kUserEnginesSection[] = "engines";
// Results on one page of a user engine, for {start}.
inline constexpr int kUserEngineResultsPerPage = 10;

// The engines of the section in file order; entries without "{query}" or
// without a web address are skipped, as they could never search.
std::vector<UserEngine> ReadUserEngines(const Settings& settings);

// One value of the section, parsed; false when it cannot be an engine.
bool ParseUserEngine(std::string_view name, std::string_view value, UserEngine& engine);

// The result-page addresses of a run. A template without {page} and
// {start} has one page; else one page per kUserEngineResultsPerPage of
// maxPages, capped by the engine's own limit and by kMaxResultPages.
std::vector<std::string> BuildUserEngineUrls(const UserEngine& engine, std::string_view encodedQuery,
                                             int maxPages);

// "//host[:port]" of the engine, lower-cased: links back into the engine
// itself never become start locations.
std::string UserEngineExclusion(const UserEngine& engine);

}  // namespace flk
