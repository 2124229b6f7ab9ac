#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// A stored hit line is a window of bytes cut out of a page: it may start
// and end inside a tag, an entity, a script, a word or a UTF-8 character.
// These turn it into what a reader of the page sees there.

// The line's text: tags dropped (the ones that end a line or a cell leave
// a space), script, style and comment text dropped, entities decoded,
// white space (and no-break spaces) collapsed to single spaces, valid
// UTF-8. A word the window cut into at either end is dropped, unless it
// holds one of `keywords` or is all there is; a cut end is marked "…".
std::string HitLineText(std::string_view line, const std::vector<std::string>& keywords);

// HitLineText as HTML: every occurrence of a keyword (ASCII letters in any
// case; overlapping ones merged) inside <mark>...</mark>, everything else
// escaped, characters past ASCII as numeric references, so the result is
// plain ASCII and reads the same in a page of any charset.
std::string HitLineHtml(std::string_view line, const std::vector<std::string>& keywords);

}  // namespace flk
