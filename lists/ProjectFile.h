#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace flk {

class PageTrees;

// The parts of a ".crl" project file that belong to the project itself: the
// tree block, the main data block, and the file's byte form. The lists write
// and read their own blocks.

inline constexpr std::string_view kTreeMarker = "{[(TreeView)]}";
inline constexpr std::string_view kMainDataMarker = "{[(MainData)]}";

struct ProjectMainData {
    bool oneSite = true;   // "Use one URL" rather than the sites list
    std::string lastSite;  // the start-location box
};

// "\r\n\r\n{[(TreeView)]}" + the tree pairs.
std::string TreeBlock(const PageTrees& trees);
// Adds the tree pairs of a project text; false when it has no tree block.
bool LoadTreeBlock(PageTrees& trees, std::string_view projectText);

// "\r\n\r\n{[(MainData)]}\r\n{IsOneSite}" + "1"/"0" + "{LastSite}" + text.
std::string MainDataBlock(const ProjectMainData& data);

// What a project text says of the main data; a field the text lacks stays
// empty.
struct MainDataRead {
    bool found = false;
    std::optional<bool> oneSite;
    std::optional<std::string> lastSite;
};
MainDataRead ReadMainData(std::string_view projectText);

// The text a project file gives back when read line by line in text mode
// and joined without separators: CR LF pairs and line feeds vanish, so the
// CR CR LF of a saved marker comes back as one CR.
std::string JoinProjectLines(std::string_view fileBytes);

// Writes the whole text in the text-mode byte form, through a temporary
// file, so a failed save never destroys the previous project.
bool WriteProjectFile(const std::string& path, const std::string& text);
// Reads and joins a project file; "" when it cannot be read.
std::string ReadProjectFile(const std::string& path);

}  // namespace flk
