#pragma once
#include "templates/VTag.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace flk {

// Containers nested deeper than this keep their body as literal text, so a
// hostile template cannot exhaust the stack or make parsing quadratic.
inline constexpr int kMaxTemplateNesting = 64;

// The text between "[" and "]", read into its parts.
struct TagText {
    bool closing = false;
    std::string name;  // as written
    // Lower-case names in written order; a bare name has the value "true".
    std::vector<std::pair<std::string, std::string>> attributes;
};

TagText ParseTagText(std::string_view text);

// The type number of a tag name (ignoring case); -1 for a name that is no
// tag type, and for the reserved "ntag".
int LookupTagType(std::string_view name);

// A node of the given kind, without attributes.
std::unique_ptr<VTag> CreateTag(int cTyp, std::string tagType);

// Parses template text into children of `container`.
void BuildTagTree(VTag& container, std::string_view text);

}  // namespace flk
