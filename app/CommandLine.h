#pragma once
#include <string>
#include <vector>

namespace flk {

// What the command line asks the crawler window to do.
struct StartCommand {
    std::string location;
    bool singlePage = false;
    bool searchSite = false;
    bool guide = false;
    bool searchWeb = false;
    bool run = false;
    // Shows the crawler window at start; it is otherwise out of sight.
    bool showCrawler = false;
};

// The start location is the text up to the first space; the options are
// found by plain substring search. "-guide" wins over every other switch
// of the crawl; "-crawler" only shows a window and holds with any of them.
// A line that starts with "-" holds only options and starts at makerHost.
StartCommand ParseCommandLine(const std::string& line, const std::string& makerHost);

// The program's arguments (argv[0] excluded): the first is the start
// location, whole, unless it begins with "-"; the rest, joined with spaces,
// are the option text, read as ParseCommandLine reads it. Arguments that
// begin with an option start at makerHost.
StartCommand ParseArguments(const std::vector<std::string>& args, const std::string& makerHost);

// The program's arguments joined with spaces (argv[0] excluded), the form
// the command line is parsed in.
std::string JoinArguments(const std::vector<std::string>& args);

}  // namespace flk
