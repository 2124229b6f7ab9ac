#include "app/MediaSearchModel.h"

#include "app/SearchFlow.h"
#include "settings/Settings.h"

#include <algorithm>

namespace flk {

namespace {

constexpr int kAskFrom = 7;       // the first six media never trigger anything
constexpr int kAutoViewPeriod = 6;
constexpr int kCountStop = 100;   // a count above this stops the scan
constexpr int kOfferAtEnd = 5;    // the end offers results above this count

}  // namespace

MediaSearchModel::MediaSearchModel(Settings& settings, MediaSearchActions& actions)
    : settings_(settings), actions_(actions) {
    Reset(true);
}

void MediaSearchModel::SetKeywordsMode(bool keywords) {
    if (view_.state == SearchState::Idle) view_.keywordsMode = keywords;
}

void MediaSearchModel::SetKinds(bool images, bool sounds, bool movies) {
    if (!view_.kindsEnabled) return;
    view_.images = images;
    view_.sounds = sounds;
    view_.movies = movies;
}

void MediaSearchModel::Reset(bool full) {
    view_.state = SearchState::Idle;
    view_.animating = false;
    view_.kindsEnabled = true;
    if (full) {
        view_.imagesFound = view_.soundsFound = view_.moviesFound = 0;
        PublishMostFound();
        view_.imagesBar = view_.soundsBar = view_.moviesBar = 0;
        view_.keywordsMode = true;
        view_.viewResultsEnabled = false;
        view_.images = view_.sounds = view_.movies = true;
    }
    autoViewPeriod_ = kAutoViewPeriod;
    asked_ = false;
    autoView_ = settings_.Get(keys::ViewAskMedia) != 0;
    view_.goEnabled = true;
    view_.goText = media_search_text::kGo;
    view_.status = media_search_text::kReady;
}

SearchStart MediaSearchModel::PressGo(const std::string& typed) {
    SearchStart start;
    if (view_.state == SearchState::Scanning) {
        stoppedByUser_ = true;
        view_.goEnabled = false;
        actions_.StopCrawl();
        return start;
    }
    if (view_.state != SearchState::Idle) return start;

    stoppedByUser_ = false;
    heldEnd_ = false;
    autoView_ = settings_.Get(keys::ViewAskMedia) != 0;
    asked_ = false;
    textHitsAnnounced_ = false;
    view_.state = SearchState::Starting;
    view_.viewResultsEnabled = false;
    view_.kindsEnabled = false;
    view_.imagesFound = view_.soundsFound = view_.moviesFound = 0;
    PublishMostFound();
    view_.imagesBar = view_.soundsBar = view_.moviesBar = 0;
    if (!view_.images && !view_.sounds && !view_.movies) view_.images = true;

    start.query = CollapseQuerySpaces(typed);
    if (start.query.empty()) {
        Reset(false);
        return start;
    }
    start.start = true;
    start.guide = !view_.keywordsMode;
    start.images = view_.images;
    start.sounds = view_.sounds;
    start.movies = view_.movies;
    view_.goText = media_search_text::kStop;
    view_.goEnabled = false;
    view_.status = media_search_text::kSearchingWeb;
    view_.animating = true;
    // The lists collect the kinds the user ticked.
    settings_.Set(keys::ViewImages, start.images ? "1" : "0");
    settings_.Set(keys::ViewSounds, start.sounds ? "1" : "0");
    settings_.Set(keys::ViewMovies, start.movies ? "1" : "0");
    return start;
}

void MediaSearchModel::SearchAccepted() {
    if (view_.state == SearchState::Starting) view_.state = SearchState::SearchingWeb;
}

void MediaSearchModel::SearchNotStarted() {
    heldEnd_ = false;
    if (view_.state == SearchState::Starting || view_.state == SearchState::SearchingWeb) Reset(false);
}

void MediaSearchModel::ViewResults() {
    asked_ = true;
    actions_.ShowResults();
}

long MediaSearchModel::Handle(const Notification& n) {
    switch (n.code) {
    case notify::MoviesCount:
    case notify::SoundsCount:
    case notify::ImagesCount:
        MediaFound(n.code, n.value);
        return 0;
    case notify::WebSearchOver:
        ScanStarted();
        return 0;
    case notify::SearchEnded:
        SearchEnded(n.value);
        return 0;
    case notify::AnyCountExceeds:
        return AnyCountAbove(n.value) ? 1 : 0;
    default:
        return 0;
    }
}

void MediaSearchModel::MediaFound(int code, long value) {
    const int count = static_cast<int>(value & 0xFFFF);
    const int range = static_cast<int>((value >> 16) & 0xFFFF);
    const int bar = range > 0 ? std::clamp(count * 100 / range, 0, 100) : 0;
    if (code == notify::MoviesCount) {
        view_.moviesFound = count;
        view_.moviesBar = bar;
    } else if (code == notify::SoundsCount) {
        view_.soundsFound = count;
        view_.soundsBar = bar;
    } else {
        view_.imagesFound = count;
        view_.imagesBar = bar;
    }
    PublishMostFound();
    Arrival();
}

void MediaSearchModel::PublishMostFound() {
    mostFound_.store(std::max({view_.imagesFound, view_.soundsFound, view_.moviesFound}));
}

void MediaSearchModel::Arrival() {
    if (view_.state != SearchState::Scanning) return;
    const int total = Total();
    const bool hits = actions_.HasTextHits();
    if (total > 0 || hits) view_.viewResultsEnabled = true;
    if (total < kAskFrom || inArrival_) return;
    inArrival_ = true;
    if (hits && !textHitsAnnounced_) {
        textHitsAnnounced_ = true;
        actions_.AnnounceTextHits();
    }
    view_.status = media_search_text::kScanContinuing;
    if (!asked_) {
        asked_ = true;
        if (actions_.AskViewMedia()) {
            if (view_.state == SearchState::Scanning) actions_.ShowResults();
        } else {
            autoView_ = false;
        }
    } else if (autoView_ && total % autoViewPeriod_ == 0) {
        actions_.ShowResults();
    }
    if (view_.state == SearchState::Scanning &&
        (view_.imagesFound > kCountStop || view_.soundsFound > kCountStop || view_.moviesFound > kCountStop))
        StopAsButtonDoes();
    inArrival_ = false;
}

void MediaSearchModel::StopAsButtonDoes() {
    if (!view_.goEnabled) return;  // already stopping
    stoppedByUser_ = true;
    view_.goEnabled = false;
    actions_.StopCrawl();
}

void MediaSearchModel::ScanStarted() {
    view_.state = SearchState::Scanning;
    view_.goEnabled = true;
    view_.status = media_search_text::kScanning;
    actions_.ShowResults();
    if (settings_.Get(keys::ViewTip) == 1 && actions_.ShowScanTip()) settings_.Set(keys::ViewTip, 0);
    if (heldEnd_) {
        heldEnd_ = false;
        SearchEnded(0);
    }
}

void MediaSearchModel::SearchEnded(long result) {
    if (view_.state == SearchState::Idle) return;  // the end was told already
    if (result == 0 && (view_.state == SearchState::Starting || view_.state == SearchState::SearchingWeb)) {
        heldEnd_ = true;
        return;
    }
    Reset(false);
    if (result == -1) {
        view_.viewResultsEnabled = false;
        actions_.ShowNoPages();
    } else if (result == 0) {
        const bool someAbove =
            view_.imagesFound > kOfferAtEnd || view_.soundsFound > kOfferAtEnd || view_.moviesFound > kOfferAtEnd;
        if (someAbove && !stoppedByUser_ && actions_.AskViewAtEnd()) actions_.ShowResults();
    }
}

}  // namespace flk
