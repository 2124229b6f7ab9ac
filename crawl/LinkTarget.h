#pragma once
#include <string>

namespace flk {

// What the page parser needs of the crawl kernel. The kernel implements it;
// every call comes from a worker thread, so each must be safe to call from
// many threads at once (the kernel guards its queue with its own lock).
class LinkTarget {
public:
    virtual ~LinkTarget() = default;

    // Queues a found address or a title line.
    //  - A link: `url` is the resolved absolute address (at most
    //    kMaxLinkLength bytes), `text` the parser's description of it (empty
    //    for a refresh or redirect), `depth` the page's depth + 1, `referrer`
    //    the address of the page it was found on.
    //  - A title line: `url` and `text` both hold "<<" + title + ">>" (see
    //    TitleLineText), `depth` is the page's own depth and `referrer` the
    //    page's address. Such an item is for the site tree, never fetched.
    virtual void AddLink(const std::string& url, const std::string& text, int depth,
                         const std::string& referrer) = 0;

    // A refresh or redirect found on a start page (depth 0) names a new start
    // location of the crawl: its site counts as a start site (level 0) from
    // now on. Called just before the AddLink of the same address.
    virtual void AddStartLocation(const std::string& url) = 0;

    // A status line text for the crawl view ("parsing [" + url + "]...").
    virtual void ShowStatus(const std::string& text) = 0;
};

}  // namespace flk
