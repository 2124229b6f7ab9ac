#include "flkcrawl/MediaJson.h"

#include "lists/ListSort.h"
#include "lists/MediaLists.h"
#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

// The length of the valid UTF-8 sequence at text[at], 0 when there is none
// (a stray continuation byte, a sequence cut short, an overlong form, a
// surrogate or a code point past U+10FFFF).
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t n;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + n > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return n;
}

std::string JsonNumberOrNull(long long value) { return value > 0 ? std::to_string(value) : "null"; }

std::string JsonTextOrNull(std::string_view text) { return text.empty() ? "null" : JsonString(text); }

long Side(const std::string& cell, long fromFile) {
    if (fromFile > 0) return fromFile;
    const std::string_view t = Trim(cell);
    return !t.empty() && t[0] >= '0' && t[0] <= '9' ? static_cast<long>(LeadingInt(t)) : 0;
}

void AppendList(std::string& out, const MediaList& list, std::string_view kind) {
    for (std::size_t r = 0; r < list.RowCount(); ++r) {
        const ListedMedium m = list.Medium(r);
        const MediaFacts facts = list.Facts(r);
        out += "{\"url\":" + JsonString(m.url);
        out += ",\"kind\":" + JsonString(kind);
        out += ",\"bytes\":" + JsonNumberOrNull(facts.bytes);
        out += ",\"width\":" + JsonNumberOrNull(Side(m.width, facts.width));
        out += ",\"height\":" + JsonNumberOrNull(Side(m.height, facts.height));
        out += ",\"content_type\":" + JsonTextOrNull(facts.contentType);
        out += ",\"page\":" + JsonTextOrNull(m.pageUrl);
        out += ",\"alt\":" + JsonTextOrNull(m.alt);
        out += ",\"sha256\":" + JsonTextOrNull(facts.sha256);
        out += ",\"duplicates\":[";
        for (std::size_t i = 0; i < facts.duplicates.size(); ++i)
            out += (i ? "," : "") + JsonString(WithDefaultScheme(facts.duplicates[i]));
        out += "]}\n";
    }
}

}  // namespace

std::string JsonString(std::string_view text) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t n = Utf8Length(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(text.substr(i, n));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
        i += n;
    }
    out += '"';
    return out;
}

std::string MediaJsonLines(const MediaLists& lists) {
    std::string out;
    AppendList(out, lists.images, "image");
    AppendList(out, lists.sounds, "sound");
    AppendList(out, lists.movies, "movie");
    return out;
}

}  // namespace flk
