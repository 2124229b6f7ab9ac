#pragma once
#include <string>

namespace flk {

class PageTrees;

// The three site maps of the "Create site map" menu.
enum class SiteMapKind {
    Html,      // "To Browser": "SiteMap.html"
    Text,      // "To Editor": "SiteMap.txt"
    JavaTree,  // "Java tree...": "SiteTree.htm" and its frame page "MainFrame.html"
};

// Writes the site map of the shown tree (the titles tree in titles mode) into
// the folder. The HTML and text maps follow the items as the tree shows them;
// the applet page expands the tree completely first. Returns the file to open
// (the frame page for the applet), "" when nothing could be written.
std::string WriteSiteMap(PageTrees& trees, const std::string& folder, SiteMapKind kind, const std::string& makerSite);

}  // namespace flk
