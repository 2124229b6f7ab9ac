#include "net/ParsedUrl.h"

#include "platform/LocalPath.h"
#include "platform/TextUtil.h"

#include <array>
#include <optional>

namespace flk {

namespace {

constexpr auto npos = std::string_view::npos;

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Position of the third "/" (where the path begins), or the text's length.
std::size_t HostPartEnd(std::string_view text) {
    int slashes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '/' && ++slashes == 3) return i;
    }
    return text.size();
}

std::string_view WithoutFragment(std::string_view text) {
    std::size_t hash = text.find('#');
    return hash == npos ? text : text.substr(0, hash);
}

std::string_view BeforeQuery(std::string_view text) { return text.substr(0, text.find('?')); }

// Dot-segment folding of a path that begins with "/". Whole segments only: a
// name such as "x..y" is an ordinary segment.
std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    std::string_view rest = path.substr(1);
    for (;;) {
        std::size_t slash = rest.find('/');
        std::string_view seg = rest.substr(0, slash);
        bool last = slash == npos;
        if (seg == ".") {
            if (last) kept.emplace_back();  // "/a/." is the folder "/a/"
        } else if (seg == "..") {
            if (!kept.empty()) kept.pop_back();
            if (last) kept.emplace_back();
        } else {
            kept.push_back(seg);
        }
        if (last) break;
        rest.remove_prefix(slash + 1);
    }
    std::string out = "/";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i) out += '/';
        out += kept[i];
    }
    return out;
}

}  // namespace

std::string_view KindOfExtension(std::string_view extension) {
    struct Row {
        std::string_view ext;
        std::string_view kind;
    };
    static constexpr std::array<Row, 23> kTable{{
        {"htm", kKindHtml},   {"html", kKindHtml},  {"shtml", kKindHtml}, {"gif", kKindImage},
        {"jpg", kKindImage},  {"jpeg", kKindImage}, {"bmp", kKindImage},  {"mpa", kKindImage},
        {"wav", kKindAudio},  {"mid", kKindAudio},  {"midi", kKindAudio}, {"snd", kKindAudio},
        {"ram", kKindAudio},  {"mp3", kKindAudio},  {"mp2", kKindAudio},  {"au", kKindAudio},
        {"aiff", kKindAudio}, {"mod", kKindAudio},  {"avi", kKindVideo},  {"mov", kKindVideo},
        {"qt", kKindVideo},   {"mpg", kKindVideo},  {"mpeg", kKindVideo},
    }};
    if (extension.empty()) return kKindHtml;
    for (const Row& row : kTable)
        if (EqualsNoCase(extension, row.ext)) return row.kind;
    return kKindOther;
}

std::size_t SchemeLength(std::string_view text) {
    if (text.empty() || !IsAsciiAlpha(text[0])) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == ':') return i + 1;
        if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

ParsedUrl::ParsedUrl() { Parse(""); }

void ParsedUrl::Parse(std::string_view text) {
    full_.assign(text);
    scheme_.clear();
    hostPart_.clear();
    fileName_.clear();
    extension_.clear();

    std::string_view rest = text;
    if (std::size_t schemeLen = SchemeLength(text)) {
        scheme_ = ToLowerAscii(text.substr(0, schemeLen));
        std::size_t hostEnd = HostPartEnd(text);
        hostPart_.assign(text.substr(0, hostEnd));
        rest = text.substr(hostEnd);
    }

    std::size_t slash = BeforeQuery(rest).rfind('/');
    if (slash != npos) {
        path_.assign(rest.substr(0, slash + 1));
        fileName_.assign(rest.substr(slash + 1));
        std::string_view name = BeforeQuery(fileName_);
        std::size_t dot = name.rfind('.');
        if (dot != npos && dot + 1 < name.size()) extension_.assign(name.substr(dot + 1));
    } else {
        path_.assign(rest);
    }
    if (path_.empty()) path_ = "/";
    kind_ = KindOfExtension(extension_);
}

void ParsedUrl::Make(std::string_view link, std::string_view base) { Parse(JoinUrl(link, base)); }

void ParsedUrl::Make(std::string_view link, const ParsedUrl& base) { Parse(JoinUrl(link, base)); }

std::string NormaliseUrl(std::string_view url) {
    std::size_t pathStart = 0;
    if (SchemeLength(url) != 0) pathStart = HostPartEnd(url);
    std::string_view rest = url.substr(pathStart);
    if (rest.empty() || rest[0] != '/') return std::string(url);

    std::size_t query = rest.find('?');
    std::string_view path = rest.substr(0, query);
    std::string out(url.substr(0, pathStart));
    out += RemoveDotSegments(path);
    if (query != npos) out += rest.substr(query);
    return out;
}

namespace {

// JoinUrl with the page's address already cleaned; `parsed` is it split, or
// null to split it here when needed.
std::string JoinCleaned(std::string_view linkText, std::string_view base, const ParsedUrl* parsed) {
    std::string_view link = Trim(WithoutFragment(Trim(linkText)));

    std::string joined;
    if (SchemeLength(link) != 0) {
        joined.assign(link);
    } else if (SchemeLength(base) != 0 && !(IsLocalPath(base) && !StartsWithNoCase(base, "file://"))) {
        std::optional<ParsedUrl> own;
        const ParsedUrl& page = parsed ? *parsed : own.emplace(base);
        if (link.empty()) {
            joined.assign(base);
        } else if (link.starts_with("//")) {
            joined = page.Scheme();
            joined += link;
        } else if (link[0] == '/') {
            joined = page.HostPart();
            joined += link;
        } else if (link[0] == '?') {
            joined = page.HostPart() + page.Path();
            joined += BeforeQuery(page.FileName());
            joined += link;
        } else {
            joined = page.HostPart() + page.Path();
            joined += link;
        }
    } else if (IsLocalPath(base)) {
        // A page read from disk: its links name files beside it.
        if (link.empty()) {
            joined.assign(base);
        } else if (link[0] == '/') {
            joined.assign(link);
        } else {
            std::size_t sep = BeforeQuery(base).find_last_of("/\\");
            joined.assign(base.substr(0, sep == npos ? 0 : sep + 1));
            joined += link;
        }
    } else {
        return {};
    }
    return NormaliseUrl(joined);
}

}  // namespace

std::string JoinUrl(std::string_view link, std::string_view base) {
    return JoinCleaned(link, Trim(WithoutFragment(Trim(base))), nullptr);
}

std::string JoinUrl(std::string_view link, const ParsedUrl& base) {
    const std::string_view cleaned = Trim(WithoutFragment(Trim(base.Full())));
    // Split as it is only when cleaning left it as it was.
    return JoinCleaned(link, cleaned, cleaned.size() == base.Full().size() ? &base : nullptr);
}

bool IsWebAddress(std::string_view text) {
    return StartsWithNoCase(text, "http://") || StartsWithNoCase(text, "https://");
}

std::string WithDefaultScheme(std::string_view text) {
    if (text.find("://") != npos || IsLocalPath(text)) return std::string(text);
    std::string out = "http://";
    out += text;
    return out;
}

std::vector<std::string> CompleteStart(std::string_view locations) {
    std::vector<std::string> out;
    for (const std::string& entry : Split(locations, ";")) {
        std::string_view e = Trim(entry);
        if (!e.empty()) out.push_back(WithDefaultScheme(e));
    }
    return out;
}

std::vector<std::string> CompleteDontVisit(std::string_view entries) {
    std::vector<std::string> hosts;
    for (const std::string& entry : Split(entries, ";")) {
        std::string_view e = Trim(entry);
        if (e.empty() || IsLocalPath(e)) continue;
        if (e.find("://") != npos) {
            ParsedUrl url(e);
            if (!url.HostPart().empty()) hosts.push_back(url.HostPart());
            continue;
        }
        for (std::string_view scheme : {"http://", "https://"}) {
            std::string typed(scheme);
            typed += e;
            hosts.push_back(ParsedUrl(typed).HostPart());
        }
    }
    return hosts;
}

}  // namespace flk
