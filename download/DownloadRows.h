#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace flk {

// A row of the manager's waiting list: a queued or running download.
struct WaitingRow {
    static constexpr std::int64_t kSizeNotYet = -2;

    std::string url;
    std::string target;
    std::uint64_t received = 0;           // bytes on disk, an earlier run's included
    std::int64_t total = kSizeNotYet;     // -1: the server gave no size
    std::string status;
    bool diskFull = false;                // stopped by the free-space check

    // The six columns: URL, target, kilobytes received, total kilobytes or
    // "Unknown", progress "N%", status.
    std::vector<std::string> Cells() const;
};

// A row of the finished list, newest first.
struct FinishedRow {
    std::string url;
    std::string target;
    std::string result;      // the result text (or the last status)
    int code = 0;            // the worker's result code
    std::uint64_t bytes = 0; // the file's size when finished successfully

    std::vector<std::string> Cells() const { return {url, target, result}; }
};

// What the lists show of the rows, for a window refreshing on a timer.
struct DownloadView {
    std::uint64_t revision = 0;
    std::vector<WaitingRow> waiting;
    std::vector<FinishedRow> finished;
    int running = 0;
};

}  // namespace flk
