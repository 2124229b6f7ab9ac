#pragma once
#include "config/Configuration.h"

#include <functional>
#include <memory>
#include <string>
#include <wx/dialog.h>

class wxCheckBox;
class wxNotebook;
class wxRadioButton;
class wxTextCtrl;

namespace flk::ui {

class SafetyPanel;

struct ConfigurationOptions {
    // Called after OK has written the profile, so that live settings follow
    // at once (the crawler window's image size limits and download flag).
    std::function<void()> applied;
    // The start-up entry's folder when [StartUp] "Path" is empty, and the
    // program it starts; empty: the settings' autostart folder and the
    // traylet installed beside this program.
    std::string autostartFolder;
    std::string trayletProgram;
    // Recorded as the tray's "Search" command when none is; empty: the FLK
    // installed beside this program.
    std::string mainProgram;
    // "Browse...": the chosen file, "" for Cancel; empty: a file chooser.
    std::function<std::string(wxWindow* parent, const std::string& startFolder)> chooseBrowser;
};

// "Configuration": the four pages over a Configuration. OK checks every
// page, names the first bad field (its tab comes to the front) and writes
// nothing until all are good; Cancel writes nothing.
class ConfigurationDialog : public wxDialog {
public:
    ConfigurationDialog(wxWindow* parent, Settings& settings, ConfigurationOptions options = {});
    ~ConfigurationDialog() override;

    Configuration& Model() { return *model_; }
    wxNotebook* Pages() const { return pages_; }

private:
    void ShowModel();
    void TakeControls();
    void ShowPathEnabled();
    void OnOk();
    void OnDefaults();
    void OnBrowse();
    void FocusField(ConfigField field);

    Settings& settings_;
    ConfigurationOptions options_;
    SafetyPanel* safety_;
    std::unique_ptr<Configuration> model_;
    wxNotebook* pages_;
    wxRadioButton* defaultBrowser_;
    wxRadioButton* chooseBrowser_;
    wxTextCtrl* browserPath_;
    wxCheckBox* autoView_;
    wxCheckBox* notifyMe_;
    wxCheckBox* autoShow_;
    wxCheckBox* checkVersion_;
    wxTextCtrl* mediaStart_;
    std::vector<std::vector<wxCheckBox*>> mediaBoxes_;
    std::vector<wxTextCtrl*> mediaOther_;
    wxCheckBox* minSizeOn_;
    wxTextCtrl* minSize_;
    wxCheckBox* maxSizeOn_;
    wxTextCtrl* maxSize_;
    wxCheckBox* pureImages_;
    wxCheckBox* download_;
    wxTextCtrl* maximumSites_;
    wxCheckBox* categoryTree_;
    wxCheckBox* ftp_;
    wxCheckBox* pagesPerSiteOn_;
    wxTextCtrl* pagesPerSite_;
    wxCheckBox* trayIcon_;
    std::vector<wxCheckBox*> modernBoxes_;  // one per ModernSwitches(), in its order
    wxTextCtrl* maxPerHost_;
    wxTextCtrl* userAgent_;
    wxTextCtrl* cookies_;
};

// Opens "Configuration" modally over parent: what the media-search window's
// "Config" and the crawler window's configuration button call. True when
// OK saved the settings.
bool ShowConfigurationDialog(wxWindow* parent, Settings& settings, const ConfigurationOptions& options = {});

}  // namespace flk::ui
