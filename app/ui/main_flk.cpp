#include "app/Startup.h"
#include "app/ui/FlkApp.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFolders.h"

#include <cstdio>
#include <utility>
#include <wx/init.h>

int main(int argc, char** argv) {
    flk::ProgramFolders folders = flk::FoldersFromEnvironment();
    flk::InstanceLock instance(folders.runtime, flk::kInstanceMutexName);
    if (!instance.Acquire(flk::kInstanceWaitMs)) return 0;  // another copy runs: end silently

    auto* app = new flk::ui::FlkApp(std::move(folders));
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
