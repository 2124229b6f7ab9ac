#pragma once
#include "app/CommandLine.h"
#include "app/GoThread.h"
#include "app/MediaSearchModel.h"
#include "platform/Notifier.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <wx/frame.h>

class wxButton;
class wxCheckBox;
class wxComboBox;
class wxGauge;
class wxGenericStaticBitmap;
class wxRadioButton;
class wxTextCtrl;

namespace flk {
class CrawlerSession;
class ServerRequests;
class Settings;
class UpdateThread;
}  // namespace flk

namespace flk::ui {

class ClipAnimation;
class UiThreadCategoryDialog;
class UiThreadQuestions;
class WxNotifier;

struct MediaSearchContext {
    Settings& settings;
    CrawlerSession& session;    // the crawler window's model: lists, crawl, result pages
    WxNotifier& notifier;       // the session's notifier; its handler calls Notify
    ServerRequests* server = nullptr;  // usage reports; may be null
};

// The window the user searches from: guide or keywords, the media kinds,
// Go/Stop, the found-media bars, the status line, the searching clip, the
// logos, and the buttons "View results", "Help", "Config", "About", "Exit".
// The rules are MediaSearchModel's; this window shows its view, asks its
// questions and runs the search of "Go" on a GoThread, so it keeps
// answering while engines and pages are asked. Closing it stops the
// search, the update thread and the crawl.
class MediaSearchWindow : public wxFrame, private MediaSearchActions {
public:
    explicit MediaSearchWindow(MediaSearchContext context);
    ~MediaSearchWindow() override;

    // Windows built elsewhere: the crawler window (Ctrl+L, "Lists") and the
    // configuration dialog ("Config"; the button is off while unset).
    std::function<void()> showLists;
    // Ctrl+D: the download manager window, made or brought back.
    std::function<void()> showDownloads;
    std::function<void()> openConfig;
    // Told once the window has stopped everything, just before it goes.
    std::function<void()> closed;

    // The notifier's handler: notifications 1 and 51-59.
    long Notify(Notification& n);

    // The command line's start: -guide selects the guide, -page and -run go
    // to the crawl, and -searchsite with -run follows the crawl of the
    // location as the window's own search.
    void Begin(const StartCommand& command);

    // Stops the search, the update thread and the crawl and waits for them
    // while servicing the notifier. False when they did not end in time.
    bool StopEverything(std::chrono::milliseconds timeout);

    const MediaSearchView& View() const { return model_.View(); }
    // Every state shown, in order, for a test to follow a search.
    const std::vector<SearchState>& StatesShown() const { return statesShown_; }
    ClipAnimation& Clip() { return *clip_; }
    bool Searching() const;
    UpdateThread* DailyUpdate() { return update_.get(); }
    // The command of Ctrl+L.
    int ListsCommand() const { return listsId_; }
    int DownloadsCommand() const { return downloadsId_; }

private:
    // MediaSearchActions
    bool AskViewMedia() override;
    bool AskViewAtEnd() override;
    void ShowNoPages() override;
    bool ShowScanTip() override;
    void ShowResults() override;
    void StopCrawl() override;
    bool HasTextHits() override;
    void AnnounceTextHits() override;

    void OnGo();
    void GoEnded(GoResult result);
    void FollowCrawl(const std::string& location);
    void ShowView();
    void FillGuides(bool opening);
    void LoadLogos(wxWindow* panel);
    void OpenAddress(const std::string& address);
    void CheckUpgrade();
    void ReapGoThread();
    long Answer(Notification& n);
    // Closing: everything stopped and joined, `closed` told, then Destroy.
    void Shut(bool destroy);

    MediaSearchContext ctx_;
    MediaSearchModel model_;
    std::unique_ptr<UiThreadQuestions> questions_;
    std::unique_ptr<UiThreadCategoryDialog> categories_;
    std::unique_ptr<GoThread> go_;
    std::unique_ptr<UpdateThread> update_;
    std::string subject_;  // what the result pages are about: the last query
    bool closing_ = false;
    bool shut_ = false;
    int listsId_ = 0;
    int downloadsId_ = 0;
    std::vector<SearchState> statesShown_;

    wxRadioButton* guides_;
    wxRadioButton* keywords_;
    wxComboBox* guideList_;
    wxTextCtrl* query_;
    wxCheckBox* images_;
    wxCheckBox* sounds_;
    wxCheckBox* movies_;
    wxGauge* imagesBar_;
    wxGauge* soundsBar_;
    wxGauge* moviesBar_;
    wxGauge* overallBar_;
    wxTextCtrl* status_;
    wxButton* goButton_;
    wxButton* viewResults_;
    wxButton* config_;
    ClipAnimation* clip_;
    bool clipWanted_ = false;  // the search state the clip last followed
};

}  // namespace flk::ui
