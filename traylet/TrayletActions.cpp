#include "traylet/TrayletActions.h"

#include "platform/Launcher.h"
#include "traylet/CommandWords.h"
#include "traylet/TrayletSettings.h"

namespace flk {

namespace {

bool Open(const std::string& target, const std::string& parameters) {
    if (target.empty()) return false;
    return ShellRun(target, SplitCommandWords(parameters)) == 0;
}

}  // namespace

TrayletActions::TrayletActions(std::string windowsFolder) : windowsFolder_(std::move(windowsFolder)) {}

bool TrayletActions::Search() const {
    const TrayletSettings s = LoadTrayletSettings(windowsFolder_);
    if (!s.module) return false;
    const std::vector<std::string> argv = SplitCommandWords(*s.module);
    return !argv.empty() && StartDetached(argv);
}

bool TrayletActions::GoToSite() const {
    const TrayletSettings s = LoadTrayletSettings(windowsFolder_);
    return Open(s.gotosite, s.gotositeparam);
}

bool TrayletActions::MailNotify() const {
    const TrayletSettings s = LoadTrayletSettings(windowsFolder_);
    return Open(s.emailnotify, s.emailnotifyparam);
}

}  // namespace flk
