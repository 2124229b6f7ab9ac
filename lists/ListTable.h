#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace flk {

// One row of a report-style list: its cells and whether the user (or a
// selection rule) has selected it.
struct ListRow {
    std::vector<std::string> cells;
    bool selected = false;
};

// The data behind a report-style list window: rows of string cells plus a
// selected flag per row. The window only displays it. Row order is the
// display order, so a row's index is its position after every sort.
//
// Not thread-safe by itself: the lists that workers fill guard their table
// with their own mutex.
class ListTable {
public:
    explicit ListTable(std::size_t columns) : columns_(columns) {}

    std::size_t ColumnCount() const { return columns_; }
    std::size_t RowCount() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }

    // Empty text for a row or column out of range.
    const std::string& Cell(std::size_t row, std::size_t column) const;
    // Ignored for a row or column out of range.
    void SetCell(std::size_t row, std::size_t column, std::string text);

    // Appends a row with every cell empty except column 0; returns its index.
    std::size_t AddRow(std::string first);

    bool IsSelected(std::size_t row) const { return row < rows_.size() && rows_[row].selected; }
    void SetSelected(std::size_t row, bool selected);
    void SelectAll();
    std::size_t SelectedCount() const;

    void Clear() { rows_.clear(); }

    const std::vector<ListRow>& Rows() const { return rows_; }
    std::vector<ListRow>& Rows() { return rows_; }

private:
    std::size_t columns_;
    std::vector<ListRow> rows_;
};

}  // namespace flk
