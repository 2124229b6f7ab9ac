#include "crawl/MediaExtensions.h"

#include "settings/Settings.h"
#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"

namespace flk {

bool InExtensionList(std::string_view list, std::string_view extension) {
    if (extension.empty()) return false;
    std::string needle = ToLowerAscii(extension);
    needle += ';';
    return ToLowerAscii(list).find(needle) != std::string::npos;
}

MediaExtensionLists MediaExtensionLists::FromSettings(const Settings& settings) {
    MediaExtensionLists lists;
    lists.images = settings.Get(keys::MediaImages);
    lists.audio = settings.Get(keys::MediaAudio);
    lists.video = settings.Get(keys::MediaVideo);
    return lists;
}

MediaKindList MediaExtensionLists::ListFor(const ParsedUrl& url) const {
    const std::string& ext = url.Extension();
    if (ext.empty() || url.IsQuery()) return MediaKindList::None;
    if (InExtensionList(images, ext)) return MediaKindList::Images;
    if (InExtensionList(audio, ext)) return MediaKindList::Sounds;
    if (InExtensionList(video, ext)) return MediaKindList::Movies;
    return MediaKindList::None;
}

}  // namespace flk
