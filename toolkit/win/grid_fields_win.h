// What the dialog layer needs of grid fields. The grid control lives in a layer above (toolkit/grid);
// it fills these hooks when it registers its window classes, and the dialog layer calls through them.
#ifndef QR4T_TOOLKIT_WIN_GRID_FIELDS_WIN_H
#define QR4T_TOOLKIT_WIN_GRID_FIELDS_WIN_H

#include <windows.h>

#include <cstddef>
#include <vector>

// Grid window style bits that the dialog layer sets: cells read-only; Enter moves down a column; Tab
// moves from cell to cell.
constexpr LONG GS_READ_ONLY = 0x0800;
constexpr LONG GS_ENTER_DOWN = 0x1000;
constexpr LONG GS_TAB_CELLS = 0x4000;

// WGridFieldData: the part of a grid field that the field-state routine touches.
struct WGridFieldData {
    int columns = 0;
    int rows_shown = 0;
    std::vector<int> kinds;                // per column, GridCellKind
    std::vector<unsigned char> read_only;  // per column and shown row (column-major): bit 0 read-only
    std::vector<HWND> cells;               // per column and shown row (column-major)
};

struct GridFieldHooks {
    ATOM grid_class = 0;   // class atom of "ZAVAZER": how the dialog layer knows a grid field
    UINT cell_change = 0;  // the registered message "GM_CELLCHANGE"
    // Sets a grid up from the text of its "[Grids]" line; returns the characters consumed.
    size_t (*from_resource)(HWND grid, const char* text, size_t length) = nullptr;
    void (*copy)(HWND target, HWND source, int share) = nullptr;
    void (*clear)(HWND grid, int menu_flag) = nullptr;
    void (*edit_state)(HWND cell, int kind, int read_only, int redraw) = nullptr;
    bool (*field_data)(HWND grid, WGridFieldData& data) = nullptr;
};

extern GridFieldHooks GRID_FIELD_HOOKS;

// Set while the grid moves the focus between its own cells: numeric fields are then not checked on
// losing the focus.
extern int WGridEditing;

bool is_grid_field(HWND field);

#endif
