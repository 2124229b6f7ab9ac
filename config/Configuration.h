#pragma once
#include "config/AdvancedPage.h"
#include "config/BrowsingPage.h"
#include "config/ConfigProblem.h"
#include "config/MediaPage.h"

#include <string>

namespace flk {

class SafetyPage;
class Settings;

// Where OK puts the tray companion's start-up entry.
struct AutostartPlace {
    std::string defaultFolder;   // used when [StartUp] "Path" is empty
    std::string trayletProgram;  // what the entry starts
    // The main program, recorded as the tray's "Search" command (registry
    // value `module`) when none is recorded yet; empty: left alone.
    std::string mainProgram;
};

// The "Configuration" dialog without its window: the four pages and the tab
// shown. Nothing reaches the profile before Save, except a password set on
// the safety page, which its own rules write at once.
class Configuration {
public:
    // Reads every page; safety is the safety page the dialog shows.
    Configuration(Settings& settings, SafetyPage& safety);

    BrowsingPage& Browsing() { return browsing_; }
    MediaPage& Media() { return media_; }
    SafetyPage& Safety() { return safety_; }
    AdvancedPage& Advanced() { return advanced_; }
    const BrowsingPage& Browsing() const { return browsing_; }
    const MediaPage& Media() const { return media_; }
    const AdvancedPage& Advanced() const { return advanced_; }
    const SafetyPage& Safety() const { return safety_; }

    // The tab shown: [media] "tab" when opening (outside 0..3: the first).
    int Tab() const { return tab_; }
    void SetTab(int tab) { tab_ = tab; }

    // "Default values": the controls of the Browsing, Media and Advanced
    // pages; the profile is not touched.
    void ResetToDefaults();
    // The first value that cannot be saved, page by page.
    ConfigCheck Check() const;
    // OK: when Check finds a problem nothing is written and it is returned.
    // Otherwise every page and the tab are written, and the start-up entry
    // is installed or removed as "Load SysTray Icon automatically" says
    // (installed, it also records the main program for the tray's "Search").
    ConfigCheck Save(const AutostartPlace& place);
    // After Save: false when the start-up entry could not be changed.
    bool AutostartDone() const { return autostartDone_; }
    // The folder Save puts the entry in.
    std::string AutostartFolderFor(const AutostartPlace& place) const;

private:
    Settings& settings_;
    BrowsingPage browsing_;
    MediaPage media_;
    SafetyPage& safety_;
    AdvancedPage advanced_;
    int tab_ = 0;
    bool autostartDone_ = true;
};

inline constexpr char kAutostartFailedText[] =
    "The start-up entry of the tray icon could not be changed in this folder:\n";

}  // namespace flk
