#pragma once
#include "app/CommandLine.h"
#include "crawl/Pacing.h"
#include "net/InternetSession.h"

#include <functional>
#include <wx/window.h>
#include <memory>
#include <optional>

namespace flk {
class CrawlerSession;
class ServerRequests;
class Settings;
}  // namespace flk

namespace flk::ui {

class CCrawlerDlg;
class DownloadCenter;
class MediaSearchWindow;
class WxNotifier;

// What the program's windows share for the whole run: the notifier, the
// crawler session (the crawler window's model: lists, crawl, project), the
// requests to the maker's server (the version query is sent once at start),
// the crawler window (hidden until "-crawler" or "Lists" shows it; closing
// it hides it again, its "Exit" ends the run) and the media-search window,
// the one the user sees, the downloads with their windows, and the text
// viewers the crawler window opens (they go with it). Closing that window ends the run: the crawl is
// stopped, every worker joined, and `ended` told.
class AppShell {
public:
    // Without fixed pauses each crawl takes those of the speed setting.
    explicit AppShell(Settings& settings, InternetOptions network = {}, std::optional<Pacing> pacing = std::nullopt);
    ~AppShell();
    AppShell(const AppShell&) = delete;
    AppShell& operator=(const AppShell&) = delete;

    // Shows the media-search window as the top window and applies the
    // command line.
    void Start(const StartCommand& command);

    // Null once the window has closed.
    MediaSearchWindow* SearchWindow() { return window_; }
    CCrawlerDlg& CrawlerWindow() { return *crawler_; }
    // "Lists": the crawler window on screen.
    void ShowCrawlerWindow();
    CrawlerSession& Session() { return *session_; }
    WxNotifier& Notifier() { return *notifier_; }
    // The downloads: they go on while the crawler window or the manager
    // window is closed, until the run ends.
    DownloadCenter& Downloads() { return *downloads_; }
    ServerRequests& Server() { return *server_; }

    std::function<void()> ended;

private:
    void WindowClosed();
    void OpenConfiguration(wxWindow* parent);

    Settings& settings_;
    std::unique_ptr<WxNotifier> notifier_;
    std::unique_ptr<CrawlerSession> session_;
    std::unique_ptr<ServerRequests> server_;
    std::unique_ptr<DownloadCenter> downloads_;
    MediaSearchWindow* window_ = nullptr;
    // Deleted by the shell, after the media-search window and before the
    // session it shows.
    CCrawlerDlg* crawler_ = nullptr;
};

}  // namespace flk::ui
