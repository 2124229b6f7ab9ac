#include "ui/ListPage.h"

#include "settings/ChosenPrograms.h"
#include "ui/MessageBox.h"

namespace flk::ui {

void OpenWrittenInEditor(wxWindow* parent, const ListPageServices& services, const std::string& written,
                         std::string_view fileName) {
    if (written.empty()) {
        ShowMessageBox(parent, "Could not write " + std::string(fileName), "Send to", wxOK | wxICON_EXCLAMATION);
        return;
    }
    OpenInEditor(services.settings, written, services.picker);
}

}  // namespace flk::ui
