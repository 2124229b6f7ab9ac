#pragma once
#include "settings/Settings.h"

#include <string>

namespace flk {

inline constexpr const char kInstanceMutexName[] = "FLK MUTEX";
inline constexpr int kInstanceWaitMs = 10;
inline constexpr const char kSocketsFailedMessage[] = "Windows sockets initialization failed.";
inline constexpr const char kBuiltInAgreement[] =
    "End User License Agreement\r\n\r\nRedistribution or Rental Not Permitted\r\n\r\n";

// The questions start-up asks the user; the windows answer them, tests too.
class StartupUi {
public:
    virtual ~StartupUi() = default;
    virtual void ShowError(const std::string& message) = 0;
    // True when the user pressed "I Agree".
    virtual bool AskAgreement(const std::string& title, const std::string& text) = 0;
};

enum class StartupOutcome { Proceed, InternetFailed, AgreementDeclined };

struct StartupResult {
    StartupOutcome outcome = StartupOutcome::Proceed;
    bool firstRun = false;
};

// The start-up steps after the single-instance check: internet start-up,
// first-run defaults, the end-user agreement.
StartupResult RunStartupSteps(Settings& settings, StartupUi& ui, bool internetReady);

// "Findlark   " + the version text.
std::string AgreementTitle(const Settings& settings);
// "license.txt" of the home directory, or the built-in text when it is
// missing or empty.
std::string AgreementText(const Settings& settings);

}  // namespace flk
