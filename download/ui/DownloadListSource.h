#pragma once
#include "download/DownloadRows.h"
#include "ui/ListSource.h"

#include <set>
#include <span>
#include <string>
#include <vector>

namespace flk::ui {

// One of the manager window's lists as a virtual list reads it: a copy of
// the manager's rows taken on the window's timer. A selection belongs to a
// row's key, so it stays on its row while rows above it come and go. The
// order is the manager's (waiting first in, first out; finished newest
// first), so a header click sorts nothing.
class DownloadListSource : public ListSource {
public:
    static const ListColumn kWaitingColumns[6];
    static const ListColumn kFinishedColumns[3];

    explicit DownloadListSource(std::span<const ListColumn> columns) : columns_(columns) {}

    // Waiting rows are keyed by address (one row per address); finished
    // rows by their place counted from the oldest, which never changes as
    // newer rows arrive on top.
    void ShowWaiting(const std::vector<WaitingRow>& rows);
    void ShowFinished(const std::vector<FinishedRow>& rows);

    std::vector<std::size_t> SelectedRows() const;
    bool AnySelected() const { return !selected_.empty(); }

    std::span<const ListColumn> Columns() const override { return columns_; }
    std::uint64_t Revision() const override { return revision_; }
    std::size_t RowCount() const override { return cells_.size(); }
    std::string Cell(std::size_t row, std::size_t column) const override;
    bool IsSelected(std::size_t row) const override;
    void SetSelected(std::size_t row, bool selected) override;
    void SortByHeader(int) override {}
    SortState CurrentSort() const override { return {}; }
    std::string Caption() const override { return std::string(columns_.front().header); }

private:
    void Show(std::vector<std::string> keys, std::vector<std::vector<std::string>> cells);

    std::span<const ListColumn> columns_;
    std::vector<std::string> keys_;
    std::vector<std::vector<std::string>> cells_;
    std::set<std::string> selected_;
    std::uint64_t revision_ = 0;
};

}  // namespace flk::ui
