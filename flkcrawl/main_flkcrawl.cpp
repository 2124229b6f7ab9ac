// flkcrawl: the crawler without windows, for batch work.
#include "flkcrawl/CrawlCommand.h"
#include "flkcrawl/CrawlRun.h"
#include "platform/ProgramFolders.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {
std::atomic<bool> interrupted{false};
extern "C" void OnInterrupt(int) { interrupted.store(true); }
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const flk::CrawlCommandParse parsed = flk::ParseCrawlCommand(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "flkcrawl: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.command.help) {
        std::fputs(flk::kCrawlCommandHelp, stdout);
        std::fputs(flk::SettingsHelpForUser(flk::FoldersFromEnvironment()).c_str(), stdout);
        return 0;
    }
    if (parsed.command.version) {
        std::fputs(flk::kCrawlCommandVersion, stdout);
        return 0;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return flk::RunCrawlCommand(parsed.command, flk::FoldersFromEnvironment(), interrupted);
}
