#include "lists/SitesList.h"

#include "lists/ListHelpers.h"
#include "platform/LocalPath.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

namespace {

bool StartsWithHttp(std::string_view text) {
    return text.size() >= 7 && EqualsNoCase(text.substr(0, 7), "http://");
}

std::string_view SkipLeadingSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(static_cast<unsigned char>(text[i]))) ++i;
    return text.substr(i);
}

bool EndsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string SiteAddressForList(std::string_view entry) {
    std::string_view e = SkipLeadingSpace(entry);
    if (StartsWithHttp(e)) e.remove_prefix(7);
    return std::string(e);
}

std::string SiteAddressToFetch(std::string_view entry) {
    const std::string_view e = SkipLeadingSpace(entry);
    if (e.find('\\') != std::string_view::npos || IsLocalPath(std::string(e)) ||
        e.find("://") != std::string_view::npos)
        return std::string(e);
    return "http://" + std::string(e);
}

std::string SitesFromFile(const std::string& fileName, const std::string& content) {
    const std::string name = ToLowerAscii(TrimCopy(fileName));
    if (!EndsWith(name, ".htm") && !EndsWith(name, ".html")) return content;
    // The href values of the page, each a site.
    std::string sites;
    const std::string lower = ToLowerAscii(content);
    for (std::size_t pos = 0; (pos = lower.find("href", pos)) != std::string::npos;) {
        std::size_t i = pos + 4;
        while (i < lower.size() && IsSpace(static_cast<unsigned char>(lower[i]))) ++i;
        if (i >= lower.size() || lower[i] != '=') {
            pos = i;
            continue;
        }
        ++i;
        while (i < lower.size() && IsSpace(static_cast<unsigned char>(lower[i]))) ++i;
        char quote = 0;
        if (i < lower.size() && (lower[i] == '"' || lower[i] == '\'')) quote = lower[i++];
        std::size_t end = i;
        while (end < content.size() && (quote ? content[end] != quote
                                              : !IsSpace(static_cast<unsigned char>(content[end])) && content[end] != '>'))
            ++end;
        const std::string link = TrimCopy(content.substr(i, end - i));
        if (!link.empty() && link.front() != '#' && link.find(';') == std::string::npos) sites += link + ";";
        pos = end;
    }
    return sites;
}

void SitesList::AppendLocked(std::string address) {
    if (!listed_.insert(address).second) return;
    table_.AddRow(std::move(address));
}

void SitesList::Fill(std::string_view sites) {
    std::lock_guard<std::mutex> guard(lock_);
    table_.Clear();
    listed_.clear();
    for (std::size_t pos = 0, semi; (semi = sites.find(';', pos)) != std::string_view::npos; pos = semi + 1)
        AppendLocked(SiteAddressForList(sites.substr(pos, semi - pos)));
    ++revision_;
}

bool SitesList::Add(std::string_view typed) {
    std::string text = TrimCopy(typed);
    if (text.empty()) return false;
    if (text.find('\\') == std::string::npos && StartsWithHttp(text)) text.erase(0, 7);
    std::lock_guard<std::mutex> guard(lock_);
    if (listed_.count(text)) return false;
    AppendLocked(std::move(text));
    ++revision_;
    return true;
}

void SitesList::Remove(const std::vector<std::size_t>& rows) {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<std::size_t> sorted(rows);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    auto& all = table_.Rows();
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        if (*it >= all.size()) continue;
        listed_.erase(all[*it].cells[kUrl]);
        all.erase(all.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    ++revision_;
}

void SitesList::RemoveAll() {
    std::lock_guard<std::mutex> guard(lock_);
    table_.Clear();
    listed_.clear();
    ++revision_;
}

void SitesList::SetCheckResult(std::string_view address, const std::string& title, int wordsFound) {
    const std::string key = SiteAddressForList(address);
    std::lock_guard<std::mutex> guard(lock_);
    for (std::size_t row = 0; row < table_.RowCount(); ++row) {
        if (!EqualsNoCase(table_.Cell(row, kUrl), key)) continue;
        table_.SetCell(row, kPageTitle, title);
        table_.SetCell(row, kWordsFound, std::to_string(wordsFound));
        ++revision_;
        return;
    }
}

std::string SitesList::Joined() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::string out;
    for (const ListRow& row : table_.Rows()) out += row.cells[kUrl] + ";";
    return out;
}

std::vector<std::string> SitesList::Addresses() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<std::string> out;
    for (const ListRow& row : table_.Rows()) out.push_back(row.cells[kUrl]);
    return out;
}

ListTable SitesList::Snapshot() const {
    std::lock_guard<std::mutex> guard(lock_);
    return table_;
}

std::size_t SitesList::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return table_.RowCount();
}

std::string SitesList::Caption() const {
    std::lock_guard<std::mutex> guard(lock_);
    return UpdateCountCaption(table_, kTitle);
}

void SitesList::SetSelected(std::size_t row, bool selected) {
    std::lock_guard<std::mutex> guard(lock_);
    table_.SetSelected(row, selected);
    ++revision_;
}

void SitesList::SelectAll() {
    std::lock_guard<std::mutex> guard(lock_);
    table_.SelectAll();
    ++revision_;
}

void SitesList::InvertSelection() {
    std::lock_guard<std::mutex> guard(lock_);
    flk::InvertSelection(table_);
    ++revision_;
}

void SitesList::SelectByPattern(std::string_view pattern) {
    std::lock_guard<std::mutex> guard(lock_);
    flk::SelectByPattern(table_, pattern, kUrl);
    ++revision_;
}

std::vector<std::size_t> SitesList::SelectedRows() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < table_.RowCount(); ++i)
        if (table_.IsSelected(i)) rows.push_back(i);
    return rows;
}

std::uint64_t SitesList::Revision() const {
    std::lock_guard<std::mutex> guard(lock_);
    return revision_;
}

}  // namespace flk
