#pragma once
#include <string>

namespace flk {

// The running program's file ("" when it cannot be told).
std::string RunningProgramFile();
// A program installed beside the running one (the programs share a folder),
// else the bare name, to be found in PATH.
std::string ProgramBeside(const std::string& name);

// Creates path with mode 0700 when missing; true when it is a folder (not a
// link) owned by this user, group and others shut out (a looser mode of our
// own folder is tightened), and writable.
bool MakePrivateFolder(const std::string& path);

// Creates the folder and its parents; true when it exists afterwards.
bool EnsureFolder(const std::string& path);
bool IsWritableFolder(const std::string& path);
// True when a file can really be created in the folder (a probe file is
// made and removed): unlike the permission bits this also holds for
// read-only file systems and for root.
bool CanCreateFilesIn(const std::string& folder);
bool FileExists(const std::string& path);

// Joins with "/" unless the first part already ends in "/" or "\".
std::string JoinPath(const std::string& folder, const std::string& name);

// Appends "/" unless the text already ends in "/" or "\".
std::string WithTrailingSeparator(const std::string& folder);

// The folder part of a path ("" when it has none).
std::string FolderOf(const std::string& path);

}  // namespace flk
