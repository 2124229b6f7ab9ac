#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace flk {

// Free bytes on the file system that holds a folder; nullopt when it cannot
// be told. Tests hand the manager a source of their own.
using FreeSpaceSource = std::function<std::optional<std::uint64_t>(const std::string& folder)>;

// The real source: statvfs of the folder (what an unprivileged user may use).
std::optional<std::uint64_t> FileSystemFreeBytes(const std::string& folder);

// Whether `neededBytes` more can go into the target's folder and still leave
// `minFreeMb` megabytes free. An unknown free space counts as enough.
bool EnoughFreeSpace(const FreeSpaceSource& source, const std::string& targetPath, std::uint64_t neededBytes,
                     int minFreeMb);

}  // namespace flk
