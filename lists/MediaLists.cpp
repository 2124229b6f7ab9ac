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
    std::lock_guard<std::mutex> lock(pendingLock_);
    checker_ = checker;
}

void MediaLists::SetContentTypes(bool on) {
    std::lock_guard<std::mutex> lock(pendingLock_);
    contentTypes_ = on;
}

void MediaLists::SetCollected(bool images, bool sounds, bool movies) {
    std::lock_guard<std::mutex> lock(pendingLock_);
    collectImages_ = images;
    collectSounds_ = sounds;
    collectMovies_ = movies;
}

bool MediaLists::CollectedLocked(MediaCheckKind kind) const {
    switch (kind) {
    case MediaCheckKind::Image:
        return collectImages_;
    case MediaCheckKind::Sound:
        return collectSounds_;
    case MediaCheckKind::Movie:
        return collectMovies_;
    case MediaCheckKind::Content:
        break;
    }
    return false;
}

void MediaLists::SetFindDuplicates(bool on) {
    images.SetFindDuplicates(on);
    movies.SetFindDuplicates(on);
    sounds.SetFindDuplicates(on);
}

void MediaLists::ApplySettings(const Settings& settings) {
    images.SetSizeLimits(ImageSizeLimits::FromSettings(settings));
    sounds.SetFtpValidation(settings.Get(keys::CrawlerFtpValidation) == 1);
    SetContentTypes(settings.Get(keys::ModernContent) != 0);
    SetPixelRules(settings.Get(keys::ModernSizes) != 0, settings.Get(keys::TreePureImages) == 1);
    SetFindDuplicates(settings.Get(keys::ModernDuplicates) != 0);
    auto listOn = [&](const StrKey& k) { return settings.GetProfileString(k.section, k.key, "1") == "1"; };
    SetCollected(listOn(keys::ViewImages), listOn(keys::ViewSounds), listOn(keys::ViewMovies));
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

// A found item as a list row's fields: a link description gives the link
// text; an image tag's gives alt, width and height.
ListedMedium MediumOf(const MediaItem& item) {
    ListedMedium m;
    m.url = item.url;
    m.pageUrl = item.pageUrl;
    m.pageTitle = item.pageTitle;
    if (LinkAnchorText(item.description, item.pageUrl, m.linkText)) return m;
    const std::vector<std::string> fields = Split(item.description, kDescriptionSeparator);
    if (fields.size() == 3) {
        m.alt = fields[0];
        m.width = fields[1];
        m.height = fields[2];
    } else {
        m.linkText = TrimCopy(item.description);
    }
    return m;
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

void MediaLists::AddByContent(const MediaItem& item) {
    MediaCheckQueue* checker = nullptr;
    {
        std::lock_guard<std::mutex> lock(pendingLock_);
        if (!contentTypes_ || !checker_) return;
        if (!asked_.insert(TrimCopy(item.url)).second) return;  // asked already
        pending_.emplace(TrimCopy(item.url), item);
        checker = checker_;
    }
    checker->QueueCheck(TrimCopy(item.url), MediaCheckKind::Content);
}

MediaList* MediaLists::ListOf(MediaCheckKind kind) {
    switch (kind) {
    case MediaCheckKind::Image:
        return &images;
    case MediaCheckKind::Movie:
        return &movies;
    case MediaCheckKind::Sound:
        return &sounds;
    case MediaCheckKind::Content:
        break;
    }
    return nullptr;
}

void MediaLists::CheckDone(const MediaCheckResult& result) {
    const MediaCheckKind typeKind = KindOfContentType(result.contentType);
    bool contentTypes = false;
    bool typeCollected = false;
    std::optional<MediaItem> waiting;
    {
        std::lock_guard<std::mutex> lock(pendingLock_);
        contentTypes = contentTypes_;
        typeCollected = CollectedLocked(typeKind);
        if (result.kind == MediaCheckKind::Content) {
            if (auto it = pending_.find(result.url); it != pending_.end()) {
                waiting = std::move(it->second);
                pending_.erase(it);
            }
        }
    }
    if (waiting) {
        // Found by the parser, placed by its type; no medium, no row.
        if (MediaList* list = ListOf(typeKind); list && typeCollected) list->AddChecked(MediumOf(*waiting), result);
        return;
    }
    if (result.kind == MediaCheckKind::Content) {
        // A content check of a row listed already.
        if (MediaList* list = ListOf(typeKind)) list->ApplyCheck(result);
        return;
    }
    MediaList* own = ListOf(result.kind);
    MediaList* typed = ListOf(typeKind);
    if (contentTypes && typed && typed != own && typeCollected) {
        // The type corrects the extension: the row moves to its kind.
        if (std::optional<ListedMedium> moved = own->TakeRow(result.url)) {
            typed->AddChecked(*moved, result);
            return;
        }
    }
    own->ApplyCheck(result);
}

void MediaLists::ClearAll() {
    {
        std::lock_guard<std::mutex> lock(pendingLock_);
        pending_.clear();
        asked_.clear();
    }
    images.Clear();
    movies.Clear();
    sounds.Clear();
}

}  // namespace flk
