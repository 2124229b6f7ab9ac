#pragma once
#include "settings/SettingsKeys.h"

#include <array>
#include <string>

namespace flk {

class Settings;

// The list switches of section "view" the "Lists..." dialog edits, in the
// order it shows them, with their labels.
struct ListSwitch {
    const StrKey* key;
    const char* label;
};
inline constexpr std::size_t kListSwitchCount = 12;
extern const std::array<ListSwitch, kListSwitchCount> kListSwitches;
using ListSwitchValues = std::array<bool, kListSwitchCount>;

// How the crawler window reads a "view" switch: "1" is on, and a missing key
// counts as on, except "tree", which counts as off.
bool WindowSwitchOn(const Settings& settings, const StrKey& key);

// The switches as the window applies them when it starts.
struct CrawlerViewSwitches {
    bool tree = false;
    bool images = true;
    bool sounds = true;
    bool movies = true;
    bool toolbar = true;
    bool progressbar = true;

    static CrawlerViewSwitches Read(const Settings& settings);
};

// The "Lists..." dialog shows a missing key as off, except "images", which
// it shows as on.
ListSwitchValues ReadListSwitches(const Settings& settings);
void WriteListSwitches(Settings& settings, const ListSwitchValues& values);

// "Tool bar" and "Progress bar" store their state as "1" / "0".
void WriteBarSwitch(Settings& settings, const StrKey& key, bool shown);

}  // namespace flk
