#pragma once
#include <string>
#include <string_view>

namespace flk {

// True for text that names a local file rather than a web address: it
// contains "\", begins with "/", or begins with "file://".
bool IsLocalPath(std::string_view text);

// The file system path of a local-path text: "file://" is stripped.
std::string LocalFilePath(std::string_view text);

}  // namespace flk
