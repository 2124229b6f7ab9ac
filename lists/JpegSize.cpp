#include "lists/HeaderBytes.h"

namespace flk {

namespace {

// Start-of-frame markers: C0-CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsStartOfFrame(unsigned char m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
// Markers that stand alone, without a length: TEM, RST0-7, SOI.
bool IsStandalone(unsigned char m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD8); }

}  // namespace

// Walks the segments from SOI to the first start-of-frame segment, whose
// height and width follow its length and precision byte. Scan data (SOS)
// or EOI before a frame header means no size.
std::optional<PixelSize> ReadJpegSize(std::string_view bytes) {
    using namespace headerbytes;
    if (!HasAt(bytes, 0, "\xFF\xD8")) return std::nullopt;
    std::size_t pos = 2;
    while (pos < bytes.size()) {
        if (static_cast<unsigned char>(bytes[pos]) != 0xFF) return std::nullopt;
        // Any number of fill bytes may precede a marker.
        while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) == 0xFF) ++pos;
        if (pos >= bytes.size()) return std::nullopt;
        const auto marker = static_cast<unsigned char>(bytes[pos++]);
        if (IsStandalone(marker)) continue;
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;
        std::uint64_t length = 0;
        if (!Be(bytes, pos, 2, length) || length < 2) return std::nullopt;
        if (IsStartOfFrame(marker)) {
            std::uint64_t h = 0, w = 0;
            if (length < 7 || !Be(bytes, pos + 3, 2, h) || !Be(bytes, pos + 5, 2, w)) return std::nullopt;
            return Checked(w, h);
        }
        pos += length;
    }
    return std::nullopt;
}

}  // namespace flk
