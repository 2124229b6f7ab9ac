#include "config/AdvancedPage.h"

#include "settings/Settings.h"

#include <algorithm>

namespace flk {

namespace {

constexpr char kMinSizeLabel[] = "Minimum images size:";
constexpr char kMaxSizeLabel[] = "Maximum images size:";
constexpr char kMaximumSitesLabel[] = "Maximum sites:";
constexpr char kPagesPerSiteLabel[] = "Maximum pages per site:";

struct Numbers {
    int minSize = 0, maxSize = 0, maximumSites = 0, pagesPerSite = 0;
};

ConfigCheck ReadNumbers(const AdvancedValues& v, Numbers& n) {
    if (auto p = CheckNumberField(ConfigField::MinImageSize, kMinSizeLabel, v.minSize, n.minSize)) return p;
    if (auto p = CheckNumberField(ConfigField::MaxImageSize, kMaxSizeLabel, v.maxSize, n.maxSize)) return p;
    if (auto p = CheckNumberField(ConfigField::MaximumSites, kMaximumSitesLabel, v.maximumSites, n.maximumSites))
        return p;
    return CheckNumberField(ConfigField::PagesPerSite, kPagesPerSiteLabel, v.pagesPerSite, n.pagesPerSite);
}

// Rounded up to the next multiple of 10; 0 or less asks for 10.
int RoundSites(int sites) {
    if (sites <= 0) return 10;
    return sites > 2147483640 ? 2147483640 : (sites + 9) / 10 * 10;
}

}  // namespace

AdvancedPage::AdvancedPage(const Settings& settings) {
    using namespace keys;
    // Each box opens ticked exactly when the program treats its key as on.
    values_.minSizeOn = settings.Get(MediaImagesMinSizeLimit) == 1;
    values_.minSize = std::to_string(settings.Get(MediaImagesMinSize));
    values_.maxSizeOn = settings.Get(MediaImagesMaxSizeLimit) == 1;
    values_.maxSize = std::to_string(settings.Get(MediaImagesMaxSize));
    values_.pureImages = settings.Get(TreePureImages) == 1;
    values_.downloadImages = settings.Get(TreeDownload) == 1;
    values_.maximumSites = std::to_string(settings.Get(SearchCategoriesAmount));
    values_.categoryTree = settings.Get(ViewCategoriesTree) != 0;
    values_.ftpValidation = settings.Get(CrawlerFtpValidation) == 1;
    values_.pagesPerSiteOn = settings.Get(CrawlerPagesPerDomainLimit) != 0;
    values_.pagesPerSite = std::to_string(settings.Get(CrawlerPagesPerSiteInConfig));
    values_.loadTrayIcon = settings.Get(ViewPopUp) != 0;
}

void AdvancedPage::ResetToDefaults() {
    values_.ftpValidation = values_.minSizeOn = values_.maxSizeOn = values_.pagesPerSiteOn = true;
    values_.pureImages = values_.downloadImages = values_.loadTrayIcon = true;
    values_.minSize = "3000";
    values_.maxSize = "1000000";
    values_.pagesPerSite = "10";
    values_.categoryTree = false;
}

ConfigCheck AdvancedPage::Check() const {
    Numbers n;
    if (auto p = ReadNumbers(values_, n)) return p;
    if (n.minSize < 0)
        return ConfigProblem{ConfigField::MinImageSize, std::string("\"") + kMinSizeLabel + "\" cannot be negative."};
    if (n.maxSize < 0)
        return ConfigProblem{ConfigField::MaxImageSize, std::string("\"") + kMaxSizeLabel + "\" cannot be negative."};
    if (values_.minSizeOn && values_.maxSizeOn && n.maxSize < n.minSize)
        return ConfigProblem{ConfigField::MaxImageSize, std::string("\"") + kMaxSizeLabel +
                                                            "\" cannot be smaller than \"" + kMinSizeLabel + "\"."};
    return std::nullopt;
}

void AdvancedPage::Save(Settings& settings) const {
    using namespace keys;
    Numbers n;
    ReadNumbers(values_, n);
    const int minSize = std::max(n.minSize, 0);
    int maxSize = std::max(n.maxSize, 0);
    // Only reached with a limit switched off: Check refuses it otherwise.
    if (maxSize < minSize) maxSize = minSize > 2147483647 - kMaxSizeMargin ? 2147483647 : minSize + kMaxSizeMargin;
    settings.Set(MediaImagesMinSizeLimit, values_.minSizeOn ? 1 : 0);
    settings.Set(MediaImagesMinSize, minSize);
    settings.Set(MediaImagesMaxSizeLimit, values_.maxSizeOn ? 1 : 0);
    settings.Set(MediaImagesMaxSize, maxSize);
    settings.Set(TreePureImages, values_.pureImages ? 1 : 0);
    settings.Set(TreeDownload, values_.downloadImages ? 1 : 0);
    settings.Set(SearchCategoriesAmount, RoundSites(n.maximumSites));
    settings.Set(ViewCategoriesTree, values_.categoryTree ? 1 : 0);
    settings.Set(CrawlerFtpValidation, values_.ftpValidation ? 1 : 0);
    settings.Set(CrawlerPagesPerDomainLimit, values_.pagesPerSiteOn ? 1 : 0);
    settings.Set(CrawlerPagesPerSiteInConfig, std::max(n.pagesPerSite, 1));
    settings.Set(ViewPopUp, values_.loadTrayIcon ? 1 : 0);
}

}  // namespace flk
