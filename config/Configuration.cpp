#include "config/Configuration.h"

#include "config/AutostartEntry.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "search/SafetyPage.h"
#include "settings/Settings.h"

namespace flk {

Configuration::Configuration(Settings& settings, SafetyPage& safety)
    : settings_(settings), browsing_(settings), media_(settings), safety_(safety), advanced_(settings) {
    const int tab = settings.Get(keys::MediaTab);
    tab_ = tab >= 0 && tab < kConfigTabCount ? tab : 0;
}

void Configuration::ResetToDefaults() {
    browsing_.ResetToDefaults();
    media_.ResetToDefaults();
    advanced_.ResetToDefaults();
}

ConfigCheck Configuration::Check() const {
    if (auto p = browsing_.Check()) return p;
    if (auto p = media_.Check()) return p;
    return advanced_.Check();
}

std::string Configuration::AutostartFolderFor(const AutostartPlace& place) const {
    std::string folder = settings_.Get(keys::StartUpPath);
    if (folder.empty()) folder = place.defaultFolder;
    return WithTrailingSeparator(folder);
}

namespace {

// The tray's "Search" runs `module` split into words; a path with white
// space is quoted for that. A value in quotes from end to end loses them
// when read (the profile rule), so such a value gets one more pair.
std::string CommandLineOf(const std::string& program) {
    for (char c : program)
        if (c == ' ' || c == '\t' || c == '"') {
            std::string quoted = "\"";
            for (char q : program) quoted += q == '"' ? std::string("\\\"") : std::string(1, q);
            return "\"" + quoted + "\"\"";
        }
    return program;
}

void RecordMainProgram(const Settings& settings, const std::string& program) {
    if (program.empty()) return;
    RegistryStore registry = RegistryStore::InFolder(FolderOf(settings.ProfilePath()));
    if (!registry.Read(kTrayletRegistryKey, "module")) registry.Write(kTrayletRegistryKey, "module", CommandLineOf(program));
}

}  // namespace

ConfigCheck Configuration::Save(const AutostartPlace& place) {
    if (auto p = Check()) return p;
    settings_.Set(keys::MediaTab, tab_);
    browsing_.Save(settings_);
    media_.Save(settings_);
    safety_.Save();
    advanced_.Save(settings_);
    const std::string folder = AutostartFolderFor(place);
    if (advanced_.Values().loadTrayIcon) {
        autostartDone_ = InstallAutostartEntry(folder, place.trayletProgram);
        RecordMainProgram(settings_, place.mainProgram);
    } else {
        autostartDone_ = RemoveAutostartEntry(folder);
    }
    return std::nullopt;
}

}  // namespace flk
