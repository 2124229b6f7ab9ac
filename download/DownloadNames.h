#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace flk {

// The file name a download of `url` is saved under: the text after the
// address's last "/" or "\", trimmed, without control bytes, cut to a length
// every file system takes. "" when nothing usable is left ("", "." or ".."),
// so the caller asks for a name instead. Never holds a separator, so a name
// from a server cannot leave the chosen folder.
std::string DownloadFileName(std::string_view url);

// folder + "/" (unless it ends in a separator) + name.
std::string DownloadTarget(const std::string& folder, const std::string& name);

// The rename rule: "name (1).ext", then "(2)", ... until `taken` says no.
// The extension starts at the last "." of the file name (a leading dot
// starts no extension).
std::string RenamedPath(const std::string& path, const std::function<bool(const std::string&)>& taken);

// Where a download grows until it is complete, and the note beside it that
// holds its address, so a later run can continue it.
std::string PartPath(const std::string& target);
std::string PartNotePath(const std::string& target);

}  // namespace flk
