#include "config/ui/ConfigurationDialog.h"

#include "config/InternetSettings.h"
#include "platform/Paths.h"
#include "search/ui/SafetyPanel.h"
#include "settings/Settings.h"
#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace flk::ui {

namespace {

std::string Text(const wxTextCtrl* field) { return field->GetValue().utf8_string(); }

std::string ChooseWithFileDialog(wxWindow* parent, const std::string& startFolder) {
    wxFileDialog dialog(parent, kSelectBrowserTitle, ToDisplay(startFolder), "", kBrowserFilter,
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath().utf8_string() : std::string();
}

}  // namespace

ConfigurationDialog::ConfigurationDialog(wxWindow* parent, Settings& settings, ConfigurationOptions options)
    : settings_(settings), options_(std::move(options)) {
    LoadDialog(*this, parent, "dlg_configuration");
    if (options_.autostartFolder.empty()) options_.autostartFolder = settings.Folders().autostart;
    if (options_.trayletProgram.empty()) options_.trayletProgram = ProgramBeside("traylet");
    if (options_.mainProgram.empty()) options_.mainProgram = ProgramBeside("FLK");
    if (!options_.chooseBrowser) options_.chooseBrowser = ChooseWithFileDialog;

    pages_ = Ctrl<wxNotebook>(this, "nb_pages");
    safety_ = new SafetyPanel(pages_, settings_);
    pages_->InsertPage(static_cast<size_t>(ConfigTab::Safety), safety_, "Safety");
    model_ = std::make_unique<Configuration>(settings_, safety_->Page());

    defaultBrowser_ = Ctrl<wxRadioButton>(this, "rad_default_browser");
    chooseBrowser_ = Ctrl<wxRadioButton>(this, "rad_choose_browser");
    browserPath_ = Ctrl<wxTextCtrl>(this, "txt_browser_path");
    autoView_ = Ctrl<wxCheckBox>(this, "chk_auto_view");
    notifyMe_ = Ctrl<wxCheckBox>(this, "chk_notify");
    autoShow_ = Ctrl<wxCheckBox>(this, "chk_auto_show");
    checkVersion_ = Ctrl<wxCheckBox>(this, "chk_check_version");
    mediaStart_ = Ctrl<wxTextCtrl>(this, "txt_media_start");
    for (const MediaKind& kind : MediaKinds()) {
        const std::string group = wxString(kind.group).Lower().utf8_string();
        std::vector<wxCheckBox*> boxes;
        for (const char* ext : kind.extensions)
            boxes.push_back(Ctrl<wxCheckBox>(this, ("chk_" + group + "_" + ext).c_str()));
        mediaBoxes_.push_back(boxes);
        mediaOther_.push_back(Ctrl<wxTextCtrl>(this, ("txt_" + group + "_other").c_str()));
    }
    minSizeOn_ = Ctrl<wxCheckBox>(this, "chk_min_size");
    minSize_ = Ctrl<wxTextCtrl>(this, "txt_min_size");
    maxSizeOn_ = Ctrl<wxCheckBox>(this, "chk_max_size");
    maxSize_ = Ctrl<wxTextCtrl>(this, "txt_max_size");
    pureImages_ = Ctrl<wxCheckBox>(this, "chk_pure_images");
    download_ = Ctrl<wxCheckBox>(this, "chk_download");
    maximumSites_ = Ctrl<wxTextCtrl>(this, "txt_max_sites");
    categoryTree_ = Ctrl<wxCheckBox>(this, "chk_category_tree");
    ftp_ = Ctrl<wxCheckBox>(this, "chk_ftp");
    pagesPerSiteOn_ = Ctrl<wxCheckBox>(this, "chk_pages_per_site");
    pagesPerSite_ = Ctrl<wxTextCtrl>(this, "txt_pages_per_site");
    trayIcon_ = Ctrl<wxCheckBox>(this, "chk_tray_icon");
    for (const ModernSwitch& sw : ModernSwitches())
        modernBoxes_.push_back(Ctrl<wxCheckBox>(this, (std::string("chk_modern_") + sw.key->key).c_str()));
    maxPerHost_ = Ctrl<wxTextCtrl>(this, "txt_max_per_host");
    userAgent_ = Ctrl<wxTextCtrl>(this, "txt_user_agent");
    cookies_ = Ctrl<wxTextCtrl>(this, "txt_cookies");

    auto* internet = Ctrl<wxButton>(this, "btn_internet_settings");
    if (InternetSettingsCommand().empty()) internet->Hide();  // nothing here to open
    internet->Bind(wxEVT_BUTTON, [](wxCommandEvent&) { OpenInternetSettings(); });
    for (wxRadioButton* radio : {defaultBrowser_, chooseBrowser_})
        radio->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
            model_->Browsing().Values().defaultBrowser = defaultBrowser_->GetValue();
            ShowPathEnabled();
        });
    Ctrl<wxButton>(this, "btn_browse")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBrowse(); });
    Ctrl<wxButton>(this, "btn_defaults")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDefaults(); });
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); });

    ShowModel();
    pages_->SetSelection(static_cast<size_t>(model_->Tab()));
    GetSizer()->SetSizeHints(this);
    Fit();
    CentreOnParent();
}

ConfigurationDialog::~ConfigurationDialog() = default;

void ConfigurationDialog::ShowModel() {
    const BrowsingValues& b = model_->Browsing().Values();
    (b.defaultBrowser ? defaultBrowser_ : chooseBrowser_)->SetValue(true);
    browserPath_->ChangeValue(ToDisplay(b.browserPath));
    autoView_->SetValue(b.autoViewMedia);
    notifyMe_->SetValue(b.notifyMe);
    autoShow_->SetValue(b.autoShowResults);
    checkVersion_->SetValue(b.checkNewVersion);
    mediaStart_->ChangeValue(ToDisplay(b.mediaStart));
    ShowPathEnabled();
    for (std::size_t k = 0; k < mediaBoxes_.size(); ++k) {
        const MediaKindValues& v = model_->Media().Values(k);
        for (std::size_t i = 0; i < mediaBoxes_[k].size(); ++i) mediaBoxes_[k][i]->SetValue(v.ticked[i]);
        mediaOther_[k]->ChangeValue(ToDisplay(v.freeText));
    }
    const AdvancedValues& a = model_->Advanced().Values();
    minSizeOn_->SetValue(a.minSizeOn);
    minSize_->ChangeValue(ToDisplay(a.minSize));
    maxSizeOn_->SetValue(a.maxSizeOn);
    maxSize_->ChangeValue(ToDisplay(a.maxSize));
    pureImages_->SetValue(a.pureImages);
    download_->SetValue(a.downloadImages);
    maximumSites_->ChangeValue(ToDisplay(a.maximumSites));
    categoryTree_->SetValue(a.categoryTree);
    ftp_->SetValue(a.ftpValidation);
    pagesPerSiteOn_->SetValue(a.pagesPerSiteOn);
    pagesPerSite_->ChangeValue(ToDisplay(a.pagesPerSite));
    trayIcon_->SetValue(a.loadTrayIcon);
    for (std::size_t i = 0; i < modernBoxes_.size(); ++i) modernBoxes_[i]->SetValue(a.*ModernSwitches()[i].value);
    maxPerHost_->ChangeValue(ToDisplay(a.maxPerHost));
    userAgent_->ChangeValue(ToDisplay(a.userAgent));
    cookies_->ChangeValue(ToDisplay(a.cookies));
}

void ConfigurationDialog::TakeControls() {
    BrowsingValues& b = model_->Browsing().Values();
    b.defaultBrowser = defaultBrowser_->GetValue();
    b.browserPath = Text(browserPath_);
    b.autoViewMedia = autoView_->GetValue();
    b.notifyMe = notifyMe_->GetValue();
    b.autoShowResults = autoShow_->GetValue();
    b.checkNewVersion = checkVersion_->GetValue();
    b.mediaStart = Text(mediaStart_);
    for (std::size_t k = 0; k < mediaBoxes_.size(); ++k) {
        MediaKindValues& v = model_->Media().Values(k);
        for (std::size_t i = 0; i < mediaBoxes_[k].size(); ++i) v.ticked[i] = mediaBoxes_[k][i]->GetValue();
        v.freeText = Text(mediaOther_[k]);
    }
    AdvancedValues& a = model_->Advanced().Values();
    a.minSizeOn = minSizeOn_->GetValue();
    a.minSize = Text(minSize_);
    a.maxSizeOn = maxSizeOn_->GetValue();
    a.maxSize = Text(maxSize_);
    a.pureImages = pureImages_->GetValue();
    a.downloadImages = download_->GetValue();
    a.maximumSites = Text(maximumSites_);
    a.categoryTree = categoryTree_->GetValue();
    a.ftpValidation = ftp_->GetValue();
    a.pagesPerSiteOn = pagesPerSiteOn_->GetValue();
    a.pagesPerSite = Text(pagesPerSite_);
    a.loadTrayIcon = trayIcon_->GetValue();
    for (std::size_t i = 0; i < modernBoxes_.size(); ++i) a.*ModernSwitches()[i].value = modernBoxes_[i]->GetValue();
    a.maxPerHost = Text(maxPerHost_);
    a.userAgent = Text(userAgent_);
    a.cookies = Text(cookies_);
    model_->SetTab(pages_->GetSelection());
}

void ConfigurationDialog::ShowPathEnabled() {
    const bool enabled = model_->Browsing().PathEnabled();
    browserPath_->Enable(enabled);
    Ctrl<wxButton>(this, "btn_browse")->Enable(enabled);
}

void ConfigurationDialog::OnBrowse() {
    const std::string file = options_.chooseBrowser(this, model_->Browsing().BrowseFolder());
    if (file.empty()) return;
    TakeControls();
    model_->Browsing().BrowserChosen(file);
    browserPath_->ChangeValue(ToDisplay(file));
}

void ConfigurationDialog::OnDefaults() {
    TakeControls();
    model_->ResetToDefaults();
    ShowModel();
}

void ConfigurationDialog::FocusField(ConfigField field) {
    pages_->SetSelection(static_cast<size_t>(TabOf(field)));
    wxTextCtrl* control = nullptr;
    switch (field) {
        case ConfigField::BrowserPath: control = browserPath_; break;
        case ConfigField::MediaStart: control = mediaStart_; break;
        case ConfigField::ImagesExtensions: control = mediaOther_[0]; break;
        case ConfigField::AudioExtensions: control = mediaOther_[1]; break;
        case ConfigField::VideoExtensions: control = mediaOther_[2]; break;
        case ConfigField::MinImageSize: control = minSize_; break;
        case ConfigField::MaxImageSize: control = maxSize_; break;
        case ConfigField::MaximumSites: control = maximumSites_; break;
        case ConfigField::PagesPerSite: control = pagesPerSite_; break;
        case ConfigField::MaxPerHost: control = maxPerHost_; break;
        case ConfigField::UserAgent: control = userAgent_; break;
        case ConfigField::Cookies: control = cookies_; break;
    }
    if (control && control->IsShown() && control->IsEnabled()) {
        control->SetFocus();
        control->SelectAll();
    }
}

void ConfigurationDialog::OnOk() {
    TakeControls();
    const AutostartPlace place{options_.autostartFolder, options_.trayletProgram, options_.mainProgram};
    if (const ConfigCheck problem = model_->Save(place)) {
        FocusField(problem->field);
        ShowMessageBox(this, problem->message, kConfigMessageCaption, wxOK | wxICON_EXCLAMATION);
        return;
    }
    if (!model_->AutostartDone())
        ShowMessageBox(this, kAutostartFailedText + model_->AutostartFolderFor(place), kConfigMessageCaption,
                       wxOK | wxICON_EXCLAMATION);
    if (options_.applied) options_.applied();
    EndModal(wxID_OK);
}

bool ShowConfigurationDialog(wxWindow* parent, Settings& settings, const ConfigurationOptions& options) {
    ConfigurationDialog dialog(parent, settings, options);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace flk::ui
