#pragma once
#include "crawl/CrawlView.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <wx/window.h>

namespace flk {
class ProgramPicker;
class Settings;
}  // namespace flk

namespace flk::ui {

// What the list pages need of the crawler window that hosts them. The pages
// live on floors below the window, so whatever belongs to a higher floor
// (result pages, the download dialog, the stored pages of the crawl) comes
// in as a function. An empty function means the command does nothing.
struct ListPageServices {
    explicit ListPageServices(Settings& settings) : settings(settings) {}

    Settings& settings;
    // Asked for a browser or an editor when the chosen one cannot start.
    ProgramPicker* picker = nullptr;
    // "Send to Location" / "Send item to root": the start-location text.
    std::function<void(const std::string&)> setStartLocation;
    // The project folder, where the links files and reports are written.
    std::function<std::string()> projectFolder;
    // Media "Send to" / "Browser": writes the result pages from the lists and
    // returns the frame page to open ("" when nothing was written).
    std::function<std::string()> writeResultPages;
    // "Download...": the download dialog with these addresses.
    std::function<void(const std::vector<std::string>&)> download;
    // Tree "Text viewer" and the Editor button on the Crawl tab: shows the
    // page at this address as text.
    std::function<void(const std::string&)> showTextViewer;
    // "Search now": the pages the crawl stored for the off-line search.
    std::function<std::vector<std::shared_ptr<const StoredPage>>()> storedPages;
};

// One tab page of the crawler window: "Crawl", "Search", "Images", "Sounds"
// or "Movies". The window owns the pages, shows the one whose caption its
// selected tab carries, and forwards the tool-bar buttons to it.
class ListPage {
public:
    virtual ~ListPage() = default;

    virtual wxWindow* Window() = 0;
    // The tab caption: "Crawl", "Search", "Images", "Sounds" or "Movies".
    virtual std::string Caption() const = 0;
    // Called on the window's timer: brings the view up to the model (row
    // count, column captions, tree items). Cheap when the model's revision
    // has not changed since the last call.
    virtual void RefreshFromModel() = 0;

    // Button Select All.
    virtual void SelectAll() = 0;
    // "Clear List" on this tab: empties the model and the view.
    virtual void ClearList() = 0;
    // Buttons Browser and Editor: the page's "Send to" Browser / Editor.
    virtual void SendToBrowser() = 0;
    virtual void SendToEditor() = 0;
};

// "Send to" / "Editor" of a list page: opens the file just written in the
// editor, or says that `fileName` could not be written (`written` empty).
void OpenWrittenInEditor(wxWindow* parent, const ListPageServices& services, const std::string& written,
                         std::string_view fileName);

}  // namespace flk::ui
