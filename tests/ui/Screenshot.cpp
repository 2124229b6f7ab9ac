#include "ui/Screenshot.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/utils.h>

#include <chrono>
#include <thread>

namespace flk::test {

bool SaveScreenshot(wxWindow& window, const std::string& name) {
    // Let the window paint before the screen is read.
    window.Raise();
    window.Update();
    for (int i = 0; i < 5; ++i) {
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::string folder = std::string(FLK_BINARY_DIR) + "/screenshots";
    ::mkdir(folder.c_str(), 0755);
    const wxRect r = window.GetScreenRect();
    const std::string crop = std::to_string(r.width) + "x" + std::to_string(r.height) + "+" +
                             std::to_string(std::max(0, r.x)) + "+" + std::to_string(std::max(0, r.y));
    const std::string path = folder + "/" + name + ".png";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execlp("import", "import", "-silent", "-window", "root", "-crop", crop.c_str(), path.c_str(),
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid < 0) return false;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace flk::test
