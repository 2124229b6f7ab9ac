#include "search/ui/EngineSearchDialog.h"

#include "platform/TextUtil.h"
#include "search/ui/CategoryDialog.h"
#include "settings/Settings.h"
#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace flk::ui {

namespace {
EngineSearchContext ContextOf(const SearchServices& s, EngineSearchUi& ui) {
    return EngineSearchContext{s.settings, s.updateFile, s.internet, s.network, s.notifier, s.receiver, ui};
}

int FieldNumber(const wxTextCtrl* field) { return DecimalFromText(field->GetValue().utf8_string()); }
}  // namespace

int WxEngineSearchUi::RunCategoryDialog(const CategoryRequest& request, SafetyScope scope,
                                        std::vector<std::string>& addresses) {
    CategoryDialog dialog(parent_, services_, scope, request);
    const int result = dialog.ShowModal();
    if (result == kCategoryOk) addresses = dialog.Search().Addresses();
    return result;
}

EngineSearchDialog::EngineSearchDialog(wxWindow* parent, const SearchServices& services,
                                       const std::string& initialQuery)
    : ui_(this, services) {
    LoadDialog(*this, parent, "dlg_engine_search");
    search_ = std::make_unique<EngineSearch>(ContextOf(services, ui_));
    query_ = Ctrl<wxTextCtrl>(this, "txt_query");
    engine_ = Ctrl<wxChoice>(this, "cho_engine");
    maxPages_ = Ctrl<wxTextCtrl>(this, "txt_max_pages");
    maxCategories_ = Ctrl<wxTextCtrl>(this, "txt_max_categories");
    startCrawling_ = Ctrl<wxCheckBox>(this, "chk_start_crawling");
    viewList_ = Ctrl<wxCheckBox>(this, "chk_view_list");
    checkSites_ = Ctrl<wxCheckBox>(this, "chk_check_sites");
    found_ = Ctrl<wxStaticText>(this, "st_found");
    progress_ = Ctrl<wxGauge>(this, "gau_progress");
    status_ = Ctrl<wxStaticText>(this, "st_status");

    search_->Open(initialQuery, false);
    for (const std::string& name : search_->Engines()) engine_->Append(ToDisplay(name));
    EngineSearch::Fields& fields = search_->GetFields();
    if (!search_->Engines().empty()) engine_->SetSelection(fields.engineIndex);
    query_->SetValue(ToDisplay(fields.query));
    maxPages_->SetValue(std::to_string(fields.maxPages));
    maxCategories_->SetValue(std::to_string(fields.maxCategories));

    Ctrl<wxButton>(this, "btn_go")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnGo(); });
    Ctrl<wxButton>(this, "btn_stop_now")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        search_->StopNow();
        Finish(search_->Result());
    });
    Ctrl<wxButton>(this, "wxID_CANCEL")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        search_->Cancel();
        Finish(EngineSearch::kEndedWithout);
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        search_->Cancel();
        Finish(EngineSearch::kEndedWithout);
    });
    engine_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        ReadFields();
        ShowState();
    });
    startCrawling_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        search_->GetFields().whenFinished.SetStartCrawling(e.IsChecked());
        ShowState();
    });
    viewList_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        search_->GetFields().whenFinished.SetViewList(e.IsChecked());
        ShowState();
    });
    checkSites_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        search_->GetFields().whenFinished.SetCheckSites(e.IsChecked());
        ShowState();
    });
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); });
    ShowState();
    Fit();
    CentreOnParent();
}

EngineSearchDialog::~EngineSearchDialog() {
    timer_.Stop();
    search_.reset();  // stops and joins every worker
}

void EngineSearchDialog::ReadFields() {
    EngineSearch::Fields& fields = search_->GetFields();
    fields.query = query_->GetValue().utf8_string();
    fields.maxPages = FieldNumber(maxPages_);
    fields.maxCategories = FieldNumber(maxCategories_);
    fields.engineIndex = std::max(0, engine_->GetSelection());
}

void EngineSearchDialog::OnGo() {
    ReadFields();
    if (search_->GetFields().maxPages < 1) {
        ShowMessageBox(this, "Please enter a number of pages above 0.", "Max pages amount:", wxOK | wxICON_EXCLAMATION);
        return;
    }
    if (search_->Go()) timer_.Start(EngineSearch::kTimerMs);
    ShowState();
    if (search_->Result() != 0) Finish(search_->Result());
}

void EngineSearchDialog::OnTick() {
    search_->Tick();
    ShowState();
    if (search_->Result() != 0) Finish(search_->Result());
}

void EngineSearchDialog::ShowState() {
    const EngineSearch::ViewState v = search_->View();
    const WhenFinished& when = search_->GetFields().whenFinished;
    status_->SetLabel(ToDisplay(v.status));
    found_->SetLabel(std::to_string(v.found));
    progress_->SetRange(std::max(1, v.progressRange));
    progress_->SetValue(std::min(v.progressPosition, std::max(1, v.progressRange)));
    Ctrl<wxButton>(this, "btn_stop_now")->Enable(v.stopNowEnabled);
    for (wxWindow* w : {static_cast<wxWindow*>(query_), static_cast<wxWindow*>(maxPages_),
                        static_cast<wxWindow*>(engine_), static_cast<wxWindow*>(maxCategories_)})
        w->Enable(v.fieldsEnabled);
    Ctrl<wxButton>(this, "btn_go")->Enable(v.fieldsEnabled);
    Ctrl<wxStaticText>(this, "st_max_categories_label")->Show(v.maxCategoriesVisible);
    maxCategories_->Show(v.maxCategoriesVisible);
    startCrawling_->SetValue(when.StartCrawling());
    viewList_->SetValue(when.ViewList());
    checkSites_->SetValue(when.CheckSites() && when.CheckSitesEnabled());
    checkSites_->Enable(when.CheckSitesEnabled());
    Layout();
}

void EngineSearchDialog::Finish(int result) {
    timer_.Stop();
    if (IsModal()) EndModal(result);
}

BackgroundEngineSearch::BackgroundEngineSearch(wxWindow* parent, const SearchServices& services)
    : ui_(parent, services), search_(std::make_unique<EngineSearch>(ContextOf(services, ui_))) {
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        search_->Tick();
        if (search_->Result() == 0) return;
        timer_.Stop();
        if (ended_) ended_(search_->Result());
    });
}

BackgroundEngineSearch::~BackgroundEngineSearch() {
    timer_.Stop();
    search_.reset();
}

bool BackgroundEngineSearch::Start(const std::string& query, const std::string& engine,
                                   std::function<void(int result)> ended) {
    ended_ = std::move(ended);
    search_->Open(query, false);
    if (!engine.empty()) {
        const auto& names = search_->Engines();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (EqualsNoCase(names[i], engine)) search_->GetFields().engineIndex = static_cast<int>(i);
    }
    if (!search_->Go()) return false;
    timer_.Start(EngineSearch::kTimerMs);
    return true;
}

void BackgroundEngineSearch::StopNow() {
    if (!timer_.IsRunning()) return;
    search_->StopNow();
    timer_.Stop();
    if (ended_) ended_(search_->Result());
}

}  // namespace flk::ui
