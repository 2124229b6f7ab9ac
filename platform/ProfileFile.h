#pragma once
#include <string>
#include <utility>
#include <vector>

namespace flk {

// A settings file with the rules of Windows private profiles: "[section]"
// lines open sections, "key=value" lines follow. Section and key names are
// case-insensitive and the first match wins; white space around names and
// values is trimmed and one pair of surrounding quotes is removed on read.
// Every call reads or rewrites the file under an exclusive lock that also
// holds between processes, and a write goes through a temporary file, so a
// crash never leaves a truncated file.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& Path() const { return path_; }

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const;
    // Leading optional sign and digits; a value that is no number reads 0;
    // a missing or empty value gives the default.
    int GetInt(const std::string& section, const std::string& key, int def) const;

    // Replaces the key's value in place or appends the key to its section
    // (creating the section at the end). Everything else is kept byte for
    // byte. Returns false when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value);
    bool WriteInt(const std::string& section, const std::string& key, int value);

    // Every key of the first section of that name, in file order, with its
    // value read as GetString reads it; a key repeated later is skipped, as
    // only its first value would ever be read.
    std::vector<std::pair<std::string, std::string>> GetSection(const std::string& section) const;

    bool Exists() const;

private:
    std::string path_;
};

// The integer rule of profile reads, also used on values read as strings.
int ProfileIntFromText(const std::string& text, int def);

}  // namespace flk
