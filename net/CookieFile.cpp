#include "net/CookieFile.h"

#include "platform/TextUtil.h"

#include <filesystem>

namespace flk {

namespace {

constexpr std::size_t kLongestFile = 4u << 20;
constexpr char kHttpOnly[] = "#HttpOnly_";

bool IsFlag(const std::string& field) { return field == "TRUE" || field == "FALSE"; }

bool IsNumber(const std::string& field) {
    if (field.empty() || field.size() > 19) return false;
    for (char c : field)
        if (c < '0' || c > '9') return false;
    return true;
}

// Why a cookie line has the wrong shape; empty when it is fine.
std::string LineFault(const std::string& line, long long& expiry) {
    const std::vector<std::string> f = Split(line, "\t");
    // A cookie without a value may lose its last, empty field.
    if (f.size() != 7 && f.size() != 6) return "not seven fields separated by tabs";
    std::string domain = f[0];
    if (domain.rfind(kHttpOnly, 0) == 0) domain.erase(0, sizeof kHttpOnly - 1);
    if (domain.empty()) return "no domain";
    if (!IsFlag(f[1]) || !IsFlag(f[3])) return "the second and fourth fields must be TRUE or FALSE";
    if (f[2].empty() || f[2][0] != '/') return "the path must begin with \"/\"";
    if (!IsNumber(f[4])) return "the expiry must be a number of seconds";
    if (f[5].empty()) return "no cookie name";
    expiry = std::stoll(f[4]);
    return "";
}

CookieFileRead& Refused(CookieFileRead& r, std::string fault) {
    r.fault = std::move(fault);
    r.problem = r.fault + "; the crawl goes on without cookies";
    return r;
}

}  // namespace

CookieFileRead ReadCookieFile(const std::string& path, std::time_t now) {
    CookieFileRead r;
    const std::string where = "cookies file \"" + path + "\"";
    std::error_code ec;
    const bool plain = std::filesystem::is_regular_file(path, ec);
    const auto size = plain ? std::filesystem::file_size(path, ec) : 0;
    std::string text;
    if (!plain || ec || (size <= kLongestFile && !ReadWholeFile(path, text))) {
        return Refused(r, where + " cannot be read");
    }
    if (size > kLongestFile) {
        return Refused(r, where + " is too large for a cookies file");
    }
    std::size_t number = 0;
    for (std::string line : Split(text, "\n")) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (TrimCopy(line).empty()) continue;
        if (line[0] == '#' && line.rfind(kHttpOnly, 0) != 0) continue;
        long long expiry = 0;
        const std::string fault = LineFault(line, expiry);
        if (!fault.empty()) {
            r.lines.clear();
            return Refused(r, where + ", line " + std::to_string(number) + ": " + fault +
                                  " (not the cookies.txt format)");
        }
        if (expiry != 0 && expiry < static_cast<long long>(now)) continue;
        r.lines.push_back(line);
    }
    r.ok = true;
    return r;
}

}  // namespace flk
