#include "lists/HeaderBytes.h"

namespace flk {

// The signature, then the IHDR chunk, which must come first: its length
// (13), its type, and width and height as big-endian 32-bit numbers.
std::optional<PixelSize> ReadPngSize(std::string_view bytes) {
    using namespace headerbytes;
    if (!HasAt(bytes, 0, "\x89PNG\r\n\x1a\n") || !HasAt(bytes, 12, "IHDR")) return std::nullopt;
    std::uint64_t length = 0, w = 0, h = 0;
    if (!Be(bytes, 8, 4, length) || length != 13) return std::nullopt;
    if (!Be(bytes, 16, 4, w) || !Be(bytes, 20, 4, h)) return std::nullopt;
    return Checked(w, h);
}

}  // namespace flk
