#include "download/ui/DownloadListSource.h"

namespace flk::ui {

// Widths in dialog units.
const ListColumn DownloadListSource::kWaitingColumns[6] = {
    {"URL", 125}, {"Target", 100}, {"Received (KB)", 55}, {"Size (KB)", 45}, {"Progress", 40}, {"Status", 90}};
const ListColumn DownloadListSource::kFinishedColumns[3] = {{"URL", 190}, {"Target", 150}, {"Result", 150}};

void DownloadListSource::ShowWaiting(const std::vector<WaitingRow>& rows) {
    std::vector<std::string> keys;
    std::vector<std::vector<std::string>> cells;
    for (const WaitingRow& row : rows) {
        keys.push_back(row.url);
        cells.push_back(row.Cells());
    }
    Show(std::move(keys), std::move(cells));
}

void DownloadListSource::ShowFinished(const std::vector<FinishedRow>& rows) {
    std::vector<std::string> keys;
    std::vector<std::vector<std::string>> cells;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        keys.push_back(std::to_string(rows.size() - 1 - i));
        cells.push_back(rows[i].Cells());
    }
    Show(std::move(keys), std::move(cells));
}

void DownloadListSource::Show(std::vector<std::string> keys, std::vector<std::vector<std::string>> cells) {
    // A row that left the list takes its selection with it.
    std::set<std::string> kept;
    for (const std::string& key : keys)
        if (selected_.count(key)) kept.insert(key);
    selected_.swap(kept);
    keys_ = std::move(keys);
    cells_ = std::move(cells);
    ++revision_;
}

std::vector<std::size_t> DownloadListSource::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (selected_.count(keys_[i])) rows.push_back(i);
    return rows;
}

std::string DownloadListSource::Cell(std::size_t row, std::size_t column) const {
    if (row >= cells_.size() || column >= cells_[row].size()) return "";
    return cells_[row][column];
}

bool DownloadListSource::IsSelected(std::size_t row) const {
    return row < keys_.size() && selected_.count(keys_[row]) > 0;
}

void DownloadListSource::SetSelected(std::size_t row, bool selected) {
    if (row >= keys_.size()) return;
    if (selected)
        selected_.insert(keys_[row]);
    else
        selected_.erase(keys_[row]);
    ++revision_;
}

}  // namespace flk::ui
