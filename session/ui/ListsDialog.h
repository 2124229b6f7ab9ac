#pragma once
#include "session/ViewSwitches.h"

#include <array>
#include <wx/dialog.h>

class wxCheckBox;

namespace flk {
class Settings;
}

namespace flk::ui {

// "Lists...": which lists a crawl collects and shows (section "view"). While
// a crawl runs the switches are shown but cannot be confirmed.
class ListsDialog : public wxDialog {
public:
    ListsDialog(wxWindow* parent, Settings& settings, bool crawling);

    // OK: writes the switches; refused (false) while a crawl runs.
    bool Accept();
    ListSwitchValues Values() const;
    void SetValue(std::size_t index, bool on);

private:
    Settings& settings_;
    bool crawling_;
    std::array<wxCheckBox*, kListSwitchCount> boxes_{};
};

}  // namespace flk::ui
