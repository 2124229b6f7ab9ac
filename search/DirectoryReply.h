#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// One entry of the directory service's reply.
struct DirectoryRecord {
    std::string url;    // "U="
    std::string title;  // "T="
    std::string text;   // "R=", carried unchanged
    std::string extra;  // "E=", carried unchanged
    std::string path;   // "F=", cleaned; empty for a plain web page
};

// "... - Arts - Music &amp; Dance" -> "Arts/Music & Dance": a leading
// "... - " goes, "&amp;" reads " & " (without doubling spaces already
// there), and " - " separates levels.
std::string CleanCategoryPath(std::string_view raw);

// A record's values are cut at this many bytes (a category path is cut
// before cleaning).
inline constexpr std::size_t kMaxDirectoryValue = 2048;

// Parses the line-oriented reply: a record starts at a line "U=" + address
// and takes the "T=", "R=", "E=" and "F=" lines that follow it. Lines before
// the first record and lines of other shapes are skipped; a CR before the
// line feed is not part of a value. At most `room` records are appended;
// returns how many were.
std::size_t ParseDirectoryReply(std::string_view body, std::vector<DirectoryRecord>& out, std::size_t room);

// "Query status code: 404 (Request error: Requested URL not found)" for a
// reply other than 200.
std::string DirectoryStatusText(int code);

}  // namespace flk
