#include "search/SafetyPage.h"

#include "settings/Settings.h"
#include "search/SafetyDialogs.h"
#include "search/SafetyLevel.h"

namespace flk {

using namespace safety_text;

SafetyPage::SafetyPage(Settings& settings, SafetyUi& ui)
    : settings_(settings),
      ui_(ui),
      level_(EffectiveSafetyLevel(GetSafetyLevel(settings))),
      usePassword_(settings.Get(keys::CrawlerAskPassword) != 0) {}

bool SafetyPage::PasswordGranted() {
    return !usePassword_ || RunPasswordPrompt(settings_, ui_, kReduceLevelPrompt);
}

void SafetyPage::ClickLevel(int level) {
    // A refused prompt leaves the previous level selected.
    if (level <= 1) {
        level_ = 1;
    } else if (level == 2) {
        if (level_ == 1 && !PasswordGranted()) return;
        level_ = 2;
    } else {
        if (level_ < 3 && !PasswordGranted()) return;
        level_ = 3;
    }
}

void SafetyPage::ClickUsePassword(bool ticked) {
    if (ticked)
        usePassword_ = RunSetPasswordDialog(settings_, ui_, kNewPasswordPrompt);
    else
        usePassword_ = !RunPasswordPrompt(settings_, ui_, kPasswordPrompt);
}

void SafetyPage::ClickSetPassword() {
    if (RunPasswordPrompt(settings_, ui_, kOldPasswordPrompt))
        RunSetPasswordDialog(settings_, ui_, kChangedPasswordPrompt);
}

void SafetyPage::Save() {
    SetSafetyLevel(settings_, level_);
    settings_.Set(keys::CrawlerAskPassword, usePassword_ ? 1 : 0);
}

}  // namespace flk
