// Find and sort on any grid over the cell interface, and the grid editor's go-to, find and sort
// commands with their dialogs.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_sort.h"
#include "toolkit/grid/grid_win.h"

#include "resources/dialog_ids.h"
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_table_win.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int KEY_ENTRY_LENGTH = 50;

// Remembered between sort commands: direction (radio position) and match case.
int SORT_DIRECTION = 1;
int SORT_MATCH_CASE = 0;

// Columns and rows in use of a grid; false after raising 1005 (field id not 0 without a dialog) or
// 1006.
bool grid_counts(int field, bool dialog_needed, int& columns, int& rows)
{
    if ((field != 0 || dialog_needed) && !current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return false;
    }
    int f = field;
    WGridInfo(f, 1, columns);
    WGridInfo(f, 3, rows);
    if (f < 0) {
        IErrorReport(ERR_NO_FIELD);
        return false;
    }
    return true;
}

// The field-type code of a 1-based column.
int column_type(int field, int column)
{
    int f = field, type = 0;
    WGridColumnType(f, column - 1, type);
    return type;
}

// The key of one cell (1-based column and row) for a sort in the given direction.
void WGridSortKey(int field, int column, int row, int type, bool ignore_case, bool descending, int key_width,
                  GridSortKey& key)
{
    int f = field;
    if (type == GRID_TYPE_TEXT) {
        WGridGetText(f, column - 1, row - 1, key.text, key_width);
        key.text = key.text.substr(0, key.text.find('\0'));
        if (key.text.empty())
            return grid_empty_key(type, descending, key);
        if (ignore_case)
            IStrUpper(key.text);
    } else if (type == GRID_TYPE_CHECK) {
        WGridGetCheckBox(f, column - 1, row - 1, key.integer);
    } else if (type == GRID_TYPE_MENU) {
        WGridGetMenu(f, column - 1, row - 1, key.integer);
    } else {
        double v = 0.0;
        WGridGetValue(f, column - 1, row - 1, v);
        if (f == -3)
            return grid_empty_key(type, descending, key);
        key.integer = static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
        key.real = static_cast<float>(v);
        key.dbl = v;
    }
    key.defined = 1;
}

// The rows of a grid field for the sort. A row's key is read through the cell interface once and kept,
// and moves with its row at each exchange, so that the sort's repeated key reads cost no cell access.
class GridRowsOfField : public GridSortRows {
public:
    GridRowsOfField(int field, HWND grid, int column, int type, int flags, int key_width, int first, int last)
        : field_(field), grid_(grid), column_(column), type_(type), descending_((flags & 1) != 0),
          ignore_case_((flags & 2) != 0), labels_((flags & 4) != 0), key_width_(key_width), first_(first),
          keys_(static_cast<size_t>(last - first + 1)), read_(static_cast<size_t>(last - first + 1), 0)
    {
    }
    void key(int row, GridSortKey& key) override
    {
        const size_t i = static_cast<size_t>(row - first_);
        if (!read_[i]) {
            WGridSortKey(field_, column_, row, type_, ignore_case_, descending_, key_width_, keys_[i]);
            read_[i] = 1;
        }
        key = keys_[i];
    }
    void swap(int a, int b) override
    {
        if (GridRecord* g = grid_record(grid_))
            grid_swap_rows(grid_, *g, a - 1, b - 1, labels_ ? 4 : 0);
        std::swap(keys_[static_cast<size_t>(a - first_)], keys_[static_cast<size_t>(b - first_)]);
        std::swap(read_[static_cast<size_t>(a - first_)], read_[static_cast<size_t>(b - first_)]);
    }

private:
    const int field_;
    const HWND grid_;
    const int column_, type_;
    const bool descending_, ignore_case_, labels_;
    const int key_width_, first_;
    std::vector<GridSortKey> keys_;
    std::vector<char> read_;
};

// The frame of an editor command: the given window current, the last error kept, the dialog loaded;
// at the end the error, window and dialog as they were.
class CommandFrame {
public:
    CommandFrame(int window, int dialog) : dialog_(dialog), window_(WIN_CURRENT.window)
    {
        previous_dialog_ = current_dialog_window() ? DIALOG_TABLE.current_id : 0;
        if (window != window_)
            WWinMakeCurrent(window, true);
        kept_error_ = ERROR_STATE.last_error;
        ERROR_STATE.last_error = 0;
        WDialogLoad(dialog);
        loaded_ = ERROR_STATE.last_error == 0;
        if (!loaded_)
            WMessageBox(0, 1, 1, "Unable to load required dialog", "Error");
        else
            WDialogSelect(dialog);
    }
    ~CommandFrame()
    {
        if (loaded_ && WDialogSlotFromId(dialog_) > 0) {
            WDialogSelect(dialog_);
            WDialogUnload();
        }
        ERROR_STATE.last_error = kept_error_;
        if (WIN_CURRENT.window != window_)
            WWinMakeCurrent(window_, true);
        if (previous_dialog_ && WDialogSlotFromId(previous_dialog_) > 0)
            WDialogSelect(previous_dialog_);
    }
    bool loaded() const { return loaded_; }

private:
    const int dialog_;
    const int window_;
    int previous_dialog_ = 0;
    int kept_error_ = 0;
    bool loaded_ = false;
};

}  // namespace

void WGridFind(int field, std::string_view text, int length, int flags, int& found, int first_column,
               int last_column, int first_row, int last_row)
{
    found = 0;
    int columns = 0, rows = 0;
    if (!grid_counts(field, false, columns, rows))
        return;
    const int c1 = std::max(first_column, 1);
    const int c2 = last_column > 0 ? std::min(last_column, columns) : columns;
    const int r1 = std::max(first_row, 1);
    const int r2 = last_row > 0 ? std::min(last_row, rows) : rows;
    int start_column = c1, start_row = r1;
    if (flags & 1) {
        int f = field, current_column = 0, current_row = 0;
        WGridInfo(f, 4, current_column);
        WGridInfo(f, 5, current_row);
        if (current_column >= c1) {
            start_column = current_column;
            start_row = std::max(current_row + 1, r1);
        }
    }
    const bool ignore_case = (flags & 2) != 0;
    bool first_searched = true;
    for (int column = start_column; column <= c2; ++column) {
        if (column_type(field, column) != GRID_TYPE_TEXT)
            continue;
        int f = field, width = 0;
        WGridColumnLength(f, column - 1, width);
        int row = -1;
        WGridFindInColumn(
            text, length, first_searched ? start_row : r1, r2, ignore_case,
            [&](int r) {
                std::string cell(static_cast<size_t>(std::max(width, 0)), ' ');
                WGridGetString(field, column, r, cell);
                return cell;
            },
            row);
        first_searched = false;
        if (row > 0) {
            WGridSelectCell(field, column, row);
            found = -1;
            return;
        }
    }
}

// Sorts rows first..last (0: the first and last rows in use) of a grid by one 1-based column.
void WGridSort(int field, int column, int first_row, int last_row, int flags)
{
    int columns = 0, rows = 0;
    if (!grid_counts(field, field != 0, columns, rows))
        return;
    if (column < 1 || column > columns) {
        IErrorReport(ERR_CELL);
        return;
    }
    const int first = first_row > 0 ? first_row : 1;
    const int last = last_row > 0 ? last_row : rows;
    const int type = column_type(field, column);
    int key_width = 1;
    if (type == GRID_TYPE_TEXT) {
        int f = field;
        WGridColumnLength(f, column - 1, key_width);
    }
    int f = field;
    HWND grid = grid_field_window(f);
    if (!grid || first < 1 || last > rows || first > last)
        return;
    GridRowsOfField sorted(field, grid, column, type, flags, key_width, first, last);
    WGridSortRows(first, last, type, (flags & 1) != 0, sorted);
}

// The go-to dialog over the window: mode 1 a cell, 2 a row, else a column.
void WGridEdGoto(int window, int mode)
{
    CommandFrame frame(window, mode == 1 ? IDD_GRID_GOTO_CELL : IDD_GRID_GOTO_LINE);
    if (!frame.loaded())
        return;
    int f = 0, columns = 0, rows = 0, column = 1, row = 1;
    WGridInfo(f, 1, columns);
    WGridInfo(f, 3, rows);
    WGridInfo(f, 4, column);
    WGridInfo(f, 5, row);
    if (mode == 1) {
        WDialogPutInteger(IDC_GRID_GOTO_NUMBER, column);
        WDialogPutInteger(IDC_GRID_GOTO_ROW, row);
        WDialogRangeInteger(IDC_GRID_GOTO_NUMBER, 1, columns);
        WDialogRangeInteger(IDC_GRID_GOTO_ROW, 1, rows);
    } else {
        const bool by_row = mode == 2;
        WDialogTitle(by_row ? "Goto Row" : "Goto Column");
        WDialogPutString(IDC_GRID_GOTO_LABEL, by_row ? "&Row" : "&Column");
        WDialogPutInteger(IDC_GRID_GOTO_NUMBER, by_row ? row : column);
        WDialogRangeInteger(IDC_GRID_GOTO_NUMBER, 1, by_row ? rows : columns);
    }
    WDialogShow(-1, -1, 0, 1);
    if (WDialogInfo(1) != 1)
        return;
    if (mode == 1) {
        WDialogGetInteger(IDC_GRID_GOTO_NUMBER, column);
        WDialogGetInteger(IDC_GRID_GOTO_ROW, row);
    } else if (mode == 2) {
        WDialogGetInteger(IDC_GRID_GOTO_NUMBER, row);
    } else {
        WDialogGetInteger(IDC_GRID_GOTO_NUMBER, column);
    }
    WGridSelectCell(0, column, row);
}

// Mode 1 asks for the text first; then finds it from the current cell, "End of grid reached" when not.
void WGridEdFind(int window, int mode, int& match_case, std::string& text)
{
    const size_t nul = text.find('\0');
    std::string search = text.substr(0, nul);
    int length = static_cast<int>(search.size());
    bool run = true;
    if (mode == 1) {
        CommandFrame frame(window, IDD_GRID_FIND);
        if (!frame.loaded())
            return;
        WDialogPutString(IDC_GRID_FIND_TEXT, search);
        WDialogPutCheckBox(IDC_GRID_FIND_CASE, match_case);
        int error = 0;
        WWinSnapshot(1, window, error);
        WDialogShowAtOrigin(0, 3);
        // Only push buttons count while the dialog is up: the grid cannot be edited meanwhile.
        for (;;) {
            int type = 0;
            WinMessage m;
            WMsgWait(type, m);
            if (type != MsgButton)
                continue;
            if (m.value1 == 1) {
                int n = 0;
                WDialogGetTextLength(IDC_GRID_FIND_TEXT, n);
                if (n == 0) {
                    IOsBeepControl(" ");
                    continue;
                }
                WDialogGetString(IDC_GRID_FIND_TEXT, search);
                length = n;
                WDialogGetCheckBox(IDC_GRID_FIND_CASE, match_case);
                break;
            }
            if (m.value1 == 2) {
                run = false;
                break;
            }
        }
        WDialogHide();
        WWinSnapshot(0, window, error);
    }
    if (run) {
        const int previous = WIN_CURRENT.window;
        if (window != previous)
            WWinMakeCurrent(window, true);
        int found = 0;
        WGridFind(0, search, std::max(length, 0), 1 + (match_case == 0 ? 2 : 0), found);
        if (found == 0)
            WMessageBox(0, 4, 1, "End of grid reached", "FIND");
        if (WIN_CURRENT.window != previous)
            WWinMakeCurrent(previous, true);
    }
    text = search.substr(0, static_cast<size_t>(std::max(length, 0)));
}

// The sort dialog lists the columns by label; the direction and case are kept for the next sort.
void WGridEdSort(int window, int label_flag, int& sorted)
{
    sorted = 0;
    int f = 0, columns = 0, current = 1;
    const int previous = WIN_CURRENT.window;
    if (window != previous)
        WWinMakeCurrent(window, true);
    WGridInfo(f, 1, columns);
    WGridInfo(f, 4, current);
    std::vector<std::string> entries;
    for (int k = 1; k <= columns; ++k) {
        std::string label;
        int g = 0;
        WGridGetColumnLabel(g, k, label);
        label = label.substr(0, label.find('\0')).substr(0, KEY_ENTRY_LENGTH);
        entries.push_back(label.empty() ? "Column " + std::to_string(k) : label);
    }
    if (window != previous)
        WWinMakeCurrent(previous, true);
    CommandFrame frame(window, IDD_GRID_SORT);
    if (!frame.loaded())
        return;
    WDialogPutMenu(IDC_GRID_SORT_COLUMN, entries.data(), static_cast<int>(entries.size()), current);
    WDialogPutRadioButton(SORT_DIRECTION == 1 ? IDC_GRID_SORT_ASCENDING : IDC_GRID_SORT_DESCENDING);
    WDialogPutCheckBox(IDC_GRID_SORT_CASE, SORT_MATCH_CASE);
    WDialogShow(-1, -1, 0, 1);
    if (WDialogInfo(1) != 1)
        return;
    sorted = 1;
    int column = 0, rows = 0;
    std::string chosen;
    WDialogGetMenu(IDC_GRID_SORT_COLUMN, column, chosen);
    WDialogGetRadioButton(IDC_GRID_SORT_ASCENDING, SORT_DIRECTION);
    WDialogGetCheckBox(IDC_GRID_SORT_CASE, SORT_MATCH_CASE);
    f = 0;
    WGridInfo(f, 3, rows);
    const int flags =
        (SORT_DIRECTION == 2 ? 1 : 0) + (SORT_MATCH_CASE == 0 ? 2 : 0) + (label_flag == 1 ? 4 : 0);
    if (rows > 0)
        WGridSort(0, column, 1, rows, flags);
}
