#pragma once
#include "crawl/CrawlView.h"
#include "lists/ImagesList.h"
#include "lists/MediaCheck.h"
#include "lists/MoviesList.h"
#include "lists/SoundsList.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace flk {

class Notifier;
class Settings;

// The three media lists of a crawler window, as the crawl and the media
// checker reach them.
//
// As a MediaSink it turns the parser's found items into list rows. An item's
// description is one of two forms (crawl/FoundItems.h):
//   image tag: alt ";;;" width ";;;" height
//   link:      text before ";;;" anchor text ";;;" page title ";;;" page URL
// A link description is recognised by its last field being the item's page
// address. Its anchor text becomes the row's link text; an image reached by
// a link has no alt, width or height. Any other description of a movie or
// sound is taken as its link text.
//
// As a MediaCheckReceiver it writes finished checks into the list of their
// kind; a content check goes to the list its content type names ("image",
// "audio", "video").
//
// With content types on (`modern`/`content`), a medium the parser could not
// place (AddByContent) waits for its content check and then joins the list
// its type names, or none; and a row whose check names another kind than
// its extension did moves to that kind's list.
class MediaLists : public MediaSink, public MediaCheckReceiver {
public:
    ImagesList images;
    MoviesList movies;
    SoundsList sounds;

    // Sets the notifier, checker and listener of all three lists (any may be
    // null).
    void Connect(Notifier* notifier, MediaCheckQueue* checker, ListsChangedListener* listener);
    // The image size filter and "FtpValidation", read when the window starts.
    void ApplySettings(const Settings& settings);

    void AddImage(const MediaItem& item) override;
    void AddMovie(const MediaItem& item) override;
    void AddSound(const MediaItem& item) override;
    void AddByContent(const MediaItem& item) override;

    // `modern`/`content`, `modern`/`sizes` with `tree`/`pure_images`, and
    // `modern`/`duplicates`, read by ApplySettings; tests set them here.
    void SetContentTypes(bool on);
    void SetPixelRules(bool trueSizes, bool pureImages) { images.SetPixelRules(trueSizes, pureImages); }
    void SetFindDuplicates(bool on);
    // The kinds collected (`view`/images, sounds, movies; a missing switch
    // is on): a type naming another kind places nothing.
    void SetCollected(bool images, bool sounds, bool movies);

    void CheckDone(const MediaCheckResult& result) override;

    // Empties all three lists.
    void ClearAll();

private:
    MediaList* ListOf(MediaCheckKind kind);
    bool CollectedLocked(MediaCheckKind kind) const;

    std::mutex pendingLock_;
    bool contentTypes_ = false;
    bool collectImages_ = true, collectSounds_ = true, collectMovies_ = true;
    MediaCheckQueue* checker_ = nullptr;
    std::unordered_map<std::string, MediaItem> pending_;  // waiting for their content check
    std::unordered_set<std::string> asked_;  // every address checked for its type, once per crawl
};

// The anchor text of a link description whose last field is pageUrl; false
// for any other description.
bool LinkAnchorText(const std::string& description, const std::string& pageUrl, std::string& anchor);

}  // namespace flk
