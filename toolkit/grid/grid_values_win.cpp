// Cell value routines: 1-based columns and rows over the cell interface, with its failures raised as
// toolkit errors.
#include "toolkit/grid/grid.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/number_text.h"

namespace {

// Raises the error of a failure mark of the cell interface; true when there was one.
bool report(int mark)
{
    switch (mark) {
    case -1: IErrorReport(ERR_NO_FIELD); return true;
    case -2: IErrorReport(ERR_CELL); return true;
    case -3: IErrorReport(ERR_RANGE); return true;
    default: return false;
    }
}

// A field id other than 0 needs a loaded dialog.
bool no_dialog(int field)
{
    if (field != 0 && !current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return true;
    }
    return false;
}

// The text up to a NUL, without leading and trailing blanks.
std::string trimmed(std::string_view text)
{
    std::string t(text.substr(0, text.find('\0')));
    t.erase(0, t.find_first_not_of(' '));
    t.erase(t.find_last_not_of(' ') + 1);
    return t;
}

// The typed store: range check, then text, value and format (the column's own when none is given).
void put_number(int field, int column, int row, double value, const std::string& text,
                const std::string& format)
{
    if (no_dialog(field))
        return;
    int f = field;
    WGridRangeCheck(f, column - 1, value);
    if (report(f))
        return;
    f = field;
    WGridPutCell(f, column - 1, row - 1, value, trimmed(text), format);
    report(f);
}

// The format of a real or double store: the given one up to a NUL, or the column's.
std::string store_format(int field, int column, std::string_view format)
{
    std::string f = trimmed(format);
    if (f.empty()) {
        int id = field;
        WGridGetFormat(id, column - 1, f);
        if (id < 0 || f.empty())
            f = DEFAULT_REAL_FORMAT;
    }
    return f;
}

}  // namespace

// Makes a cell current (1-based column and row); a failure is reported as a toolkit error.
void WGridSelectCell(int field, int column, int row)
{
    if (no_dialog(field))
        return;
    WGridSetCell(field, column - 1, row - 1);
    report(field);
}

void WGridGetString(int field, int column, int row, std::string& text)
{
    if (no_dialog(field))
        return;
    const size_t length = text.size();
    std::string work;
    WGridGetText(field, column - 1, row - 1, work, static_cast<int>(length) + 1);
    if (report(field))
        return;
    work = work.substr(0, work.find('\0'));
    work.resize(length, ' ');
    text = work;
}

void WGridEmptyCell(int field, int column, int row)
{
    if (no_dialog(field))
        return;
    WGridClearCell(field, column - 1, row - 1, 0);
    report(field);
}

void WGridPutInteger(int field, int column, int row, int value)
{
    std::string text;
    IIntegerToString(value, text, "(I100)");
    put_number(field, column, row, value, text, "");
}

void WGridPutReal(int field, int column, int row, float value, std::string_view format)
{
    const std::string f = store_format(field, column, format);
    std::string text;
    IRealToString(value, text, f);
    put_number(field, column, row, value, text, f);
}

void WGridPutDouble(int field, int column, int row, double value, std::string_view format)
{
    const std::string f = store_format(field, column, format);
    std::string text;
    number_to_string(value, text, f);
    put_number(field, column, row, value, text, f);
}
