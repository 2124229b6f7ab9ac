#pragma once
#include "settings/SettingsKeys.h"

#include <string>
#include <string_view>

namespace flk {

class ParsedUrl;
class Settings;

// True when the extension, followed by ";", occurs anywhere in the list
// ("jpg;jpeg;gif;"). A substring test, so "peg" is in through "jpeg;". Both
// sides are compared in ASCII lower case, so "UP.JPG" is an image. An empty
// extension is in no list.
bool InExtensionList(std::string_view list, std::string_view extension);

// Which found-items list a link goes to.
enum class MediaKindList { None, Images, Sounds, Movies };

// The three extension lists of section `media`. These, not the fixed kind
// table of ParsedUrl, decide what is collected as an image, sound or movie.
struct MediaExtensionLists {
    std::string images = keys::MediaImages.def;
    std::string audio = keys::MediaAudio.def;
    std::string video = keys::MediaVideo.def;

    static MediaExtensionLists FromSettings(const Settings& settings);

    // The list a resolved address belongs to: it needs an extension and no
    // query ("?"); the images list is tried first, then audio, then video.
    // Whether that list is switched on is the caller's business.
    MediaKindList ListFor(const ParsedUrl& url) const;
};

}  // namespace flk
