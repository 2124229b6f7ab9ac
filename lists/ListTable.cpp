#include "lists/ListTable.h"

namespace flk {

const std::string& ListTable::Cell(std::size_t row, std::size_t column) const {
    static const std::string kEmpty;
    if (row >= rows_.size() || column >= rows_[row].cells.size()) return kEmpty;
    return rows_[row].cells[column];
}

void ListTable::SetCell(std::size_t row, std::size_t column, std::string text) {
    if (row >= rows_.size() || column >= columns_) return;
    rows_[row].cells[column] = std::move(text);
}

std::size_t ListTable::AddRow(std::string first) {
    ListRow row;
    row.cells.resize(columns_);
    if (columns_ > 0) row.cells[0] = std::move(first);
    rows_.push_back(std::move(row));
    return rows_.size() - 1;
}

void ListTable::SetSelected(std::size_t row, bool selected) {
    if (row < rows_.size()) rows_[row].selected = selected;
}

void ListTable::SelectAll() {
    for (ListRow& r : rows_) r.selected = true;
}

std::size_t ListTable::SelectedCount() const {
    std::size_t n = 0;
    for (const ListRow& r : rows_) n += r.selected ? 1 : 0;
    return n;
}

}  // namespace flk
