#include "app/ui/FlkApp.h"

#include "app/Presentation.h"
#include "app/Startup.h"
#include "app/ui/AppShell.h"
#include "app/ui/PresentationDialog.h"
#include "app/ui/WxStartupUi.h"
#include "ui/XrcSupport.h"
#include "net/InternetGlobal.h"
#include "platform/ProblemLog.h"
#include "update/PatchRequest.h"

#include <cstdlib>

#include <utility>
#include <vector>

namespace flk::ui {

FlkApp::FlkApp(ProgramFolders folders) : folders_(std::move(folders)) {}
FlkApp::~FlkApp() = default;

bool FlkApp::OnInit() {
    SetAppName("Findlark");
    InitResources();
    settings_ = std::make_unique<Settings>(folders_);

    internetReady_ = InitInternet();
    WxStartupUi ui;
    const StartupResult started = RunStartupSteps(*settings_, ui, internetReady_);
    if (started.outcome != StartupOutcome::Proceed) {
        startupExitCode_ = started.outcome == StartupOutcome::InternetFailed ? 1 : 0;
        return false;
    }

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i].utf8_string());
    command_ = ParseArguments(args, settings_->MakerHost());

    if (ShouldOfferPresentation(*settings_, started.firstRun)) {
        PresentationDialog offer(nullptr, *settings_);
        offer.ShowModal();
    }

    // The media-search window is the one the user sees; closing it ends the
    // run.
    shell_ = std::make_unique<AppShell>(*settings_);
    shell_->ended = [this] { ExitMainLoop(); };
    // The crawler window joins here, hidden: the media-search window's
    // showLists (Ctrl+L) and command_.showCrawler ("-crawler") show it.
    shell_->Start(command_);

    // A patch program asks the running copy to end before it replaces its
    // files: the day is noted and the process ends at once, saving nothing.
    messages_ = std::make_unique<MessageListener>(
        folders_.runtime, kFlkMessageName,
        [this](int message) { return HandlePatchRequest(*settings_, message) ? 1 : 0; },
        // Only once the answer is with the patch program: it waits for it.
        [](int message, int answer) {
            if (message == kPatchRequestMessage && answer == 1) std::_Exit(0);
        });
    if (!messages_->Start()) LogProblem("FLK cannot listen for messages in " + folders_.runtime);
    return true;
}

int FlkApp::OnExit() {
    messages_.reset();
    shell_.reset();
    if (internetReady_) CleanupInternet();
    return wxApp::OnExit();
}

}  // namespace flk::ui
