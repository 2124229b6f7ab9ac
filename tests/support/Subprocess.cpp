#include "support/Subprocess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace flk::test {

Subprocess::Subprocess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                       const std::string& outputFile) {
    // A variable given here replaces the inherited one of that name (the
    // first of two would win).
    auto replaced = [&](const char* inherited) {
        for (const std::string& extra : extraEnv) {
            const std::size_t eq = extra.find('=');
            if (eq != std::string::npos && std::string_view(inherited).substr(0, eq + 1) == extra.substr(0, eq + 1))
                return true;
        }
        return false;
    };
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (!replaced(*e)) env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& a : args) argp.push_back(a.data());
    argp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (posix_spawn(&pid_, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

Subprocess::~Subprocess() {
    if (pid_ > 0 && status_ < 0) {
        ::kill(pid_, SIGKILL);
        Wait(std::chrono::seconds(5));
    }
}

int Subprocess::Wait(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return -1;
    if (status_ >= 0) return status_;
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_;
        }
        if (std::chrono::steady_clock::now() >= end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void Subprocess::Signal(int sig) {
    if (pid_ > 0 && status_ < 0) ::kill(pid_, sig);
}

}  // namespace flk::test
