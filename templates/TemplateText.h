#pragma once
#include <ctime>
#include <string>
#include <string_view>

namespace flk {

// Percent-encoding of everything but letters, digits and "-_.~".
std::string UrlEncode(std::string_view text);

// Numbers in attributes and variables: spaces trimmed on both sides, an
// optional sign and the digits that follow; anything else reads 0. Values
// beyond the int range are clamped.
int ParseTemplateNumber(std::string_view text);

// strftime into a string of any length; an empty or unusable format gives "".
std::string FormatTime(std::string_view format, const std::tm& when);

}  // namespace flk
