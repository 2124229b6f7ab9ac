#pragma once
#include "download/DownloadTexts.h"
#include "net/InternetSession.h"

#include <string>
#include <vector>

namespace flk {

class Settings;

// The Download dialog's values as stored in section "download", and their
// rules: the folder history, the choice of existing-file rule and the
// numbers the manager takes.
struct DownloadSettings {
    static constexpr std::size_t kMaxFolders = 51;  // history entries written

    std::string folder;                // "dir"
    std::vector<std::string> history;  // "last_folders", newest first
    bool askNames = false;             // "ask_names"
    int radio = 1;                     // "radio": 1 rename, 2 overwrite, 3 ask
    int freeMb = 10;                   // "free"
    int threads = 5;                   // "threads"

    // Reads the section; a missing folder or history is the program folder.
    static DownloadSettings Load(const Settings& settings);
    // Writes every value (the history as at most kMaxFolders entries joined
    // with ";").
    void Store(Settings& settings) const;

    // A folder picked with "Browse...": put at the top of the history unless
    // empty or already there, and made the folder.
    void PickFolder(const std::string& picked);

    // The rule each worker gets: rename unless the choice says otherwise.
    ExistingFilePolicy Policy() const;
    // The existing-file choices are disabled while names are asked anyway.
    bool ChoicesEnabled() const { return !askNames; }
};

// The connection of the download workers: `base` with a direct connection
// when "use_cash" of section "crawler" is 0.
InternetOptions DownloadInternetOptions(const Settings& settings, InternetOptions base);

// The history text split at ";" (empty entries dropped), and joined back.
std::vector<std::string> SplitFolderHistory(const std::string& text);
std::string JoinFolderHistory(const std::vector<std::string>& folders, std::size_t max);

}  // namespace flk
