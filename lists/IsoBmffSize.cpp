#include "lists/HeaderBytes.h"

#include <algorithm>

namespace flk {

namespace {

// meta > iprp > ipco > ispe is as deep as a size ever sits.
constexpr int kMaxDepth = 4;

void WalkBoxes(std::string_view b, std::size_t pos, std::size_t end, int depth, std::optional<PixelSize>& best) {
    using namespace headerbytes;
    while (end > pos && end - pos >= 8) {
        std::uint64_t size = 0;
        Be(b, pos, 4, size);
        const std::string_view type = b.substr(pos + 4, 4);
        std::size_t header = 8;
        if (size == 1) {
            if (!Be(b, pos + 8, 8, size)) return;
            header = 16;
        } else if (size == 0) {
            size = end - pos;  // to the end of its container
        }
        if (size < header) return;
        // A box that claims more than its container (or than the bytes a
        // ranged read brought) is read as far as it goes.
        const std::size_t boxEnd = size > end - pos ? end : pos + static_cast<std::size_t>(size);
        const std::size_t body = pos + header;
        if (depth < kMaxDepth) {
            if (type == "meta" && boxEnd >= body + 4) WalkBoxes(b, body + 4, boxEnd, depth + 1, best);  // full box
            else if (type == "iprp" || type == "ipco") WalkBoxes(b, body, boxEnd, depth + 1, best);
        }
        if (type == "ispe" && boxEnd >= body + 12) {
            std::uint64_t w = 0, h = 0;
            Be(b, body + 4, 4, w);
            Be(b, body + 8, 4, h);
            const auto size2 = Checked(w, h);
            if (size2 && (!best || size2->width * size2->height > best->width * best->height)) best = size2;
        }
        pos = boxEnd;
    }
}

}  // namespace

// The file starts with an `ftyp` box; the picture's size is an `ispe`
// property inside meta > iprp > ipco.
std::optional<PixelSize> ReadIsoBmffSize(std::string_view bytes) {
    if (!headerbytes::HasAt(bytes, 4, "ftyp")) return std::nullopt;
    bytes = bytes.substr(0, std::min(bytes.size(), kImageHeaderBytes));
    std::optional<PixelSize> best;
    WalkBoxes(bytes, 0, bytes.size(), 0, best);
    return best;
}

}  // namespace flk
