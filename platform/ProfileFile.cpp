#include "platform/ProfileFile.h"

#include "platform/FileLock.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace flk {
namespace {

// One physical line of the file: its text without the line end.
struct Line {
    std::size_t begin = 0;  // offset of the text in the file
    std::size_t end = 0;    // offset just past the text (before CR/LF)
    std::size_t next = 0;   // offset of the following line
};

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        Line line;
        line.begin = pos;
        line.next = nl == std::string::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        while (end > pos && text[end - 1] == '\r') --end;
        line.end = end;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// What a line means to the profile rules.
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // key value, trimmed, quotes kept
};

Parsed ParseLine(std::string_view raw) {
    Parsed p;
    std::string_view t = Trim(raw);
    if (t.empty() || t[0] == ';') return p;
    if (t[0] == '[') {
        std::size_t close = t.find(']');
        if (close == std::string_view::npos) return p;
        p.kind = Parsed::Section;
        p.name = std::string(Trim(t.substr(1, close - 1)));
        return p;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return p;
    std::string_view name = Trim(t.substr(0, eq));
    if (name.empty()) return p;
    p.kind = Parsed::Key;
    p.name = std::string(name);
    p.value = std::string(Trim(t.substr(eq + 1)));
    return p;
}

struct KeyLocation {
    bool sectionFound = false;
    std::size_t insertAfter = 0;  // index of the last non-blank line of the section
    bool keyFound = false;
    std::size_t keyLine = 0;
    std::string keyName;
    std::string value;
};

// Finds the key in the first section of that name, as Windows does.
KeyLocation Locate(const std::string& text, const std::vector<Line>& lines,
                   const std::string& section, const std::string& key) {
    KeyLocation loc;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view raw(text.data() + lines[i].begin, lines[i].end - lines[i].begin);
        Parsed p = ParseLine(raw);
        if (p.kind == Parsed::Section) {
            if (inside) break;
            if (EqualsNoCase(p.name, section)) {
                inside = true;
                loc.sectionFound = true;
                loc.insertAfter = i;
            }
            continue;
        }
        if (!inside) continue;
        if (!Trim(raw).empty()) loc.insertAfter = i;
        if (p.kind == Parsed::Key && EqualsNoCase(p.name, key)) {
            loc.keyFound = true;
            loc.keyLine = i;
            loc.keyName = p.name;
            loc.value = p.value;
            break;
        }
    }
    return loc;
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// Values and names must stay on their line.
std::string OneLine(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

int ProfileIntFromText(const std::string& text, int def) {
    std::string_view t = Trim(text);
    if (t.empty()) return def;
    std::size_t i = 0;
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        ++i;
    }
    long long v = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        v = v * 10 + (t[i] - '0');
        if (v > 0x80000000LL) v = 0x80000000LL;  // saturate, never overflow
    }
    if (negative) v = -v;
    if (v > 0x7fffffffLL) v = 0x7fffffffLL;
    return static_cast<int>(v);
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

bool ProfileFile::Exists() const { return ::access(path_.c_str(), F_OK) == 0; }

std::string ProfileFile::GetString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    std::string text;
    if (!ReadWholeFile(path_, text)) return def;
    KeyLocation loc = Locate(text, SplitLines(text), section, key);
    if (!loc.keyFound) return def;
    return Unquote(loc.value);
}

int ProfileFile::GetInt(const std::string& section, const std::string& key, int def) const {
    std::string text;
    if (!ReadWholeFile(path_, text)) return def;
    KeyLocation loc = Locate(text, SplitLines(text), section, key);
    if (!loc.keyFound) return def;
    return ProfileIntFromText(Unquote(loc.value), def);
}

std::vector<std::pair<std::string, std::string>> ProfileFile::GetSection(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string text;
    if (!ReadWholeFile(path_, text)) return entries;
    bool inside = false;
    for (const Line& line : SplitLines(text)) {
        const Parsed p = ParseLine(std::string_view(text.data() + line.begin, line.end - line.begin));
        if (p.kind == Parsed::Section) {
            if (inside) break;
            inside = EqualsNoCase(p.name, section);
            continue;
        }
        if (!inside || p.kind != Parsed::Key) continue;
        bool seen = false;
        for (const auto& e : entries) seen = seen || EqualsNoCase(e.first, p.name);
        if (!seen) entries.emplace_back(p.name, Unquote(p.value));
    }
    return entries;
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    const std::string sec = OneLine(std::string(Trim(section)));
    const std::string k = OneLine(std::string(Trim(key)));
    if (sec.empty() || k.empty()) return false;

    FileLock lock(path_ + ".lock", FileLock::Mode::Exclusive);
    struct stat st {};
    std::string text;
    if (::stat(path_.c_str(), &st) == 0) {
        if ((st.st_mode & S_IWUSR) == 0) return false;  // the user made it read-only
        if (!ReadWholeFile(path_, text)) return false;
    }
    const std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::vector<Line> lines = SplitLines(text);
    const KeyLocation loc = Locate(text, lines, sec, k);
    const std::string entry = (loc.keyFound ? loc.keyName : k) + "=" + OneLine(value);

    std::string out;
    out.reserve(text.size() + entry.size() + sec.size() + 8);
    if (loc.keyFound) {
        const Line& l = lines[loc.keyLine];
        out.append(text, 0, l.begin);
        out += entry;
        out.append(text, l.end, std::string::npos);
    } else if (loc.sectionFound) {
        const Line& l = lines[loc.insertAfter];
        out.append(text, 0, l.next);
        if (l.next == l.end) out += eol;  // last line had no line end
        out += entry + eol;
        out.append(text, l.next, std::string::npos);
    } else {
        out = text;
        if (!out.empty() && out.back() != '\n') out += eol;
        out += "[" + sec + "]" + eol + entry + eol;
    }
    return WriteBinaryFile(path_, out);
}

bool ProfileFile::WriteInt(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace flk
