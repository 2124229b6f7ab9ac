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

namespace {

// The path with the characters that end a path in an address encoded, and
// each "\" written as `backslash`.
std::string EncodedPath(std::string_view path, std::string_view backslash) {
    std::string p;
    for (char c : path) {
        switch (c) {
            case '\\': p += backslash; break;
            case '%': p += "%25"; break;
            case '#': p += "%23"; break;
            case '?': p += "%3F"; break;
            default: p += c;
        }
    }
    return p;
}

}  // namespace

std::string FileAddress(std::string_view path, FileAddressForm form) {
    if (StartsWithNoCase(path, "file:")) return std::string(path);
    if (form == FileAddressForm::ListPage && path.find('\\') != std::string_view::npos) {
        const std::size_t unc = path.find("\\\\");
        if (unc != std::string_view::npos) path.remove_prefix(unc + 2);
        return "file:////" + EncodedPath(path, "\\");
    }
    const std::string p = EncodedPath(path, "/");
    if (p.rfind("//", 0) == 0) return "file:" + p;  // a "\\server\share" path
    if (!p.empty() && p[0] == '/') return "file://" + p;
    return "file:///" + p;  // "C:\dir\x"
}

}  // namespace flk
