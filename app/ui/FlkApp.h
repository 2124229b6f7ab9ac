#pragma once
#include "app/CommandLine.h"
#include "platform/ProgramMessages.h"
#include "settings/Settings.h"

#include <memory>
#include <wx/app.h>

namespace flk::ui {

class AppShell;

// The application object of FLK. The single-instance lock is taken in
// main() before the toolkit starts, so a second copy ends without touching
// the display.
class FlkApp : public wxApp {
public:
    explicit FlkApp(ProgramFolders folders);
    ~FlkApp() override;
    bool OnInit() override;
    int OnExit() override;
    // The exit code main() returns when start-up ended the program.
    int StartupExitCode() const { return startupExitCode_; }

private:
    ProgramFolders folders_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<AppShell> shell_;
    std::unique_ptr<MessageListener> messages_;
    StartCommand command_;
    bool internetReady_ = false;
    int startupExitCode_ = 0;
};

}  // namespace flk::ui
