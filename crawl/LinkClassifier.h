#pragma once
#include "crawl/LinkReport.h"
#include "crawl/ParserOptions.h"
#include "net/ParsedUrl.h"

#include <string>
#include <string_view>

namespace flk {

class LinkTarget;
class MediaSink;
class ParsedUrl;

// Receives the targets of a page in the order the scans find them.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void Report(const LinkReport& report) = 0;
};

// Text shaped like an e-mail address ("me@site.example", "mailto:me@x.example"):
// after removing "mailto:" and quotes, a non-empty name before the first "@"
// and a domain after it with a "." and no second "@"; neither may hold a
// space or any of , \ / ; : ( ) { } [ ] % = & < >.
bool LooksLikeEmail(std::string_view text);

// Routes each report of one page: title lines and page links to the kernel,
// media to the lists, everything else nowhere.
//  - The title line goes to AddLink as it is.
//  - Other targets are resolved against the page address. Text beginning with
//    "gopher://", "mailto:" or "file://", e-mail addresses, addresses whose
//    scheme is not http, https, ftp or file, and addresses longer than
//    kMaxLinkLength are not followed.
//  - A refresh or redirect that passes the filter is queued at depth + 1; on
//    a start page it also becomes a start location.
//  - An image source goes to the images list, a link to the list its
//    extension belongs to (images, then sounds, then movies), when that list
//    is collected and, with show-only-search-items, the page matched. With
//    content types on, an image source or a video or audio file that names
//    no listed extension goes to the lists' content check instead.
//  - Any other link is queued at depth + 1 when it may be followed (query
//    addresses only with parse dll's and cgi's, the filter) and, with stay in
//    search, the page matched.
class LinkClassifier : public ReportSink {
public:
    // The page state is read at each report: scan 2 sets the matched flag
    // before any link is reported.
    LinkClassifier(const PageState& page, const ParserOptions& options, LinkTarget& links, MediaSink& media)
        : page_(page), options_(options), links_(links), media_(media) {}

    void Report(const LinkReport& report) override { ClassifyLink(report.url, report.kind, report.description); }
    void ClassifyLink(std::string_view url, std::string_view kind, const std::string& description);

private:
    // A medium the address does not place: with content types on, its
    // Content-Type will (http and https only).
    void ToContentCheck(const ParsedUrl& url, const std::string& description);
    void ToMediaList(MediaKindList list, const std::string& url, const std::string& description);
    // The page's address split, for joining its links; split again only
    // when the page's address changed.
    const ParsedUrl& PageUrl();

    const PageState& page_;
    ParsedUrl pageUrl_;
    bool pageUrlSplit_ = false;
    const ParserOptions& options_;
    LinkTarget& links_;
    MediaSink& media_;
};

}  // namespace flk
