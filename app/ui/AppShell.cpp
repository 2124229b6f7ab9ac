#include "app/ui/AppShell.h"

#include "app/ui/MediaSearchWindow.h"
#include "config/ui/ConfigurationDialog.h"
#include "crawl/PageSource.h"
#include "crawl/ui/TextViewerFrame.h"
#include "download/ui/DownloadCenter.h"
#include "session/CrawlerSession.h"
#include "session/ui/CrawlerWindow.h"
#include "settings/Settings.h"
#include "ui/WxNotifier.h"
#include "update/ServerQueries.h"
#include "update/ServerRequests.h"
#include "update/UpdateData.h"

#include <wx/app.h>

namespace flk::ui {

AppShell::AppShell(Settings& settings, InternetOptions network, std::optional<Pacing> pacing) : settings_(settings) {
    notifier_ = std::make_unique<WxNotifier>([this](Notification& n) { return window_ ? window_->Notify(n) : 0L; });
    session_ = std::make_unique<CrawlerSession>(SessionContext{settings_, *notifier_, network, pacing});
    UpdateData data(session_->Update(), settings_);
    data.Load();
    ServerRequestsOptions requests;
    requests.network = network;
    // Update data without a server of its own leaves the configured one.
    std::string serverBase = data.GetServer();
    if (serverBase.empty()) serverBase = settings_.Get(hosts::ServerBase);
    server_ = std::make_unique<ServerRequests>(session_->Internet(), *notifier_, serverBase, requests);
    downloads_ = std::make_unique<DownloadCenter>(DownloadCenterContext{settings_, *notifier_, network});
    crawler_ = new CCrawlerDlg(nullptr, CrawlerWindowContext{settings_, *notifier_, network, pacing}, *session_);
    crawler_->onCloseRequest = [this] { crawler_->Hide(); };
    crawler_->onExit = [this] {
        if (window_) window_->Close();
    };
    window_ = new MediaSearchWindow(MediaSearchContext{settings_, *session_, *notifier_, server_.get()});
    window_->closed = [this] { WindowClosed(); };
    window_->showLists = [this] { ShowCrawlerWindow(); };
    window_->showDownloads = [this] { downloads_->ShowWindow(); };
    crawler_->onShowDownloads = [this] { downloads_->ShowWindow(); };
    window_->openConfig = [this] { OpenConfiguration(window_); };
    crawler_->onConfiguration = [this] { OpenConfiguration(crawler_); };
    crawler_->onDownload = [this](const std::vector<std::string>& urls) {
        // The dialog goes over the window the command came from.
        wxWindow* parent = crawler_ && crawler_->IsShown() ? static_cast<wxWindow*>(crawler_) : window_;
        downloads_->OpenDownloadDialog(parent, urls);
    };
    // A viewer belongs to the crawler window it was opened from and goes
    // with it; the crawl's network settings are read as it opens.
    crawler_->onTextViewer = [this, network](const std::string& address) {
        OpenTextViewer(crawler_,
                       TextViewerContext{session_->Internet(), *notifier_, ReadPageSourceOptions(settings_, network)},
                       address);
    };
}

void AppShell::OpenConfiguration(wxWindow* parent) {
    ConfigurationOptions options;
    // The image size limits and the cache switch take effect at once.
    options.applied = [this] { session_->Lists().ApplySettings(settings_); };
    ShowConfigurationDialog(parent, settings_, options);
}

void AppShell::ShowCrawlerWindow() {
    if (!crawler_) return;
    crawler_->Show();
    crawler_->Raise();
}

AppShell::~AppShell() {
    if (window_) window_->Close(true);
    // The crawler window shows the session's lists: it goes before them.
    delete crawler_;
    crawler_ = nullptr;
    // Stops the downloads (their parts stay for the next run); questions
    // still pending answer 0 once the notifier is closed.
    downloads_.reset();
    // The window stopped the crawl and the searches; what is left are the
    // server requests and the session's own workers, whose calls now answer
    // 0 at once.
    server_.reset();
    session_.reset();
    notifier_.reset();
}

void AppShell::Start(const StartCommand& command) {
    server_->Queue(BuildVersionQuery(settings_));
    // The crawler window takes the start location and the one-page limit;
    // the media-search window runs "-run", as it follows that crawl.
    crawler_->Initialise(CrawlerStart{command.location, command.singlePage, false, command.searchWeb, false});
    if (command.showCrawler) ShowCrawlerWindow();
    window_->Show();
    if (wxTheApp) wxTheApp->SetTopWindow(window_);
    window_->Raise();
    window_->Begin(command);
    downloads_->OfferInterrupted(window_);
}

void AppShell::WindowClosed() {
    window_ = nullptr;
    if (crawler_) crawler_->Hide();
    downloads_->CloseWindow();
    notifier_->Close();
    server_->Stop();
    if (ended) ended();
}

}  // namespace flk::ui
