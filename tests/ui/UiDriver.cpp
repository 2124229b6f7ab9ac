#include "ui/UiDriver.h"

#include "ui/XrcSupport.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <thread>

namespace flk::test {

struct WhenModal::Impl {
    wxTimer timer;
    std::function<void(wxDialog&)> action;
    bool fired = false;
};

WhenModal::WhenModal(std::function<void(wxDialog&)> action) : impl_(new Impl) {
    impl_->action = std::move(action);
    impl_->timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        for (wxWindow* w : wxTopLevelWindows) {
            auto* dlg = dynamic_cast<wxDialog*>(w);
            if (dlg && dlg->IsModal() && dlg->IsShown()) {
                impl_->timer.Stop();
                impl_->fired = true;
                impl_->action(*dlg);
                return;
            }
        }
    });
    impl_->timer.Start(20);
}

WhenModal::~WhenModal() {
    impl_->timer.Stop();
    delete impl_;
}

bool WhenModal::Fired() const { return impl_->fired; }

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void Click(wxWindow& parent, const char* name) {
    wxButton* button = ui::Ctrl<wxButton>(&parent, name);
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
}

}  // namespace flk::test
