#pragma once
#include "crawl/LinkClassifier.h"
#include "crawl/ParserOptions.h"

#include <atomic>
#include <cstddef>
#include <string_view>

namespace flk {

class CrawlView;
class HitSink;
class LinkTarget;
class MediaSink;

// Titles and anchor texts longer than this are cut: they are copied into the
// description of every link and medium of their page.
inline constexpr std::size_t kMaxTitleLength = 1024;
inline constexpr std::size_t kMaxAnchorTextLength = 1024;

// Where a parsed page's results go.
struct ParserOutputs {
    LinkTarget& links;  // links, title lines, start locations, status texts
    MediaSink& media;   // images, sounds, movies
    HitSink& hits;      // text-search hits
    CrawlView& view;    // stored pages for the off-line search
};

// Parses one page: plain-text scans over the page and a lower-case copy of it
// (no document tree), each searching in the copy and cutting values from the
// received text, so addresses and texts keep their case. In order:
//   1. title: the text between "<title>" and the next "</title>"; shorter
//      than 2 bytes, the first 31 or so bytes of visible text + "...";
//      reported as the title line "<<title>>";
//   2. text search, when there is a search text: sets page.matched and adds a
//      hit; without one every page counts as matched;
//   3. images (images list on): <img> src, alt, width, height; with pure
//      images on, an image inside a link tag or with a stated width or height
//      below 100 is skipped;
//   4. links: every href attribute, with the text before the anchor and the
//      anchor text;
//   5. refresh: the url= of <meta> tags;
//   6. frames: <frame> src, when the page has a <frameset>;
//   7. embedded media: <embed> src, and <bgsound> src with the sounds list on;
//   8. the page is stored for the off-line search when that is on.
// Attribute values: spaces around "=" are skipped; a value in double or
// single quotes runs to the matching quote (spaces inside kept); an unquoted
// value ends at white space or the tag's ">". A tag without its ">" ends the
// scan for that tag kind. The scans pause between each other and after each
// found target (options.pacing), and each ends when `stop` is set.
// Linear in the page size, whatever the page holds.
void ParsePage(PageState& page, std::string_view text, const ParserOptions& options, ReportSink& reports,
               HitSink& hits, CrawlView& view, LinkTarget& status, const std::atomic<bool>& stop);

// The same, with every report routed by a LinkClassifier.
void ParsePage(PageState& page, std::string_view text, const ParserOptions& options, const ParserOutputs& out,
               const std::atomic<bool>& stop);

}  // namespace flk
