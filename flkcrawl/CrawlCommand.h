#pragma once
#include <optional>
#include <string>
#include <vector>

namespace flk {

class Settings;

// The command line of flkcrawl, the batch front end of the crawler.
struct CrawlCommand {
    std::vector<std::string> locations;
    std::optional<int> depth;
    std::optional<int> pages;
    std::optional<int> pagesPerSite;   // 0: no per-site limit
    std::optional<int> threads;
    std::optional<bool> images, sounds, movies;
    std::optional<bool> stayInDomain;
    std::optional<bool> stayInDir;
    std::optional<int> domainLevel;
    std::optional<std::string> filter;
    std::optional<std::string> query;  // text search
    std::optional<std::string> projectFolder;
    std::optional<std::string> hostMap;  // "host:port:address,..." name resolutions for the run
    std::optional<bool> robots;          // --robots
    std::optional<std::string> cookies;  // --cookies FILE
    std::optional<std::string> userAgent;  // --user-agent
    std::optional<int> maxPerHost;       // --max-per-host (0: no limit)
    std::string searchWords;           // --search
    std::string guideCategory;         // --guide
    std::string engine;                // --engine
    std::string downloadFolder;        // --download: fetch the valid media found into it
    std::string jsonFile;              // --json: every medium found, one JSON object a line
    bool downloadImages = true, downloadSounds = true, downloadMovies = true;  // --download-kinds
    bool downloadKindsGiven = false;
    bool singlePage = false;
    bool resultPages = true;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

struct CrawlCommandParse {
    bool ok = false;
    std::string error;  // for the user, when !ok
    CrawlCommand command;
};

// Parses the arguments after the program name.
CrawlCommandParse ParseCrawlCommand(const std::vector<std::string>& args);

// Applies the options as run-only settings (the profile file is unchanged).
void ApplyCrawlCommand(const CrawlCommand& command, Settings& settings);

extern const char kCrawlCommandHelp[];

// What --help adds: the settings a crawl will run with, read from the
// settings file, each with the key that changes it.
std::string CrawlSettingsHelp(Settings& settings);

// What --version prints: the program name and the build's version.
extern const char kCrawlCommandVersion[];

}  // namespace flk
