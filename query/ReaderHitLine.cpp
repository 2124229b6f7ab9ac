#include "query/ReaderHitLine.h"

#include "platform/HtmlEntities.h"
#include "platform/TextUtil.h"
#include "platform/Utf8Text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace flk {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// Tags after which a browser starts a new line, cell or item: they separate
// the words around them, where <b> or <span> do not.
constexpr std::array<std::string_view, 40> kBreakingTags = {
    "address", "article", "aside", "blockquote", "br", "caption", "dd", "div", "dl", "dt",
    "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4", "h5",
    "h6", "header", "hr", "img", "li", "main", "nav", "ol", "option", "p",
    "pre", "section", "table", "tbody", "td", "tfoot", "th", "thead", "tr", "ul",
};

bool IsTagStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '/' || c == '!' || c == '?';
}

bool IsNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::string TagName(std::string_view tag) {
    // tag starts after "<"
    std::size_t i = 0;
    if (i < tag.size() && tag[i] == '/') ++i;
    std::size_t end = i;
    while (end < tag.size() && IsNameChar(tag[end])) ++end;
    return ToLowerAscii(tag.substr(i, end - i));
}

bool BreaksWords(const std::string& name) {
    return std::find(kBreakingTags.begin(), kBreakingTags.end(), name) != kBreakingTags.end();
}

// Where the element whose content is never shown (script, style) ends: the
// position after its closing tag, or npos when the window ends first.
std::size_t SkipHiddenContent(std::string_view s, const std::string& lower, std::size_t from, std::string_view name) {
    const std::size_t close = lower.find("</" + std::string(name), from);
    if (close == std::string::npos) return std::string::npos;
    const std::size_t gt = s.find('>', close);
    return gt == std::string_view::npos ? std::string::npos : gt + 1;
}

// What comes before the first ">" when no "<" precedes it: the end of a tag
// the window cut into ("ref=\"a.html\">", "/div>", "br>") rather than text
// such as "a > b".
bool LooksLikeTagRemainder(std::string_view s) {
    if (s.empty()) return true;
    if (s.find_first_of("=\"'/") != std::string_view::npos) return true;
    if (s.size() >= 2 && s.substr(s.size() - 2) == "--") return true;
    return std::none_of(s.begin(), s.end(), [](char c) { return IsSpace(c); });
}

// The visible text of the window with a space for each break, and whether
// the window's first and last bytes were inside text (a word may go on
// outside it) rather than at a tag or a space.
struct VisibleText {
    std::string text;
    bool openStart = false;
    bool openEnd = false;
};

VisibleText Visible(std::string_view line) {
    const std::string s = Utf8FromCutText(line);
    const std::string lower = ToLowerAscii(s);
    VisibleText v;
    std::size_t i = 0;

    // The window may start inside a script, a style, a comment or a tag.
    for (std::string_view name : {"script", "style"}) {
        const std::size_t close = lower.find("</" + std::string(name));
        if (close != std::string::npos && lower.rfind("<" + std::string(name), close) == std::string::npos) {
            const std::size_t gt = s.find('>', close);
            i = std::max(i, gt == std::string::npos ? s.size() : gt + 1);
        }
    }
    if (i == 0) {
        const std::size_t comment = s.find("-->");
        if (comment != std::string::npos && s.rfind("<!--", comment) == std::string::npos) i = comment + 3;
    }
    if (i == 0) {
        const std::size_t gt = s.find('>');
        const std::size_t lt = s.find('<');
        if (gt != std::string::npos && (lt == std::string::npos || gt < lt) &&
            LooksLikeTagRemainder(std::string_view(s).substr(0, gt)))
            i = gt + 1;
    }
    if (i == 0 && !s.empty()) {
        // Text from the first byte: perhaps the end of an entity ("amp; ").
        const std::size_t semi = s.find(';');
        if (semi != std::string::npos && semi < 10 && IsEntityRemainder(s)) i = semi + 1;
        v.openStart = i < s.size() && !IsSpace(s[i]) && s[i] != '<';
    }

    bool lastWasText = false;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '<' && i + 1 < s.size() && IsTagStart(s[i + 1])) {
            lastWasText = false;
            if (s.compare(i, 4, "<!--") == 0) {
                const std::size_t end = s.find("-->", i + 4);
                i = end == std::string::npos ? s.size() : end + 3;
                continue;
            }
            const std::string name = TagName(std::string_view(s).substr(i + 1));
            const std::size_t gt = s.find('>', i + 1);
            if (gt == std::string::npos) break;  // the window ends inside the tag
            if ((name == "script" || name == "style") && s[i + 1] != '/') {
                i = SkipHiddenContent(s, lower, gt + 1, name);
                if (i == std::string::npos) break;
                v.text += ' ';
                continue;
            }
            if (BreaksWords(name)) v.text += ' ';
            i = gt + 1;
            continue;
        }
        if (c == '<' && i + 1 == s.size()) break;  // a tag cut after its "<"
        if (c == '&') {
            const std::size_t n = DecodeHtmlEntity(std::string_view(s).substr(i), v.text);
            if (n > 0) {
                i += n;
                lastWasText = true;
                continue;
            }
            // A reference the window cut: "&am" at its end.
            std::size_t k = i + 1;
            while (k < s.size() && (IsNameChar(s[k]) || s[k] == '#')) ++k;
            if (k == s.size()) break;
        }
        v.text += c;
        lastWasText = !IsSpace(c);
        ++i;
    }
    v.openEnd = lastWasText && i >= s.size();
    return v;
}

// Spaces of every kind (the no-break space too) as one space, none at the ends.
std::string Collapse(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool space = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\xC2\xA0") == 0) {
            ++i;
            space = true;
            continue;
        }
        if (IsSpace(text[i])) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out += ' ';
        space = false;
        out += text[i];
    }
    return out;
}

// The byte ranges of every keyword occurrence, overlapping ones included.
std::vector<bool> KeywordMask(const std::string& text, const std::vector<std::string>& keywords) {
    std::vector<bool> mask(text.size(), false);
    const std::string lowerText = ToLowerAscii(text);
    for (const std::string& keyword : keywords) {
        const std::string key = ToLowerAscii(Collapse(Utf8FromCutText(keyword)));
        if (key.empty()) continue;
        for (std::size_t at = lowerText.find(key); at != std::string::npos; at = lowerText.find(key, at + 1))
            std::fill(mask.begin() + static_cast<std::ptrdiff_t>(at),
                      mask.begin() + static_cast<std::ptrdiff_t>(at + key.size()), true);
    }
    return mask;
}

bool AnyMarked(const std::vector<bool>& mask, std::size_t from, std::size_t to) {
    return std::any_of(mask.begin() + static_cast<std::ptrdiff_t>(from), mask.begin() + static_cast<std::ptrdiff_t>(to),
                       [](bool b) { return b; });
}

// The collapsed text with cut words dropped, and the mask over it.
struct ReaderText {
    std::string text;
    std::vector<bool> mask;
    bool cutStart = false;
    bool cutEnd = false;
};

ReaderText Read(std::string_view line, const std::vector<std::string>& keywords) {
    const VisibleText v = Visible(line);
    ReaderText r;
    std::string text = Collapse(v.text);
    std::vector<bool> mask = KeywordMask(text, keywords);
    std::size_t from = 0, to = text.size();
    if (v.openStart) {
        const std::size_t space = text.find(' ');
        if (space != std::string::npos && !AnyMarked(mask, 0, space)) from = space + 1;
        r.cutStart = true;
    }
    if (v.openEnd) {
        const std::size_t space = text.rfind(' ');
        if (space != std::string::npos && space >= from && !AnyMarked(mask, space + 1, text.size())) to = space;
        r.cutEnd = true;
    }
    r.text = text.substr(from, to - from);
    r.mask.assign(mask.begin() + static_cast<std::ptrdiff_t>(from), mask.begin() + static_cast<std::ptrdiff_t>(to));
    if (r.text.empty()) r.cutStart = r.cutEnd = false;
    return r;
}

void AppendEscaped(std::string_view text, std::size_t& i, std::string& out) {
    std::uint32_t cp = 0;
    const std::size_t n = Utf8SequenceAt(text, i, &cp);
    if (n == 0) {  // cannot happen on text made by Read; kept safe anyway
        out += "&#65533;";
        ++i;
        return;
    }
    i += n;
    switch (cp) {
        case '&': out += "&amp;"; return;
        case '<': out += "&lt;"; return;
        case '>': out += "&gt;"; return;
        case '"': out += "&quot;"; return;
        default: break;
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else {
        out += "&#" + std::to_string(cp) + ";";
    }
}

}  // namespace

std::string HitLineText(std::string_view line, const std::vector<std::string>& keywords) {
    const ReaderText r = Read(line, keywords);
    std::string out;
    if (r.cutStart) out += std::string(kEllipsis) + " ";
    out += r.text;
    if (r.cutEnd) out += " " + std::string(kEllipsis);
    return out;
}

std::string HitLineHtml(std::string_view line, const std::vector<std::string>& keywords) {
    const ReaderText r = Read(line, keywords);
    std::string out;
    if (r.cutStart) out += "&#8230; ";
    bool marking = false;
    for (std::size_t i = 0; i < r.text.size();) {
        if (r.mask[i] != marking) {
            out += r.mask[i] ? "<mark>" : "</mark>";
            marking = r.mask[i];
        }
        AppendEscaped(r.text, i, out);
    }
    if (marking) out += "</mark>";
    if (r.cutEnd) out += " &#8230;";
    return out;
}

}  // namespace flk
