#pragma once
#include "download/DownloadSettings.h"
#include "download/FreeSpace.h"

#include <functional>
#include <string>
#include <wx/dialog.h>

class wxCheckBox;
class wxComboBox;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticText;

namespace flk::ui {

inline constexpr char kSelectFolderTitle[] = "Select folder";

// The folder the user picks, "" when cancelled.
using FolderAsker = std::function<std::string(wxWindow* parent, const std::string& start)>;
std::string AskWithFolderDialog(wxWindow* parent, const std::string& start);

// The Download dialog: the target folder with its history, "Browse...",
// the number of files at once, the free space to leave (with what the
// folder's disk has now), whether to ask for every name and what to do with
// an existing file. It only edits the values; whoever opens it stores and
// uses them when it ends with OK.
class DownloadDialog : public wxDialog {
public:
    DownloadDialog(wxWindow* parent, const DownloadSettings& values, FreeSpaceSource freeSpace = FileSystemFreeBytes);

    // The values as the controls hold them.
    DownloadSettings Values() const;

    // "Browse...": the folder picker, then the pick into the history.
    void Browse();
    // Shows the free space of the folder in the box.
    void ShowFreeSpace();
    // The existing-file choices follow the check box.
    void UpdateChoices();

    FolderAsker askFolder = AskWithFolderDialog;

private:
    void ShowHistory();

    DownloadSettings values_;
    FreeSpaceSource freeSpace_;
    wxComboBox* folder_;
    wxSpinCtrl* threads_;
    wxSpinCtrl* free_;
    wxStaticText* freeNow_;
    wxCheckBox* askNames_;
    wxRadioButton* rename_;
    wxRadioButton* overwrite_;
    wxRadioButton* ask_;
};

}  // namespace flk::ui
