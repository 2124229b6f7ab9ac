#include "lists/MediaList.h"

#include "net/ParsedUrl.h"
#include "lists/ListHelpers.h"
#include "platform/Clipboard.h"
#include "platform/Notifier.h"
#include "platform/ProfileFile.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

void SplitFolderAndName(std::string_view url, std::string& folder, std::string& name) {
    std::size_t cut = url.rfind('\\');
    if (cut == std::string_view::npos) cut = url.rfind('/');
    if (cut == std::string_view::npos) {
        folder.clear();
        name.assign(url);
        return;
    }
    folder.assign(url.substr(0, cut + 1));
    name.assign(url.substr(cut + 1));
}

std::string WithoutHttp(std::string_view text) {
    if (StartsWithNoCase(text, "http://")) text.remove_prefix(7);
    return std::string(text);
}

MediaList::MediaList(const MediaListLayout& layout) : LockedTable(layout.columnCount, layout.title), layout_(layout) {}

namespace {

// The address a row stands for: column 1 + column 0.
std::string RowKey(const ListRow& row) { return row.cells[1] + row.cells[0]; }

constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

bool RowHasKey(const ListTable& table, std::size_t r, std::string_view key) {
    const std::string& folder = table.Cell(r, 1);
    const std::string& name = table.Cell(r, 0);
    return key.size() == folder.size() + name.size() && key.starts_with(folder) && key.ends_with(name);
}

std::size_t FindRow(const ListTable& table, std::string_view key) {
    for (std::size_t r = 0; r < table.RowCount(); ++r)
        if (RowHasKey(table, r, key)) return r;
    return kNoRow;
}

}  // namespace

bool MediaList::AppendRowLocked(const std::string& key, std::vector<std::string> cells) {
    if (!seen_.insert(key).second) return false;
    const bool counted = CountKnownLocked();
    const std::size_t row = table_.AddRow(std::string());
    for (std::size_t c = 0; c < cells.size(); ++c) table_.SetCell(row, c, std::move(cells[c]));
    // A seen address has no row yet, so the new row's address is unique.
    if (rowIndexUnique_ && !rowIndex_.emplace(RowKey(table_.Rows()[row]), row).second) rowIndexUnique_ = false;
    Touch();
    if (counted) KeepCountLocked(count_ + (PassesSizeRule(table_.Rows()[row]) ? 1 : 0));
    return true;
}

std::size_t MediaList::FindRowLocked(const std::string& key) {
    if (rowIndexUnique_) {
        const auto it = rowIndex_.find(key);
        if (it != rowIndex_.end() && it->second < table_.RowCount() && RowHasKey(table_, it->second, key))
            return it->second;
    }
    // Rows moved (sorted, removed, loaded) or the address has none.
    RebuildRowIndexLocked();
    if (!rowIndexUnique_) return FindRow(table_, key);
    const auto it = rowIndex_.find(key);
    return it == rowIndex_.end() ? kNoRow : it->second;
}

void MediaList::RebuildRowIndexLocked() {
    rowIndex_.clear();
    rowIndexUnique_ = true;
    for (std::size_t r = 0; r < table_.RowCount(); ++r)
        if (!rowIndex_.emplace(RowKey(table_.Rows()[r]), r).second) rowIndexUnique_ = false;
}

void MediaList::AfterAdd(const std::string& checkUrl, MediaCheckKind kind) {
    if (ListsChangedListener* l = listener_.load()) l->ListsChanged();
    if (checkUrl.empty()) return;
    if (MediaCheckQueue* q = checker_.load()) q->QueueCheck(checkUrl, kind);
}

void MediaList::SendCount() {
    Notifier* n = notifier_.load();
    if (!n) return;
    {
        std::lock_guard<std::mutex> lock(countLock_);
        // The count must stay in the low word: the high word carries the 100.
        countsDue_.push_back(std::min(CountValidItems(), 0xFFFF));
        if (countSending_) return;
        countSending_ = true;
    }
    for (;;) {
        long count = 0;
        {
            std::lock_guard<std::mutex> lock(countLock_);
            if (countsDue_.empty()) {
                countSending_ = false;
                return;
            }
            count = countsDue_.front();
            countsDue_.pop_front();
        }
        Notification note;
        note.code = layout_.countCode;
        note.value = count | (100L << 16);
        // Nothing waits for the window: a count is progress, not a question.
        n->Post(note);
    }
}

std::string MediaList::SizeKey(std::string_view url) const { return TrimCopy(url); }

bool MediaList::SetItemSize(std::string_view url, long long size) {
    const std::string key = SizeKey(url);
    {
        std::lock_guard<std::mutex> lock(mu_);
        const std::size_t r = FindRowLocked(key);
        if (r == kNoRow) return false;
        const bool counted = CountKnownLocked();
        const int before = counted && PassesSizeRule(table_.Rows()[r]) ? 1 : 0;
        table_.SetCell(r, layout_.sizeColumn, FormatSize(size, true));
        Touch();
        if (counted) KeepCountLocked(count_ - before + (PassesSizeRule(table_.Rows()[r]) ? 1 : 0));
    }
    SendCount();
    return true;
}

bool MediaList::SameContent(const MediaFacts& a, const MediaFacts& b) {
    if (!a.sha256.empty() && !b.sha256.empty()) return a.sha256 == b.sha256;
    return !a.fingerprint.empty() && a.fingerprint == b.fingerprint;
}

bool MediaList::ApplyFacts(ListRow&, const MediaCheckResult&) { return true; }

bool MediaList::ApplyCheck(const MediaCheckResult& result) {
    const std::string key = SizeKey(result.url);
    bool removed = false;
    {
        std::lock_guard<std::mutex> lock(mu_);
        const std::size_t r = FindRowLocked(key);
        if (r == kNoRow) return false;
        ListRow& row = table_.Rows()[r];
        const bool counted = CountKnownLocked();
        const int before = counted && PassesSizeRule(row) ? 1 : 0;
        row.cells[layout_.sizeColumn] = FormatSize(result.size, true);
        const std::string rowKey = RowKey(row);
        MediaFacts& facts = facts_[rowKey];
        facts.bytes = result.size > 0 ? result.size : 0;
        facts.contentType = TrimCopy(result.contentType);
        facts.width = result.width;
        facts.height = result.height;
        facts.sha256 = result.sha256;
        facts.fingerprint = result.fingerprint;
        bool keep = ApplyFacts(row, result);
        if (keep && findDuplicates_.load() && !facts.fingerprint.empty()) {
            // The row checked first stays; this one joins its duplicates.
            // Equal content always has equal fingerprints.
            std::vector<std::string>& sameStart = byFingerprint_[facts.fingerprint];
            for (const std::string& otherKey : sameStart) {
                if (otherKey == rowKey) continue;
                const auto other = facts_.find(otherKey);
                if (other == facts_.end() || !SameContent(facts, other->second)) continue;
                other->second.duplicates.push_back(rowKey);
                for (std::string& d : facts.duplicates) other->second.duplicates.push_back(std::move(d));
                keep = false;
                break;
            }
            if (keep && std::find(sameStart.begin(), sameStart.end(), rowKey) == sameStart.end())
                sameStart.push_back(rowKey);
        }
        const int after = keep && PassesSizeRule(row) ? 1 : 0;
        if (!keep) {
            facts_.erase(rowKey);
            table_.Rows().erase(table_.Rows().begin() + static_cast<std::ptrdiff_t>(r));
            removed = true;
        }
        Touch();
        if (counted) KeepCountLocked(count_ - before + after);
    }
    if (removed)
        if (ListsChangedListener* l = listener_.load()) l->ListsChanged();
    SendCount();
    return true;
}

MediaFacts MediaList::Facts(std::size_t row) const {
    std::lock_guard<std::mutex> lock(mu_);
    if (row >= table_.RowCount()) return {};
    const auto it = facts_.find(RowKey(table_.Rows()[row]));
    return it == facts_.end() ? MediaFacts{} : it->second;
}

ListedMedium MediaList::Medium(std::size_t row) const {
    std::lock_guard<std::mutex> lock(mu_);
    if (row >= table_.RowCount()) return {};
    return RowMedium(table_.Rows()[row]);
}

std::optional<ListedMedium> MediaList::TakeRow(std::string_view url) {
    const std::string key = SizeKey(url);
    std::optional<ListedMedium> medium;
    {
        std::lock_guard<std::mutex> lock(mu_);
        const std::size_t r = FindRowLocked(key);
        if (r == kNoRow) return std::nullopt;
        medium = RowMedium(table_.Rows()[r]);
        const bool counted = CountKnownLocked();
        const int before = counted && PassesSizeRule(table_.Rows()[r]) ? 1 : 0;
        // The address stays seen: it is another kind's now.
        facts_.erase(RowKey(table_.Rows()[r]));
        table_.Rows().erase(table_.Rows().begin() + static_cast<std::ptrdiff_t>(r));
        Touch();
        if (counted) KeepCountLocked(count_ - before);
    }
    if (ListsChangedListener* l = listener_.load()) l->ListsChanged();
    SendCount();
    return medium;
}

long long MediaList::RuleSize(const std::string& cell) {
    long long size = ProfileIntFromText(cell, 0);
    if (cell.find("KB") != std::string::npos) {
        size <<= 10;
    } else if (cell.find("MB") != std::string::npos) {
        size <<= 20;
    }
    return size;
}

int MediaList::CountLocked() const {
    if (CountKnownLocked()) return count_;
    int n = 0;
    for (const ListRow& row : table_.Rows()) n += PassesSizeRule(row) ? 1 : 0;
    KeepCountLocked(n);
    return n;
}

void MediaList::KeepCountLocked(int count) const {
    count_ = count;
    countedAt_ = Revision();
}

int MediaList::CountValidItems() const {
    std::lock_guard<std::mutex> lock(mu_);
    return CountLocked();
}

void MediaList::SelectValidItems() {
    std::lock_guard<std::mutex> lock(mu_);
    for (ListRow& row : table_.Rows()) row.selected = PassesSizeRule(row);
    Touch();
}

void MediaList::Clear() {
    {
        std::lock_guard<std::mutex> lock(mu_);
        table_.Clear();
        seen_.clear();
        facts_.clear();
        byFingerprint_.clear();
        rowIndexUnique_ = false;
        Touch();
    }
    if (ListsChangedListener* l = listener_.load()) l->ListsChanged();
}

int MediaList::CompareColumn(const ListRow& a, const ListRow& b, int column) const {
    const auto col = static_cast<std::size_t>(column);
    const std::string_view x = col < a.cells.size() ? std::string_view(a.cells[col]) : std::string_view();
    const std::string_view y = col < b.cells.size() ? std::string_view(b.cells[col]) : std::string_view();
    if (col == 0 && mode_ == NameSortMode::Extension) return CompareNoCase(AfterLastDot(x), AfterLastDot(y));
    // Sizes order by what they show, so "2.00 MB" comes after "900.00 KB".
    if (col == layout_.sizeColumn) return ThreeWay(SizeCellValue(x), SizeCellValue(y));
    return CompareNoCase(x, y);
}

void MediaList::SortByName() { MenuSortBy(NameSortMode::Name); }

void MediaList::SortByExtension() { MenuSortBy(NameSortMode::Extension); }

void MediaList::MenuSortBy(NameSortMode mode) {
    std::lock_guard<std::mutex> lock(mu_);
    mode_ = mode;
    sort_.MenuSort();
    SortLocked([&](const ListRow& a, const ListRow& b) { return CompareColumn(a, b, 0); });
}

NameSortMode MediaList::SortMode() const {
    std::lock_guard<std::mutex> lock(mu_);
    return mode_;
}

std::string MediaList::ClipboardText() const {
    std::lock_guard<std::mutex> lock(mu_);
    return ListToText(table_, "1,0", "", "\r\n", true);
}

std::string MediaList::CopyToClipboard(Clipboard& clipboard) const {
    return flk::CopyToClipboard(clipboard, ClipboardText());
}

std::string MediaList::LinksText() const {
    std::string text(layout_.linksHeading);
    text += "\r\n=======\r\n";
    std::lock_guard<std::mutex> lock(mu_);
    text += ListToText(table_, "1,0", "", "\r\n", true);
    return text;
}

std::string MediaList::ReportText() const {
    std::lock_guard<std::mutex> lock(mu_);
    bool anyDuplicates = false;
    for (const ListRow& row : table_.Rows()) {
        const auto it = facts_.find(RowKey(row));
        anyDuplicates |= row.selected && it != facts_.end() && !it->second.duplicates.empty();
    }
    if (!anyDuplicates) return ListToReport(table_, layout_.reportColumns);
    // One more column: the other addresses of the same content.
    const std::size_t extra = table_.ColumnCount();
    ListTable wide(extra + 1);
    for (const ListRow& row : table_.Rows()) {
        const std::size_t r = wide.AddRow(row.cells[0]);
        for (std::size_t c = 1; c < extra; ++c) wide.SetCell(r, c, row.cells[c]);
        const auto it = facts_.find(RowKey(row));
        if (it != facts_.end()) {
            std::string others;
            for (const std::string& d : it->second.duplicates) others += (others.empty() ? "" : " ") + d;
            wide.SetCell(r, extra, std::move(others));
        }
        wide.SetSelected(r, row.selected);
    }
    return ListToReport(wide, std::string(layout_.reportColumns) + "," + std::to_string(extra));
}

std::string MediaList::WriteLinksFile(const std::string& folder) const {
    return WriteListFile(folder, std::string(layout_.linksFile), LinksText());
}

std::string MediaList::WriteReportFile(const std::string& folder) const {
    return WriteListFile(folder, std::string(layout_.reportFile), ReportText());
}

std::string MediaList::SaveBlock() const {
    std::lock_guard<std::mutex> lock(mu_);
    return SaveBlockLocked(layout_.blockMarker, layout_.blockColumns) + DuplicatesBlockLocked();
}

std::string MediaList::DuplicatesMarker() const { return "{[(Duplicate" + std::string(layout_.title) + ")]}"; }

// Pairs of (row address, other address), after the list's own block, so a
// reader that knows no duplicates stops at its marker and loads the rest.
std::string MediaList::DuplicatesBlockLocked() const {
    ListTable pairs(2);
    for (const ListRow& row : table_.Rows()) {
        const auto it = facts_.find(RowKey(row));
        if (it == facts_.end()) continue;
        for (const std::string& other : it->second.duplicates) pairs.SetCell(pairs.AddRow(RowKey(row)), 1, other);
    }
    if (pairs.Empty()) return {};
    return "\r\n\r\n" + DuplicatesMarker() + SaveListBlock(pairs, 2);
}

void MediaList::LoadDuplicatesLocked(std::string_view projectText) {
    std::string_view body;
    if (!FindBlock(projectText, DuplicatesMarker(), body)) return;
    ListTable pairs(2);
    LoadListBlock(pairs, body, 2);
    for (const ListRow& pair : pairs.Rows()) {
        // Only for rows the list holds; a pair cut short is dropped.
        if (pair.cells[1].empty() || !seen_.count(pair.cells[0])) continue;
        facts_[pair.cells[0]].duplicates.push_back(pair.cells[1]);
    }
}

bool MediaList::LoadBlock(std::string_view projectText) {
    std::string_view body;
    if (!FindBlock(projectText, layout_.blockMarker, body)) return false;
    {
        std::lock_guard<std::mutex> lock(mu_);
        LoadListBlock(table_, body, layout_.blockColumns);
        seen_.clear();
        facts_.clear();
        byFingerprint_.clear();
        rowIndexUnique_ = false;
        for (std::size_t r = 0; r < table_.RowCount(); ++r) seen_.insert(table_.Cell(r, 1) + table_.Cell(r, 0));
        LoadDuplicatesLocked(projectText);
        Touch();
    }
    if (ListsChangedListener* l = listener_.load()) l->ListsChanged();
    return true;
}

namespace {

std::string UrlOfRow(const ListTable& table, std::size_t row) {
    return WithDefaultScheme(Trim(table.Cell(row, 1))) + table.Cell(row, 0);
}

}  // namespace

std::string MediaList::RowUrl(std::size_t row) const {
    std::lock_guard<std::mutex> lock(mu_);
    if (row >= table_.RowCount()) return std::string();
    return UrlOfRow(table_, row);
}

std::vector<std::string> MediaList::SelectedUrls() const {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<std::string> urls;
    for (std::size_t r = 0; r < table_.RowCount(); ++r) {
        if (table_.IsSelected(r)) urls.push_back(UrlOfRow(table_, r));
    }
    return urls;
}

}  // namespace flk
