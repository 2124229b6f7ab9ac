#pragma once
#include "ui/ListSource.h"

#include <cstdint>
#include <string>
#include <wx/listctrl.h>

namespace flk::ui {

// A virtual report list over a list model: the control holds no rows, it
// asks the model for the cells it draws. Row count, captions and selection
// are brought over from the model by UpdateFromModel(), which does nothing
// while the model's revision stands still, so a window can call it on a
// timer however many rows arrive in between. The user's selection goes to the model's
// selected flags; a header click sorts the model.
class VirtualListView : public wxListCtrl {
public:
    VirtualListView(wxWindow* parent, ListSource& source);

    // Brings the view up to the model when the model changed since the last
    // call (or always, with force).
    void UpdateFromModel(bool force = false);
    // After a command changed the model (a sort, a selection, a clear): show
    // it now; a sort also shows its column and direction in the header.
    void ModelChanged(bool sorted = false);

    // Hands a selection the user made to the model; every command that reads
    // or changes the selection calls it first.
    void TakeSelection();

    // A list item's index is its model row.
    ListSource& Source() { return source_; }

protected:
    wxString OnGetItemText(long item, long column) const override;

private:
    void SelectionEvent();
    void PushSelectionToView();
    void ShowCaptions();
    void ShowSortColumn();

    ListSource& source_;
    std::uint64_t shownRevision_ = ~std::uint64_t{0};
    // The view's selection changed and the model has not got it yet.
    bool selectionFromUser_ = false;
    // Set while the view is being brought up to the model, whose own
    // selection changes must not be read back.
    bool pushing_ = false;
    bool sorted_ = false;
    std::string caption_;
};

}  // namespace flk::ui
