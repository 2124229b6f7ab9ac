#pragma once
#include <string>
#include <vector>

namespace flk {

class HitList;
class MediaLists;
class PageTrees;
class SitesList;

// Writes the links files, reports, hit lists, site maps and URL lists of
// everything collected; a list without rows writes nothing.
class ListFileWriter {
public:
    ListFileWriter(MediaLists& lists, HitList& hits, PageTrees& trees, SitesList& sites, std::string makerSite)
        : lists_(lists), hits_(hits), trees_(trees), sites_(sites), makerSite_(std::move(makerSite)) {}

    // Returns the paths written into the folder.
    std::vector<std::string> Write(const std::string& folder);
    // "SiteTree.htm" and its frame page "MainFrame.html" of the shown tree
    // (expanded completely); the frame page's path, "" when not written.
    std::string WriteSiteTree(const std::string& folder);
    // "URLsList.htm" or "URLsList.txt" of the start sites; the path, ""
    // when not written.
    std::string WriteUrlsList(const std::string& folder, bool html);

private:
    MediaLists& lists_;
    HitList& hits_;
    PageTrees& trees_;
    SitesList& sites_;
    std::string makerSite_;
};

}  // namespace flk
