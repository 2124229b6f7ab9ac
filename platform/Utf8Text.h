#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace flk {

// Appends the UTF-8 form of a code point; one outside Unicode, a surrogate
// or 0 becomes U+FFFD.
void AppendUtf8(std::uint32_t codePoint, std::string& out);

// Reads the code point at text[pos] when a valid UTF-8 sequence starts
// there: its length in bytes, 0 when none does.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos, std::uint32_t* codePoint = nullptr);

// True when the whole text is valid UTF-8.
bool IsUtf8(std::string_view text);

// Each byte read as a Latin-1 character (a NUL becomes U+FFFD).
std::string Utf8FromLatin1(std::string_view text);

// Text of a page cut at arbitrary bytes made into valid UTF-8: a sequence
// the cut broke at either end is dropped when the rest is UTF-8, and text
// that is not UTF-8 is read as Latin-1, one character per byte.
std::string Utf8FromCutText(std::string_view text);

}  // namespace flk
