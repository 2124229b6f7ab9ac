#include "update/WordCoding.h"

#include "update/UpdateData.h"

namespace flk {

namespace {
bool Unshifted(char c) { return c == ' ' || c == ',' || c == '-'; }
}  // namespace

std::string EncodeWords(std::string_view plain) {
    std::string out(plain);
    for (char& c : out) {
        if (Unshifted(c)) continue;
        if (c == 'z')
            c = 'a';
        else if (c == 'Z')
            c = 'A';
        else
            c = static_cast<char>(static_cast<unsigned char>(c) + 1);
    }
    return out;
}

std::string DecodeWords(std::string_view encoded) {
    std::string out(encoded);
    for (char& c : out) {
        if (Unshifted(c)) continue;
        if (c == 'a')
            c = 'z';
        else if (c == 'A')
            c = 'Z';
        else
            c = static_cast<char>(static_cast<unsigned char>(c) - 1);
    }
    return out;
}

std::string EncodeAdultBlock(std::string_view text) {
    const std::string_view open = update_markers::kAdultOpen;
    const std::string_view close = update_markers::kAdultClose;
    std::size_t start = text.find(open);
    if (start == std::string_view::npos) return std::string(text);
    start += open.size();
    std::size_t end = text.find(close, start);
    if (end == std::string_view::npos) return std::string(text);
    std::string out(text.substr(0, start));
    out += EncodeWords(text.substr(start, end - start));
    out += text.substr(end);
    return out;
}

}  // namespace flk
