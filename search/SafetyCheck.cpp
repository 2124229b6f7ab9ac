#include "search/SafetyCheck.h"

#include "settings/Settings.h"
#include "platform/TextUtil.h"
#include "search/AdultFilter.h"
#include "search/SafetyDialogs.h"
#include "search/SafetyLevel.h"
#include "update/UpdateData.h"
#include "update/UpdateFile.h"

namespace flk {

using namespace safety_text;

AdultWordsReader UpdateDataAdultWords(UpdateFile& file, const Settings& settings) {
    return [&file, &settings] {
        UpdateData data(file, settings);
        data.Load();
        std::vector<std::string> words;
        data.GetAdultWords(words);
        return words;
    };
}

bool IsSiteAddressQuery(std::string_view query) {
    const std::string lower = ToLowerAscii(query);
    return lower.find("http://") != std::string::npos || lower.find("https://") != std::string::npos;
}

bool IsLocalPathQuery(std::string_view query) {
    query = TrimLeft(query);
    if (query.starts_with("/") || query.starts_with("\\\\")) return true;
    const bool driveLetter = query.size() >= 3 && ((query[0] >= 'A' && query[0] <= 'Z') ||
                                                   (query[0] >= 'a' && query[0] <= 'z'));
    return driveLetter && query[1] == ':' && query[2] == '\\';
}

int CheckSearchAllowed(Settings& settings, SafetyUi& ui, const AdultWordsReader& adultWords,
                       std::string_view query) {
    const int level = EffectiveSafetyLevel(GetSafetyLevel(settings));
    if (IsSiteAddressQuery(query)) {
        if (level == 3) return AskSafetyPassword(settings, ui, kSitePrompt) ? 0 : -1;
        ui.ShowMessage(kSiteRefused, kSiteRefusedCaption, MessageIcon::Exclamation);
        return -1;
    }
    if (level == 1) return 0;
    if (IsLocalPathQuery(query)) return 0;
    if (adultWords && IsAdultQuery(adultWords(), query)) {
        if (level == 2) {
            ui.ShowMessage(kAdultBlocked, kAdultBlockedCaption, MessageIcon::Information);
            return -1;
        }
        if (!AskSafetyPassword(settings, ui, kSitePrompt)) return -1;
    }
    if (settings.Get(keys::CrawlerWarning) != 0) return 0;
    return RunWarningDialog(settings, ui) ? 0 : -1;
}

}  // namespace flk
