#include "crawl/LinkClassifier.h"

#include "crawl/CrawlView.h"
#include "crawl/FoundItems.h"
#include "crawl/LinkTarget.h"
#include "net/ParsedUrl.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

constexpr std::string_view kNotInEmailName = " ,\\/;:(){}[]%=&<>";
constexpr std::string_view kNotInEmailDomain = " ,\\/><;:(){}[]%=&@";

// Schemes a crawl can use. Others ("javascript:", "data:", "news:", "tel:"
// ...) name no page: queued, they would only fail to fetch, count against the
// page limits, and with a domain level above 0 even become new "sites".
bool FollowableScheme(std::string_view scheme) {
    return scheme.empty() || scheme == "http:" || scheme == "https:" || scheme == "ftp:" || scheme == "file:";
}

}  // namespace

bool LooksLikeEmail(std::string_view text) {
    // Most links have no "@": nothing to rebuild then.
    if (text.find('@') == std::string_view::npos) return false;
    std::string s;
    text = Trim(text);
    s.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (StartsWithNoCase(text.substr(i), "mailto:")) {
            i += 7;
        } else {
            if (text[i] != '"' && text[i] != '\'') s += text[i];
            ++i;
        }
    }
    const std::size_t at = s.find('@');
    if (at == std::string::npos) return false;
    const std::string_view name = std::string_view(s).substr(0, at);
    const std::string_view domain = std::string_view(s).substr(at + 1);
    return !name.empty() && name.find_first_of(kNotInEmailName) == std::string_view::npos && !domain.empty() &&
           domain.find_first_of(kNotInEmailDomain) == std::string_view::npos &&
           domain.find('.') != std::string_view::npos;
}

void LinkClassifier::ClassifyLink(std::string_view urlText, std::string_view kind, const std::string& description) {
    urlText = Trim(urlText);
    if (urlText.empty()) return;

    if (kind == kReportTitle) {
        const std::string line(urlText);
        links_.AddLink(line, line, page_.depth, page_.url);
        return;
    }

    if (StartsWithNoCase(urlText, "gopher://") || StartsWithNoCase(urlText, "mailto:") ||
        StartsWithNoCase(urlText, "file://") || LooksLikeEmail(urlText))
        return;
    ParsedUrl url;
    url.Make(urlText, PageUrl());
    if (url.Empty() || url.Full().size() > kMaxLinkLength || !FollowableScheme(url.Scheme())) return;

    const int nextDepth = page_.depth + 1;
    if (kind == kReportNewDomain) {
        if (!options_.url.filter.MatchesFilter(url.Full())) return;
        if (page_.depth == 0) links_.AddStartLocation(url.Full());
        links_.AddLink(url.Full(), description, nextDepth, page_.url);
        return;
    }

    const MediaKindList list = options_.url.media.ListFor(url);
    if (kind == kReportImage) {
        if (list == MediaKindList::Images) {
            ToMediaList(list, url.Full(), description);
        } else if (options_.collectImages) {
            ToContentCheck(url, description);
        }
        return;
    }
    if (kind == kReportMedia) {
        if (list != MediaKindList::None) {
            ToMediaList(list, url.Full(), description);
        } else if (options_.collectSounds || options_.collectMovies) {
            ToContentCheck(url, description);
        }
        return;
    }
    if (kind != kReportUrl) return;
    if (list != MediaKindList::None) {
        ToMediaList(list, url.Full(), description);
        return;
    }
    if (options_.url.MayFollowPage(url) && (!options_.stayInSearch || page_.matched))
        links_.AddLink(url.Full(), description, nextDepth, page_.url);
}

const ParsedUrl& LinkClassifier::PageUrl() {
    if (!pageUrlSplit_ || pageUrl_.Full() != page_.url) {
        pageUrl_.Parse(page_.url);
        pageUrlSplit_ = true;
    }
    return pageUrl_;
}

void LinkClassifier::ToContentCheck(const ParsedUrl& url, const std::string& description) {
    if (!options_.contentTypes || (url.Scheme() != "http:" && url.Scheme() != "https:")) return;
    if (options_.showOnlySearchItems && !page_.matched) return;
    media_.AddByContent(MediaItem{url.Full(), description, page_.title, page_.url, page_.depth});
}

void LinkClassifier::ToMediaList(MediaKindList list, const std::string& url, const std::string& description) {
    if (options_.showOnlySearchItems && !page_.matched) return;
    MediaItem item{url, description, page_.title, page_.url, page_.depth};
    switch (list) {
    case MediaKindList::Images:
        if (options_.collectImages) media_.AddImage(item);
        break;
    case MediaKindList::Sounds:
        if (options_.collectSounds) media_.AddSound(item);
        break;
    case MediaKindList::Movies:
        if (options_.collectMovies) media_.AddMovie(item);
        break;
    case MediaKindList::None:
        break;
    }
}

}  // namespace flk
