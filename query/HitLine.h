#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The words and phrases of a query that hit lines are made from: first the
// "quoted phrases" (trimmed, non-empty), then the words of the text outside
// quotes, split at runs of spaces, "!", "+", "-", "(" and ")". The operator
// words "and", "or", "near" (any letter case) are left out; "not" stays.
// «cat "big dog" -bird» gives «big dog», «cat», «bird».
std::vector<std::string> BuildKeywordList(std::string_view query);

// The sample line shown for a matching page. The first keyword (in list
// order) that occurs in `text` decides; with whole words it is searched with
// one space on each side. Unless match case is set, text and keyword are
// lower-cased and so is the line. The line is up to 30 bytes before the
// first occurrence, the keyword, and up to 30 bytes after it. Empty when no
// keyword occurs.
std::string MakeHitLine(std::string_view text, const std::vector<std::string>& keywords,
                        bool matchCase, bool wholeWords);

}  // namespace flk
