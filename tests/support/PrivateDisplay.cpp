#include "support/PrivateDisplay.h"

#include <sys/stat.h>
#include <cerrno>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

namespace flk::test {
namespace {

using namespace std::chrono_literals;

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// A lock file left by a server that was killed before it could remove it
// does not make the number taken; the server removes such a lock itself.
bool HeldByALiveServer(const std::string& lockFile) {
    std::ifstream in(lockFile);
    long pid = 0;
    if (!(in >> pid)) return Exists(lockFile);
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::string Crop(int x, int y, int w, int h) {
    return std::to_string(w) + "x" + std::to_string(h) + "+" + std::to_string(x) + "+" + std::to_string(y);
}

std::string ScreenshotFile(const std::string& name) {
    const std::string folder = std::string(FLK_BINARY_DIR) + "/screenshots";
    ::mkdir(folder.c_str(), 0755);
    return folder + "/" + name + ".png";
}

}  // namespace

PrivateDisplay::PrivateDisplay(int width, int height) {
    // Numbers from 100 up stay clear of xvfb-run's, which counts from 99;
    // the process id spreads tests that start at the same moment.
    for (int n = 100 + ::getpid() % 300, tries = 0; tries < 50; ++n, ++tries) {
        if (HeldByALiveServer("/tmp/.X" + std::to_string(n) + "-lock")) continue;
        const std::string name = ":" + std::to_string(n);
        auto server = std::make_unique<Subprocess>(
            std::vector<std::string>{"/usr/bin/Xvfb", name, "-screen", "0",
                                     std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten",
                                     "tcp", "-noreset"},
            std::vector<std::string>{});
        // The socket appears before the server takes clients: it is up
        // once a client's connection is set up.
        const auto end = std::chrono::steady_clock::now() + 10s;
        bool answers = false;
        while (!answers && server->Wait(0ms) == -1 && std::chrono::steady_clock::now() < end) {
            answers = Subprocess({"/usr/bin/xdpyinfo", "-display", name}, {}).Wait(5s) == 0;
            if (!answers) std::this_thread::sleep_for(20ms);
        }
        if (answers && server->Wait(0ms) == -1) {
            server_ = std::move(server);
            name_ = name;
            return;
        }
    }
}

PrivateDisplay::~PrivateDisplay() {
    if (!server_) return;
    // Given time to remove its lock and socket before it would be killed.
    server_->Signal(SIGTERM);
    server_->Wait(5s);
}

std::string PrivateDisplay::Pixels(int x, int y, int w, int h, const std::string& scratch) const {
    Subprocess grab({"/usr/bin/import", "-display", name_, "-window", "root", "-crop", Crop(x, y, w, h), "-depth",
                     "8", "rgb:" + scratch},
                    {});
    if (grab.Wait(20s) != 0) return "";
    std::ifstream in(scratch, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void PrivateDisplay::Screenshot(int x, int y, int w, int h, const std::string& name) const {
    Subprocess grab(
        {"/usr/bin/import", "-display", name_, "-window", "root", "-crop", Crop(x, y, w, h), ScreenshotFile(name)},
        {});
    grab.Wait(20s);
}

void PrivateDisplay::ScreenshotWindow(const std::string& windowId, const std::string& name) const {
    Subprocess grab({"/usr/bin/import", "-display", name_, "-window", windowId, ScreenshotFile(name)}, {});
    grab.Wait(20s);
}

}  // namespace flk::test
