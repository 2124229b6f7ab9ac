#include "platform/Utf8Text.h"

namespace flk {

void AppendUtf8(std::uint32_t cp, std::string& out) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos, std::uint32_t* codePoint) {
    if (pos >= text.size()) return 0;
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
        len = 1;
        cp = c;
    } else if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (pos + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = static_cast<unsigned char>(text[pos + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    if (codePoint) *codePoint = cp;
    return len;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceAt(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string Utf8FromLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) AppendUtf8(static_cast<unsigned char>(c), out);
    return out;
}

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string Utf8FromCutText(std::string_view text) {
    if (IsUtf8(text)) return std::string(text);
    // A cut through a character leaves up to three continuation bytes at
    // the start and a lead byte with too few followers at the end.
    std::string_view middle = text;
    for (int k = 0; k < 3 && !middle.empty() && IsContinuation(middle.front()); ++k) middle.remove_prefix(1);
    for (std::size_t k = 1; k <= 3 && k <= middle.size(); ++k) {
        const unsigned char lead = static_cast<unsigned char>(middle[middle.size() - k]);
        if (lead >= 0xC0) {
            if (Utf8SequenceAt(middle, middle.size() - k) != k) middle.remove_suffix(k);
            break;
        }
        if (!IsContinuation(static_cast<char>(lead))) break;
    }
    if (IsUtf8(middle)) return std::string(middle);
    return Utf8FromLatin1(text);
}

}  // namespace flk
