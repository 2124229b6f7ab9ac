#pragma once
#include "platform/SplitBySeparator.h"
#include "lists/ListTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// Helpers shared by every report-style list (media lists, hit list, sites
// list). They work on a ListTable; the caller holds the list's lock.

// The separator after every cell of a project block.
inline constexpr std::string_view kCellSeparator = ";-;";
// Every project block marker begins with it; a block ends where the next
// marker begins.
inline constexpr std::string_view kBlockOpen = "{[(";

// The header text of column 0: title + " (" + selected + " / " + rows + ")",
// or selected + " / " + rows with an empty title.
std::string UpdateCountCaption(const ListTable& table, std::string_view title);

// Column indexes from a comma-separated list such as "1,0"; entries that are
// not plain non-negative numbers are skipped.
std::vector<std::size_t> ParseColumnList(std::string_view columns);

// For every row (only selected ones when asked), the listed cells in order,
// each followed by cellSeparator; rowSeparator after each row.
std::string ListToText(const ListTable& table, std::string_view columns, std::string_view cellSeparator,
                       std::string_view rowSeparator, bool selectedOnly);

// The spread sheet report of the selected rows: each listed column padded
// with spaces to its longest selected cell, then a TAB; "\n" after each row.
// No header line. Cells longer than kMaxReportPadding are written unpadded
// and do not widen their column, so one huge cell cannot pad every row.
inline constexpr std::size_t kMaxReportPadding = 256;
std::string ListToReport(const ListTable& table, std::string_view columns);

// Text as it is stored in a project cell: ";-;" and "{[(" get a space after
// their first character, so a cell can never end early or end its block. A
// cell ending in ";-" gets the same space, else the separator after it would
// be found one character early.
std::string ProtectCell(std::string_view text);

// The first `columns` cells of every row, each followed by ";-;"; rows are not
// otherwise delimited.
std::string SaveListBlock(const ListTable& table, std::size_t columns);

// Replaces the rows with the cells of a project block, `columns` cells per
// row (the last row may be partial); every cell is trimmed.
void LoadListBlock(ListTable& table, std::string_view block, std::size_t columns);

// The body of block `marker` ("{[(ImagesList)]}") in a project text: what
// follows the marker up to the next "{[(". False when the marker is absent.
bool FindBlock(std::string_view projectText, std::string_view marker, std::string_view& body);


// Selects the rows whose text in `column` contains every "*"-separated,
// trimmed, non-empty piece of the pattern (case-sensitive, any order), and
// deselects the others. A pattern without pieces changes nothing.
void SelectByPattern(ListTable& table, std::string_view pattern, std::size_t column);

void InvertSelection(ListTable& table);

// Stores an export of a list in folder/name through a text-mode stream; the
// file's path, or "" when it was not written.
std::string WriteListFile(const std::string& folder, const std::string& name, const std::string& text);

// Size text of a byte count: "0" for 0 or less, "N Bytes" below 1024,
// kilobytes up to 1048575, megabytes above. With twoDecimals the value has
// two decimals ("1.50 KB"), else it is rounded to a whole number. The
// decimal point is always ".", whatever the locale.
std::string FormatSize(long long bytes, bool twoDecimals);

}  // namespace flk
