#include "lists/HeaderBytes.h"

namespace flk {

namespace {

// The opening of a text file: white space, a byte-order mark, an XML
// declaration or a comment may come before "<svg".
bool LooksLikeSvg(std::string_view b) {
    b = b.substr(0, std::min<std::size_t>(b.size(), 4096));
    if (headerbytes::HasAt(b, 0, "\xEF\xBB\xBF")) b.remove_prefix(3);
    while (!b.empty() && (b.front() == ' ' || b.front() == '\t' || b.front() == '\r' || b.front() == '\n'))
        b.remove_prefix(1);
    return headerbytes::HasAt(b, 0, "<?xml") || headerbytes::HasAt(b, 0, "<svg") ||
           headerbytes::HasAt(b, 0, "<!--") || headerbytes::HasAt(b, 0, "<!DOCTYPE svg");
}

}  // namespace

std::optional<PixelSize> ReadImageSize(std::string_view bytes) {
    using headerbytes::HasAt;
    if (HasAt(bytes, 0, "\x89PNG")) return ReadPngSize(bytes);
    if (HasAt(bytes, 0, "GIF8")) return ReadGifSize(bytes);
    if (HasAt(bytes, 0, "\xFF\xD8")) return ReadJpegSize(bytes);
    if (HasAt(bytes, 0, "RIFF")) return ReadWebpSize(bytes);
    if (HasAt(bytes, 0, "BM")) return ReadBmpSize(bytes);
    if (HasAt(bytes, 4, "ftyp")) return ReadIsoBmffSize(bytes);
    if (LooksLikeSvg(bytes)) return ReadSvgSize(bytes);
    return std::nullopt;
}

}  // namespace flk
