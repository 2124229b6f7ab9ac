#pragma once
#include "lists/SiteChecks.h"
#include "lists/SitesList.h"

#include <string>
#include <wx/dialog.h>
#include <wx/timer.h>

class wxComboBox;
class wxListCtrl;

namespace flk {
class Settings;
}

namespace flk::ui {

// What the sites list changes in the crawler window.
class SitesListOwner {
public:
    virtual ~SitesListOwner() = default;
    // OK: crawl the sites (a start string, each address followed by ";");
    // a non-empty query goes into the text search.
    virtual void UseSitesList(const std::string& sites, const std::string& query) = 0;
    // Cancel: back to one site, with this address in the location box.
    virtual void UseOneSite(const std::string& location) = 0;
    // "Use search engine...": the search-engine dialog, whose addresses come
    // back through SitesListDialog::HandOver.
    virtual void OpenEngineSearch() = 0;
    // A hand-over that asks to start crawling.
    virtual void StartCrawl() = 0;
};

struct SitesListContext {
    Settings& settings;
    std::string projectFolder;  // where "DomainsHistory.txt" is kept
    InternetShare& internet;
    InternetOptions network;
    SitesListOwner& owner;
};

// "Domains list": the start locations of a crawl of several sites, the
// typed-location history, Add/Remove, Load/Save, the site checks, and the
// hand-over of the search-engine dialog's addresses.
class SitesListDialog : public wxDialog {
public:
    SitesListDialog(wxWindow* parent, SitesListContext context);
    ~SitesListDialog() override;

    SitesList& List() { return list_; }
    SiteChecks& Checks() { return checks_; }
    // The search-engine dialog's addresses: shown (and checked when asked),
    // or taken at once with OK, and the crawl started.
    void HandOver(const std::string& query, const std::string& sites, bool startCrawling, bool checkSites);
    // The OK and Cancel actions (the buttons call them).
    void Accept();
    void Reject();
    // A command of the list's context menu (its XRCID); the menu calls it.
    void RunMenuCommand(int id);

private:
    void AddTyped();
    void Refresh();
    void ShowMenu();
    void SendTo(int target);
    void End(int code);

    SitesListContext context_;
    SitesList list_;
    SiteChecks checks_;
    std::string query_;
    wxTimer timer_;
    wxComboBox* address_;
    wxListCtrl* sites_;
    std::uint64_t shown_ = ~0ull;
};

}  // namespace flk::ui
