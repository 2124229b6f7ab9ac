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
class UpdateFile;

// What a project file holds and what follows the project's folder.
struct ProjectContents {
    MediaLists& lists;
    HitList& hits;
    PageTrees& trees;
    UpdateFile& update;  // keeps its data in the project folder
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
    void SetLastSite(std::string site);
    void SetOneSite(bool oneSite);

    // The whole project file text of what is collected now.
    std::string Text() const;
    bool Save();
    // Reads the file into the lists and the tree. The folder and name switch
    // to the file even when it cannot be read.
    void Load(const std::string& path);
    bool New(const std::string& path);

private:
    void SwitchTo(const std::string& path);

    Settings& settings_;
    ProjectContents contents_;
    mutable std::mutex lock_;
    ProjectLocation location_;
    ProjectMainData mainData_;
};

}  // namespace flk
