#pragma once
#include <string>

namespace flk {

// The crawl window's text search, read when a crawl starts.
struct SearchOptions {
    std::string text;          // empty: no text search, every page counts as matched
    bool titlesOnly = false;   // search the title instead of the page
    bool textOnly = false;     // search the page's plain text, tags removed
    bool matchCase = false;
    bool wholeWords = false;
    bool offlineSearch = false;  // keep every page's text for a later search
};

}  // namespace flk
