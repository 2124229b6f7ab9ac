#include "update/LocalDate.h"

#include "settings/Settings.h"

#include <ctime>

namespace flk {

LocalDate TodayLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm when{};
    if (!localtime_r(&now, &when)) return {};
    return {when.tm_year + 1900, when.tm_mon + 1, when.tm_mday};
}

LocalDate ReadDate(const Settings& settings, const DateKeys& keys) {
    return {settings.Get(keys.year), settings.Get(keys.month), settings.Get(keys.day)};
}

bool WriteDate(Settings& settings, const DateKeys& keys, const LocalDate& date) {
    bool ok = settings.Set(keys.year, date.year);
    ok = settings.Set(keys.month, date.month) && ok;
    return settings.Set(keys.day, date.day) && ok;
}

}  // namespace flk
