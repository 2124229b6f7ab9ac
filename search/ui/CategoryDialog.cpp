#include "search/ui/CategoryDialog.h"

#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

namespace flk::ui {

namespace {
struct NodeData : wxTreeItemData {
    explicit NodeData(int id) : node(id) {}
    int node;
};

void AddChildren(wxTreeCtrl& tree, const CategoryTree& model, wxTreeItemId parent, int node) {
    for (int child : model.At(node).children) {
        const wxTreeItemId item = tree.AppendItem(parent, ToDisplay(model.At(child).text), -1, -1, new NodeData(child));
        AddChildren(tree, model, item, child);
    }
}
}  // namespace

CategoryDialog::CategoryDialog(wxWindow* parent, const SearchServices& services, SafetyScope scope,
                               const CategoryRequest& request)
    : CategoryDialog(parent, services.settings, services.updateFile, services.internet, services.network, scope,
                     request) {}

CategoryDialog::CategoryDialog(wxWindow* parent, Settings& settings, UpdateFile& updateFile, InternetShare& internet,
                               const InternetOptions& network, SafetyScope scope, const CategoryRequest& request) {
    LoadDialog(*this, parent, "dlg_categories");
    search_ = std::make_unique<CategorySearch>(CategoryContext{settings, updateFile, internet, network, *this}, scope);
    tree_ = Ctrl<wxTreeCtrl>(this, "tre_categories");
    selected_ = Ctrl<wxListCtrl>(this, "lst_selected");
    progress_ = Ctrl<wxGauge>(this, "gau_progress");
    status_ = Ctrl<wxStaticText>(this, "st_status");
    progress_->SetRange(CategorySearch::kProgressRange);
    selected_->AppendColumn("Topic", wxLIST_FORMAT_LEFT, 170);
    selected_->AppendColumn("Path", wxLIST_FORMAT_LEFT, 200);
    Ctrl<wxStaticText>(this, "st_searching")->SetLabel(ToDisplay(request.queryText));
    tree_->AddRoot("");

    Ctrl<wxButton>(this, "btn_add")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const wxTreeItemId item = tree_->GetSelection();
        if (!item.IsOk()) return;
        if (auto* data = dynamic_cast<NodeData*>(tree_->GetItemData(item))) search_->Add(data->node);
        ShowSelected();
    });
    Ctrl<wxButton>(this, "btn_add_all")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        search_->AddAll();
        ShowSelected();
    });
    Ctrl<wxButton>(this, "btn_remove")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        std::vector<int> rows;
        for (long i = selected_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
             i = selected_->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
            rows.push_back(static_cast<int>(i));
        search_->Remove(rows);
        ShowSelected();
    });
    selected_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateButtons(); });
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        search_->Ok();
        Finish(search_->Result());
    });
    Ctrl<wxButton>(this, "wxID_CANCEL")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        search_->Cancel();
        Finish(kCategoryCancelled);
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        search_->Cancel();
        Finish(kCategoryCancelled);
    });
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); });

    status_->SetLabel("Searching for categories...");
    UpdateButtons();
    Fit();
    CentreOnParent();
    search_->Start(request);
    timer_.Start(CategorySearch::kTimerMs);
}

CategoryDialog::~CategoryDialog() { timer_.Stop(); }

void CategoryDialog::ShowInformation(const std::string& text) {
    ShowMessageBox(this, text, "Findlark", wxOK | wxICON_INFORMATION | wxSTAY_ON_TOP);
}

void CategoryDialog::OnTick() {
    const CategorySearch::State state = search_->Tick();
    progress_->SetValue(std::min(search_->ProgressPosition(), CategorySearch::kProgressRange));
    if (state == CategorySearch::State::Ended) {
        Finish(search_->Result());
        return;
    }
    if (state == CategorySearch::State::Choosing && !treeShown_) ShowTree();
}

void CategoryDialog::ShowTree() {
    treeShown_ = true;
    AddChildren(*tree_, search_->Tree(), tree_->GetRootItem(), 0);
    status_->SetLabel(ToDisplay(search_->Status()));
    progress_->SetValue(CategorySearch::kProgressRange);
    ShowSelected();
}

void CategoryDialog::ShowSelected() {
    selected_->DeleteAllItems();
    long row = 0;
    for (const CategorySearch::Row& r : search_->Selected()) {
        selected_->InsertItem(row, ToDisplay(r.topic));
        selected_->SetItem(row, 1, ToDisplay(r.path));
        ++row;
    }
    UpdateButtons();
}

void CategoryDialog::UpdateButtons() {
    const bool choosing = search_->GetState() == CategorySearch::State::Choosing;
    Ctrl<wxButton>(this, "btn_add")->Enable(choosing && search_->AddEnabled());
    Ctrl<wxButton>(this, "btn_add_all")->Enable(choosing && search_->AddEnabled());
    Ctrl<wxButton>(this, "btn_remove")->Enable(choosing && search_->RemoveEnabled() && selected_->GetSelectedItemCount() > 0);
    Ctrl<wxButton>(this, "wxID_OK")->Enable(choosing && search_->OkEnabled());
}

void CategoryDialog::Finish(int result) {
    timer_.Stop();
    if (IsModal()) EndModal(result);
}

}  // namespace flk::ui
