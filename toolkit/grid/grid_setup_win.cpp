// The grid's set-up, copy and clear: the template dialog, the set-up from the companion text, a grid
// copied into another (a loaded dialog shown modally, the stand-alone window), the cleared contents and
// the rows in use changed.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_win.h"

#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <algorithm>

// Check boxes unchecked, menus reset or at their first option, edits blank with no value.
void grid_empty_control(HWND c, int kind, int menu_flag)
{
    switch (kind) {
    case GRID_CHECK: SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0); break;
    case GRID_MENU:
        if (menu_flag == 1)
            SendMessageA(c, CB_RESETCONTENT, 0, 0);
        else
            SendMessageA(c, CB_SETCURSEL, 0, 0);
        break;
    default:
        SetWindowTextA(c, "");
        SendMessageA(c, EM_SETMODIFY, FALSE, 0);
        if (FieldRecord* r = field_record(c)) {
            r->value = 0.0;
            r->defined = 0;
        }
        break;
    }
}

namespace {

// A cell's contents from one control to another (text, value, defined and modified state, check, menu).
void copy_contents(HWND target, HWND source, int kind)
{
    switch (kind) {
    case GRID_CHECK: SendMessageA(target, BM_SETCHECK, SendMessageA(source, BM_GETCHECK, 0, 0), 0); break;
    case GRID_MENU: SendMessageA(target, CB_SETCURSEL, SendMessageA(source, CB_GETCURSEL, 0, 0), 0); break;
    default: {
        SetWindowTextA(target, grid_window_text(source).c_str());
        SendMessageA(target, EM_SETMODIFY, SendMessageA(source, EM_GETMODIFY, 0, 0), 0);
        FieldRecord* t = field_record(target);
        FieldRecord* s = field_record(source);
        if (t && s) {
            t->value = s->value;
            t->defined = s->defined;
        }
        break;
    }
    }
}

// A cell's set-up from the same slot of the source grid (range, steps, colours, format, options, limit).
void copy_cell_setup(HWND target, HWND source, int kind)
{
    FieldRecord* t = field_record(target);
    FieldRecord* s = field_record(source);
    if (t && s) {
        t->minimum = s->minimum;
        t->maximum = s->maximum;
        t->small_step = s->small_step;
        t->large_step = s->large_step;
        t->foreground = s->foreground;
        t->background = s->background;
        t->max_length = s->max_length;
        t->format = s->format;
        if (t->spin && s->spin) {
            int lo = 0, hi = 0;
            SendMessageA(s->spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo),
                         reinterpret_cast<LPARAM>(&hi));
            SendMessageA(t->spin, UDM_SETRANGE32, static_cast<WPARAM>(lo), hi);
            UDACCEL accel[2] = {};
            int n = static_cast<int>(SendMessageA(s->spin, UDM_GETACCEL, 2, reinterpret_cast<LPARAM>(accel)));
            SendMessageA(t->spin, UDM_SETACCEL, std::min(n, 2), reinterpret_cast<LPARAM>(accel));
        }
    }
    if (kind == GRID_MENU) {
        SendMessageA(target, CB_RESETCONTENT, 0, 0);
        int n = static_cast<int>(SendMessageA(source, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::string item(static_cast<size_t>(SendMessageA(source, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
            SendMessageA(source, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            SendMessageA(target, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
    } else if (kind != GRID_CHECK) {
        SendMessageA(target, EM_LIMITTEXT, SendMessageA(source, EM_GETLIMITTEXT, 0, 0), 0);
    }
}

// The header bar and the row-label windows of a copy, made like the source's.
void copy_headers(HWND target, GridRecord& t, const GridRecord& s)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(target), WM_GETFONT, 0, 0));
    if (s.header && !t.header) {
        RECT r;
        GetWindowRect(s.header, &r);
        t.header = CreateWindowExA(
            0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0, r.right - r.left, r.bottom - r.top,
            target, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(t.header, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        grid_subclass(t.header, WGridHeaderWndProc);
    }
    // A header of its own (a grid made with the header style) takes the items too.
    if (s.header && t.header && SendMessageA(t.header, HDM_GETITEMCOUNT, 0, 0) == 0) {
        int n = static_cast<int>(SendMessageA(s.header, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[256] = {};
            HDITEMA item = {};
            item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(s.header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            SendMessageA(t.header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    for (int k = static_cast<int>(t.label_windows.size()); k < static_cast<int>(s.label_windows.size()); ++k)
        grid_create_label_window(target, t, k);
}

// A scroll bar's range, page and position from one grid to another.
void copy_scroll_bar(HWND target, HWND source, int bar)
{
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    if (GetScrollInfo(source, bar, &si)) {
        si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        SetScrollInfo(target, bar, &si, TRUE);
    }
}

// The structure of a grid copied into a fresh grid; false when memory or a window fails.
bool copy_structure(HWND target, GridRecord& t, HWND source, GridRecord& s, int share)
{
    t.setup = s.setup;
    t.columns = s.columns;
    t.h_limit = s.h_limit;
    t.capacity = s.capacity;
    t.setup_columns = s.setup_columns;
    t.rows_fit = s.rows_fit;
    t.slots = s.slots;
    t.label_width = s.label_width;
    t.header_height = s.header_height;
    t.template_id = s.template_id;
    t.scale = s.scale;
    t.locked = 0;
    try {
        if (share) {
            t.store = s.store;
            t.labels = s.labels;
        } else {
            t.store = std::make_shared<std::vector<GridColumn>>(*s.store);
            t.labels = std::make_shared<std::vector<std::string>>(*s.labels);
        }
        t.templates = s.templates;
        t.cells.assign(s.cells.size(), nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!t.client) {
        RECT r;
        GetWindowRect(s.client, &r);
        t.client = CreateWindowExA(0, "ZUVUDIDUZOZER", "", WS_CHILD | WS_VISIBLE, t.label_width,
                                   t.header_height, r.right - r.left, r.bottom - r.top, target,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                   GetModuleHandleA(nullptr), nullptr);
        if (!t.client)
            return false;
    }
    copy_headers(target, t, s);
    const int keep_first = t.first_column;
    t.first_column = s.first_column;
    bool ok = grid_create_slots(target, t, 0, t.slots);
    t.first_column = keep_first;
    for (int k = 0; k < t.columns && ok; ++k)
        for (int slot = 0; slot < t.slots; ++slot)
            copy_cell_setup(t.cell(k, slot), s.cell(k, slot), t.col()[k].kind);
    copy_scroll_bar(target, source, SB_VERT);
    copy_scroll_bar(target, source, SB_HORZ);
    return ok;
}

void fill_label(const GridRecord& g, int s)
{
    grid_load_label(const_cast<GridRecord&>(g), s);
}

}  // namespace

// The hidden template dialog: its controls get fresh field records and the dialog's companion data.
INT_PTR CALLBACK WGridTemplateDlgProc(HWND dialog, UINT msg, WPARAM, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!is_numeric_class(c)) {
                free_field_record(c);  // a fresh record: no range, default colours
                make_field_record(c);
            }
        WDialogApplyRcdata(dialog, static_cast<int>(lp), -1);
        return FALSE;
    }
    if (msg == WM_DESTROY)
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!is_numeric_class(c))
                free_field_record(c);
    return FALSE;
}

HWND grid_create_template(int id)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), WIN_TABLE.slot[0].frame,
                              WGridTemplateDlgProc, id);
}

// Sets up a grid from its companion text; the characters read, and the grid destroyed when it fails.
size_t WGridFromResource(HWND grid, const char* text, size_t length)
{
    const std::string_view view(text, length);
    GridSetupLine line = parse_grid_line(view);
    size_t consumed = line.consumed;
    const bool labels = (GetWindowLongA(grid, GWL_STYLE) & GS_ROW_LABELS) != 0;
    size_t label_start = std::string_view::npos;
    int label_units = 0;
    if (labels) {
        size_t pos = view.find('\n', consumed);
        if (pos != std::string_view::npos) {
            label_start = pos + 1;
            label_units = grid_read_number(view, label_start);
        }
    }
    GridRecord* g = grid_record(grid);
    if (!g || g->setup) {
        if (label_start != std::string_view::npos) {
            std::vector<std::string> ignored;
            consumed = label_start + parse_row_labels(view.substr(label_start), line.rows, false, ignored);
        }
        return consumed;
    }
    // The cell code has 18 bits for the row: a grid of more rows cannot name its cells.
    bool failed = line.columns <= 0 || line.rows < 0 || line.rows > GRID_MAX_ROWS;
    HWND dialog = nullptr;
    if (!failed) {
        SendMessageA(grid, GM_SETSIZE, static_cast<WPARAM>(line.rows), line.columns);
        dialog = grid_create_template(line.template_id);
        failed = dialog == nullptr;
    }
    if (label_start != std::string_view::npos) {
        std::string_view block = view.substr(label_start);
        LRESULT used = failed ? -1
                              : SendMessageA(grid, GM_SETROWLABELS, static_cast<WPARAM>(label_units),
                                             reinterpret_cast<LPARAM>(&block));
        if (used < 0) {
            std::vector<std::string> ignored;
            used = static_cast<LRESULT>(parse_row_labels(block, line.rows, false, ignored));
            failed = true;
        }
        consumed = label_start + static_cast<size_t>(used);
    }
    bool columns_ok = !failed && SendMessageA(grid, GM_SETCOLUMNS, reinterpret_cast<WPARAM>(dialog), 0) == 1;
    if (columns_ok) {
        SendMessageA(grid, GM_LAYOUT, 0, 0);
        g->setup = 1;
        g->template_id = line.template_id;
        WGridLoadVisible(*g);
    }
    if (dialog)
        DestroyWindow(dialog);
    if (!columns_ok)
        DestroyWindow(grid);
    return consumed;
}

// The structure is copied only when the source's parent is not the running modal dialog.
void WGridCopy(HWND target, HWND source, int share)
{
    GridRecord* t = grid_record(target);
    GridRecord* s = grid_record(source);
    if (!t || !s || t == s)
        return;
    if (!WDialogIsModal(GetParent(source)) && !copy_structure(target, *t, source, *s, share))
        return;
    t->rows = s->rows;
    t->current_column = s->current_column;
    t->current_row = s->current_row;
    t->first_column = s->first_column;
    t->last_column = s->last_column;
    t->top_row = s->top_row;
    if (t->columns != s->columns || t->slots != s->slots)
        return;
    grid_place_cells(*t);
    t->loading = 1;
    for (int k = 0; k < t->columns; ++k)
        for (int slot = 0; slot < t->slots; ++slot) {
            copy_contents(t->cell(k, slot), s->cell(k, slot), t->col()[k].kind);
            bool shown = t->top_row + slot < t->rows;
            ShowWindow(t->cell(k, slot), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
            if (FieldRecord* r = field_record(t->cell(k, slot)); r && r->spin)
                ShowWindow(r->spin, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
        }
    t->loading = 0;
    for (size_t slot = 0; slot < t->label_windows.size(); ++slot)
        fill_label(*t, static_cast<int>(slot));
}

// Empties every slot control and every stored row; the cleared cells are no edit.
void WGridClear(HWND grid, int menu_flag)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return;
    WGridClearBlock(grid);
    g->loading = 1;
    for (int k = 0; k < g->columns; ++k) {
        for (int s = 0; s < g->slots; ++s)
            grid_empty_control(g->cell(k, s), g->col()[k].kind, menu_flag);
        GridColumn& c = g->col()[k];
        for (int row = 0; row < g->capacity; ++row)
            grid_store_clear(c, row);
    }
    g->loading = 0;
}

// The rows in use within the capacity; the current and top rows are pulled inside them.
void WGridResizeRows(HWND grid, int rows)
{
    GridRecord* g = grid_record(grid);
    if (!g)
        return;
    rows = std::clamp(rows, 0, g->capacity);  // storage holds exactly the capacity
    WGridClearBlock(grid);
    g->rows = rows;
    bool refill = g->current_row >= rows || (g->top_row > 0 && g->top_row + g->rows_fit > rows);
    if (refill) {
        g->current_row = std::max(0, std::min(g->current_row, rows - 1));
        if (rows == 0)
            g->current_column = 0;
        g->top_row = std::max(0, g->current_row - g->rows_fit + 1);
    }
    WGridLoadVisible(*g);  // shows the slots of rows that exist and hides the others
    if (refill && grid_focus_inside(grid) && IsWindowVisible(GetParent(grid)))
        SetFocus(grid);
    g->scale = grid_scroll_scale(rows);
    grid_layout(grid, *g);
}
