#include "platform/ProblemLog.h"

#include <cstdio>
#include <mutex>

namespace flk {

namespace {

std::mutex& LogLock() {
    static std::mutex lock;
    return lock;
}

std::function<void(const std::string&)>& Hook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

}  // namespace

void LogProblem(const std::string& text) {
    // One lock keeps lines of several threads whole.
    std::lock_guard<std::mutex> lock(LogLock());
    if (Hook()) {
        Hook()(text);
        return;
    }
    std::fprintf(stderr, "Findlark: %s\n", text.c_str());
    std::fflush(stderr);
}

void SetProblemLogHook(std::function<void(const std::string& text)> hook) {
    std::lock_guard<std::mutex> lock(LogLock());
    Hook() = std::move(hook);
}

}  // namespace flk
