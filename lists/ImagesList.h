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
    // `modern`/`sizes`: a check's pixel size from the file replaces the tag's
    // width and height; with pure images (`tree`/`pure_images`) a row whose
    // size (the file's, else the tag's) has a side below 100 is removed then.
    void SetPixelRules(bool trueSizes, bool pureImages);

    // Adds a found image unless its address (trimmed) was added before or is
    // a query ("?"). attributes: alt + ";;;" + width + ";;;" + height; an
    // empty alt shows the address. Queues an image size check. False when
    // nothing was added.
    // With `checked`, no check is queued, the result applies at once and a
    // query address is listed too (its content type told what it is).
    bool AddImage(std::string_view url, std::string_view sourceUrl, std::string_view sourceTitle,
                  std::string_view attributes, std::string_view linkText, const MediaCheckResult* checked = nullptr);
    bool AddChecked(const ListedMedium& medium, const MediaCheckResult& result) override;

    // "Visual size": sorts column 0's rows by width x height, this once.
    void SortByVisualSize();

    // A page title as the list keeps it: past 100 bytes it is cut (never
    // inside a UTF-8 sequence) and "..." appended, and then the first ","
    // at or after each 20-byte step becomes a space.
    static std::string ShortenTitle(std::string_view title);

protected:
    bool ApplyFacts(ListRow& row, const MediaCheckResult& result) override;
    ListedMedium RowMedium(const ListRow& row) const override;
    bool PassesSizeRule(const ListRow& row) const override;
    int CompareColumn(const ListRow& a, const ListRow& b, int column) const override;

private:
    bool TooSmallLocked(const std::string& width, const std::string& height) const;

    ImageSizeLimits limits_;
    bool trueSizes_ = false;
    bool pureImages_ = false;
};

}  // namespace flk
