#include "app/CommandLine.h"

#include "platform/TextUtil.h"

namespace flk {

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

    auto has = [&](const char* opt) { return options.find(opt) != std::string::npos; };
    if (has("-guide")) {
        cmd.guide = true;
        return cmd;
    }
    cmd.singlePage = has("-page");
    cmd.searchWeb = has("-searchweb");
    cmd.run = has("-run");
    cmd.searchSite = has("-searchsite");
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
