#include "flkcrawl/CrawlRun.h"

#include "flkcrawl/CrawlCommand.h"
#include "flkcrawl/DownloadRun.h"
#include "flkcrawl/MediaJson.h"
#include "app/SearchFlow.h"
#include "settings/Settings.h"
#include "flkcrawl/TerminalSearchUi.h"
#include "session/CrawlerSession.h"
#include "net/InternetGlobal.h"
#include "net/RequestTimeLimit.h"
#include "platform/Notifier.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "update/ServerRequests.h"
#include "update/UpdateData.h"

#include <sys/ioctl.h>

#include <cstdio>
#include <unistd.h>

namespace flk {

namespace {

std::string CountText(const MediaList& list) {
    return std::to_string(list.RowCount());
}

std::size_t TerminalColumns() {
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col >= 20) return size.ws_col;
    return 80;
}

void PrintProgress(CrawlerSession& session) {
    const CrawlProgress p = session.Progress();
    MediaLists& lists = session.Lists();
    std::string line = "pages " + std::to_string(p.pagesParsed) + "/" + std::to_string(p.pagesFound) +
                       "  threads " + std::to_string(p.threads) + "  images " + CountText(lists.images) +
                       "  sounds " + CountText(lists.sounds) + "  movies " + CountText(lists.movies);
    if (session.Hits().RowCount() > 0) line += "  hits " + std::to_string(session.Hits().RowCount());
    std::string status = p.status;
    if (status.size() > 60) status = status.substr(0, 57) + "...";
    line += "  " + status;
    // One column short of the terminal's width, so the line never wraps and
    // a shorter one leaves no trail of the last.
    const std::size_t width = TerminalColumns() - 1;
    if (line.size() > width) line.resize(width);
    line.resize(width, ' ');
    std::fprintf(stdout, "\r%s", line.c_str());
    std::fflush(stdout);
}

class InternetLibrary {
public:
    InternetLibrary() : ok_(InitInternet()) {}
    ~InternetLibrary() {
        if (ok_) CleanupInternet();
    }
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

// The user's settings; a first run writes the defaults first, so that what
// --help shows is what a crawl runs with.
std::unique_ptr<Settings> UserSettings(const ProgramFolders& folders) {
    auto settings = std::make_unique<Settings>(folders);
    if (settings->IsFirstRun()) {
        settings->WriteDefaults();
        settings->Set(keys::UpdateFirstTime, 0);
    }
    return settings;
}

}  // namespace

std::string SettingsHelpForUser(const ProgramFolders& folders) { return CrawlSettingsHelp(*UserSettings(folders)); }

int RunCrawlCommand(const CrawlCommand& command, const ProgramFolders& folders, const std::atomic<bool>& interrupted) {
    InternetLibrary internet;
    if (!internet.Ok()) {
        std::fprintf(stderr, "flkcrawl: the internet library could not be started\n");
        return 1;
    }
    std::unique_ptr<Settings> settings = UserSettings(folders);
    if (command.projectFolder && !EnsureFolder(*command.projectFolder)) {
        std::fprintf(stderr, "flkcrawl: cannot create the project folder %s\n", command.projectFolder->c_str());
        return 1;
    }
    ApplyCrawlCommand(command, *settings);

    // No window asks questions or counts media here: every notification
    // answers 0, so the crawl runs to its limits.
    NullNotifier notifier;
    SessionContext context{*settings, notifier, {}, Pacing::None()};
    if (command.hostMap)
        for (const std::string& entry : Split(*command.hostMap, ","))
            if (!Trim(entry).empty()) context.network.resolve.push_back(TrimCopy(entry));

    CrawlerSession session(context);
    // Found out now, not after the whole crawl.
    const std::string projectFolder = session.Project().folder;
    if (!CanCreateFilesIn(projectFolder)) {
        std::fprintf(stderr,
                     "flkcrawl: cannot write into the project folder %s; give a writable one with --project DIR\n",
                     projectFolder.c_str());
        return 1;
    }
    if (command.threads) session.SetMaxThreads(*command.threads);
    session.SetSinglePage(command.singlePage);
    SearchOptions search;
    if (command.query) search.text = *command.query;
    session.SetSearch(search);

    std::string start;
    for (const std::string& location : command.locations) start += location + ";";
    std::unique_ptr<ServerRequests> server;  // usage reports of searches
    if (!command.searchWords.empty() || !command.guideCategory.empty()) {
        TerminalSearchUi ui(settings->ProfilePath());
        UpdateData data(session.Update(), *settings);
        data.Load();
        server = std::make_unique<ServerRequests>(session.Internet(), notifier, data.GetServer(),
                                                  ServerRequestsOptions{WithRequestTimeLimit(context.network, *settings)});
        SearchFlowContext flow{session, ui, ui, &interrupted, server.get()};
        GoRequest request;
        request.guide = !command.guideCategory.empty();
        request.query = request.guide ? command.guideCategory : command.searchWords;
        request.engine = command.engine;
        std::string detail;
        const GoResult result = RunGo(flow, request, detail);
        if (result == GoResult::Stopped) {
            std::fprintf(stdout, "Stopped before the crawl began.\n");
            return 130;
        }
        if (result != GoResult::Crawling) {
            std::fprintf(stderr, "flkcrawl: %s\n", detail.c_str());
            return 1;
        }
        start = request.query;
    } else if (!session.Start(start)) {
        std::fprintf(stderr, "flkcrawl: nothing to crawl in \"%s\"\n", start.c_str());
        return 1;
    }
    const bool live = !command.quiet && ::isatty(STDOUT_FILENO);
    bool stopping = false;
    while (!session.WaitForEnd(std::chrono::milliseconds(250))) {
        if (interrupted.load() && !stopping) {
            stopping = true;
            session.Stop();
            if (live) std::fprintf(stdout, "\n");
            std::fprintf(stdout, "stopping...\n");
            std::fflush(stdout);
        }
        if (live) PrintProgress(session);
    }
    if (live) std::fprintf(stdout, "\n");

    const CrawlProgress p = session.Progress();
    MediaLists& lists = session.Lists();
    std::printf("%s: %d pages found, %d parsed; %zu images (%d valid), %zu sounds, %zu movies",
                stopping ? "Stopped" : "Done", p.pagesFound, p.pagesParsed, lists.images.RowCount(),
                lists.images.CountValidItems(), lists.sounds.RowCount(), lists.movies.RowCount());
    if (search.text.size()) std::printf(", %zu matching pages", session.Hits().RowCount());
    std::printf("\n");

    int status = stopping ? 130 : 0;
    const FetchFailures::Summary failures = session.Failures();
    for (const std::string& note : failures.limits) std::printf("Limit: %s\n", note.c_str());
    if (failures.failed > 0) {
        std::printf("%d pages could not be read:\n", failures.failed);
        for (const std::string& line : failures.first) std::printf("  %s\n", line.c_str());
        if (failures.failed > static_cast<int>(failures.first.size()))
            std::printf("  ... and %d more\n", failures.failed - static_cast<int>(failures.first.size()));
    }
    // A crawl whose start locations all failed found nothing: that is a
    // failure, not a finished crawl.
    if (!stopping && failures.startPagesRead == 0 && failures.startPagesFailed > 0) {
        std::fprintf(stderr, "flkcrawl: no start location could be read\n");
        status = 1;
    }
    if (session.SaveProject()) {
        std::printf("Project: %s\n", session.Project().FilePath().c_str());
    } else {
        std::fprintf(stderr, "flkcrawl: could not save the project %s\n", session.Project().FilePath().c_str());
        status = 1;
    }
    // The links files and reports cover the selected rows: in a batch run,
    // everything found.
    lists.images.SelectAll();
    lists.movies.SelectAll();
    lists.sounds.SelectAll();
    session.Hits().SelectAll();
    for (const std::string& path : session.WriteListFiles()) std::printf("Wrote %s\n", path.c_str());
    if (!command.jsonFile.empty()) {
        // Through a temporary file: a run that fails leaves the old file or none.
        if (WriteBinaryFile(command.jsonFile, MediaJsonLines(lists))) {
            std::printf("Wrote %s\n", command.jsonFile.c_str());
        } else {
            std::fprintf(stderr, "flkcrawl: could not write %s\n", command.jsonFile.c_str());
            status = 1;
        }
    }
    if (command.resultPages) {
        std::string subject = command.query ? *command.query : start.substr(0, start.find(';'));
        std::vector<std::string> problems;
        const std::string first = session.WriteResultPages(subject, problems);
        // A template that could not be used is a failure, even when the
        // pages carry its error line.
        for (const std::string& problem : problems) {
            std::fprintf(stderr, "flkcrawl: result pages: %s\n", problem.c_str());
            status = 1;
        }
        const bool found = lists.images.RowCount() + lists.sounds.RowCount() + lists.movies.RowCount() +
                               session.Hits().RowCount() > 0;
        if (!first.empty())
            std::printf("Result pages: %s\n", first.c_str());
        else if (found)
            std::printf("No result pages written.\n");
        else
            std::printf("No media found: no result pages written.\n");
    }
    std::fflush(stdout);
    if (!command.downloadFolder.empty() && !stopping) {
        if (!EnsureFolder(command.downloadFolder)) {
            std::fprintf(stderr, "flkcrawl: cannot create the download folder %s\n", command.downloadFolder.c_str());
            return 1;
        }
        // What is downloaded: the rows that pass the size rule.
        std::vector<std::string> urls;
        for (auto [list, wanted] : {std::pair<MediaList*, bool>{&lists.images, command.downloadImages},
                                    {&lists.sounds, command.downloadSounds},
                                    {&lists.movies, command.downloadMovies}}) {
            if (!wanted) continue;
            list->SelectValidItems();
            for (std::string& url : list->SelectedUrls()) urls.push_back(std::move(url));
        }
        const DownloadRunResult downloads = RunDownloads(urls, command.downloadFolder, *settings, session.Internet(),
                                                         session.Network(), interrupted, live);
        if (downloads.stopped) return 130;
        if (downloads.failed > 0 && status == 0) status = 1;
    }
    return status;
}

}  // namespace flk
