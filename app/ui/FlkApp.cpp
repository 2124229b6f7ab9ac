#include "app/ui/FlkApp.h"

#include "app/Presentation.h"
#include "app/Startup.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/PresentationDialog.h"
#include "app/ui/WxStartupUi.h"
#include "ui/XrcSupport.h"
#include "net/InternetGlobal.h"

#include <vector>

namespace flk::ui {

FlkApp::FlkApp() = default;

bool FlkApp::OnInit() {
    SetAppName("Findlark");
    InitResources();
    settings_ = Settings::ForUser();

    internetReady_ = InitInternet();
    WxStartupUi ui;
    const StartupResult started = RunStartupSteps(*settings_, ui, internetReady_);
    if (started.outcome != StartupOutcome::Proceed) {
        startupExitCode_ = started.outcome == StartupOutcome::InternetFailed ? 1 : 0;
        return false;
    }

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i].utf8_string());
    command_ = ParseCommandLine(JoinArguments(args), settings_->MakerHost());

    if (ShouldOfferPresentation(*settings_, started.firstRun)) {
        PresentationDialog offer(nullptr, *settings_);
        offer.ShowModal();
    }

    // Until the search windows exist the about box is the program's window.
    auto* about = new AboutDialog(nullptr, *settings_);
    SetTopWindow(about);
    about->Show();
    return true;
}

int FlkApp::OnExit() {
    if (internetReady_) CleanupInternet();
    return wxApp::OnExit();
}

}  // namespace flk::ui
