#include "lists/ProjectFolder.h"

#include "settings/Settings.h"
#include "platform/Paths.h"
#include "platform/TextModeFile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flk {

namespace {

constexpr char kCacheMarker[] = ".findlark-image-cache";

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ProjectLocation::FilePath() const { return JoinPath(folder, name); }

std::string ProjectLocation::ImageCacheFolder() const { return JoinPath(folder, kImageCacheFolderName); }

bool CreateEmptyProject(const std::string& path) { return WriteBinaryFile(path, kNewProjectText); }

ProjectLocation ChooseProjectAtStart(Settings& settings) {
    ProjectLocation p;
    p.name = settings.Get(keys::ProjectName);
    const std::string path = settings.Get(keys::ProjectPath);
    if (IsFolder(path)) {
        p.folder = path;
    } else {
        std::string base = settings.HomeDirectory();
        const std::string& userData = settings.Folders().userData;
        if (!IsWritableFolder(base) && !IsFolder(base + kProjectsFolderName) && !userData.empty())
            base = WithTrailingSeparator(userData);
        const std::string projects = base + kProjectsFolderName;
        const bool existed = IsFolder(projects);
        p.folder = JoinPath(projects, "Default");
        if (!existed) {
            EnsureFolder(p.folder);
            CreateEmptyProject(JoinPath(p.folder, kDefaultProjectName));
        }
        settings.Set(keys::ProjectPath, p.folder);
    }
    if (p.name.empty()) {
        p.name = kDefaultProjectName;
        settings.Set(keys::ProjectName, p.name);
    }
    return p;
}

bool PrepareImageCache(const std::string& cacheFolder) {
    const std::string marker = JoinPath(cacheFolder, kCacheMarker);
    if (IsFolder(cacheFolder) && FileExists(marker)) {
        if (DIR* dir = ::opendir(cacheFolder.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name == "." || name == ".." || name == kCacheMarker) continue;
                const std::string file = JoinPath(cacheFolder, name);
                struct stat st {};
                if (::lstat(file.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(file.c_str());
            }
            ::closedir(dir);
        }
        return true;
    }
    return EnsureImageCache(cacheFolder);
}

bool EnsureImageCache(const std::string& cacheFolder) {
    const bool created = !IsFolder(cacheFolder) && EnsureFolder(cacheFolder);
    if (created) WriteBinaryFile(JoinPath(cacheFolder, kCacheMarker), "");
    return IsFolder(cacheFolder);
}

ProjectLocation RememberProjectFile(Settings& settings, const std::string& path) {
    ProjectLocation p;
    const std::size_t cut = path.find_last_of("/\\");
    p.folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    p.name = cut == std::string::npos ? path : path.substr(cut + 1);
    settings.Set(keys::ProjectPath, p.folder);
    settings.Set(keys::ProjectName, p.name);
    return p;
}

}  // namespace flk
