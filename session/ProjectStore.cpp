#include "session/ProjectStore.h"

#include "lists/MediaLists.h"
#include "lists/PageTree.h"
#include "lists/ProjectTextFile.h"
#include "lists/SitesList.h"
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

void ProjectStore::UseSites(const std::string& sites) {
    contents_.sites.Fill(sites);
    std::lock_guard<std::mutex> lock(lock_);
    mainData_.oneSite = false;
    mainData_.lastSite = kSeveralSitesText;
}

ProjectMainData ProjectStore::MainData() const {
    std::lock_guard<std::mutex> lock(lock_);
    return mainData_;
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

bool ProjectStore::Save() {
    const ProjectLocation location = Location();
    if (!WriteProjectFile(location.FilePath(), Text())) return false;
    // The project says only "several sites"; which ones is the folder's
    // sites list, where the sites list window looks for them.
    if (!MainData().oneSite && contents_.sites.Count() > 0) {
        const CProjectTextFile history(settings_, SitesList::kHistoryFile);
        history.WriteAll(contents_.sites.Joined(), location.folder);
    }
    return true;
}

void ProjectStore::ClearContents() {
    contents_.lists.ClearAll();
    contents_.hits.Clear();
    contents_.trees.Clear();
    contents_.sites.RemoveAll();
}

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
    ClearContents();
    contents_.hits.LoadBlock(text);
    LoadTreeBlock(contents_.trees, text);
    contents_.lists.images.LoadBlock(text);
    contents_.lists.movies.LoadBlock(text);
    contents_.lists.sounds.LoadBlock(text);
    const MainDataRead main = ReadMainData(text);
    bool oneSite;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (main.oneSite) mainData_.oneSite = *main.oneSite;
        if (main.lastSite) mainData_.lastSite = *main.lastSite;
        oneSite = mainData_.oneSite;
    }
    if (!oneSite) {
        const CProjectTextFile history(settings_, SitesList::kHistoryFile);
        contents_.sites.Fill(history.ReadAll(Location().folder));
    }
}

bool ProjectStore::New(const std::string& path) {
    if (!CreateEmptyProject(path)) return false;
    SwitchTo(path);
    ClearContents();
    return true;
}

}  // namespace flk
