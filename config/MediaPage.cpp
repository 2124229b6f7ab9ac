#include "config/MediaPage.h"

#include "platform/TextUtil.h"
#include "settings/Settings.h"

namespace flk {

const std::array<MediaKind, 3>& MediaKinds() {
    static const std::array<MediaKind, 3> kinds = {{
        {"Images", keys::MediaImages, ConfigField::ImagesExtensions,
         {"jpg", "gif", "jpeg", "bmp", "mpa"}, {true, true, true, false, false}},
        {"Audio", keys::MediaAudio, ConfigField::AudioExtensions,
         {"wav", "mid", "midi", "snd", "ram", "mod", "au", "aiff", "mp2", "mp3"}, std::vector<bool>(10, true)},
        {"Video", keys::MediaVideo, ConfigField::VideoExtensions,
         {"avi", "mov", "qt", "mpeg", "mpg"}, std::vector<bool>(5, true)},
    }};
    return kinds;
}

MediaKindValues SplitMediaList(const MediaKind& kind, const std::string& stored) {
    MediaKindValues v;
    v.ticked.assign(kind.extensions.size(), false);
    std::vector<std::string> items = Split(stored, ";");
    if (!items.empty() && items.back().empty()) items.pop_back();  // after the last ";"
    for (const std::string& item : items) {
        bool standard = false;
        for (std::size_t i = 0; i < kind.extensions.size(); ++i) {
            if (EqualsNoCase(Trim(item), kind.extensions[i])) {
                v.ticked[i] = true;
                standard = true;
            }
        }
        if (!standard) v.freeText += item + ";";
    }
    return v;
}

std::string JoinMediaList(const MediaKind& kind, const MediaKindValues& values) {
    std::string list = TrimCopy(values.freeText);
    if (!list.empty() && list.back() != ';') list += ';';
    for (std::size_t i = 0; i < kind.extensions.size() && i < values.ticked.size(); ++i)
        if (values.ticked[i]) list += std::string(kind.extensions[i]) + ";";
    return list;
}

MediaPage::MediaPage(const Settings& settings) {
    for (std::size_t k = 0; k < values_.size(); ++k)
        values_[k] = SplitMediaList(MediaKinds()[k], settings.Get(MediaKinds()[k].key));
}

void MediaPage::ResetToDefaults() {
    for (std::size_t k = 0; k < values_.size(); ++k) values_[k].ticked = MediaKinds()[k].defaultTicks;
}

ConfigCheck MediaPage::Check() const {
    for (std::size_t k = 0; k < values_.size(); ++k) {
        const MediaKind& kind = MediaKinds()[k];
        const std::string text = TrimCopy(values_[k].freeText);
        if (text.empty()) continue;
        std::vector<std::string> items = Split(text, ";");
        if (items.back().empty()) items.pop_back();
        const std::string where = std::string("The other extensions of \"") + kind.group + "\" ";
        for (const std::string& item : items) {
            if (item.empty())
                return ConfigProblem{kind.field, where + "hold an empty extension. Write each extension followed "
                                                         "by \";\", for example \"png;tif;\"."};
            for (char c : item) {
                if (IsSpace(c) || c == '.')
                    return ConfigProblem{kind.field, where + "hold \"" + item +
                                                         "\". Write each extension without dot or space, followed "
                                                         "by \";\", for example \"png;tif;\"."};
            }
        }
    }
    return std::nullopt;
}

void MediaPage::Save(Settings& settings) const {
    for (std::size_t k = 0; k < values_.size(); ++k)
        settings.Set(MediaKinds()[k].key, JoinMediaList(MediaKinds()[k], values_[k]));
}

}  // namespace flk
