#include "download/FreeSpace.h"

#include "platform/Paths.h"

#include <sys/statvfs.h>

namespace flk {

std::optional<std::uint64_t> FileSystemFreeBytes(const std::string& folder) {
    struct statvfs info {};
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

bool EnoughFreeSpace(const FreeSpaceSource& source, const std::string& targetPath, std::uint64_t neededBytes,
                     int minFreeMb) {
    if (!source) return true;
    const std::optional<std::uint64_t> free = source(FolderOf(targetPath));
    if (!free) return true;
    const std::uint64_t reserve = static_cast<std::uint64_t>(minFreeMb > 0 ? minFreeMb : 0) * 1024 * 1024;
    return *free >= neededBytes && *free - neededBytes >= reserve;
}

}  // namespace flk
