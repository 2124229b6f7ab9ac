#pragma once
#include <string>

namespace flk {

class Settings;

// Where the current project lives: the folder that receives every file
// written for the user, the ".crl" file in it, and the image cache.
struct ProjectLocation {
    std::string folder;
    std::string name;  // file name of the ".crl" file
    std::string FilePath() const;
    std::string ImageCacheFolder() const;
};

// The image cache: this folder inside the project folder.
inline constexpr char kImageCacheFolderName[] = "Images";
inline constexpr char kDefaultProjectName[] = "Default.crl";
inline constexpr char kNewProjectText[] = "New project";
inline constexpr char kProjectsFolderName[] = "FLKProjects";

// The project at start: [project] "path" when it names a folder, else the
// "Default" folder of "FLKProjects" beside the program (in the user's data
// folder when the program folder is read-only), created with an empty
// "Default.crl" on first use. An empty [project] "name" becomes
// "Default.crl" and is written back.
ProjectLocation ChooseProjectAtStart(Settings& settings);

// Empties and creates the image cache folder. Files are deleted only from a
// folder Findlark created itself (it holds a marker file), so a folder of
// the user's that happens to have the name is never emptied.
bool PrepareImageCache(const std::string& cacheFolder);
// Creates the image cache folder (with its marker) when it is missing; what
// it holds stays, since it belongs to the lists of the project it serves.
bool EnsureImageCache(const std::string& cacheFolder);

// Splits a chosen project file path into folder (with its separator) and
// name, and records both in the profile.
ProjectLocation RememberProjectFile(Settings& settings, const std::string& path);

// Writes the text of a new, empty project.
bool CreateEmptyProject(const std::string& path);

}  // namespace flk
