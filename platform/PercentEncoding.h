#pragma once
#include <string>
#include <string_view>

namespace flk {

// Every byte that `keep` refuses written as "%XX" (upper-case hex).
std::string PercentEncode(std::string_view text, bool (*keep)(unsigned char));

// "%XX" with two hex digits read back as its byte; any other "%" stays.
std::string PercentDecode(std::string_view text);

}  // namespace flk
