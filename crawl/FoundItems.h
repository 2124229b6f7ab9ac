#pragma once
#include "query/TextHit.h"

#include <string>
#include <string_view>

namespace flk {

// What a crawl hands to the lists and the site tree.

// Joins the fields of a found item's description.
inline constexpr std::string_view kDescriptionSeparator = ";;;";

// A page of the site tree: its address and title (or a title line, see
// TitleLineText), how deep it was found and on which page.
struct PageLine {
    std::string url;
    std::string title;
    int depth = 0;
    std::string referrer;
};

// An image, sound or movie: the resolved address, its description, and the
// page it was found on.
struct MediaItem {
    std::string url;
    std::string description;
    std::string pageTitle;
    std::string pageUrl;
    int depth = 0;
};

// The title line of a page in the site tree: "<<" + title + ">>". Such an item
// is shown, never fetched.
std::string TitleLineText(std::string_view title);
bool IsTitleLine(std::string_view text);

// alt + ";;;" + width + ";;;" + height.
std::string ImageDescription(std::string_view alt, std::string_view width, std::string_view height);

// The text in front of a link, trimmed; when longer than 50 bytes only its
// last 50 remain, with "..." in front. The cut never starts inside a UTF-8
// sequence, so the text still shows as UTF-8.
std::string TextBeforeAnchor(std::string_view text);

// TextBeforeAnchor(textBefore) + ";;;" + anchor text + ";;;" + page title +
// ";;;" + page address; anchor text and title are trimmed.
std::string LinkDescription(std::string_view textBefore, std::string_view anchorText,
                            std::string_view pageTitle, std::string_view pageUrl);

}  // namespace flk
