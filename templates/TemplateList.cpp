#include "templates/TemplateList.h"

#include "platform/TextUtil.h"

namespace flk {

TemplateTable::TemplateTable(std::vector<std::string> columns) : columns_(std::move(columns)) {}

void TemplateTable::SetColumns(std::vector<std::string> columns) { columns_ = std::move(columns); }

void TemplateTable::AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

void TemplateTable::Clear() {
    rows_.clear();
    current_ = -1;
    stepsTaken_ = 0;
}

int TemplateTable::ColumnIndex(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (EqualsNoCase(columns_[i], name)) return static_cast<int>(i);
    return -1;
}

void TemplateTable::SetPageSize(int rows) { pageSize_ = rows; }

int TemplateTable::RowCount() const { return static_cast<int>(rows_.size()); }

bool TemplateTable::Seek(int row) {
    if (row < -1 || row >= RowCount()) return false;
    current_ = row;
    stepsTaken_ = 0;
    return true;
}

bool TemplateTable::Next() {
    if (pageSize_ > 0 && stepsTaken_ >= pageSize_) return false;
    if (current_ + 1 >= RowCount()) return false;
    ++current_;
    ++stepsTaken_;
    return true;
}

std::string TemplateTable::Value(int column) const {
    if (current_ < 0 || current_ >= RowCount() || column < 0) return {};
    const auto& row = rows_[static_cast<std::size_t>(current_)];
    if (static_cast<std::size_t>(column) >= row.size()) return {};
    return row[static_cast<std::size_t>(column)];
}

std::string TemplateTable::Value(std::string_view column) const { return Value(ColumnIndex(column)); }

void TemplateTable::SetMarkupColumns(std::vector<std::string> names) { markup_ = std::move(names); }

bool TemplateTable::IsMarkup(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= columns_.size()) return false;
    return IsMarkup(std::string_view(columns_[static_cast<std::size_t>(column)]));
}

bool TemplateTable::IsMarkup(std::string_view column) const {
    if (ColumnIndex(column) < 0) return false;
    for (const std::string& name : markup_)
        if (EqualsNoCase(name, column)) return true;
    return false;
}

}  // namespace flk
