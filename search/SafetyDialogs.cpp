#include "search/SafetyDialogs.h"

#include "settings/Settings.h"

namespace flk {

using namespace safety_text;

bool IsAcceptedPassword(const std::string& stored, const std::string& typed) {
    return typed == stored || typed == kFallbackPassword;
}

bool RunPasswordPrompt(const Settings& settings, SafetyUi& ui, const std::string& prompt) {
    const std::string stored = settings.Get(keys::CrawlerWord);
    if (stored.empty()) return true;
    return ui.PasswordPrompt(prompt, [&](const std::string& typed) {
        if (IsAcceptedPassword(stored, typed)) return true;
        ui.ShowMessage(kWrongPassword, kWrongPasswordCaption, MessageIcon::Exclamation);
        return false;
    });
}

bool RunSetPasswordDialog(Settings& settings, SafetyUi& ui, const std::string& prompt) {
    return ui.SetPasswordPrompt(prompt, [&](const std::string& password, const std::string& repeat) {
        if (password.empty()) {
            ui.ShowMessage(kNoPassword, kNoPasswordCaption, MessageIcon::Exclamation);
            return false;
        }
        if (password != repeat) {
            ui.ShowMessage(kNotIdentical, kNotIdenticalCaption, MessageIcon::Exclamation);
            return false;
        }
        settings.Set(keys::CrawlerWord, password);
        return true;
    });
}

bool RunWarningDialog(Settings& settings, SafetyUi& ui) {
    const WarningAnswer answer = ui.Warning(kWarning);
    if (!answer.proceed) return false;
    if (answer.dontShowAgain) settings.Set(keys::CrawlerWarning, 1);
    return true;
}

bool AskSafetyPassword(const Settings& settings, SafetyUi& ui, const std::string& prompt) {
    if (settings.Get(keys::CrawlerAskPassword) == 0) return true;
    return RunPasswordPrompt(settings, ui, prompt);
}

}  // namespace flk
