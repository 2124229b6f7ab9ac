#include "ui/VirtualListView.h"

#include "ui/XrcSupport.h"

namespace flk::ui {

VirtualListView::VirtualListView(wxWindow* parent, ListSource& source)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL),
      source_(source) {
    // The widths are in dialog units, which follow the font as the headers do.
    for (const ListColumn& column : source_.Columns())
        AppendColumn(ToDisplay(std::string(column.header)), wxLIST_FORMAT_LEFT,
                     ConvertDialogToPixels(wxSize(column.width, 0)).x);
    Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) {
        SelectionEvent();
        e.Skip();
    });
    Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent& e) {
        SelectionEvent();
        e.Skip();
    });
    Bind(wxEVT_LIST_COL_CLICK, [this](wxListEvent& e) {
        if (e.GetColumn() < 0) return;
        TakeSelection();
        source_.SortByHeader(e.GetColumn());
        ModelChanged(true);
    });
    UpdateFromModel(true);
}

wxString VirtualListView::OnGetItemText(long item, long column) const {
    if (item < 0 || column < 0) return wxString();
    return ToDisplay(source_.Cell(static_cast<std::size_t>(item), static_cast<std::size_t>(column)));
}

void VirtualListView::SelectionEvent() {
    if (pushing_) return;
    selectionFromUser_ = true;
    // A range selected with the mouse or the keyboard is reported by one
    // event before the range is complete; read it once the control is done.
    CallAfter([this] {
        if (!selectionFromUser_) return;
        TakeSelection();
        UpdateFromModel();
    });
}

void VirtualListView::TakeSelection() {
    if (!selectionFromUser_) return;
    selectionFromUser_ = false;
    const long count = GetItemCount();
    for (long i = 0; i < count; ++i) {
        const bool selected = GetItemState(i, wxLIST_STATE_SELECTED) != 0;
        const auto row = static_cast<std::size_t>(i);
        if (selected != source_.IsSelected(row)) source_.SetSelected(row, selected);
    }
}

void VirtualListView::PushSelectionToView() {
    pushing_ = true;
    const long count = GetItemCount();
    long selected = 0;
    for (long i = 0; i < count; ++i) selected += source_.IsSelected(static_cast<std::size_t>(i)) ? 1 : 0;
    if (selected == 0 || selected == count) {
        // One call for the whole list: the common cases of Select all and
        // of a list nobody has touched.
        if (GetSelectedItemCount() != static_cast<int>(selected))
            SetItemState(-1, selected ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    } else {
        for (long i = 0; i < count; ++i) {
            const bool want = source_.IsSelected(static_cast<std::size_t>(i));
            if (want != (GetItemState(i, wxLIST_STATE_SELECTED) != 0))
                SetItemState(i, want ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
        }
    }
    pushing_ = false;
}

void VirtualListView::ShowCaptions() {
    const std::string caption = source_.Caption();
    if (caption == caption_) return;
    caption_ = caption;
    wxListItem header;
    header.SetMask(wxLIST_MASK_TEXT);
    header.SetText(ToDisplay(caption));
    SetColumn(0, header);
}

void VirtualListView::ShowSortColumn() {
    const SortState sort = source_.CurrentSort();
    // Direction +1 puts larger values first.
    wxListCtrl::ShowSortIndicator(sort.column, sort.direction < 0);
}

void VirtualListView::UpdateFromModel(bool force) {
    TakeSelection();
    const std::uint64_t revision = source_.Revision();
    if (!force && revision == shownRevision_) return;
    shownRevision_ = revision;
    const long rows = static_cast<long>(source_.RowCount());
    if (GetItemCount() != rows) SetItemCount(rows);
    PushSelectionToView();
    ShowCaptions();
    if (sorted_) ShowSortColumn();
    // Only the rows on screen are drawn, so this costs the same for ten rows
    // or ten thousand.
    wxListCtrl::Refresh();
}

void VirtualListView::ModelChanged(bool sorted) {
    if (sorted) sorted_ = true;
    UpdateFromModel(true);
}

}  // namespace flk::ui
