// The grid control's window side: the record of a grid window, its messages and the routines that the
// grid's files share. A grid is a dialog field of class "ZAVAZER" holding a client window of class
// "ZUVUDIDUZOZER"; only the rows on screen (the row slots) have cell controls, and the contents of all
// rows live in the storage of grid_storage.h.
#ifndef QR4T_TOOLKIT_GRID_GRID_WIN_H
#define QR4T_TOOLKIT_GRID_GRID_WIN_H

#include "toolkit/grid/grid_storage.h"
#include "toolkit/win/grid_fields_win.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

constexpr UINT GM_SETCOLUMNS = WM_USER + 1;    // wParam template dialog, lParam column map (1-based) or 0
constexpr UINT GM_SETROWLABELS = WM_USER + 2;  // wParam row-label width (dialog units), lParam text
constexpr UINT GM_LAYOUT = WM_USER + 3;
constexpr UINT GM_SETSIZE = WM_USER + 4;  // wParam rows, lParam columns
constexpr UINT GM_LOCK = WM_USER + 5;

// The grid's client window class, and the id of the children that are not row labels.
inline constexpr char GRID_CLIENT_CLASS[] = "ZUVUDIDUZOZER";
constexpr int GRID_CHILD_ID = -1;

// Grid window style bits (low word of the "ZAVAZER" control's style).
constexpr LONG GS_REPORT_BLOCK = 0x0040;
constexpr LONG GS_NO_LABEL_TEXT = 0x0080;
constexpr LONG GS_KEEP_HEIGHT = 0x0100;
constexpr LONG GS_HEADER = 0x0200;
constexpr LONG GS_ROW_LABELS = 0x0400;
// GS_READ_ONLY, GS_ENTER_DOWN and GS_TAB_CELLS: grid_fields_win.h (the dialog layer sets them too).
constexpr LONG GS_WRAP = 0x8000;

// What a column's cells are made from: the template control, kept so that new slots are made alike.
struct GridCellTemplate {
    std::string class_name;  // the template control's class
    DWORD style = 0;         // cell style (border added, visible removed)
    DWORD ex_style = 0;
    int height = 0;      // menus: the height of the dropped-down list, else 0
    int text_limit = 0;  // 0: the control's own limit
    double minimum = 1000.0, maximum = -1000.0, small_step = 1.0, large_step = 5.0;
    int max_length = 0;
    std::string format;
    bool spin = false;
    int spin_low = -100, spin_high = 100;
    std::vector<std::string> options;  // menu cells
    int selection = -1;                // menu cells: the template's selection
};

// GridRecord: one per grid window, freed with it. Fields 1..32 in order.
struct GridRecord {
    int setup = 0;                                   // 1: set-up complete
    int columns = 0;                                 // 2
    int h_limit = 0;                                 // 3: largest first visible column
    int capacity = 0;                                // 4: rows with storage
    int setup_columns = 0;                           // 5: columns given at set-up
    int rows = 0;                                    // 6: rows in use
    int rows_fit = 0;                                // 7: whole rows in the client area
    int slots = 0;                                   // 8: row slots
    int cell_height = 0;                             // 9: pixels; rows at a pitch of one less
    int current_column = 0;                          // 10
    int current_row = 0;                             // 11
    int first_column = 0;                            // 12
    int last_column = 0;                             // 13: last fully visible column
    int top_row = 0;                                 // 14: row shown in slot 0
    int label_width = 0;                             // 15: pixels, 0 without row labels
    int header_height = 0;                           // 16: pixels, 0 without a header bar
    int template_id = 0;                             // 17
    int block[4] = {-1, -1, -1, -1};                 // 18: first row, last row, first column, last column
    int scale = 1;                                   // 19: vertical scroll scale
    int pending_top = 0;                             // 20: top row of the next thumb-position scroll (0 none)
    int wheel = 0;                                   // 21: accumulated wheel delta
    std::shared_ptr<std::vector<GridColumn>> store;  // 22: column storage (shared by a sharing copy)
    HWND client = nullptr;                           // 23
    std::vector<HWND> cells;                         // 24: column-major, column k slot s at k * slots + s
    HWND header = nullptr;                           // 25
    std::vector<HWND> label_windows;                 // 26: one per slot
    HWND context_cell = nullptr;                     // 27
    std::shared_ptr<std::vector<std::string>> labels;  // 28: one per row in use, at most 50 characters
    HWND open_menu = nullptr;                          // 29
    int changed_since_saved = 0;                       // 30
    int changed = 0;                                   // 31
    int locked = 0;                                    // 32
    std::shared_ptr<std::vector<GridCellTemplate>> templates;  // per column: how its cells are made
    int loading = 0;  // the slots are being filled: cell changes are not edits

    std::vector<GridColumn>& col() { return *store; }
    HWND cell(int column, int slot) const { return cells[static_cast<size_t>(column) * slots + slot]; }
};

// The registered message "GM_CELLCHANGE" and the re-notify flag of the process.
extern UINT GM_CELLCHANGE;
extern int GRID_RENOTIFY;

GridRecord* grid_record(HWND grid);
// The grid a field id names (0: the current window's stand-alone grid); null and -1 in the field id
// when there is none.
HWND grid_field_window(int& field);
// Exchanges two rows (0-based, inside the rows in use) of every column, with their labels for a
// label flag other than 0 (WGridSwapRows after its checks).
void grid_swap_rows(HWND grid, GridRecord& g, int row_a, int row_b, int label_flag);
// The window text of a control.
std::string grid_window_text(HWND window);
// Creates the row-label window of a slot (shown when its row exists); false when it fails.
bool grid_create_label_window(HWND grid, GridRecord& g, int slot);
// The grid window that holds a cell control (cell -> client -> grid), or null.
HWND grid_of_cell(HWND cell);
// Column and slot of a cell control of a grid; false when it is none of its cells.
bool grid_cell_position(const GridRecord& g, HWND cell, int& column, int& slot);
// The number format of a column: its slot-0 cell's, "(G15.5E2)" when it has none.
std::string grid_column_format(const GridRecord& g, int column);
// Sends "GM_CELLCHANGE" for the current cell to the grid's parent.
void grid_notify(HWND grid);
bool grid_focus_inside(HWND grid);

// Window procedures and the class registration.
void WGridRegister();
LRESULT CALLBACK WGridWndProc(HWND grid, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK WGridClientWndProc(HWND client, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK WGridCellWndProc(HWND cell, UINT msg, WPARAM wp, LPARAM lp);
// Up-down controls of spin cells (a Shift+click goes to the edit cell) and header and row-label windows
// (always the arrow cursor); while the grid is locked both let the mouse pass.
LRESULT CALLBACK WGridBuddyWndProc(HWND buddy, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK WGridHeaderWndProc(HWND header, UINT msg, WPARAM wp, LPARAM lp);
void grid_subclass(HWND window, WNDPROC procedure);
INT_PTR CALLBACK WGridTemplateDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

// Makes a cell current; with `focus` the grid takes the focus (which scrolls the cell into view).
void WGridSetCurrent(HWND grid, int column, int row, int focus);
// A rectangle from dialog units to pixels with the font of the window.
void WGridDlgUnits(HWND window, RECT& rect);
// Slot controls to storage, and storage to slot controls.
void WGridSaveVisible(GridRecord& g);
void WGridLoadVisible(GridRecord& g);
// One cell of a slot to storage, or from storage (with the column's format); one slot's row label.
void grid_save_cell(GridRecord& g, int column, int slot);
void grid_load_cell(GridRecord& g, int column, int slot, const std::string& format);
void grid_load_label(GridRecord& g, int slot);
// Moves every cell control to its column's place for the first visible column.
void grid_place_cells(GridRecord& g);
// The cell control of a row on screen (top row <= row < top row + slots), else null.
HWND grid_cell_on_screen(const GridRecord& g, int column, int row);
void grid_layout(HWND grid, GridRecord& g);
// -3 when the column's range (its slot-0 cell's) is active and the value lies outside it, else 0.
int WGridRangeTest(const GridRecord& g, int column, double value);

// Block selection.
void WGridSelectBlock(HWND grid, int first_row, int last_row, int first_column, int last_column);
void WGridClearBlock(HWND grid);
int WGridBlockRect(HWND grid, RECT& rect);

// Blocks and the clipboard: the permissions of cut (0 for a read-only grid or a read-only row in a
// block column) and of a block paste at the current cell, copy (1, or 0 after the failure box),
// paste, delete, cut (copy, then delete when the copy worked); the clipboard state (0 no text, 1 a
// single value, 2 a block).
int WGridCanCutBlock(HWND grid);
int WGridCanPaste(HWND grid);
int WGridCopyBlock(HWND grid);
void WGridPaste(HWND grid);
void WGridDeleteBlock(HWND grid);
void WGridCutBlock(HWND grid);
int grid_clipboard_state(HWND owner);
// A cell that the user may change (neither its edit nor the grid read-only); an edit cell's text
// selection is not empty.
bool grid_cell_writable(HWND grid, HWND cell);
bool grid_cell_has_selection(HWND cell);
// The context menu of a cell (or of the client, cell null) at a screen position, and the commands
// 32122-32125 (block) and 32221-32226 (the context cell's edit) of the grid window.
void grid_context_menu(HWND grid, HWND cell, int x, int y);
// The items of that menu, enabled by the state of the cell, the block and the clipboard.
HMENU grid_context_menu_items(HWND grid, HWND cell);
void grid_command(HWND grid, int id);

// Set-up, copy, clear and cell state, called by the dialog layer through its grid hooks.
size_t WGridFromResource(HWND grid, const char* text, size_t length);
void WGridCopy(HWND target, HWND source, int share);
void WGridClear(HWND grid, int menu_flag);
void WGridEditState(HWND cell, int kind, int read_only, int redraw);
void WGridResizeRows(HWND grid, int rows);
// Empties a cell control (a menu cell: its options too with menu flag 1, else its first option).
void grid_empty_control(HWND cell, int kind, int menu_flag);
// Creates the template dialog of a grid (owned by the main window, never shown).
HWND grid_create_template(int id);
// The columns, shown rows, kinds, read-only bits and cell controls of a grid field.
bool grid_field_data(HWND grid, WGridFieldData& data);

// Vertical scroll by a scroll-bar code (SB_...); thumb positions in scroll-bar units.
void grid_vscroll(HWND grid, int code, int position);
void grid_hscroll(HWND grid, int code, int position);

// Creates the cell controls of slots first..last-1 of every column; false when one fails.
bool grid_create_slots(HWND grid, GridRecord& g, int first, int last);
// Destroys the cell controls (and their up-down controls) of slots first..slots-1.
void grid_destroy_slots(GridRecord& g, int first);
// The column set-up messages: row labels (GM_SETROWLABELS: characters of the text used, -1 on failure)
// and columns (GM_SETCOLUMNS: 1 when every column and cell control was made).
LRESULT grid_set_row_labels(HWND grid, GridRecord& g, int width_units, std::string_view text);
LRESULT grid_set_columns(HWND grid, GridRecord& g, HWND dialog, const int* map);
// What the grid's files share: a child-window id, the parent's font, the client window's width and a
// column's left edge from column 0 (widths less one pixel each).
HMENU grid_child_id(int id);
HFONT grid_parent_font(HWND grid);
int grid_client_width(const GridRecord& g);
int grid_column_offset(GridRecord& g, int column);
// Counts the windows of the system (top-level windows and their children).
int grid_system_window_count();

#endif
