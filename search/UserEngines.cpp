#include "search/UserEngines.h"

#include "search/EngineRequests.h"
#include "settings/Settings.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

namespace {

constexpr std::string_view kMaxPagesOption = "max_pages=";

void ReplaceAll(std::string& text, std::string_view what, const std::string& with) {
    for (std::size_t pos = 0; (pos = text.find(what, pos)) != std::string::npos; pos += with.size())
        text.replace(pos, what.size(), with);
}

bool IsWebAddress(std::string_view text) {
    const std::string lower = ToLowerAscii(text);
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

}  // namespace

bool ParseUserEngine(std::string_view name, std::string_view value, UserEngine& engine) {
    engine = UserEngine{};
    engine.name = TrimCopy(std::string(name));
    std::string text = TrimCopy(std::string(value));
    const std::size_t space = text.find_first_of(" \t");
    if (space != std::string::npos) {
        const std::string option = TrimCopy(text.substr(space));
        text.resize(space);
        if (option.rfind(kMaxPagesOption, 0) != 0) return false;
        engine.maxPages = std::max(0, DecimalFromText(option.substr(kMaxPagesOption.size())));
    }
    engine.urlTemplate = text;
    return !engine.name.empty() && IsWebAddress(text) && text.find("{query}") != std::string::npos;
}

std::vector<UserEngine> ReadUserEngines(const Settings& settings) {
    std::vector<UserEngine> engines;
    for (const auto& [key, value] : settings.GetProfileSection(kUserEnginesSection)) {
        UserEngine engine;
        if (ParseUserEngine(key, value, engine)) engines.push_back(std::move(engine));
    }
    return engines;
}

std::vector<std::string> BuildUserEngineUrls(const UserEngine& engine, std::string_view encodedQuery,
                                             int maxPages) {
    std::vector<std::string> urls;
    const bool paged = engine.urlTemplate.find("{page}") != std::string::npos ||
                       engine.urlTemplate.find("{start}") != std::string::npos;
    int pages = paged ? (std::max(maxPages, 1) + kUserEngineResultsPerPage - 1) / kUserEngineResultsPerPage : 1;
    if (engine.maxPages > 0) pages = std::min(pages, engine.maxPages);
    pages = std::min(pages, kMaxResultPages);
    const std::string query(encodedQuery);
    for (int page = 1; page <= pages; ++page) {
        std::string url = engine.urlTemplate;
        ReplaceAll(url, "{query}", query);
        ReplaceAll(url, "{page}", std::to_string(page));
        ReplaceAll(url, "{start}", std::to_string((page - 1) * kUserEngineResultsPerPage));
        urls.push_back(std::move(url));
    }
    return urls;
}

std::string UserEngineExclusion(const UserEngine& engine) {
    const std::string& t = engine.urlTemplate;
    const std::size_t scheme = t.find("://");
    if (scheme == std::string::npos) return std::string();
    const std::size_t begin = scheme + 3;
    const std::size_t end = t.find_first_of("/?#", begin);
    return "//" + ToLowerAscii(t.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
}

}  // namespace flk
