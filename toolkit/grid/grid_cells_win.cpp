// The grid's cell controls: their subclass with its keys and focus bookkeeping, the moves between the
// slot controls and storage, the read-only state of a cell, and the display of the block selection.
#include "toolkit/grid/grid_win.h"

#include "toolkit/grid/grid_number_text.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/number_text.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace {

// Set when the next focus change inside the grid removes the block (see the cell's focus handling).
int BLOCK_RELEASE = 1;

bool blank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

void show_cell(HWND cell, bool show)
{
    bool visible = (GetWindowLongA(cell, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != show)
        ShowWindow(cell, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (FieldRecord* r = field_record(cell);
        r && r->spin && ((GetWindowLongA(r->spin, GWL_STYLE) & WS_VISIBLE) != 0) != show)
        ShowWindow(r->spin, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

int colour_of(const unsigned char rgb[3])
{
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

// The rectangle of a cell control in client coordinates (to the right edge of its up-down control).
RECT cell_rect(const GridRecord& g, HWND cell)
{
    RECT r;
    GetWindowRect(cell, &r);
    if (FieldRecord* f = field_record(cell); f && f->spin) {
        RECT s;
        GetWindowRect(f->spin, &s);
        r.right = std::max(r.right, s.right);
    }
    MapWindowPoints(nullptr, g.client, reinterpret_cast<POINT*>(&r), 2);
    r.bottom = r.top + g.cell_height;
    return r;
}

void redraw_block_area(const GridRecord& g, const RECT& r)
{
    RedrawWindow(g.client, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Keys that move between cells; true when the key was used.
bool move_key(HWND grid, GridRecord& g, HWND cell, int kind, WPARAM key)
{
    const LONG style = GetWindowLongA(grid, GWL_STYLE);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool list_open = g.open_menu == cell;
    int column = g.current_column, row = g.current_row;
    switch (key) {
    case VK_RETURN:
        if (!(style & GS_ENTER_DOWN))
            return false;
        [[fallthrough]];
    case VK_DOWN:
        if (list_open)
            return false;
        if (row + 1 >= g.rows) {
            IOsBeep();
            return true;
        }
        ++row;
        break;
    case VK_UP:
        if (list_open)
            return false;
        if (row == 0) {
            IOsBeep();
            return true;
        }
        --row;
        break;
    case VK_PRIOR:
        if (list_open)
            return false;
        if (ctrl) {
            row = 0;
        } else {
            grid_vscroll(grid, SB_PAGEUP, 0);
            return true;
        }
        break;
    case VK_NEXT:
        if (list_open)
            return false;
        if (ctrl) {
            row = g.rows - 1;
        } else {
            if (g.rows > g.rows_fit)
                grid_vscroll(grid, SB_PAGEDOWN, 0);
            return true;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        const bool left = key == VK_LEFT;
        if (kind <= GRID_DOUBLE && !ctrl) {
            // An edit cell moves its caret until it stands at the start (or end) of the text.
            DWORD start = 0, end = 0;
            SendMessageA(cell, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            if (left ? end != 0 : static_cast<int>(end) < GetWindowTextLengthA(cell))
                return false;
        }
        if (ctrl) {
            grid_hscroll(grid, left ? SB_PAGELEFT : SB_PAGERIGHT, 0);
            return true;
        }
        if (left && column > 0) {
            --column;
        } else if (left && (style & GS_WRAP) && row > 0) {
            column = g.columns - 1;
            --row;
        } else if (!left && column + 1 < g.columns) {
            ++column;
        } else if (!left && (style & GS_WRAP) && row + 1 < g.rows) {
            column = 0;
            ++row;
        } else {
            IOsBeep();
            return true;
        }
        break;
    }
    case VK_HOME:
    case VK_END:
        if (!ctrl)
            return false;
        column = key == VK_HOME ? 0 : g.columns - 1;
        break;
    case VK_TAB:
        if (!(style & GS_TAB_CELLS)) {
            if (kind == GRID_CHECK || kind == GRID_MENU) {
                SendMessageA(GetParent(grid), WM_NEXTDLGCTL, shift ? 1 : 0, 0);
                return true;
            }
            return false;
        }
        if (!shift && column + 1 < g.columns) {
            ++column;
        } else if (!shift && (style & GS_WRAP) && row + 1 < g.rows) {
            column = 0;
            ++row;
        } else if (shift && column > 0) {
            --column;
        } else if (shift && (style & GS_WRAP) && row > 0) {
            column = g.columns - 1;
            --row;
        } else {
            IOsBeep();
            return true;
        }
        break;
    default: return false;
    }
    WGridEditing = 1;
    WGridSetCurrent(grid, column, row, 1);
    WGridEditing = 0;
    return true;
}

// Keys of blocks and the clipboard: Shift+Ins, Del and Shift+Del; Esc in a dialog's check box or menu.
// True when the key was used.
bool block_key(HWND grid, GridRecord& g, int kind, WPARAM key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool block = g.block[0] >= 0;
    switch (key) {
    case VK_INSERT:
        if (!shift || grid_clipboard_state(grid) != 2)
            return false;
        if (WGridCanPaste(grid))
            WGridPaste(grid);
        return true;
    case VK_DELETE:
        if (!block)
            return false;
        if (WGridCanCutBlock(grid)) {
            if (shift)
                WGridCutBlock(grid);
            else
                WGridDeleteBlock(grid);
        }
        return true;
    case VK_ESCAPE: {
        HWND parent = GetParent(grid);
        if ((kind == GRID_CHECK || kind == GRID_MENU) && dialog_record(parent)) {
            PostMessageA(parent, WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    }
    default: return false;
    }
}

// Control characters of blocks and the clipboard; true when the character was used.
bool block_char(HWND grid, GridRecord& g, HWND cell, int kind, WPARAM ch)
{
    const bool block = g.block[0] >= 0;
    switch (ch) {
    case 0x01:  // Ctrl+A
        if (kind > GRID_DOUBLE)
            return false;
        SendMessageA(cell, EM_SETSEL, 0, -1);
        ShowCaret(cell);
        return true;
    case 0x03:  // Ctrl+C
        if (!block)
            return false;
        WGridCopyBlock(grid);
        return true;
    case 0x16:  // Ctrl+V
        if (grid_clipboard_state(grid) != 2)
            return false;
        if (WGridCanPaste(grid))
            WGridPaste(grid);
        return true;
    case 0x18:  // Ctrl+X
        if (!block)
            return false;
        if (WGridCanCutBlock(grid))
            WGridCutBlock(grid);
        return true;
    default: return false;
    }
}

// Shift+click on a cell: the block from the current cell to the clicked one; true when the click is
// used up (a block was made).
bool shift_click(HWND grid, GridRecord& g, int column, int slot)
{
    const int row = g.top_row + slot;
    if (row == g.current_row && column == g.current_column) {
        WGridClearBlock(grid);
        return false;
    }
    WGridSelectBlock(grid, std::min(row, g.current_row), std::max(row, g.current_row),
                     std::min(column, g.current_column), std::max(column, g.current_column));
    return true;
}

constexpr char BUDDY_PROC[] = "QR4T grid buddy procedure";

// Whether a cell losing the focus to `to` keeps the block: when the focus goes to the grid window
// itself, or, for a grid in a stand-alone grid window, to that window.
bool focus_keeps_block(HWND grid, HWND to)
{
    if (!to)
        return false;
    if (to == grid)
        return true;
    HWND parent = GetParent(grid);
    const WinRecord* r = parent == to ? win_record(parent) : nullptr;
    return r && r->kind == RECORD_GRID && r->inner == grid;
}

}  // namespace

LRESULT CALLBACK WGridBuddyWndProc(HWND buddy, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC base = reinterpret_cast<WNDPROC>(GetPropA(buddy, BUDDY_PROC));
    if (!base)
        return DefWindowProcA(buddy, msg, wp, lp);
    auto cell = [&] { return reinterpret_cast<HWND>(CallWindowProcA(base, buddy, UDM_GETBUDDY, 0, 0)); };
    auto record = [&]() -> GridRecord* {
        HWND grid = grid_of_cell(cell());
        return grid ? grid_record(grid) : nullptr;
    };
    switch (msg) {
    case WM_LBUTTONDOWN:
        if ((wp & MK_SHIFT) && record()) {  // the click goes to the edit cell
            SendMessageA(cell(), msg, wp, 0);
            return 0;
        }
        break;
    case WM_NCHITTEST:
        if (GridRecord* g = record(); g && g->locked)
            return HTTRANSPARENT;
        break;
    case WM_NCDESTROY: {
        RemovePropA(buddy, BUDDY_PROC);
        SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
        return CallWindowProcA(base, buddy, msg, wp, lp);
    }
    default: break;
    }
    return CallWindowProcA(base, buddy, msg, wp, lp);
}

LRESULT CALLBACK WGridHeaderWndProc(HWND header, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC base = reinterpret_cast<WNDPROC>(GetPropA(header, BUDDY_PROC));
    if (!base)
        return DefWindowProcA(header, msg, wp, lp);
    switch (msg) {
    case WM_SETCURSOR: SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))); return TRUE;
    case WM_NCHITTEST:
        if (GridRecord* g = grid_record(GetParent(header)); g && g->locked)
            return HTTRANSPARENT;
        break;
    case WM_NCDESTROY:
        RemovePropA(header, BUDDY_PROC);
        SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
        return CallWindowProcA(base, header, msg, wp, lp);
    default: break;
    }
    return CallWindowProcA(base, header, msg, wp, lp);
}

void grid_subclass(HWND window, WNDPROC procedure)
{
    if (!window || GetPropA(window, BUDDY_PROC))
        return;
    SetPropA(window, BUDDY_PROC,
             reinterpret_cast<HANDLE>(
                 SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure))));
}

std::string grid_window_text(HWND w)
{
    int n = GetWindowTextLengthA(w);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(w, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

std::string grid_column_format(const GridRecord& g, int column)
{
    if (g.slots > 0)
        if (FieldRecord* r = field_record(g.cell(column, 0)); r && !r->format.empty())
            return r->format;
    const std::string& f = (*g.templates)[column].format;
    return f.empty() ? DEFAULT_REAL_FORMAT : f;
}

int WGridRangeTest(const GridRecord& g, int column, double value)
{
    double lo = (*g.templates)[column].minimum, hi = (*g.templates)[column].maximum;
    if (g.slots > 0)
        if (FieldRecord* r = field_record(g.cell(column, 0))) {
            lo = r->minimum;
            hi = r->maximum;
        }
    if (lo > hi)
        return 0;
    return value >= lo && value <= hi ? 0 : -3;
}

void grid_save_cell(GridRecord& g, int k, int s)
{
    GridColumn& column = g.col()[k];
    int row = g.top_row + s;
    if (row >= g.rows || row >= g.capacity)
        return;
    HWND c = g.cell(k, s);
    switch (column.kind) {
    case GRID_TEXT: grid_store_string(column, row, grid_window_text(c)); break;
    case GRID_CHECK:
        grid_store_int(column, row, SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        break;
    case GRID_MENU: grid_store_int(column, row, static_cast<int>(SendMessageA(c, CB_GETCURSEL, 0, 0))); break;
    default: {
        std::string t = grid_window_text(c);
        const bool non_blank = !blank(t);
        FieldRecord* r = field_record(c);
        double value = r ? r->value : 0.0;
        if (non_blank && SendMessageA(c, EM_GETMODIFY, 0, 0)) {
            if (column.kind == GRID_INTEGER) {
                int v = 0;
                IStrReadInteger(v, t.substr(0, GRID_INTEGER_LENGTH));
                value = v;
            } else if (column.kind == GRID_REAL) {
                float v = 0.0f;
                IStrReadReal(v, t.substr(0, 50));
                value = v;
            } else {
                IStrReadDouble(value, t.substr(0, 50));
            }
        }
        grid_store_number(column, row, value, non_blank);
        break;
    }
    }
}

void WGridSaveVisible(GridRecord& g)
{
    for (int k = 0; k < g.columns; ++k)
        for (int s = 0; s < g.slots; ++s)
            grid_save_cell(g, k, s);
}

void grid_load_cell(GridRecord& g, int k, int s, const std::string& format)
{
    GridColumn& column = g.col()[k];
    HWND c = g.cell(k, s);
    int row = g.top_row + s;
    if (row >= g.rows || row >= g.capacity) {
        show_cell(c, false);
        return;
    }
    const int keep_loading = g.loading;
    g.loading = 1;
    FieldRecord* r = field_record(c);
    if (r && !column.colours.empty()) {
        const GridCellColours& cc = column.colours[row];
        int fg = (cc.flags & 1) ? colour_of(cc.fg) : -1;
        int bg = (cc.flags & 2) ? colour_of(cc.bg) : -1;
        if (fg != r->foreground || bg != r->background) {
            r->foreground = fg;
            r->background = bg;
            InvalidateRect(c, nullptr, TRUE);
        }
    }
    // A control is only told what changes: every set makes it draw again, which is most of the time of
    // a scroll.
    switch (column.kind) {
    case GRID_CHECK: {
        WPARAM state = grid_stored_int(column, row) ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageA(c, BM_GETCHECK, 0, 0)) != state)
            SendMessageA(c, BM_SETCHECK, state, 0);
        break;
    }
    case GRID_MENU: {
        int option = grid_stored_int(column, row);
        if (SendMessageA(c, CB_GETCURSEL, 0, 0) != option)
            SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(option), 0);
        break;
    }
    default: {
        const std::string text = grid_stored_text(column, row, format);
        if (grid_window_text(c) != text)
            SetWindowTextA(c, text.c_str());
        SendMessageA(c, EM_SETMODIFY, FALSE, 0);
        if (r && column.kind != GRID_TEXT) {
            double v = 0.0;
            r->value = grid_stored_value(column, row, v) == 0 ? v : 0.0;
        }
        break;
    }
    }
    show_cell(c, true);
    if (r)
        r->defined = (column.flags[row] & GRID_NON_BLANK) ? 1 : 0;
    WGridEditState(c, column.kind, column.flags[row] & GRID_READ_ONLY, 0);
    g.loading = keep_loading;
}

void grid_load_label(GridRecord& g, int s)
{
    if (s >= static_cast<int>(g.label_windows.size()))
        return;
    int row = g.top_row + s;
    HWND w = g.label_windows[s];
    if (row < g.rows) {
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        std::string text = row < static_cast<int>(g.labels->size()) ? (*g.labels)[row] : "";
        item.pszText = text.data();
        SendMessageA(w, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ShowWindow(w, row < g.rows ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void WGridLoadVisible(GridRecord& g)
{
    for (int k = 0; k < g.columns; ++k) {
        const std::string format = grid_column_format(g, k);
        for (int s = 0; s < g.slots; ++s)
            grid_load_cell(g, k, s, format);
    }
    for (int s = 0; s < static_cast<int>(g.label_windows.size()); ++s)
        grid_load_label(g, s);
}

void WGridEditState(HWND cell, int kind, int read_only, int redraw)
{
    HWND grid = grid_of_cell(cell);
    if (grid && (GetWindowLongA(grid, GWL_STYLE) & GS_READ_ONLY))
        return;
    const LONG style = GetWindowLongA(cell, GWL_STYLE);
    if (kind <= GRID_DOUBLE) {
        if (((style & ES_READONLY) != 0) != (read_only != 0))
            SendMessageA(cell, EM_SETREADONLY, read_only ? TRUE : FALSE, 0);
        if (FieldRecord* r = field_record(cell); r && r->spin) {
            if ((IsWindowEnabled(r->spin) != FALSE) == (read_only != 0))
                EnableWindow(r->spin, read_only ? FALSE : TRUE);
            if (redraw)
                RedrawWindow(r->spin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        if (redraw)
            RedrawWindow(cell, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    } else if (kind == GRID_CHECK) {
        LONG type = read_only ? BS_CHECKBOX : BS_AUTOCHECKBOX;
        if ((style & BS_TYPEMASK) != type)
            SendMessageA(cell, BM_SETSTYLE, static_cast<WPARAM>((style & ~BS_TYPEMASK) | type), redraw);
    }
}

bool grid_field_data(HWND grid, WGridFieldData& data)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return false;
    data.columns = g->columns;
    data.rows_shown = std::max(0, std::min(g->slots, g->rows - g->top_row));
    data.kinds.clear();
    data.read_only.clear();
    data.cells.clear();
    for (int k = 0; k < g->columns; ++k) {
        data.kinds.push_back(g->col()[k].kind);
        for (int s = 0; s < data.rows_shown; ++s) {
            data.read_only.push_back(g->col()[k].flags[g->top_row + s] & GRID_READ_ONLY);
            data.cells.push_back(g->cell(k, s));
        }
    }
    return true;
}

int WGridBlockRect(HWND grid, RECT& rect)
{
    GridRecord* g = grid_record(grid);
    if (!g || g->block[0] < 0 || g->slots <= 0 || g->columns <= 0)
        return 0;
    const int last_on_screen = g->top_row + std::min(g->slots, g->rows - g->top_row) - 1;
    if (g->block[0] > last_on_screen || g->block[1] < g->top_row)
        return 0;
    int first_slot = std::max(g->block[0], g->top_row) - g->top_row;
    int last_slot = std::min(g->block[1], last_on_screen) - g->top_row;
    RECT a = cell_rect(*g, g->cell(g->block[2], first_slot));
    RECT b = cell_rect(*g, g->cell(g->block[3], last_slot));
    RECT client;
    GetClientRect(g->client, &client);
    rect = {std::max(a.left, client.left), a.top, std::min(b.right, client.right), b.bottom};
    return rect.right > rect.left && rect.bottom > rect.top ? 1 : 0;
}

void WGridSelectBlock(HWND grid, int first_row, int last_row, int first_column, int last_column)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return;
    int wanted[4] = {first_row, last_row, first_column, last_column};
    if (std::equal(wanted, wanted + 4, g->block))
        return;
    HWND focus = GetFocus();
    int column = 0, slot = 0;
    if (focus && grid_cell_position(*g, focus, column, slot) && g->col()[column].kind <= GRID_DOUBLE)
        SendMessageA(focus, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    RECT old_rect;
    bool had = WGridBlockRect(grid, old_rect) != 0;
    std::copy(wanted, wanted + 4, g->block);
    RECT new_rect;
    if (had)
        redraw_block_area(*g, old_rect);
    if (WGridBlockRect(grid, new_rect))
        redraw_block_area(*g, new_rect);
}

void WGridClearBlock(HWND grid)
{
    GridRecord* g = grid_record(grid);
    if (!g || g->block[0] < 0)
        return;
    RECT r;
    bool had = WGridBlockRect(grid, r) != 0;
    std::fill(g->block, g->block + 4, -1);
    if (had)
        redraw_block_area(*g, r);
}

LRESULT CALLBACK WGridCellWndProc(HWND cell, UINT msg, WPARAM wp, LPARAM lp)
{
    FieldRecord* r = field_record(cell);
    WNDPROC base = r ? r->base_proc : nullptr;
    if (!base)
        return DefWindowProcA(cell, msg, wp, lp);
    HWND grid = grid_of_cell(cell);
    GridRecord* g = grid_record(grid);
    int column = 0, slot = 0;
    if (!g || !grid_cell_position(*g, cell, column, slot)) {
        if (msg == WM_NCDESTROY) {
            LRESULT result = CallWindowProcA(base, cell, msg, wp, lp);
            free_field_record(cell);
            return result;
        }
        return CallWindowProcA(base, cell, msg, wp, lp);
    }
    const int kind = g->col()[column].kind;
    switch (msg) {
    case WM_SETFOCUS: {
        HWND from = reinterpret_cast<HWND>(wp);
        if (from && (from == grid || from == g->client || grid_of_cell(from) == grid)) {
            if (BLOCK_RELEASE)
                WGridClearBlock(grid);
            else
                BLOCK_RELEASE = 1;
            GRID_RENOTIFY = 0;
        } else {
            GRID_RENOTIFY = 1;
        }
        LRESULT result = CallWindowProcA(base, cell, msg, wp, lp);
        if (kind == GRID_CHECK)
            SendMessageA(g->client, WM_COMMAND, MAKEWPARAM(0xFFFF, BN_SETFOCUS),
                         reinterpret_cast<LPARAM>(cell));
        return result;
    }
    case WM_KILLFOCUS:
        // The block survives the focus passing through the grid window (as after a header click): the
        // cell that gets the focus back then keeps it once. Any other focus change removes it.
        if (focus_keeps_block(grid, reinterpret_cast<HWND>(wp))) {
            BLOCK_RELEASE = 0;
        } else {
            BLOCK_RELEASE = 1;
            WGridClearBlock(grid);
        }
        break;
    case WM_MOUSEWHEEL: return SendMessageA(grid, WM_MOUSEWHEEL, wp, lp);
    case WM_GETDLGCODE: {
        LRESULT code = CallWindowProcA(base, cell, msg, wp, lp);
        const LONG style = GetWindowLongA(grid, GWL_STYLE);
        if (style & GS_ENTER_DOWN)
            code |= DLGC_WANTALLKEYS;
        if (style & GS_TAB_CELLS)
            code |= DLGC_WANTTAB;
        return code | DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    case WM_KEYDOWN:
        if (!g->locked && (move_key(grid, *g, cell, kind, wp) || block_key(grid, *g, kind, wp)))
            return 0;
        break;
    case WM_CHAR:
        if (wp == '\t' || wp == '\r')
            return 0;  // no beep from the multi-line edit
        if (!g->locked && block_char(grid, *g, cell, kind, wp))
            return 0;
        break;
    case WM_LBUTTONDOWN:
        if ((wp & MK_SHIFT) && shift_click(grid, *g, column, slot))
            return 0;
        break;
    case WM_NCHITTEST:
        if (g->locked)
            return HTTRANSPARENT;
        break;
    case WM_CONTEXTMENU: {
        if (g->block[0] < 0 && GetFocus() != cell)
            SetFocus(cell);
        POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (lp == -1) {  // from the keyboard: at the cell
            RECT r;
            GetWindowRect(cell, &r);
            p = {r.left, r.bottom};
        }
        grid_context_menu(grid, cell, p.x, p.y);
        return 0;
    }
    case WM_SETTEXT: {
        LRESULT result = CallWindowProcA(base, cell, msg, wp, lp);
        if (!g->loading)
            RedrawWindow(cell, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return result;
    }
    case WM_NCDESTROY: {
        LRESULT result = CallWindowProcA(base, cell, msg, wp, lp);
        free_field_record(cell);
        return result;
    }
    default: break;
    }
    return CallWindowProcA(base, cell, msg, wp, lp);
}
