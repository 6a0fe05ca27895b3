// CSV files of a grid: the writer and reader over the cell interface, and the grid editor's Save, Open
// and save-question commands with their messages.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_exchange.h"
#include "toolkit/grid/grid_sort.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#include "toolkit/graphics/byte_stream.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/number_text.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_table_win.h"

namespace {

constexpr int FIELD_TEXT_LENGTH = GRID_CSV_PIECE - 1;  // the text of one field, after its opening quote
constexpr char DEFAULT_FILTER[] = "CSV Files|*.csv|All Files|*.*|";

// The rows in use and columns of a grid; false after raising 1005 or 1006.
bool grid_size(int field, int& rows, int& columns)
{
    if (field != 0 && !current_dialog_window()) {
        IErrorReport(ERR_NO_DIALOG);
        return false;
    }
    int f = field;
    WGridInfo(f, 3, rows);
    WGridInfo(f, 1, columns);
    if (f < 0) {
        IErrorReport(ERR_NO_FIELD);
        return false;
    }
    return true;
}

std::string trimmed(std::string text)
{
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// One cell as its CSV field (without separator).
std::string csv_field(int field, int column, int row)
{
    int f = field, type = 0;
    WGridColumnType(f, column, type);
    std::string text;
    switch (type) {
    case GRID_TYPE_TEXT:
        WGridGetText(f, column, row, text, FIELD_TEXT_LENGTH + 1);
        return grid_csv_quote(text);
    case GRID_TYPE_CHECK: {
        int state = 0;
        WGridGetCheckBox(f, column, row, state);
        return state == 1 ? "Yes" : "No";
    }
    case GRID_TYPE_MENU: {
        int option = 0;
        WGridGetMenu(f, column, row, option);
        if (option == 0)
            return "";
        WGridGetMenuText(f, column, option, text);
        return grid_csv_quote(text);
    }
    default: WGridGetText(f, column, row, text, GRID_CSV_PIECE); return trimmed(text);
    }
}

// The reader's fields into the grid through the cell interface.
class GridFill : public GridCsvSink {
public:
    GridFill(int field, int columns, std::string_view file) : field_(field), columns_(columns), file_(file)
    {
        for (int k = 0; k < columns; ++k) {
            int f = field, type = 0;
            WGridColumnType(f, k, type);
            types_.push_back(type);
        }
    }

    void field(int column, int row, const std::string& content) override
    {
        int f = field_;
        switch (types_[static_cast<size_t>(column)]) {
        case GRID_TYPE_TEXT: WGridPutCell(f, column, row, 0.0, content, ""); break;
        case GRID_TYPE_INTEGER:
        case GRID_TYPE_REAL:
        case GRID_TYPE_DOUBLE: number(column, row, content); break;
        case GRID_TYPE_CHECK: {
            std::string upper = content;
            IStrUpper(upper);
            WGridPutCheckBox(f, column, row, upper == "YES" ? 1 : 0);
            break;
        }
        case GRID_TYPE_MENU: {
            int not_found = 0;
            WGridPutMenuText(f, column, row, not_found, content);
            if (not_found)
                IErrorReport(ERR_MENU_MATCH);
            break;
        }
        default: break;
        }
    }
    void outside() override { IErrorReport(ERR_TOO_MANY); }
    // A line beyond the limit: its file, line and length in the debug log, and a read error.
    void too_long(long long line, long long characters) override
    {
        IErrorToDebugFile(grid_csv_too_long_text(file_, line, characters));
        IErrorReport(ERR_READ_WRITE);
    }
    void line_end(int column, int row) override
    {
        for (int k = column + 1; k < columns_; ++k) {
            int f = field_;
            WGridClearCell(f, k, row, 1);  // menus keep their option
        }
    }
    void rest(int row) override
    {
        int rows = 0, f = field_;
        WGridInfo(f, 3, rows);
        for (int r = row; r < rows; ++r)
            for (int k = 0; k < columns_; ++k) {
                f = field_;
                WGridClearCell(f, k, r, 2);
            }
    }

private:
    // A number field: converted and stored, or the cell emptied with the conversion's error kept as
    // the last one; an earlier error of the load survives a good field.
    void number(int column, int row, const std::string& content)
    {
        const int kept = ERROR_STATE.last_error;
        ERROR_STATE.last_error = 0;
        const int type = types_[static_cast<size_t>(column)];
        if (type == GRID_TYPE_INTEGER) {
            int v = 0;
            IStrToInteger(content, v);
            if (ERROR_STATE.last_error == 0)
                WGridPutInteger(field_, column + 1, row + 1, v);
        } else if (type == GRID_TYPE_REAL) {
            float v = 0.0f;
            IStrToReal(content, v);
            if (ERROR_STATE.last_error == 0)
                WGridPutReal(field_, column + 1, row + 1, v);
        } else {
            double v = 0.0;
            IStrToDouble(content, v);
            if (ERROR_STATE.last_error == 0)
                WGridPutDouble(field_, column + 1, row + 1, v);
        }
        if (ERROR_STATE.last_error != 0) {
            const int error = ERROR_STATE.last_error;
            WGridEmptyCell(field_, column + 1, row + 1);
            ERROR_STATE.last_error = error;
        } else {
            ERROR_STATE.last_error = kept;
        }
    }

    const int field_, columns_;
    const std::string file_;
    std::vector<int> types_;
};

// The window made current for a command, and the one current before it.
struct CurrentWindow {
    explicit CurrentWindow(int window) : previous(WIN_CURRENT.window)
    {
        if (window != previous)
            WWinMakeCurrent(window, true);
    }
    ~CurrentWindow()
    {
        if (WIN_CURRENT.window != previous)
            WWinMakeCurrent(previous, true);
    }
    const int previous;
};

std::string before_nul(std::string_view text)
{
    return std::string(text.substr(0, text.find('\0')));
}

void file_error_box(std::string_view text, std::string_view title)
{
    WMessageBox(0, 3, 1, text, title);
}

}  // namespace

void WGridSaveCSV(int field, std::string_view file)
{
    int rows = 0, columns = 0;
    if (!grid_size(field, rows, columns))
        return;
    int handle = -1;
    IOsBinOpen(file, 1, handle);
    if (handle == -1)
        return;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            std::string text = csv_field(field, column, row);
            text += column + 1 < columns ? "," : "\r\n";
            int count = 0;
            const int n = static_cast<int>(text.size());
            IOsBinWrite(handle, text.data(), n, count);
            if (count != n) {
                // A short write without a system error (a full disc) is a write failure too.
                if (count >= 0)
                    IErrorReport(ERR_READ_WRITE);
                IOsBinClose(handle);
                return;
            }
        }
    IOsBinClose(handle);
}

void WGridLoadCSV(int field, std::string_view file)
{
    int rows = 0, columns = 0;
    if (!grid_size(field, rows, columns))
        return;
    int handle = -1;
    IOsBinOpen(file, 0, handle);
    if (handle == -1)
        return;
    int size = 0;
    IOsBinSeek(handle, size, 2);
    int start = 0;
    IOsBinSeek(handle, start, 0);
    if (size < 0 || start < 0) {
        IOsBinClose(handle);
        return;
    }
    GridFill fill(field, columns, file);
    grid_csv_read(
        size,
        [handle](char* buffer, int n) {
            int count = 0;
            IOsBinRead(handle, buffer, n, count);
            return count;
        },
        rows, columns, fill);
    IOsBinClose(handle);
}

void WGridEdSave(int window, int mode, int& saved, std::string& file, std::string_view filter)
{
    saved = 0;
    std::string name = before_nul(file);
    if (mode == 1 || trimmed(name).empty()) {
        std::string f = before_nul(filter);
        WGridEdFileName(f.empty() ? DEFAULT_FILTER : f, 0x23, name);
        if (WDialogInfo(4) != 1)
            return;
        file = trimmed(name);
    }
    const std::string target = trimmed(before_nul(file));
    CurrentWindow current(window);
    const int kept = ERROR_STATE.last_error;
    ERROR_STATE.last_error = 0;
    WGridSaveCSV(0, target);
    switch (ERROR_STATE.last_error) {
    case 0:
        ERROR_STATE.last_error = kept;
        saved = 1;
        break;
    case ERR_OPEN_FILE: file_error_box("Error opening file", "File Error"); break;
    case ERR_READ_WRITE: file_error_box("Error writing file", "File Error"); break;
    default: saved = 1; break;
    }
}

void WGridEdLoad(int window, int mode, int& loaded, std::string& file, std::string_view filter)
{
    loaded = 0;
    std::string work = before_nul(file);
    if (mode == 1) {
        std::string f = before_nul(filter);
        WGridEdFileName(f.empty() ? DEFAULT_FILTER : f, 0xA0, work);
        if (WDialogInfo(4) != 1)
            return;
    }
    work = trimmed(work);
    CurrentWindow current(window);
    const int kept = ERROR_STATE.last_error;
    ERROR_STATE.last_error = 0;
    WGridLoadCSV(0, work);
    const int error = ERROR_STATE.last_error;
    switch (error) {
    case 0:
        ERROR_STATE.last_error = kept;
        loaded = 1;
        break;
    case 1: file_error_box("Error opening file", "File Error"); break;
    case 2: file_error_box("Error reading file", "File Error"); break;
    case 4:
    case ERR_RANGE:
        file_error_box("Out of range value found for numeric cell", "Data Error");
        loaded = 1;
        break;
    case 10:
    case 11:
    case 12:
        file_error_box("Non-numeric data found for numeric cell", "Data Error");
        loaded = 1;
        break;
    case ERR_TOO_MANY:
        file_error_box("File contains too many rows/columns", "Data Error");
        loaded = 1;
        break;
    case ERR_MENU_MATCH:
        file_error_box("Non-matching data found for menu cell", "Data Error");
        loaded = 1;
        break;
    default: loaded = 1; break;
    }
    WGridSelectCell(0, 1, 1);
    ERROR_STATE.last_error = error == 0 ? kept : error;
    if (loaded)
        file = work;
}

void WGridEdQuerySave(int window, int modified, int& proceed, std::string& file, std::string_view filter)
{
    if (modified != 1) {
        proceed = 1;
        return;
    }
    const std::string name = before_nul(file);
    const std::string question =
        name.empty() ? "Do you want to save changes?" : "Do you want to save changes to " + name + "?";
    WMessageBox(4, 3, 1, question, "Vuvuzuvoder Grid Editor");
    switch (WDialogInfo(4)) {
    case 1: WGridEdSave(window, 0, proceed, file, filter); break;
    case 2: proceed = 1; break;
    default: proceed = 0; break;
    }
}
