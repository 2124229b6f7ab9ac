#include "config/AutostartEntry.h"

#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace flk {

namespace {

// One argument of an Exec line: quoted when it holds anything but plain
// path characters, with the quoting and the entry's own escapes applied.
std::string ExecArgument(const std::string& arg) {
    bool plain = !arg.empty();
    for (char c : arg) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '/' || c == '.' || c == '-' || c == '_' || c == '+' || c == ',';
        if (!ok) plain = false;
    }
    if (plain) return arg;
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // The desktop entry reads "\\" as one backslash in every string value.
    std::string escaped;
    for (char c : quoted) {
        if (c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

std::string AutostartEntryText(const std::string& trayletProgram) {
    std::string line;
    for (char c : trayletProgram)
        if (c != '\n' && c != '\r') line += c;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Findlark Tray\n"
           "Comment=Picture pop-up and tray icon of Findlark\n"
           "Exec=" + ExecArgument(line) + "\n"
           "Icon=findlark\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool InstallAutostartEntry(const std::string& folder, const std::string& trayletProgram) {
    // An unknown folder must not turn into the root folder.
    if (folder.empty()) return false;
    const std::string path = JoinPath(folder, kAutostartEntryName);
    if (FileExists(path)) return true;
    if (!EnsureFolder(folder)) return false;
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << AutostartEntryText(trayletProgram);
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool RemoveAutostartEntry(const std::string& folder) {
    if (folder.empty()) return true;  // no folder, no entry
    const std::string path = JoinPath(folder, kAutostartEntryName);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace flk
