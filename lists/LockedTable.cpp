#include "lists/LockedTable.h"

#include "lists/ListHelpers.h"

namespace flk {

void LockedTable::SortByHeader(int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= table_.ColumnCount()) return;
    std::lock_guard<std::mutex> lock(mu_);
    sort_.HeaderClick(column);
    const int col = sort_.column;
    SortLocked([&](const ListRow& a, const ListRow& b) { return CompareColumn(a, b, col); });
}

SortState LockedTable::CurrentSort() const {
    std::lock_guard<std::mutex> lock(mu_);
    return sort_;
}

void LockedTable::SetSelected(std::size_t row, bool selected) {
    std::lock_guard<std::mutex> lock(mu_);
    table_.SetSelected(row, selected);
    Touch();
}

void LockedTable::SelectAll() {
    std::lock_guard<std::mutex> lock(mu_);
    table_.SelectAll();
    Touch();
}

void LockedTable::InvertSelection() {
    std::lock_guard<std::mutex> lock(mu_);
    flk::InvertSelection(table_);
    Touch();
}

void LockedTable::SelectByPattern(std::string_view pattern) {
    std::lock_guard<std::mutex> lock(mu_);
    flk::SelectByPattern(table_, pattern, 0);
    Touch();
}

std::string LockedTable::Caption() const {
    std::lock_guard<std::mutex> lock(mu_);
    return UpdateCountCaption(table_, title_);
}

std::string LockedTable::SaveBlockLocked(std::string_view marker, std::size_t cells) const {
    std::string out = "\r\n\r\n";
    out += marker;
    out += SaveListBlock(table_, cells);
    return out;
}

std::size_t LockedTable::RowCount() const {
    std::lock_guard<std::mutex> lock(mu_);
    return table_.RowCount();
}

std::string LockedTable::Cell(std::size_t row, std::size_t column) const {
    std::lock_guard<std::mutex> lock(mu_);
    return table_.Cell(row, column);
}

bool LockedTable::IsSelected(std::size_t row) const {
    std::lock_guard<std::mutex> lock(mu_);
    return table_.IsSelected(row);
}

ListTable LockedTable::Snapshot() const {
    std::lock_guard<std::mutex> lock(mu_);
    return table_;
}

}  // namespace flk
