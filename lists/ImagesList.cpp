#include "lists/ImagesList.h"

#include "settings/Settings.h"
#include "crawl/FoundItems.h"
#include "platform/Notifier.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

constexpr ListColumn kColumns[] = {
    {"Images", 100},      {"Location", 150},   {"Alt", 70},
    {"Width", 40},        {"Height", 50},      {"Source title", 150},
    {"Source URL", 200},  {"Size (KB)", 50},   {"Link text", 150},
};

constexpr MediaListLayout kLayout{
    "Images",           kColumns,          std::size(kColumns), 7, 7, "1,0,2,3,4,5,6",
    "ImageLinks.txt",   "Images:",         "ImagesReport.txt",  "{[(ImagesList)]}",
    notify::ImagesCount,
};

constexpr std::size_t kTitleMax = 100;
constexpr std::size_t kCommaStep = 20;

}  // namespace

ImageSizeLimits ImageSizeLimits::FromSettings(const Settings& settings) {
    ImageSizeLimits l;
    l.minSize = settings.Get(keys::MediaImagesMinSize);
    l.maxSize = settings.Get(keys::MediaImagesMaxSize);
    l.minOn = settings.Get(keys::MediaImagesMinSizeLimit) == 1;
    l.maxOn = settings.Get(keys::MediaImagesMaxSizeLimit) == 1;
    return l;
}

ImagesList::ImagesList() : MediaList(kLayout) {}

void ImagesList::SetSizeLimits(const ImageSizeLimits& limits) {
    std::lock_guard<std::mutex> lock(mu_);
    limits_ = limits;
    Touch();  // the kept count of valid rows no longer holds
}

ImageSizeLimits ImagesList::SizeLimits() const {
    std::lock_guard<std::mutex> lock(mu_);
    return limits_;
}

void ImagesList::SetPixelRules(bool trueSizes, bool pureImages) {
    std::lock_guard<std::mutex> lock(mu_);
    trueSizes_ = trueSizes;
    pureImages_ = pureImages;
}

namespace {

// A stated side: its leading digits; -1 (unknown, never small) for an
// empty or non-numeric text.
long StatedSide(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text[0] < '0' || text[0] > '9') return -1;
    return static_cast<long>(LeadingInt(text));
}

}  // namespace

bool ImagesList::TooSmallLocked(const std::string& width, const std::string& height) const {
    if (!trueSizes_ || !pureImages_) return false;
    const long w = StatedSide(width), h = StatedSide(height);
    return (w >= 0 && w < 100) || (h >= 0 && h < 100);
}

std::string ImagesList::ShortenTitle(std::string_view title) {
    if (title.size() <= kTitleMax) return std::string(title);
    std::size_t cut = kTitleMax;
    while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80) --cut;
    std::string out(title.substr(0, cut));
    out += "...";
    for (std::size_t at = 0; at < out.size(); at += kCommaStep) {
        std::size_t comma = out.find(',', at);
        if (comma != std::string::npos) out[comma] = ' ';
    }
    return out;
}

bool ImagesList::AddImage(std::string_view url, std::string_view sourceUrl, std::string_view sourceTitle,
                          std::string_view attributes, std::string_view linkText, const MediaCheckResult* checked) {
    std::string title = ShortenTitle(sourceTitle);
    const std::string address = TrimCopy(url);
    // Query images are never listed, and not remembered either, unless
    // their content type named them images.
    if (!checked && address.find('?') != std::string::npos) return false;

    std::string alt(attributes), width, height;
    if (std::size_t s1 = attributes.find(kDescriptionSeparator); s1 != std::string_view::npos) {
        alt.assign(attributes.substr(0, s1));
        std::string_view rest = attributes.substr(s1 + kDescriptionSeparator.size());
        if (std::size_t s2 = rest.find(kDescriptionSeparator); s2 != std::string_view::npos) {
            width.assign(rest.substr(0, s2));
            height.assign(rest.substr(s2 + kDescriptionSeparator.size()));
        }
    }
    alt = TrimCopy(alt);
    if (alt.empty()) alt = address;

    std::string folder, name;
    SplitFolderAndName(address, folder, name);
    {
        std::lock_guard<std::mutex> lock(mu_);
        // Without a checker no file will tell the size: the tag's decides.
        if (!checked && !HasChecker() && TooSmallLocked(width, height)) return false;
        if (!AppendRowLocked(address, {std::move(name), std::move(folder), std::move(alt), std::move(width),
                                       std::move(height), std::move(title), TrimCopy(sourceUrl), std::string(),
                                       std::string(linkText)}))
            return false;
    }
    if (!checked) {
        AfterAdd(address, MediaCheckKind::Image);
        return true;
    }
    AfterAdd(std::string(), MediaCheckKind::Image);
    MediaCheckResult result = *checked;
    result.url = address;
    ApplyCheck(result);
    return true;
}

bool ImagesList::AddChecked(const ListedMedium& m, const MediaCheckResult& result) {
    const std::string attributes = ImageDescription(m.alt, m.width, m.height);
    return AddImage(m.url, m.pageUrl, m.pageTitle, attributes, m.linkText, &result);
}

ListedMedium ImagesList::RowMedium(const ListRow& row) const {
    ListedMedium m;
    m.url = row.cells[1] + row.cells[0];
    m.alt = row.cells[2] == m.url ? std::string() : row.cells[2];
    m.width = row.cells[3];
    m.height = row.cells[4];
    m.pageTitle = row.cells[5];
    m.pageUrl = row.cells[6];
    m.linkText = row.cells[8];
    return m;
}

bool ImagesList::ApplyFacts(ListRow& row, const MediaCheckResult& result) {
    if (!trueSizes_) return true;
    if (result.width > 0 && result.height > 0) {
        row.cells[3] = std::to_string(result.width);
        row.cells[4] = std::to_string(result.height);
    }
    return !TooSmallLocked(row.cells[3], row.cells[4]);
}

bool ImagesList::PassesSizeRule(const ListRow& row) const { return limits_.Passes(RuleSize(row.cells[7])); }

int ImagesList::CompareColumn(const ListRow& a, const ListRow& b, int column) const {
    if (column == 3 || column == 4) return ThreeWay(LeadingInt(a.cells[column]), LeadingInt(b.cells[column]));
    return MediaList::CompareColumn(a, b, column);
}

void ImagesList::SortByVisualSize() {
    std::lock_guard<std::mutex> lock(mu_);
    sort_.MenuSort();
    SortLocked([](const ListRow& a, const ListRow& b) {
        return ThreeWay(LeadingInt(a.cells[3]) * LeadingInt(a.cells[4]), LeadingInt(b.cells[3]) * LeadingInt(b.cells[4]));
    });
}

}  // namespace flk
