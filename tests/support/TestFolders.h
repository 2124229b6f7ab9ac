#pragma once
#include "platform/ProgramFolders.h"

#include <string>

namespace flk::test {

// A program's folders inside one test folder, with the resources of the
// source tree as the program folder.
ProgramFolders FoldersIn(const std::string& folder);

}  // namespace flk::test
