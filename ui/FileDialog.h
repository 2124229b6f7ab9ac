#pragma once
#include <functional>
#include <string>
#include <wx/window.h>

namespace flk::ui {

// A file the windows ask the user for.
struct FileQuestion {
    std::string title;
    std::string wildcard;       // "Label|*.a;*.b|Label|*.*"
    std::string folder;         // where the chooser starts
    std::string file;           // the name filled in
    std::string defaultExtension;  // added to a name typed without one
    bool save = false;          // a file to create (asks before replacing)
};
// The chosen path, or "" when the user cancelled. Windows hold one of
// these, so tests can answer in place of the chooser.
using FileAsker = std::function<std::string(wxWindow* parent, const FileQuestion& question)>;
std::string AskWithFileDialog(wxWindow* parent, const FileQuestion& question);

}  // namespace flk::ui
