#include "platform/HtmlEscape.h"

#include "platform/TextUtil.h"

namespace flk {

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

bool IsLinkableAddress(std::string_view target) {
    const std::string_view t = TrimLeft(target);
    for (std::string_view scheme : {"http://", "https://", "ftp://", "file:"})
        if (StartsWithNoCase(t, scheme)) return true;
    // No scheme at all: a relative address or a path.
    const std::size_t colon = t.find(':');
    const std::size_t slash = t.find_first_of("/\\?#");
    return colon == std::string_view::npos || (slash != std::string_view::npos && slash < colon) ||
           (colon == 1 && t.size() > 2 && (t[2] == '\\' || t[2] == '/'));  // "C:\..." drive paths
}

}  // namespace flk
