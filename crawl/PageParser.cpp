#include "crawl/PageParser.h"

#include "crawl/CrawlView.h"
#include "crawl/FoundItems.h"
#include "crawl/LinkTarget.h"
#include "crawl/MediaExtensions.h"
#include "crawl/SrcSet.h"
#include "platform/TextUtil.h"
#include "query/PageTest.h"
#include "query/QueryEvaluator.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>

namespace flk {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Every position of one byte in a page, found in one pass.
using Positions = std::vector<std::size_t>;

Positions PositionsOf(std::string_view hay, char c) {
    Positions out;
    for (std::size_t p = hay.find(c); p != npos; p = hay.find(c, p + 1)) out.push_back(p);
    return out;
}

// The page's "<" sorted by the byte after each, in one pass: the scans for
// tags each ask for "<img", "<meta", "<source"..., and searching the page
// for each of them stopped at every "<" of the page again and again; now a
// scan tries only the "<" followed by its tag's first letter.
class TagStarts {
public:
    explicit TagStarts(std::string_view lower) {
        const Positions all = PositionsOf(lower, '<');
        std::array<std::size_t, 257> count{};
        for (std::size_t p : all) ++count[Next(lower, p) + 1];
        for (std::size_t i = 1; i < count.size(); ++i) count[i] += count[i - 1];
        begin_ = count;
        sorted_.resize(all.size());
        for (std::size_t p : all) sorted_[count[Next(lower, p)]++] = p;
    }

    // Positions of "<" + c, ascending.
    std::span<const std::size_t> Followed(char c) const {
        const auto b = static_cast<unsigned char>(c);
        return std::span<const std::size_t>(sorted_).subspan(begin_[b], begin_[b + 1] - begin_[b]);
    }

private:
    // The byte after a "<"; a "<" at the end counts as followed by 0.
    static unsigned char Next(std::string_view lower, std::size_t p) {
        return p + 1 < lower.size() ? static_cast<unsigned char>(lower[p + 1]) : 0;
    }

    Positions sorted_;
    std::array<std::size_t, 257> begin_{};
};

// First occurrence of a needle at or after a position. A scan asks with
// positions that never go back, so the last answer is reused while it still
// lies ahead: a thousand tags sharing one far ">" cost one search, not a
// thousand. Given the positions of the needle's first byte, only those are
// tried.
class ForwardFinder {
public:
    ForwardFinder(std::string_view hay, std::string_view needle) : hay_(hay), needle_(needle) {}
    ForwardFinder(std::string_view hay, std::string_view needle, std::span<const std::size_t> starts)
        : hay_(hay), needle_(needle), starts_(starts), indexed_(true) {}

    std::size_t From(std::size_t pos) {
        if (!valid_ || pos < from_ || (hit_ != npos && hit_ < pos)) {
            hit_ = pos > hay_.size() ? npos : Find(pos);
            from_ = pos;
            valid_ = true;
        }
        return hit_;
    }

private:
    std::size_t Find(std::size_t pos) {
        if (!indexed_) return hay_.find(needle_, pos);
        // Positions asked for mostly grow: go on from the last place.
        if (pos < asked_) next_ = 0;
        asked_ = pos;
        next_ = static_cast<std::size_t>(std::lower_bound(starts_.begin() + static_cast<std::ptrdiff_t>(next_),
                                                          starts_.end(), pos) - starts_.begin());
        for (; next_ < starts_.size(); ++next_) {
            const std::size_t p = starts_[next_];
            if (hay_.compare(p, needle_.size(), needle_) == 0) return p;
        }
        return npos;
    }

    std::string_view hay_;
    std::string_view needle_;
    std::span<const std::size_t> starts_;  // where the needle may begin
    bool indexed_ = false;
    std::size_t next_ = 0;  // into starts_
    std::size_t asked_ = 0;
    std::size_t from_ = 0;
    std::size_t hit_ = npos;
    bool valid_ = false;
};

bool IsNameChar(char c);

// The next attribute `name` followed by optional white space and "=" (as
// AfterEquals takes it), found from the positions of the page's "=" signs:
// attribute names ("href", "style") begin with letters that fill the text.
class AttributeNameFinder {
public:
    AttributeNameFinder(std::string_view hay, std::string_view name, const Positions& equals)
        : hay_(hay), name_(name), equals_(equals) {}

    // The start of the first such name at or after pos, or npos.
    std::size_t From(std::size_t pos) {
        if (pos < asked_) next_ = 0;
        asked_ = pos;
        next_ = static_cast<std::size_t>(std::lower_bound(equals_.begin() + static_cast<std::ptrdiff_t>(next_),
                                                          equals_.end(), pos) - equals_.begin());
        for (; next_ < equals_.size(); ++next_) {
            const std::size_t p = NameBefore(equals_[next_]);
            if (p != npos && p >= pos) return p;
        }
        return npos;
    }

private:
    // Where the name standing before the "=" at eq begins, or npos.
    std::size_t NameBefore(std::size_t eq) const {
        std::size_t e = eq;
        while (e > 0 && IsSpace(hay_[e - 1])) --e;
        if (e < name_.size()) return npos;
        const std::size_t p = e - name_.size();
        if (hay_.compare(p, name_.size(), name_) != 0) return npos;
        if (p > 0 && IsNameChar(hay_[p - 1])) return npos;
        return p;
    }

    std::string_view hay_;
    std::string_view name_;
    const Positions& equals_;
    std::size_t next_ = 0;  // into equals_
    std::size_t asked_ = 0;
};

// Last occurrence of a byte before a position, for positions that never go
// back: only the bytes between the previous question and this one are read.
class BackwardFinder {
public:
    BackwardFinder(std::string_view hay, char c) : hay_(hay), c_(c) {}

    std::size_t Before(std::size_t pos) {
        pos = std::min(pos, hay_.size());
        if (pos < upTo_) return pos == 0 ? npos : hay_.rfind(c_, pos - 1);
        const std::size_t r = hay_.substr(upTo_, pos - upTo_).rfind(c_);
        if (r != npos) last_ = upTo_ + r;
        upTo_ = pos;
        return last_;
    }

private:
    std::string_view hay_;
    char c_;
    std::size_t upTo_ = 0;
    std::size_t last_ = npos;
};

// A one-entry memo: hostile pages repeat the same question many times (many
// links sharing one far "<"), and every answer costs a walk over white space.
struct Memo {
    std::size_t key = npos;
    std::size_t value = npos;
};

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == ':';
}

// True when the tag opening at `lt` is exactly `a` ("<a href", "<a>"), not
// one whose name only begins with it ("<article", "<abbr").
bool IsLinkTag(std::string_view lower, std::size_t lt) {
    if (lt + 1 >= lower.size() || lower[lt + 1] != 'a') return false;
    return lt + 2 >= lower.size() || IsSpace(lower[lt + 2]) || lower[lt + 2] == '>';
}

// Cuts to at most `max` bytes without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view s, std::size_t max) {
    if (s.size() <= max) return s;
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

// When `name` at position p of the lower-case page stands on its own ("alt"
// in "salt" or "src" in "data-src" does not) and is followed by optional
// white space and "=" before `end`: the position just after the "=".
// Otherwise npos.
std::size_t AfterEquals(std::string_view lower, std::size_t p, std::size_t nameLength, std::size_t end) {
    if (p > 0 && IsNameChar(lower[p - 1])) return npos;
    std::size_t q = p + nameLength;
    while (q < end && IsSpace(lower[q])) ++q;
    return q < end && lower[q] == '=' ? q + 1 : npos;
}

// The position just after the "=" of the first attribute `name` inside
// [begin, end) of the lower-case page, or npos.
std::size_t FindAttribute(std::string_view lower, std::size_t begin, std::size_t end, std::string_view name) {
    const std::string_view region = lower.substr(0, end);
    while (begin < end) {
        const std::size_t p = region.find(name, begin);
        if (p == npos) return npos;
        const std::size_t eq = AfterEquals(region, p, name.size(), end);
        if (eq != npos) return eq;
        begin = p + 1;
    }
    return npos;
}

// An attribute value inside [.., end): white space skipped; a value in double
// or single quotes runs to the matching quote (or `end`), an unquoted one to
// white space or `end`. `next` is where scanning may go on.
struct Value {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

Value ReadValue(std::string_view text, std::size_t pos, std::size_t end) {
    while (pos < end && IsSpace(text[pos])) ++pos;
    Value v{pos, pos, pos};
    if (pos >= end) return v;
    const char q = text[pos];
    if (q == '"' || q == '\'') {
        const std::size_t close = text.substr(0, end).find(q, pos + 1);
        v.begin = pos + 1;
        v.end = close == npos ? end : close;
        v.next = close == npos ? end : close + 1;
        return v;
    }
    while (pos < end && !IsSpace(text[pos])) ++pos;
    v.end = v.next = pos;
    return v;
}

// The leading decimal number of a width or height ("120", "50%"); -1 when the
// value is not a number.
long LeadingNumber(std::string_view v) {
    long n = -1;
    for (char c : v) {
        if (c < '0' || c > '9') break;
        n = (n < 0 ? 0 : n) * 10 + (c - '0');
        if (n > 1000000) break;
    }
    return n;
}

class Scanner {
public:
    Scanner(PageState& page, std::string_view text, const ParserOptions& options, ReportSink& reports,
            const std::atomic<bool>& stop)
        : page_(page), text_(text), lower_(ToLowerAscii(text)), options_(options), reports_(reports), stop_(stop) {}

    bool Stopped() const { return stop_.load(std::memory_order_relaxed); }

    void Title();
    void Images();
    void Links();
    void Refresh();
    void Frames();
    void Embedded(std::string_view tag);
    // Markup of today's pages: picture sources, video and audio, lazy
    // loading, CSS backgrounds, social-card pictures.
    void Sources();
    void VideoAndAudio();
    void StyleUrls();
    void CardMedia();

private:
    std::string_view AttributeValue(std::size_t begin, std::size_t end, std::string_view name) const;
    std::string_view ImageSource(std::size_t begin, std::size_t end, std::string_view src, std::string_view width) const;
    bool HasImageExtension(std::string_view url) const;
    // A tag that shows a picture: its address is one when its extension is
    // listed, or, with content types on, whatever it is (the server's
    // Content-Type decides later).
    bool MayBeImage(std::string_view url) const { return options_.contentTypes || HasImageExtension(url); }
    void UrlsInCss(std::size_t begin, std::size_t end);
    // Calls visit(attributesBegin, tagEnd) for every tag opening with
    // `tag`; a tag without its ">" ends the scan.
    template <class Visit>
    void EachTag(std::string_view tag, Visit visit);
    std::string FallbackTitle() const;
    std::string_view TextBeforeLink(std::size_t href, BackwardFinder& lastLt, BackwardFinder& lastGt);
    std::string_view AnchorText(std::size_t gt, ForwardFinder& nextLt);
    std::string_view Cut(std::size_t begin, std::size_t end) const { return text_.substr(begin, end - begin); }
    // Finds a needle in the lower-case page; a tag ("<" and more) through
    // the page's tag starts.
    ForwardFinder Finder(std::string_view needle);
    const Positions& Equals();
    void Emit(std::string_view url, std::string_view kind, std::string description);

    PageState& page_;
    std::string_view text_;
    const std::string lower_;
    const ParserOptions& options_;
    ReportSink& reports_;
    const std::atomic<bool>& stop_;
    std::optional<TagStarts> tags_;    // every "<", once a scan asks
    std::optional<Positions> equals_;  // every "="

    Memo firstText_;    // first non-space byte at or after a position
    Memo textEnd_;      // end of the text before a position, trailing white space dropped
    Memo anchorFrom_;   // the ">" whose anchor text was read last
    std::string_view anchor_;
};

ForwardFinder Scanner::Finder(std::string_view needle) {
    if (needle.size() < 2 || needle[0] != '<') return ForwardFinder(lower_, needle);
    if (!tags_) tags_.emplace(lower_);
    return ForwardFinder(lower_, needle, tags_->Followed(needle[1]));
}

const Positions& Scanner::Equals() {
    if (!equals_) equals_ = PositionsOf(lower_, '=');
    return *equals_;
}

void Scanner::Emit(std::string_view url, std::string_view kind, std::string description) {
    url = Trim(url);
    if (url.empty()) return;
    reports_.Report(LinkReport{std::string(url), std::string(kind), std::move(description)});
    Pacing::Pause(options_.pacing.perFoundTag, &stop_);
}

void Scanner::Title() {
    std::string_view between;
    const std::size_t open = Finder("<title>").From(0);
    if (open != npos) {
        const std::size_t close = Finder("</title>").From(open + 7);
        if (close != npos) between = Cut(open + 7, close);
    }
    std::string title(CutUtf8(between, kMaxTitleLength));
    if (title.size() < 2) title = FallbackTitle();
    page_.title = title;
    Emit(TitleLineText(title), kReportTitle, {});
}

// Up to about 30 bytes of the text outside tags: each ">" trims what was
// collected and adds one space.
std::string Scanner::FallbackTitle() const {
    std::string collected;
    bool inTag = false;
    for (std::size_t i = 0; i < text_.size() && collected.size() <= 30; ++i) {
        const char c = text_[i];
        if (c == '<') {
            inTag = true;
        } else if (c == '>') {
            inTag = false;
            const std::string_view kept = Trim(collected);
            collected.erase(0, static_cast<std::size_t>(kept.data() - collected.data()));
            collected.resize(kept.size());
            collected += ' ';
        } else if (!inTag) {
            collected += c;
        }
    }
    collected += "...";
    return collected;
}

void Scanner::Images() {
    ForwardFinder images = Finder("<img");
    ForwardFinder tagEnds = Finder(">");
    BackwardFinder lastLt(lower_, '<');
    std::size_t pos = 0;
    while (!Stopped()) {
        const std::size_t start = images.From(pos);
        if (start == npos) return;
        const std::size_t end = tagEnds.From(start + 4);
        if (end == npos) return;
        pos = end + 1;

        auto attribute = [&](std::string_view name) { return AttributeValue(start + 4, end, name); };
        const std::string_view alt = attribute("alt");
        const std::string_view width = attribute("width");
        const std::string_view height = attribute("height");
        std::string_view src = attribute("src");
        if (options_.modernMarkup) src = ImageSource(start + 4, end, src, width);

        if (options_.pureImages) {
            // An image inside a link is a thumbnail; the link itself is found
            // by the link scan. Only a stated size can make an image small.
            // A tag that states a small size is dropped here; with true
            // sizes the list also drops one whose file proves small.
            const std::size_t lt = lastLt.Before(start);
            if (lt != npos && IsLinkTag(lower_, lt)) continue;
            const long w = LeadingNumber(width), h = LeadingNumber(height);
            if ((w >= 0 && w < 100) || (h >= 0 && h < 100)) continue;
        }
        if (!MayBeImage(src)) continue;
        Emit(src, kReportImage, ImageDescription(alt, width, height));
    }
}

std::string_view Scanner::AttributeValue(std::size_t begin, std::size_t end, std::string_view name) const {
    const std::size_t eq = FindAttribute(lower_, begin, end, name);
    if (eq == npos) return {};
    const Value v = ReadValue(text_, eq, end);
    return Trim(Cut(v.begin, v.end));
}

bool Scanner::HasImageExtension(std::string_view url) const {
    const std::string lowerUrl = ToLowerAscii(url);
    const std::size_t dot = lowerUrl.rfind('.');
    const std::string_view ext = dot == npos ? std::string_view() : std::string_view(lowerUrl).substr(dot + 1);
    return InExtensionList(options_.url.media.images, ext);
}

// The picture an image tag shows at its largest: the biggest candidate of
// its source sets that is a listed image, else its plain source. Lazy pages
// keep the real address in a data- attribute and put a placeholder in src
// (a "data:" picture or a small blank file), so the data- address wins.
std::string_view Scanner::ImageSource(std::size_t begin, std::size_t end, std::string_view src,
                                      std::string_view width) const {
    for (std::string_view lazy : {"data-src", "data-original", "data-lazy-src"}) {
        const std::string_view v = AttributeValue(begin, end, lazy);
        if (!v.empty() && !StartsWithNoCase(v, "data:")) {
            src = v;
            break;
        }
    }
    std::vector<SrcSetCandidate> candidates = ParseSrcSet(AttributeValue(begin, end, "srcset"));
    if (candidates.empty()) candidates = ParseSrcSet(AttributeValue(begin, end, "data-srcset"));
    if (candidates.empty()) return src;
    if (!src.empty()) {
        // The plain source is the 1x picture, or as wide as the tag says.
        const long w = LeadingNumber(width);
        const bool widths = candidates.front().width;
        candidates.insert(candidates.begin(), SrcSetCandidate{src, widths ? (w > 0 ? double(w) : 0.0) : 1.0, widths});
    }
    for (const SrcSetCandidate& c : LargestFirst(std::move(candidates)))
        if (MayBeImage(c.url)) return c.url;
    return src;
}

// <source> in <picture> names pictures by srcset; in <video> and <audio> it
// names the file by src. <track> (subtitles) is not a medium.
template <class Visit>
void Scanner::EachTag(std::string_view tag, Visit visit) {
    ForwardFinder tags = Finder(tag);
    ForwardFinder tagEnds = Finder(">");
    std::size_t pos = 0;
    while (!Stopped()) {
        const std::size_t start = tags.From(pos);
        if (start == npos) return;
        const std::size_t end = tagEnds.From(start + tag.size());
        if (end == npos) return;
        pos = end + 1;
        visit(start + tag.size(), end);
    }
}

void Scanner::Sources() {
    EachTag("<source", [this](std::size_t attrs, std::size_t end) {
        if (attrs < end && IsNameChar(lower_[attrs])) return;
        const std::string_view src = AttributeValue(attrs, end, "src");
        if (!src.empty()) Emit(src, kReportMedia, {});
        for (const SrcSetCandidate& c : LargestFirst(ParseSrcSet(AttributeValue(attrs, end, "srcset")))) {
            if (!MayBeImage(c.url)) continue;
            if (options_.collectImages) Emit(c.url, kReportImage, ImageDescription({}, {}, {}));
            break;
        }
    });
}

void Scanner::VideoAndAudio() {
    for (std::string_view tag : {std::string_view("<video"), std::string_view("<audio")}) {
        EachTag(tag, [this](std::size_t attrs, std::size_t end) {
            if (attrs < end && IsNameChar(lower_[attrs])) return;
            const std::string_view src = AttributeValue(attrs, end, "src");
            if (!src.empty()) Emit(src, kReportMedia, {});
            const std::string_view poster = AttributeValue(attrs, end, "poster");
            if (!poster.empty() && options_.collectImages && MayBeImage(poster))
                Emit(poster, kReportImage, ImageDescription({}, {}, {}));
        });
    }
}

// Pictures in style sheets: url(...) inside <style> blocks and inside style
// attributes; only listed image files count (fonts and cursors do not).
void Scanner::StyleUrls() {
    if (!options_.collectImages) return;
    ForwardFinder blocks = Finder("<style");
    ForwardFinder blockEnds = Finder("</style");
    std::size_t pos = 0;
    while (!Stopped()) {
        const std::size_t start = blocks.From(pos);
        if (start == npos) break;
        const std::size_t close = blockEnds.From(start + 6);
        const std::size_t end = close == npos ? lower_.size() : close;
        UrlsInCss(start + 6, end);
        if (close == npos) break;
        pos = close + 7;
    }
    AttributeNameFinder styles(lower_, "style", Equals());
    ForwardFinder tagEnds = Finder(">");
    pos = 0;
    while (!Stopped()) {
        const std::size_t at = styles.From(pos);
        if (at == npos) return;
        pos = at + 5;
        const std::size_t eq = AfterEquals(lower_, at, 5, lower_.size());
        if (eq == npos) continue;
        const std::size_t gt = tagEnds.From(eq);
        if (gt == npos) return;
        const Value v = ReadValue(text_, eq, gt);
        UrlsInCss(v.begin, v.end);
        pos = std::max(pos, v.next);
    }
}

void Scanner::UrlsInCss(std::size_t begin, std::size_t end) {
    const std::string_view css = std::string_view(lower_).substr(0, end);
    std::size_t p = begin;
    while (!Stopped()) {
        const std::size_t u = css.find("url(", p);
        if (u == npos) return;
        std::size_t b = u + 4;
        const std::size_t close = css.find(')', b);
        if (close == npos) return;
        p = close + 1;
        // "url(" standing alone, not the end of a longer name ("myurl(").
        if (u > 0 && IsNameChar(css[u - 1]) && css[u - 1] != ':') continue;
        while (b < close && IsSpace(text_[b])) ++b;
        std::size_t e = close;
        while (e > b && IsSpace(text_[e - 1])) --e;
        if (e > b + 1 && (text_[b] == '"' || text_[b] == '\'') && text_[e - 1] == text_[b]) {
            ++b;
            --e;
        }
        const std::string_view url = Cut(b, e);
        if (HasImageExtension(url)) Emit(url, kReportImage, ImageDescription({}, {}, {}));
    }
}

// <meta property="og:image" content="..."> and its video and audio kin: the
// picture a page shows when it is shared, often the page's best one.
void Scanner::CardMedia() {
    EachTag("<meta", [this](std::size_t attrs, std::size_t end) {
        std::string property = ToLowerAscii(AttributeValue(attrs, end, "property"));
        if (property.empty()) property = ToLowerAscii(AttributeValue(attrs, end, "name"));
        if (property.ends_with(":url") || property.ends_with(":secure_url")) property.erase(property.rfind(':'));
        const std::string_view content = AttributeValue(attrs, end, "content");
        if (content.empty()) return;
        if (property == "og:image" || property == "twitter:image") {
            if (options_.collectImages && MayBeImage(content))
                Emit(content, kReportImage, ImageDescription({}, {}, {}));
        } else if (property == "og:video" || property == "og:audio") {
            Emit(content, kReportMedia, {});
        }
    });
}

// The text between the last ">" and the last "<" before an href, trimmed.
std::string_view Scanner::TextBeforeLink(std::size_t href, BackwardFinder& lastLt, BackwardFinder& lastGt) {
    const std::size_t lt = lastLt.Before(href);
    if (lt == npos) return {};
    const std::size_t gt = lastGt.Before(href);
    const std::size_t from = gt == npos ? 0 : gt + 1;
    if (from >= lt) return {};
    if (firstText_.key != from) {
        std::size_t i = from;
        while (i < text_.size() && IsSpace(text_[i])) ++i;
        firstText_ = {from, i};
    }
    if (textEnd_.key != lt) {
        std::size_t e = lt;
        while (e > 0 && IsSpace(text_[e - 1])) --e;
        textEnd_ = {lt, e};
    }
    const std::size_t b = firstText_.value, e = std::max(textEnd_.value, from);
    return b < e ? Cut(b, e) : std::string_view();
}

// The text from after the link tag's ">" to the next "<", trimmed and cut.
std::string_view Scanner::AnchorText(std::size_t gt, ForwardFinder& nextLt) {
    if (anchorFrom_.key == gt) return anchor_;
    const std::size_t lt = nextLt.From(gt + 1);
    const std::size_t end = lt == npos ? text_.size() : lt;
    std::size_t b = gt + 1;
    while (b < end && IsSpace(text_[b])) ++b;
    anchor_ = TrimRight(CutUtf8(Cut(b, end), kMaxAnchorTextLength));
    anchorFrom_.key = gt;
    return anchor_;
}

void Scanner::Links() {
    AttributeNameFinder hrefs(lower_, "href", Equals());
    ForwardFinder tagEnds = Finder(">");
    ForwardFinder tagStarts = Finder("<");
    BackwardFinder lastLt(lower_, '<');
    BackwardFinder lastGt(lower_, '>');
    std::size_t pos = 0;
    while (!Stopped()) {
        const std::size_t href = hrefs.From(pos);
        if (href == npos) return;
        pos = href + 4;
        const std::size_t eq = AfterEquals(lower_, href, 4, lower_.size());
        if (eq == npos) continue;  // "href" in text, or part of another name
        const std::size_t gt = tagEnds.From(eq);
        if (gt == npos) return;
        const Value v = ReadValue(text_, eq, gt);
        pos = std::max(pos, v.next);
        const std::string_view before = TextBeforeLink(href, lastLt, lastGt);
        const std::string_view anchor = AnchorText(gt, tagStarts);
        Emit(Cut(v.begin, v.end), kReportUrl, LinkDescription(before, anchor, page_.title, page_.url));
    }
}

void Scanner::Refresh() {
    ForwardFinder metas = Finder("<meta");
    ForwardFinder tagEnds = Finder(">");
    std::size_t pos = 0;
    while (!Stopped()) {
        const std::size_t start = metas.From(pos);
        if (start == npos) return;
        const std::size_t end = tagEnds.From(start + 5);
        if (end == npos) return;
        pos = end + 1;
        // content="0; url=next.html" or content='0; url=next.html'
        std::size_t p = FindAttribute(lower_, start + 5, end, "url");
        if (p == npos) continue;
        while (p < end && IsSpace(text_[p])) ++p;
        if (p < end && text_[p] == '\'') ++p;
        const std::size_t stopAt = std::min(end, text_.substr(0, end).find_first_of("\"'", p));
        Emit(Cut(p, stopAt), kReportNewDomain, {});
    }
}

void Scanner::Frames() {
    const std::size_t frameset = Finder("<frameset").From(0);
    if (frameset == npos) return;
    ForwardFinder frames = Finder("<frame");
    ForwardFinder tagEnds = Finder(">");
    std::size_t pos = frameset;
    while (!Stopped()) {
        const std::size_t start = frames.From(pos);
        if (start == npos) return;
        // A frame tag without its ">" runs to the end of the page.
        const std::size_t gt = tagEnds.From(start + 6);
        const std::size_t end = gt == npos ? lower_.size() : gt;
        const std::size_t eq = FindAttribute(lower_, start + 6, end, "src");
        if (eq != npos) {
            const Value v = ReadValue(text_, eq, end);
            Emit(Cut(v.begin, v.end), kReportUrl, {});
        }
        if (gt == npos) return;
        pos = gt + 1;
    }
}

void Scanner::Embedded(std::string_view tag) {
    EachTag(tag, [this](std::size_t attrs, std::size_t end) {
        const std::size_t eq = FindAttribute(lower_, attrs, end, "src");
        if (eq == npos) return;
        const Value v = ReadValue(text_, eq, end);
        Emit(Cut(v.begin, v.end), kReportUrl, {});
    });
}

// Scan 2: the text search, by the same rule as the off-line search. Without a
// search text every page counts as matched.
void TextSearch(PageState& page, std::string_view text, const ParserOptions& options, HitSink& hits) {
    const PageTest test(options.search);
    if (!test.HasQuery()) {
        page.matched = true;
        return;
    }
    CQueryEvaluator evaluator;
    const std::optional<TextHit> hit = test.Test(evaluator, text, page.title, page.url);
    page.matched = hit.has_value();
    if (hit) hits.AddHit(*hit);
}

}  // namespace

void ParsePage(PageState& page, std::string_view text, const ParserOptions& options, ReportSink& reports,
               HitSink& hits, CrawlView& view, LinkTarget& status, const std::atomic<bool>& stop) {
    if (stop.load()) return;
    status.ShowStatus("parsing [" + page.url + "]...");
    Scanner scan(page, text, options, reports, stop);
    const Pacing& pacing = options.pacing;
    auto between = [&] {
        Pacing::Pause(pacing.betweenScans, &stop);
        return !stop.load();
    };

    scan.Title();
    if (!between()) return;
    TextSearch(page, text, options, hits);
    if (!between()) return;
    if (options.collectImages) {
        scan.Images();
        if (!between()) return;
    }
    scan.Links();
    if (!between()) return;
    scan.Refresh();
    if (!between()) return;
    scan.Frames();
    if (!between()) return;
    scan.Embedded("<embed");
    if (options.collectSounds && !stop.load()) scan.Embedded("<bgsound");
    if (!between()) return;
    if (options.modernMarkup) {
        scan.Sources();
        scan.VideoAndAudio();
        scan.StyleUrls();
        scan.CardMedia();
        if (!between()) return;
    }
    if (options.search.offlineSearch) view.StorePage(StoredPage{page.url, page.title, page.depth, std::string(text)});
}

void ParsePage(PageState& page, std::string_view text, const ParserOptions& options, const ParserOutputs& out,
               const std::atomic<bool>& stop) {
    LinkClassifier classifier(page, options, out.links, out.media);
    ParsePage(page, text, options, classifier, out.hits, out.view, out.links, stop);
}

}  // namespace flk
