// The stand-alone grid window: the kind-4 window record, the texts kept from the last modal window, and
// the routines of the window (Win32 side).
#ifndef QR4T_TOOLKIT_GRID_GRID_WINDOW_H
#define QR4T_TOOLKIT_GRID_GRID_WINDOW_H

#include "toolkit/grid/grid_win.h"
#include "toolkit/win/window_table_win.h"

#include <string>
#include <string_view>

// The window record of a stand-alone grid window (kind 4): inner is the grid, toolbars the window's
// bars, accelerators[0] the built-in table and [1] the program's.
struct GridWinRecord : WinRecord {
    int slot = 0;            // the window number
    HWND toolbar = nullptr;  // the window's own toolbar (null when suppressed)
    HWND tooltip = nullptr;  // its tooltips
    HWND grid_status = nullptr;
    HMENU menu_bar = nullptr;  // built in code, or the program's menu with the three menus in front
    HMENU file_menu = nullptr;
    HMENU edit_menu = nullptr;
    HMENU search_menu = nullptr;
    bool program_menu = false;
    std::string file_name;    // empty when no file
    std::string title;        // the window's own title
    std::string find_text;    // the last text searched for
    std::string second_text;  // a second search text, kept for the program
    std::string filter;       // the file filter given at opening
    int match_case = 0;
    int done = 0;    // ends the modal loop
    int sizing = 0;  // the user is moving or sizing the window
    bool allow_new = true, allow_open = true, allow_save = true, allow_save_as = true, allow_find = true;
    bool read_only = false;
    HFONT font = nullptr;  // the dialog's font, for the grid and its cells
};

// What the last stand-alone window closed in modal mode leaves: its change flags (WGridInfo field id
// -2) and texts (WGridWindowText window -1).
struct GridWindowKept {
    int changed_since_saved = 0;
    int changed = 0;
    std::string find_text, second_text, file_name;
};
extern GridWindowKept GRID_WINDOW_KEPT;

// The results of WGridEdOpen in its error argument. Refusals leave the window as it was; after
// GRID_OPEN_MODE_CHANGED, GRID_OPEN_MENU_IN_MODAL and GRID_OPEN_MENU_NOT_LOADED the window opens.
enum GridOpenResult : int {
    GRID_OPEN_DONE = 0,
    GRID_OPEN_MAIN_WINDOW = 1,      // the current window is the main window
    GRID_OPEN_MENU_IN_MODAL = 2,    // a menu resource in mode 1 is ignored
    GRID_OPEN_MENU_NOT_LOADED = 3,  // the menu resource failed to load: an empty menu bar is used
    GRID_OPEN_CHILD_WITH_MENU = 4,  // a child-style window cannot take a menu resource
    GRID_OPEN_MODE_CHANGED = 5,     // a child-style window cannot run modally: the mode became 2
    GRID_OPEN_NO_MEMORY = 6,        // the record or the grid could not be made
    GRID_OPEN_ALREADY_SPECIAL = 8,  // the window is already a special window
    GRID_OPEN_NOT_A_GRID = 11,      // the field is not a grid
    GRID_OPEN_HAS_CHILD_WINDOWS = 12,
};

// The option bits of WGridEdOpen.
constexpr int GRID_WINDOW_NO_TOOLBAR = 0x0020;
constexpr int GRID_WINDOW_NO_NEW_OPEN = 0x0100;
constexpr int GRID_WINDOW_NO_SAVE_AS = 0x0200;
constexpr int GRID_WINDOW_NO_FIND = 0x1000;
constexpr int GRID_WINDOW_NO_SAVE = 0x2000;

// Opens the window in the current child window from the grid field `field` of the current dialog;
// `error` takes a GridOpenResult, `options` the GRID_WINDOW_... bits.
void WGridEdOpen(int& error, int field, int& mode, int menu_id, int options, std::string_view file,
                 std::string_view filter);
// Runs the current stand-alone window (mode 1: until it is closed).
void WGridEdModal();
// The window text: the title, then " - [" file "]" when a file is named.
void WGridEdTitle(HWND frame);
// Shrinks the window to the grid's full extent where it is larger.
void WGridEdFit(GridWinRecord& record);
// The current cell's control when it is a text or number cell.
HWND WGridEdEditCell(GridRecord& g);
// Option 1 the find text, 2 the second search text, 3 the file name; window -1: of the last modal one.
void WGridWindowText(int window, int option, std::string& text);

#endif
