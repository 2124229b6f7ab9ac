#pragma once
#include <string>
#include <vector>

namespace flk {

// Files written the way a Windows text-mode stream writes them: every LF
// becomes CR LF, so a "\r\n" in the text is stored as CR CR LF. Existing
// files and readers rely on that byte form.
std::string ToTextModeBytes(const std::string& text);

// Writes through a temporary file and a rename; false on any failure, and
// then the old file is left as it was.
bool WriteTextModeFile(const std::string& path, const std::string& text);
bool WriteBinaryFile(const std::string& path, const std::string& bytes);

// Splits file bytes into lines, accepting CR CR LF, CR LF and LF line ends
// (line ends dropped). A last line without a line end is kept.
std::vector<std::string> SplitTextLines(const std::string& bytes);
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace flk
