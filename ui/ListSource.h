#pragma once
#include "lists/ListSort.h"
#include "lists/MediaList.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace flk::ui {

// A report-style list model as a list window reads and steers it, seen
// through ListSourceOf (the media lists and the hit list get these calls
// from LockedTable).
class ListSource {
public:
    virtual ~ListSource() = default;
    virtual std::span<const ListColumn> Columns() const = 0;
    virtual std::uint64_t Revision() const = 0;
    virtual std::size_t RowCount() const = 0;
    virtual std::string Cell(std::size_t row, std::size_t column) const = 0;
    virtual bool IsSelected(std::size_t row) const = 0;
    virtual void SetSelected(std::size_t row, bool selected) = 0;
    virtual void SortByHeader(int column) = 0;
    virtual SortState CurrentSort() const = 0;
    // The header text of column 0, with the selected and row counts.
    virtual std::string Caption() const = 0;
};

// The adapter for any list with those member functions; the columns are
// given because the lists name them differently.
template <class List>
class ListSourceOf : public ListSource {
public:
    ListSourceOf(List& list, std::span<const ListColumn> columns) : list_(list), columns_(columns) {}
    std::span<const ListColumn> Columns() const override { return columns_; }
    std::uint64_t Revision() const override { return list_.Revision(); }
    std::size_t RowCount() const override { return list_.RowCount(); }
    std::string Cell(std::size_t row, std::size_t column) const override { return list_.Cell(row, column); }
    bool IsSelected(std::size_t row) const override { return list_.IsSelected(row); }
    void SetSelected(std::size_t row, bool selected) override { list_.SetSelected(row, selected); }
    void SortByHeader(int column) override { list_.SortByHeader(column); }
    SortState CurrentSort() const override { return list_.CurrentSort(); }
    std::string Caption() const override { return list_.Caption(); }

private:
    List& list_;
    std::span<const ListColumn> columns_;
};

}  // namespace flk::ui
