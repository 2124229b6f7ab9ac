#pragma once
#include <string>

namespace flk {

class Settings;

// One text file in the project folder, such as "DomainsHistory.txt", read and
// replaced whole.
class CProjectTextFile {
public:
    CProjectTextFile(const Settings& settings, std::string fileName);

    // The lines joined with nothing between them; "" when the file cannot
    // be read. An empty folder means the project folder of the profile.
    std::string ReadAll(const std::string& folder = "") const;
    // Replaces the file; false (and nothing written) when it cannot be.
    bool WriteAll(const std::string& text, const std::string& folder = "") const;

private:
    std::string PathIn(const std::string& folder) const;
    const Settings& settings_;
    std::string fileName_;
};

}  // namespace flk
