#include "lists/CachedCopies.h"

#include "lists/ImageCache.h"
#include "lists/ProjectFolder.h"
#include "platform/Paths.h"
#include "platform/PercentEncoding.h"

#include <dirent.h>
#include <sys/stat.h>

#include <map>
#include <memory>

namespace flk {
namespace {

std::set<std::string> PlainFiles(const std::string& folder) {
    std::set<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;  // the marker and unfinished downloads
        struct stat st {};
        // lstat: a link planted in the folder is never shown as a copy.
        if (::lstat(JoinPath(folder, name).c_str(), &st) != 0) continue;
        if (S_ISREG(st.st_mode) && st.st_size > 0) names.insert(name);
    }
    return names;
}

// "stem(1).ext" for a cache name, as the cache names a second image.
std::string SecondName(const std::string& name) {
    std::size_t dot = name.rfind('.');
    if (dot == 0) dot = std::string::npos;
    if (dot == std::string::npos) return name + "(1)";
    return name.substr(0, dot) + "(1)" + name.substr(dot);
}

}  // namespace

CachedCopies::CachedCopies(const std::string& cacheFolder, const std::vector<std::string>& addresses)
    : files_(PlainFiles(cacheFolder)) {
    std::map<std::string, std::string> owner;
    for (const std::string& address : addresses) {
        const std::string name = CacheFileName(address);
        auto [it, added] = owner.emplace(name, address);
        if (!added && it->second != address) shared_.insert(name);
    }
}

std::string CachedCopies::RelativeAddress(std::string_view address) const {
    const std::string name = CacheFileName(address);
    if (!files_.count(name) || shared_.count(name) || files_.count(SecondName(name))) return {};
    return PercentEncodeSegment(kImageCacheFolderName) + "/" + PercentEncodeSegment(name);
}

std::string PercentEncodeSegment(std::string_view name) {
    return PercentEncode(name, [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
               c == '_' || c == '~';
    });
}

}  // namespace flk
