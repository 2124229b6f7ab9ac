#pragma once
#include <optional>
#include <string>

namespace flk {

// The tabs of the configuration dialog, in their order.
enum class ConfigTab { Browsing = 0, Media = 1, Safety = 2, Advanced = 3 };
inline constexpr int kConfigTabCount = 4;

// Every field of the configuration whose value can be refused.
enum class ConfigField {
    BrowserPath,
    MediaStart,
    ImagesExtensions,
    AudioExtensions,
    VideoExtensions,
    MinImageSize,
    MaxImageSize,
    MaximumSites,
    PagesPerSite,
    MaxPerHost,
    UserAgent,
    Cookies,
};

ConfigTab TabOf(ConfigField field);

// A value that cannot be saved: the field to show and the message that
// names it. Nothing is written while there is one.
struct ConfigProblem {
    ConfigField field;
    std::string message;
};

using ConfigCheck = std::optional<ConfigProblem>;

inline constexpr char kConfigMessageCaption[] = "Configuration";

// A number typed into a field: optional white space around an optional sign
// and digits, nothing else.
enum class NumberReading { Ok, NotANumber, TooLarge };
NumberReading ReadWholeNumber(const std::string& text, int& value);

// The problem of a number field whose text does not read as a number, with
// the field's label in the message; nothing when it reads.
ConfigCheck CheckNumberField(ConfigField field, const char* label, const std::string& text, int& value);

}  // namespace flk
