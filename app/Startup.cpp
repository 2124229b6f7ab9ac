#include "app/Startup.h"

#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace flk {

std::string AgreementTitle(const Settings& settings) {
    return "Findlark   " + settings.Get(keys::ProgramVersion);
}

std::string AgreementText(const Settings& settings) {
    std::string text;
    if (!ReadWholeFile(settings.HomeDirectory() + "license.txt", text) || text.empty())
        return kBuiltInAgreement;
    return text;
}

StartupResult RunStartupSteps(Settings& settings, StartupUi& ui, bool internetReady) {
    StartupResult result;
    if (!internetReady) {
        ui.ShowError(kSocketsFailedMessage);
        result.outcome = StartupOutcome::InternetFailed;
        return result;
    }
    if (settings.IsFirstRun()) {
        result.firstRun = true;
        settings.WriteDefaults();
        settings.Set(keys::UpdateFirstTime, 0);
    }
    if (settings.Get(keys::CrawlerEnodger) == 0) {
        if (!ui.AskAgreement(AgreementTitle(settings), AgreementText(settings))) {
            result.outcome = StartupOutcome::AgreementDeclined;
            return result;
        }
        settings.Set(keys::CrawlerEnodger, 1);
    }
    return result;
}

}  // namespace flk
