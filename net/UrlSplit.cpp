#include "net/UrlSplit.h"

#include "platform/TextUtil.h"

namespace flk {

namespace {

bool IsSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '+' || c == '-' || c == '.';
}

UrlService ServiceOf(std::string_view scheme) {
    if (EqualsNoCase(scheme, "http")) return UrlService::Http;
    if (EqualsNoCase(scheme, "https")) return UrlService::Https;
    if (EqualsNoCase(scheme, "ftp")) return UrlService::Ftp;
    if (EqualsNoCase(scheme, "file")) return UrlService::File;
    return UrlService::Other;
}

int DefaultPort(UrlService s) {
    switch (s) {
        case UrlService::Http: return 80;
        case UrlService::Https: return 443;
        case UrlService::Ftp: return 21;
        default: return 0;
    }
}

bool ParsePort(std::string_view text, int& port) {
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

}  // namespace

bool SplitUrl(std::string_view url, UrlParts& out) {
    out = UrlParts{};
    const size_t sep = url.find("://");
    if (sep == std::string_view::npos || sep == 0) return false;
    std::string_view scheme = url.substr(0, sep);
    for (char c : scheme)
        if (!IsSchemeChar(c)) return false;
    out.scheme = std::string(scheme);
    out.service = ServiceOf(scheme);

    std::string_view rest = url.substr(sep + 3);
    const size_t fragment = rest.find('#');
    if (fragment != std::string_view::npos) rest = rest.substr(0, fragment);
    const size_t authorityEnd = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, authorityEnd);
    std::string_view object =
        authorityEnd == std::string_view::npos ? std::string_view{} : rest.substr(authorityEnd);

    const size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        std::string_view userinfo = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const size_t colon = userinfo.find(':');
        out.user = std::string(userinfo.substr(0, colon));
        if (colon != std::string_view::npos) out.password = std::string(userinfo.substr(colon + 1));
    }

    std::string_view host = authority;
    std::string_view portText;
    bool hasPort = false;
    if (!authority.empty() && authority[0] == '[') {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) return false;
        host = authority.substr(0, close + 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':') return false;
            portText = after.substr(1);
            hasPort = true;
        }
    } else {
        const size_t colon = authority.rfind(':');
        if (colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            portText = authority.substr(colon + 1);
            hasPort = true;
        }
    }
    for (char c : host)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
    if (host.empty() && out.service != UrlService::File) return false;
    out.server = std::string(host);

    out.port = DefaultPort(out.service);
    // "host:" with nothing after the colon keeps the default port.
    if (hasPort && !portText.empty() && !ParsePort(portText, out.port)) return false;

    if (object.empty()) {
        out.object = "/";
    } else if (object[0] == '?') {
        out.object = "/" + std::string(object);
    } else {
        out.object = std::string(object);
    }
    return true;
}

std::string EncodeUrlForRequest(std::string_view url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7f) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0f];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace flk
