#pragma once
#include <string>
#include <vector>

namespace flk {

// Starts a program with an argument vector (never through a shell), detached
// from this process; argv[0] is searched in PATH when it has no "/".
// True when the program was started.
bool StartDetached(const std::vector<std::string>& argv, const std::string& workDir = "");

// Opens a file or address with the desktop's handler ("open" verb).
// $FLK_OPENER names another handler program (tests use it to see the call).
bool OpenWithSystem(const std::string& target);

}  // namespace flk
