#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace flk {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

std::string HomeFolder() {
    const char* h = std::getenv("HOME");
    return (h && *h) ? std::string(h) : std::string("/tmp");
}

}  // namespace

bool EnsureFolder(const std::string& path) {
    if (path.empty()) return false;
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
            // A parent we may not create can still exist; only the end counts.
        }
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsWritableFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(path.c_str(), W_OK) == 0;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string WindowsDirectory() {
    std::string dir = EnvOr("FLK_WINDIR", "");
    if (dir.empty()) dir = EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config") + "/findlark";
    EnsureFolder(dir);
    return dir;
}

std::string DefaultProgramFolder() {
    std::string dir = EnvOr("FLK_PROGRAM_DIR", "");
    if (!dir.empty()) return dir;
    // Installed layout: <prefix>/bin/FLK with <prefix>/share/findlark.
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        std::string exe(buf, static_cast<std::size_t>(n));
        std::string installed = FolderOf(FolderOf(exe)) + "/share/findlark";
        if (FileExists(installed + "/license.txt")) return installed;
    }
    return FLK_RESOURCE_DIR;
}

std::string UserDataFolder() {
    return EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share") + "/findlark";
}

std::string RuntimeFolder() {
    std::string dir = EnvOr("XDG_RUNTIME_DIR", "");
    if (dir.empty() || !IsWritableFolder(dir)) dir = "/tmp/findlark-" + std::to_string(::getuid());
    EnsureFolder(dir);
    return dir;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

std::string WithTrailingSeparator(const std::string& folder) {
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder;
    return folder + "/";
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace flk
