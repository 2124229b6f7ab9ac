#include "support/TestFolders.h"

namespace flk::test {

ProgramFolders FoldersIn(const std::string& folder) {
    ProgramFolders f;
    f.windows = folder;
    f.program = std::string(FLK_SOURCE_DIR) + "/resources";
    f.userData = folder + "/data";
    f.runtime = folder;
    f.autostart = folder + "/autostart/";
    return f;
}

}  // namespace flk::test
