#include "lists/ui/PageTreePage.h"

#include "settings/ChosenPrograms.h"
#include "ui/Clipboard.h"
#include "ui/XrcSupport.h"

#include <wx/sizer.h>
#include <wx/tglbtn.h>

namespace flk::ui {

namespace {

class NodeData : public wxTreeItemData {
public:
    explicit NodeData(TreeModel::Id id) : id(id) {}
    TreeModel::Id id;
};

struct NewItem {
    TreeModel::Id id;
    TreeModel::Id parent;
    std::string text;
    bool first;  // annotations go before their page's other children
    bool expanded;
};

// Expanding or collapsing the hidden root is refused by the control, so the
// whole tree is done branch by branch.
template <typename F>
void ForEachTopItem(wxTreeCtrl& tree, F f) {
    const wxTreeItemId root = tree.GetRootItem();
    if (!root.IsOk()) return;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree.GetFirstChild(root, cookie); item.IsOk(); item = tree.GetNextChild(root, cookie))
        f(item);
}

}  // namespace

PageTreePage::PageTreePage(wxWindow* parent, PageTrees& trees, ListPageServices services)
    : trees_(trees), services_(std::move(services)) {
    LoadPanel(*this, parent, "pnl_crawl");
    urls_.ctrl = Ctrl<wxTreeCtrl>(this, "tree_urls");
    titles_.ctrl = Ctrl<wxTreeCtrl>(this, "tree_titles");
    titlesButton_ = Ctrl<wxToggleButton>(this, "btn_titles");
    titlesButton_->Bind(wxEVT_TOGGLEBUTTON, [this](wxCommandEvent& e) { SetTitlesMode(e.IsChecked()); });
    BindTree(urls_, &PageTrees::WithUrlTree);
    BindTree(titles_, &PageTrees::WithTitlesTree);
    titlesButton_->SetValue(trees_.TitlesMode());
    urls_.ctrl->Show(!trees_.TitlesMode());
    titles_.ctrl->Show(trees_.TitlesMode());
    RefreshFromModel();
}

PageTreePage::~PageTreePage() { DestroyChildren(); }

void PageTreePage::BindTree(TreeView& view, WithTree with) {
    wxTreeCtrl* tree = view.ctrl;
    tree->Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, [this, tree](wxTreeEvent& e) {
        if (!e.GetItem().IsOk()) return;
        tree->SelectItem(e.GetItem());
        ShowMenu();
    });
    // The model keeps which items are open, as the "Titles" rewrite and the
    // next rebuild of the view read it.
    // Only the model is reached: the tree may still send these while the
    // page around it is being torn down.
    auto remember = [trees = &trees_, tree, with](wxTreeEvent& e, bool expanded) {
        e.Skip();
        const TreeModel::Id id = ModelId(*tree, e.GetItem());
        if (id == TreeModel::kNone) return;
        (trees->*with)([&](TreeModel& model) {
            if (model.Alive(id)) model.SetExpanded(id, expanded);
        });
    };
    tree->Bind(wxEVT_TREE_ITEM_EXPANDED, [remember](wxTreeEvent& e) { remember(e, true); });
    tree->Bind(wxEVT_TREE_ITEM_COLLAPSED, [remember](wxTreeEvent& e) { remember(e, false); });
}

TreeModel::Id PageTreePage::ModelId(const wxTreeCtrl& tree, const wxTreeItemId& item) {
    if (!item.IsOk()) return TreeModel::kNone;
    auto* data = dynamic_cast<NodeData*>(tree.GetItemData(item));
    return data ? data->id : TreeModel::kNone;
}

void PageTreePage::Sync(TreeView& view, WithTree with) {
    bool rebuild = false;
    std::vector<NewItem> added;
    std::size_t idCount = 0;
    // Copy what is new under the tree's lock; the control is filled after,
    // so the crawl's workers are not held up while it draws.
    (trees_.*with)([&](TreeModel& model) {
        idCount = model.IdCount();
        rebuild = model.Generation() != view.generation || idCount < view.items.size();
        view.generation = model.Generation();
        if (rebuild) {
            for (TreeModel::Id id : model.DepthFirstOrder())
                added.push_back({id, model.Parent(id), model.Text(id), false, model.Expanded(id)});
        } else {
            for (std::size_t i = view.items.size(); i < idCount; ++i) {
                const auto id = static_cast<TreeModel::Id>(i);
                if (!model.Alive(id)) continue;
                added.push_back({id, model.Parent(id), model.Text(id), IsAnnotation(model.Text(id)), false});
            }
        }
    });
    if (!rebuild && added.empty()) {
        view.items.resize(idCount);
        return;
    }
    wxTreeCtrl& tree = *view.ctrl;
    tree.Freeze();
    if (rebuild) {
        tree.DeleteAllItems();
        view.items.assign(idCount, wxTreeItemId());
    }
    view.items.resize(idCount);
    wxTreeItemId root = tree.GetRootItem();
    if (!root.IsOk()) root = tree.AddRoot("");
    for (const NewItem& item : added) {
        const bool hasParent = item.parent != TreeModel::kNone &&
                               static_cast<std::size_t>(item.parent) < view.items.size() &&
                               view.items[item.parent].IsOk();
        const wxTreeItemId parent = hasParent ? view.items[item.parent] : root;
        const wxString text = ToDisplay(item.text);
        view.items[item.id] = item.first ? tree.InsertItem(parent, 0, text, -1, -1, new NodeData(item.id))
                                         : tree.AppendItem(parent, text, -1, -1, new NodeData(item.id));
    }
    if (rebuild)
        for (const NewItem& item : added)
            if (item.expanded && tree.ItemHasChildren(view.items[item.id])) tree.Expand(view.items[item.id]);
    tree.Thaw();
}

void PageTreePage::RefreshFromModel() {
    if (TitlesMode())
        Sync(titles_, &PageTrees::WithTitlesTree);
    else
        Sync(urls_, &PageTrees::WithUrlTree);
}

void PageTreePage::ClearList() {
    trees_.Clear();
    RefreshFromModel();
}

void PageTreePage::SetTitlesMode(bool on) {
    trees_.SetTitlesMode(on);
    titlesButton_->SetValue(on);
    urls_.ctrl->Show(!on);
    titles_.ctrl->Show(on);
    Layout();
    RefreshFromModel();
}

std::string PageTreePage::SelectedPageText(bool asBrowserTarget) {
    if (TitlesMode()) return std::string();
    const TreeModel::Id id = ModelId(*urls_.ctrl, urls_.ctrl->GetSelection());
    if (id == TreeModel::kNone) return std::string();
    std::string text;
    trees_.WithUrlTree([&](TreeModel& model) {
        if (!model.Alive(id)) return;
        text = asBrowserTarget ? PageTrees::BrowserTargetFor(model, id) : PageTrees::PageTextFor(model, id);
    });
    return text;
}

void PageTreePage::Copy() {
    TreeView& view = Shown();
    const TreeModel::Id id = ModelId(*view.ctrl, view.ctrl->GetSelection());
    if (id == TreeModel::kNone) return;
    std::string text;
    (trees_.*ShownModel())([&](TreeModel& model) {
        if (model.Alive(id)) text = model.Text(id);
    });
    CopyToClipboard(this, text);
}

void PageTreePage::ExpandAll() {
    (trees_.*ShownModel())([](TreeModel& model) { model.ExpandAll(); });
    wxTreeCtrl& tree = *Shown().ctrl;
    tree.Freeze();
    ForEachTopItem(tree, [&](const wxTreeItemId& item) { tree.ExpandAllChildren(item); });
    tree.Thaw();
}

void PageTreePage::CollapseAll() {
    (trees_.*ShownModel())([](TreeModel& model) { model.CollapseAll(); });
    wxTreeCtrl& tree = *Shown().ctrl;
    tree.Freeze();
    ForEachTopItem(tree, [&](const wxTreeItemId& item) { tree.CollapseAllChildren(item); });
    tree.Thaw();
}

void PageTreePage::SendItemToRoot() {
    const std::string text = SelectedPageText(false);
    if (!text.empty() && services_.setStartLocation) services_.setStartLocation(text);
}

void PageTreePage::SendToBrowser() {
    const std::string target = SelectedPageText(true);
    if (!target.empty()) OpenInBrowser(services_.settings, target, services_.picker);
}

void PageTreePage::ShowInTextViewer() {
    const std::string target = SelectedPageText(true);
    if (!target.empty() && services_.showTextViewer) services_.showTextViewer(target);
}

std::unique_ptr<wxMenu> PageTreePage::ContextMenu() {
    std::unique_ptr<wxMenu> menu = LoadPopupMenu("mnu_tree");
    // The page commands work on the URL tree only.
    for (const char* name : {"mi_tree_send_location", "mi_tree_send_browser", "mi_tree_text_viewer"})
        menu->Enable(XRCID(name), !TitlesMode());
    return menu;
}

void PageTreePage::RunMenuCommand(int id) {
    if (id == XRCID("mi_tree_copy")) Copy();
    else if (id == XRCID("mi_tree_send_location")) SendItemToRoot();
    else if (id == XRCID("mi_tree_send_browser")) SendToBrowser();
    else if (id == XRCID("mi_tree_text_viewer")) ShowInTextViewer();
    else if (id == XRCID("mi_tree_expand_all")) ExpandAll();
    else if (id == XRCID("mi_tree_collapse_all")) CollapseAll();
}

void PageTreePage::ShowMenu() {
    std::unique_ptr<wxMenu> menu = ContextMenu();
    menu->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { RunMenuCommand(e.GetId()); });
    PopupMenu(menu.get());
}

}  // namespace flk::ui
