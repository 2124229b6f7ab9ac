#pragma once
#include "net/InternetSession.h"

namespace flk {
class FoundAddressReceiver;
class Notifier;
class Settings;
class UpdateFile;
}  // namespace flk

namespace flk::ui {

// What the search windows need from the program, the windows aside.
struct SearchServices {
    Settings& settings;
    UpdateFile& updateFile;
    InternetShare& internet;
    InternetOptions network;
    Notifier& notifier;
    FoundAddressReceiver& receiver;
};

}  // namespace flk::ui
