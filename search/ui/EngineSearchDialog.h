#pragma once
#include "search/EngineSearch.h"
#include "search/ui/SearchServices.h"

#include <functional>
#include <memory>
#include <wx/dialog.h>
#include <wx/timer.h>

class wxCheckBox;
class wxChoice;
class wxGauge;
class wxStaticText;
class wxTextCtrl;

namespace flk::ui {

// The category question of a search run, asked with the "Search for
// categories" dialog over parent.
class WxEngineSearchUi : public EngineSearchUi {
public:
    WxEngineSearchUi(wxWindow* parent, const SearchServices& services) : parent_(parent), services_(services) {}
    int RunCategoryDialog(const CategoryRequest& request, SafetyScope scope,
                          std::vector<std::string>& addresses) override;

private:
    wxWindow* parent_;
    SearchServices services_;
};

// "Search engine dialog": the query, the engine, "Max pages amount:", "Max
// categories:", the "When finished:" boxes, Go, "Stop now" and Cancel over
// an EngineSearch. ShowModal() returns EngineSearch::kHandedOver or
// kEndedWithout. Every worker is stopped and joined before it goes.
class EngineSearchDialog : public wxDialog {
public:
    EngineSearchDialog(wxWindow* parent, const SearchServices& services, const std::string& initialQuery);
    ~EngineSearchDialog() override;
    EngineSearch& Search() { return *search_; }

private:
    void OnGo();
    void OnTick();
    void ReadFields();
    void ShowState();
    void Finish(int result);

    WxEngineSearchUi ui_;
    std::unique_ptr<EngineSearch> search_;
    wxTimer timer_;
    wxTextCtrl* query_;
    wxChoice* engine_;
    wxTextCtrl* maxPages_;
    wxTextCtrl* maxCategories_;
    wxCheckBox* startCrawling_;
    wxCheckBox* viewList_;
    wxCheckBox* checkSites_;
    wxStaticText* found_;
    wxGauge* progress_;
    wxStaticText* status_;
};

// The same run without a window, as the media-search window's keyword
// search does it: Go at once, the category question shown only when the
// user must choose, and `ended` called on the UI thread with the result.
class BackgroundEngineSearch {
public:
    BackgroundEngineSearch(wxWindow* parent, const SearchServices& services);
    ~BackgroundEngineSearch();
    // False when the run ended before it began (see EngineSearch::Go).
    bool Start(const std::string& query, const std::string& engine, std::function<void(int result)> ended);
    void StopNow();
    bool Running() const { return timer_.IsRunning(); }
    EngineSearch& Search() { return *search_; }

private:
    WxEngineSearchUi ui_;
    std::unique_ptr<EngineSearch> search_;
    wxTimer timer_;
    std::function<void(int)> ended_;
};

}  // namespace flk::ui
