#include "app/Startup.h"
#include "app/ui/FlkApp.h"
#include "platform/InstanceLock.h"

#include <cstdio>
#include <wx/init.h>

int main(int argc, char** argv) {
    flk::InstanceLock instance(flk::kInstanceMutexName);
    if (!instance.Acquire(flk::kInstanceWaitMs)) return 0;  // another copy runs: end silently

    auto* app = new flk::ui::FlkApp;
    wxApp::SetInstance(app);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "Findlark: cannot open the display.\n");
        return 1;
    }
    int code;
    if (app->CallOnInit()) {
        code = app->OnRun();
        app->OnExit();
    } else {
        code = app->StartupExitCode();
    }
    wxEntryCleanup();
    return code;
}
