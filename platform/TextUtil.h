#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// Byte-wise ASCII helpers: bytes above 0x7f are never changed, so markers
// and lower-cased copies keep their offsets.
inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
std::string ToLowerAscii(std::string_view s);
std::string ToUpperAscii(std::string_view s);

// White space as the C library's isspace in the "C" locale.
inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
std::string_view Trim(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
std::string TrimCopy(std::string_view s);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Splits at every separator; the text after the last one is kept as the last
// piece (an empty piece when the text ends with the separator).
std::vector<std::string> Split(std::string_view s, std::string_view sep);

}  // namespace flk
