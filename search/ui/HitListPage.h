#pragma once
#include "query/SearchOptions.h"
#include "search/HitList.h"
#include "ui/ListPage.h"
#include "ui/ListSource.h"
#include "ui/VirtualListView.h"

#include <memory>
#include <string>
#include <wx/menu.h>
#include <wx/panel.h>

class wxCheckBox;
class wxChoice;
class wxTextCtrl;

namespace flk::ui {

// The "Search" page: the boolean text search (query, its options, "Search
// now") over the list of pages whose text matched, with the list's reports.
//
// The query and condition are read from the profile when the page opens and
// written back when it closes, so the page must go before the hit list it
// shows.
class HitListPage : public wxPanel, public ListPage {
public:
    HitListPage(wxWindow* parent, HitList& hits, ListPageServices services);
    ~HitListPage() override;

    wxWindow* Window() override { return this; }
    std::string Caption() const override { return "Search"; }
    void RefreshFromModel() override { view_->UpdateFromModel(); }
    void SelectAll() override;
    void ClearList() override;
    // "SearchList.htm", opened in the browser.
    void SendToBrowser() override;
    // "SearchList.txt", opened in the editor.
    void SendToEditor() override;

    // "SearchReport.txt" of the selected rows, opened in the editor.
    void SendToSpreadSheet();
    void InvertSelection();
    void Filter();
    // Double click: the matched page in the browser.
    void OpenRow(long row);

    // The text search of the next crawl, as the controls set it.
    SearchOptions Options() const;
    // "Search now": tests the stored pages of the crawl in the "Searching..."
    // dialog, which closes when the search ends or is cancelled.
    void SearchNow();
    // Writes the query and the condition to the profile.
    void SaveSettings();

    // The context menu and what choosing one of its items does.
    std::unique_ptr<wxMenu> ContextMenu() const;
    void RunMenuCommand(int id);

    VirtualListView& View() { return *view_; }

private:
    void ShowMenu();
    std::string ProjectFolder() const;

    HitList& hits_;
    ListPageServices services_;
    ListSourceOf<HitList> source_;
    VirtualListView* view_;
    wxTextCtrl* query_;
    wxChoice* condition_;
    wxCheckBox* offline_;
    wxCheckBox* matchCase_;
    wxCheckBox* wholeWords_;
    wxCheckBox* titlesOnly_;
    wxCheckBox* textOnly_;
};

}  // namespace flk::ui
