#pragma once
#include <chrono>
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

// Runs the event loop until `done` holds or the time is up (false then).
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(30000));

// The longest pause of the UI thread a test takes for a frozen window. The
// figures are printed, not judged: this bound only catches a real stall, and
// the sanitizer build runs several times slower.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr std::chrono::milliseconds kStalledUi{10000};
#else
inline constexpr std::chrono::milliseconds kStalledUi{2000};
#endif

// Clicks a button the way the user does: a button event from the button.
void Click(wxWindow& parent, const char* name);

}  // namespace flk::test
