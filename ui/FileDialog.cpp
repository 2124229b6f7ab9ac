#include "ui/FileDialog.h"

#include "ui/XrcSupport.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

namespace flk::ui {

std::string AskWithFileDialog(wxWindow* parent, const FileQuestion& q) {
    long style = q.save ? (wxFD_SAVE | wxFD_OVERWRITE_PROMPT) : (wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    wxFileDialog dialog(parent, ToDisplay(q.title), ToDisplay(q.folder), ToDisplay(q.file), ToDisplay(q.wildcard),
                        style);
    if (dialog.ShowModal() != wxID_OK) return "";
    wxFileName chosen(dialog.GetPath());
    if (!q.defaultExtension.empty() && !chosen.HasExt()) chosen.SetExt(ToDisplay(q.defaultExtension));
    return chosen.GetFullPath().utf8_string();
}

}  // namespace flk::ui
