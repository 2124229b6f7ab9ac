#pragma once
#include <functional>
#include <string>
#include <wx/dialog.h>

namespace flk::test {

// Calls `action` once on the first modal dialog that appears while the
// returned object lives; the action usually clicks a button.
class WhenModal {
public:
    explicit WhenModal(std::function<void(wxDialog&)> action);
    ~WhenModal();
    bool Fired() const;

private:
    struct Impl;
    Impl* impl_;
};

// Clicks a button the way the user does: a button event from the button.
void Click(wxWindow& parent, const char* name);

}  // namespace flk::test
