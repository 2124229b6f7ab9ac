#include "lists/HeaderBytes.h"

namespace flk {

// "RIFF", a length, "WEBP", then the first chunk: VP8X (extended: canvas
// size minus one in 24 bits each), VP8L (lossless: a 0x2F signature byte,
// then 14 bits each of width and height minus one) or "VP8 " (lossy: a
// key frame's start code 9D 01 2A, then 14 bits each of width and height).
std::optional<PixelSize> ReadWebpSize(std::string_view bytes) {
    using namespace headerbytes;
    if (!HasAt(bytes, 0, "RIFF") || !HasAt(bytes, 8, "WEBP")) return std::nullopt;
    constexpr std::size_t kData = 20;
    std::uint64_t w = 0, h = 0;
    if (HasAt(bytes, 12, "VP8X")) {
        if (!Le(bytes, kData + 4, 3, w) || !Le(bytes, kData + 7, 3, h)) return std::nullopt;
        return Checked(w + 1, h + 1);
    }
    if (HasAt(bytes, 12, "VP8L")) {
        std::uint64_t bits = 0;
        if (!HasAt(bytes, kData, "\x2F") || !Le(bytes, kData + 1, 4, bits)) return std::nullopt;
        return Checked((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (HasAt(bytes, 12, "VP8 ")) {
        if (!HasAt(bytes, kData + 3, "\x9D\x01\x2A")) return std::nullopt;
        if (!Le(bytes, kData + 6, 2, w) || !Le(bytes, kData + 8, 2, h)) return std::nullopt;
        return Checked(w & 0x3FFF, h & 0x3FFF);
    }
    return std::nullopt;
}

}  // namespace flk
