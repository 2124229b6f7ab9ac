#pragma once
#include "settings/Settings.h"

#include <string>

namespace flk {

// The introductory presentation: `presentation`/`url` when set, else
// "presentation/start.html" in the home directory.
std::string PresentationTarget(const Settings& settings);

// The offer is made on a first run and while `showpresentationagain` is on.
bool ShouldOfferPresentation(const Settings& settings, bool firstRun);

// Opens the presentation with the desktop's browser; false when no browser
// could be started.
bool ShowPresentation(const Settings& settings);

// Closing the offer with its check box ticked stops later offers.
void RememberPresentationChoice(Settings& settings, bool dontShowAgain);

}  // namespace flk
