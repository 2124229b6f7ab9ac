#include "app/CommandLine.h"

#include "platform/TextUtil.h"

namespace flk {

namespace {

void ReadOptions(const std::string& options, StartCommand& cmd) {
    auto has = [&](const char* opt) { return options.find(opt) != std::string::npos; };
    // Shows the crawler window whatever else the line asks.
    cmd.showCrawler = has("-crawler");
    if (has("-guide")) {
        cmd.guide = true;
        return;
    }
    cmd.singlePage = has("-page");
    cmd.searchWeb = has("-searchweb");
    cmd.run = has("-run");
    cmd.searchSite = has("-searchsite");
}

}  // namespace

StartCommand ParseCommandLine(const std::string& line, const std::string& makerHost) {
    StartCommand cmd;
    const std::string text = TrimCopy(line);
    const std::size_t space = text.find(' ');
    cmd.location = text.substr(0, space);
    // Without a space the option search runs over the whole line; so does it
    // when the line starts with an option, or "-page -run" would lose "-page".
    const bool onlyOptions = !cmd.location.empty() && cmd.location[0] == '-';
    const std::string options =
        (space == std::string::npos || onlyOptions) ? text : TrimCopy(text.substr(space));
    if (onlyOptions) cmd.location = makerHost;
    ReadOptions(options, cmd);
    return cmd;
}

StartCommand ParseArguments(const std::vector<std::string>& args, const std::string& makerHost) {
    StartCommand cmd;
    if (args.empty() || (!args[0].empty() && args[0][0] == '-')) {
        if (!args.empty()) cmd.location = makerHost;
        ReadOptions(JoinArguments(args), cmd);
        return cmd;
    }
    // The first argument is the location as the shell passed it: a path
    // with spaces stays whole.
    cmd.location = args[0];
    ReadOptions(JoinArguments(std::vector<std::string>(args.begin() + 1, args.end())), cmd);
    return cmd;
}

std::string JoinArguments(const std::vector<std::string>& args) {
    std::string line;
    for (const auto& a : args) {
        if (!line.empty()) line += ' ';
        line += a;
    }
    return line;
}

}  // namespace flk
