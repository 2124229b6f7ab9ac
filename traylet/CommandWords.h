#pragma once
#include <string>
#include <vector>

namespace flk {

// Splits a stored command line into an argument vector: words end at white
// space, double quotes group words (and are dropped), "\"" inside quotes is
// a quote. Nothing is ever handed to a shell.
std::vector<std::string> SplitCommandWords(const std::string& line);

}  // namespace flk
