#include "crawl/ParserOptions.h"

#include "app/Settings.h"

namespace flk {

namespace {

bool ViewSwitch(const Settings& settings, const StrKey& key) {
    return settings.GetProfileString(key.section, key.key, "1") == "1";
}

}  // namespace

ParserOptions ReadParserOptions(Settings& settings, const SearchOptions& search) {
    ParserOptions o;
    o.url = ReadUrlOptions(settings);
    o.collectImages = ViewSwitch(settings, keys::ViewImages);
    o.collectSounds = ViewSwitch(settings, keys::ViewSounds);
    o.collectMovies = ViewSwitch(settings, keys::ViewMovies);
    o.pureImages = settings.Get(keys::TreePureImages) == 1;
    o.showOnlySearchItems = settings.IsOnUnless0(keys::TreeShowSearch);
    o.stayInSearch = settings.Get(keys::CrawlerStayInSearch) == 1;
    o.search = search;
    return o;
}

}  // namespace flk
