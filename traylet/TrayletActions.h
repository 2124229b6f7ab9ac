#pragma once
#include <string>

namespace flk {

// What the menu and the messages do. Values are read when the command runs,
// so a changed registry value is in force at once.
class TrayletActions {
public:
    explicit TrayletActions(std::string windowsFolder);

    // Runs `module` as an argument vector; false (nothing done) when it is
    // missing or empty, or did not start.
    bool Search() const;
    // Opens `gotosite` with `gotositeparam` (or `emailnotify` with its
    // parameters): a program runs with them, anything else goes to the
    // desktop's opener.
    bool GoToSite() const;
    bool MailNotify() const;

private:
    std::string windowsFolder_;
};

}  // namespace flk
