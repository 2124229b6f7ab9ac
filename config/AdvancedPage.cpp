#include "config/AdvancedPage.h"

#include "net/CookieFile.h"
#include "platform/TextUtil.h"
#include "settings/Settings.h"

#include <algorithm>
#include <ctime>

namespace flk {

namespace {

constexpr char kMinSizeLabel[] = "Minimum images size:";
constexpr char kMaxSizeLabel[] = "Maximum images size:";
constexpr char kMaximumSitesLabel[] = "Maximum sites:";
constexpr char kPagesPerSiteLabel[] = "Maximum pages per site:";
constexpr char kMaxPerHostLabel[] = "Requests at once per host:";
constexpr char kUserAgentLabel[] = "User agent:";
constexpr char kCookiesLabel[] = "Cookies:";

struct Numbers {
    int minSize = 0, maxSize = 0, maximumSites = 0, pagesPerSite = 0, maxPerHost = 0;
};

ConfigCheck ReadNumbers(const AdvancedValues& v, Numbers& n) {
    if (auto p = CheckNumberField(ConfigField::MinImageSize, kMinSizeLabel, v.minSize, n.minSize)) return p;
    if (auto p = CheckNumberField(ConfigField::MaxImageSize, kMaxSizeLabel, v.maxSize, n.maxSize)) return p;
    if (auto p = CheckNumberField(ConfigField::MaximumSites, kMaximumSitesLabel, v.maximumSites, n.maximumSites))
        return p;
    if (auto p = CheckNumberField(ConfigField::PagesPerSite, kPagesPerSiteLabel, v.pagesPerSite, n.pagesPerSite))
        return p;
    return CheckNumberField(ConfigField::MaxPerHost, kMaxPerHostLabel, v.maxPerHost, n.maxPerHost);
}

std::string Quoted(const char* label) { return std::string("\"") + label + "\""; }

// The stored limit as the field shows it: 0 or less (no limit) and anything
// above the most the field takes show as that most.
std::string ShownMaxPerHost(int stored) {
    return std::to_string(stored >= 1 && stored <= kMaxRequestsPerHost ? stored : kMaxRequestsPerHost);
}

bool HoldsControlCharacters(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
    });
}

ConfigCheck CheckTodaysWeb(const AdvancedValues& v, const Numbers& n) {
    if (n.maxPerHost < 1 || n.maxPerHost > kMaxRequestsPerHost)
        return ConfigProblem{ConfigField::MaxPerHost, Quoted(kMaxPerHostLabel) + " needs a number from 1 to " +
                                                          std::to_string(kMaxRequestsPerHost) + "."};
    if (HoldsControlCharacters(v.userAgent))
        return ConfigProblem{ConfigField::UserAgent,
                             Quoted(kUserAgentLabel) + " cannot hold tabs, line breaks or other control characters."};
    const std::string cookies = TrimCopy(v.cookies);
    if (cookies.empty()) return std::nullopt;
    const CookieFileRead read = ReadCookieFile(cookies, std::time(nullptr));
    if (!read.ok)
        return ConfigProblem{ConfigField::Cookies, Quoted(kCookiesLabel) +
                                                       " needs a file in the cookies.txt format (Netscape): the " +
                                                       read.fault + "."};
    return std::nullopt;
}

// Rounded up to the next multiple of 10; 0 or less asks for 10.
int RoundSites(int sites) {
    if (sites <= 0) return 10;
    return sites > 2147483640 ? 2147483640 : (sites + 9) / 10 * 10;
}

}  // namespace

const std::array<ModernSwitch, 10>& ModernSwitches() {
    using namespace keys;
    static const std::array<ModernSwitch, 10> switches = {{
        {&ModernMarkup, &AdvancedValues::modernMarkup},
        {&ModernFormats, &AdvancedValues::modernFormats},
        {&ModernContent, &AdvancedValues::contentTypes},
        {&ModernSizes, &AdvancedValues::trueSizes},
        {&ModernDuplicates, &AdvancedValues::duplicates},
        {&ModernRobots, &AdvancedValues::robots},
        {&ModernRetryAfter, &AdvancedValues::retryAfter},
        {&ModernCompression, &AdvancedValues::compression},
        {&ModernOffline, &AdvancedValues::offlinePages},
        {&ModernHitText, &AdvancedValues::hitText},
    }};
    return switches;
}

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
    for (const ModernSwitch& s : ModernSwitches()) values_.*s.value = settings.Get(*s.key) != 0;
    values_.maxPerHost = ShownMaxPerHost(settings.Get(ModernMaxPerHost));
    values_.userAgent = settings.Get(ModernUserAgent);
    values_.cookies = settings.Get(ModernCookies);
}

void AdvancedPage::ResetToDefaults() {
    values_.ftpValidation = values_.minSizeOn = values_.maxSizeOn = values_.pagesPerSiteOn = true;
    values_.pureImages = values_.downloadImages = values_.loadTrayIcon = true;
    values_.minSize = "3000";
    values_.maxSize = "1000000";
    values_.pagesPerSite = "10";
    values_.categoryTree = false;
    for (const ModernSwitch& s : ModernSwitches()) values_.*s.value = s.key->def != 0;
    values_.maxPerHost = std::to_string(keys::ModernMaxPerHost.def);
    values_.userAgent = keys::ModernUserAgent.def;
    values_.cookies = keys::ModernCookies.def;
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
    return CheckTodaysWeb(values_, n);
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
    for (const ModernSwitch& s : ModernSwitches()) settings.Set(*s.key, values_.*s.value ? 1 : 0);
    settings.Set(ModernMaxPerHost, std::clamp(n.maxPerHost, 1, kMaxRequestsPerHost));
    settings.Set(ModernUserAgent, TrimCopy(values_.userAgent));
    settings.Set(ModernCookies, TrimCopy(values_.cookies));
}

}  // namespace flk
