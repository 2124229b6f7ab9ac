#pragma once
#include "crawl/CrawlView.h"
#include "lists/ImagesList.h"
#include "lists/MediaCheck.h"
#include "lists/MoviesList.h"
#include "lists/SoundsList.h"

#include <string>

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

    void CheckDone(const MediaCheckResult& result) override;

    // Empties all three lists.
    void ClearAll();
};

// The anchor text of a link description whose last field is pageUrl; false
// for any other description.
bool LinkAnchorText(const std::string& description, const std::string& pageUrl, std::string& anchor);

}  // namespace flk
