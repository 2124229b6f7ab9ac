#include "crawl/ParserOptions.h"

namespace flk {

ParserOptions MakeParserOptions(const CrawlOptions& crawl, const SearchOptions& search, const Pacing& pacing) {
    ParserOptions o;
    o.url = crawl.url;
    o.collectImages = crawl.collectImages;
    o.collectSounds = crawl.collectSounds;
    o.collectMovies = crawl.collectMovies;
    o.pureImages = crawl.pureImages;
    o.showOnlySearchItems = crawl.showOnlySearchItems;
    o.stayInSearch = crawl.stayInSearch;
    o.modernMarkup = crawl.modernMarkup;
    o.contentTypes = crawl.contentTypes;
    o.trueSizes = crawl.trueSizes;
    o.search = search;
    o.pacing = pacing;
    return o;
}

}  // namespace flk
