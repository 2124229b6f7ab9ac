#pragma once
#include <string>
#include <vector>

namespace flk {

// Starts a program with an argument vector (never through a shell), detached
// from this process; argv[0] is searched in PATH when it has no "/".
// True when the program was started.
bool StartDetached(const std::vector<std::string>& argv, const std::string& workDir = "");

// An executable file named by a path with "/", or a name found in PATH.
bool IsRunnableProgram(const std::string& file);

// Opens a file or address with the desktop's handler ("open" verb).
// $FLK_OPENER names another handler program (tests use it to see the call).
bool OpenWithSystem(const std::string& target);

// OpenUrl flag: open the address itself with the system's handler instead
// of handing it to a browser program.
inline constexpr int kOpenUrlWithSystem = 2;

// Runs a program with its parameters as an argument vector (never through a
// shell), in directory when given; anything that is not a program (a page,
// a document, an address) is opened with the system's handler and the
// parameters are not used. A program is an executable file named by a path
// with "/", or found in PATH. 0 on success, -1 on failure. The program runs
// detached, so no process handle is handed out.
int ShellRun(const std::string& file, const std::vector<std::string>& parameters = {},
             const std::string& directory = "");

// Opens an address: with kOpenUrlWithSystem, or when no browser program is
// named, through the system's handler; else the browser is run with the
// address as its parameter. 0 on success, -1 on failure.
int OpenUrl(const std::string& address, int flags, const std::string& browserPath);

}  // namespace flk
