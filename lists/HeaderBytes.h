#pragma once
#include "lists/ImageHeaders.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace flk::headerbytes {

// Big- and little-endian reads that check their bounds: false, and nothing
// read, when the bytes end first.
inline bool Be(std::string_view b, std::size_t pos, int width, std::uint64_t& out) {
    if (pos > b.size() || b.size() - pos < static_cast<std::size_t>(width)) return false;
    out = 0;
    for (int i = 0; i < width; ++i) out = (out << 8) | static_cast<unsigned char>(b[pos + i]);
    return true;
}

inline bool Le(std::string_view b, std::size_t pos, int width, std::uint64_t& out) {
    if (pos > b.size() || b.size() - pos < static_cast<std::size_t>(width)) return false;
    out = 0;
    for (int i = width - 1; i >= 0; --i) out = (out << 8) | static_cast<unsigned char>(b[pos + i]);
    return true;
}

inline bool HasAt(std::string_view b, std::size_t pos, std::string_view what) {
    return pos <= b.size() && b.size() - pos >= what.size() && b.compare(pos, what.size(), what) == 0;
}

// A size only when both sides are plausible.
inline std::optional<PixelSize> Checked(std::uint64_t w, std::uint64_t h) {
    if (w == 0 || h == 0 || w > static_cast<std::uint64_t>(kMaxPixelSide) ||
        h > static_cast<std::uint64_t>(kMaxPixelSide))
        return std::nullopt;
    return PixelSize{static_cast<long>(w), static_cast<long>(h)};
}

}  // namespace flk::headerbytes
