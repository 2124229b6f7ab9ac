#include "lists/ProjectTextFile.h"

#include "settings/Settings.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"

namespace flk {

CProjectTextFile::CProjectTextFile(const Settings& settings, std::string fileName)
    : settings_(settings), fileName_(std::move(fileName)) {}

std::string CProjectTextFile::PathIn(const std::string& folder) const {
    return JoinPath(folder.empty() ? settings_.Get(keys::ProjectPath) : folder, fileName_);
}

std::string CProjectTextFile::ReadAll(const std::string& folder) const {
    std::vector<std::string> lines;
    if (!ReadTextLines(PathIn(folder), lines)) return "";
    std::string text;
    for (const auto& l : lines) text += l;
    return text;
}

bool CProjectTextFile::WriteAll(const std::string& text, const std::string& folder) const {
    return WriteTextModeFile(PathIn(folder), text);
}

}  // namespace flk
