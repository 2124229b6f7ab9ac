#include "lists/ui/SitesListDialog.h"

#include "settings/ChosenPrograms.h"
#include "lists/ListHelpers.h"
#include "lists/ProjectTextFile.h"
#include "lists/SiteMaps.h"
#include "platform/Launcher.h"
#include "platform/SplitBySeparator.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"
#include "settings/Settings.h"
#include "ui/MessageBox.h"
#include "ui/WxProgramPicker.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/textdlg.h>

namespace flk::ui {

namespace {
enum SendTarget { kBrowser, kEditor, kViewer };

std::string Utf8(const wxString& s) { return s.utf8_string(); }

}  // namespace

SitesListDialog::SitesListDialog(wxWindow* parent, SitesListContext context)
    : context_(std::move(context)), checks_(list_, context_.internet, context_.network) {
    LoadDialog(*this, parent, "dlg_sites_list");
    address_ = Ctrl<wxComboBox>(this, "cmb_address");
    sites_ = Ctrl<wxListCtrl>(this, "lst_sites");
    sites_->AppendColumn("Url's", wxLIST_FORMAT_LEFT, 230);
    sites_->AppendColumn("Title", wxLIST_FORMAT_LEFT, 170);
    sites_->AppendColumn("Words found", wxLIST_FORMAT_LEFT, 110);

    for (const std::string& typed : SplitBySeparator(context_.settings.Get(keys::UrlsHistoryHistory), ";"))
        if (!TrimCopy(typed).empty()) address_->Append(ToDisplay(typed));
    const CProjectTextFile history(context_.settings, SitesList::kHistoryFile);
    list_.Fill(history.ReadAll(context_.projectFolder));

    Ctrl<wxButton>(this, "btn_add_site")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddTyped(); });
    address_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { AddTyped(); });
    Ctrl<wxButton>(this, "btn_browse")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxFileDialog dialog(this, "Open", "", "", "*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (dialog.ShowModal() == wxID_OK) address_->SetValue(dialog.GetPath());
    });
    Ctrl<wxButton>(this, "btn_remove")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        list_.Remove(list_.SelectedRows());
        Refresh();
    });
    Ctrl<wxButton>(this, "btn_remove_all")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        list_.RemoveAll();
        Refresh();
    });
    Ctrl<wxButton>(this, "btn_load")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxFileDialog dialog(this, "Load", "", "", "*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (dialog.ShowModal() != wxID_OK) return;
        std::vector<std::string> lines;
        if (!ReadTextLines(Utf8(dialog.GetPath()), lines)) {
            ShowMessageBox(this, "Could not read " + Utf8(dialog.GetPath()), "Load...", wxOK | wxICON_EXCLAMATION);
            return;
        }
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        list_.Fill(SitesFromFile(Utf8(dialog.GetFilename()), text));
        Refresh();
    });
    Ctrl<wxButton>(this, "btn_save")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxFileDialog dialog(this, "Save", "", "", "*.htm", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() != wxID_OK) return;
        if (!WriteTextModeFile(Utf8(dialog.GetPath()), StartLocationsPage(list_.Addresses())))
            ShowMessageBox(this, "Could not write " + Utf8(dialog.GetPath()), "Save...", wxOK | wxICON_EXCLAMATION);
    });
    Ctrl<wxButton>(this, "btn_use_engine")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        checks_.Stop();
        context_.owner.OpenEngineSearch();
    });
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Accept(); });
    Ctrl<wxButton>(this, "wxID_CANCEL")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Reject(); });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Reject(); });
    sites_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) { list_.SetSelected(e.GetIndex(), true); });
    sites_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent& e) { list_.SetSelected(e.GetIndex(), false); });
    sites_->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, [this](wxListEvent&) { ShowMenu(); });
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Refresh(); });
    timer_.Start(250);  // check results arrive from the workers
    Refresh();
    Fit();
    CentreOnParent();
}

SitesListDialog::~SitesListDialog() {
    timer_.Stop();
    checks_.Stop();
}

void SitesListDialog::AddTyped() {
    if (list_.Add(Utf8(address_->GetValue()))) Refresh();
}

void SitesListDialog::Refresh() {
    const std::uint64_t revision = list_.Revision();
    if (revision == shown_) return;
    shown_ = revision;
    const ListTable table = list_.Snapshot();
    sites_->Freeze();
    if (sites_->GetItemCount() != static_cast<int>(table.RowCount())) {
        sites_->DeleteAllItems();
        for (std::size_t i = 0; i < table.RowCount(); ++i) sites_->InsertItem(static_cast<long>(i), "");
    }
    for (std::size_t i = 0; i < table.RowCount(); ++i) {
        const long row = static_cast<long>(i);
        for (int c = 0; c < 3; ++c) sites_->SetItem(row, c, ToDisplay(table.Cell(i, static_cast<std::size_t>(c))));
        sites_->SetItemState(row, table.IsSelected(i) ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    }
    wxListItem header;
    header.SetText(ToDisplay(UpdateCountCaption(table, SitesList::kTitle)));
    header.SetMask(wxLIST_MASK_TEXT);
    sites_->SetColumn(0, header);
    sites_->Thaw();
}

void SitesListDialog::ShowMenu() {
    InitResources();
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu("mnu_sites_list"));
    if (!menu) FailMissingControl("mnu_sites_list", "not loaded");
    menu->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { RunMenuCommand(e.GetId()); });
    PopupMenu(menu.get());
}

void SitesListDialog::RunMenuCommand(int id) {
    if (id == XRCID("mi_copy")) {
        std::string text;
        const auto all = list_.Addresses();
        for (std::size_t row : list_.SelectedRows()) text += all[row] + "\n";
        if (wxTheClipboard->Open()) {
            wxTheClipboard->SetData(new wxTextDataObject(ToDisplay(text)));
            wxTheClipboard->Close();
        }
    } else if (id == XRCID("mi_delete")) {
        list_.Remove(list_.SelectedRows());
    } else if (id == XRCID("mi_invert")) {
        list_.InvertSelection();
    } else if (id == XRCID("mi_select_all")) {
        list_.SelectAll();
    } else if (id == XRCID("mi_filter")) {
        const wxString pattern = wxGetTextFromUser("Select the sites whose address holds:", "Filter...", "", this);
        if (!pattern.empty()) list_.SelectByPattern(Utf8(pattern));
    } else if (id == XRCID("mi_send_browser")) {
        SendTo(kBrowser);
    } else if (id == XRCID("mi_send_editor")) {
        SendTo(kEditor);
    } else if (id == XRCID("mi_send_viewer")) {
        SendTo(kViewer);
    }
    Refresh();
}

void SitesListDialog::SendTo(int target) {
    const std::vector<UrlListRow> rows = UrlListRowsOf(list_.Snapshot(), UrlRows::Selected);
    const bool html = target == kBrowser;
    const std::string path = context_.projectFolder + "/" + (html ? kUrlsListHtmlFile : kUrlsListTextFile);
    if (!WriteTextModeFile(path, html ? UrlsListHtml(rows) : UrlsListText(rows))) {
        ShowMessageBox(this, "Could not write " + path, "Send to", wxOK | wxICON_EXCLAMATION);
        return;
    }
    WxProgramPicker picker(this);
    if (target == kBrowser)
        OpenInBrowser(context_.settings, path, &picker);
    else if (target == kEditor)
        OpenInEditor(context_.settings, path, &picker);
    else
        OpenWithSystem(path);
}

void SitesListDialog::HandOver(const std::string& query, const std::string& sites, bool startCrawling,
                               bool checkSites) {
    query_ = query;
    checks_.Stop();
    list_.Fill(sites);
    Refresh();
    if (startCrawling) {
        Accept();
        context_.owner.StartCrawl();
    } else if (checkSites) {
        checks_.Start(sites, query_);
    }
}

void SitesListDialog::Accept() {
    checks_.Stop();
    const std::string sites = list_.Joined();
    const CProjectTextFile history(context_.settings, SitesList::kHistoryFile);
    if (!history.WriteAll(sites, context_.projectFolder))
        ShowMessageBox(this, std::string("Could not write ") + SitesList::kHistoryFile, "Domains list",
                       wxOK | wxICON_EXCLAMATION);
    context_.owner.UseSitesList(sites, TrimCopy(query_));
    End(wxID_OK);
}

void SitesListDialog::Reject() {
    checks_.Stop();
    context_.owner.UseOneSite(context_.settings.Get(keys::UrlsHistoryUrl));
    End(wxID_CANCEL);
}

void SitesListDialog::End(int code) {
    timer_.Stop();
    if (IsModal()) EndModal(code);
}

}  // namespace flk::ui
