#include "update/ShellOpen.h"

#include "platform/Launcher.h"
#include "platform/TextUtil.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace flk {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool IsProgram(const std::string& file) {
    if (file.empty()) return false;
    if (file.find('/') != std::string::npos) return IsExecutableFile(file);
    const char* path = std::getenv("PATH");
    if (!path) return false;
    for (const std::string& folder : Split(path, ":")) {
        if (!folder.empty() && IsExecutableFile(folder + "/" + file)) return true;
    }
    return false;
}

}  // namespace

int ShellRun(const std::string& file, const std::vector<std::string>& parameters, const std::string& directory) {
    if (file.empty()) return -1;
    if (IsProgram(file)) {
        std::vector<std::string> argv{file};
        argv.insert(argv.end(), parameters.begin(), parameters.end());
        return StartDetached(argv, directory) ? 0 : -1;
    }
    return OpenWithSystem(file) ? 0 : -1;
}

int OpenUrl(const std::string& address, int flags, const std::string& browserPath) {
    if ((flags & kOpenUrlWithSystem) || browserPath.empty()) return OpenWithSystem(address) ? 0 : -1;
    // The browser is a program, never a document to hand on.
    return StartDetached({browserPath, address}) ? 0 : -1;
}

}  // namespace flk
