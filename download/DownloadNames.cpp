#include "download/DownloadNames.h"

#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

// Room for " (NNN)" and ".part.url" within the usual 255-byte name limit.
constexpr std::size_t kMaxNameBytes = 200;

}  // namespace

std::string DownloadFileName(std::string_view url) {
    const std::size_t cut = url.find_last_of("/\\");
    const std::string_view raw = cut == std::string_view::npos ? url : url.substr(cut + 1);
    std::string name;
    for (const char c : raw)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) name += c;
    name = TrimCopy(name);
    if (name == "." || name == "..") return "";
    if (name.size() > kMaxNameBytes) {
        const std::size_t dot = name.rfind('.');
        const std::size_t extLen = dot != std::string::npos && dot > 0 ? name.size() - dot : 0;
        if (extLen > 0 && extLen < 16)
            name = name.substr(0, kMaxNameBytes - extLen) + name.substr(dot);
        else
            name.resize(kMaxNameBytes);
    }
    return name;
}

std::string DownloadTarget(const std::string& folder, const std::string& name) { return JoinPath(folder, name); }

std::string RenamedPath(const std::string& path, const std::function<bool(const std::string&)>& taken) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = path.size();
    const std::string stem = path.substr(0, dot);
    const std::string ext = path.substr(dot);
    for (unsigned n = 1;; ++n) {
        std::string candidate = stem + " (" + std::to_string(n) + ")" + ext;
        if (!taken(candidate)) return candidate;
    }
}

std::string PartPath(const std::string& target) { return target + ".part"; }
std::string PartNotePath(const std::string& target) { return target + ".part.url"; }

}  // namespace flk
