#pragma once
#include "settings/SettingsKeys.h"

namespace flk {

class Settings;

// A calendar day in local time: four-digit year, month 1-12, day 1-31.
struct LocalDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const LocalDate&) const = default;
};

LocalDate TodayLocal();

// A date kept in the profile as three integer keys (the last update, the
// last patch request).
struct DateKeys {
    IntKey year;
    IntKey month;
    IntKey day;
};

inline constexpr DateKeys kUpdateDateKeys{keys::UpdateYear, keys::UpdateMonth, keys::UpdateDay};
inline constexpr DateKeys kPatchDateKeys{keys::PatchYear, keys::PatchMonth, keys::PatchDay};

LocalDate ReadDate(const Settings& settings, const DateKeys& keys);
// False when any of the three writes failed.
bool WriteDate(Settings& settings, const DateKeys& keys, const LocalDate& date);

}  // namespace flk
