#pragma once
#include <optional>
#include <string>

namespace flk {

// Stand-in for the Windows registry: "registry.ini" in the Windows folder,
// one profile section per key path ("HKEY_CURRENT_USER\Software\Tesk\FLKPop")
// and one entry per value. Same file rules as "flk.ini".
class RegistryStore {
public:
    // path: the "registry.ini" to use.
    explicit RegistryStore(std::string path);

    // "registry.ini" in windowsFolder.
    static RegistryStore InFolder(const std::string& windowsFolder);

    const std::string& Path() const { return path_; }

    // The value, or nothing when the key or the value is missing.
    std::optional<std::string> Read(const std::string& keyPath, const std::string& name) const;
    bool Write(const std::string& keyPath, const std::string& name, const std::string& value);

private:
    std::string path_;
};

// The key under the current user that both programs share.
inline constexpr char kTrayletRegistryKey[] = "HKEY_CURRENT_USER\\Software\\Tesk\\FLKPop";

}  // namespace flk
