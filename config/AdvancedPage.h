#pragma once
#include "config/ConfigProblem.h"

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

    bool operator==(const AdvancedValues&) const = default;
};

// Added to the minimum when a maximum below it is saved.
inline constexpr int kMaxSizeMargin = 50000;

// The rules of the "Advanced" page. The tray icon's autostart entry is the
// dialog's business (it follows loadTrayIcon on OK).
class AdvancedPage {
public:
    explicit AdvancedPage(const Settings& settings);

    AdvancedValues& Values() { return values_; }
    const AdvancedValues& Values() const { return values_; }

    // Every box but "Show category tree." ticked (FTP validation too), sizes and pages per site
    // to their defaults; "Maximum sites:" keeps its value.
    void ResetToDefaults();
    // Refuses letters in a number field, negative image sizes, and a
    // maximum below the minimum while both limits are in force.
    ConfigCheck Check() const;
    void Save(Settings& settings) const;

private:
    AdvancedValues values_;
};

}  // namespace flk
