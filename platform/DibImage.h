#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace flk {

// A device-independent bitmap file (the tray picture, the logos) whose
// headers are checked against the file's size before anything is read,
// decoded to RGB rows from the top. Uncompressed bitmaps of 1, 4, 8, 16, 24 and 32 bits per
// pixel, with the 40-byte (or longer) information header or the 12-byte
// core header.
struct DibImage {
    enum class Status {
        Loaded,
        CannotLoad,  // missing file, wrong signature, short or inconsistent file
        BadSize,     // negative or absurd width or height
    };

    Status status = Status::CannotLoad;
    int width = 0;
    int height = 0;
    int paletteEntries = 0;          // colour-table entries the header asks for
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, top row first

    bool Loaded() const { return status == Status::Loaded; }
};

inline constexpr char kCannotLoadDibText[] = "Couldn't load DIB";
inline constexpr char kBadDibSizeText[] = "Insufficient memory to display bitmap";

// Larger pictures are refused like a negative size: nothing this big is a
// pop-up picture, and it would cost gigabytes.
inline constexpr int kMaxDibSide = 8192;

DibImage DecodeDib(const std::string& fileBytes);
DibImage LoadDibFile(const std::string& path);

// The message to show for a picture that did not load ("" when it did).
const char* DibFailureText(const DibImage& image);

}  // namespace flk
