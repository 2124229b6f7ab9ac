#pragma once
#include <string>
#include <string_view>

namespace flk {

// The query text as it goes into a request to an outside server: letters
// and digits unchanged, CR and LF dropped, a space as "+", "&" and "="
// unchanged (the servers read them as written), every other byte as "%"
// and two upper-case hexadecimal digits.
std::string EncodeQueryText(std::string_view text);

}  // namespace flk
