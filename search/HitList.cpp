#include "search/HitList.h"

#include "settings/Settings.h"
#include "net/ParsedUrl.h"
#include "lists/ListHelpers.h"
#include "lists/SiteMaps.h"
#include "platform/HtmlEscape.h"
#include "platform/TextUtil.h"
#include "query/HitLine.h"
#include "query/ReaderHitLine.h"
#include "search/SearchNowThread.h"

#include <algorithm>

namespace flk {

namespace {

constexpr ListColumn kColumns[HitList::kColumnCount] = {
    {"Titles", 240}, {"Text", 270}, {"Match", 50}, {"Url", 200}};
constexpr std::string_view kTitle = "Titles";

constexpr std::string_view kFontLine = "<FONT SIZE=\"1\" FACE=\"MS Sans Serif\">\r\n";
constexpr std::string_view kCellStart = "</TD>\r\n<TD><FONT SIZE=\"1\" FACE=\"MS Sans Serif\">\r\n";

// A link to target around text, or the text alone when the target's scheme
// may not be linked ("javascript:" and the like).
void AppendLink(std::string& out, const std::string& target, std::string_view text) {
    if (IsLinkableAddress(target)) {
        out += "<A HREF=\"";
        out += EscapeHtml(target);
        out += "\">";
        out += EscapeHtml(text);
        out += "</A>\r\n";
    } else {
        out += EscapeHtml(text);
        out += "\r\n";
    }
}

}  // namespace

HitList::HitList() : LockedTable(kColumnCount, kTitle) {}

HitList::~HitList() { StopSearchNow(); }

std::span<const ListColumn> HitList::Columns() { return kColumns; }

void HitList::AddHit(const TextHit& hit) { AddHit(hit.pageUrl, hit.pageTitle, hit.score, hit.line); }

void HitList::AddHit(std::string_view address, std::string_view title, int score, std::string_view line) {
    std::string url = WithoutHttp(TrimLeft(address));
    std::lock_guard<std::mutex> lock(mu_);
    const std::size_t row = table_.AddRow(std::string(title));
    table_.SetCell(row, kText, std::string(line));
    table_.SetCell(row, kMatch, std::to_string(score));
    table_.SetCell(row, kUrl, std::move(url));
    Touch();
}

void HitList::Clear() {
    std::lock_guard<std::mutex> lock(mu_);
    table_.Clear();
    Touch();
}

void HitList::SetQuery(std::string query) {
    std::lock_guard<std::mutex> lock(mu_);
    query_ = std::move(query);
}

std::string HitList::Query() const {
    std::lock_guard<std::mutex> lock(mu_);
    return query_;
}

void HitList::SetCondition(std::string_view text) {
    std::lock_guard<std::mutex> lock(mu_);
    condition_ = EqualsNoCase(Trim(text), "or") ? "or" : "and";
}

std::string HitList::Condition() const {
    std::lock_guard<std::mutex> lock(mu_);
    return condition_;
}

void HitList::LoadSettings(const Settings& settings) {
    SetQuery(settings.Get(keys::SearchLine));
    SetCondition(settings.Get(keys::SearchCond));
    SetReaderLines(settings.Get(keys::ModernHitText) != 0);
}

void HitList::SetReaderLines(bool on) {
    std::lock_guard<std::mutex> lock(mu_);
    readerLines_ = on;
}

void HitList::SaveSettings(Settings& settings) const {
    settings.Set(keys::SearchLine, Query());
    settings.Set(keys::SearchCond, Condition());
}

void HitList::BuildKeywordList() {
    std::lock_guard<std::mutex> lock(mu_);
    keywords_ = flk::BuildKeywordList(query_);
}

std::vector<std::string> HitList::Keywords() const {
    std::lock_guard<std::mutex> lock(mu_);
    return keywords_;
}

bool HitList::StartSearchNow(std::vector<std::shared_ptr<const StoredPage>> pages, const SearchOptions& options) {
    std::lock_guard<std::mutex> lock(searchMu_);
    if (search_ && search_->Active()) return false;
    search_.reset();  // a finished run: joined here
    auto thread = std::make_unique<SearchNowThread>(std::move(pages), options, *this);
    if (!thread->Start(WorkerThread::Priority::Normal)) return false;
    search_ = std::move(thread);
    return true;
}

SearchNowProgress HitList::SearchNow() const {
    std::lock_guard<std::mutex> lock(searchMu_);
    SearchNowProgress p;
    if (!search_) return p;
    p.running = search_->Active();
    p.pagesDone = search_->PagesDone();
    p.pageCount = search_->PageCount();
    p.hits = search_->HitsFound();
    return p;
}

void HitList::StopSearchNow() {
    std::lock_guard<std::mutex> lock(searchMu_);
    if (!search_) return;
    search_->RequestStop();
    search_->Join();
}

int HitList::CompareColumn(const ListRow& a, const ListRow& b, int column) const {
    const auto col = static_cast<std::size_t>(column);
    const std::string_view x = a.cells[col], y = b.cells[col];
    return col == kMatch ? ThreeWay(LeadingInt(x), LeadingInt(y)) : CompareNoCase(x, y);
}

std::string HitList::LinkTarget(std::string_view address) { return ListLinkTarget(std::string(address)); }

std::string HitList::RowLinkTarget(std::size_t row) const {
    std::lock_guard<std::mutex> lock(mu_);
    if (row >= table_.RowCount()) return std::string();
    return LinkTarget(table_.Cell(row, kUrl));
}

std::string HitList::HtmlListText() const {
    std::lock_guard<std::mutex> lock(mu_);
    std::string out =
        "<HTML>\r\n<BODY BGCOLOR=#77aaaa VLINK=\"Blue\" LINK=\"Blue\" ALINK=\"Silver\">\r\n"
        "<TITLE>Crawler's search list </TITLE><BR>\r"
        "<CENTER>\r"
        "<FONT SIZE=+2 COLOR=#883355>";
    out += std::to_string(table_.RowCount());
    out += " URL's matches the query: \"";
    out += EscapeHtml(query_);
    out += "\"</FONT> <HR> \r";
    out += "<TABLE BORDER=1 BGCOLOR=\"#D2D2D2\" CELLSPACING=2 CELLPADDING=3>\r\n";
    out += "<TR BGCOLOR=\"#AAAAAA\"><TH>\r\n";
    out += kFontLine;
    out += "Title\r\n</TH><TH>\r\n";
    out += kFontLine;
    out += "Url\r\n</TH><TH>\r\n";
    out += kFontLine;
    out += "Text sample\r\n</TH></TR>\r\n";
    const std::vector<std::string> words = readerLines_ ? flk::BuildKeywordList(query_) : std::vector<std::string>();
    for (std::size_t r = 0; r < table_.RowCount(); ++r) {
        const std::string& address = table_.Cell(r, kUrl);
        const std::string target = LinkTarget(address);
        std::string line = table_.Cell(r, kText);
        if (readerLines_) {
            line = HitLineHtml(line, words);
        } else {
            std::replace(line.begin(), line.end(), '<', ' ');
            std::replace(line.begin(), line.end(), '>', ' ');
            line = EscapeHtml(line);
        }
        out += "<TR>\r\n<TD>";
        out += kFontLine;
        AppendLink(out, target, table_.Cell(r, kTitles));
        out += kCellStart;
        AppendLink(out, target, address);
        out += kCellStart;
        out += line;
        out += "</TR>\r\n";
    }
    out += "</TABLE>\r\n</CENTER>\r\n</BODY>\r\n</HTML>\r\n";
    return out;
}

std::string HitList::TextListText() const {
    std::lock_guard<std::mutex> lock(mu_);
    const std::string heading =
        std::to_string(table_.RowCount()) + " URLs matches the search query: \"" + query_ + "\"";
    std::string out = heading + "\r\n" + std::string(heading.size(), '-') + "\r\n";
    for (std::size_t r = 0; r < table_.RowCount(); ++r) {
        out += table_.Cell(r, kTitles);
        out += ' ';
        out += table_.Cell(r, kUrl);
        out += "\r\n";
    }
    return out;
}

std::string HitList::ReportText() const {
    std::lock_guard<std::mutex> lock(mu_);
    return ListToReport(table_, "0,1,2,3");
}

std::string HitList::WriteHtmlList(const std::string& folder) const {
    return WriteListFile(folder, "SearchList.htm", HtmlListText());
}

std::string HitList::WriteTextList(const std::string& folder) const {
    return WriteListFile(folder, "SearchList.txt", TextListText());
}

std::string HitList::WriteReport(const std::string& folder) const {
    return WriteListFile(folder, "SearchReport.txt", ReportText());
}

std::string HitList::SaveBlock() const {
    std::lock_guard<std::mutex> lock(mu_);
    return SaveBlockLocked(kSearchListMarker, kColumnCount);
}

bool HitList::LoadBlock(std::string_view projectText) {
    std::string_view body;
    if (!FindBlock(projectText, kSearchListMarker, body)) return false;
    std::lock_guard<std::mutex> lock(mu_);
    LoadListBlock(table_, body, kColumnCount);
    Touch();
    return true;
}

}  // namespace flk
