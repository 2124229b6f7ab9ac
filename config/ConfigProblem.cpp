#include "config/ConfigProblem.h"

#include "platform/TextUtil.h"

#include <limits>

namespace flk {

ConfigTab TabOf(ConfigField field) {
    switch (field) {
        case ConfigField::BrowserPath:
        case ConfigField::MediaStart: return ConfigTab::Browsing;
        case ConfigField::ImagesExtensions:
        case ConfigField::AudioExtensions:
        case ConfigField::VideoExtensions: return ConfigTab::Media;
        case ConfigField::MinImageSize:
        case ConfigField::MaxImageSize:
        case ConfigField::MaximumSites:
        case ConfigField::PagesPerSite:
        case ConfigField::MaxPerHost:
        case ConfigField::UserAgent:
        case ConfigField::Cookies: break;
    }
    return ConfigTab::Advanced;
}

NumberReading ReadWholeNumber(const std::string& text, int& value) {
    const std::string_view t = Trim(text);
    std::size_t at = 0;
    bool negative = false;
    if (at < t.size() && (t[at] == '-' || t[at] == '+')) negative = t[at++] == '-';
    if (at == t.size()) return NumberReading::NotANumber;
    long long n = 0;
    bool tooLarge = false;
    for (; at < t.size(); ++at) {
        if (t[at] < '0' || t[at] > '9') return NumberReading::NotANumber;
        if (!tooLarge) n = n * 10 + (t[at] - '0');
        if (n > std::numeric_limits<int>::max()) tooLarge = true;
    }
    if (tooLarge) return NumberReading::TooLarge;
    value = static_cast<int>(negative ? -n : n);
    return NumberReading::Ok;
}

ConfigCheck CheckNumberField(ConfigField field, const char* label, const std::string& text, int& value) {
    switch (ReadWholeNumber(text, value)) {
        case NumberReading::Ok: return std::nullopt;
        case NumberReading::NotANumber:
            return ConfigProblem{field, std::string("\"") + label + "\" needs a whole number, written with digits only."};
        case NumberReading::TooLarge: break;
    }
    return ConfigProblem{field, std::string("The number in \"") + label + "\" is too large."};
}

}  // namespace flk
