#pragma once
#include <string>
#include <wx/window.h>

namespace flk::ui {

// The "Filter" dialog of the lists: one field for the pattern of the rows
// to select ("*" between the pieces that must all occur). False on Cancel.
bool AskFilterPattern(wxWindow* parent, std::string& pattern);

}  // namespace flk::ui
