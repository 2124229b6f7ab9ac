#pragma once
#include <string>
#include <wx/treectrl.h>

namespace flk::test {

// The first item below parent (at any depth, in tree order) whose text is
// `text`; an invalid id when there is none.
wxTreeItemId FindTreeItem(wxTreeCtrl& tree, const wxTreeItemId& parent, const std::string& text);
// The same from the root.
wxTreeItemId FindTreeItem(wxTreeCtrl& tree, const std::string& text);

}  // namespace flk::test
