#include "platform/HtmlEntities.h"

#include "platform/Utf8Text.h"

#include <cstdint>

namespace flk {
namespace {

struct NamedEntity {
    std::string_view name;
    std::uint32_t codePoint;
};

constexpr NamedEntity kEntities[] = {
    {"amp", '&'},      {"AMP", '&'},       {"lt", '<'},        {"LT", '<'},        {"gt", '>'},
    {"GT", '>'},       {"quot", '"'},      {"QUOT", '"'},      {"apos", '\''},     {"nbsp", 0xA0},
    {"copy", 0xA9},    {"reg", 0xAE},      {"trade", 0x2122},  {"hellip", 0x2026}, {"mdash", 0x2014},
    {"ndash", 0x2013}, {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},
    {"rdquo", 0x201D}, {"bdquo", 0x201E},  {"laquo", 0xAB},    {"raquo", 0xBB},    {"lsaquo", 0x2039},
    {"rsaquo", 0x203A}, {"bull", 0x2022},  {"middot", 0xB7},   {"deg", 0xB0},      {"euro", 0x20AC},
    {"pound", 0xA3},   {"yen", 0xA5},      {"cent", 0xA2},     {"sect", 0xA7},     {"para", 0xB6},
    {"times", 0xD7},   {"divide", 0xF7},   {"plusmn", 0xB1},   {"frac12", 0xBD},   {"frac14", 0xBC},
    {"frac34", 0xBE},  {"sup2", 0xB2},     {"sup3", 0xB3},     {"micro", 0xB5},    {"shy", 0xAD},
    {"iexcl", 0xA1},   {"iquest", 0xBF},   {"szlig", 0xDF},    {"thinsp", 0x2009}, {"ensp", 0x2002},
    {"emsp", 0x2003},  {"zwnj", 0x200C},   {"zwj", 0x200D},    {"dagger", 0x2020}, {"prime", 0x2032},
    {"larr", 0x2190},  {"rarr", 0x2192},   {"uarr", 0x2191},   {"darr", 0x2193},   {"hearts", 0x2665},
    {"Agrave", 0xC0},  {"Aacute", 0xC1},   {"Acirc", 0xC2},    {"Atilde", 0xC3},   {"Auml", 0xC4},
    {"Aring", 0xC5},   {"AElig", 0xC6},    {"Ccedil", 0xC7},   {"Egrave", 0xC8},   {"Eacute", 0xC9},
    {"Ecirc", 0xCA},   {"Euml", 0xCB},     {"Igrave", 0xCC},   {"Iacute", 0xCD},   {"Icirc", 0xCE},
    {"Iuml", 0xCF},    {"Ntilde", 0xD1},   {"Ograve", 0xD2},   {"Oacute", 0xD3},   {"Ocirc", 0xD4},
    {"Otilde", 0xD5},  {"Ouml", 0xD6},     {"Oslash", 0xD8},   {"Ugrave", 0xD9},   {"Uacute", 0xDA},
    {"Ucirc", 0xDB},   {"Uuml", 0xDC},     {"Yacute", 0xDD},   {"agrave", 0xE0},   {"aacute", 0xE1},
    {"acirc", 0xE2},   {"atilde", 0xE3},   {"auml", 0xE4},     {"aring", 0xE5},    {"aelig", 0xE6},
    {"ccedil", 0xE7},  {"egrave", 0xE8},   {"eacute", 0xE9},   {"ecirc", 0xEA},    {"euml", 0xEB},
    {"igrave", 0xEC},  {"iacute", 0xED},   {"icirc", 0xEE},    {"iuml", 0xEF},     {"ntilde", 0xF1},
    {"ograve", 0xF2},  {"oacute", 0xF3},   {"ocirc", 0xF4},    {"otilde", 0xF5},   {"ouml", 0xF6},
    {"oslash", 0xF8},  {"ugrave", 0xF9},   {"uacute", 0xFA},   {"ucirc", 0xFB},    {"uuml", 0xFC},
    {"yacute", 0xFD},  {"yuml", 0xFF},     {"oelig", 0x153},   {"OElig", 0x152},   {"scaron", 0x161},
    {"Scaron", 0x160},
};

// The longest name above, so a stray "&" never scans far.
constexpr std::size_t kLongestName = 6;
// "&#" and up to seven digits (U+10FFFF is 1114111).
constexpr std::size_t kLongestNumber = 8;

bool IsAsciiLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

const NamedEntity* FindNamed(std::string_view name) {
    for (const NamedEntity& e : kEntities)
        if (e.name == name) return &e;
    return nullptr;
}

std::size_t DecodeNumeric(std::string_view text, std::string& out) {
    // text starts with "&#".
    std::size_t i = 2;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const std::size_t first = i;
    std::uint32_t value = 0;
    while (i < text.size() && (hex ? IsHexDigit(text[i]) : IsDigit(text[i])) && i - first < kLongestNumber) {
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(hex ? HexValue(text[i]) : text[i] - '0');
        ++i;
    }
    if (i == first) return 0;
    // More digits than any character has: not a reference worth reading.
    if (i < text.size() && (hex ? IsHexDigit(text[i]) : IsDigit(text[i]))) return 0;
    AppendUtf8(value, out);
    if (i < text.size() && text[i] == ';') ++i;
    return i;
}

}  // namespace

std::size_t DecodeHtmlEntity(std::string_view text, std::string& out) {
    if (text.size() < 3 || text[0] != '&') return 0;
    if (text[1] == '#') return DecodeNumeric(text, out);
    std::size_t end = 1;
    while (end < text.size() && end <= kLongestName && IsAsciiLetterOrDigit(text[end])) ++end;
    if (end >= text.size() || text[end] != ';') return 0;
    const NamedEntity* e = FindNamed(text.substr(1, end - 1));
    if (!e) return 0;
    AppendUtf8(e->codePoint, out);
    return end + 1;
}

bool IsEntityRemainder(std::string_view text) {
    const std::size_t semi = text.find(';');
    if (semi == std::string_view::npos || semi == 0 || semi > kLongestNumber) return false;
    std::string_view body = text.substr(0, semi);
    if (body.front() == '#') body.remove_prefix(1);
    if (body.empty()) return false;
    bool digits = true;
    for (char c : body) digits = digits && IsDigit(c);
    if (digits) return true;
    if ((body.front() == 'x' || body.front() == 'X') && body.size() > 1) {
        bool hex = true;
        for (char c : body.substr(1)) hex = hex && IsHexDigit(c);
        if (hex) return true;
    }
    // A cut leaves the end of a name: "mp;" of "&amp;", "bsp;" of "&nbsp;".
    for (const NamedEntity& e : kEntities)
        if (e.name.size() >= body.size() && e.name.substr(e.name.size() - body.size()) == body) return true;
    return false;
}

}  // namespace flk
