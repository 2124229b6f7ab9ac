#include "lists/HeaderBytes.h"

namespace flk {

// "GIF87a" or "GIF89a", then the logical screen's width and height as
// little-endian 16-bit numbers.
std::optional<PixelSize> ReadGifSize(std::string_view bytes) {
    using namespace headerbytes;
    if (!HasAt(bytes, 0, "GIF87a") && !HasAt(bytes, 0, "GIF89a")) return std::nullopt;
    std::uint64_t w = 0, h = 0;
    if (!Le(bytes, 6, 2, w) || !Le(bytes, 8, 2, h)) return std::nullopt;
    return Checked(w, h);
}

}  // namespace flk
