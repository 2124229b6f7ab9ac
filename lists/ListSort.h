#pragma once
#include "lists/ListTable.h"

#include <algorithm>
#include <string_view>

namespace flk {

// Which column a list is sorted by and in which direction. Direction +1 puts
// larger values first, -1 smaller ones; it changes sign when the same column
// is chosen twice in a row. So the first click on a header other than the
// first column sorts largest first, and "Name" (column 0 is the current
// column when a list starts) sorts A to Z the first time.
struct SortState {
    int column = 0;
    int previous = -1;
    int direction = 1;

    void HeaderClick(int clicked) {
        previous = column;
        column = clicked;
        if (column == previous) direction = -direction;
    }
    // The "Sort by" menu commands, which always sort on column 0.
    void MenuSort() {
        previous = column;
        column = 0;
        if (previous == 0) direction = -direction;
    }
};

// -1, 0 or 1 as a is below, equal to or above b.
template <typename T>
int ThreeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The lists' comparison result from a three-way order: 0 for equal keys (so
// the order is a strict weak order), +direction when the first is smaller,
// else -direction. A row with a negative result goes first.
inline int Directed(int order, int direction) { return order == 0 ? 0 : (order < 0 ? direction : -direction); }

// ASCII case-insensitive order.
int CompareNoCase(std::string_view a, std::string_view b);

// Leading integer of a cell as the C library's atoi reads it, saturated to
// the int range.
long long LeadingInt(std::string_view text);

// A size cell ("1.50 KB", "900 Bytes", "2.00 MB", "0", "") as a number that
// orders by the size it shows: hundredths of a byte.
long long SizeCellValue(std::string_view text);

// What follows the last "." (the whole text when it has none).
std::string_view AfterLastDot(std::string_view text);

// Stable sort with a comparison as above.
template <typename Compare>
void SortRows(ListTable& table, Compare compare) {
    std::stable_sort(table.Rows().begin(), table.Rows().end(),
                     [&](const ListRow& a, const ListRow& b) { return compare(a, b) < 0; });
}

}  // namespace flk
