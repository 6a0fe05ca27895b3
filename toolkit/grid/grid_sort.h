// Sorting the rows of a grid by one column and finding a text in a column, portable: the sort reads
// keys and exchanges rows through an interface, the search reads cell texts through a function.
#ifndef QR4T_TOOLKIT_GRID_GRID_SORT_H
#define QR4T_TOOLKIT_GRID_GRID_SORT_H

#include <functional>
#include <string>
#include <string_view>

// Field-type codes of the columns (WGridColumnType).
constexpr int GRID_TYPE_TEXT = 4, GRID_TYPE_INTEGER = 5, GRID_TYPE_REAL = 6, GRID_TYPE_DOUBLE = 7,
              GRID_TYPE_CHECK = 9, GRID_TYPE_MENU = 11;

// The sort key of one cell. Texts compare byte by byte as unsigned codes, the shorter padded with
// blanks; integers (also check states and menu options), single- and double-precision reals by value.
struct GridSortKey {
    std::string text;
    int integer = 0;
    float real = 0.0f;
    double dbl = 0.0;
    int defined = 0;
};

// The key of an empty cell: after all others in either direction.
void grid_empty_key(int type, bool descending, GridSortKey& key);
// -1, 0 or 1 as a is below, equal to or above b.
int grid_key_compare(int type, const GridSortKey& a, const GridSortKey& b);

// What the sort works on: the key of a row and the exchange of two rows (rows as the caller counts).
class GridSortRows {
public:
    virtual ~GridSortRows() = default;
    virtual void key(int row, GridSortKey& key) = 0;
    virtual void swap(int row_a, int row_b) = 0;
};

// Sorts rows first..last by their keys (ascending, or descending). Six rows or fewer: exchange sort;
// more: partition around the middle row's key, recursing into the smaller part and looping on the
// larger, so that the depth stays logarithmic and sorted columns cost n log n. Not stable.
void WGridSortRows(int first, int last, int type, bool descending, GridSortRows& rows);

// The first row of first..last whose cell text (fetched blank-padded to the cell width) holds the
// first `length` characters of the text; with ignore case letters a-z count as A-Z. -1 when none.
void WGridFindInColumn(std::string_view text, int length, int first, int last, bool ignore_case,
                       const std::function<std::string(int row)>& cell_text, int& found);

#endif
