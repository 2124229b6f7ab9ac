#include "search/DirectoryReply.h"

namespace flk {

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = text.find(from, pos);
        if (at == std::string::npos) break;
        out.append(text, pos, at - pos);
        out.append(to);
        pos = at + from.size();
    }
    out.append(text, pos, std::string::npos);
    text.swap(out);
}

}  // namespace

std::string CleanCategoryPath(std::string_view raw) {
    if (raw.starts_with("... - ")) raw.remove_prefix(6);
    std::string path(raw);
    ReplaceAll(path, " &amp; ", " & ");
    ReplaceAll(path, "&amp;", " & ");
    ReplaceAll(path, " - ", "/");
    return path;
}

std::size_t ParseDirectoryReply(std::string_view body, std::vector<DirectoryRecord>& out, std::size_t room) {
    std::size_t added = 0;
    bool inRecord = false;
    std::size_t pos = 0;
    while (pos < body.size()) {
        std::size_t nl = body.find('\n', pos);
        if (nl == std::string_view::npos) nl = body.size();
        std::string_view line = body.substr(pos, nl - pos);
        pos = nl + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() < 2 || line[1] != '=') continue;
        const std::string_view value = line.substr(2, kMaxDirectoryValue);
        if (line[0] == 'U') {
            if (added >= room) break;
            out.emplace_back();
            out.back().url = std::string(value);
            ++added;
            inRecord = true;
            continue;
        }
        if (!inRecord) continue;
        DirectoryRecord& r = out.back();
        switch (line[0]) {
            case 'T':
                r.title = std::string(value);
                break;
            case 'R':
                r.text = std::string(value);
                break;
            case 'E':
                r.extra = std::string(value);
                break;
            case 'F':
                r.path = CleanCategoryPath(value);
                break;
            default:
                break;
        }
    }
    return added;
}

std::string DirectoryStatusText(int code) {
    std::string kind;
    if (code >= 400 && code <= 499) {
        kind = "Request error";
        if (code == 400)
            kind += ": Unintelligble request";
        else if (code == 404)
            kind += ": Requested URL not found";
        else if (code == 405)
            kind += ": Server does not support requested method";
    } else if (code >= 500 && code <= 599) {
        kind = "Server error";
        if (code == 500)
            kind += ": Unknown server error";
        else if (code == 503)
            kind += ": Server capacity reached";
    }
    return "Query status code: " + std::to_string(code) + " (" + kind + ")";
}

}  // namespace flk
