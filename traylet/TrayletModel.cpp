#include "traylet/TrayletModel.h"

#include "platform/TrayletMessages.h"
#include "traylet/TrayletActions.h"

namespace flk {

TrayletModel::TrayletModel(const TrayletActions& actions) : actions_(actions) {}

TrayletModel::Effect TrayletModel::Handle(int message) {
    using namespace traylet_msg;
    switch (message) {
        case kClose: return Effect::Close;
        // Another program cannot say which mouse event it means; it gets
        // the one that needs no cursor: the double-click.
        case kIconCallback: IconDoubleClicked(); break;
        case kShowMenu: return Effect::ShowMenu;
        case kStartBlinking: blinking_ = true; break;
        case kSearch: actions_.Search(); break;
        case kGoToSite: actions_.GoToSite(); break;
        case kMailNotify: actions_.MailNotify(); break;
        default: break;
    }
    return Effect::None;
}

void TrayletModel::IconDoubleClicked() {
    blinking_ = false;
    secondIcon_ = false;
    actions_.Search();
}

TrayletModel::Tick TrayletModel::TimerTick() {
    if (!inTray_) {
        inTray_ = true;
        return Tick::EnterTray;
    }
    if (!blinking_) {
        if (!secondIcon_) return Tick::None;
        secondIcon_ = false;  // blinking ended on the second icon: back to the normal one
        return Tick::SwapIcon;
    }
    secondIcon_ = !secondIcon_;
    return Tick::SwapIcon;
}

}  // namespace flk
