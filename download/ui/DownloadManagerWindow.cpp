#include "download/ui/DownloadManagerWindow.h"

#include "download/DownloadManager.h"
#include "ui/VirtualListView.h"
#include "ui/XrcSupport.h"

namespace flk::ui {

DownloadManagerWindow::DownloadManagerWindow(wxWindow* parent, DownloadManager& manager)
    : manager_(manager) {
    LoadDialog(*this, parent, "dlg_download_manager");
    waitingView_ = new VirtualListView(this, waiting_);
    wxXmlResource::Get()->AttachUnknownControl("lst_waiting", waitingView_, this);
    finishedView_ = new VirtualListView(this, finished_);
    wxXmlResource::Get()->AttachUnknownControl("lst_finished", finishedView_, this);
    for (VirtualListView* view : {waitingView_, finishedView_}) {
        // The manager's order is the lists' meaning: a header click sorts
        // nothing (and shows no sort mark).
        view->Bind(wxEVT_LIST_COL_CLICK, [](wxListEvent&) {});
    }
    waitingView_->Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent&) { ShowMenu(WaitingMenu()); });
    finishedView_->Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent&) { ShowMenu(FinishedMenu()); });
    finishedView_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { OpenSelectedFiles(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); }, XRCID("btn_hide"));
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        timer_.Stop();
        Destroy();
    });
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { RefreshNow(); });
    RefreshNow();
    Fit();
    SetMinSize(wxSize(480, 320));
    timer_.Start(kRefreshMs);
}

DownloadManagerWindow::~DownloadManagerWindow() { timer_.Stop(); }

void DownloadManagerWindow::RefreshNow() {
    if (everShown_ && manager_.Revision() == shown_.revision) return;
    everShown_ = true;
    shown_ = manager_.View();
    waiting_.ShowWaiting(shown_.waiting);
    finished_.ShowFinished(shown_.finished);
    waitingView_->UpdateFromModel();
    finishedView_->UpdateFromModel();
}

std::unique_ptr<wxMenu> DownloadManagerWindow::WaitingMenu() {
    waitingView_->TakeSelection();
    std::unique_ptr<wxMenu> menu = LoadPopupMenu("mnu_download_waiting");
    menu->Enable(XRCID("mi_stop_download"), waiting_.AnySelected());
    menu->Enable(XRCID("mi_stop_all_downloads"), waiting_.RowCount() > 0);
    return menu;
}

std::unique_ptr<wxMenu> DownloadManagerWindow::FinishedMenu() {
    finishedView_->TakeSelection();
    std::unique_ptr<wxMenu> menu = LoadPopupMenu("mnu_download_finished");
    menu->Enable(XRCID("mi_open_file"), finished_.AnySelected());
    menu->Enable(XRCID("mi_go_to_folder"), finished_.AnySelected());
    return menu;
}

void DownloadManagerWindow::ShowMenu(std::unique_ptr<wxMenu> menu) {
    menu->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { RunMenuCommand(e.GetId()); });
    PopupMenu(menu.get());
}

void DownloadManagerWindow::RunMenuCommand(int id) {
    if (id == XRCID("mi_stop_download")) StopSelected();
    else if (id == XRCID("mi_stop_all_downloads")) StopAll();
    else if (id == XRCID("mi_open_file")) OpenSelectedFiles();
    else if (id == XRCID("mi_go_to_folder")) GoToSelectedFolders();
}

void DownloadManagerWindow::StopSelected() {
    waitingView_->TakeSelection();
    std::vector<std::string> urls;
    for (std::size_t row : waiting_.SelectedRows()) urls.push_back(shown_.waiting[row].url);
    manager_.StopDownloads(urls);
    RefreshNow();
}

void DownloadManagerWindow::StopAll() {
    manager_.StopAll();
    RefreshNow();
}

std::vector<FinishedRow> DownloadManagerWindow::SelectedFinished() {
    finishedView_->TakeSelection();
    std::vector<FinishedRow> rows;
    for (std::size_t row : finished_.SelectedRows()) rows.push_back(shown_.finished[row]);
    return rows;
}

void DownloadManagerWindow::OpenSelectedFiles() {
    for (const std::string& path : DownloadManager::FilesToOpen(SelectedFinished()))
        if (open) open(path);
}

void DownloadManagerWindow::GoToSelectedFolders() {
    for (const std::string& folder : DownloadManager::FoldersToOpen(SelectedFinished()))
        if (open) open(folder);
}

}  // namespace flk::ui
