// The grid's columns and cell controls: the cell templates read from the template dialog, the header
// items, the row-label windows and the row slots' cell controls, made and destroyed as the slots change.
#include "toolkit/grid/grid_win.h"

#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/grid_fields_win.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <string_view>

namespace {

constexpr int CHECK_BOX_BLANKS = 29;  // the blanks a check-box cell is made with as its text

std::string class_of(HWND w)
{
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

// The cell kind a template control makes (number fields by their kind, edit, list, check box); -1 for none.
int kind_of_template(HWND t, bool& spin)
{
    spin = false;
    switch (numeric_kind(t, spin)) {
    case FK_INTEGER: return GRID_INTEGER;
    case FK_REAL: return GRID_REAL;
    case FK_DOUBLE: return GRID_DOUBLE;
    default: break;
    }
    std::string c = class_of(t);
    if (lstrcmpiA(c.c_str(), "EDIT") == 0)
        return GRID_TEXT;
    if (lstrcmpiA(c.c_str(), "COMBOBOX") == 0)
        return GRID_MENU;
    if (lstrcmpiA(c.c_str(), "BUTTON") == 0) {
        LONG t_style = GetWindowLongA(t, GWL_STYLE) & BS_TYPEMASK;
        if (t_style == BS_AUTOCHECKBOX || t_style == BS_CHECKBOX)
            return GRID_CHECK;
    }
    return -1;
}

// The template's controls in window order, up-down controls left out.
std::vector<HWND> template_controls(HWND dialog)
{
    std::vector<HWND> list;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (lstrcmpiA(class_of(c).c_str(), UPDOWN_CLASSA) != 0)
            list.push_back(c);
    return list;
}

// A column's cell template from its template control; false for a class the grid has no cells of.
bool read_template(HWND grid, GridRecord& g, HWND t, GridColumn& column, GridCellTemplate& cell)
{
    bool spin = false;
    int kind = kind_of_template(t, spin);
    if (kind < 0)
        return false;
    FieldRecord* fr = field_record(t);
    RECT rc;
    GetWindowRect(t, &rc);
    int right = rc.right;
    if (fr && fr->spin) {
        RECT sr;
        GetWindowRect(fr->spin, &sr);
        right = std::max(right, static_cast<int>(sr.right));
    }
    column.width = std::min<int>(right - rc.left, std::max(grid_client_width(g), 1));
    int length = fr ? fr->max_length : 0;
    if (kind == GRID_TEXT && length == 0)
        length = GRID_DEFAULT_TEXT_LENGTH;
    if (kind == GRID_INTEGER && length == 0)
        length = GRID_INTEGER_LENGTH;
    if (!grid_column_allocate(column, kind, length, g.capacity))
        return false;
    LONG style = GetWindowLongA(t, GWL_STYLE);
    bool edit_like = kind <= GRID_DOUBLE;
    if (edit_like && (style & ES_READONLY))
        for (unsigned char& f : column.flags)
            f |= GRID_READ_ONLY;
    cell.class_name = class_of(t);
    cell.spin = spin;
    cell.ex_style = static_cast<DWORD>(GetWindowLongA(t, GWL_EXSTYLE)) | WS_EX_NOPARENTNOTIFY;
    DWORD s = (static_cast<DWORD>(style) | WS_BORDER | WS_CHILD) & ~WS_VISIBLE;
    if (!IsWindowEnabled(grid))
        s |= WS_DISABLED;
    const bool read_only_grid = (GetWindowLongA(grid, GWL_STYLE) & GS_READ_ONLY) != 0;
    if (read_only_grid && edit_like)
        s |= ES_READONLY;
    if (kind == GRID_CHECK)
        s = (s & ~BS_TYPEMASK) | (read_only_grid ? BS_CHECKBOX : BS_AUTOCHECKBOX);
    if (edit_like)
        s |= ES_AUTOHSCROLL;  // a cell scrolls its text: without it an edit takes only what fits its width
    if (kind == GRID_TEXT)
        s |= ES_MULTILINE;
    if (kind == GRID_MENU) {
        s = (s & ~0x3u) | CBS_DROPDOWNLIST | WS_VSCROLL;
        RECT dropped = {};
        SendMessageA(t, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        cell.height = std::max<int>(dropped.bottom - dropped.top, g.cell_height);
        int n = static_cast<int>(SendMessageA(t, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::string item(static_cast<size_t>(SendMessageA(t, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
            SendMessageA(t, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            cell.options.push_back(item.c_str());
        }
        cell.selection = static_cast<int>(SendMessageA(t, CB_GETCURSEL, 0, 0));
    }
    cell.style = s;
    cell.text_limit = kind == GRID_TEXT ? length : kind == GRID_INTEGER ? GRID_INTEGER_LENGTH : 0;
    if (fr) {
        cell.minimum = fr->minimum;
        cell.maximum = fr->maximum;
        cell.small_step = fr->small_step;
        cell.large_step = fr->large_step;
        cell.max_length = fr->max_length;
        cell.format = fr->format;
        if (fr->spin) {
            int lo = 0, hi = 0;
            SendMessageA(fr->spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo),
                         reinterpret_cast<LPARAM>(&hi));
            cell.spin_low = lo;
            cell.spin_high = hi;
        }
    }
    return true;
}

// Header items: the corner (0) and one per column.
void insert_header_items(GridRecord& g, const std::vector<std::string>& titles)
{
    if (!g.header)
        return;
    HDITEMA corner = {};
    corner.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    corner.cxy = g.label_width + 1;
    char empty[1] = {};
    corner.pszText = empty;
    corner.fmt = HDF_CENTER | HDF_STRING;
    SendMessageA(g.header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&corner));
    for (int k = 0; k < g.columns; ++k) {
        HDITEMA item = corner;
        item.cxy = g.col()[k].width - 1;
        std::string title = titles[k];
        item.pszText = title.data();
        SendMessageA(g.header, HDM_INSERTITEMA, k + 1, reinterpret_cast<LPARAM>(&item));
    }
}

}  // namespace

// A slot's row label is a one-item header bar beside the slot, its first one a pixel higher.
bool grid_create_label_window(HWND grid, GridRecord& g, int s)
{
    int top = g.header_height + s * (g.cell_height - 1) + (s > 0 ? 1 : 0);
    int height = s == 0 ? g.cell_height : g.cell_height - 1;
    HWND w =
        CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | HDS_BUTTONS | (s < g.rows ? WS_VISIBLE : 0), 0, top,
                        g.label_width, height, grid, grid_child_id(s), GetModuleHandleA(nullptr), nullptr);
    if (!w)
        return false;
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(grid_parent_font(grid)), FALSE);
    HDITEMA item = {};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    item.cxy = g.label_width + 1;
    std::string text = s < static_cast<int>(g.labels->size()) ? (*g.labels)[s] : "";
    item.pszText = text.data();
    item.fmt = HDF_LEFT | HDF_STRING;
    SendMessageA(w, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    grid_subclass(w, WGridHeaderWndProc);
    g.label_windows.push_back(w);
    return true;
}

// Row labels (GM_SETROWLABELS): the label windows of every slot and the label texts.
LRESULT grid_set_row_labels(HWND grid, GridRecord& g, int width_units, std::string_view text)
{
    RECT r = {0, 0, width_units, 0};
    WGridDlgUnits(GetParent(grid), r);
    g.label_width = r.right;
    size_t used = 0;
    try {
        used = parse_row_labels(text, g.rows, (GetWindowLongA(grid, GWL_STYLE) & GS_NO_LABEL_TEXT) != 0,
                                *g.labels);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (int s = 0; s < g.slots; ++s)
        if (!grid_create_label_window(grid, g, s))
            return -1;
    return static_cast<LRESULT>(used);
}

// Columns (GM_SETCOLUMNS): storage, cell templates, the client window and the cell controls.
LRESULT grid_set_columns(HWND grid, GridRecord& g, HWND dialog, const int* map)
{
    std::vector<HWND> controls = template_controls(dialog);
    if (!g.client) {
        RECT r;
        GetClientRect(grid, &r);
        g.client = CreateWindowExA(0, GRID_CLIENT_CLASS, "", WS_CHILD | WS_VISIBLE, g.label_width,
                                   g.header_height, std::max(1, static_cast<int>(r.right) - g.label_width),
                                   std::max(1, static_cast<int>(r.bottom) - g.header_height), grid,
                                   grid_child_id(GRID_CHILD_ID), GetModuleHandleA(nullptr), nullptr);
        if (!g.client)
            return 0;
    }
    try {
        g.store = std::make_shared<std::vector<GridColumn>>(static_cast<size_t>(g.columns));
        g.templates = std::make_shared<std::vector<GridCellTemplate>>(static_cast<size_t>(g.columns));
        g.cells.assign(static_cast<size_t>(g.columns) * g.slots, nullptr);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    std::vector<std::string> titles;
    size_t next = 0;
    for (int k = 0; k < g.columns; ++k) {
        size_t position = map ? static_cast<size_t>(map[k] - 1) : next++;
        if (position >= controls.size())
            return 0;
        HWND t = controls[position];
        if (!read_template(grid, g, t, g.col()[k], (*g.templates)[k]))
            return 0;
        char title[256] = {};
        GetWindowTextA(t, title, sizeof title);
        titles.push_back(title);
    }
    if (!grid_create_slots(grid, g, 0, g.slots))
        return 0;
    insert_header_items(g, titles);
    return 1;
}

// Each cell is made from its column's template, with its field record, up-down range and options.
bool grid_create_slots(HWND grid, GridRecord& g, int first, int last)
{
    HFONT font = grid_parent_font(grid);
    bool ok = true;
    for (int k = 0; k < g.columns; ++k) {
        const GridCellTemplate& t = (*g.templates)[k];
        const int left = grid_column_offset(g, k) - grid_column_offset(g, g.first_column);
        for (int s = first; s < last; ++s) {
            const std::string text(g.col()[k].kind == GRID_CHECK ? CHECK_BOX_BLANKS : 0, ' ');
            HWND c = CreateWindowExA(t.ex_style, t.class_name.c_str(), text.c_str(), t.style, left,
                                     s * (g.cell_height - 1), g.col()[k].width,
                                     t.height ? t.height : g.cell_height, g.client,
                                     grid_child_id(GRID_CHILD_ID), GetModuleHandleA(nullptr), nullptr);
            g.cells[static_cast<size_t>(k) * g.slots + s] = c;
            if (!c) {
                ok = false;
                continue;
            }
            SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            if (t.text_limit > 0)
                SendMessageA(c, EM_LIMITTEXT, t.text_limit, 0);
            FieldRecord& r = make_field_record(c);
            r.value = 0.0;
            r.minimum = t.minimum;
            r.maximum = t.maximum;
            r.small_step = t.small_step;
            r.large_step = t.large_step;
            r.max_length = t.max_length;
            r.format = t.format;
            r.foreground = r.background = -1;
            r.defined = 0;
            if (r.spin) {
                SendMessageA(r.spin, UDM_SETRANGE32, static_cast<WPARAM>(t.spin_low), t.spin_high);
                SetWindowPos(r.spin, c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                grid_subclass(r.spin, WGridBuddyWndProc);
                ShowWindow(r.spin, s < g.rows ? SW_SHOWNOACTIVATE : SW_HIDE);
            }
            for (const std::string& o : t.options)
                SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(o.c_str()));
            if (g.col()[k].kind == GRID_MENU)
                SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(t.selection), 0);
            r.base_proc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WGridCellWndProc)));
            if (s < g.rows)
                ShowWindow(c, SW_SHOWNOACTIVATE);
        }
    }
    return ok;
}

// The cells of the slots kept move to the new, shorter stride.
void grid_destroy_slots(GridRecord& g, int first)
{
    if (first >= g.slots)
        return;
    std::vector<HWND> cells(static_cast<size_t>(g.columns) * first, nullptr);
    for (int k = 0; k < g.columns; ++k) {
        for (int s = 0; s < g.slots; ++s) {
            HWND c = g.cell(k, s);
            if (s < first) {
                cells[static_cast<size_t>(k) * first + s] = c;
                continue;
            }
            FieldRecord* r = c ? field_record(c) : nullptr;
            if (r && r->spin)
                DestroyWindow(r->spin);
            if (c)
                DestroyWindow(c);
        }
    }
    g.cells = std::move(cells);
    g.slots = first;
}
