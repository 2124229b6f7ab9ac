#pragma once
#include <string>

namespace flk {

class Settings;

// The browser and the editor the user chose, started through the platform's
// launcher; what every window that opens a page or a file uses.

// Asks the user for a program when the configured one cannot be started.
class ProgramPicker {
public:
    virtual ~ProgramPicker() = default;
    // Shows a file chooser with this title; the chosen path, or "" when the
    // user cancels.
    virtual std::string FindProgram(const std::string& title) = 0;
};

inline constexpr char kFindBrowserTitle[] = "Find a browser";
inline constexpr char kFindEditorTitle[] = "Find a Editor";

// Opens an address or file in the browser: the desktop's default browser
// when [browser] "default" is 1, else the program of [browser] "path". When
// that cannot be started the picker is asked and the chosen program is
// remembered. False when nothing could be started.
bool OpenInBrowser(Settings& settings, const std::string& target, ProgramPicker* picker);

// Opens a file in the editor of [editor] "path", asking for one as above.
bool OpenInEditor(Settings& settings, const std::string& file, ProgramPicker* picker);

}  // namespace flk
