#pragma once
#include "config/ConfigProblem.h"
#include "settings/SettingsKeys.h"

#include <array>
#include <string>

namespace flk {

class Settings;

// What the "Advanced" page's controls show; number fields hold the text as
// typed.
struct AdvancedValues {
    bool minSizeOn = true;                 // "Minimum images size:"
    std::string minSize = "3000";          // bytes
    bool maxSizeOn = true;                 // "Maximum images size:"
    std::string maxSize = "1000000";       // bytes
    bool pureImages = true;                // "Pure images"
    bool downloadImages = true;            // "Download images to disk"
    std::string maximumSites = "30";       // "Maximum sites:"
    bool categoryTree = false;             // "Show category tree."
    bool ftpValidation = false;            // "Validate FTP links."
    bool pagesPerSiteOn = true;            // "Maximum pages per site:"
    std::string pagesPerSite = "10";
    bool loadTrayIcon = true;              // "Load SysTray Icon automatically"

    // "Today's web": section `modern`.
    bool modernMarkup = true;
    bool modernFormats = true;
    bool contentTypes = true;
    bool trueSizes = true;
    bool duplicates = true;
    bool robots = true;
    bool retryAfter = true;
    bool compression = true;
    bool offlinePages = true;
    bool hitText = true;
    std::string maxPerHost = "4";          // "Requests at once per host:"
    std::string userAgent;                 // "User agent:"; empty: the classic agent name
    std::string cookies;                   // "Cookies:", a cookies.txt file; empty: none

    bool operator==(const AdvancedValues&) const = default;
};

// The on/off keys of "Today's web", each with the box that shows it
// (the control's name is "chk_modern_" followed by the key's name).
struct ModernSwitch {
    const IntKey* key;
    bool AdvancedValues::*value;
};
const std::array<ModernSwitch, 10>& ModernSwitches();

// "Requests at once per host:" takes 1 to this many.
inline constexpr int kMaxRequestsPerHost = 64;

// Added to the minimum when a maximum below it is saved.
inline constexpr int kMaxSizeMargin = 50000;

// The rules of the "Advanced" page. The tray icon's autostart entry is the
// dialog's business (it follows loadTrayIcon on OK).
class AdvancedPage {
public:
    explicit AdvancedPage(const Settings& settings);

    AdvancedValues& Values() { return values_; }
    const AdvancedValues& Values() const { return values_; }

    // Every box but "Show category tree." ticked (FTP validation and every
    // switch of today's web too), sizes, pages per site and requests per host
    // to their defaults, no user agent and no cookies; "Maximum sites:"
    // keeps its value.
    void ResetToDefaults();
    // Refuses letters in a number field, negative image sizes, a maximum
    // below the minimum while both limits are in force, requests per host
    // outside 1..kMaxRequestsPerHost, a user agent with control characters
    // (they would end the request's header line), and a cookies file that
    // cannot be read as cookies.txt.
    ConfigCheck Check() const;
    void Save(Settings& settings) const;

private:
    AdvancedValues values_;
};

}  // namespace flk
