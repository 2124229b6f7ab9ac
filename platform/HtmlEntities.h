#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace flk {

// Reads the character reference at the start of text ("&amp;", "&eacute;",
// "&#233;", "&#xE9;"; a numeric one may lack its ";") and appends its
// character as UTF-8. Returns the bytes read, 0 when text does not start
// with a reference this knows (the "&" is then plain text). Names are the
// common ones of pages, in their usual letter case.
std::size_t DecodeHtmlEntity(std::string_view text, std::string& out);

// True for the name or number part of a reference ("amp;", "#39;", "x27;",
// "39;"), so text that starts in the middle of one can drop it.
bool IsEntityRemainder(std::string_view text);

}  // namespace flk
