#pragma once
#include <string>
#include <string_view>

namespace flk {

class MediaLists;

// Text as a JSON string literal, quotes included: quotes, backslashes and
// control characters escaped, and bytes that are not UTF-8 replaced by
// U+FFFD, so any page's text makes valid JSON.
std::string JsonString(std::string_view text);

// Every row of the three lists as one JSON object a line: url, kind
// ("image", "sound", "movie"), bytes, width, height (null when unknown),
// content_type, page, alt, sha256 (null when the body was not read whole)
// and duplicates (the other addresses of the same content).
std::string MediaJsonLines(const MediaLists& lists);

}  // namespace flk
