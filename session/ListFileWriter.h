#pragma once
#include <string>
#include <vector>

namespace flk {

class HitList;
class MediaLists;
class PageTrees;

// Writes the links files, reports, hit lists and site maps of everything
// collected; a list without rows writes nothing.
class ListFileWriter {
public:
    ListFileWriter(MediaLists& lists, HitList& hits, PageTrees& trees) : lists_(lists), hits_(hits), trees_(trees) {}

    // Returns the paths written into the folder.
    std::vector<std::string> Write(const std::string& folder);

private:
    MediaLists& lists_;
    HitList& hits_;
    PageTrees& trees_;
};

}  // namespace flk
