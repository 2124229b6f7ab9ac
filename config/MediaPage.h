#pragma once
#include "config/ConfigProblem.h"
#include "settings/SettingsKeys.h"

#include <array>
#include <string>
#include <vector>

namespace flk {

class Settings;

// One group of the "Media" page: a check box per standard extension, in
// this order, and a free field for the rest.
struct MediaKind {
    const char* group;                     // "Images", "Audio", "Video"
    StrKey key;
    ConfigField field;                     // its free field
    std::vector<const char*> extensions;   // the boxes
    std::vector<bool> defaultTicks;        // what "Default values" ticks
};

const std::array<MediaKind, 3>& MediaKinds();

struct MediaKindValues {
    std::vector<bool> ticked;  // one per box of the kind
    std::string freeText;      // the free field

    bool operator==(const MediaKindValues&) const = default;
};

// Opening: each standard extension found in the stored list ticks its box
// and leaves the text; what remains goes into the free field. Items are
// compared whole and without regard to case, so "mjpg;" ticks nothing.
MediaKindValues SplitMediaList(const MediaKind& kind, const std::string& stored);
// Saving: the free field trimmed at the end, ";" added when it lacks one,
// then every ticked extension with its ";", in box order.
std::string JoinMediaList(const MediaKind& kind, const MediaKindValues& values);

// The rules of the "Media" page.
class MediaPage {
public:
    explicit MediaPage(const Settings& settings);

    MediaKindValues& Values(std::size_t kind) { return values_[kind]; }
    const MediaKindValues& Values(std::size_t kind) const { return values_[kind]; }

    // The boxes to their defaults; the free fields keep their text.
    void ResetToDefaults();
    // Refuses a free field with an empty extension (";;", a lone ";") or an
    // extension with a dot or white space in it, which no file would match.
    ConfigCheck Check() const;
    void Save(Settings& settings) const;

private:
    std::array<MediaKindValues, 3> values_;
};

}  // namespace flk
