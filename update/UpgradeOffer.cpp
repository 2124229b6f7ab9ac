#include "update/UpgradeOffer.h"

#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/TextModeFile.h"

#include <algorithm>

namespace flk {

namespace {

constexpr std::size_t kMaxMessage = 1023;
// A hostile max_files must not mean billions of profile reads; no real
// upgrade has this many components.
constexpr int kMaxSections = 1000;

std::string ExpandLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsPending(const ProfileFile& ini) {
    const int count = ini.GetInt("general", "max_files", -1);
    for (int i = 1; i <= std::min(count, kMaxSections); ++i) {
        const int status = ini.GetInt(std::to_string(i), "status", -1);
        if (status == 0 || status == 1) return true;
    }
    return false;
}

}  // namespace

std::string UpgradeIniPath(const UpgradePlace& place) {
    const std::string& folder =
        IsWritableFolder(place.programFolder) || place.userDataFolder.empty() ? place.programFolder : place.userDataFolder;
    return JoinPath(folder, kUpgradeIniName);
}

bool StoreVersionAnswer(const UpgradePlace& place, const std::string& answer) {
    const std::string path = UpgradeIniPath(place);
    EnsureFolder(FolderOf(path));
    return WriteBinaryFile(path, answer);
}

UpgradeDecision CheckPendingUpgrade(const UpgradePlace& place, UpgradeQuestion& question) {
    const ProfileFile ini(UpgradeIniPath(place));
    if (!ini.Exists() || !IsPending(ini)) return UpgradeDecision::NoOffer;
    std::string message = ini.GetString("general", "message", kUpgradeDefaultMessage);
    if (message.size() > kMaxMessage) message.resize(kMaxMessage);
    if (!question.AskYesNo(ExpandLineBreaks(message), kUpgradeTitle)) return UpgradeDecision::Declined;

    const std::string tool = JoinPath(place.programFolder, kUpgradeToolName);
    if (StartDetached({tool}, place.programFolder)) return UpgradeDecision::EndProcess;
    question.Inform(kUpgradeToolFailed + tool, kUpgradeTitle);
    return UpgradeDecision::ToolFailed;
}

}  // namespace flk
