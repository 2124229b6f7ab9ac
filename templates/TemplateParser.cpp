#include "templates/TemplateParser.h"

#include "platform/TextUtil.h"
#include "templates/BandTags.h"
#include "templates/ValueTags.h"

namespace flk {
namespace {

constexpr const char* kTypeNames[] = {
    "text",   "tag",       "container", "field",  "systag", "band",        "htmv",        "sqlgen", "sqltag", "selecttag",
    "secure", "filter",    "pagecontrol", "xband", "xfield", "group",      "xnext",       "xpagecontrol", "adv", "ntag",
};

std::size_t SkipSpaces(std::string_view s, std::size_t i) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i;
}

// True when `name` stands at `pos` as a whole word (ignoring case). A longer
// tag name that merely starts with it ("[bandage]" for "band") is another tag.
bool NameAt(std::string_view text, std::size_t pos, std::string_view name) {
    if (pos > text.size() || !StartsWithNoCase(text.substr(pos), name)) return false;
    std::size_t after = pos + name.size();
    return after == text.size() || IsSpace(text[after]) || text[after] == ']';
}

struct BodyEnd {
    bool complete = false;
    std::size_t end = 0;           // just past the closing tag's "]"
    std::size_t closingStart = 0;  // the "[" of the last closing tag counted
};

// The container body runs until the closing tags of its name outnumber the
// opening ones by exactly one, tested at every "]".
BodyEnd FindBodyEnd(std::string_view text, std::size_t from, std::string_view name) {
    BodyEnd result;
    long long opens = 0;
    long long closes = 0;
    std::size_t j = from;
    for (;;) {
        j = text.find_first_of("[]", j);
        if (j == std::string_view::npos) return result;
        if (text[j] == '[') {
            std::size_t k = SkipSpaces(text, j + 1);
            if (k < text.size() && text[k] == '/') {
                if (NameAt(text, k + 1, name)) {
                    ++closes;
                    result.closingStart = j;
                }
            } else if (NameAt(text, k, name)) {
                ++opens;
            }
        } else if (closes - opens == 1) {
            result.complete = true;
            result.end = j + 1;
            return result;
        }
        ++j;
    }
}

std::unique_ptr<VTag> TextNode(std::string_view text) { return std::make_unique<TextTag>(std::string(text)); }

void Build(VTag& container, std::string_view text, int depth) {
    std::size_t i = 0;
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

        BodyEnd body = FindBodyEnd(text, i, tag.name);
        if (!body.complete) {
            // No closing tag: the container swallows the rest and stays empty.
            i = text.size();
            break;
        }
        if (depth + 1 >= kMaxTemplateNesting)
            added->AddChild(TextNode(text.substr(i, body.closingStart - i)));
        else
            Build(*added, text.substr(i, body.end - i), depth + 1);
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

void BuildTagTree(VTag& container, std::string_view text) { Build(container, text, 0); }

}  // namespace flk
