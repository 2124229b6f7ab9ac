#include "lists/HeaderBytes.h"

namespace flk {

// "BM", then after the 14-byte file header the DIB header, whose own
// length names its form: 12 (OS/2 core: 16-bit sides) or 40 and more
// (Windows: signed 32-bit sides; a negative height stores rows top-down).
std::optional<PixelSize> ReadBmpSize(std::string_view bytes) {
    using namespace headerbytes;
    if (!HasAt(bytes, 0, "BM")) return std::nullopt;
    std::uint64_t dib = 0, w = 0, h = 0;
    if (!Le(bytes, 14, 4, dib)) return std::nullopt;
    if (dib == 12) {
        if (!Le(bytes, 18, 2, w) || !Le(bytes, 20, 2, h)) return std::nullopt;
        return Checked(w, h);
    }
    if (dib < 40 || dib > 4096) return std::nullopt;
    if (!Le(bytes, 18, 4, w) || !Le(bytes, 22, 4, h)) return std::nullopt;
    const auto sw = static_cast<std::int32_t>(static_cast<std::uint32_t>(w));
    const auto sh = static_cast<std::int32_t>(static_cast<std::uint32_t>(h));
    if (sw <= 0 || sh == 0 || sh == INT32_MIN) return std::nullopt;
    return Checked(static_cast<std::uint64_t>(sw), static_cast<std::uint64_t>(sh < 0 ? -sh : sh));
}

}  // namespace flk
