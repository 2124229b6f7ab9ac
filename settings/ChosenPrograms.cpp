#include "settings/ChosenPrograms.h"

#include "settings/Settings.h"
#include "platform/Launcher.h"

namespace flk {

namespace {

bool RunChosenProgram(Settings& settings, const StrKey& pathKey, const std::string& target,
                      ProgramPicker* picker, const char* pickerTitle) {
    const std::string program = settings.Get(pathKey);
    if (!program.empty() && StartDetached({program, target})) return true;
    if (!picker) return false;
    const std::string chosen = picker->FindProgram(pickerTitle);
    if (chosen.empty() || !StartDetached({chosen, target})) return false;
    settings.Set(pathKey, chosen);
    return true;
}

}  // namespace

bool OpenInBrowser(Settings& settings, const std::string& target, ProgramPicker* picker) {
    if (settings.Get(keys::BrowserDefault) == 1) return OpenWithSystem(target);
    return RunChosenProgram(settings, keys::BrowserPath, target, picker, kFindBrowserTitle);
}

bool OpenInEditor(Settings& settings, const std::string& file, ProgramPicker* picker) {
    return RunChosenProgram(settings, keys::EditorPath, file, picker, kFindEditorTitle);
}

}  // namespace flk
