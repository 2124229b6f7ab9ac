#pragma once
#include "lists/MediaList.h"
#include "ui/ListPage.h"
#include "ui/ListSource.h"
#include "ui/VirtualListView.h"

#include <memory>
#include <string>
#include <wx/menu.h>
#include <wx/panel.h>

namespace flk::ui {

// The "Images", "Sounds" and "Movies" pages: one virtual list over a media
// list, with its context menu, double click and "Send to" commands. The
// menu's commands are public so the crawler window's buttons and the tests
// reach them.
class MediaListPage : public wxPanel, public ListPage {
public:
    MediaListPage(wxWindow* parent, MediaList& list, ListPageServices services);

    wxWindow* Window() override { return this; }
    std::string Caption() const override { return std::string(list_.Layout().title); }
    void RefreshFromModel() override { view_->UpdateFromModel(); }
    // Selects every row and gives the list the focus.
    void SelectAll() override;
    void ClearList() override;
    // Writes the result pages and opens the first in the browser.
    void SendToBrowser() override;
    // Writes the links file of the selected rows and opens it in the editor.
    void SendToEditor() override;

    // The spread sheet report of the selected rows, opened in the editor.
    void SendToSpreadSheet();
    // The addresses of the selected rows to the clipboard.
    void Copy();
    void InvertSelection();
    // Asks for a pattern and selects the rows whose name holds it.
    void Filter();
    void SortByName();
    void SortByExtension();
    // Images only.
    void SortByVisualSize();
    // The download dialog with the addresses of the selected rows.
    void Download();
    // Double click: selects the row and opens its address in the browser.
    void OpenRow(long row);

    // The context menu as it opens (checks set, items of other kinds gone),
    // and what choosing one of its items does.
    std::unique_ptr<wxMenu> ContextMenu();
    void RunMenuCommand(int id);

    VirtualListView& View() { return *view_; }

private:
    void ShowMenu();

    MediaList& list_;
    ListPageServices services_;
    ListSourceOf<MediaList> source_;
    VirtualListView* view_;
};

}  // namespace flk::ui
