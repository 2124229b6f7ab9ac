#include "lists/ListHelpers.h"

#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

std::string UpdateCountCaption(const ListTable& table, std::string_view title) {
    std::string counts = std::to_string(table.SelectedCount()) + " / " + std::to_string(table.RowCount());
    if (title.empty()) return counts;
    std::string out(title);
    out += " (";
    out += counts;
    out += ')';
    return out;
}

std::vector<std::size_t> ParseColumnList(std::string_view columns) {
    std::vector<std::size_t> out;
    for (const std::string& piece : Split(columns, ",")) {
        std::string_view t = Trim(piece);
        if (t.empty() || t.size() > 6) continue;
        if (!std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        std::size_t v = 0;
        for (char c : t) v = v * 10 + static_cast<std::size_t>(c - '0');
        out.push_back(v);
    }
    return out;
}

std::string ListToText(const ListTable& table, std::string_view columns, std::string_view cellSeparator,
                       std::string_view rowSeparator, bool selectedOnly) {
    const std::vector<std::size_t> cols = ParseColumnList(columns);
    std::string out;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (selectedOnly && !table.IsSelected(r)) continue;
        for (std::size_t c : cols) {
            out += table.Cell(r, c);
            out += cellSeparator;
        }
        out += rowSeparator;
    }
    return out;
}

std::string ListToReport(const ListTable& table, std::string_view columns) {
    const std::vector<std::size_t> cols = ParseColumnList(columns);
    std::vector<std::size_t> widths(cols.size(), 0);
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (!table.IsSelected(r)) continue;
        for (std::size_t i = 0; i < cols.size(); ++i) {
            const std::size_t size = table.Cell(r, cols[i]).size();
            if (size <= kMaxReportPadding) widths[i] = std::max(widths[i], size);
        }
    }
    std::string out;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (!table.IsSelected(r)) continue;
        for (std::size_t i = 0; i < cols.size(); ++i) {
            const std::string& cell = table.Cell(r, cols[i]);
            out += cell;
            if (cell.size() < widths[i]) out.append(widths[i] - cell.size(), ' ');
            out += '\t';
        }
        out += '\n';
    }
    return out;
}

std::string ProtectCell(std::string_view text) {
    // One pass: the space goes after the first character of each sequence.
    // The two sequences share no character, so neither break can make or
    // hide the other.
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        std::string_view rest = text.substr(i);
        if (rest.starts_with(kCellSeparator) || rest.starts_with(kBlockOpen)) out += ' ';
    }
    if (out.ends_with(";-")) out.insert(out.size() - 1, 1, ' ');
    return out;
}

std::string SaveListBlock(const ListTable& table, std::size_t columns) {
    std::string out;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            out += ProtectCell(table.Cell(r, c));
            out += kCellSeparator;
        }
    }
    return out;
}

void LoadListBlock(ListTable& table, std::string_view block, std::size_t columns) {
    table.Clear();
    if (columns == 0) return;
    const std::vector<std::string> pieces = SplitBySeparator(block, kCellSeparator);
    for (std::size_t i = 0; i < pieces.size(); i += columns) {
        const std::size_t row = table.AddRow(TrimCopy(pieces[i]));
        for (std::size_t c = 1; c < columns && i + c < pieces.size(); ++c) table.SetCell(row, c, TrimCopy(pieces[i + c]));
    }
}

bool FindBlock(std::string_view projectText, std::string_view marker, std::string_view& body) {
    std::size_t at = projectText.find(marker);
    if (at == std::string_view::npos) return false;
    body = projectText.substr(at + marker.size());
    std::size_t end = body.find(kBlockOpen);
    if (end != std::string_view::npos) body = body.substr(0, end);
    return true;
}

void SelectByPattern(ListTable& table, std::string_view pattern, std::size_t column) {
    std::vector<std::string> pieces;
    for (const std::string& p : Split(pattern, "*")) {
        std::string t = TrimCopy(p);
        if (!t.empty()) pieces.push_back(std::move(t));
    }
    if (pieces.empty()) return;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        const std::string& text = table.Cell(r, column);
        bool all = std::all_of(pieces.begin(), pieces.end(),
                               [&](const std::string& p) { return text.find(p) != std::string::npos; });
        table.SetSelected(r, all);
    }
}

void InvertSelection(ListTable& table) {
    for (ListRow& r : table.Rows()) r.selected = !r.selected;
}

std::string WriteListFile(const std::string& folder, const std::string& name, const std::string& text) {
    const std::string path = JoinPath(folder, name);
    return WriteTextModeFile(path, text) ? path : std::string();
}

std::string FormatSize(long long bytes, bool twoDecimals) {
    if (bytes <= 0) return "0";
    if (bytes < 1024) return std::to_string(bytes) + " Bytes";
    // Integer arithmetic keeps the decimal point a "." in every locale; the
    // cap keeps bytes * 100 far from overflowing.
    constexpr long long kCap = 1000000000000000LL;
    bytes = std::min(bytes, kCap);
    const bool kilo = bytes <= 1048575;
    const long long unit = kilo ? 1024 : 1048576;
    const char* name = kilo ? " KB" : " MB";
    if (!twoDecimals) return std::to_string((bytes + unit / 2) / unit) + name;
    const long long hundredths = (bytes * 100 + unit / 2) / unit;
    std::string frac = std::to_string(hundredths % 100);
    if (frac.size() < 2) frac.insert(0, 1, '0');
    return std::to_string(hundredths / 100) + "." + frac + name;
}

}  // namespace flk
