#include "download/ui/DownloadCenter.h"

#include "download/InterruptedDownloads.h"
#include "download/ui/DownloadManagerWindow.h"
#include "platform/Paths.h"
#include "settings/Settings.h"
#include "ui/MessageBox.h"
#include "ui/WxNotifier.h"

#include <algorithm>

namespace flk::ui {

namespace {

constexpr char kAnyFile[] = "All files|*";

std::string InterruptedQuestion(std::size_t count) {
    return (count == 1 ? std::string("1 download was") : std::to_string(count) + " downloads were") +
           " interrupted when Findlark last ran. Continue now?";
}

}  // namespace

DownloadCenter::DownloadCenter(DownloadCenterContext context)
    : ctx_(std::move(context)), network_{share_, DownloadInternetOptions(ctx_.settings, ctx_.network)} {
    network_.retryDelayMs = ctx_.retryDelayMs;
    manager_ = std::make_unique<DownloadManager>(
        DownloadManagerContext{network_, ctx_.notifier, &questions_, ctx_.freeSpace});
    const DownloadSettings values = DownloadSettings::Load(ctx_.settings);
    manager_->SetOptions(values.askNames, values.freeMb, values.threads);
}

DownloadCenter::~DownloadCenter() {
    // The window reads the manager: it goes first.
    CloseWindow();
    manager_.reset();
}

std::optional<std::string> DownloadCenter::Questions::AskFileName(const std::string& title,
                                                                  const std::string& suggested,
                                                                  const std::atomic<bool>* stop) {
    // The answer lives apart from this worker's stack: a question dropped
    // while its dialog is still up writes into it harmlessly.
    auto answer = std::make_shared<std::string>();
    FileQuestion q;
    q.title = title;
    q.wildcard = kAnyFile;
    q.folder = FolderOf(suggested);
    q.file = suggested.substr(q.folder.empty() ? 0 : std::min(suggested.size(), q.folder.size() + 1));
    q.save = true;
    DownloadCenter& center = center_;
    const long chosen = center.ctx_.notifier.Call(
        [&center, q, answer] {
            if (!center.askFile) return 0L;
            *answer = center.askFile(center.Window(), q);
            return answer->empty() ? 0L : 1L;
        },
        stop);
    if (chosen != 1 || answer->empty()) return std::nullopt;
    return *answer;
}

bool DownloadCenter::OpenDownloadDialog(wxWindow* parent, const std::vector<std::string>& urls) {
    DownloadDialog dialog(parent, DownloadSettings::Load(ctx_.settings), ctx_.freeSpace);
    dialog.askFolder = askFolder;
    if (dialog.ShowModal() != wxID_OK) return false;
    Start(dialog.Values(), urls);
    return true;
}

void DownloadCenter::Start(const DownloadSettings& values, const std::vector<std::string>& urls) {
    values.Store(ctx_.settings);
    DownloadManagerWindow& window = ShowWindow();
    window.SetFocus();
    manager_->SetOptions(values.askNames, values.freeMb, values.threads);
    for (const std::string& url : urls) manager_->AddDownload(url, values.folder, "", "", values.Policy());
    if (Window()) Window()->RefreshNow();
}

DownloadManagerWindow& DownloadCenter::ShowWindow() {
    if (!Window()) window_ = new DownloadManagerWindow(nullptr, *manager_);
    window_->Show();
    window_->Raise();
    return *window_;
}

DownloadManagerWindow* DownloadCenter::Window() {
    // A window the user closed is on its way out: it no longer counts.
    return window_ && !window_->IsBeingDeleted() ? window_.get() : nullptr;
}

void DownloadCenter::CloseWindow() {
    if (Window()) delete window_.get();
}

int DownloadCenter::OfferInterrupted(wxWindow* parent) {
    const DownloadSettings values = DownloadSettings::Load(ctx_.settings);
    std::vector<std::string> folders = values.history;
    folders.insert(folders.begin(), values.folder);
    const std::vector<InterruptedDownload> found = FindInterruptedDownloads(folders);
    if (found.empty()) return 0;
    if (ShowMessageBox(parent, InterruptedQuestion(found.size()), kCaption, wxYES_NO | wxICON_QUESTION) != wxYES)
        return 0;
    ShowWindow();
    int continued = 0;
    for (const InterruptedDownload& d : found)
        if (manager_->AddDownloadTo(d.url, d.target, "", "", ExistingFilePolicy::Rename) == DownloadManager::kAdded)
            ++continued;
    if (Window()) Window()->RefreshNow();
    return continued;
}

}  // namespace flk::ui
