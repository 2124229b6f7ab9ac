#pragma once
#include "settings/ChosenPrograms.h"

#include <string>
#include <wx/window.h>

namespace flk::ui {

// The file chooser behind "Find a browser" and "Find a Editor": any
// executable file, starting in the user's home folder.
class WxProgramPicker : public ProgramPicker {
public:
    explicit WxProgramPicker(wxWindow* parent) : parent_(parent) {}
    std::string FindProgram(const std::string& title) override;

private:
    wxWindow* parent_;
};

// Whether a chosen path can be started as a program: a regular file with an
// execute permission.
bool IsExecutableFile(const std::string& path);

}  // namespace flk::ui
