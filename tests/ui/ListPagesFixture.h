#pragma once
// What the list-page tests share: a frame to host a page, a profile whose
// browser and editor are scripts that record what they were asked to open,
// and the services a crawler window would give the pages.
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "ui/ListPage.h"

#include <string>
#include <vector>
#include <wx/frame.h>

namespace flk::test {

class ListPagesFixture {
public:
    ListPagesFixture();
    ~ListPagesFixture();

    ui::ListPageServices Services();
    // A frame of a fixed size that shows `page` filling it.
    void Host(wxWindow& page);
    // Runs pending events a few times, so that the page draws and the
    // list's selection events arrive.
    static void Settle();

    // The lines the browser and the editor scripts wrote, one per launch;
    // waits a little for a launch to arrive when `expected` lines are not
    // there yet.
    std::vector<std::string> BrowserLaunches(std::size_t expected = 1) const;
    std::vector<std::string> EditorLaunches(std::size_t expected = 1) const;

    TempDir dir;
    Settings settings;
    wxFrame* frame = nullptr;
    std::string startLocation;
    std::vector<std::string> downloads;
    std::vector<std::string> textViewer;
    std::string resultPage;  // what writeResultPages returns
    int resultPagesWritten = 0;
    std::vector<std::shared_ptr<const StoredPage>> stored;

private:
    std::vector<std::string> Launches(const std::string& file, std::size_t expected) const;
};

}  // namespace flk::test
