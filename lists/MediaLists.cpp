#include "lists/MediaLists.h"

#include "settings/Settings.h"
#include "crawl/FoundItems.h"
#include "platform/TextUtil.h"

namespace flk {

bool LinkAnchorText(const std::string& description, const std::string& pageUrl, std::string& anchor) {
    const std::vector<std::string> fields = Split(description, kDescriptionSeparator);
    if (fields.size() < 4 || fields.back() != pageUrl) return false;
    anchor = TrimCopy(fields[1]);
    return true;
}

void MediaLists::Connect(Notifier* notifier, MediaCheckQueue* checker, ListsChangedListener* listener) {
    for (MediaList* list : {static_cast<MediaList*>(&images), static_cast<MediaList*>(&movies),
                            static_cast<MediaList*>(&sounds)}) {
        list->SetNotifier(notifier);
        list->SetChecker(checker);
        list->SetListener(listener);
    }
}

void MediaLists::ApplySettings(const Settings& settings) {
    images.SetSizeLimits(ImageSizeLimits::FromSettings(settings));
    sounds.SetFtpValidation(settings.Get(keys::CrawlerFtpValidation) == 1);
}

void MediaLists::AddImage(const MediaItem& item) {
    std::string anchor;
    if (LinkAnchorText(item.description, item.pageUrl, anchor)) {
        images.AddImage(item.url, item.pageUrl, item.pageTitle, std::string(), anchor);
    } else {
        images.AddImage(item.url, item.pageUrl, item.pageTitle, item.description, std::string());
    }
}

namespace {

std::string LinkTextOf(const MediaItem& item) {
    std::string anchor;
    if (LinkAnchorText(item.description, item.pageUrl, anchor)) return anchor;
    return TrimCopy(item.description);
}

}  // namespace

void MediaLists::AddMovie(const MediaItem& item) {
    std::string titleAndSource = item.pageTitle;
    titleAndSource += kDescriptionSeparator;
    titleAndSource += item.pageUrl;
    movies.AddMovie(item.url, titleAndSource, LinkTextOf(item));
}

void MediaLists::AddSound(const MediaItem& item) {
    sounds.AddSound(item.url, item.pageUrl, item.pageTitle, LinkTextOf(item));
}

void MediaLists::CheckDone(const MediaCheckResult& result) {
    switch (result.kind) {
    case MediaCheckKind::Image:
        images.SetItemSize(result.url, result.size);
        return;
    case MediaCheckKind::Movie:
        movies.SetItemSize(result.url, result.size);
        return;
    case MediaCheckKind::Sound:
        sounds.SetItemSize(result.url, result.size);
        return;
    case MediaCheckKind::Content:
        break;
    }
    const std::string_view type = Trim(result.contentType);
    if (StartsWithNoCase(type, "image")) {
        images.SetItemSize(result.url, result.size);
    } else if (StartsWithNoCase(type, "audio")) {
        sounds.SetItemSize(result.url, result.size);
    } else if (StartsWithNoCase(type, "video")) {
        movies.SetItemSize(result.url, result.size);
    }
}

void MediaLists::ClearAll() {
    images.Clear();
    movies.Clear();
    sounds.Clear();
}

}  // namespace flk
