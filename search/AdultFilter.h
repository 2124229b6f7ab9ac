#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The 32 characters that split a query into words.
inline constexpr std::string_view kQueryPunctuation = "~`!@#$%^&*()_-+=|\\{[}]:;\"'<,>.?/";

// Punctuation and white space become single spaces, the ends are trimmed and
// letters lower-cased: "Red-Wine!" gives "red wine".
std::string NormaliseQuery(std::string_view query);

// True when a keyword matches the query. A keyword with a space inside is a
// phrase and matches as a substring of the normalised query; a single word
// matches when some query word begins it ("win" matches "wine", "wines" does
// not). Keywords keep their punctuation but lose surrounding white space and
// line ends. Keywords and query words of one character never match: entries
// such as " x" and the "s" of "cat's" would otherwise flag everyday queries.
bool IsAdultQuery(const std::vector<std::string>& keywords, std::string_view query);

}  // namespace flk
