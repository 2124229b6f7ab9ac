#include "lists/ProjectFile.h"

#include "lists/ListHelpers.h"
#include "lists/PageTree.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

// The value after a field name up to the next "{", trimmed.
std::optional<std::string> FieldValue(std::string_view body, std::string_view name) {
    const std::size_t at = body.find(name);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = body.substr(at + name.size());
    const std::size_t end = rest.find('{');
    if (end != std::string_view::npos) rest = rest.substr(0, end);
    return TrimCopy(rest);
}

}  // namespace

std::string TreeBlock(const PageTrees& trees) {
    return "\r\n\r\n" + std::string(kTreeMarker) + trees.SaveBlock();
}

bool LoadTreeBlock(PageTrees& trees, std::string_view projectText) {
    std::string_view body;
    if (!FindBlock(projectText, kTreeMarker, body)) return false;
    trees.LoadBlock(std::string(body));
    return true;
}

std::string MainDataBlock(const ProjectMainData& data) {
    // The start location is free text: keep the block's own markers out of it.
    std::string site = ProtectCell(data.lastSite);
    for (char& c : site)
        if (c == '{') c = '(';
    return "\r\n\r\n" + std::string(kMainDataMarker) + "\r\n{IsOneSite}" + (data.oneSite ? "1" : "0") +
           "{LastSite}" + site;
}

MainDataRead ReadMainData(std::string_view projectText) {
    MainDataRead read;
    std::string_view body;
    if (!FindBlock(projectText, kMainDataMarker, body)) return read;
    read.found = true;
    if (auto one = FieldValue(body, "{IsOneSite}")) read.oneSite = *one == "1";
    read.lastSite = FieldValue(body, "{LastSite}");
    return read;
}

std::string JoinProjectLines(std::string_view fileBytes) {
    std::string out;
    out.reserve(fileBytes.size());
    for (std::size_t i = 0; i < fileBytes.size(); ++i) {
        const char c = fileBytes[i];
        if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') {
            ++i;  // a CR LF pair is one line end
            continue;
        }
        if (c == '\n') continue;
        out += c;
    }
    return out;
}

bool WriteProjectFile(const std::string& path, const std::string& text) { return WriteTextModeFile(path, text); }

std::string ReadProjectFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return "";
    return JoinProjectLines(bytes);
}

}  // namespace flk
