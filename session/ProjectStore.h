#pragma once
#include "lists/ProjectFile.h"
#include "lists/ProjectFolder.h"

#include <mutex>
#include <string>

namespace flk {

class HitList;
class MediaLists;
class PageTrees;
class Settings;
class SitesList;
class UpdateFile;

// What the start-location box shows in list mode.
inline constexpr char kSeveralSitesText[] = " ( Several sites ) ";

// What a project file holds and what follows the project's folder.
struct ProjectContents {
    MediaLists& lists;
    HitList& hits;
    PageTrees& trees;
    UpdateFile& update;  // keeps its data in the project folder
    SitesList& sites;    // the start sites of list mode
};

// The session's project: where it lives, its main data, and the loading and
// saving of the project file over the lists, the hits and the trees. The
// backup saves from its own thread while the window changes the location
// and the main data, so both are guarded.
class ProjectStore {
public:
    // The project at start (see ChooseProjectAtStart). The contents are only
    // referred to, not used, until the first save or load.
    ProjectStore(Settings& settings, ProjectContents contents);

    ProjectLocation Location() const;
    // One-site mode: the location typed into the box.
    void SetLastSite(std::string site);
    void SetOneSite(bool oneSite);
    // List mode: the box shows " ( Several sites ) " and the sites (a
    // sites string) are kept as the project folder's sites list.
    void UseSites(const std::string& sites);
    ProjectMainData MainData() const;

    // The whole project file text of what is collected now.
    std::string Text() const;
    // Writes the project file and, in list mode, the sites list beside it.
    bool Save();
    // Empties the lists, the hits and the trees, then reads the file into
    // them: a loaded project is exactly what was saved. The folder and name
    // switch to the file even when it cannot be read.
    void Load(const std::string& path);
    // Creates the empty project and switches to it with empty lists.
    bool New(const std::string& path);

private:
    void SwitchTo(const std::string& path);
    void ClearContents();

    Settings& settings_;
    ProjectContents contents_;
    mutable std::mutex lock_;
    ProjectLocation location_;
    ProjectMainData mainData_;
};

}  // namespace flk
