#pragma once

namespace flk {

class Settings;

// The stored safety level (`crawler`/`crl`, default 2), as written.
int GetSafetyLevel(const Settings& settings);
void SetSafetyLevel(Settings& settings, int level);

// A stored level outside 1..3 acts as the nearest level.
int EffectiveSafetyLevel(int storedLevel);

// What a level means for a keyword search, read by the search flow.
struct SafetyScope {
    int level = 2;  // 1..3
    // Level 1: keyword searches ask the directory alone (never the web
    // engines) and use only its category results.
    bool directoryOnly = false;
    // Directory results that are plain web pages are kept at levels 2 and 3.
    bool keepDirectoryWebPages = true;
    // Number of the directory request template (url1=, url2=, url3=).
    int directoryTemplate = 2;
};
SafetyScope SafetyScopeFor(int storedLevel);

}  // namespace flk
