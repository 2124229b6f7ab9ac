#pragma once
#include "crawl/CrawlOptions.h"
#include "crawl/CrawlView.h"
#include "crawl/Pacing.h"
#include "crawl/UrlOptions.h"

#include <string>

namespace flk {

// The page being parsed, as the worker's crawl item holds it. The parser
// fills in the title and the matched flag.
struct PageState {
    std::string url;       // the page's address; links are resolved against it
    int depth = 0;         // 0 for a start location
    std::string title;     // set by the title scan
    bool matched = false;  // the page passed the text search (always, without one)
};

// Everything the parser needs of one crawl, read when the crawl starts and
// then only read, so all workers share one copy.
struct ParserOptions {
    UrlOptions url;              // media lists, filter, parse dll's and cgi's
    bool collectImages = true;   // `view`/`images`
    bool collectSounds = true;   // `view`/`sounds`
    bool collectMovies = true;   // `view`/`movies`
    bool pureImages = true;      // `tree`/`pure_images`
    bool showOnlySearchItems = false;  // `tree`/`show_search`: media only from matching pages
    bool stayInSearch = false;   // `crawler`/`stay_in_search`: follow links only from matching pages
    bool modernMarkup = false;   // `modern`/`markup`: source sets, video and audio, lazy and CSS pictures
    bool contentTypes = false;   // `modern`/`content`: media without a listed extension asked for their type
    bool trueSizes = false;      // `modern`/`sizes`: the file's pixel size decides "pure images", not the tag's
    SearchOptions search;        // the crawler window's text search
    Pacing pacing;
};

// The parser's part of a crawl's options, with the window's text search and
// the crawl's pauses.
ParserOptions MakeParserOptions(const CrawlOptions& crawl, const SearchOptions& search, const Pacing& pacing);

}  // namespace flk
