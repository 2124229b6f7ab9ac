#include "config/InternetSettings.h"

#include "platform/Launcher.h"

namespace flk {

std::vector<std::string> InternetSettingsCommand() {
    static const std::vector<std::vector<std::string>> known = {
        {"gnome-control-center", "network"},
        {"cinnamon-settings", "network"},
        {"nm-connection-editor"},
    };
    for (const auto& command : known)
        if (IsRunnableProgram(command.front())) return command;
    return {};
}

bool OpenInternetSettings() {
    const std::vector<std::string> command = InternetSettingsCommand();
    return !command.empty() && StartDetached(command);
}

}  // namespace flk
