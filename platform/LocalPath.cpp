#include "platform/LocalPath.h"

#include "platform/TextUtil.h"

namespace flk {

bool IsLocalPath(std::string_view text) {
    return text.find('\\') != std::string_view::npos || (!text.empty() && text[0] == '/') ||
           StartsWithNoCase(text, "file://");
}

std::string LocalFilePath(std::string_view text) {
    if (StartsWithNoCase(text, "file://")) text.remove_prefix(7);
    return std::string(text);
}

std::string FileAddress(std::string_view path) {
    std::string p;
    for (char c : path) {
        switch (c) {
            case '\\': p += '/'; break;
            case '%': p += "%25"; break;
            case '#': p += "%23"; break;
            case '?': p += "%3F"; break;
            default: p += c;
        }
    }
    if (p.rfind("//", 0) == 0) return "file:" + p;  // a "\\server\share" path
    if (!p.empty() && p[0] == '/') return "file://" + p;
    return "file:///" + p;  // "C:\dir\x"
}

}  // namespace flk
