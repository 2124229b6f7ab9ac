#include "search/SafetyLevel.h"

#include "settings/Settings.h"

namespace flk {

int GetSafetyLevel(const Settings& settings) { return settings.Get(keys::CrawlerSafetyLevel); }

void SetSafetyLevel(Settings& settings, int level) { settings.Set(keys::CrawlerSafetyLevel, level); }

int EffectiveSafetyLevel(int storedLevel) {
    if (storedLevel <= 1) return 1;
    if (storedLevel >= 3) return 3;
    return storedLevel;
}

SafetyScope SafetyScopeFor(int storedLevel) {
    SafetyScope scope;
    scope.level = EffectiveSafetyLevel(storedLevel);
    scope.directoryOnly = scope.level == 1;
    scope.keepDirectoryWebPages = scope.level >= 2;
    scope.directoryTemplate = scope.level;
    return scope;
}

}  // namespace flk
