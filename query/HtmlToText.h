#pragma once
#include <string>
#include <string_view>

namespace flk {

// Plain text of an HTML page for the text search: script blocks removed
// ("<script" up to its first later "</script", any letter case), tags
// dropped, text between tags kept unchanged (line breaks included), and
// entities deleted, not decoded: "&" up to and including the next ";" or
// space ("a &amp; b" gives "a  b"). The title text stays. Linear in the page.
std::string HtmlToText(std::string_view html);

}  // namespace flk
