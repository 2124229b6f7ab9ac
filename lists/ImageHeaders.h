#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace flk {

// Width and height in pixels as an image file's own header states them.
struct PixelSize {
    long width = 0;
    long height = 0;
    bool operator==(const PixelSize&) const = default;
};

// Bytes of a file's start a size is read from: a ranged GET asks for this
// much, and a reader never looks further.
inline constexpr std::size_t kImageHeaderBytes = 64 * 1024;
// A side longer than this is a lying header, not a picture.
inline constexpr long kMaxPixelSide = 1L << 24;

// Each reader takes the first bytes of a file (possibly cut short) and gives
// its size, or nothing when the bytes are not that format, are truncated
// before the size, or state a side of 0 or above kMaxPixelSide. None reads
// outside the bytes given, whatever their lengths and offsets claim.
std::optional<PixelSize> ReadPngSize(std::string_view bytes);
std::optional<PixelSize> ReadGifSize(std::string_view bytes);
std::optional<PixelSize> ReadJpegSize(std::string_view bytes);
std::optional<PixelSize> ReadWebpSize(std::string_view bytes);
std::optional<PixelSize> ReadBmpSize(std::string_view bytes);
// AVIF, HEIF and other ISO base media files: the largest `ispe` property
// (the primary picture; the others are thumbnails or tiles).
std::optional<PixelSize> ReadIsoBmffSize(std::string_view bytes);
// The root `svg` element's width and height in user units (px), else the
// size of its viewBox, scaled when one side alone is given.
std::optional<PixelSize> ReadSvgSize(std::string_view bytes);

// Whichever of the readers the bytes' signature names.
std::optional<PixelSize> ReadImageSize(std::string_view bytes);

}  // namespace flk
