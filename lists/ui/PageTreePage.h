#pragma once
#include "lists/PageTree.h"
#include "ui/ListPage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <wx/menu.h>
#include <vector>
#include <wx/panel.h>
#include <wx/treectrl.h>

class wxToggleButton;

namespace flk::ui {

// The "Crawl" page: the URL tree and the titles tree of the visited pages,
// the "Titles" button that shows one of them, the trees' context menu and
// the commands of the crawler window's "Tree" menu. The trees grow from the
// model on the timer: only the items added since the last tick are put in.
class PageTreePage : public wxPanel, public ListPage {
public:
    PageTreePage(wxWindow* parent, PageTrees& trees, ListPageServices services);
    // The trees go first: destroying them sends collapse events that the
    // page handles, so it must still be whole then.
    ~PageTreePage() override;

    wxWindow* Window() override { return this; }
    std::string Caption() const override { return "Crawl"; }
    void RefreshFromModel() override;
    // A tree has no rows to select.
    void SelectAll() override {}
    // Empties both trees.
    void ClearList() override;
    // "Send to Browser": the selected page in the browser.
    void SendToBrowser() override;
    // The Editor button on this tab: the selected page in the text viewer.
    void SendToEditor() override { ShowInTextViewer(); }

    // "Titles": shows the titles tree (rewritten to page titles) or the URL
    // tree.
    void SetTitlesMode(bool on);
    bool TitlesMode() const { return trees_.TitlesMode(); }

    // The "Tree" menu and the context menu.
    void Copy();
    void ExpandAll();
    void CollapseAll();
    // "Send item to root" / "Send to Location": the selected page becomes
    // the start location.
    void SendItemToRoot();
    void ShowInTextViewer();

    // The context menu as it opens, and what choosing one of its items does.
    std::unique_ptr<wxMenu> ContextMenu();
    void RunMenuCommand(int id);

    wxTreeCtrl& UrlTree() { return *urls_.ctrl; }
    wxTreeCtrl& TitlesTree() { return *titles_.ctrl; }
    // The model item a tree item shows (TreeModel::kNone for none).
    static TreeModel::Id ModelId(const wxTreeCtrl& tree, const wxTreeItemId& item);

private:
    // One tree control and what of its model it shows.
    struct TreeView {
        wxTreeCtrl* ctrl = nullptr;
        std::vector<wxTreeItemId> items;  // by model id
        std::uint64_t generation = ~std::uint64_t{0};
    };
    using WithTree = void (PageTrees::*)(const std::function<void(TreeModel&)>&);

    void Sync(TreeView& view, WithTree with);
    void BindTree(TreeView& view, WithTree with);
    TreeView& Shown() { return TitlesMode() ? titles_ : urls_; }
    WithTree ShownModel() { return TitlesMode() ? &PageTrees::WithTitlesTree : &PageTrees::WithUrlTree; }
    // A text of the URL tree's selected item (empty when none or while the
    // titles tree is shown).
    std::string SelectedPageText(bool asBrowserTarget);
    void ShowMenu();

    PageTrees& trees_;
    ListPageServices services_;
    TreeView urls_;
    TreeView titles_;
    wxToggleButton* titlesButton_;
};

}  // namespace flk::ui
