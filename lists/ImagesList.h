#pragma once
#include "lists/MediaList.h"

#include <string>
#include <string_view>

namespace flk {

class Settings;

// The size filter of the images list (section "media").
struct ImageSizeLimits {
    long long minSize = 3000;
    long long maxSize = 1000000;
    bool minOn = true;
    bool maxOn = true;

    static ImageSizeLimits FromSettings(const Settings& settings);
    bool Passes(long long size) const { return (!minOn || size >= minSize) && (!maxOn || size <= maxSize); }
};

// The images list. Columns: 0 "Images" (file name), 1 "Location" (folder),
// 2 "Alt", 3 "Width", 4 "Height", 5 "Source title", 6 "Source URL",
// 7 "Size (KB)", 8 "Link text".
class ImagesList : public MediaList {
public:
    ImagesList();

    void SetSizeLimits(const ImageSizeLimits& limits);
    ImageSizeLimits SizeLimits() const;

    // Adds a found image unless its address (trimmed) was added before or is
    // a query ("?"). attributes: alt + ";;;" + width + ";;;" + height; an
    // empty alt shows the address. Queues an image size check. False when
    // nothing was added.
    bool AddImage(std::string_view url, std::string_view sourceUrl, std::string_view sourceTitle,
                  std::string_view attributes, std::string_view linkText);

    // "Visual size": sorts column 0's rows by width x height, this once.
    void SortByVisualSize();

    // A page title as the list keeps it: past 100 bytes it is cut (never
    // inside a UTF-8 sequence) and "..." appended, and then the first ","
    // at or after each 20-byte step becomes a space.
    static std::string ShortenTitle(std::string_view title);

protected:
    bool PassesSizeRule(const ListRow& row) const override;
    int CompareColumn(const ListRow& a, const ListRow& b, int column) const override;

private:
    ImageSizeLimits limits_;
};

}  // namespace flk
