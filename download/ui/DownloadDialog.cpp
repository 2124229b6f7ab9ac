#include "download/ui/DownloadDialog.h"

#include "ui/XrcSupport.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dirdlg.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cstdio>

namespace flk::ui {

namespace {

std::string FreeSpaceText(const std::optional<std::uint64_t>& bytes) {
    if (!bytes) return "";
    char text[64];
    std::snprintf(text, sizeof text, "Free on disk now: %llu MB",
                  static_cast<unsigned long long>(*bytes / (1024 * 1024)));
    return text;
}

}  // namespace

std::string AskWithFolderDialog(wxWindow* parent, const std::string& start) {
    wxDirDialog dialog(parent, kSelectFolderTitle, ToDisplay(start), wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return "";
    return dialog.GetPath().utf8_string();
}

DownloadDialog::DownloadDialog(wxWindow* parent, const DownloadSettings& values, FreeSpaceSource freeSpace)
    : values_(values), freeSpace_(std::move(freeSpace)) {
    LoadDialog(*this, parent, "dlg_download");
    folder_ = Ctrl<wxComboBox>(this, "cmb_folder");
    threads_ = Ctrl<wxSpinCtrl>(this, "spin_threads");
    free_ = Ctrl<wxSpinCtrl>(this, "spin_free");
    freeNow_ = Ctrl<wxStaticText>(this, "st_free_now");
    askNames_ = Ctrl<wxCheckBox>(this, "chk_ask_names");
    rename_ = Ctrl<wxRadioButton>(this, "rb_rename");
    overwrite_ = Ctrl<wxRadioButton>(this, "rb_overwrite");
    ask_ = Ctrl<wxRadioButton>(this, "rb_ask");

    ShowHistory();
    threads_->SetValue(std::clamp(values_.threads, threads_->GetMin(), threads_->GetMax()));
    free_->SetValue(std::clamp(values_.freeMb, free_->GetMin(), free_->GetMax()));
    askNames_->SetValue(values_.askNames);
    switch (values_.Policy()) {
        case ExistingFilePolicy::Overwrite: overwrite_->SetValue(true); break;
        case ExistingFilePolicy::Ask: ask_->SetValue(true); break;
        case ExistingFilePolicy::Rename: rename_->SetValue(true); break;
    }
    UpdateChoices();
    ShowFreeSpace();

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(); }, XRCID("btn_browse"));
    askNames_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateChoices(); });
    folder_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ShowFreeSpace(); });
    folder_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { ShowFreeSpace(); });
    Fit();
    CentreOnParent();
}

void DownloadDialog::ShowHistory() {
    folder_->Clear();
    for (const std::string& entry : values_.history) folder_->Append(ToDisplay(entry));
    folder_->ChangeValue(ToDisplay(values_.folder));
}

void DownloadDialog::Browse() {
    const std::string picked = askFolder ? askFolder(this, folder_->GetValue().utf8_string()) : std::string();
    if (picked.empty()) return;
    values_ = Values();
    values_.PickFolder(picked);
    ShowHistory();
    ShowFreeSpace();
}

void DownloadDialog::ShowFreeSpace() {
    const std::string folder = folder_->GetValue().utf8_string();
    const std::string text = freeSpace_ && !folder.empty() ? FreeSpaceText(freeSpace_(folder)) : "";
    if (freeNow_->GetLabel().utf8_string() != text) {
        freeNow_->SetLabel(ToDisplay(text));
        Layout();
    }
}

void DownloadDialog::UpdateChoices() {
    const bool enabled = !askNames_->GetValue();
    for (wxRadioButton* choice : {rename_, overwrite_, ask_}) choice->Enable(enabled);
}

DownloadSettings DownloadDialog::Values() const {
    DownloadSettings v = values_;
    v.history.clear();
    for (unsigned i = 0; i < folder_->GetCount(); ++i) v.history.push_back(folder_->GetString(i).utf8_string());
    v.folder = folder_->GetValue().utf8_string();
    v.askNames = askNames_->GetValue();
    v.radio = overwrite_->GetValue() ? 2 : ask_->GetValue() ? 3 : 1;
    v.threads = threads_->GetValue();
    v.freeMb = free_->GetValue();
    return v;
}

}  // namespace flk::ui
