// libFuzzer target for one image header reader, chosen at build time by
// FLK_HEADER_READER (ReadPngSize, ReadJpegSize...). A size it gives is
// always within the plausible range.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lists/ImageHeaders.h"

#ifndef FLK_HEADER_READER
#error "FLK_HEADER_READER names the reader under test"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto got = flk::FLK_HEADER_READER(bytes);
    if (got && (got->width <= 0 || got->height <= 0 || got->width > flk::kMaxPixelSide ||
                got->height > flk::kMaxPixelSide))
        __builtin_trap();
    return 0;
}
