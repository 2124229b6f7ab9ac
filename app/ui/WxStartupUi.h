#pragma once
#include "app/Startup.h"

namespace flk::ui {

// Start-up questions shown as windows.
class WxStartupUi : public StartupUi {
public:
    void ShowError(const std::string& message) override;
    bool AskAgreement(const std::string& title, const std::string& text) override;
};

}  // namespace flk::ui
