#pragma once
#include <string>
#include <string_view>

namespace flk {

// Text from a page, a server or the user, made safe for a generated HTML
// page: "&", "<", ">" and '"' become entities.
std::string EscapeHtml(std::string_view text);

// An address may be written as a link only with a web, FTP or file scheme;
// anything else ("javascript:", "data:") is written as text.
bool IsLinkableAddress(std::string_view target);

}  // namespace flk
