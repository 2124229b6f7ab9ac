#include "session/ViewSwitches.h"

#include "settings/Settings.h"

#include <cstring>

namespace flk {

using namespace keys;

const std::array<ListSwitch, kListSwitchCount> kListSwitches = {{
    {&ViewTree, "Tree"},
    {&ViewImages, "Images"},
    {&ViewEmails, "E-mails"},
    {&ViewSounds, "Sounds"},
    {&ViewErrors, "Errors"},
    {&ViewExterns, "External links"},
    {&ViewApplets, "Applets"},
    {&ViewMovies, "Movies"},
    {&ViewForms, "Forms"},
    {&ViewDownloads, "Downloads"},
    {&ViewScripts, "Scripts"},
    {&ViewData, "Data"},
}};

namespace {

bool SwitchOn(const Settings& settings, const StrKey& key, bool missingOn) {
    return settings.GetProfileString(key.section, key.key, missingOn ? "1" : "0") == "1";
}

}  // namespace

bool WindowSwitchOn(const Settings& settings, const StrKey& key) {
    return SwitchOn(settings, key, std::strcmp(key.key, ViewTree.key) != 0);
}

CrawlerViewSwitches CrawlerViewSwitches::Read(const Settings& settings) {
    CrawlerViewSwitches s;
    s.tree = WindowSwitchOn(settings, ViewTree);
    s.images = WindowSwitchOn(settings, ViewImages);
    s.sounds = WindowSwitchOn(settings, ViewSounds);
    s.movies = WindowSwitchOn(settings, ViewMovies);
    s.toolbar = WindowSwitchOn(settings, ViewToolbar);
    s.progressbar = WindowSwitchOn(settings, ViewProgressbar);
    return s;
}

ListSwitchValues ReadListSwitches(const Settings& settings) {
    ListSwitchValues values{};
    for (std::size_t i = 0; i < kListSwitchCount; ++i) {
        const StrKey& key = *kListSwitches[i].key;
        values[i] = SwitchOn(settings, key, std::strcmp(key.key, ViewImages.key) == 0);
    }
    return values;
}

void WriteListSwitches(Settings& settings, const ListSwitchValues& values) {
    for (std::size_t i = 0; i < kListSwitchCount; ++i) settings.Set(*kListSwitches[i].key, values[i] ? "1" : "0");
}

void WriteBarSwitch(Settings& settings, const StrKey& key, bool shown) { settings.Set(key, shown ? "1" : "0"); }

}  // namespace flk
