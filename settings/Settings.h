#pragma once
#include "settings/SettingsKeys.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramFolders.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

namespace flk {

// The settings store over "flk.ini". One object is shared by the UI thread
// and the workers; every call goes to the file, which serialises access.
class Settings {
public:
    // profilePath: the "flk.ini" to use; programFolder: the default home
    // directory when `pathexe`/`path` is not set. The other folders stay
    // unknown ("").
    Settings(std::string profilePath, std::string programFolder);
    // "flk.ini" in the folders' Windows directory, their program folder as
    // the default home.
    explicit Settings(ProgramFolders folders);

    // The program's folders, as its main() found them.
    const ProgramFolders& Folders() const { return folders_; }

    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& def) const;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value);
    // Every key and value of a section, in file order.
    std::vector<std::pair<std::string, std::string>> GetProfileSection(const std::string& section) const {
        return file_.GetSection(section);
    }
    int GetProfileInt(const std::string& section, const std::string& key, int def) const;
    bool WriteProfileInt(const std::string& section, const std::string& key, int value);
    // Reads the key as a string (default: the decimal text of def) and
    // converts it with a plain decimal conversion (a non-number gives 0).
    int GetProfileDecimal(const std::string& section, const std::string& key, int def) const;

    std::string Get(const StrKey& k) const { return GetProfileString(k.section, k.key, k.def); }
    int Get(const IntKey& k) const { return GetProfileInt(k.section, k.key, k.def); }
    bool Set(const StrKey& k, const std::string& v) { return WriteProfileString(k.section, k.key, v); }
    bool Set(const IntKey& k, int v) { return WriteProfileInt(k.section, k.key, v); }
    // A decimal-string key such as `maxdepth`, converted to a number.
    int GetDecimal(const StrKey& k) const;
    // "str, unless-0" switches are on unless the value is "0";
    // "str, only-1" switches are on only when the value is "1".
    bool IsOnUnless0(const StrKey& k) const { return Get(k) != "0"; }
    bool IsOnlyOne(const StrKey& k) const { return Get(k) == "1"; }

    // The program home directory, always ending in a separator.
    std::string HomeDirectory() const;
    // The maker's web host name (configuration, default under .example).
    std::string MakerHost() const { return Get(hosts::Maker); }

    // A missing "flk.ini" or a non-zero `update`/`firsttime` is a first run.
    bool IsFirstRun() const;
    // Writes the first-run defaults, in their fixed order.
    void WriteDefaults();

    const std::string& ProfilePath() const { return file_.Path(); }

    // A value that reads in place of the file's for this run only (command
    // line options of batch runs); writes of the key still go to the file.
    void SetOverride(const std::string& section, const std::string& key, const std::string& value);
    template <class Key, class Value>
    void Override(const Key& k, const Value& v) {
        if constexpr (std::is_arithmetic_v<Value>)
            SetOverride(k.section, k.key, std::to_string(v));
        else
            SetOverride(k.section, k.key, std::string(v));
    }

private:
    bool FindOverride(const std::string& section, const std::string& key, std::string& value) const;

    ProfileFile file_;
    ProgramFolders folders_;
    mutable std::mutex overridesLock_;
    std::map<std::string, std::string> overrides_;  // "section\nkey" in lower case
};

// Plain decimal conversion: optional white space and sign, leading digits;
// anything else reads 0.
int DecimalFromText(const std::string& text);

}  // namespace flk
