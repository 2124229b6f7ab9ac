#include "search/ui/HitListPage.h"

#include "lists/ui/FilterDialog.h"
#include "settings/ChosenPrograms.h"
#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

namespace flk::ui {

namespace {
constexpr char kSearchListHtml[] = "SearchList.htm";
constexpr char kSearchListText[] = "SearchList.txt";
constexpr char kSearchReport[] = "SearchReport.txt";
}  // namespace

HitListPage::HitListPage(wxWindow* parent, HitList& hits, ListPageServices services)
    : hits_(hits), services_(std::move(services)), source_(hits, HitList::Columns()) {
    LoadPanel(*this, parent, "pnl_search");
    view_ = new VirtualListView(this, source_);
    wxXmlResource::Get()->AttachUnknownControl("lst_hits", view_, this);
    query_ = Ctrl<wxTextCtrl>(this, "txt_query");
    condition_ = Ctrl<wxChoice>(this, "cho_condition");
    offline_ = Ctrl<wxCheckBox>(this, "chk_offline_search");
    matchCase_ = Ctrl<wxCheckBox>(this, "chk_match_case");
    wholeWords_ = Ctrl<wxCheckBox>(this, "chk_whole_words");
    titlesOnly_ = Ctrl<wxCheckBox>(this, "chk_titles_only");
    textOnly_ = Ctrl<wxCheckBox>(this, "chk_text_only");

    hits_.LoadSettings(services_.settings);
    hits_.BuildKeywordList();
    query_->ChangeValue(ToDisplay(hits_.Query()));
    condition_->SetSelection(hits_.Condition() == "or" ? 1 : 0);

    query_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        hits_.SetQuery(query_->GetValue().utf8_string());
        hits_.BuildKeywordList();
    });
    condition_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        hits_.SetCondition(condition_->GetStringSelection().utf8_string());
    });
    Ctrl<wxButton>(this, "btn_search_now")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SearchNow(); });
    view_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) { OpenRow(e.GetIndex()); });
    view_->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, [this](wxListEvent&) { ShowMenu(); });
}

HitListPage::~HitListPage() { SaveSettings(); }

void HitListPage::SaveSettings() { hits_.SaveSettings(services_.settings); }

SearchOptions HitListPage::Options() const {
    SearchOptions options;
    options.text = query_->GetValue().utf8_string();
    options.titlesOnly = titlesOnly_->GetValue();
    options.textOnly = textOnly_->GetValue();
    options.matchCase = matchCase_->GetValue();
    options.wholeWords = wholeWords_->GetValue();
    options.offlineSearch = offline_->GetValue();
    return options;
}

std::string HitListPage::ProjectFolder() const {
    return services_.projectFolder ? services_.projectFolder() : std::string();
}

void HitListPage::SelectAll() {
    hits_.SelectAll();
    view_->SetFocus();
    view_->ModelChanged();
}

void HitListPage::ClearList() {
    hits_.Clear();
    view_->ModelChanged();
}

void HitListPage::SendToBrowser() {
    view_->TakeSelection();
    const std::string written = hits_.WriteHtmlList(ProjectFolder());
    if (written.empty()) {
        ShowMessageBox(this, std::string("Could not write ") + kSearchListHtml, "Send to", wxOK | wxICON_EXCLAMATION);
        return;
    }
    OpenInBrowser(services_.settings, written, services_.picker);
}

void HitListPage::SendToEditor() {
    view_->TakeSelection();
    OpenWrittenInEditor(this, services_, hits_.WriteTextList(ProjectFolder()), kSearchListText);
}

void HitListPage::SendToSpreadSheet() {
    view_->TakeSelection();
    OpenWrittenInEditor(this, services_, hits_.WriteReport(ProjectFolder()), kSearchReport);
}

void HitListPage::InvertSelection() {
    view_->TakeSelection();
    hits_.InvertSelection();
    view_->ModelChanged();
}

void HitListPage::Filter() {
    view_->TakeSelection();
    std::string pattern;
    if (!AskFilterPattern(this, pattern)) return;
    hits_.SelectByPattern(pattern);
    view_->ModelChanged();
}

void HitListPage::OpenRow(long row) {
    if (row < 0 || static_cast<std::size_t>(row) >= hits_.RowCount()) return;
    OpenInBrowser(services_.settings, hits_.RowLinkTarget(static_cast<std::size_t>(row)), services_.picker);
}

void HitListPage::SearchNow() {
    std::vector<std::shared_ptr<const StoredPage>> pages;
    if (services_.storedPages) pages = services_.storedPages();
    if (!hits_.StartSearchNow(std::move(pages), Options())) return;

    wxDialog dialog;
    LoadDialog(dialog, this, "dlg_searching");
    auto* gauge = Ctrl<wxGauge>(&dialog, "gau_search");
    auto* searched = Ctrl<wxStaticText>(&dialog, "txt_pages_searched");
    auto* matched = Ctrl<wxStaticText>(&dialog, "txt_pages_matched");
    Ctrl<wxButton>(&dialog, "wxID_CANCEL")->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) {
        hits_.StopSearchNow();
        dialog.EndModal(wxID_CANCEL);
    });
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        const SearchNowProgress p = hits_.SearchNow();
        gauge->SetRange(std::max(1, p.pageCount));
        gauge->SetValue(std::min(p.pagesDone, std::max(1, p.pageCount)));
        searched->SetLabel(wxString::Format("%d / %d", p.pagesDone, p.pageCount));
        matched->SetLabel(wxString::Format("%d", p.hits));
        view_->UpdateFromModel();
        if (!p.running && dialog.IsModal()) dialog.EndModal(wxID_OK);
    });
    poll.Start(100);
    dialog.Fit();
    dialog.CentreOnParent();
    dialog.ShowModal();
    poll.Stop();
    hits_.StopSearchNow();
    view_->ModelChanged();
}

std::unique_ptr<wxMenu> HitListPage::ContextMenu() const { return LoadPopupMenu("mnu_hit_list"); }

void HitListPage::RunMenuCommand(int id) {
    if (id == XRCID("mi_hit_send_browser")) SendToBrowser();
    else if (id == XRCID("mi_hit_send_editor")) SendToEditor();
    else if (id == XRCID("mi_hit_send_spread_sheet")) SendToSpreadSheet();
    else if (id == XRCID("mi_hit_select_all")) SelectAll();
    else if (id == XRCID("mi_hit_invert_selection")) InvertSelection();
    else if (id == XRCID("mi_hit_filter")) Filter();
}

void HitListPage::ShowMenu() {
    view_->TakeSelection();
    std::unique_ptr<wxMenu> menu = ContextMenu();
    menu->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { RunMenuCommand(e.GetId()); });
    PopupMenu(menu.get());
}

}  // namespace flk::ui
