#include "templates/TemplateText.h"

#include "platform/TextUtil.h"

#include <climits>
#include <vector>

namespace flk {

std::string UrlEncode(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                     b == '-' || b == '_' || b == '.' || b == '~';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

int ParseTemplateNumber(std::string_view text) {
    text = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string FormatTime(std::string_view format, const std::tm& when) {
    if (format.empty()) return {};
    const std::string fmt(format);
    // strftime answers 0 both for "too small" and for an empty result, so
    // grow a few times and then give up.
    for (std::size_t size = 256; size <= (std::size_t{1} << 20); size *= 16) {
        std::vector<char> buf(size);
        std::size_t n = std::strftime(buf.data(), buf.size(), fmt.c_str(), &when);
        if (n > 0) return std::string(buf.data(), n);
    }
    return {};
}

}  // namespace flk
