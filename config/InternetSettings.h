#pragma once
#include <string>
#include <vector>

namespace flk {

// "Internet settings...": the argument vector of the first desktop network
// settings tool installed here, or nothing when there is none (the button is
// then hidden).
std::vector<std::string> InternetSettingsCommand();

// Starts it; false when there is none or it did not start.
bool OpenInternetSettings();

}  // namespace flk
