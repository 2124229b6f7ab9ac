// The tray companion: a picture for two seconds, then an icon in the tray.
#include "platform/InstanceLock.h"
#include "platform/ProgramFolders.h"
#include "traylet/TrayletSettings.h"
#include "traylet/TrayletStart.h"
#include "traylet/ui/TrayletFrame.h"

#include <cstdio>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/taskbar.h>

namespace {

class TrayletApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const flk::ProgramFolders folders = flk::FoldersFromEnvironment();
    if (flk::IsCloseCommand(args)) return flk::CloseRunningTraylet(folders.runtime) ? 0 : 1;

    flk::InstanceLock instance(folders.runtime, flk::kTrayletMutexName);
    if (!instance.Acquire(flk::kTrayletInstanceWaitMs)) return 0;  // one runs already: end silently

    const flk::TrayletSettings settings = flk::LoadTrayletSettings(folders.windows);
    if (settings.popup == 0) return 0;

    wxApp::SetInstance(new TrayletApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        std::fprintf(stderr, "traylet: cannot open the display.\n");
        return 1;
    }
    int code = 0;
    if (!wxTaskBarIcon::IsAvailable()) {
        // Running without an icon would leave nothing to click.
        std::fprintf(stderr, "traylet: the desktop has no notification area (system tray).\n");
        code = 1;
    } else {
        wxTheApp->CallOnInit();
        auto* frame = new flk::ui::TrayletFrame(folders, settings);
        if (!frame->StartListening())
            std::fprintf(stderr, "traylet: cannot listen for messages; \"/c\" will not reach it.\n");
        frame->ShowPicture();
        code = wxTheApp->OnRun();
        wxTheApp->OnExit();
    }
    wxEntryCleanup();
    return code;
}
