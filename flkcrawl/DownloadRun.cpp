#include "flkcrawl/DownloadRun.h"

#include "download/DownloadManager.h"
#include "download/DownloadSettings.h"
#include "platform/Notifier.h"
#include "settings/Settings.h"

#include <cstdio>

namespace flk {

namespace {

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

void PrintProgress(const DownloadView& view, std::size_t total) {
    std::uint64_t bytes = 0;
    for (const FinishedRow& row : view.finished) bytes += row.bytes;
    for (const WaitingRow& row : view.waiting) bytes += row.received;
    std::fprintf(stdout, "\rdownloading %zu/%zu  running %d  %s MB      ", view.finished.size(), total, view.running,
                 Megabytes(bytes).c_str());
    std::fflush(stdout);
}

}  // namespace

DownloadRunResult RunDownloads(const std::vector<std::string>& urls, const std::string& folder,
                               const Settings& settings, InternetShare& share, const InternetOptions& network,
                               const std::atomic<bool>& interrupted, bool live) {
    DownloadSettings options = DownloadSettings::Load(settings);
    ExistingFilePolicy policy = options.Policy();
    if (policy == ExistingFilePolicy::Ask) policy = ExistingFilePolicy::Rename;
    DownloadNetwork net{share, DownloadInternetOptions(settings, network)};
    NullNotifier notifier;  // no password questions: a 401 is "Access denied"
    DownloadManager manager(DownloadManagerContext{net, notifier, nullptr});
    manager.SetOptions(false, options.freeMb, options.threads);
    for (const std::string& url : urls) manager.AddDownload(url, folder, "", "", policy);
    std::size_t listed = 0;
    {
        const DownloadView added = manager.View();
        listed = added.waiting.size() + added.finished.size();
    }

    DownloadRunResult result;
    while (!manager.WaitUntilIdle(std::chrono::milliseconds(250))) {
        if (interrupted.load() && !result.stopped) {
            result.stopped = true;
            manager.StopAll();
        }
        if (live) PrintProgress(manager.View(), listed);
    }
    if (live) std::fprintf(stdout, "\n");

    const DownloadView view = manager.View();
    std::uint64_t bytes = 0;
    std::vector<const FinishedRow*> failures;
    for (const FinishedRow& row : view.finished) {
        if (row.code == download_result::Finished) {
            ++result.downloaded;
            bytes += row.bytes;
        } else {
            failures.push_back(&row);
        }
    }
    // Addresses that gave no file name were never listed: they failed too.
    const int unnamed = static_cast<int>(urls.size()) - static_cast<int>(listed);
    result.failed = static_cast<int>(failures.size()) + unnamed;
    for (auto it = failures.rbegin(); it != failures.rend(); ++it)
        std::printf("  %s: %s\n", (*it)->url.c_str(), (*it)->result.c_str());
    if (unnamed > 0) std::printf("  %d addresses give no file name\n", unnamed);
    std::printf("downloaded %d files, %s MB, %d failed\n", result.downloaded, Megabytes(bytes).c_str(), result.failed);
    std::fflush(stdout);
    return result;
}

}  // namespace flk
