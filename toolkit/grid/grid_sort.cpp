// Sort keys, the row sort and the column search.
#include "toolkit/grid/grid_sort.h"

#include "toolkit/common/text_utilities.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <utility>

void grid_empty_key(int type, bool descending, GridSortKey& key)
{
    key.defined = 0;
    switch (type) {
    // Assigned from a string, not a literal: from a literal GCC 12 warns of an overlap that cannot occur.
    case GRID_TYPE_TEXT: key.text = std::string(descending ? " " : "\xFF"); break;
    case GRID_TYPE_INTEGER: key.integer = descending ? -INT_MAX : INT_MAX; break;
    case GRID_TYPE_REAL: key.real = descending ? -FLT_MAX : FLT_MAX; break;
    case GRID_TYPE_DOUBLE: key.dbl = descending ? -DBL_MAX : DBL_MAX; break;
    default: key.integer = 0; break;
    }
}

namespace {

template <typename T>
int order(T a, T b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

int text_compare(const std::string& a, const std::string& b)
{
    const size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
        unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace

int grid_key_compare(int type, const GridSortKey& a, const GridSortKey& b)
{
    switch (type) {
    case GRID_TYPE_TEXT: return text_compare(a.text, b.text);
    case GRID_TYPE_REAL: return order(a.real, b.real);
    case GRID_TYPE_DOUBLE: return order(a.dbl, b.dbl);
    default: return order(a.integer, b.integer);
    }
}

void WGridSortRows(int first, int last, int type, bool descending, GridSortRows& rows)
{
    // "a before b" in the sort's direction.
    auto before = [&](const GridSortKey& a, const GridSortKey& b) {
        int c = grid_key_compare(type, a, b);
        return descending ? c > 0 : c < 0;
    };
    GridSortKey ki, kj, pivot;
    while (last > first) {
        if (last < first + 6) {
            for (int i = first; i < last; ++i) {
                rows.key(i, ki);
                for (int j = i + 1; j <= last; ++j) {
                    rows.key(j, kj);
                    if (before(kj, ki)) {
                        rows.swap(i, j);
                        rows.key(i, ki);
                    }
                }
            }
            return;
        }
        rows.key(first + (last - first) / 2, pivot);
        int i = first - 1, j = last + 1;
        for (;;) {
            do
                rows.key(++i, ki);
            while (before(ki, pivot));
            do
                rows.key(--j, kj);
            while (before(pivot, kj));
            if (i >= j)
                break;
            if (grid_key_compare(type, ki, kj) != 0)
                rows.swap(i, j);
        }
        if (i == j)
            ++i;
        // first..j and i..last: the smaller part recursively, the larger one in this loop.
        if (j - first < last - i) {
            if (first < j)
                WGridSortRows(first, j, type, descending, rows);
            first = i;
        } else {
            if (i < last)
                WGridSortRows(i, last, type, descending, rows);
            last = j;
        }
    }
}

void WGridFindInColumn(std::string_view text, int length, int first, int last, bool ignore_case,
                       const std::function<std::string(int)>& cell_text, int& found)
{
    std::string pattern(text.substr(0, static_cast<size_t>(std::max(0, length))));
    if (ignore_case)
        IStrUpper(pattern);
    found = -1;
    for (int row = first; row <= last; ++row) {
        std::string cell = cell_text(row);
        if (ignore_case)
            IStrUpper(cell);
        if (cell.find(pattern) != std::string::npos) {
            found = row;
            return;
        }
    }
}
