#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// The user's URL filter pattern ("Filter:"), such as "*" or
// "http://www.site.example/*.jpg". Immutable once built, so one filter can be
// shared by every worker of a crawl.
//
// The pattern is held as parts: each "*" is a part of its own and the text
// between stars forms the other parts ("a*b" -> "a", "*", "b"). Matching is
// case-sensitive, and a literal part binds to its FIRST occurrence in what is
// left of the address: "*.jpg" does not match "x.jpg.jpg", because the first
// ".jpg" does not end the address. A pattern that does not begin with "*"
// must match at the start of the address.
class UrlFilter {
public:
    // An empty pattern means "*" (match everything).
    explicit UrlFilter(std::string_view pattern = "*");

    bool MatchesFilter(std::string_view address) const;

    const std::vector<std::string>& Parts() const { return parts_; }

private:
    std::vector<std::string> parts_;
};

}  // namespace flk
