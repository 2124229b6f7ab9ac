#include "platform/Launcher.h"

#include "platform/TextUtil.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace flk {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool IsRunnableProgram(const std::string& file) {
    if (file.empty()) return false;
    if (file.find('/') != std::string::npos) return IsExecutableFile(file);
    const char* path = std::getenv("PATH");
    if (!path) return false;
    for (const std::string& folder : Split(path, ":")) {
        if (!folder.empty() && IsExecutableFile(folder + "/" + file)) return true;
    }
    return false;
}

bool StartDetached(const std::vector<std::string>& argv, const std::string& workDir) {
    if (argv.empty() || argv[0].empty()) return false;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // The grandchild reports a failed exec through a close-on-exec pipe.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
        if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) {
            // run in the current folder instead
        }
        ::execvp(args[0], args.data());
        int err = errno;
        ssize_t ignored = ::write(fds[1], &err, sizeof err);
        (void)ignored;
        ::_exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    while ((n = ::read(fds[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    ::close(fds[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

bool OpenWithSystem(const std::string& target) {
    const char* opener = std::getenv("FLK_OPENER");
    return StartDetached({(opener && *opener) ? opener : "xdg-open", target});
}

int ShellRun(const std::string& file, const std::vector<std::string>& parameters, const std::string& directory) {
    if (file.empty()) return -1;
    if (IsRunnableProgram(file)) {
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
