#include "templates/TemplateParser.h"

#include "platform/TextUtil.h"
#include "templates/BandTags.h"
#include "templates/ValueTags.h"

#include <algorithm>
#include <array>

namespace flk {
namespace {

// Indexed by type number.
constexpr const char* kTypeNames[] = {
    "text",   "tag",    "container",   "field", "systag", "band",  "htmv",  "sqlgen",       "sqltag", "selecttag",
    "secure", "filter", "pagecontrol", "xband", "xfield", "group", "xnext", "xpagecontrol", "adv",    "ntag",
};

bool IsContainerType(int type) {
    switch (type) {
        case tagtype::Container:
        case tagtype::Band:
        case tagtype::Htmv:
        case tagtype::Secure:
        case tagtype::Filter:
        case tagtype::PageControl:
        case tagtype::XBand:
        case tagtype::Group:
        case tagtype::XPageControl:
        case tagtype::Adv: return true;
        default: return false;
    }
}

std::size_t SkipSpaces(std::string_view s, std::size_t i) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i;
}

// Where each tag-type name stands after a "[" (closing or opening), found in
// one pass, so finding the end of a container body never rescans the text
// character by character at every nesting level.
struct NameMark {
    std::size_t pos;  // the "["
    bool closing;
};
using NameIndex = std::array<std::vector<NameMark>, std::size(kTypeNames)>;

// The longest tag-type name; a longer word is no type name.
constexpr std::size_t kLongestTypeName = 12;

NameIndex IndexTypeNames(std::string_view text) {
    NameIndex index;
    for (std::size_t j = text.find('['); j != std::string_view::npos; j = text.find('[', j + 1)) {
        std::size_t k = SkipSpaces(text, j + 1);
        const bool closing = k < text.size() && text[k] == '/';
        if (closing) ++k;
        // A name counts as a whole word: a longer tag name that merely
        // starts with it ("[bandage]" for "band") is another tag.
        std::size_t e = k;
        while (e < text.size() && e - k <= kLongestTypeName && !IsSpace(text[e]) && text[e] != ']') ++e;
        if (e - k > kLongestTypeName) continue;
        int type = LookupTagType(text.substr(k, e - k));
        if (IsContainerType(type)) index[static_cast<std::size_t>(type)].push_back({j, closing});
    }
    return index;
}

struct BodyEnd {
    bool complete = false;
    std::size_t end = 0;           // just past the closing tag's "]"
    std::size_t closingStart = 0;  // the "[" of that closing tag
};

// The body runs to the first "]" at which the closing tags of the
// container's type outnumber its opening tags by exactly one. The count
// changes only at those tags, so only the gaps after them need a look.
BodyEnd FindBodyEnd(std::string_view text, const std::vector<NameMark>& marks, std::size_t from, std::size_t end) {
    BodyEnd result;
    auto it = std::lower_bound(marks.begin(), marks.end(), from,
                               [](const NameMark& m, std::size_t pos) { return m.pos < pos; });
    long long balance = 0;
    std::size_t nextClose = std::string_view::npos;
    bool looked = false;
    for (; it != marks.end() && it->pos < end; ++it) {
        balance += it->closing ? 1 : -1;
        if (balance != 1) continue;
        if (!looked || nextClose <= it->pos) {
            nextClose = text.find(']', it->pos + 1);
            looked = true;
        }
        if (nextClose == std::string_view::npos || nextClose >= end) return result;
        auto next = it + 1;
        if (next == marks.end() || next->pos >= end || nextClose < next->pos) {
            result.complete = true;
            result.end = nextClose + 1;
            result.closingStart = it->pos;
            return result;
        }
    }
    return result;
}

std::unique_ptr<VTag> TextNode(std::string_view text) { return std::make_unique<TextTag>(std::string(text)); }

// Parses text[begin, end) into the children of `container`.
void Build(VTag& container, std::string_view whole, std::size_t begin, std::size_t end, int depth,
           const NameIndex& index) {
    const std::string_view text = whole.substr(0, end);
    std::size_t i = begin;
    for (;;) {
        const std::size_t open = text.find('[', i);
        if (open == std::string_view::npos) break;
        container.AddChild(TextNode(text.substr(i, open - i)));
        const std::size_t close = text.find(']', open + 1);
        if (close == std::string_view::npos) {
            // An unterminated tag stays in the page as the text it was.
            i = open;
            break;
        }
        i = close + 1;
        TagText tag = ParseTagText(text.substr(open + 1, close - open - 1));
        if (tag.closing) continue;
        const int type = LookupTagType(tag.name);
        if (type < 0) {
            container.AddChild(TextNode(text.substr(open, close - open + 1)));
            continue;
        }
        if (type == tagtype::Text) {
            container.AddChild(TextNode(""));
            continue;
        }
        std::unique_ptr<VTag> node = CreateTag(type, tag.name);
        node->SetCase(1);
        for (auto& [name, value] : tag.attributes) node->SetAttribute(name, std::move(value));
        node->SetDefaults();
        VTag* added = container.AddChild(std::move(node));
        if (!added->IsContainer()) continue;

        BodyEnd body = FindBodyEnd(text, index[static_cast<std::size_t>(type)], i, end);
        if (!body.complete) {
            // No closing tag: the container swallows the rest and stays empty.
            i = end;
            break;
        }
        if (depth + 1 >= kMaxTemplateNesting)
            added->AddChild(TextNode(text.substr(i, body.closingStart - i)));
        else
            Build(*added, whole, i, body.end, depth + 1, index);
        i = body.end;
    }
    container.AddChild(TextNode(text.substr(i)));
}

}  // namespace

TagText ParseTagText(std::string_view text) {
    TagText tag;
    std::size_t i = SkipSpaces(text, 0);
    if (i < text.size() && text[i] == '/') {
        tag.closing = true;
        ++i;
    }
    std::size_t start = i;
    while (i < text.size() && !IsSpace(text[i])) ++i;
    tag.name = std::string(text.substr(start, i - start));

    // Every round consumes at least one character, so it ends.
    for (;;) {
        i = SkipSpaces(text, i);
        if (i >= text.size()) break;
        start = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '=') ++i;
        std::string name = ToLowerAscii(text.substr(start, i - start));
        std::string value = "true";
        std::size_t j = SkipSpaces(text, i);
        if (j < text.size() && text[j] == '=') {
            i = SkipSpaces(text, j + 1);
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i++];
                std::size_t end = text.find(quote, i);
                if (end == std::string_view::npos) end = text.size();
                value = std::string(text.substr(i, end - i));
                i = end < text.size() ? end + 1 : end;
            } else {
                start = i;
                while (i < text.size() && !IsSpace(text[i])) ++i;
                value = std::string(text.substr(start, i - start));
            }
        }
        if (!name.empty()) tag.attributes.emplace_back(std::move(name), std::move(value));
    }
    return tag;
}

int LookupTagType(std::string_view name) {
    for (int t = 0; t < static_cast<int>(std::size(kTypeNames)); ++t)
        if (EqualsNoCase(name, kTypeNames[t])) return t == tagtype::NTag ? -1 : t;
    return -1;
}

std::unique_ptr<VTag> CreateTag(int cTyp, std::string tagType) {
    switch (cTyp) {
        case tagtype::Text: return std::make_unique<TextTag>("");
        case tagtype::Tag: return std::make_unique<VTag>(std::move(tagType), cTyp, false);
        case tagtype::Container:
        case tagtype::Htmv:
        case tagtype::Secure:
        case tagtype::Filter: return std::make_unique<VTag>(std::move(tagType), cTyp, true);
        case tagtype::Field: return std::make_unique<FieldTag>(std::move(tagType));
        case tagtype::SysTag: return std::make_unique<SysTag>(std::move(tagType));
        case tagtype::Band:
        case tagtype::XBand: return std::make_unique<BandTag>(std::move(tagType), cTyp);
        case tagtype::SqlGen:
        case tagtype::SqlTag: return std::make_unique<QueryTag>(std::move(tagType), cTyp);
        case tagtype::SelectTag: return std::make_unique<SelectTag>(std::move(tagType));
        case tagtype::PageControl:
            return std::make_unique<PageControlTag>(std::move(tagType), cTyp, tagtype::Band);
        case tagtype::XPageControl:
            return std::make_unique<PageControlTag>(std::move(tagType), cTyp, tagtype::XBand);
        case tagtype::XField: return std::make_unique<XFieldTag>(std::move(tagType));
        case tagtype::Group: return std::make_unique<GroupTag>(std::move(tagType));
        case tagtype::XNext: return std::make_unique<XNextTag>(std::move(tagType));
        case tagtype::Adv: return std::make_unique<AdvTag>(std::move(tagType));
        default: return std::make_unique<TextTag>("");
    }
}

void BuildTagTree(VTag& container, std::string_view text) {
    const NameIndex index = IndexTypeNames(text);
    Build(container, text, 0, text.size(), 0, index);
}

}  // namespace flk
