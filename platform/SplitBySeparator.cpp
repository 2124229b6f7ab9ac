#include "platform/SplitBySeparator.h"

#include "platform/TextUtil.h"

namespace flk {

int SplitBySeparator(std::string_view text, std::string_view separator,
                     std::vector<std::string>& pieces) {
    pieces.clear();
    std::size_t pos = 0;
    if (!separator.empty()) {
        for (std::size_t hit; (hit = text.find(separator, pos)) != std::string_view::npos;
             pos = hit + separator.size())
            pieces.emplace_back(text.substr(pos, hit - pos));
    }
    std::string_view rest = Trim(text.substr(pos));
    if (!rest.empty()) pieces.emplace_back(rest);
    return static_cast<int>(pieces.size());
}

std::vector<std::string> SplitBySeparator(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    SplitBySeparator(text, separator, pieces);
    return pieces;
}

}  // namespace flk
