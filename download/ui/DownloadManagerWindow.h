#pragma once
#include "download/DownloadRows.h"
#include "download/ui/DownloadListSource.h"
#include "platform/Launcher.h"

#include <functional>
#include <memory>
#include <string>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/timer.h>

namespace flk {
class DownloadManager;
}

namespace flk::ui {

class VirtualListView;

// The modeless "Download Manager" window: the waiting list (queued and
// running downloads) above, the finished list below, both copied from the
// manager on a timer, so however many workers report, the window redraws a
// few times a second. Closing it only closes the window: the downloads go
// on, and a new window shows them again. The manager must outlive it.
class DownloadManagerWindow : public wxDialog {
public:
    static constexpr int kRefreshMs = 250;

    DownloadManagerWindow(wxWindow* parent, DownloadManager& manager);
    ~DownloadManagerWindow() override;

    // The timer's work, at once.
    void RefreshNow();

    VirtualListView& WaitingList() { return *waitingView_; }
    VirtualListView& FinishedList() { return *finishedView_; }
    // The rows shown at the last refresh.
    const DownloadView& Shown() const { return shown_; }

    // The context menus with their items enabled as the lists are now.
    std::unique_ptr<wxMenu> WaitingMenu();
    std::unique_ptr<wxMenu> FinishedMenu();
    void RunMenuCommand(int id);

    // Commands of the menus.
    void StopSelected();
    void StopAll();
    void OpenSelectedFiles();
    void GoToSelectedFolders();

    // Opens a file or a folder with the desktop's handler; tests replace it.
    std::function<bool(const std::string&)> open = OpenWithSystem;

private:
    std::vector<FinishedRow> SelectedFinished();
    void ShowMenu(std::unique_ptr<wxMenu> menu);

    DownloadManager& manager_;
    DownloadListSource waiting_{DownloadListSource::kWaitingColumns};
    DownloadListSource finished_{DownloadListSource::kFinishedColumns};
    VirtualListView* waitingView_ = nullptr;
    VirtualListView* finishedView_ = nullptr;
    DownloadView shown_;
    bool everShown_ = false;
    wxTimer timer_;
};

}  // namespace flk::ui
