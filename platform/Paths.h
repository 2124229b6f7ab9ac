#pragma once
#include <string>

namespace flk {

// Home of "flk.ini" and the registry store: $FLK_WINDIR, else
// $XDG_CONFIG_HOME/findlark (default ~/.config/findlark). Created on demand.
std::string WindowsDirectory();

// Folder of the installed resources (templates, license, presentation).
// $FLK_PROGRAM_DIR overrides it; a build uses its source tree's resources.
std::string DefaultProgramFolder();

// Where files that belong beside the program go when the program folder is
// not writable: $XDG_DATA_HOME/findlark (default ~/.local/share/findlark).
std::string UserDataFolder();

// Per-user folder for locks and sockets: $XDG_RUNTIME_DIR, else
// /tmp/findlark-<uid>.
std::string RuntimeFolder();

// Creates the folder and its parents; true when it exists afterwards.
bool EnsureFolder(const std::string& path);
bool IsWritableFolder(const std::string& path);
bool FileExists(const std::string& path);

// Joins with "/" unless the first part already ends in "/" or "\".
std::string JoinPath(const std::string& folder, const std::string& name);

// Appends "/" unless the text already ends in "/" or "\".
std::string WithTrailingSeparator(const std::string& folder);

// The folder part of a path ("" when it has none).
std::string FolderOf(const std::string& path);

}  // namespace flk
