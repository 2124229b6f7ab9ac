#include "crawl/RobotsRules.h"

#include "platform/TextUtil.h"

#include <cmath>

namespace flk {

namespace {

// A Crawl-delay longer than this is taken as this: a site asking for an
// hour between pages would otherwise hold the crawl for days.
constexpr double kLongestDelaySeconds = 30.0;

struct Line {
    std::string field;  // lower case
    std::string value;
};

bool SplitLine(std::string_view raw, Line& out) {
    const std::size_t hash = raw.find('#');
    if (hash != std::string_view::npos) raw = raw.substr(0, hash);
    const std::size_t colon = raw.find(':');
    if (colon == std::string_view::npos) return false;
    out.field = ToLowerAscii(Trim(raw.substr(0, colon)));
    out.value = TrimCopy(raw.substr(colon + 1));
    return !out.field.empty();
}

// "Findlark/2.0" and "findlark" name us; the token ends at "/" or a space.
bool NamesUs(std::string_view agent) {
    const std::size_t end = agent.find_first_of("/ \t");
    return EqualsNoCase(agent.substr(0, end), kRobotsAgent);
}

std::chrono::milliseconds DelayOf(const std::string& value) {
    char* end = nullptr;
    const double seconds = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !std::isfinite(seconds) || seconds <= 0) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(static_cast<long long>(std::min(seconds, kLongestDelaySeconds) * 1000));
}

}  // namespace

bool RobotsPatternMatches(std::string_view pattern, std::string_view path) {
    bool anchored = false;
    if (!pattern.empty() && pattern.back() == '$') {
        anchored = true;
        pattern.remove_suffix(1);
    }
    // Greedy wildcard matching with one back-up point: linear for patterns
    // without "*", at most pattern times path otherwise.
    std::size_t p = 0, s = 0;
    std::size_t starP = std::string_view::npos, starS = 0;
    for (;;) {
        if (p == pattern.size()) {
            if (!anchored || s == path.size()) return true;
        } else if (pattern[p] == '*') {
            starP = p++;
            starS = s;
            continue;
        } else if (s < path.size() && pattern[p] == path[s]) {
            ++p;
            ++s;
            continue;
        }
        if (starP == std::string_view::npos || starS >= path.size()) return false;
        p = starP + 1;
        s = ++starS;
    }
}

RobotsRules RobotsRules::DisallowAll() {
    RobotsRules r;
    r.rules_.push_back({"/", false});
    return r;
}

RobotsRules RobotsRules::Parse(std::string_view text) {
    RobotsRules ours, anyone;
    bool foundOurs = false, foundAnyone = false;
    // The group being read: which agents it names, and whether its agent
    // lines are over (a rule line ends them).
    bool groupOurs = false, groupAnyone = false, inRules = true;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        Line line;
        if (SplitLine(text.substr(start, end - start), line)) {
            if (line.field == "user-agent") {
                if (inRules) groupOurs = groupAnyone = false;
                inRules = false;
                if (line.value == "*") groupAnyone = foundAnyone = true;
                else if (NamesUs(line.value)) groupOurs = foundOurs = true;
            } else if (line.field == "allow" || line.field == "disallow" || line.field == "crawl-delay") {
                inRules = true;
                for (RobotsRules* target : {groupOurs ? &ours : nullptr, groupAnyone ? &anyone : nullptr}) {
                    if (!target) continue;
                    if (line.field == "crawl-delay") target->delay_ = DelayOf(line.value);
                    else if (!line.value.empty()) target->rules_.push_back({line.value, line.field == "allow"});
                }
            }
        }
        start = end + 1;
    }
    if (foundOurs) return ours;
    if (foundAnyone) return anyone;
    return RobotsRules();
}

bool RobotsRules::Allows(std::string_view pathAndQuery) const {
    if (pathAndQuery.empty()) pathAndQuery = "/";
    if (pathAndQuery == "/robots.txt") return true;
    const Rule* best = nullptr;
    for (const Rule& rule : rules_) {
        if (!RobotsPatternMatches(rule.pattern, pathAndQuery)) continue;
        if (!best || rule.pattern.size() > best->pattern.size() ||
            (rule.pattern.size() == best->pattern.size() && rule.allow && !best->allow))
            best = &rule;
    }
    return !best || best->allow;
}

}  // namespace flk
