#pragma once
#include <memory>
#include <string>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/string.h>
#include <wx/window.h>
#include <wx/xrc/xmlres.h>

namespace flk::ui {

// Registers the XRC handlers and the compiled-in dialogs; safe to call often.
void InitResources();

// Loads a dialog from the resources; a wrong name ends the program loudly,
// so a misspelt name fails the tests rather than the user.
void LoadDialog(wxDialog& dialog, wxWindow* parent, const char* name);

// The same for a panel (a page of a notebook or a part of a window).
void LoadPanel(wxPanel& panel, wxWindow* parent, const char* name);
// Loads a menu (a context menu) from the resources, failing as above.
std::unique_ptr<wxMenu> LoadPopupMenu(const char* name);

[[noreturn]] void FailMissingControl(const char* name, const char* why);

// Looks a control up by its resource name and checks its type.
template <class T>
T* Ctrl(wxWindow* parent, const char* name) {
    wxWindow* w = parent->FindWindow(XRCID(name));
    if (!w) FailMissingControl(name, "not found");
    T* t = dynamic_cast<T*>(w);
    if (!t) FailMissingControl(name, "has another type");
    return t;
}

// 8-bit text for display: UTF-8 when valid, else Latin-1.
wxString ToDisplay(const std::string& bytes);

}  // namespace flk::ui
