#pragma once
#include <string>
#include <string_view>

namespace flk {

// True for text that names a local file rather than a web address: it
// contains "\", begins with "/", or begins with "file://".
bool IsLocalPath(std::string_view text);

// The file system path of a local-path text: "file://" is stripped.
std::string LocalFilePath(std::string_view text);

// A local path as a "file://" address: "\" becomes "/", and the characters
// that would end the path early in an address ("%", "#", "?") are
// percent-encoded. "/home/x" gives "file:///home/x", "C:\x" gives
// "file:///C:/x", "\\srv\x" gives "file://srv/x".
std::string FileAddress(std::string_view path);

}  // namespace flk
