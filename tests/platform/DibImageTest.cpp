// The tray picture's reader: every header is checked against the file's
// size before a byte of the picture is read.
#include "traylet/CommandWords.h"
#include "platform/DibImage.h"
#include "traylet/TrayletSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <cstdint>

using namespace flk;

namespace {

void Put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xffff);
    Put16(b, at + 2, v >> 16);
}

// A bitmap file: 40-byte header, `colours` table entries, then rows of
// `bits` per pixel, every byte of the pixel data set to `fill`.
std::string Bitmap(std::int32_t width, std::int32_t height, int bits, int colours, char fill = 0) {
    const std::size_t table = static_cast<std::size_t>(colours) * 4;
    const std::size_t stride = ((static_cast<std::size_t>(width < 0 ? -width : width) * bits + 31) / 32) * 4;
    const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    std::string b(14 + 40 + table, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size() + stride * rows));
    Put32(b, 10, static_cast<std::uint32_t>(14 + 40 + table));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bits));
    Put32(b, 46, static_cast<std::uint32_t>(colours));  // colours used (0: all)
    for (int i = 0; i < colours; ++i) {  // entry i: blue i, green 0, red 255 - i
        b[54 + i * 4] = static_cast<char>(i);
        b[54 + i * 4 + 2] = static_cast<char>(255 - i);
    }
    return b + std::string(stride * rows, fill);
}

}  // namespace

TEST(DibImage, ReadsWhatItShouldAndRefusesWhatDoesNotAddUp) {
    using S = DibImage::Status;
    const std::string good24 = Bitmap(3, 2, 24, 0, '\x10');
    std::string core(14 + 12 + 6 + 4, '\0');  // 12-byte header, 1 bpp, 2x1
    core[0] = 'B';
    core[1] = 'M';
    Put32(core, 14, 12);
    Put16(core, 18, 2);
    Put16(core, 20, 1);
    Put16(core, 22, 1);
    Put16(core, 24, 1);
    core[26 + 3] = '\xff';  // entry 1: blue 255
    core[32] = '\x40';      // pixels: 0, 1
    std::string tableOutside = Bitmap(2, 2, 8, 0);
    Put32(tableOutside, 46, 4000);  // 4000 colours said, none there
    std::string bitsOutside = good24;
    Put32(bitsOutside, 10, 1u << 30);
    std::string rle = good24;
    Put32(rle, 30, 1);
    std::string hugeHeader = good24;
    Put32(hugeHeader, 14, 0xfffffff0u);

    const struct {
        const char* what;
        std::string bytes;
        S status;
        int width, height;
        int paletteEntries;
    } rows[] = {
        {"24 bits", good24, S::Loaded, 3, 2, 0},
        {"8 bits with its table", Bitmap(4, 4, 8, 256), S::Loaded, 4, 4, 256},
        {"4 bits, colours used", Bitmap(5, 1, 4, 3), S::Loaded, 5, 1, 3},
        {"core header", core, S::Loaded, 2, 1, 2},
        {"32 bits", Bitmap(1, 1, 32, 0), S::Loaded, 1, 1, 0},
        {"empty picture", Bitmap(0, 0, 24, 0), S::Loaded, 0, 0, 0},
        {"negative width", Bitmap(-3, 2, 24, 0), S::BadSize, 0, 0, 0},
        {"negative height", Bitmap(3, -2, 24, 0), S::BadSize, 0, 0, 0},
        {"absurd size", Bitmap(kMaxDibSide + 1, 1, 1, 2), S::BadSize, 0, 0, 0},
        {"no BM", "XM" + good24.substr(2), S::CannotLoad, 0, 0, 0},
        {"empty file", "", S::CannotLoad, 0, 0, 0},
        {"file header only", good24.substr(0, 14), S::CannotLoad, 0, 0, 0},
        {"header cut", good24.substr(0, 30), S::CannotLoad, 0, 0, 0},
        {"pixels cut", good24.substr(0, good24.size() - 1), S::CannotLoad, 0, 0, 0},
        {"table beyond the file", tableOutside, S::CannotLoad, 0, 0, 0},
        {"bits beyond the file", bitsOutside, S::CannotLoad, 0, 0, 0},
        {"header longer than the file", hugeHeader, S::CannotLoad, 0, 0, 0},
        {"compressed", rle, S::CannotLoad, 0, 0, 0},
        {"bits per pixel 7", Bitmap(2, 2, 7, 0), S::CannotLoad, 0, 0, 0},
    };
    for (const auto& row : rows) {
        const DibImage img = DecodeDib(row.bytes);
        EXPECT_EQ(img.status, row.status) << row.what;
        EXPECT_EQ(img.width, row.width) << row.what;
        EXPECT_EQ(img.height, row.height) << row.what;
        if (img.Loaded()) {
            EXPECT_EQ(img.paletteEntries, row.paletteEntries) << row.what;
            EXPECT_EQ(img.rgb.size(), std::size_t(row.width) * row.height * 3) << row.what;
        } else {
            EXPECT_TRUE(img.rgb.empty()) << row.what;
        }
        EXPECT_STREQ(DibFailureText(img), row.status == S::Loaded    ? ""
                                          : row.status == S::BadSize ? "Insufficient memory to display bitmap"
                                                                     : "Couldn't load DIB")
            << row.what;
    }
    // Colours come from the table, rows from the bottom up.
    const DibImage c = DecodeDib(core);
    ASSERT_TRUE(c.Loaded());
    EXPECT_EQ(std::vector<std::uint8_t>(c.rgb.begin(), c.rgb.end()), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 255}));
}

TEST(DibImage, MissingFileCannotLoad) {
    EXPECT_EQ(LoadDibFile("/no/such/picture.bmp").status, DibImage::Status::CannotLoad);
    test::TempDir dir;
    dir.Write("p.bmp", Bitmap(2, 2, 24, 0));
    EXPECT_TRUE(LoadDibFile(dir.File("p.bmp")).Loaded());
}

TEST(TrayletSettings, ProfileAndRegistryValues) {
    test::TempDir dir;
    const std::string longTip(80, 't');
    dir.Write("flk.ini", "[VIEW]\nPopUp=0\n");
    dir.Write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Tesk\\FLKPop]\nmodule=\"/opt/my apps/FLK\" -guide\n"
                              "tooltip=" + longTip + "\ngotosite=http://x.example/\n");
    const TrayletSettings s = LoadTrayletSettings(dir.Path());
    EXPECT_EQ(s.popup, 0);
    ASSERT_TRUE(s.module.has_value());
    EXPECT_EQ(SplitCommandWords(*s.module), (std::vector<std::string>{"/opt/my apps/FLK", "-guide"}));
    EXPECT_EQ(s.tooltip, std::string(63, 't'));
    EXPECT_EQ(s.openimage, "traylet.bmp");
    EXPECT_EQ(s.gotosite, "http://x.example/");

    test::TempDir none;
    const TrayletSettings d = LoadTrayletSettings(none.Path());
    EXPECT_EQ(d.popup, -1);
    EXPECT_FALSE(d.module.has_value());
}

TEST(TrayletSettings, CommandWords) {
    const struct {
        const char* line;
        std::vector<std::string> words;
    } rows[] = {
        {"", {}},
        {"  FLK   -run ", {"FLK", "-run"}},
        {"\"a b\" c", {"a b", "c"}},
        {"\"say \\\"hi\\\"\"", {"say \"hi\""}},
        {"\"\"", {""}},
        {"a\"b c\"d", {"ab cd"}},
        {"; rm -rf x", {";", "rm", "-rf", "x"}},  // no shell: just words
    };
    for (const auto& row : rows) EXPECT_EQ(SplitCommandWords(row.line), row.words) << row.line;
}
