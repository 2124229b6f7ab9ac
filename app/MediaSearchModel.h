#pragma once
#include "platform/Notifier.h"

#include <atomic>
#include <string>

namespace flk {

class Settings;

namespace media_search_text {
inline constexpr char kReady[] = "Ready.";
inline constexpr char kSearchingWeb[] = "Searching the web...";
inline constexpr char kScanning[] = "Scanning for media...";
inline constexpr char kScanContinuing[] = "Media scan continuing...";
inline constexpr char kGo[] = "Go";
inline constexpr char kStop[] = "Stop";
inline constexpr char kViewMediaCaption[] = "View Media Results";
inline constexpr char kViewMediaQuestion[] = "Do you want to view images or other media now?";
inline constexpr char kNoPages[] = "No pages found!\nPlease re-define your search.";
inline constexpr char kNoPagesCaption[] = "No pages";
inline constexpr char kSearchCompleted[] = "Search completed.\nView results now?";
inline constexpr char kSearchCompletedCaption[] = "View results?";
inline constexpr char kNoMediaFound[] = "No media found.\nPlease try a different search.";
inline constexpr char kScanTipCaption[] = "Scanning for media";
inline constexpr char kDontShowAgain[] = "Do not show this message again.";
}  // namespace media_search_text

enum class SearchState { Idle = 0, Starting = 1, SearchingWeb = 2, Scanning = 3 };

// What the media-search window does on the model's word; the window
// implements it with dialogs and the crawler window, tests with a script.
class MediaSearchActions {
public:
    virtual ~MediaSearchActions() = default;
    // "View Media Results": true for "Yes".
    virtual bool AskViewMedia() = 0;
    // "Search completed.\nView results now?": true for "Yes".
    virtual bool AskViewAtEnd() = 0;
    virtual void ShowNoPages() = 0;
    // The "Scanning for media" explanation; true when its "Do not show this
    // message again." box was ticked.
    virtual bool ShowScanTip() = 0;
    virtual void ShowResults() = 0;
    virtual void StopCrawl() = 0;
    virtual bool HasTextHits() = 0;
    // Message 2010 to the tray companion: the first text hits of a search.
    virtual void AnnounceTextHits() = 0;
};

// What the window's controls show; the window copies it onto them.
struct MediaSearchView {
    SearchState state = SearchState::Idle;
    std::string goText = media_search_text::kGo;
    bool goEnabled = true;
    bool viewResultsEnabled = false;
    bool kindsEnabled = true;
    bool images = true, sounds = true, movies = true;  // ticked kinds
    bool keywordsMode = true;                          // "Keywords search:" rather than "Guides:"
    bool animating = false;
    std::string status = media_search_text::kReady;
    int imagesFound = 0, soundsFound = 0, moviesFound = 0;
    int imagesBar = 0, soundsBar = 0, moviesBar = 0;  // each 0..100
};

// What "Go" hands to the search when it may start.
struct SearchStart {
    bool start = false;
    std::string query;  // trimmed, runs of spaces collapsed
    bool guide = false;
    bool images = true, sounds = true, movies = true;
};

// The rules of the media-search window: its four states, Go and Stop, the
// notifications of the search and the lists, and when results are offered.
class MediaSearchModel {
public:
    MediaSearchModel(Settings& settings, MediaSearchActions& actions);

    const MediaSearchView& View() const { return view_; }

    // The user's choices before Go.
    void SetKeywordsMode(bool keywords);
    void SetKinds(bool images, bool sounds, bool movies);

    // Opening and the ends of a search: state 0. The full reset also clears
    // the counters and the choices.
    void Reset(bool full);

    // "Go" with the text of the keywords field or of the chosen category.
    // In the scan it stops the crawl; while starting or searching the web
    // it does nothing. An empty query is refused (the caller shows
    // "Please define your search").
    SearchStart PressGo(const std::string& query);
    // The search was handed over (state 2), or could not start (refused or
    // failed: back to idle, counters kept).
    void SearchAccepted();
    void SearchNotStarted();

    // Notifications 51-55 and 59; other codes answer 0. The crawl's end
    // (55 with 0) can overtake the scan start (54) when a crawl is over
    // before its start was told; it is held until the scan has started.
    long Handle(const Notification& n);

    // Whether a found count is above limit, as notification 59 asks; any
    // thread (the crawl asks it for every link it decides).
    bool AnyCountAbove(long limit) const { return mostFound_.load() > limit; }

    bool StoppedByUser() const { return stoppedByUser_; }
    bool Asked() const { return asked_; }
    // "View results": counts as asked, then shows.
    void ViewResults();

private:
    void MediaFound(int code, long value);
    void PublishMostFound();
    void Arrival();
    void ScanStarted();
    void SearchEnded(long result);
    void StopAsButtonDoes();
    int Total() const { return view_.imagesFound + view_.soundsFound + view_.moviesFound; }

    Settings& settings_;
    MediaSearchActions& actions_;
    MediaSearchView view_;
    std::atomic<int> mostFound_{0};  // the largest of the three counts
    bool asked_ = false;
    bool autoView_ = false;
    int autoViewPeriod_ = 6;
    bool stoppedByUser_ = false;
    bool textHitsAnnounced_ = false;
    bool inArrival_ = false;
    bool heldEnd_ = false;
};

}  // namespace flk
