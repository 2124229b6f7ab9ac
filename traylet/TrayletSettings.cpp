#include "traylet/TrayletSettings.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/RegistryStore.h"

namespace flk {

TrayletSettings LoadTrayletSettings(const std::string& windowsFolder) {
    TrayletSettings s;
    s.popup = ProfileFile(JoinPath(windowsFolder, "flk.ini")).GetInt("view", "popup", -1);
    const RegistryStore registry = RegistryStore::InFolder(windowsFolder);
    auto value = [&](const char* name) { return registry.Read(kTrayletRegistryKey, name).value_or(""); };
    s.module = registry.Read(kTrayletRegistryKey, "module");
    s.tooltip = value("tooltip").substr(0, kTooltipMaxLength);
    s.openimage = registry.Read(kTrayletRegistryKey, "openimage").value_or(kDefaultPicture);
    s.gotosite = value("gotosite");
    s.gotositeparam = value("gotositeparam");
    s.emailnotify = value("emailnotify");
    s.emailnotifyparam = value("emailnotifyparam");
    return s;
}

}  // namespace flk
