#pragma once
#include "search/CategorySearch.h"
#include "search/ui/SearchServices.h"

#include <wx/dialog.h>
#include <wx/timer.h>

class wxGauge;
class wxListCtrl;
class wxStaticText;
class wxTreeCtrl;

namespace flk::ui {

// "Search for categories": the directory requests of a keyword search, then
// either the automatic choice (the dialog ends by itself) or the category
// tree for the user to choose from. ShowModal() returns kCategoryOk or
// kCategoryCancelled. While the requests run it shows their progress, so
// the user can cancel a directory that does not answer.
class CategoryDialog : public wxDialog, private CategoryUi {
public:
    CategoryDialog(wxWindow* parent, const SearchServices& services, SafetyScope scope,
                   const CategoryRequest& request);
    // The same over the program's sources, for a search that hands no
    // found addresses to a receiver of its own.
    CategoryDialog(wxWindow* parent, Settings& settings, UpdateFile& updateFile, InternetShare& internet,
                   const InternetOptions& network, SafetyScope scope, const CategoryRequest& request);
    ~CategoryDialog() override;
    CategorySearch& Search() { return *search_; }

private:
    void ShowInformation(const std::string& text) override;
    void OnTick();
    void ShowTree();
    void ShowSelected();
    void Finish(int result);
    void UpdateButtons();

    std::unique_ptr<CategorySearch> search_;
    wxTimer timer_;
    wxTreeCtrl* tree_;
    wxListCtrl* selected_;
    wxGauge* progress_;
    wxStaticText* status_;
    bool treeShown_ = false;
};

}  // namespace flk::ui
