// The grid's cell interface: one routine per cell, column or grid operation (the set-up, copy and clear
// are in grid_setup_win.cpp). Rows on screen are served through their slot controls, the others through
// storage; every routine also keeps storage current.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_win.h"
#include "toolkit/grid/grid_window.h"

#include "toolkit/grid/grid_number_text.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/number_text.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr int SPIN_LIMIT = 31073;  // up-down controls take ranges within -31073 .. 31073

// A window of the registered grid class that has its record.
bool is_grid(HWND w)
{
    return w && GRID_FIELD_HOOKS.grid_class && GetClassLongA(w, GCW_ATOM) == GRID_FIELD_HOOKS.grid_class &&
           grid_record(w);
}

}  // namespace

HWND grid_field_window(int& field)
{
    HWND w = nullptr;
    if (field == 0) {
        int n = WIN_CURRENT.window;
        const WinRecord* r = n >= 0 && n < WIN_SLOTS ? win_record(WIN_TABLE.slot[n].frame) : nullptr;
        w = r && r->kind == RECORD_GRID ? r->inner : nullptr;
    } else {
        HWND dialog = current_dialog_window();
        w = dialog ? GetDlgItem(dialog, field) : nullptr;
    }
    if (!is_grid(w)) {
        field = -1;
        return nullptr;
    }
    return w;
}

namespace {

// The grid and its record for a routine on a column (and row): -1 or -2 in the field id on failure.
GridRecord* column_grid(int& field, HWND& grid, int column)
{
    grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g)
        return nullptr;
    if (column < 0 || column >= g->columns) {
        field = -2;
        return nullptr;
    }
    return g;
}

// As column_grid, and the row within the rows in use (else -2 in the field id).
GridRecord* cell_grid(int& field, HWND& grid, int column, int row)
{
    GridRecord* g = column_grid(field, grid, column);
    if (g && (row < 0 || row >= g->rows)) {
        field = -2;
        return nullptr;
    }
    return g;
}

// The column's kind within lowest..highest; else -2 in the field id.
bool kind_in(GridRecord* g, int& field, int column, int lowest, int highest)
{
    int kind = g->col()[column].kind;
    if (kind < lowest || kind > highest) {
        field = -2;
        return false;
    }
    return true;
}

// A change by a routine: the block goes, both change flags are set.
void mark_changed(HWND grid, GridRecord& g)
{
    WGridClearBlock(grid);
    g.changed_since_saved = g.changed = 1;
}

// Colour words: red -1 keeps, 256 the default, else 8-bit red, green, blue.
void apply_colour(int& colour, int red, int green, int blue)
{
    if (red == -1)
        return;
    colour = red == 256 ? -1 : (red & 255) | (green & 255) << 8 | (blue & 255) << 16;
}

// A colour word into one colour of a cell's table entry: -1 keeps it, 256 clears its bit.
void apply_table_colour(GridCellColours& c, int bit, unsigned char rgb[3], int red, int green, int blue)
{
    if (red == -1)
        return;
    if (red == 256) {
        c.flags &= static_cast<unsigned char>(~bit);
        return;
    }
    c.flags |= static_cast<unsigned char>(bit);
    rgb[0] = static_cast<unsigned char>(red & 255);
    rgb[1] = static_cast<unsigned char>(green & 255);
    rgb[2] = static_cast<unsigned char>(blue & 255);
}

// Systems whose check boxes (major version 4) or lists (3) take no cell colours; platform 0 takes none.
bool colours_unsupported(int kind)
{
    if (IOsPlatformId() == 0)
        return true;
    int major = static_cast<int>(GetVersion() & 0xFF);
    return (kind == GRID_CHECK && major == 4) || (kind == GRID_MENU && major == 3);
}

// Redraws a cell at once, with the block over it.
void repaint_cell(HWND grid, GridRecord& g, HWND cell)
{
    RECT block;
    if (WGridBlockRect(grid, block))
        RedrawWindow(g.client, &block, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RedrawWindow(cell, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

}  // namespace

void WGridGetText(int& field, int column, int row, std::string& text, int length)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || !kind_in(g, field, column, GRID_TEXT, GRID_DOUBLE))
        return;
    HWND c = grid_cell_on_screen(*g, column, row);
    text = c ? grid_window_text(c) : grid_stored_text(g->col()[column], row, grid_column_format(*g, column));
    if (length > 0 && static_cast<int>(text.size()) > length - 1)
        text.resize(static_cast<size_t>(length - 1));
}

// A row on screen is read from its control, the others from storage.
void WGridGetValue(int& field, int column, int row, double& value)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || !kind_in(g, field, column, GRID_TEXT, GRID_DOUBLE))
        return;
    const GridColumn& col = g->col()[column];
    HWND c = grid_cell_on_screen(*g, column, row);
    if (!c) {
        double v = 0.0;
        int result = grid_stored_value(col, row, v);
        if (result)
            field = result;
        else
            value = v;
        return;
    }
    std::string t = grid_window_text(c).substr(0, 254);
    if (t.find_first_not_of(' ') == std::string::npos) {
        field = -3;
        return;
    }
    FieldRecord* r = field_record(c);
    if (col.kind != GRID_TEXT && r && !SendMessageA(c, EM_GETMODIFY, 0, 0))
        value = r->value;
    else
        IStrReadDouble(value, t);
}

// The state of a check box (0/1) or the 0-based option of a menu cell, from its control or storage;
// false with the mark in the field id.
static bool get_choice(int& field, int column, int row, int kind, int& value)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || !kind_in(g, field, column, kind, kind))
        return false;
    HWND c = grid_cell_on_screen(*g, column, row);
    if (!c)
        value = grid_stored_int(g->col()[column], row);
    else if (kind == GRID_CHECK)
        value = SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        value = static_cast<int>(SendMessageA(c, CB_GETCURSEL, 0, 0));
    return true;
}

void WGridGetCheckBox(int& field, int column, int row, int& state)
{
    get_choice(field, column, row, GRID_CHECK, state);
}

void WGridGetMenu(int& field, int column, int row, int& option)
{
    int index = -1;
    if (get_choice(field, column, row, GRID_MENU, index))
        option = index < 0 ? 0 : index + 1;
}

void WGridGetMenuText(int& field, int column, int option, std::string& text)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g || !kind_in(g, field, column, GRID_MENU, GRID_MENU))
        return;
    if (g->slots <= 0) {
        const std::vector<std::string>& options = (*g->templates)[column].options;
        if (option < 1 || option > static_cast<int>(options.size())) {
            field = -2;
            return;
        }
        text = options[static_cast<size_t>(option - 1)];
        return;
    }
    HWND c = g->cell(column, 0);
    LRESULT n = SendMessageA(c, CB_GETLBTEXTLEN, static_cast<WPARAM>(option - 1), 0);
    if (option < 1 || n == CB_ERR) {
        field = -2;
        return;
    }
    std::string t(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(c, CB_GETLBTEXT, static_cast<WPARAM>(option - 1), reinterpret_cast<LPARAM>(t.data()));
    text = t.c_str();
}

void WGridPutCell(int& field, int column, int row, double value, std::string_view text,
                  std::string_view format)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || !kind_in(g, field, column, GRID_TEXT, GRID_DOUBLE))
        return;
    GridColumn& col = g->col()[column];
    std::string t(text.substr(0, text.find('\0')));
    if (col.kind == GRID_TEXT && static_cast<int>(t.size()) > col.length)
        t.resize(static_cast<size_t>(col.length));
    const bool non_blank = t.find_first_not_of(' ') != std::string::npos;
    bool ok = false;
    const double scanned = WStrScanReal(t, ok);
    const double used = value != 0.0 ? value : (ok ? scanned : 0.0);
    HWND c = grid_cell_on_screen(*g, column, row);
    g->loading = 1;
    if (c) {
        SetWindowTextA(c, t.c_str());
        if (FieldRecord* r = field_record(c)) {
            r->value = used;
            r->defined = non_blank ? 1 : 0;
        }
        SendMessageA(c, EM_SETMODIFY, FALSE, 0);
    }
    // A new number format goes to the cell (off screen: to slot 0) and, in a real or double column, to
    // every other slot, whose texts are written again in it.
    HWND holder = c ? c : g->slots > 0 ? g->cell(column, 0) : nullptr;
    FieldRecord* hr = holder ? field_record(holder) : nullptr;
    const std::string fmt(format.substr(0, format.find('\0')));
    if (hr && !fmt.empty() && lstrcmpiA(hr->format.c_str(), fmt.c_str()) != 0) {
        hr->format = fmt;
        if (col.kind == GRID_REAL || col.kind == GRID_DOUBLE) {
            for (int s = 0; s < g->slots; ++s) {
                HWND o = g->cell(column, s);
                FieldRecord* orec = field_record(o);
                if (o == holder || !orec)
                    continue;
                orec->format = fmt;
                std::string ot = grid_window_text(o);
                if (ot.find_first_not_of(' ') == std::string::npos)
                    continue;
                std::string rewritten =
                    SendMessageA(o, EM_GETMODIFY, 0, 0)
                        ? (col.kind == GRID_REAL ? IStrCleanReal(ot, fmt) : IStrCleanDouble(ot, fmt))
                        : IStrFormatDouble(orec->value, fmt);
                SetWindowTextA(o, rewritten.c_str());
                SendMessageA(o, EM_SETMODIFY, FALSE, 0);
            }
        }
    }
    g->loading = 0;
    grid_store_put(col, row, used, t, non_blank);
    mark_changed(grid, *g);
}

// The put of a check box (state 0/1) or menu (0-based option) cell: control and storage.
static void put_choice(int& field, int column, int row, int kind, int value)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || !kind_in(g, field, column, kind, kind))
        return;
    if (HWND c = grid_cell_on_screen(*g, column, row))
        SendMessageA(c, kind == GRID_CHECK ? BM_SETCHECK : CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    grid_store_int(g->col()[column], row, value);
    mark_changed(grid, *g);
}

void WGridPutCheckBox(int& field, int column, int row, int state)
{
    put_choice(field, column, row, GRID_CHECK, state ? 1 : 0);
}

void WGridPutMenu(int& field, int column, int row, int option)
{
    put_choice(field, column, row, GRID_MENU, option - 1);
}

// Selects the option whose text matches exactly; not_found 1 when none does.
void WGridPutMenuText(int& field, int column, int row, int& not_found, std::string_view text)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || !kind_in(g, field, column, GRID_MENU, GRID_MENU))
        return;
    // The whole text must match, letter case included (the combo box's own search ignores case).
    int option = 0;
    for (int i = 1; option == 0; ++i) {
        int f = field;
        std::string item;
        WGridGetMenuText(f, column, i, item);
        if (f < 0)
            break;
        if (item == text)
            option = i;
    }
    not_found = option == 0 ? 1 : 0;
    WGridPutMenu(field, column, row, option == 0 ? 1 : option);
}

// The menu control of one slot: -1 for a column that is no menu column, -2 for a slot outside the
// slots (which would name no control).
static HWND menu_slot(int& field, int column, int slot)
{
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g)
        return nullptr;
    if (column < 0 || column >= g->columns || g->col()[column].kind != GRID_MENU) {
        field = -1;
        return nullptr;
    }
    if (slot < 0 || slot >= g->slots) {
        field = -2;
        return nullptr;
    }
    return g->cell(column, slot);
}

void WGridMenuAdd(int& field, int column, int slot, std::string_view text)
{
    if (HWND c = menu_slot(field, column, slot)) {
        std::string t(text);
        SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
}

void WGridMenuReset(int& field, int column, int slot)
{
    if (HWND c = menu_slot(field, column, slot))
        SendMessageA(c, CB_RESETCONTENT, 0, 0);
}

// Mode 0: a row in use; 1 and 2: any row with storage; only mode 2 clears a menu cell.
void WGridClearCell(int& field, int column, int row, int mode)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g)
        return;
    const int limit = mode == 0 ? g->rows : g->capacity;
    const int kind = g->col()[column].kind;
    if (row < 0 || row >= limit || (kind == GRID_MENU && mode != 2)) {
        field = -2;
        return;
    }
    WGridClearBlock(grid);
    grid_store_clear(g->col()[column], row);
    if (HWND c = grid_cell_on_screen(*g, column, row)) {
        g->loading = 1;
        grid_empty_control(c, kind, 0);
        g->loading = 0;
    }
}

// Mode 1 makes the cell writable, any other read-only; a cell on screen follows at once.
void WGridCellReadOnly(int& field, int column, int row, int mode)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g)
        return;
    unsigned char& flags = g->col()[column].flags[row];
    const bool read_only = mode != 1;
    flags = static_cast<unsigned char>(read_only ? flags | GRID_READ_ONLY : flags & ~GRID_READ_ONLY);
    if (HWND c = grid_cell_on_screen(*g, column, row))
        WGridEditState(c, g->col()[column].kind, read_only ? 1 : 0, 1);
}

// The column's colour table starts from its cells' colours the first time a single cell gets one.
void WGridCellColour(int& field, int column, int row, int fr, int fg, int fb, int br, int bg, int bb)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g || colours_unsupported(g->col()[column].kind))
        return;
    GridColumn& col = g->col()[column];
    if (col.colours.empty()) {
        GridCellColours start;
        if (FieldRecord* r = g->slots > 0 ? field_record(g->cell(column, 0)) : nullptr) {
            if (r->foreground >= 0)
                apply_table_colour(start, 1, start.fg, r->foreground & 255, (r->foreground >> 8) & 255,
                                   (r->foreground >> 16) & 255);
            if (r->background >= 0)
                apply_table_colour(start, 2, start.bg, r->background & 255, (r->background >> 8) & 255,
                                   (r->background >> 16) & 255);
        }
        try {
            col.colours.assign(static_cast<size_t>(g->capacity), start);
        } catch (const std::bad_alloc&) {
            field = -3;
            return;
        }
    }
    GridCellColours& c = col.colours[row];
    apply_table_colour(c, 1, c.fg, fr, fg, fb);
    apply_table_colour(c, 2, c.bg, br, bg, bb);
    if (HWND cell = grid_cell_on_screen(*g, column, row)) {
        FieldRecord& r = make_field_record(cell);
        apply_colour(r.foreground, fr, fg, fb);
        apply_colour(r.background, br, bg, bb);
        repaint_cell(grid, *g, cell);
    }
}

void WGridColumnColour(int& field, int column, int fr, int fg, int fb, int br, int bg, int bb)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g || colours_unsupported(g->col()[column].kind))
        return;
    g->col()[column].colours.clear();
    for (int s = 0; s < g->slots; ++s) {
        HWND cell = g->cell(column, s);
        FieldRecord& r = make_field_record(cell);
        apply_colour(r.foreground, fr, fg, fb);
        apply_colour(r.background, br, bg, bb);
        repaint_cell(grid, *g, cell);
    }
}

void WGridGetFormat(int& field, int column, std::string& text)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g)
        return;
    int kind = g->col()[column].kind;
    text = kind == GRID_REAL || kind == GRID_DOUBLE ? grid_column_format(*g, column) : DEFAULT_REAL_FORMAT;
}

// The up-down controls take the range cut to what they can hold.
void WGridColumnRange(int& field, int column, double minimum, double maximum)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g)
        return;
    (*g->templates)[column].minimum = minimum;
    (*g->templates)[column].maximum = maximum;
    const int lo = static_cast<int>(
        std::clamp(minimum, -static_cast<double>(SPIN_LIMIT), static_cast<double>(SPIN_LIMIT)));
    const int hi = static_cast<int>(
        std::clamp(maximum, -static_cast<double>(SPIN_LIMIT), static_cast<double>(SPIN_LIMIT)));
    for (int s = 0; s < g->slots; ++s) {
        FieldRecord& r = make_field_record(g->cell(column, s));
        r.minimum = minimum;
        r.maximum = maximum;
        if (r.spin)
            SendMessageA(r.spin, UDM_SETRANGE32, static_cast<WPARAM>(lo), hi);
    }
}

void WGridRangeCheck(int& field, int column, double value)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (g && WGridRangeTest(*g, column, value))
        field = -3;
}

// The up-down accelerations: the small step at once, the large one after two seconds.
void WGridSpinSteps(int& field, int column, int small_step, int large_step)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g)
        return;
    UDACCEL accel[2] = {{0, static_cast<UINT>(small_step)}, {2, static_cast<UINT>(large_step)}};
    for (int s = 0; s < g->slots; ++s) {
        FieldRecord* r = field_record(g->cell(column, s));
        if (!r || !r->spin) {
            field = -2;
            return;
        }
        SendMessageA(r->spin, UDM_SETACCEL, large_step != 0 ? 2 : 1, reinterpret_cast<LPARAM>(accel));
    }
}

// The arrow steps of a number column whose cells are of the class given; -2 in the field id otherwise.
static void set_steps(int& field, int column, const char* class_name, double small_step, double large_step)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (!g)
        return;
    for (int s = 0; s < g->slots; ++s) {
        HWND c = g->cell(column, s);
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, class_name) != 0) {
            field = -2;
            return;
        }
        FieldRecord& r = make_field_record(c);
        r.small_step = small_step;
        r.large_step = large_step;
    }
}

void WGridRealSteps(int& field, int column, float small_step, float large_step)
{
    set_steps(field, column, "REALSPIN", small_step, large_step);
}

void WGridDoubleSteps(int& field, int column, double small_step, double large_step)
{
    set_steps(field, column, "DOUBLESPIN", small_step, large_step);
}

// The column's kind as the dialog layer's field type code.
void WGridColumnType(int& field, int column, int& type)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    constexpr int TYPES[] = {4, 5, 6, 7, 9, 11};
    if (g)
        type = TYPES[g->col()[column].kind];
}

void WGridColumnLength(int& field, int column, int& length)
{
    HWND grid;
    GridRecord* g = column_grid(field, grid, column);
    if (g && kind_in(g, field, column, GRID_TEXT, GRID_TEXT))
        length = g->col()[column].length + 1;
}

void WGridPutColumnLabel(int& field, int item, std::string_view text)
{
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g || !g->header)
        return;
    if (item < 0 || item > g->columns) {
        field = -2;
        return;
    }
    std::string t(text);
    HDITEMA h = {};
    h.mask = HDI_TEXT;
    h.pszText = t.data();
    SendMessageA(g->header, HDM_SETITEMA, item, reinterpret_cast<LPARAM>(&h));
}

void WGridGetColumnLabel(int& field, int item, std::string& text)
{
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    text.clear();
    if (!g || !g->header)
        return;
    if (item < 0 || item > g->columns) {
        field = -2;
        return;
    }
    char buffer[1025] = {};
    HDITEMA h = {};
    h.mask = HDI_TEXT;
    h.pszText = buffer;
    h.cchTextMax = sizeof buffer;
    SendMessageA(g->header, HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&h));
    text = buffer;
}

void WGridPutRowLabel(int& field, int row, std::string_view text)
{
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g || g->label_windows.empty())
        return;
    if (row < 0 || row >= g->rows) {
        field = -2;
        return;
    }
    if (static_cast<int>(g->labels->size()) < g->rows)
        g->labels->resize(static_cast<size_t>(g->rows));
    (*g->labels)[row] = std::string(text.substr(0, std::min<size_t>(text.find('\0'), GRID_LABEL_LENGTH)));
    if (row >= g->top_row && row - g->top_row < static_cast<int>(g->label_windows.size()))
        grid_load_label(*g, row - g->top_row);
}

void WGridGetRowLabel(int& field, int row, std::string& text)
{
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    text.clear();
    if (!g || g->label_windows.empty())
        return;
    if (row < 0 || row >= g->rows) {
        field = -2;
        return;
    }
    if (row < static_cast<int>(g->labels->size()))
        text = (*g->labels)[row];
}

// Makes a cell current; in a visible, enabled dialog the focus passes through the dialog to show it.
void WGridSetCell(int& field, int column, int row)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, column, row);
    if (!g)
        return;
    WGridClearBlock(grid);
    HWND dialog = GetParent(grid);
    if (IsWindowVisible(dialog) && IsWindowEnabled(dialog)) {
        SetFocus(dialog);
        g->current_column = column;
        g->current_row = row;
        SetFocus(grid);
    } else {
        g->current_column = column;
        g->current_row = row;
    }
}

void WGridSetRows(int& field, int rows)
{
    HWND grid = grid_field_window(field);
    if (grid)
        WGridResizeRows(grid, rows);
}

// Re-makes the columns from the template (a map picks its controls); the view starts at the first cell.
void WGridColumns(int& field, int columns, const int* map)
{
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g)
        return;
    const bool had_focus = grid_focus_inside(grid);
    WGridClearBlock(grid);
    const int slots = g->slots;
    grid_destroy_slots(*g, 0);
    g->slots = slots;
    if (g->header)
        while (SendMessageA(g->header, HDM_DELETEITEM, 0, 0)) {
        }
    HWND dialog = grid_create_template(g->template_id);
    g->columns = columns;
    g->first_column = 0;
    g->top_row = 0;
    ScrollWindowEx(g->client, 0, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    if (!dialog || columns <= 0 ||
        SendMessageA(grid, GM_SETCOLUMNS, reinterpret_cast<WPARAM>(dialog), reinterpret_cast<LPARAM>(map)) !=
            1) {
        field = -1;
    } else {
        SendMessageA(grid, GM_LAYOUT, 0, 0);
        g->current_column = g->current_row = 0;
        SetScrollPos(grid, SB_VERT, 0, TRUE);
        SetScrollPos(grid, SB_HORZ, 0, TRUE);
        WGridLoadVisible(*g);
        if (had_focus)
            SetFocus(grid);
    }
    if (dialog)
        DestroyWindow(dialog);
}

void grid_swap_rows(HWND grid, GridRecord& record, int row_a, int row_b, int label_flag)
{
    GridRecord* g = &record;
    WGridClearBlock(grid);
    const int slot_a = row_a - g->top_row, slot_b = row_b - g->top_row;
    const bool a_shown = slot_a >= 0 && slot_a < g->slots, b_shown = slot_b >= 0 && slot_b < g->slots;
    for (int k = 0; k < g->columns; ++k) {
        // Cells on screen go to storage first (a modified number is read from its text), and come
        // back from it after the exchange.
        if (a_shown)
            grid_save_cell(*g, k, slot_a);
        if (b_shown)
            grid_save_cell(*g, k, slot_b);
        grid_store_swap(g->col()[k], row_a, row_b);
        const std::string format = a_shown || b_shown ? grid_column_format(*g, k) : std::string();
        if (a_shown)
            grid_load_cell(*g, k, slot_a, format);
        if (b_shown)
            grid_load_cell(*g, k, slot_b, format);
    }
    if (label_flag && !g->label_windows.empty()) {
        if (static_cast<int>(g->labels->size()) < g->rows)
            g->labels->resize(static_cast<size_t>(g->rows));
        std::swap((*g->labels)[row_a], (*g->labels)[row_b]);
        if (a_shown)
            grid_load_label(*g, slot_a);
        if (b_shown)
            grid_load_label(*g, slot_b);
    }
}

void WGridSwapRows(int& field, int row_a, int row_b, int label_flag)
{
    HWND grid;
    GridRecord* g = cell_grid(field, grid, 0, row_a);
    if (!g)
        return;
    if (row_b < 0 || row_b >= g->rows) {
        field = -2;
        return;
    }
    grid_swap_rows(grid, *g, row_a, row_b, label_flag);
}

void WGridInfo(int& field, int option, int& value)
{
    if (field == -2) {  // the change flags kept from the last stand-alone window closed in modal mode
        if (option == 6)
            value = GRID_WINDOW_KEPT.changed_since_saved ? 0 : 1;
        else if (option == 7)
            value = GRID_WINDOW_KEPT.changed;
        return;
    }
    HWND grid = grid_field_window(field);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g)
        return;
    switch (option) {
    case 1: value = g->columns; break;
    case 2: value = g->capacity; break;
    case 3: value = g->rows; break;
    case 4: value = g->current_column + 1; break;
    case 5: value = g->current_row + 1; break;
    case 6: value = g->changed_since_saved ? 0 : 1; break;
    case 7: value = g->changed; break;
    case 101: value = g->slots; break;
    case 102: value = g->setup_columns; break;
    default: break;
    }
}
