#pragma once
#include <atomic>
#include <string>
#include <vector>

namespace flk {

class InternetShare;
class Settings;
struct InternetOptions;

struct DownloadRunResult {
    int downloaded = 0;
    int failed = 0;
    bool stopped = false;
};

// Downloads the addresses into `folder` with the download manager and the
// settings of section "download" (threads, free space, the existing-file
// rule; "ask" renames, as nobody answers in a batch run). Prints a progress
// line when `live`, the failures and the summary "downloaded N files, X MB,
// K failed". `interrupted` stops every download; their parts stay for the
// next run.
DownloadRunResult RunDownloads(const std::vector<std::string>& urls, const std::string& folder,
                               const Settings& settings, InternetShare& share, const InternetOptions& network,
                               const std::atomic<bool>& interrupted, bool live);

}  // namespace flk
