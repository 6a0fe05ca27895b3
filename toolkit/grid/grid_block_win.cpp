// Blocks of cells and the clipboard: copy as tab-separated text, paste from the current cell, delete,
// the permissions of cut and paste, the cells' context menu and the grid's edit commands.
#include "toolkit/grid/grid_exchange.h"
#include "toolkit/grid/grid_win.h"

#include "toolkit/common/text_utilities.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/number_text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int REAL_TEXT_LENGTH = 50;

bool blank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

bool grid_read_only(HWND grid)
{
    return (GetWindowLongA(grid, GWL_STYLE) & GS_READ_ONLY) != 0;
}

bool any_read_only(GridRecord& g, int first_row, int last_row, int first_column, int last_column)
{
    for (int k = first_column; k <= last_column; ++k)
        for (int row = first_row; row <= last_row; ++row)
            if (g.col()[k].flags[row] & GRID_READ_ONLY)
                return true;
    return false;
}

// The text of option `index` (0-based) of a menu column, from its slot-0 control.
std::string menu_option_text(GridRecord& g, int column, int index)
{
    if (index < 0 || g.slots <= 0)
        return "";
    HWND c = g.cell(column, 0);
    LRESULT n = SendMessageA(c, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR)
        return "";
    std::string t(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(c, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(t.data()));
    return t.c_str();
}

// One cell as a clipboard field: from its control when on screen, else from storage.
std::string block_field(GridRecord& g, int column, int row)
{
    const GridColumn& col = g.col()[column];
    HWND c = grid_cell_on_screen(g, column, row);
    switch (col.kind) {
    case GRID_CHECK: {
        int state = c ? (SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED) : grid_stored_int(col, row);
        return state ? "Yes" : "No";
    }
    case GRID_MENU:
        return menu_option_text(
            g, column, c ? static_cast<int>(SendMessageA(c, CB_GETCURSEL, 0, 0)) : grid_stored_int(col, row));
    default: {
        std::string t = c ? grid_window_text(c) : grid_stored_text(col, row, grid_column_format(g, column));
        size_t limit = col.kind == GRID_TEXT      ? static_cast<size_t>(col.length)
                       : col.kind == GRID_INTEGER ? static_cast<size_t>(GRID_INTEGER_LENGTH)
                                                  : static_cast<size_t>(REAL_TEXT_LENGTH);
        t = t.substr(0, limit);
        if (col.kind != GRID_TEXT)  // numbers left-justified, as formatted
            t.erase(0, t.find_first_not_of(' '));
        if (col.kind != GRID_TEXT)
            t.erase(t.find_last_not_of(' ') + 1);
        return t;
    }
    }
}

// The text on the clipboard, when it holds text and opens.
bool read_clipboard(HWND owner, std::string& text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner))
        return false;
    bool ok = false;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

// A field-changed event of the grid field carrying two cell codes (grids with style 0x0040 on a
// dialog that raises events).
void report_block(HWND grid, int first_code, int last_code)
{
    if (!(GetWindowLongA(grid, GWL_STYLE) & GS_REPORT_BLOCK))
        return;
    HWND dialog = GetParent(grid);
    DialogRecord* r = dialog_record(dialog);
    if (!r || WDialogIsModal(dialog))
        return;
    const int id = GetDlgCtrlID(grid);
    post_dialog_message(MsgFieldChanged, r->id, id, id, first_code, last_code);
}

// A numeric paste field read: false when it is no number, outside the column's range, or (integers)
// holds an exponent letter. D and d count as E; an integer field loses its part from the decimal
// point on. The field is left as it was read.
bool paste_number(GridRecord& g, int column, std::string& field, double& value)
{
    const int kind = g.col()[column].kind;
    if (kind == GRID_INTEGER && field.find_first_of("EeDd") != std::string::npos)
        return false;
    if (kind == GRID_INTEGER) {
        size_t point = field.find('.');
        if (point != std::string::npos)
            field.erase(point);
    }
    std::replace(field.begin(), field.end(), 'D', 'E');
    std::replace(field.begin(), field.end(), 'd', 'E');
    bool ok = false;
    value = WStrScanReal(field, ok);
    if (!ok || WGridRangeTest(g, column, value) != 0)
        return false;
    if (kind == GRID_REAL)
        value = static_cast<float>(value);
    return true;
}

// One pasted field into a cell inside the grid.
void paste_cell(GridRecord& g, int column, int row, const std::string& field)
{
    GridColumn& col = g.col()[column];
    HWND c = grid_cell_on_screen(g, column, row);
    switch (col.kind) {
    case GRID_TEXT: {
        std::string t = field.substr(0, static_cast<size_t>(col.length));
        if (c) {
            SetWindowTextA(c, t.c_str());
            SendMessageA(c, EM_SETMODIFY, FALSE, 0);
        }
        grid_store_put(col, row, 0.0, t, !blank(t));
        break;
    }
    case GRID_CHECK: {
        std::string upper = field;
        IStrUpper(upper);
        const int state = upper == "YES" ? 1 : 0;
        if (c)
            SendMessageA(c, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
        grid_store_int(col, row, state);
        break;
    }
    case GRID_MENU: {
        std::string want = field;
        IStrUpper(want);
        const int n = g.slots > 0 ? static_cast<int>(SendMessageA(g.cell(column, 0), CB_GETCOUNT, 0, 0)) : 0;
        for (int i = 0; i < n; ++i) {
            std::string option = menu_option_text(g, column, i);
            IStrUpper(option);
            if (option.compare(0, want.size(), want) == 0) {
                if (c)
                    SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
                grid_store_int(col, row, i);
                return;
            }
        }
        return;  // no option begins with the field: the cell stays as it was
    }
    default: {
        const bool non_blank = !blank(field);
        double value = 0.0;
        std::string number = field;
        if (non_blank && !paste_number(g, column, number, value))
            return;  // an invalid number changes nothing
        if (c) {
            std::string text;
            if (non_blank) {
                const std::string format = grid_column_format(g, column);
                text = col.kind == GRID_INTEGER ? IStrCleanInteger(number)
                       : col.kind == GRID_REAL  ? IStrCleanReal(number, format)
                                                : IStrCleanDouble(number, format);
            }
            SetWindowTextA(c, text.c_str());
            SendMessageA(c, EM_SETMODIFY, FALSE, 0);
            if (FieldRecord* r = field_record(c)) {
                r->value = value;
                r->defined = non_blank ? 1 : 0;
            }
        }
        grid_store_number(col, row, value, non_blank);
        break;
    }
    }
}

bool is_edit_kind(GridRecord& g, HWND cell)
{
    int column = 0, slot = 0;
    return cell && grid_cell_position(g, cell, column, slot) && g.col()[column].kind <= GRID_DOUBLE;
}

}  // namespace

int grid_clipboard_state(HWND owner)
{
    std::string text;
    return read_clipboard(owner, text) ? WGridClipboardState(&text) : 0;
}

int WGridCanCutBlock(HWND grid)
{
    GridRecord* g = grid_record(grid);
    if (!g || grid_read_only(grid) || g->block[0] < 0)
        return 0;
    return any_read_only(*g, 0, g->rows - 1, g->block[2], g->block[3]) ? 0 : 1;
}

int WGridCanPaste(HWND grid)
{
    GridRecord* g = grid_record(grid);
    if (!g || grid_read_only(grid))
        return 0;
    std::string text;
    if (!read_clipboard(grid, text) || g->rows <= 0)
        return 1;
    int columns = 0, rows = 0;
    WGridClipboardSize(text, columns, rows);
    const int last_row = std::min(g->current_row + rows, g->rows) - 1;
    const int last_column = std::min(g->current_column + columns, g->columns) - 1;
    return any_read_only(*g, g->current_row, last_row, g->current_column, last_column) ? 0 : 1;
}

int WGridCopyBlock(HWND grid)
{
    GridRecord* g = grid_record(grid);
    if (!g || g->block[0] < 0)
        return 0;
    const int first_row = g->block[0], first_column = g->block[2];
    const std::string text =
        grid_clipboard_text(g->block[1] - first_row + 1, g->block[3] - first_column + 1,
                            [&](int r, int c) { return block_field(*g, first_column + c, first_row + r); });
    bool ok = false;
    if (OpenClipboard(grid)) {
        EmptyClipboard();
        if (HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1)) {
            if (char* p = static_cast<char*>(GlobalLock(h))) {
                std::copy(text.begin(), text.end(), p);
                p[text.size()] = '\0';
                GlobalUnlock(h);
                ok = SetClipboardData(CF_TEXT, h) != nullptr;
            }
            if (!ok)
                GlobalFree(h);
        }
        CloseClipboard();
    }
    if (!ok)
        MessageBoxA(nullptr,
                    "Either the clipboard is in use by another application or there is\rinsufficient memory "
                    "available for the amount of data being copied",
                    "Unable to Copy Data to Clipboard", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    return ok ? 1 : 0;
}

void WGridPaste(HWND grid)
{
    GridRecord* g = grid_record(grid);
    std::string text;
    if (!g || !read_clipboard(grid, text))
        return;
    WGridClearBlock(grid);
    const int row0 = g->current_row, column0 = g->current_column;
    int last_row = row0, last_column = column0;
    g->loading = 1;
    for (const GridPasteField& f : grid_paste_fields(text)) {
        const int row = row0 + f.row, column = column0 + f.column;
        if (row >= g->rows || column >= g->columns)
            continue;  // outside the grid
        last_row = std::max(last_row, row);
        last_column = std::max(last_column, column);
        paste_cell(*g, column, row, f.text);
    }
    g->loading = 0;
    report_block(grid, GridCellCode(column0, row0), GridCellCode(last_column, last_row));
    g->changed_since_saved = g->changed = 1;
}

void WGridDeleteBlock(HWND grid)
{
    GridRecord* g = grid_record(grid);
    if (!g || g->block[0] < 0)
        return;
    const int b[4] = {g->block[0], g->block[1], g->block[2], g->block[3]};
    WGridClearBlock(grid);
    g->loading = 1;
    for (int k = b[2]; k <= b[3]; ++k) {
        GridColumn& col = g->col()[k];
        for (int row = b[0]; row <= b[1]; ++row) {
            if (HWND c = grid_cell_on_screen(*g, k, row)) {
                if (col.kind == GRID_CHECK) {
                    SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
                } else if (col.kind == GRID_MENU) {
                    SendMessageA(c, CB_SETCURSEL, 0, 0);
                } else {
                    SetWindowTextA(c, "");
                    SendMessageA(c, EM_SETMODIFY, FALSE, 0);
                    if (FieldRecord* r = field_record(c)) {
                        r->value = 0.0;
                        r->defined = 0;
                    }
                }
            }
            grid_store_clear(col, row);
        }
    }
    g->loading = 0;
    report_block(grid, GridCellCode(b[2], b[0]), GridCellCode(b[3], b[1]));
    g->changed_since_saved = g->changed = 1;
}

void WGridCutBlock(HWND grid)
{
    if (WGridCopyBlock(grid))
        WGridDeleteBlock(grid);
}

bool grid_cell_writable(HWND grid, HWND cell)
{
    return !grid_read_only(grid) && !(GetWindowLongA(cell, GWL_STYLE) & ES_READONLY);
}

bool grid_cell_has_selection(HWND cell)
{
    DWORD start = 0, end = 0;
    SendMessageA(cell, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end > start;
}

HMENU grid_context_menu_items(HWND grid, HWND cell)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return nullptr;
    const bool block = g->block[0] >= 0;
    const bool edit = is_edit_kind(*g, cell);
    const bool writable = edit && grid_cell_writable(grid, cell);
    const bool selection = edit && grid_cell_has_selection(cell);
    const int length = edit ? GetWindowTextLengthA(cell) : 0;
    DWORD start = 0, end = 0;
    if (edit)
        SendMessageA(cell, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool all_selected = start == 0 && static_cast<int>(end) >= length;
    const int state = grid_clipboard_state(grid);
    const bool can_cut = block ? WGridCanCutBlock(grid) != 0 : selection && writable;

    HMENU menu = CreatePopupMenu();
    auto add = [&](UINT id, const char* text, bool enabled) {
        AppendMenuA(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
    };
    add(32221, "&Undo", !block && edit && writable && SendMessageA(cell, EM_CANUNDO, 0, 0));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(block ? 32122 : 32222, "Cu&t", can_cut);
    add(block ? 32123 : 32223, "&Copy", block || selection);
    if (state == 2)
        add(32124, "&Paste", WGridCanPaste(grid) != 0);
    else
        add(32224, "&Paste", state == 1 && edit && writable);
    add(block ? 32125 : 32225, "&Delete", can_cut);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(32226, "Select &All", !block && edit && length > 0 && !all_selected);
    return menu;
}

void grid_context_menu(HWND grid, HWND cell, int x, int y)
{
    GridRecord* g = grid_record(grid);
    HMENU menu = grid_context_menu_items(grid, cell);
    if (!g || !menu)
        return;
    g->context_cell = cell;
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, grid, nullptr);
    DestroyMenu(menu);
}

void grid_command(HWND grid, int id)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return;
    HWND cell = g->context_cell;
    switch (id) {
    case 32122: WGridCutBlock(grid); return;
    case 32123: WGridCopyBlock(grid); return;
    case 32124: WGridPaste(grid); return;
    case 32125: WGridDeleteBlock(grid); return;
    default: break;
    }
    if (!cell || !IsWindow(cell))
        return;
    switch (id) {
    case 32221: SendMessageA(cell, EM_UNDO, 0, 0); break;
    case 32222: SendMessageA(cell, WM_CUT, 0, 0); break;
    case 32223: SendMessageA(cell, WM_COPY, 0, 0); break;
    case 32224: SendMessageA(cell, WM_PASTE, 0, 0); break;
    case 32225: SendMessageA(cell, WM_CLEAR, 0, 0); break;
    case 32226:
        SetFocus(cell);
        SendMessageA(cell, EM_SETSEL, 0, -1);
        break;
    default: break;
    }
}
