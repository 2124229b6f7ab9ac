#pragma once
#include <cstddef>
#include <string>

namespace flk {

// Report kinds: what a found target is.
inline constexpr char kReportTitle[] = "koteret";        // the page's title line
inline constexpr char kReportImage[] = "image";          // an <img> source
inline constexpr char kReportUrl[] = "url";              // a link, frame or embedded file
inline constexpr char kReportNewDomain[] = "NewDomain";  // a refresh or redirect target
inline constexpr char kReportMedia[] = "media";          // a sound or movie file, never a page to follow

// Longer addresses are dropped: every address found ends up in the crawl's
// queues and in the description of every link of its page, so one huge
// address must not multiply.
inline constexpr std::size_t kMaxLinkLength = 4096;

// One target found on a page, before it is resolved.
struct LinkReport {
    std::string url;          // as written on the page, trimmed
    std::string kind;         // one of the report kinds above
    std::string description;  // image: alt;;;width;;;height; link: see LinkDescription

    bool operator==(const LinkReport&) const = default;
};

}  // namespace flk
