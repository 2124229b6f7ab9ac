#pragma once
#include "download/DownloadManager.h"
#include "download/DownloadSettings.h"
#include "download/ui/DownloadDialog.h"
#include "download/ui/DownloadManagerWindow.h"
#include "net/InternetShare.h"
#include "ui/FileDialog.h"

#include <memory>
#include <string>
#include <vector>
#include <wx/weakref.h>

namespace flk {
class Settings;
}

namespace flk::ui {

class WxNotifier;

struct DownloadCenterContext {
    Settings& settings;
    WxNotifier& notifier;  // the program's: credentials (code 1) and the file-save questions
    InternetOptions network{};
    FreeSpaceSource freeSpace = FileSystemFreeBytes;
    // Tests shorten the pauses between attempts.
    long retryDelayMs = 1000;
};

// The program's downloads for the whole run: the manager with its workers,
// the Download dialog that feeds it and the "Download Manager" window that
// shows it, which the user may close and open again while files arrive.
// The file-save questions of the workers ("File Exists!", a name for each
// download) are asked on the UI thread through the notifier. Ending the
// run stops every download; what was fetched stays as a part, and the next
// run offers to continue it.
class DownloadCenter {
public:
    static constexpr char kCaption[] = "Download Manager";

    explicit DownloadCenter(DownloadCenterContext context);
    ~DownloadCenter();
    DownloadCenter(const DownloadCenter&) = delete;
    DownloadCenter& operator=(const DownloadCenter&) = delete;

    DownloadManager& Manager() { return *manager_; }

    // "Download...": the Download dialog for these addresses; on OK the
    // downloads start (Start). False when cancelled.
    bool OpenDownloadDialog(wxWindow* parent, const std::vector<std::string>& urls);
    // What OK does: stores the values, brings the manager window up, sets
    // the options and queues every address.
    void Start(const DownloadSettings& values, const std::vector<std::string>& urls);

    // The manager window, made when there is none, shown in front.
    DownloadManagerWindow& ShowWindow();
    // Null while no window is open.
    DownloadManagerWindow* Window();
    void CloseWindow();

    // At start: the downloads an earlier run left in the download folders
    // are offered once; on "Yes" they continue. The number continued.
    int OfferInterrupted(wxWindow* parent);

    // The choosers the windows use; tests answer in their place.
    FileAsker askFile = AskWithFileDialog;
    FolderAsker askFolder = AskWithFolderDialog;

private:
    class Questions : public DownloadQuestions {
    public:
        explicit Questions(DownloadCenter& center) : center_(center) {}
        std::optional<std::string> AskFileName(const std::string& title, const std::string& suggested,
                                               const std::atomic<bool>* stop) override;

    private:
        DownloadCenter& center_;
    };

    DownloadCenterContext ctx_;
    InternetShare share_;
    DownloadNetwork network_;
    Questions questions_{*this};
    std::unique_ptr<DownloadManager> manager_;
    wxWeakRef<DownloadManagerWindow> window_;
};

}  // namespace flk::ui
