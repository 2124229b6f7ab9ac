#pragma once
#include <string>

namespace flk {

// The folders a program works with. Each program's main() builds this once
// from the environment and hands it down; nothing below reads the
// environment for a folder, so tests can run side by side with their own.
struct ProgramFolders {
    // Home of "flk.ini" and "registry.ini".
    std::string windows;
    // The installed resources (templates, license, presentation).
    std::string program;
    // Files that belong beside the program when its folder is not writable.
    std::string userData;
    // Locks and sockets; "" when no private folder can be had (locks and
    // sockets then fail instead of living in a folder someone else controls).
    std::string runtime;
    // The desktop's autostart entries, with its separator.
    std::string autostart;
};

// This user's folders:
//  windows   $FLK_WINDIR, else $XDG_CONFIG_HOME/findlark (~/.config/findlark), created;
//  program   $FLK_PROGRAM_DIR, else <prefix>/share/findlark beside an installed
//            program, else the build's source resources;
//  userData  $XDG_DATA_HOME/findlark (~/.local/share/findlark);
//  runtime   $XDG_RUNTIME_DIR, else /tmp/findlark-<uid> when it is private;
//  autostart $XDG_CONFIG_HOME/autostart/ (~/.config/autostart/).
ProgramFolders FoldersFromEnvironment();

}  // namespace flk
