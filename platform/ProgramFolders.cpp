#include "platform/ProgramFolders.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <unistd.h>

namespace flk {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

std::string ProgramFolderFromEnvironment() {
    std::string dir = EnvOr("FLK_PROGRAM_DIR", "");
    if (!dir.empty()) return dir;
    // Installed layout: <prefix>/bin/FLK with <prefix>/share/findlark.
    const std::string exe = RunningProgramFile();
    if (!exe.empty()) {
        std::string installed = FolderOf(FolderOf(exe)) + "/share/findlark";
        if (FileExists(installed + "/license.txt")) return installed;
    }
    return FLK_RESOURCE_DIR;
}

std::string RuntimeFolderFromEnvironment() {
    const std::string dir = EnvOr("XDG_RUNTIME_DIR", "");
    if (!dir.empty() && IsWritableFolder(dir)) return dir;
    // In the shared /tmp anyone may have made the name first.
    const std::string fallback = "/tmp/findlark-" + std::to_string(::getuid());
    return MakePrivateFolder(fallback) ? fallback : std::string();
}

}  // namespace

ProgramFolders FoldersFromEnvironment() {
    const std::string home = EnvOr("HOME", "/tmp");
    const std::string config = EnvOr("XDG_CONFIG_HOME", home + "/.config");
    ProgramFolders f;
    f.windows = EnvOr("FLK_WINDIR", config + "/findlark");
    EnsureFolder(f.windows);
    f.program = ProgramFolderFromEnvironment();
    f.userData = EnvOr("XDG_DATA_HOME", home + "/.local/share") + "/findlark";
    f.runtime = RuntimeFolderFromEnvironment();
    f.autostart = config + "/autostart/";
    return f;
}

}  // namespace flk
