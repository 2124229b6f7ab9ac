#include "crawl/FoundItems.h"

#include "platform/TextUtil.h"

namespace flk {

std::string TitleLineText(std::string_view title) {
    std::string out = "<<";
    out += title;
    out += ">>";
    return out;
}

bool IsTitleLine(std::string_view text) { return text.starts_with("<<"); }

std::string ImageDescription(std::string_view alt, std::string_view width, std::string_view height) {
    std::string out(alt);
    out += kDescriptionSeparator;
    out += width;
    out += kDescriptionSeparator;
    out += height;
    return out;
}

std::string TextBeforeAnchor(std::string_view text) {
    constexpr std::size_t kMax = 50;
    text = Trim(text);
    if (text.size() <= kMax) return std::string(text);
    std::string_view tail = text.substr(text.size() - kMax);
    while (!tail.empty() && (static_cast<unsigned char>(tail[0]) & 0xC0) == 0x80) tail.remove_prefix(1);
    std::string out = "...";
    out += tail;
    return out;
}

std::string LinkDescription(std::string_view textBefore, std::string_view anchorText,
                            std::string_view pageTitle, std::string_view pageUrl) {
    std::string out = TextBeforeAnchor(textBefore);
    out += kDescriptionSeparator;
    out += Trim(anchorText);
    out += kDescriptionSeparator;
    out += Trim(pageTitle);
    out += kDescriptionSeparator;
    out += pageUrl;
    return out;
}

}  // namespace flk
