#include "ui/WxProgramPicker.h"

#include "ui/MessageBox.h"
#include "ui/XrcSupport.h"

#include <sys/stat.h>
#include <unistd.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

namespace flk::ui {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string WxProgramPicker::FindProgram(const std::string& title) {
    // Programs on Linux carry no extension, so every file is offered and
    // the choice is checked instead.
    wxFileDialog dialog(parent_, ToDisplay(title), wxFileName::GetHomeDir(), "", "All files|*",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    while (dialog.ShowModal() == wxID_OK) {
        const std::string path = dialog.GetPath().utf8_string();
        if (IsExecutableFile(path)) return path;
        ShowMessageBox(parent_, path + " is not a program.", title, wxOK | wxICON_EXCLAMATION);
    }
    return std::string();
}

}  // namespace flk::ui
