// The grid window ("ZAVAZER") and its client ("ZUVUDIDUZOZER"): creation, layout, scrolling, the
// wheel, the focus, header clicks and the growth and shrinking of the row slots when the client changes
// size. The columns, row labels and cell controls are made in grid_columns_win.cpp.
#include "toolkit/grid/grid_win.h"

#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/grid_fields_win.h"
#include "toolkit/win/os_utilities.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <string_view>

UINT GM_CELLCHANGE = 0;
int GRID_RENOTIFY = 0;

namespace {

constexpr char GRID_CLASS[] = "ZAVAZER";
constexpr int CELL_HEIGHT_UNITS = 13;  // a cell is 13 dialog units high, less one pixel

}  // namespace

HMENU grid_child_id(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HFONT grid_parent_font(HWND grid)
{
    return reinterpret_cast<HFONT>(SendMessageA(GetParent(grid), WM_GETFONT, 0, 0));
}

int grid_client_width(const GridRecord& g)
{
    RECT r = {};
    if (g.client)
        GetClientRect(g.client, &r);
    return r.right;
}

int grid_column_offset(GridRecord& g, int column)
{
    int x = 0;
    for (int k = 0; k < column; ++k)
        x += g.col()[k].width - 1;
    return x;
}

namespace {

std::vector<int> column_widths(GridRecord& g)
{
    std::vector<int> w;
    for (const GridColumn& c : g.col())
        w.push_back(c.width);
    return w;
}

// The vertical bar in scroll-scale units: the rows in use as range, the whole rows on screen as page.
void set_vertical_bar(HWND grid, const GridRecord& g)
{
    if (!(GetWindowLongA(grid, GWL_STYLE) & WS_VSCROLL))
        return;
    SCROLLINFO si = {sizeof si,
                     SIF_ALL | SIF_DISABLENOSCROLL,
                     0,
                     std::max(0, g.rows / g.scale - 1),
                     static_cast<UINT>(g.rows_fit / g.scale),
                     g.top_row / g.scale,
                     0};
    SetScrollInfo(grid, SB_VERT, &si, TRUE);
}

// The focused window when it is a cell control of this grid (or its up-down control's buddy).
HWND focused_cell(HWND grid)
{
    HWND f = GetFocus();
    return f && grid_of_cell(f) == grid ? f : nullptr;
}

// A numeric cell holding an invalid text keeps the view where it is.
bool focus_blocks_scrolling(HWND grid)
{
    HWND f = focused_cell(grid);
    return f && is_numeric_class(f) && WDialogFieldValidate(f, f, 1) != 0;
}

// Focuses the current cell's control as the grid's own move, so that no number check runs on the way.
void focus_current_cell(GridRecord& g)
{
    if (g.rows <= 0 || g.slots <= 0)
        return;
    int slot = std::clamp(g.current_row - g.top_row, 0, g.slots - 1);
    WGridEditing = 1;
    SetFocus(g.cell(g.current_column, slot));
    WGridEditing = 0;
}

// Moves the top row by delta rows (already clamped) and refills the slots.
void move_top_row(HWND grid, GridRecord& g, int delta)
{
    int keep_saved = g.changed_since_saved, keep_changed = g.changed;
    WGridSaveVisible(g);
    g.top_row += delta;
    SetScrollPos(grid, SB_VERT, g.top_row / g.scale, TRUE);
    int row = std::clamp(g.current_row, g.top_row, std::max(g.top_row, g.top_row + g.rows_fit - 1));
    row = std::min(row, std::max(0, g.rows - 1));
    bool inside = grid_focus_inside(grid);
    WGridSetCurrent(grid, g.current_column, row, 0);
    WGridLoadVisible(g);
    if (inside)
        focus_current_cell(g);
    g.changed_since_saved = keep_saved;
    g.changed = keep_changed;
}

// Scrolls sideways to a first visible column: cell controls, header items and the current cell follow.
void move_first_column(HWND grid, GridRecord& g, int column)
{
    column = std::clamp(column, 0, g.h_limit);
    if (column == g.first_column)
        return;
    g.first_column = column;
    SetScrollPos(grid, SB_HORZ, column, TRUE);
    // The existing controls move by the widths of the columns passed (a hidden dialog's client would
    // not move its children with the area).
    grid_place_cells(g);
    InvalidateRect(g.client, nullptr, TRUE);
    g.last_column = grid_last_visible_column(column_widths(g), g.first_column, grid_client_width(g));
    if (g.header) {
        for (int k = 0; k < g.columns; ++k) {
            HDITEMA item = {};
            item.mask = HDI_WIDTH;
            item.cxy = k < g.first_column ? 0 : g.col()[k].width - 1;
            SendMessageA(g.header, HDM_SETITEMA, k + 1, reinterpret_cast<LPARAM>(&item));
        }
        InvalidateRect(g.header, nullptr, TRUE);
    }
    bool inside = grid_focus_inside(grid);
    WGridSetCurrent(grid, std::clamp(g.current_column, g.first_column, g.last_column), g.current_row, 0);
    if (inside)
        focus_current_cell(g);
}

// The first visible column that makes `column` the last fully visible one.
int first_column_showing(GridRecord& g, int column)
{
    std::vector<int> widths = column_widths(g);
    int width = grid_client_width(g);
    for (int f = g.first_column; f <= std::min(column, g.h_limit); ++f)
        if (grid_last_visible_column(widths, f, width) >= column)
            return f;
    return std::min(column, g.h_limit);
}

}  // namespace

// Scroll scale, both bars and the last fully visible column, after the rows or the size changed.
void grid_layout(HWND grid, GridRecord& g)
{
    g.scale = grid_scroll_scale(g.rows);
    set_vertical_bar(grid, g);
    std::vector<int> widths = column_widths(g);
    int page = 0;
    g.h_limit = grid_horizontal_limit(widths, grid_client_width(g), page);
    if (GetWindowLongA(grid, GWL_STYLE) & WS_HSCROLL) {
        SCROLLINFO si = {sizeof si,
                         SIF_ALL | SIF_DISABLENOSCROLL,
                         0,
                         std::max(0, g.columns - 1),
                         static_cast<UINT>(g.h_limit == 0 ? g.columns : page),
                         g.first_column,
                         0};
        SetScrollInfo(grid, SB_HORZ, &si, TRUE);
    }
    g.last_column = grid_last_visible_column(widths, g.first_column, grid_client_width(g));
}

namespace {

// WM_CREATE: the grid's record, its cell height and the rows that fit, the window height trimmed to
// whole rows (unless the style keeps it) and the column header bar; -1 when the record cannot be made.
LRESULT on_create(HWND grid)
{
    GridRecord* g = new (std::nothrow) GridRecord;
    if (!g)
        return -1;
    try {
        g->store = std::make_shared<std::vector<GridColumn>>();
        g->labels = std::make_shared<std::vector<std::string>>();
        g->templates = std::make_shared<std::vector<GridCellTemplate>>();
    } catch (const std::bad_alloc&) {
        delete g;
        return -1;
    }
    SetWindowLongPtrA(grid, 0, reinterpret_cast<LONG_PTR>(g));
    RECT units = {0, 0, 0, CELL_HEIGHT_UNITS};
    WGridDlgUnits(GetParent(grid), units);
    g->cell_height = std::max(3, static_cast<int>(units.bottom) - 1);
    RECT client, window;
    GetClientRect(grid, &client);
    GetWindowRect(grid, &window);
    g->rows_fit = std::max(1, static_cast<int>(client.bottom) / g->cell_height);
    const LONG style = GetWindowLongA(grid, GWL_STYLE);
    if (!(style & GS_KEEP_HEIGHT)) {
        int frame = (window.bottom - window.top) - client.bottom;
        int height = g->rows_fit * (g->cell_height - 1) + frame + 1 + ((style & GS_HEADER) ? 2 : 0);
        SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(grid, &client);
    }
    if (style & GS_HEADER) {
        g->header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0,
                                    client.right, g->cell_height + 1, grid, grid_child_id(GRID_CHILD_ID),
                                    GetModuleHandleA(nullptr), nullptr);
        if (g->header) {
            grid_subclass(g->header, WGridHeaderWndProc);
            SendMessageA(g->header, WM_SETFONT, reinterpret_cast<WPARAM>(grid_parent_font(grid)), FALSE);
            RECT hr;
            GetWindowRect(g->header, &hr);
            g->header_height = hr.bottom - hr.top;
            g->rows_fit = std::max(1, g->rows_fit - 1);  // the header bar takes a row's place
        }
    }
    return 0;
}

// Scroll codes to a row delta: lines, pages of the whole rows on screen, thumb positions.
int vertical_delta(GridRecord& g, int code, int position)
{
    switch (code) {
    case SB_LINEUP: return -1;
    case SB_LINEDOWN: return 1;
    case SB_PAGEUP: return -g.rows_fit;
    case SB_PAGEDOWN: return g.rows_fit;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int target = g.pending_top ? g.pending_top : position * g.scale;
        g.pending_top = 0;
        return target - g.top_row;
    }
    default: return 0;
    }
}

// The client's slot count follows its height (WM_SIZE of the client).
void client_resized(HWND grid, GridRecord& g, int height)
{
    int fit = grid_rows_that_fit(height, g.cell_height);
    // Slots are counted against the capacity, not the rows in use: a grid resized while it holds fewer
    // rows (or none) would otherwise lose slots that no later growth of its rows could bring back.
    int slots = grid_slot_count(fit, g.capacity);
    if (!g.setup || slots == g.slots) {
        g.rows_fit = fit;
        return;
    }
    if (slots > g.slots) {
        int wanted = slots - g.slots;
        if (IOsPlatformId() == 1) {
            int per_slot = g.columns + (g.label_width > 0 ? 1 : 0);
            for (const GridCellTemplate& t : *g.templates)
                per_slot += t.spin ? 1 : 0;
            wanted = grid_slot_budget(grid_system_window_count(), per_slot, wanted);
        }
        if (wanted <= 0) {
            g.rows_fit = fit;
            return;
        }
        WGridSaveVisible(g);
        int new_slots = g.slots + wanted;
        g.rows_fit = fit;
        if (g.top_row + new_slots > g.rows)
            g.top_row = std::max(0, g.rows - fit);
        // Each column's slot handles move to the new stride.
        std::vector<HWND> cells(static_cast<size_t>(g.columns) * new_slots, nullptr);
        for (int k = 0; k < g.columns; ++k)
            for (int s = 0; s < g.slots; ++s)
                cells[static_cast<size_t>(k) * new_slots + s] = g.cell(k, s);
        int old_slots = g.slots;
        g.cells = std::move(cells);
        g.slots = new_slots;
        if (g.label_width > 0)
            for (int s = old_slots; s < new_slots; ++s)
                grid_create_label_window(grid, g, s);
        grid_create_slots(grid, g, old_slots, new_slots);
        WGridLoadVisible(g);
        set_vertical_bar(grid, g);
        SetFocus(grid);
        return;
    }
    g.rows_fit = fit;
    if (g.current_row >= g.top_row + fit)
        g.top_row = std::max(0, g.current_row - fit + 1);
    WGridSaveVisible(g);
    grid_destroy_slots(g, slots);
    while (static_cast<int>(g.label_windows.size()) > slots) {
        DestroyWindow(g.label_windows.back());
        g.label_windows.pop_back();
    }
    WGridLoadVisible(g);
    set_vertical_bar(grid, g);
    SetFocus(grid);
}

// Header and row-label clicks select whole rows, whole columns or the whole grid.
void header_click(HWND grid, GridRecord& g, HWND from, int item)
{
    if (g.rows <= 0 || g.columns <= 0)
        return;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    int block[4] = {0, g.rows - 1, 0, g.columns - 1};
    auto label = std::find(g.label_windows.begin(), g.label_windows.end(), from);
    if (label != g.label_windows.end()) {
        int row = std::min(static_cast<int>(label - g.label_windows.begin()) + g.top_row, g.rows - 1);
        if (shift) {
            block[0] = std::min(g.current_row, row);
            block[1] = std::max(g.current_row, row);
        } else {
            g.current_column = g.first_column;
            g.current_row = row;
            block[0] = block[1] = row;
        }
    } else if (from == g.header && item >= 1) {
        int column = std::min(item - 1, g.columns - 1);
        if (shift) {
            block[2] = std::min(g.current_column, column);
            block[3] = std::max(g.current_column, column);
        } else {
            g.current_column = column;
            g.current_row = g.top_row;
            block[2] = block[3] = column;
        }
    } else if (from != g.header) {
        return;
    }
    SetFocus(grid);
    WGridSelectBlock(grid, block[0], block[1], block[2], block[3]);
}

// Header notices: divider drags are refused, item clicks select rows, columns or the whole grid.
LRESULT on_notify(HWND grid, GridRecord* g, NMHDR* n)
{
    if (n->code == HDN_BEGINTRACKA || n->code == HDN_BEGINTRACKW || n->code == HDN_DIVIDERDBLCLICKA ||
        n->code == HDN_DIVIDERDBLCLICKW)
        return TRUE;  // column dividers cannot be dragged
    if (g && (n->code == HDN_ITEMCLICKA || n->code == HDN_ITEMCLICKW)) {
        if (!g->locked)
            header_click(grid, *g, n->hwndFrom, reinterpret_cast<NMHEADERA*>(n)->iItem);
        return 0;
    }
    return DefWindowProcA(grid, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(n));
}

// WM_SETFOCUS: the parent hears of the current cell, which is scrolled into view and takes the focus.
void on_set_focus(HWND grid, GridRecord& g, HWND from)
{
    grid_notify(grid);
    if (!g.setup || g.rows <= 0)
        return;
    if (g.current_row < g.top_row) {
        g.pending_top = g.current_row;
        grid_vscroll(grid, SB_THUMBPOSITION, 0);
    } else if (g.current_row >= g.top_row + g.rows_fit) {
        g.pending_top = g.current_row - g.rows_fit + 1;
        grid_vscroll(grid, SB_THUMBPOSITION, 0);
    }
    if (g.current_column < g.first_column)
        move_first_column(grid, g, g.current_column);
    else if (g.current_column > g.last_column)
        move_first_column(grid, g, first_column_showing(g, g.current_column));
    focus_current_cell(g);
    HWND cell = GetFocus();
    if (cell && from && grid_of_cell(from) == grid &&
        (*g.templates)[g.current_column].class_name != "BUTTON" &&
        g.col()[g.current_column].kind <= GRID_DOUBLE)
        SendMessageA(cell, EM_SETSEL, 0, -1);
}

// WM_DESTROY: the record goes with the window.
void on_destroy(HWND grid, GridRecord* g)
{
    SetWindowLongPtrA(grid, 0, 0);
    delete g;  // cells free their own field records as they are destroyed with the grid
}

// A cell's colours (its own, else the grid's) and brush; -1 when neither is set: default painting.
LRESULT cell_colours(HWND grid, UINT msg, HDC dc, HWND cell)
{
    FieldRecord* r = field_record(cell);
    FieldRecord* own = field_record(grid);
    if (!r)
        return -1;
    int fg = r->foreground >= 0 ? r->foreground : own ? own->foreground : -1;
    int bg = r->background >= 0 ? r->background : own ? own->background : -1;
    if (fg < 0 && bg < 0)
        return -1;
    const bool read_only = msg == WM_CTLCOLORSTATIC;
    if (fg >= 0)
        SetTextColor(dc, static_cast<COLORREF>(fg));
    else
        SetTextColor(dc, GetSysColor(read_only ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    if (bg >= 0) {
        COLORREF c = GetNearestColor(dc, static_cast<COLORREF>(bg));
        SetBkColor(dc, c);
        return reinterpret_cast<LRESULT>(r->background_brush.get(c));  // the cell owns its brush
    }
    int sys = read_only ? COLOR_BTNFACE : COLOR_WINDOW;
    SetBkColor(dc, GetSysColor(sys));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(sys));
}

// Commands of cell controls seen by the client.
void cell_command(HWND grid, GridRecord& g, HWND cell, int code)
{
    int column = 0, slot = 0;
    if (!grid_cell_position(g, cell, column, slot))
        return;
    const int kind = g.col()[column].kind;
    const bool edit = kind <= GRID_DOUBLE;
    const bool gains_focus = (edit && code == EN_SETFOCUS) || (kind == GRID_CHECK && code == BN_SETFOCUS) ||
                             (kind == GRID_MENU && code == CBN_SETFOCUS);
    if (gains_focus) {
        WGridSetCurrent(grid, column, g.top_row + slot, 0);
        if (slot >= g.rows_fit && g.rows > g.rows_fit)
            grid_vscroll(grid, SB_LINEDOWN, 0);
        else if (column > g.last_column)
            grid_hscroll(grid, SB_LINERIGHT, 0);
        return;
    }
    if (g.loading)
        return;
    if (edit && code == EN_CHANGE) {
        g.changed_since_saved = g.changed = 1;
        WGridClearBlock(grid);
        return;
    }
    if ((kind == GRID_CHECK && code == BN_CLICKED) || (kind == GRID_MENU && code == CBN_SELCHANGE)) {
        g.changed_since_saved = g.changed = 1;
        int row = g.top_row + slot;
        bool read_only = (GetWindowLongA(grid, GWL_STYLE) & GS_READ_ONLY) ||
                         (row < g.capacity && (g.col()[column].flags[row] & GRID_READ_ONLY));
        if (!read_only) {
            grid_notify(grid);
            WGridClearBlock(grid);
        } else if (kind == GRID_MENU) {
            SendMessageA(cell, CB_SETCURSEL, grid_stored_int(g.col()[column], row), 0);
        }
        return;
    }
    if (kind == GRID_MENU && code == CBN_DROPDOWN)
        g.open_menu = cell;
    else if (kind == GRID_MENU && code == CBN_CLOSEUP)
        g.open_menu = nullptr;
}

}  // namespace

// The record kept in the grid window's extra bytes; null for no window.
GridRecord* grid_record(HWND grid)
{
    return grid ? reinterpret_cast<GridRecord*>(GetWindowLongPtrA(grid, 0)) : nullptr;
}

HWND grid_cell_on_screen(const GridRecord& g, int column, int row)
{
    int slot = row - g.top_row;
    return slot >= 0 && slot < g.slots && row < g.rows ? g.cell(column, slot) : nullptr;
}

void grid_place_cells(GridRecord& g)
{
    for (int k = 0; k < g.columns; ++k) {
        int left = grid_column_offset(g, k) - grid_column_offset(g, g.first_column);
        for (int s = 0; s < g.slots; ++s) {
            HWND c = g.cell(k, s);
            RECT old;
            GetWindowRect(c, &old);
            MapWindowPoints(nullptr, g.client, reinterpret_cast<POINT*>(&old), 2);
            SetWindowPos(c, nullptr, left, s * (g.cell_height - 1), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            // An up-down control keeps its place beside the cell.
            if (FieldRecord* r = field_record(c); r && r->spin) {
                RECT u;
                GetWindowRect(r->spin, &u);
                MapWindowPoints(nullptr, g.client, reinterpret_cast<POINT*>(&u), 2);
                SetWindowPos(r->spin, nullptr, u.left + left - old.left,
                             u.top + s * (g.cell_height - 1) - old.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
}

HWND grid_of_cell(HWND cell)
{
    HWND client = cell ? GetParent(cell) : nullptr;
    HWND grid = client ? GetParent(client) : nullptr;
    if (!grid || GetClassLongA(grid, GCW_ATOM) != GRID_FIELD_HOOKS.grid_class || !GRID_FIELD_HOOKS.grid_class)
        return nullptr;
    GridRecord* g = grid_record(grid);
    return g && g->client == client ? grid : nullptr;
}

bool grid_focus_inside(HWND grid)
{
    HWND f = GetFocus();
    return f && (f == grid || IsChild(grid, f));
}

bool grid_cell_position(const GridRecord& g, HWND cell, int& column, int& slot)
{
    for (size_t i = 0; i < g.cells.size(); ++i) {
        if (g.cells[i] == cell) {
            column = static_cast<int>(i) / g.slots;
            slot = static_cast<int>(i) % g.slots;
            return true;
        }
    }
    return false;
}

void grid_notify(HWND grid)
{
    GridRecord* g = grid_record(grid);
    if (!g || !GM_CELLCHANGE)
        return;
    int code = g->rows > 0 ? GridCellCode(g->current_column, g->current_row) : GridCellCode(0, 0);
    SendMessageA(GetParent(grid), GM_CELLCHANGE, static_cast<WPARAM>(GetDlgCtrlID(grid)), code);
}

void WGridSetCurrent(HWND grid, int column, int row, int focus)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return;
    if (g->current_column == column && g->current_row == row && !GRID_RENOTIFY)
        return;
    g->current_column = column;
    g->current_row = row;
    if (focus)
        SetFocus(grid);
    else if (grid_focus_inside(grid))
        grid_notify(grid);
}

// x by a quarter of the font's average character width, y by an eighth of its height.
void WGridDlgUnits(HWND window, RECT& rect)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    TEXTMETRICA tm = {};
    {
        WindowDc dc(window);
        Selection font_selection(font ? dc.get() : nullptr, font);  // the window's font, when it has one
        GetTextMetricsA(dc.get(), &tm);
    }
    rect.left = rect.left * tm.tmAveCharWidth / 4;
    rect.right = rect.right * tm.tmAveCharWidth / 4;
    rect.top = rect.top * tm.tmHeight / 8;
    rect.bottom = rect.bottom * tm.tmHeight / 8;
}

// The top row stays within the rows in use; a cell holding an invalid number keeps the view.
void grid_vscroll(HWND grid, int code, int position)
{
    GridRecord* g = grid_record(grid);
    if (!g || !g->setup || focus_blocks_scrolling(grid))
        return;
    WGridClearBlock(grid);
    int delta = vertical_delta(*g, code, position);
    int max_top = std::max(0, g->rows - g->rows_fit);
    delta = std::clamp(g->top_row + delta, 0, max_top) - g->top_row;
    if (delta != 0)
        move_top_row(grid, *g, delta);
}

// Lines and pages of whole columns, thumb positions as column numbers.
void grid_hscroll(HWND grid, int code, int position)
{
    GridRecord* g = grid_record(grid);
    if (!g || !g->setup || focus_blocks_scrolling(grid))
        return;
    WGridClearBlock(grid);
    int target = g->first_column;
    switch (code) {
    case SB_LINELEFT: --target; break;
    case SB_LINERIGHT: ++target; break;
    case SB_PAGELEFT: {
        int width = grid_client_width(*g), sum = 0;
        while (target > 0 && sum + g->col()[target - 1].width - 1 <= width)
            sum += g->col()[--target].width - 1;
        break;
    }
    case SB_PAGERIGHT: target += std::max(1, g->last_column - g->first_column); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = position; break;
    default: return;
    }
    move_first_column(grid, *g, target);
}

namespace {

BOOL CALLBACK count_child(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Counts a top-level window with all its children.
BOOL CALLBACK count_top_level(HWND w, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(w, count_child, count);
    return TRUE;
}

}  // namespace

int grid_system_window_count()
{
    int count = 0;
    EnumWindows(count_top_level, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The grid window: creation, size, focus, scroll bars, the wheel and the grid's own GM_ messages.
LRESULT CALLBACK WGridWndProc(HWND grid, UINT msg, WPARAM wp, LPARAM lp)
{
    GridRecord* g = grid_record(grid);
    switch (msg) {
    case WM_CREATE: return on_create(grid);
    case WM_DESTROY:
        if (g)
            on_destroy(grid, g);
        return 0;
    case WM_SIZE:
        if (g && g->setup) {
            int w = LOWORD(lp), h = HIWORD(lp);
            if (g->header)
                SetWindowPos(g->header, nullptr, 0, 0, w, g->header_height, SWP_NOZORDER | SWP_NOACTIVATE);
            if (g->client)
                SetWindowPos(g->client, nullptr, g->label_width, g->header_height,
                             std::max(1, w - g->label_width), std::max(1, h - g->header_height),
                             SWP_NOZORDER | SWP_NOACTIVATE);
            grid_layout(grid, *g);
            if (g->first_column > g->h_limit)  // the columns that fit the new width start further left
                move_first_column(grid, *g, g->h_limit);
            else if (g->current_column > g->last_column)
                move_first_column(grid, *g, first_column_showing(*g, g->current_column));
        }
        return 0;
    case WM_SETFOCUS:
        if (g)
            on_set_focus(grid, *g, reinterpret_cast<HWND>(wp));
        return 0;
    case WM_ENABLE:
        if (g)
            for (HWND c : g->cells) {
                EnableWindow(c, static_cast<BOOL>(wp));
                if (FieldRecord* r = field_record(c); r && r->spin)
                    EnableWindow(r->spin, static_cast<BOOL>(wp));
            }
        return 0;
    case WM_NOTIFY: return on_notify(grid, g, reinterpret_cast<NMHDR*>(lp));
    case WM_COMMAND:
        if (!lp && g)  // menu commands: the context menu or an owner's Edit menu
            grid_command(grid, LOWORD(wp));
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (!lp) {  // the grid's own scroll bars (the thumb position in 32 bits)
            const bool vertical = msg == WM_VSCROLL;
            SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(grid, vertical ? SB_VERT : SB_HORZ, &si);
            (vertical ? grid_vscroll : grid_hscroll)(grid, LOWORD(wp), si.nTrackPos);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (g) {
            int lines = grid_wheel_lines(g->wheel, GET_WHEEL_DELTA_WPARAM(wp));
            for (int i = 0; i < std::abs(lines); ++i)
                grid_vscroll(grid, lines > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        }
        return 0;
    case WM_NCHITTEST:
        if (g && g->locked)
            return HTTRANSPARENT;
        break;
    case GM_SETSIZE:
        if (g) {
            g->rows = g->capacity = static_cast<int>(wp);
            g->columns = g->setup_columns = static_cast<int>(lp);
            g->slots = grid_slot_count(g->rows_fit, g->rows);
        }
        return 0;
    case GM_SETROWLABELS:
        return g ? grid_set_row_labels(grid, *g, static_cast<int>(wp),
                                       *reinterpret_cast<std::string_view*>(lp))
                 : -1;
    case GM_SETCOLUMNS:
        return g ? grid_set_columns(grid, *g, reinterpret_cast<HWND>(wp), reinterpret_cast<const int*>(lp))
                 : 0;
    case GM_LAYOUT:
        if (g)
            grid_layout(grid, *g);
        return 0;
    case GM_LOCK:
        if (g)
            g->setup = g->locked = 1;
        return 0;
    default: break;
    }
    return DefWindowProcA(grid, msg, wp, lp);
}

// The client: block inversion over the cells, cell colours and notices, the default button, size changes.
LRESULT CALLBACK WGridClientWndProc(HWND client, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND grid = GetParent(client);
    GridRecord* g = grid_record(grid);
    if (!g || g->client != client)
        return DefWindowProcA(client, msg, wp, lp);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(client, &ps);
        EndPaint(client, &ps);
        for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            UpdateWindow(c);
        RECT block;
        if (WGridBlockRect(grid, block)) {
            WindowDc dc(client);
            InvertRect(dc.get(), &block);
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        int column = 0, slot = 0;
        HWND cell = reinterpret_cast<HWND>(lp);
        if (grid_cell_position(*g, cell, column, slot)) {
            LRESULT brush = cell_colours(grid, msg, reinterpret_cast<HDC>(wp), cell);
            if (brush != -1)
                return brush;
        }
        break;
    }
    case WM_COMMAND:
        if (lp)
            cell_command(grid, *g, reinterpret_cast<HWND>(lp), HIWORD(wp));
        return 0;
    case WM_VSCROLL:
        if (lp && LOWORD(wp) != SB_ENDSCROLL && !WDialogIsModal(GetParent(grid)))
            grid_notify(grid);
        return 0;
    case DM_GETDEFID: {
        HWND dialog = GetParent(grid);
        LRESULT d = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(d) == DC_HASDEFID) {
            HWND b = GetDlgItem(dialog, LOWORD(d));
            if (b && IsWindowEnabled(b))
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(d), BN_CLICKED),
                             reinterpret_cast<LPARAM>(b));
        }
        return d;
    }
    case WM_NCHITTEST:
        if (g->locked)
            return HTTRANSPARENT;
        break;
    case WM_CONTEXTMENU:
        grid_context_menu(grid, nullptr, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
    case WM_CLOSE:
    case WM_NEXTDLGCTL:
    case WM_NOTIFY: return SendMessageA(GetParent(grid), msg, wp, lp);
    case WM_SIZE: client_resized(grid, *g, HIWORD(lp)); return 0;
    default: break;
    }
    return DefWindowProcA(client, msg, wp, lp);
}

// Registers both classes once and hands the dialog layer its grid hooks.
void WGridRegister()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA probe;
    if (GetClassInfoA(instance, GRID_CLASS, &probe))
        return;
    WDialogRegisterNumericClasses();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.style = CS_PARENTDC;
    wc.lpfnWndProc = WGridWndProc;
    wc.cbWndExtra = sizeof(GridRecord*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = GRID_CLASS;
    GRID_FIELD_HOOKS.grid_class = RegisterClassA(&wc);
    wc.lpfnWndProc = WGridClientWndProc;
    wc.cbWndExtra = 0;
    wc.lpszClassName = GRID_CLIENT_CLASS;
    RegisterClassA(&wc);
    GM_CELLCHANGE = RegisterWindowMessageA("GM_CELLCHANGE");
    GRID_FIELD_HOOKS.cell_change = GM_CELLCHANGE;
    GRID_FIELD_HOOKS.from_resource = WGridFromResource;
    GRID_FIELD_HOOKS.copy = WGridCopy;
    GRID_FIELD_HOOKS.clear = WGridClear;
    GRID_FIELD_HOOKS.edit_state = WGridEditState;
    GRID_FIELD_HOOKS.field_data = grid_field_data;
}
