#include "app/Presentation.h"

#include "platform/Launcher.h"

namespace flk {

std::string PresentationTarget(const Settings& settings) {
    std::string url = settings.Get(keys::PresentationUrl);
    if (!url.empty()) return url;
    return settings.HomeDirectory() + "presentation/start.html";
}

bool ShouldOfferPresentation(const Settings& settings, bool firstRun) {
    return firstRun || settings.Get(keys::ViewShowPresentationAgain) != 0;
}

bool ShowPresentation(const Settings& settings) {
    return OpenWithSystem(PresentationTarget(settings));
}

void RememberPresentationChoice(Settings& settings, bool dontShowAgain) {
    if (dontShowAgain) settings.Set(keys::ViewShowPresentationAgain, 0);
}

}  // namespace flk
