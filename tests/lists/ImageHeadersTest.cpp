#include "lists/ImageHeaders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace flk {
namespace {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string Be16(std::uint32_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
std::string Le16(std::uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le24(std::uint32_t v) { return Le16(v) + static_cast<char>(v >> 16); }
std::string Le32(std::uint32_t v) { return Le16(v) + Le16(v >> 16); }
std::string Box(const std::string& type, const std::string& body) { return Be32(8 + body.size()) + type + body; }

std::string Png(std::uint32_t w, std::uint32_t h, std::uint32_t length = 13, const char* type = "IHDR") {
    return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(length) + type + Be32(w) + Be32(h) + std::string(5, '\0');
}
std::string Gif(std::uint32_t w, std::uint32_t h) { return "GIF89a" + Le16(w) + Le16(h) + std::string(3, '\0'); }
std::string Jpeg(const std::string& segments) { return std::string("\xFF\xD8", 2) + segments; }
std::string Segment(unsigned char marker, const std::string& body) {
    return std::string("\xFF", 1) + static_cast<char>(marker) + Be16(body.size() + 2) + body;
}
std::string Sof(std::uint32_t w, std::uint32_t h) { return Segment(0xC0, std::string("\x08", 1) + Be16(h) + Be16(w) + std::string(4, '\x01')); }
std::string Riff(const std::string& chunk, const std::string& data) {
    return "RIFF" + Le32(4 + 8 + data.size()) + "WEBP" + chunk + Le32(data.size()) + data;
}
std::string Vp8(std::uint32_t w, std::uint32_t h) { return Riff("VP8 ", std::string(3, '\0') + "\x9D\x01\x2A" + Le16(w) + Le16(h)); }
std::string Vp8l(std::uint32_t w, std::uint32_t h) { return Riff("VP8L", "\x2F" + Le32((w - 1) | ((h - 1) << 14))); }
std::string Vp8x(std::uint32_t w, std::uint32_t h) { return Riff("VP8X", std::string(4, '\0') + Le24(w - 1) + Le24(h - 1)); }
std::string Bmp(std::uint32_t dib, std::int32_t w, std::int32_t h) {
    return "BM" + std::string(12, '\0') + Le32(dib) + Le32(static_cast<std::uint32_t>(w)) +
           Le32(static_cast<std::uint32_t>(h)) + std::string(28, '\0');
}
std::string BmpCore(std::uint32_t w, std::uint32_t h) { return "BM" + std::string(12, '\0') + Le32(12) + Le16(w) + Le16(h) + Le32(0); }
std::string Ispe(std::uint32_t w, std::uint32_t h) { return Box("ispe", Be32(0) + Be32(w) + Be32(h)); }
std::string Avif(const std::string& properties) {
    return Box("ftyp", "avif" + Be32(0) + "mif1avif") +
           Box("meta", Be32(0) + Box("hdlr", std::string(24, '\0')) + Box("iprp", Box("ipco", properties)));
}

using Reader = std::function<std::optional<PixelSize>(std::string_view)>;

struct Case {
    const char* name;
    Reader reader;
    std::string bytes;
    std::optional<PixelSize> expected;
};

const std::optional<PixelSize> kNone = std::nullopt;
std::optional<PixelSize> Size(long w, long h) { return PixelSize{w, h}; }

std::vector<Case> Cases() {
    const std::string png = Png(640, 480);
    const std::string jpeg = Jpeg(Segment(0xE0, "JFIF" + std::string(10, '\0')) + Sof(800, 600) + Segment(0xDA, "x"));
    const std::string avif = Avif(Ispe(64, 64) + Box("pixi", "x") + Ispe(1920, 1080));
    return {
        {"png", ReadPngSize, png, Size(640, 480)},
        {"png cut in its size", ReadPngSize, png.substr(0, 22), kNone},
        {"png whose first chunk is not IHDR", ReadPngSize, Png(640, 480, 13, "tEXt"), kNone},
        {"png with a lying IHDR length", ReadPngSize, Png(640, 480, 0x7fffffff), kNone},
        {"png of width 0", ReadPngSize, Png(0, 480), kNone},
        {"png of 2^31 pixels", ReadPngSize, Png(0x80000000u, 1), kNone},
        {"gif", ReadGifSize, Gif(1, 65535), Size(1, 65535)},
        {"gif87a", ReadGifSize, "GIF87a" + Le16(3) + Le16(4), Size(3, 4)},
        {"gif cut", ReadGifSize, Gif(3, 4).substr(0, 9), kNone},
        {"gif of height 0", ReadGifSize, Gif(3, 0), kNone},
        {"jpeg after an APP0 segment", ReadJpegSize, jpeg, Size(800, 600)},
        {"jpeg progressive (SOF2) after fill bytes", ReadJpegSize,
         Jpeg(std::string("\xFF\xFF", 2) + Segment(0xC2, std::string("\x08", 1) + Be16(10) + Be16(20) + "\x03")), Size(20, 10)},
        {"jpeg DHT is no frame header", ReadJpegSize, Jpeg(Segment(0xC4, std::string(20, '\x01')) + Sof(5, 6)), Size(5, 6)},
        {"jpeg cut inside the frame header", ReadJpegSize, jpeg.substr(0, jpeg.size() - 12), kNone},
        {"jpeg with scan data before a frame", ReadJpegSize, Jpeg(Segment(0xDA, "x") + Sof(5, 6)), kNone},
        {"jpeg whose segment length runs past the end", ReadJpegSize, Jpeg(std::string("\xFF\xE1\xFF\xFF", 4) + Sof(5, 6)), kNone},
        {"jpeg with a segment length below 2", ReadJpegSize, Jpeg(std::string("\xFF\xE1\x00\x01", 4) + Sof(5, 6)), kNone},
        {"jpeg of height 0 (set later by DNL)", ReadJpegSize, Jpeg(Sof(5, 0)), kNone},
        {"jpeg with garbage instead of a marker", ReadJpegSize, Jpeg("garbage" + Sof(5, 6)), kNone},
        {"webp lossy", ReadWebpSize, Vp8(300, 200), Size(300, 200)},
        {"webp lossy scale bits ignored", ReadWebpSize, Vp8(0xC000 | 300, 0x4000 | 200), Size(300, 200)},
        {"webp lossy without a start code", ReadWebpSize, Riff("VP8 ", std::string(10, '\0')), kNone},
        {"webp lossless", ReadWebpSize, Vp8l(16384, 7), Size(16384, 7)},
        {"webp lossless without signature", ReadWebpSize, Riff("VP8L", "\x2E" + Le32(0)), kNone},
        {"webp extended", ReadWebpSize, Vp8x(5000, 1), Size(5000, 1)},
        {"webp extended cut", ReadWebpSize, Vp8x(5000, 1).substr(0, 29), kNone},
        {"riff that is no webp", ReadWebpSize, "RIFF" + Le32(4) + "WAVEfmt " + Le32(0), kNone},
        {"bmp", ReadBmpSize, Bmp(40, 1024, 768), Size(1024, 768)},
        {"bmp top-down", ReadBmpSize, Bmp(124, 10, -20), Size(10, 20)},
        {"bmp core header", ReadBmpSize, BmpCore(7, 9), Size(7, 9)},
        {"bmp of negative width", ReadBmpSize, Bmp(40, -5, 5), kNone},
        {"bmp of height INT_MIN", ReadBmpSize, Bmp(40, 5, INT32_MIN), kNone},
        {"bmp with an unknown header length", ReadBmpSize, Bmp(20, 5, 5), kNone},
        {"bmp cut", ReadBmpSize, Bmp(40, 5, 5).substr(0, 24), kNone},
        {"avif: the largest ispe", ReadIsoBmffSize, avif, Size(1920, 1080)},
        {"avif cut inside the second ispe", ReadIsoBmffSize, avif.substr(0, avif.size() - 3), Size(64, 64)},
        {"avif without ispe", ReadIsoBmffSize, Avif(Box("pixi", "x")), kNone},
        {"avif with a box longer than its file", ReadIsoBmffSize,
         Box("ftyp", "avif") + Be32(0xFFFFFFF0u) + "meta" + Be32(0) + Box("iprp", Box("ipco", Ispe(9, 8))), Size(9, 8)},
        {"avif with a box shorter than its header", ReadIsoBmffSize, Box("ftyp", "avif") + Be32(3) + "meta", kNone},
        {"avif with a 64-bit size of 0", ReadIsoBmffSize, Box("ftyp", "avif") + Be32(1) + "meta" + Be32(0) + Be32(0), kNone},
        {"svg width and height", ReadSvgSize, R"(<?xml version="1.0"?><svg xmlns="x" width="120" height='80.4px'>)", Size(120, 80)},
        {"svg viewBox only", ReadSvgSize, "<svg viewBox=\"0 0 300,150\"></svg>", Size(300, 150)},
        {"svg width with viewBox", ReadSvgSize, "<svg width=\"600\" viewBox=\"-10 -10 300 150\">", Size(600, 300)},
        {"svg in percent falls back to viewBox", ReadSvgSize, "<svg width=\"100%\" height=\"100%\" viewBox=\"0 0 40 30\">", Size(40, 30)},
        {"svg in inches", ReadSvgSize, "<svg width=\"1in\" height=\"2in\">", Size(96, 192)},
        {"svg in em without viewBox", ReadSvgSize, "<svg width=\"3em\" height=\"2em\">", kNone},
        {"svg without size", ReadSvgSize, "<svg xmlns=\"x\"><rect width=\"5\" height=\"5\"/></svg>", kNone},
        {"svgfoo is no svg element", ReadSvgSize, "<svgfoo width=\"5\" height=\"5\">", kNone},
        {"svg tag never closed", ReadSvgSize, "<svg width=\"5\" height=\"5\"", kNone},
        {"svg value never closed", ReadSvgSize, "<svg width=\"5", kNone},
        {"svg negative viewBox size", ReadSvgSize, "<svg viewBox=\"0 0 -4 3\">", kNone},
        {"svg of a billion pixels", ReadSvgSize, "<svg width=\"1e9\" height=\"99999999999\">", kNone},
        {"any: png", ReadImageSize, png, Size(640, 480)},
        {"any: jpeg", ReadImageSize, jpeg, Size(800, 600)},
        {"any: avif", ReadImageSize, avif, Size(1920, 1080)},
        {"any: svg after a comment", ReadImageSize, "\n<!-- made by hand --><svg width=\"2\" height=\"3\">", Size(2, 3)},
        {"any: html is no image", ReadImageSize, "<html><svg width=\"2\" height=\"3\">", kNone},
        {"any: empty", ReadImageSize, "", kNone},
    };
}

TEST(ImageHeaders, SizesOfTruncatedAndLyingHeaders) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const auto got = c.reader(c.bytes);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_EQ(got->width, c.expected->width);
            EXPECT_EQ(got->height, c.expected->height);
        }
    }
}

TEST(ImageHeaders, EveryPrefixOfAGoodFileIsSafe) {
    // A ranged read may stop anywhere: every cut is either no size or the
    // true one, never another.
    for (const Case& c : Cases()) {
        if (!c.expected) continue;
        SCOPED_TRACE(c.name);
        for (std::size_t n = 0; n < c.bytes.size(); ++n) {
            const auto got = c.reader(std::string_view(c.bytes).substr(0, n));
            if (got && std::string(c.name).find("avif") == std::string::npos) {
                EXPECT_EQ(*got, *c.expected) << n;
            }
        }
    }
}

}  // namespace
}  // namespace flk
