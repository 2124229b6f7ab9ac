#include "ui/TreeItems.h"

namespace flk::test {

wxTreeItemId FindTreeItem(wxTreeCtrl& tree, const wxTreeItemId& parent, const std::string& text) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
        if (tree.GetItemText(item).utf8_string() == text) return item;
        if (wxTreeItemId found = FindTreeItem(tree, item, text); found.IsOk()) return found;
    }
    return wxTreeItemId();
}

wxTreeItemId FindTreeItem(wxTreeCtrl& tree, const std::string& text) {
    return tree.GetRootItem().IsOk() ? FindTreeItem(tree, tree.GetRootItem(), text) : wxTreeItemId();
}

}  // namespace flk::test
