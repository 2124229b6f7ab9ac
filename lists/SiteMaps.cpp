#include "lists/SiteMaps.h"

#include "net/ParsedUrl.h"
#include "platform/HtmlEscape.h"
#include "platform/LocalPath.h"
#include "platform/TextUtil.h"

#include <map>
#include <string_view>
#include <unordered_map>

namespace flk {

namespace {

constexpr char kMapColour[] = "#99bbcc";
constexpr std::string_view kTextStep = "       ";
constexpr std::string_view kHtmlStep = "*******";
constexpr char kCellOpen[] = "<TD><FONT SIZE=\"1\" FACE=\"MS Sans Serif\">";

// The indentation of a line: an optional leading space (the first root's
// children start with one) and a number of steps. It is kept as a count and
// written out per line, so a deep tree costs nothing per level.
struct Indent {
    bool lead = false;
    std::size_t steps = 0;
};

// Deeper lines than this show their level as a number instead of steps, so
// one line never grows with the depth of the tree.
constexpr std::size_t kMaxIndentSteps = 64;

// The indentation to write before a line (nothing when the level is shown as
// a number).
std::string IndentText(const Indent& indent, std::string_view step) {
    if (indent.steps > kMaxIndentSteps) return {};
    std::string out(indent.lead ? " " : "");
    out.reserve(out.size() + indent.steps * step.size());
    for (std::size_t i = 0; i < indent.steps; ++i) out += step;
    return out;
}

// "[65] " for a line deeper than the written indentation, else nothing.
std::string LevelLabel(const Indent& indent) {
    if (indent.steps <= kMaxIndentSteps) return {};
    return "[" + std::to_string(indent.steps) + "] ";
}

// Walks the shown items with the indentation rule of the site maps: an item
// takes the indentation recorded for its parent's text (one step when the
// parent has none recorded, nothing for a root); an item with children
// records its own text with one step more. The first root records the
// leading space alone.
template <class Emit>
void WalkIndented(const TreeModel& tree, Emit emit) {
    std::unordered_map<std::string_view, Indent> indentOf;
    const auto roots = tree.Roots();
    if (!roots.empty()) indentOf[tree.Text(roots.front())] = Indent{true, 0};
    for (TreeModel::Id id : tree.VisibleOrder()) {
        const TreeModel::Id parent = tree.Parent(id);
        Indent indent;
        if (parent != TreeModel::kNone) {
            auto it = indentOf.find(tree.Text(parent));
            indent = it == indentOf.end() ? Indent{false, 1} : it->second;
        }
        emit(id, indent);
        if (!tree.Children(id).empty()) indentOf.try_emplace(tree.Text(id), Indent{indent.lead, indent.steps + 1});
    }
}

// A link, or only its text when the address has a scheme a page must not
// link to.
std::string Anchor(const std::string& target, const std::string& text) {
    if (!IsLinkableAddress(target)) return EscapeHtml(text);
    return "<A HREF=\"" + EscapeHtml(target) + "\">" + EscapeHtml(text) + "</A>";
}

std::string AngleBracketsToSpaces(std::string s) {
    for (char& c : s)
        if (c == '<' || c == '>') c = ' ';
    return s;
}

}  // namespace

std::string SiteMapText(const TreeModel& tree, bool titlesMode) {
    std::string out = "CRAWLER SITE MAP:\r\n-----------------";
    WalkIndented(tree, [&](TreeModel::Id id, const Indent& indent) {
        const std::string& text = tree.Text(id);
        if (IsAnnotation(text) && !titlesMode) {
            out += "  ";
        } else {
            out += "\r\n";
            out += IndentText(indent, kTextStep);
            out += LevelLabel(indent);
        }
        out += text;
    });
    return out;
}

std::string SiteMapHtml(const TreeModel& tree, bool titlesMode) {
    std::string out = std::string("<HTML>\r\n<BODY BGCOLOR=") + kMapColour + ">\r\n";
    out += "<TITLE> Site Map </TITLE><BR>\r";
    out += "<FONT SIZE=+3 COLOR=#ff3355> SITE MAP </FONT> <HR> \r";
    WalkIndented(tree, [&](TreeModel::Id id, const Indent& indent) {
        const std::string text = TrimCopy(tree.Text(id));
        if (IsAnnotation(text)) {
            out += EscapeHtml(text) + "\r\n";
            if (titlesMode) out += "<BR>";
            return;
        }
        std::string target = text;
        if (text.find('\\') == std::string::npos && !titlesMode) target = WithDefaultScheme(text);
        out += std::string("<BR><FONT COLOR=") + kMapColour + ">" + IndentText(indent, kHtmlStep) + "</FONT>" +
               LevelLabel(indent) + Anchor(target, text) + "\r\n";
    });
    out += "</BODY>\r\n</HTML>\r\n";
    return out;
}

std::string SiteTreeApplet(TreeModel& tree, bool titlesMode, const TreeModel& urlTree) {
    tree.ExpandAll();
    // Title -> page address, from the URL tree: a title annotation belongs to
    // the page it stands under.
    std::map<std::string, std::string> urlOfTitle;
    if (titlesMode) {
        for (TreeModel::Id id : urlTree.DepthFirstOrder()) {
            const TreeModel::Id parent = urlTree.Parent(id);
            if (IsAnnotation(urlTree.Text(id)) && parent != TreeModel::kNone)
                urlOfTitle.emplace(urlTree.Text(id), urlTree.Text(parent));
        }
    }
    std::string out = "<HTML>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\n";
    out += titlesMode ? "<APPLET CODE=TitlesTree.class WIDTH=500 HEIGHT=3000>\r\n"
                      : "<APPLET CODE=SiteTree.class WIDTH=500 HEIGHT=5000>\r\n";
    out += "<PARAM NAME=\"text\" VALUE=\"";
    for (TreeModel::Id id : tree.VisibleOrder()) {
        const TreeModel::Id parent = tree.Parent(id);
        const std::string parentText = parent == TreeModel::kNone ? "top" : tree.Text(parent);
        std::string record = "{{{" + tree.Text(id) + ";@;" + parentText;
        if (titlesMode) {
            auto it = urlOfTitle.find(tree.Text(id));
            record += ";@;" + (it == urlOfTitle.end() ? std::string() : it->second);
        }
        out += EscapeHtml(record + "}}}");
    }
    out += "\">\r\n</APPLET>\r\n</BODY>\r\n</HTML>\r\n";
    return out;
}

std::string MainFramePage(const std::string& siteTreePath, const std::string& makerSite) {
    std::string out = "<HTML>\r\n<TITLE>Tesk Site Map</TITLE>\r\n";
    out += "<FRAMESET COLS=200,* BORDER=1 BORDERCOLOR=blue>\r\n<FRAMESET ROWS=125,*>\r\n";
    out += "<FRAME NAME=\"search\" SCROLLING=no SRC=\"search.htm\">\r\n";
    // The applet page's full path as a file address: on a system whose
    // paths begin with "/" that is "file://" + path, never "file:////".
    out += "<FRAME NAME=\"tree\" SCROLLING=yes SRC=\"" + EscapeHtml(FileAddress(siteTreePath)) + "\">\r\n";
    out += "</FRAMESET>\r\n";
    out += "<FRAME NAME=\"data\" SCROLLING=yes SRC=\"" + EscapeHtml(WithDefaultScheme(makerSite)) + "\">\r\n";
    out += "</FRAMESET>\r\n</HTML>\r\n";
    return out;
}

std::string ListLinkTarget(const std::string& url) {
    // A path in "/" form is a local file too, not a host name.
    if (url.find('\\') != std::string::npos || url.starts_with('/')) return FileAddress(url, FileAddressForm::ListPage);
    return WithDefaultScheme(url);
}

std::vector<UrlListRow> UrlListRowsOf(const ListTable& table, UrlRows which) {
    std::vector<UrlListRow> rows;
    for (std::size_t i = 0; i < table.RowCount(); ++i) {
        if (which == UrlRows::Selected && !table.IsSelected(i)) continue;
        const ListRow& row = table.Rows()[i];
        auto cell = [&](std::size_t c) { return c < row.cells.size() ? row.cells[c] : std::string(); };
        rows.push_back({cell(0), cell(1), cell(2)});
    }
    return rows;
}

std::string UrlsListHtml(const std::vector<UrlListRow>& rows) {
    std::string out =
        "<HTML>\r\n<BODY BGCOLOR=#77aaaa VLINK=\"Blue\" LINK=\"Blue\" ALINK=\"Silver\">\r\n"
        "<TITLE>URLs list</TITLE><BR>\r<CENTER>\r<FONT SIZE=+2 COLOR=#883355>URL's list</FONT> <HR> \r"
        "<TABLE BORDER=1 BGCOLOR=\"#D2D2D2\" CELLSPACING=2 CELLPADDING=3>\r\n";
    out += "<TR BGCOLOR=\"#AAAAAA\">\r\n";
    for (const char* head : {"URL", "Title", "Match"})
        out += std::string("<TH><FONT SIZE=\"1\" FACE=\"MS Sans Serif\">") + head + "</TH>\r\n";
    out += "</TR>\r\n";
    for (const UrlListRow& row : rows) {
        const std::string url = TrimCopy(row.url);
        out += "<TR>\r\n";
        out += std::string(kCellOpen) + Anchor(ListLinkTarget(url), url) + "</TD>\r\n";
        out += std::string(kCellOpen) + EscapeHtml(AngleBracketsToSpaces(row.title)) + "</TD>\r\n";
        out += std::string(kCellOpen) + EscapeHtml(row.match) + "</TD>\r\n";
        out += "</TR>\r\n";
    }
    out += "</TABLE>\r\n</CENTER>\r\n</BODY>\r\n</HTML>\r\n";
    return out;
}

std::string UrlsListText(const std::vector<UrlListRow>& rows) {
    std::string out = "URLs List:\r\n=========\r\n";
    for (const UrlListRow& row : rows) out += TrimCopy(row.url) + "\r\n";
    return out;
}

std::string StartLocationsPage(const std::vector<std::string>& locations) {
    std::string out =
        "<HTML>\r\n<BODY BGCOLOR=#77aaaa>\r\n<TITLE> Start Locations </TITLE><BR>\r<CENTER>\r"
        "<FONT SIZE=+3 COLOR=#ff3355> START LOCATIONS </FONT> <HR> \r\n";
    for (const std::string& raw : locations) {
        const std::string location = TrimCopy(raw);
        out += Anchor(ListLinkTarget(location), location) + "<BR>\r\n";
    }
    out += "</CENTER>\r\n</BODY>\r\n</HTML>\r\n";
    return out;
}

}  // namespace flk
