#include "session/ProjectStore.h"

#include "lists/MediaLists.h"
#include "lists/PageTree.h"
#include "search/HitList.h"
#include "update/UpdateFile.h"

namespace flk {

ProjectStore::ProjectStore(Settings& settings, ProjectContents contents)
    : settings_(settings), contents_(contents), location_(ChooseProjectAtStart(settings)) {}

ProjectLocation ProjectStore::Location() const {
    std::lock_guard<std::mutex> lock(lock_);
    return location_;
}

void ProjectStore::SetLastSite(std::string site) {
    std::lock_guard<std::mutex> lock(lock_);
    mainData_.lastSite = std::move(site);
}

void ProjectStore::SetOneSite(bool oneSite) {
    std::lock_guard<std::mutex> lock(lock_);
    mainData_.oneSite = oneSite;
}

std::string ProjectStore::Text() const {
    ProjectMainData mainData;
    {
        std::lock_guard<std::mutex> lock(lock_);
        mainData = mainData_;
    }
    MediaLists& lists = contents_.lists;
    return lists.images.SaveBlock() + lists.movies.SaveBlock() + contents_.hits.SaveBlock() +
           lists.sounds.SaveBlock() + TreeBlock(contents_.trees) + MainDataBlock(mainData);
}

bool ProjectStore::Save() { return WriteProjectFile(Location().FilePath(), Text()); }

void ProjectStore::SwitchTo(const std::string& path) {
    const ProjectLocation chosen = RememberProjectFile(settings_, path);
    {
        std::lock_guard<std::mutex> lock(lock_);
        location_ = chosen;
    }
    contents_.update.SetProjectFolder(chosen.folder);
}

void ProjectStore::Load(const std::string& path) {
    const std::string text = ReadProjectFile(path);
    SwitchTo(path);
    contents_.hits.LoadBlock(text);
    LoadTreeBlock(contents_.trees, text);
    contents_.lists.images.LoadBlock(text);
    contents_.lists.movies.LoadBlock(text);
    contents_.lists.sounds.LoadBlock(text);
    const MainDataRead main = ReadMainData(text);
    std::lock_guard<std::mutex> lock(lock_);
    if (main.oneSite) mainData_.oneSite = *main.oneSite;
    if (main.lastSite) mainData_.lastSite = *main.lastSite;
}

bool ProjectStore::New(const std::string& path) {
    if (!CreateEmptyProject(path)) return false;
    SwitchTo(path);
    return true;
}

}  // namespace flk
