#include "lists/ui/MediaListPage.h"

#include "lists/ImagesList.h"
#include "lists/ui/FilterDialog.h"
#include "settings/ChosenPrograms.h"
#include "ui/Clipboard.h"
#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <wx/sizer.h>

namespace flk::ui {

MediaListPage::MediaListPage(wxWindow* parent, MediaList& list, ListPageServices services)
    : list_(list),
      services_(std::move(services)),
      source_(list, {list.Layout().columns, list.Layout().columnCount}) {
    LoadPanel(*this, parent, "pnl_media_list");
    view_ = new VirtualListView(this, source_);
    wxXmlResource::Get()->AttachUnknownControl("lst_media", view_, this);
    view_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) { OpenRow(e.GetIndex()); });
    view_->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, [this](wxListEvent&) { ShowMenu(); });
}

void MediaListPage::SelectAll() {
    list_.SelectAll();
    view_->SetFocus();
    view_->ModelChanged();
}

void MediaListPage::ClearList() {
    list_.Clear();
    view_->ModelChanged();
}

void MediaListPage::SendToBrowser() {
    view_->TakeSelection();
    if (!services_.writeResultPages) return;
    const std::string first = services_.writeResultPages();
    if (!first.empty()) OpenInBrowser(services_.settings, first, services_.picker);
}

void MediaListPage::SendToEditor() {
    view_->TakeSelection();
    const std::string folder = services_.projectFolder ? services_.projectFolder() : std::string();
    OpenWrittenInEditor(this, services_, list_.WriteLinksFile(folder), list_.Layout().linksFile);
}

void MediaListPage::SendToSpreadSheet() {
    view_->TakeSelection();
    const std::string folder = services_.projectFolder ? services_.projectFolder() : std::string();
    OpenWrittenInEditor(this, services_, list_.WriteReportFile(folder), list_.Layout().reportFile);
}

void MediaListPage::Copy() {
    view_->TakeSelection();
    CopyToClipboard(this, list_.ClipboardText());
}

void MediaListPage::InvertSelection() {
    view_->TakeSelection();
    list_.InvertSelection();
    view_->ModelChanged();
}

void MediaListPage::Filter() {
    view_->TakeSelection();
    std::string pattern;
    if (!AskFilterPattern(this, pattern)) return;
    list_.SelectByPattern(pattern);
    view_->ModelChanged();
}

void MediaListPage::SortByName() {
    view_->TakeSelection();
    list_.SortByName();
    view_->ModelChanged(true);
}

void MediaListPage::SortByExtension() {
    view_->TakeSelection();
    list_.SortByExtension();
    view_->ModelChanged(true);
}

void MediaListPage::SortByVisualSize() {
    auto* images = dynamic_cast<ImagesList*>(&list_);
    if (!images) return;
    view_->TakeSelection();
    images->SortByVisualSize();
    view_->ModelChanged(true);
}

void MediaListPage::Download() {
    view_->TakeSelection();
    const std::vector<std::string> urls = list_.SelectedUrls();
    if (!urls.empty() && services_.download) services_.download(urls);
}

void MediaListPage::OpenRow(long row) {
    if (row < 0 || static_cast<std::size_t>(row) >= list_.RowCount()) return;
    view_->TakeSelection();
    list_.SetSelected(static_cast<std::size_t>(row), true);
    view_->ModelChanged();
    OpenInBrowser(services_.settings, list_.RowUrl(static_cast<std::size_t>(row)), services_.picker);
}

std::unique_ptr<wxMenu> MediaListPage::ContextMenu() {
    std::unique_ptr<wxMenu> menu = LoadPopupMenu("mnu_media_list");
    const bool extension = list_.SortMode() == NameSortMode::Extension;
    menu->Check(XRCID("mi_sort_name"), !extension);
    menu->Check(XRCID("mi_sort_extension"), extension);
    if (!dynamic_cast<ImagesList*>(&list_)) {
        wxMenu* sortBy = nullptr;
        if (wxMenuItem* item = menu->FindItem(XRCID("mi_sort_visual_size"), &sortBy)) sortBy->Destroy(item);
    }
    return menu;
}

void MediaListPage::RunMenuCommand(int id) {
    if (id == XRCID("mi_copy")) Copy();
    else if (id == XRCID("mi_send_browser")) SendToBrowser();
    else if (id == XRCID("mi_send_editor")) SendToEditor();
    else if (id == XRCID("mi_send_spread_sheet")) SendToSpreadSheet();
    else if (id == XRCID("mi_select_all")) SelectAll();
    else if (id == XRCID("mi_invert_selection")) InvertSelection();
    else if (id == XRCID("mi_filter")) Filter();
    else if (id == XRCID("mi_sort_name")) SortByName();
    else if (id == XRCID("mi_sort_extension")) SortByExtension();
    else if (id == XRCID("mi_sort_visual_size")) SortByVisualSize();
    else if (id == XRCID("mi_download")) Download();
}

void MediaListPage::ShowMenu() {
    view_->TakeSelection();
    std::unique_ptr<wxMenu> menu = ContextMenu();
    menu->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { RunMenuCommand(e.GetId()); });
    PopupMenu(menu.get());
}

}  // namespace flk::ui
