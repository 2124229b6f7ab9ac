#include "download/DownloadSettings.h"

#include "platform/TextUtil.h"
#include "settings/Settings.h"

#include <algorithm>

namespace flk {

std::vector<std::string> SplitFolderHistory(const std::string& text) {
    std::vector<std::string> folders;
    for (const std::string& part : Split(text, ";")) {
        std::string folder = TrimCopy(part);
        if (!folder.empty()) folders.push_back(std::move(folder));
    }
    return folders;
}

std::string JoinFolderHistory(const std::vector<std::string>& folders, std::size_t max) {
    std::string text;
    for (std::size_t i = 0; i < folders.size() && i < max; ++i) text += (i ? ";" : "") + folders[i];
    return text;
}

InternetOptions DownloadInternetOptions(const Settings& settings, InternetOptions base) {
    if (settings.Get(keys::CrawlerUseCash) == 0) base.access = InternetAccess::Direct;
    return base;
}

DownloadSettings DownloadSettings::Load(const Settings& settings) {
    DownloadSettings s;
    const std::string home = settings.HomeDirectory();
    s.folder = settings.Get(keys::DownloadDir);
    if (s.folder.empty()) s.folder = home;
    std::string history = settings.Get(keys::DownloadLastFolders);
    s.history = SplitFolderHistory(history.empty() ? home : history);
    s.askNames = settings.Get(keys::DownloadAskNames) != 0;
    s.radio = settings.Get(keys::DownloadRadio);
    s.freeMb = std::max(0, settings.Get(keys::DownloadFree));
    s.threads = std::clamp(settings.Get(keys::DownloadThreads), 1, 100);
    return s;
}

void DownloadSettings::Store(Settings& settings) const {
    settings.Set(keys::DownloadLastFolders, JoinFolderHistory(history, kMaxFolders));
    settings.Set(keys::DownloadAskNames, askNames ? 1 : 0);
    settings.Set(keys::DownloadRadio, radio >= 1 && radio <= 3 ? radio : 1);
    settings.Set(keys::DownloadFree, freeMb);
    settings.Set(keys::DownloadDir, folder);
    settings.Set(keys::DownloadThreads, threads);
}

void DownloadSettings::PickFolder(const std::string& picked) {
    if (picked.empty()) return;
    if (std::find(history.begin(), history.end(), picked) == history.end()) history.insert(history.begin(), picked);
    folder = picked;
}

ExistingFilePolicy DownloadSettings::Policy() const {
    switch (radio) {
        case 2: return ExistingFilePolicy::Overwrite;
        case 3: return ExistingFilePolicy::Ask;
        default: return ExistingFilePolicy::Rename;
    }
}

}  // namespace flk
