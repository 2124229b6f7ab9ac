#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

class Settings;
class SafetyUi;
class UpdateFile;

// Reads the adult keywords afresh for one check.
using AdultWordsReader = std::function<std::vector<std::string>()>;

// The keywords of the current update data (stored file, else the defaults).
// file and settings must outlive the reader.
AdultWordsReader UpdateDataAdultWords(UpdateFile& file, const Settings& settings);

// A typed site address: "http://" or "https://" anywhere, in any case.
bool IsSiteAddressQuery(std::string_view query);

// Text shaped like a local path: a leading "/", "X:\" or "\\".
bool IsLocalPathQuery(std::string_view query);

// The check every keyword search passes before it starts: 0 to go ahead, -1
// when it must not start. Level 1 lets keyword searches through (they use
// only the directory's categories) but refuses site addresses; level 2
// refuses site addresses and adult queries; level 3 asks the password for
// them when "Use password" is on. Local paths skip the keyword test; every
// other search that gets that far meets the warning dialog unless it was
// switched off.
int CheckSearchAllowed(Settings& settings, SafetyUi& ui, const AdultWordsReader& adultWords,
                       std::string_view query);

}  // namespace flk
