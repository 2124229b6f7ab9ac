#include "lists/HeaderBytes.h"

#include <cmath>
#include <string>

namespace flk {

namespace {

bool IsSvgSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct SvgTag {
    std::string_view width, height, viewBox;
};

// The attributes of the tag that starts at pos (just after "<svg"), up to
// its ">"; false when the bytes end first.
bool ReadAttributes(std::string_view b, std::size_t pos, SvgTag& tag) {
    for (;;) {
        while (pos < b.size() && (IsSvgSpace(b[pos]) || b[pos] == '/')) ++pos;
        if (pos >= b.size()) return false;
        if (b[pos] == '>') return true;
        const std::size_t nameStart = pos;
        while (pos < b.size() && !IsSvgSpace(b[pos]) && b[pos] != '=' && b[pos] != '>' && b[pos] != '/') ++pos;
        const std::string_view name = b.substr(nameStart, pos - nameStart);
        while (pos < b.size() && IsSvgSpace(b[pos])) ++pos;
        if (pos >= b.size()) return false;
        std::string_view value;
        if (b[pos] == '=') {
            ++pos;
            while (pos < b.size() && IsSvgSpace(b[pos])) ++pos;
            if (pos >= b.size()) return false;
            if (b[pos] == '"' || b[pos] == '\'') {
                const std::size_t close = b.find(b[pos], pos + 1);
                if (close == std::string_view::npos) return false;
                value = b.substr(pos + 1, close - pos - 1);
                pos = close + 1;
            } else {
                const std::size_t start = pos;
                while (pos < b.size() && !IsSvgSpace(b[pos]) && b[pos] != '>') ++pos;
                value = b.substr(start, pos - start);
            }
        }
        if (name == "width") tag.width = value;
        else if (name == "height") tag.height = value;
        else if (name == "viewBox") tag.viewBox = value;
        if (name.empty()) ++pos;  // a stray character: step over it
    }
}

// A decimal number at pos ("12", "-3.5", ".5"); false when none.
bool ReadNumber(std::string_view s, std::size_t& pos, double& out) {
    const std::size_t start = pos;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) negative = s[pos++] == '-';
    double value = 0;
    bool digits = false;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        value = value * 10 + (s[pos++] - '0');
        digits = true;
        if (value > 1e12) return false;
    }
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        double scale = 0.1;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
            value += (s[pos++] - '0') * scale;
            scale /= 10;
            digits = true;
        }
    }
    if (!digits) {
        pos = start;
        return false;
    }
    out = negative ? -value : value;
    return true;
}

// A length in pixels: a number with no unit, px, or an absolute unit;
// a percentage or a font-relative unit gives none.
std::optional<double> Length(std::string_view s) {
    while (!s.empty() && IsSvgSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSvgSpace(s.back())) s.remove_suffix(1);
    std::size_t pos = 0;
    double value = 0;
    if (!ReadNumber(s, pos, value) || value <= 0) return std::nullopt;
    const std::string_view unit = s.substr(pos);
    if (unit.empty() || unit == "px") return value;
    if (unit == "pt") return value * 4 / 3;
    if (unit == "pc") return value * 16;
    if (unit == "in") return value * 96;
    if (unit == "cm") return value * 96 / 2.54;
    if (unit == "mm") return value * 96 / 25.4;
    return std::nullopt;
}

// The third and fourth of viewBox's four numbers, when both are positive.
bool ViewBoxSize(std::string_view s, double& w, double& h) {
    double n[4];
    std::size_t pos = 0;
    for (double& v : n) {
        while (pos < s.size() && (IsSvgSpace(s[pos]) || s[pos] == ',')) ++pos;
        if (!ReadNumber(s, pos, v)) return false;
    }
    w = n[2];
    h = n[3];
    return w > 0 && h > 0;
}

std::optional<PixelSize> Rounded(double w, double h) {
    if (!(w < kMaxPixelSide + 1.0) || !(h < kMaxPixelSide + 1.0)) return std::nullopt;
    return headerbytes::Checked(static_cast<std::uint64_t>(std::lround(w)), static_cast<std::uint64_t>(std::lround(h)));
}

// The first "<svg" that is the element's name, not a longer one.
std::size_t FindSvgTag(std::string_view b) {
    std::size_t pos = 0;
    while ((pos = b.find("<svg", pos)) != std::string_view::npos) {
        const std::size_t after = pos + 4;
        if (after < b.size() && (IsSvgSpace(b[after]) || b[after] == '>' || b[after] == '/')) return after;
        pos = after;
    }
    return std::string_view::npos;
}

}  // namespace

std::optional<PixelSize> ReadSvgSize(std::string_view bytes) {
    bytes = bytes.substr(0, std::min(bytes.size(), kImageHeaderBytes));
    const std::size_t at = FindSvgTag(bytes);
    if (at == std::string_view::npos) return std::nullopt;
    SvgTag tag;
    if (!ReadAttributes(bytes, at, tag)) return std::nullopt;
    const auto w = Length(tag.width);
    const auto h = Length(tag.height);
    if (w && h) return Rounded(*w, *h);
    double vw = 0, vh = 0;
    if (!ViewBoxSize(tag.viewBox, vw, vh)) return std::nullopt;
    if (w) return Rounded(*w, *w * vh / vw);
    if (h) return Rounded(*h * vw / vh, *h);
    return Rounded(vw, vh);
}

}  // namespace flk
