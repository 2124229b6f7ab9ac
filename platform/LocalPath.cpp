#include "platform/LocalPath.h"

#include "platform/TextUtil.h"

namespace flk {

bool IsLocalPath(std::string_view text) {
    return text.find('\\') != std::string_view::npos || (!text.empty() && text[0] == '/') ||
           StartsWithNoCase(text, "file://");
}

std::string LocalFilePath(std::string_view text) {
    if (StartsWithNoCase(text, "file://")) text.remove_prefix(7);
    return std::string(text);
}

}  // namespace flk
