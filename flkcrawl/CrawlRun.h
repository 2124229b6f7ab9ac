#pragma once
#include "platform/ProgramFolders.h"

#include <atomic>
#include <string>

namespace flk {

struct CrawlCommand;

// Runs a batch crawl: the settings of "flk.ini" with the command's
// overrides, live progress on a terminal; `interrupted` (set by Ctrl-C)
// stops the crawl and what was found is still saved. At the end the
// project, the list files and the result pages are written and a summary
// printed. Returns the exit status: 0 done, 1 failed, 130 stopped.
int RunCrawlCommand(const CrawlCommand& command, const ProgramFolders& folders, const std::atomic<bool>& interrupted);

// The settings part of --help, from the user's settings file.
std::string SettingsHelpForUser(const ProgramFolders& folders);

}  // namespace flk
