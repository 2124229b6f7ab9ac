#include "config/BrowsingPage.h"

#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "settings/Settings.h"

#include <algorithm>

namespace flk {

namespace {

constexpr char kBrowserLabel[] = "Choose browser:";
constexpr char kMediaStartLabel[] = "When Findlark finds the first";

// The folder of a path, with its last separator.
std::string FolderWithSeparator(const std::string& file) {
    const std::size_t cut = file.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : file.substr(0, cut + 1);
}

}  // namespace

BrowsingPage::BrowsingPage(const Settings& settings) {
    values_.defaultBrowser = settings.Get(keys::BrowserDefault) == 1;
    values_.browserPath = settings.Get(keys::BrowserPath);
    values_.autoViewMedia = settings.Get(keys::ViewAskMedia) != 0;
    values_.mediaStart = std::to_string(settings.Get(keys::ViewMediaStart));
    values_.lastBrowserFolder = storedLastFolder_ = settings.Get(keys::PathLastBrowserPath);
}

void BrowsingPage::BrowserChosen(const std::string& file) {
    values_.browserPath = file;
    values_.lastBrowserFolder = FolderWithSeparator(file);
}

void BrowsingPage::ResetToDefaults() {
    values_.defaultBrowser = true;
    values_.notifyMe = true;
    values_.autoShowResults = false;
    values_.mediaStart = std::to_string(kMediaStartMin);
    values_.autoViewMedia = false;
}

ConfigCheck BrowsingPage::Check() const {
    if (!values_.defaultBrowser) {
        const std::string path = TrimCopy(values_.browserPath);
        if (path.empty())
            return ConfigProblem{ConfigField::BrowserPath,
                                 std::string("\"") + kBrowserLabel + "\" needs the browser program to use."};
        if (!IsRunnableProgram(path)) {
            const bool named = path.find('/') != std::string::npos;
            return ConfigProblem{ConfigField::BrowserPath,
                                 std::string("The browser of \"") + kBrowserLabel + "\" " +
                                     (named && !FileExists(path) ? "does not exist" : "is not a program") +
                                     ":\n" + path};
        }
    }
    int count = 0;
    return CheckNumberField(ConfigField::MediaStart, kMediaStartLabel, values_.mediaStart, count);
}

void BrowsingPage::Save(Settings& settings) const {
    settings.Set(keys::BrowserDefault, values_.defaultBrowser ? 1 : 0);
    settings.Set(keys::BrowserPath, values_.browserPath);
    int count = kMediaStartMin;
    ReadWholeNumber(values_.mediaStart, count);
    settings.Set(keys::ViewMediaStart, std::clamp(count, kMediaStartMin, kMediaStartMax));
    if (values_.lastBrowserFolder != storedLastFolder_)
        settings.Set(keys::PathLastBrowserPath, values_.lastBrowserFolder);
    // Last: the one visible box of the "Media results" group decides.
    settings.Set(keys::ViewAskMedia, values_.autoViewMedia ? 1 : 0);
}

}  // namespace flk
