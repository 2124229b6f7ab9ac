#pragma once
#include "lists/ListSort.h"
#include "lists/ListTable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace flk {

// A ListTable that worker threads fill while the UI thread reads it: the
// table, its sort state and a revision counter under one mutex, with the
// selection, sorting, caption and reading calls every list window uses.
// Every public call takes the mutex for itself only.
class LockedTable {
public:
    LockedTable(const LockedTable&) = delete;
    LockedTable& operator=(const LockedTable&) = delete;
    virtual ~LockedTable() = default;

    // A header click sorts by that column (CompareColumn); the same column
    // twice flips the direction. A column out of range is ignored.
    void SortByHeader(int column);
    SortState CurrentSort() const;

    // Selection.
    void SetSelected(std::size_t row, bool selected);
    void SelectAll();
    void InvertSelection();
    void SelectByPattern(std::string_view pattern);  // on column 0

    // "Images (2 / 5)": the title, selected rows / all rows.
    std::string Caption() const;

    // Reading for the window and the result pages.
    std::size_t RowCount() const;
    std::string Cell(std::size_t row, std::size_t column) const;
    bool IsSelected(std::size_t row) const;
    ListTable Snapshot() const;
    // Grows with every change, so a window can poll for refreshes.
    std::uint64_t Revision() const { return revision_.load(); }

protected:
    // `title` must outlive the table (the lists pass constants).
    LockedTable(std::size_t columns, std::string_view title) : table_(columns), title_(title) {}

    // Three-way order of two rows on a column, before the direction
    // applies; called under the lock.
    virtual int CompareColumn(const ListRow& a, const ListRow& b, int column) const = 0;

    // Sorts with the current state; `compare` overrides CompareColumn.
    template <typename Compare>
    void SortLocked(Compare compare) {
        const int dir = sort_.direction;
        SortRows(table_, [&](const ListRow& a, const ListRow& b) { return Directed(compare(a, b), dir); });
        Touch();
    }

    // "\r\n\r\n" + marker + the first `cells` cells of every row; under the
    // lock.
    std::string SaveBlockLocked(std::string_view marker, std::size_t cells) const;

    void Touch() { revision_.fetch_add(1); }

    mutable std::mutex mu_;
    ListTable table_;
    SortState sort_;

private:
    std::string_view title_;
    std::atomic<std::uint64_t> revision_{0};
};

}  // namespace flk
