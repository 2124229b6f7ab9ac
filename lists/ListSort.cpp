#include "lists/ListSort.h"

#include "platform/ProfileFile.h"
#include "platform/TextUtil.h"

#include <string>

namespace flk {

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(ToLowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(ToLowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return ThreeWay(a.size(), b.size());
}

long long LeadingInt(std::string_view text) { return ProfileIntFromText(std::string(text), 0); }

long long SizeCellValue(std::string_view text) {
    text = TrimLeft(text);
    long long whole = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (whole < 1000000000LL) whole = whole * 10 + (text[i] - '0');
    }
    long long hundredths = whole * 100;
    if (i < text.size() && text[i] == '.') {
        ++i;
        long long scale = 10;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            hundredths += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    long long unit = 1;
    if (text.find("KB") != std::string_view::npos) {
        unit = 1024;
    } else if (text.find("MB") != std::string_view::npos) {
        unit = 1048576;
    }
    return hundredths * unit;
}

std::string_view AfterLastDot(std::string_view text) {
    std::size_t dot = text.rfind('.');
    return dot == std::string_view::npos ? text : text.substr(dot + 1);
}

}  // namespace flk
