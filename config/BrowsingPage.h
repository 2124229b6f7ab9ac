#pragma once
#include "config/ConfigProblem.h"

#include <string>

namespace flk {

class Settings;

// What the "Browsing" page's controls show, hidden ones included.
struct BrowsingValues {
    bool defaultBrowser = true;      // "Default browser" rather than "Choose browser:"
    std::string browserPath;         // the path field
    bool autoViewMedia = false;      // "Automatic view results when new media arrives"
    std::string mediaStart = "6";    // hidden: "When Findlark finds the first" count
    bool notifyMe = true;            // hidden: "Notify me."
    bool autoShowResults = false;    // hidden: "Automatically show media results."
    bool checkNewVersion = false;    // hidden: "Check for new version"
    // The folder of the last program picked with "Browse...", kept for OK.
    std::string lastBrowserFolder;

    bool operator==(const BrowsingValues&) const = default;
};

inline constexpr char kSelectBrowserTitle[] = "Select net browser";
// Linux programs carry no extension: every file is offered.
inline constexpr char kBrowserFilter[] = "*";
inline constexpr int kMediaStartMin = 6;
inline constexpr int kMediaStartMax = 80;

// The rules of the "Browsing" page: read from the profile, reset, check and
// write. The hidden controls have no keys: they open as "Default values"
// sets them and are never written.
class BrowsingPage {
public:
    explicit BrowsingPage(const Settings& settings);

    BrowsingValues& Values() { return values_; }
    const BrowsingValues& Values() const { return values_; }

    // The path field and "Browse..." are usable only with "Choose browser:".
    bool PathEnabled() const { return !values_.defaultBrowser; }
    // "Browse..." started in this folder.
    std::string BrowseFolder() const { return values_.lastBrowserFolder; }
    // A program picked with "Browse...": into the path field, its folder
    // remembered for the next time.
    void BrowserChosen(const std::string& file);

    void ResetToDefaults();
    // Refuses a "Choose browser:" path that names no program.
    ConfigCheck Check() const;
    // Writes the keys; call only after Check found nothing.
    void Save(Settings& settings) const;

private:
    BrowsingValues values_;
    std::string storedLastFolder_;
};

}  // namespace flk
