#include "platform/RegistryStore.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"

namespace flk {

namespace {
// No stored value can hold a line end, so this default means "missing".
const std::string kMissing = "\n";
}  // namespace

RegistryStore::RegistryStore(std::string path) : path_(std::move(path)) {}

RegistryStore RegistryStore::InFolder(const std::string& windowsFolder) {
    return RegistryStore(JoinPath(windowsFolder, "registry.ini"));
}

std::optional<std::string> RegistryStore::Read(const std::string& keyPath, const std::string& name) const {
    std::string v = ProfileFile(path_).GetString(keyPath, name, kMissing);
    if (v == kMissing) return std::nullopt;
    return v;
}

bool RegistryStore::Write(const std::string& keyPath, const std::string& name, const std::string& value) {
    return ProfileFile(path_).WriteString(keyPath, name, value);
}

}  // namespace flk
