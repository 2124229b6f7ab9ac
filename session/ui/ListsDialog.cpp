#include "session/ui/ListsDialog.h"

#include "ui/XrcSupport.h"

#include <string>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>

namespace flk::ui {

ListsDialog::ListsDialog(wxWindow* parent, Settings& settings, bool crawling)
    : settings_(settings), crawling_(crawling) {
    LoadDialog(*this, parent, "dlg_lists");
    const ListSwitchValues values = ReadListSwitches(settings_);
    for (std::size_t i = 0; i < kListSwitchCount; ++i) {
        const std::string name = std::string("chk_view_") + kListSwitches[i].key->key;
        boxes_[i] = Ctrl<wxCheckBox>(this, name.c_str());
        boxes_[i]->SetValue(values[i]);
    }
    Ctrl<wxButton>(this, "wxID_OK")->Enable(!crawling_);
    Ctrl<wxStaticText>(this, "lbl_lists_crawling")->Show(crawling_);
    Ctrl<wxButton>(this, "wxID_OK")->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Accept()) EndModal(wxID_OK);
    });
    Fit();
    CentreOnParent();
}

ListSwitchValues ListsDialog::Values() const {
    ListSwitchValues values{};
    for (std::size_t i = 0; i < kListSwitchCount; ++i) values[i] = boxes_[i]->GetValue();
    return values;
}

void ListsDialog::SetValue(std::size_t index, bool on) { boxes_.at(index)->SetValue(on); }

bool ListsDialog::Accept() {
    if (crawling_) return false;
    WriteListSwitches(settings_, Values());
    return true;
}

}  // namespace flk::ui
