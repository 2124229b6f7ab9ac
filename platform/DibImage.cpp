#include "platform/DibImage.h"

#include <fstream>

namespace flk {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;

std::uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8);
}

std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

std::int32_t I32(const std::string& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::size_t size = 0;        // bytes of the information header
    std::size_t entryBytes = 4;  // bytes per colour-table entry
};

bool ReadHeader(const std::string& b, Header& h) {
    if (b.size() < kFileHeaderSize + 4) return false;
    h.size = U32(b, kFileHeaderSize);
    if (h.size > b.size() - kFileHeaderSize) return false;
    if (h.size == kCoreHeaderSize) {
        h.width = U16(b, 18);
        h.height = U16(b, 20);
        h.bitsPerPixel = U16(b, 24);
        h.entryBytes = 3;
        return true;
    }
    if (h.size < kInfoHeaderSize) return false;
    h.width = I32(b, 18);
    h.height = I32(b, 22);
    h.bitsPerPixel = U16(b, 28);
    h.compression = U32(b, 30);
    h.colorsUsed = U32(b, 46);
    return true;
}

std::uint32_t TableEntries(const Header& h) {
    if (h.colorsUsed != 0) return h.colorsUsed;
    switch (h.bitsPerPixel) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

}  // namespace

DibImage DecodeDib(const std::string& b) {
    DibImage img;
    if (b.size() < kFileHeaderSize || b[0] != 'B' || b[1] != 'M') return img;
    Header h;
    if (!ReadHeader(b, h)) return img;
    if (h.width < 0 || h.height < 0 || h.width > kMaxDibSide || h.height > kMaxDibSide) {
        img.status = DibImage::Status::BadSize;
        return img;
    }
    const std::uint32_t entries = TableEntries(h);
    img.paletteEntries = static_cast<int>(entries);
    const bool indexed = h.bitsPerPixel == 1 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8;
    const bool direct = h.bitsPerPixel == 16 || h.bitsPerPixel == 24 || h.bitsPerPixel == 32;
    if (h.compression != 0 || !(indexed || direct)) return img;
    if (entries > 256 && indexed) return img;

    const std::uint64_t tableAt = kFileHeaderSize + h.size;
    const std::uint64_t tableBytes = std::uint64_t(entries) * h.entryBytes;
    if (tableAt + tableBytes > b.size()) return img;
    // The file header says where the bits start; 0 means right after the table.
    std::uint64_t bitsAt = U32(b, 10);
    if (bitsAt == 0) bitsAt = tableAt + tableBytes;
    const std::uint64_t stride = ((std::uint64_t(h.width) * h.bitsPerPixel + 31) / 32) * 4;
    if (bitsAt < tableAt + (indexed ? tableBytes : 0) || bitsAt + stride * h.height > b.size()) return img;

    img.width = static_cast<int>(h.width);
    img.height = static_cast<int>(h.height);
    img.rgb.assign(std::size_t(img.width) * img.height * 3, 0);
    auto put = [&](int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t bl) {
        std::uint8_t* p = &img.rgb[(std::size_t(y) * img.width + x) * 3];
        p[0] = r;
        p[1] = g;
        p[2] = bl;
    };
    for (int row = 0; row < img.height; ++row) {
        const std::size_t line = bitsAt + stride * row;
        const int y = img.height - 1 - row;  // rows are stored bottom-up
        for (int x = 0; x < img.width; ++x) {
            if (indexed) {
                const std::size_t bit = std::size_t(x) * h.bitsPerPixel;
                const std::uint8_t byte = static_cast<std::uint8_t>(b[line + bit / 8]);
                const unsigned shift = 8 - h.bitsPerPixel - bit % 8;
                const std::uint32_t index = (byte >> shift) & ((1u << h.bitsPerPixel) - 1);
                if (index >= entries) continue;  // outside the table: left black
                const std::size_t e = tableAt + index * h.entryBytes;
                put(x, y, b[e + 2], b[e + 1], b[e]);
            } else if (h.bitsPerPixel == 16) {
                const std::uint32_t v = U16(b, line + std::size_t(x) * 2);  // 5-5-5
                auto scale = [](std::uint32_t c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
                put(x, y, scale((v >> 10) & 31), scale((v >> 5) & 31), scale(v & 31));
            } else {
                const std::size_t p = line + std::size_t(x) * (h.bitsPerPixel / 8);
                put(x, y, b[p + 2], b[p + 1], b[p]);
            }
        }
    }
    img.status = DibImage::Status::Loaded;
    return img;
}

DibImage LoadDibFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    // A picture file larger than the biggest picture allowed is not one.
    constexpr std::streamoff kMaxFile = std::streamoff(kMaxDibSide) * kMaxDibSide * 4 + (1 << 20);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFile) return {};
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), size)) return {};
    return DecodeDib(bytes);
}

const char* DibFailureText(const DibImage& image) {
    switch (image.status) {
        case DibImage::Status::Loaded: return "";
        case DibImage::Status::BadSize: return kBadDibSizeText;
        case DibImage::Status::CannotLoad: break;
    }
    return kCannotLoadDibText;
}

}  // namespace flk
