// The stand-alone grid window: a child window of the toolkit turned into a small spreadsheet editor
// around a copy of a dialog's grid field, with File, Edit and Search menus, accelerators, a toolbar, a
// status bar with the current row and column and one-line menu help, and a title naming the file.
#include "toolkit/grid/grid_window.h"

#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

GridWindowKept GRID_WINDOW_KEPT;

namespace {

constexpr int GRID_ID = 1001, TOOLBAR_ID = 1002, GRID_STATUS_ID = 1003;  // child ids in the frame
constexpr int FILE_LENGTH = 260, TEXT_LENGTH = 1024, FILTER_LENGTH = 1000;

enum Command {
    CMD_NEW = 32101,
    CMD_OPEN = 32102,
    CMD_SAVE = 32103,
    CMD_SAVE_AS = 32104,
    CMD_EXIT = 32107,
    CMD_CUT = 32122,
    CMD_COPY = 32123,
    CMD_PASTE = 32124,
    CMD_DELETE = 32125,
    CMD_SELECT_ALL = 32126,
    CMD_SORT = 32127,
    CMD_FIND = 32141,
    CMD_FIND_NEXT = 32142,
    CMD_GOTO_CELL = 32144,
    CMD_GOTO_ROW = 32145,
    CMD_GOTO_COLUMN = 32146,
};

// The stand-alone grid's record of a frame window; null for any other window.
GridWinRecord* grid_window_record(HWND frame)
{
    WinRecord* r = win_record(frame);
    return r && r->kind == RECORD_GRID ? static_cast<GridWinRecord*>(r) : nullptr;
}

// The status bar's one-line help for a menu command.
const char* help_text(UINT id)
{
    switch (id) {
    case CMD_NEW: return "Clears the grid";
    case CMD_OPEN: return "Loads an existing grid";
    case CMD_SAVE: return "Saves the grid";
    case CMD_SAVE_AS: return "Saves the grid with a new name";
    case CMD_EXIT: return "Closes the grid; prompts you to save changes";
    case CMD_CUT: return "Cuts the selected cells and places them on the clipboard";
    case CMD_COPY: return "Copies the selected cells and places them on the clipboard";
    case CMD_PASTE: return "Inserts clipboard contents";
    case CMD_DELETE: return "Clears the selected cells";
    case CMD_SELECT_ALL: return "Selects the entire grid";
    case CMD_SORT: return "Sorts the rows of the grid";
    case CMD_FIND: return "Finds the specified string value";
    case CMD_FIND_NEXT: return "Repeats the last find";
    case CMD_GOTO_CELL: return "Moves to the specified cell";
    case CMD_GOTO_ROW: return "Moves to the specified row";
    case CMD_GOTO_COLUMN: return "Moves to the specified column";
    default: return "";
    }
}

// The status bar's help for one of the three popups; empty for the program's own.
const char* popup_help(HMENU popup, const GridWinRecord& r)
{
    if (popup == r.file_menu)
        return "Commands to Load and Save files";
    if (popup == r.edit_menu)
        return "Commands for Editing and Sorting cells";
    if (popup == r.search_menu)
        return "Commands for Searching and Navigation";
    return "";
}

// The menus and accelerators of the allowed commands; the hints after the TAB only with accelerators.
void build_menus(GridWinRecord& r)
{
    std::vector<ACCEL> keys;
    auto key = [&](bool allowed, BYTE virt, WORD vk, WORD id) {
        if (allowed)
            keys.push_back({static_cast<BYTE>(virt | FVIRTKEY), vk, id});
    };
    key(r.allow_new, FCONTROL, 'N', CMD_NEW);
    key(r.allow_open, FCONTROL, 'O', CMD_OPEN);
    key(r.allow_save, FCONTROL, 'S', CMD_SAVE);
    key(r.allow_save_as, 0, VK_F12, CMD_SAVE_AS);
    key(r.allow_find, FCONTROL, 'F', CMD_FIND);
    key(r.allow_find, 0, VK_F3, CMD_FIND_NEXT);
    r.accelerators[0] =
        keys.empty() ? nullptr : CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
    const bool hints = r.accelerators[0] != nullptr;
    auto item = [&](HMENU m, bool allowed, UINT id, const char* with, const char* without) {
        if (allowed)
            AppendMenuA(m, MF_STRING, id, hints ? with : without);
    };
    r.file_menu = CreatePopupMenu();
    item(r.file_menu, r.allow_new, CMD_NEW, "&New\tCtrl+N", "&New");
    item(r.file_menu, r.allow_open, CMD_OPEN, "&Open\tCtrl+O", "&Open");
    item(r.file_menu, r.allow_save, CMD_SAVE, "&Save\tCtrl+S", "&Save");
    item(r.file_menu, r.allow_save_as, CMD_SAVE_AS, "Save &As\tF12", "Save &As");
    if (r.allow_new || r.allow_open || r.allow_save || r.allow_save_as)
        AppendMenuA(r.file_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(r.file_menu, MF_STRING, CMD_EXIT, "E&xit");

    r.edit_menu = CreatePopupMenu();
    const bool writable = !r.read_only;
    item(r.edit_menu, writable, CMD_CUT, "Cu&t\tCtrl+X", "Cu&t\tCtrl+X");
    item(r.edit_menu, true, CMD_COPY, "&Copy\tCtrl+C", "&Copy\tCtrl+C");
    item(r.edit_menu, writable, CMD_PASTE, "&Paste\tCtrl+V", "&Paste\tCtrl+V");
    item(r.edit_menu, writable, CMD_DELETE, "&Delete\tDel", "&Delete\tDel");
    AppendMenuA(r.edit_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(r.edit_menu, MF_STRING, CMD_SELECT_ALL, "Select &All");
    if (writable) {
        AppendMenuA(r.edit_menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(r.edit_menu, MF_STRING, CMD_SORT, "&Sort");
    }

    r.search_menu = CreatePopupMenu();
    item(r.search_menu, r.allow_find, CMD_FIND, "&Find\tCtrl+F", "&Find");
    item(r.search_menu, r.allow_find, CMD_FIND_NEXT, "Find &Next\tF3", "Find &Next");
    if (r.allow_find)
        AppendMenuA(r.search_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(r.search_menu, MF_STRING, CMD_GOTO_CELL, "&Goto Cell");
    AppendMenuA(r.search_menu, MF_STRING, CMD_GOTO_ROW, "Goto Ro&w");
    AppendMenuA(r.search_menu, MF_STRING, CMD_GOTO_COLUMN, "Goto &Column");

    if (!r.menu_bar)
        r.menu_bar = CreateMenu();
    InsertMenuA(r.menu_bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(r.search_menu),
                "&Search");
    InsertMenuA(r.menu_bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(r.edit_menu), "&Edit");
    InsertMenuA(r.menu_bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(r.file_menu), "&File");
}

// The toolbar's buttons follow the commands allowed; the images are the system's small standard ones.
void build_toolbar(HWND frame, GridWinRecord& r)
{
    r.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP,
                                0, 0, 0, 0, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(TOOLBAR_ID)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!r.toolbar)
        return;
    SendMessageA(r.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(r.toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 15));
    SendMessageA(r.toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(22, 21));
    TBADDBITMAP images = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageA(r.toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&images));
    std::vector<TBBUTTON> buttons;
    auto button = [&](int image, int id) {
        buttons.push_back({image, id, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0});
    };
    auto separator = [&] { buttons.push_back({0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0}); };
    if (r.allow_new)
        button(STD_FILENEW, CMD_NEW);
    if (r.allow_open)
        button(STD_FILEOPEN, CMD_OPEN);
    if (r.allow_save)
        button(STD_FILESAVE, CMD_SAVE);
    if (!buttons.empty())
        separator();
    if (r.allow_find) {
        button(STD_FIND, CMD_FIND);
        separator();
    }
    if (!r.read_only)
        button(STD_CUT, CMD_CUT);
    button(STD_COPY, CMD_COPY);
    if (!r.read_only)
        button(STD_PASTE, CMD_PASTE);
    SendMessageA(r.toolbar, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(r.toolbar, TB_AUTOSIZE, 0, 0);
    r.tooltip = reinterpret_cast<HWND>(SendMessageA(r.toolbar, TB_GETTOOLTIPS, 0, 0));
}

// Four parts: "Row", the row number, "Column", the column number.
void build_status_bar(HWND frame, GridWinRecord& r)
{
    r.grid_status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(GRID_STATUS_ID)),
                                    GetModuleHandleA(nullptr), nullptr);
    if (!r.grid_status)
        return;
    int ends[4] = {30, 90, 140, 200};
    SendMessageA(r.grid_status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(ends));
    SendMessageA(r.grid_status, SB_SETTEXTA, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("Row"));
    SendMessageA(r.grid_status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("\t\t1"));
    SendMessageA(r.grid_status, SB_SETTEXTA, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("\tColumn"));
    SendMessageA(r.grid_status, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>("\t\t1"));
}

// Row (low 18 bits of the cell code) and column (the bits above) into the status bar.
void show_cell_code(const GridWinRecord& r, int code)
{
    if (!r.grid_status)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "\t\t%u", static_cast<unsigned>(code & GRID_MAX_ROWS));
    SendMessageA(r.grid_status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    std::snprintf(text, sizeof text, "\t\t%u", static_cast<unsigned>(code >> 18));
    SendMessageA(r.grid_status, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>(text));
}

// Height and width of a bar; 0 when it is absent or hidden.
int height_of(HWND w)
{
    RECT r = {};
    if (w && IsWindowVisible(w))
        GetWindowRect(w, &r);
    return r.bottom - r.top;
}

int width_of(HWND w)
{
    RECT r = {};
    if (w && IsWindowVisible(w))
        GetWindowRect(w, &r);
    return r.right - r.left;
}

// The bars stretched across the window and the grid filling the rest.
void lay_out(HWND frame, GridWinRecord& r)
{
    RECT c;
    GetClientRect(frame, &c);
    if (r.grid_status)
        SendMessageA(r.grid_status, WM_SIZE, 0, 0);
    if (r.toolbar)
        SendMessageA(r.toolbar, TB_AUTOSIZE, 0, 0);
    int top = height_of(r.toolbar), bottom = c.bottom - height_of(r.grid_status);
    if (HWND bar = r.toolbars[0]) {
        SetWindowPos(bar, nullptr, 0, top, c.right, height_of(bar), SWP_NOZORDER | SWP_NOACTIVATE);
        top += height_of(bar);
    }
    if (HWND bar = r.toolbars[3]) {
        bottom -= height_of(bar);
        SetWindowPos(bar, nullptr, 0, bottom, c.right, height_of(bar), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int left = 0, right = c.right;
    if (HWND bar = r.toolbars[1]) {
        SetWindowPos(bar, nullptr, 0, top, width_of(bar), bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
        left = width_of(bar);
    }
    if (HWND bar = r.toolbars[2]) {
        right -= width_of(bar);
        SetWindowPos(bar, nullptr, right, top, width_of(bar), bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(r.inner, nullptr, left, top, std::max(1, right - left), std::max(1, bottom - top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The frame size that shows the whole grid: columns, row labels, rows in use, header, bars, frame,
// menu and scroll bars.
SIZE full_extent(HWND frame, GridWinRecord& r)
{
    GridRecord* g = grid_record(r.inner);
    int width = 1 + (g ? g->label_width : 0), height = 1;
    if (g) {
        for (const GridColumn& c : g->col())
            width += c.width - 1;
        height += g->rows * (g->cell_height - 1) + g->header_height;
    }
    height +=
        height_of(r.grid_status) + height_of(r.toolbar) + height_of(r.toolbars[0]) + height_of(r.toolbars[3]);
    width += width_of(r.toolbars[1]) + width_of(r.toolbars[2]);
    RECT want = {0, 0, width, height};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)), GetMenu(frame) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)));
    // The grid's client edge and its scroll bars.
    return {want.right - want.left + 4 + GetSystemMetrics(SM_CXVSCROLL),
            want.bottom - want.top + 4 + GetSystemMetrics(SM_CYHSCROLL)};
}

HWND edit_cell_of(GridWinRecord& r)
{
    GridRecord* g = grid_record(r.inner);
    return g ? WGridEdEditCell(*g) : nullptr;
}

// Enables Find Next, Cut, Copy, Delete and Paste by the find text, block, selection and clipboard.
void update_menus(GridWinRecord& r, HMENU popup)
{
    auto enable = [&](UINT id, bool on) {
        EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    GridRecord* g = grid_record(r.inner);
    if (!g)
        return;
    enable(CMD_FIND_NEXT, !r.find_text.empty());
    HWND cell = edit_cell_of(r);
    const bool block = g->block[0] >= 0;
    const bool writable_cell = cell && grid_cell_writable(r.inner, cell);
    const bool selection = cell && grid_cell_has_selection(cell);
    enable(CMD_CUT, block ? WGridCanCutBlock(r.inner) != 0 : selection && writable_cell);
    enable(CMD_DELETE, block ? WGridCanCutBlock(r.inner) != 0 : selection && writable_cell);
    enable(CMD_COPY, block || selection);
    const int state = grid_clipboard_state(r.inner);
    enable(CMD_PASTE, state == 2 ? WGridCanPaste(r.inner) != 0 : state == 1 && writable_cell);
}

// Clears both change flags of the window's grid.
void clear_changes(GridWinRecord& r)
{
    if (GridRecord* g = grid_record(r.inner))
        g->changed_since_saved = g->changed = 0;
}

int window_number(HWND frame)
{
    return WWinFromHandle(frame);
}

// A menu or toolbar command of the window; other ids go to the program as a menu event.
void command(HWND frame, GridWinRecord& r, int id)
{
    const int n = window_number(frame);
    GridRecord* g = grid_record(r.inner);
    const int modified = g && g->changed_since_saved ? 1 : 0;
    int ok = 0;
    switch (id) {
    case CMD_NEW:
        ok = 1;
        if (r.allow_save)
            WGridEdQuerySave(n, modified, ok, r.file_name, r.filter);
        if (ok) {
            WGridClear(r.inner, 0);
            r.file_name.clear();
            clear_changes(r);
            WGridEdTitle(frame);
        }
        return;
    case CMD_OPEN:
        ok = 1;
        if (r.allow_save)
            WGridEdQuerySave(n, modified, ok, r.file_name, r.filter);
        if (ok) {
            WGridEdLoad(n, 1, ok, r.file_name, r.filter);
            if (ok)
                clear_changes(r);
            WGridEdTitle(frame);
        }
        return;
    case CMD_SAVE:
    case CMD_SAVE_AS:
        WGridEdSave(n, id == CMD_SAVE_AS ? 1 : 0, ok, r.file_name, r.filter);
        if (ok)
            clear_changes(r);
        WGridEdTitle(frame);
        return;
    case CMD_EXIT: SendMessageA(frame, WM_CLOSE, 0, 0); return;
    case CMD_CUT:
    case CMD_COPY:
    case CMD_PASTE:
    case CMD_DELETE: {
        HWND cell = edit_cell_of(r);
        if (g && g->block[0] < 0 && cell) {
            const UINT msg = id == CMD_CUT     ? WM_CUT
                             : id == CMD_COPY  ? WM_COPY
                             : id == CMD_PASTE ? WM_PASTE
                                               : WM_CLEAR;
            SendMessageA(cell, msg, 0, 0);
        } else if (id == CMD_PASTE) {
            WGridPaste(r.inner);
        } else {
            grid_command(r.inner, id);
        }
        return;
    }
    case CMD_SELECT_ALL:
        if (g && g->rows > 0)
            WGridSelectBlock(r.inner, 0, g->rows - 1, 0, g->columns - 1);
        return;
    case CMD_SORT: WGridEdSort(n, 1, ok); return;
    case CMD_FIND:
    case CMD_FIND_NEXT: WGridEdFind(n, id == CMD_FIND ? 1 : 0, r.match_case, r.find_text); return;
    case CMD_GOTO_CELL: WGridEdGoto(n, 1); return;
    case CMD_GOTO_ROW: WGridEdGoto(n, 2); return;
    case CMD_GOTO_COLUMN: WGridEdGoto(n, 3); return;
    default: WWinFrameProc(frame, WM_COMMAND, static_cast<WPARAM>(id), 0); return;
    }
}

// The frame of a stand-alone grid: commands, menu help, sizing, closing and destruction.
LRESULT CALLBACK grid_frame_proc(HWND frame, UINT msg, WPARAM wp, LPARAM lp)
{
    GridWinRecord* r = grid_window_record(frame);
    if (!r)
        return WWinFrameProc(frame, msg, wp, lp);
    if (GM_CELLCHANGE && msg == GM_CELLCHANGE) {
        if (r->mode != 1)
            show_cell_code(*r, static_cast<int>(lp));
        return 0;
    }
    switch (msg) {
    case WM_COMMAND:
        if (lp && reinterpret_cast<HWND>(lp) != r->toolbar)
            break;
        command(frame, *r, LOWORD(wp));
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(r->font);
    case WM_NOTIFY: {
        auto* n = reinterpret_cast<NMHDR*>(lp);
        if (n->code == TTN_GETDISPINFOA) {
            auto* t = reinterpret_cast<NMTTDISPINFOA*>(lp);
            switch (n->idFrom) {
            case CMD_NEW: t->lpszText = const_cast<char*>("New"); break;
            case CMD_OPEN: t->lpszText = const_cast<char*>("Open"); break;
            case CMD_SAVE: t->lpszText = const_cast<char*>("Save"); break;
            case CMD_FIND: t->lpszText = const_cast<char*>("Find"); break;
            case CMD_CUT: t->lpszText = const_cast<char*>("Cut"); break;
            case CMD_COPY: t->lpszText = const_cast<char*>("Copy"); break;
            case CMD_PASTE: t->lpszText = const_cast<char*>("Paste"); break;
            default: break;
            }
            return 0;
        }
        break;
    }
    case WM_INITMENUPOPUP: update_menus(*r, reinterpret_cast<HMENU>(wp)); return 0;
    case WM_MENUSELECT: {
        if (!r->grid_status)
            break;
        const UINT flags = HIWORD(wp);
        if (flags == 0xFFFF && !lp) {  // the menu closed
            SendMessageA(r->grid_status, SB_SIMPLE, FALSE, 0);
            return 0;
        }
        const char* text = (flags & MF_POPUP)
                               ? popup_help(GetSubMenu(reinterpret_cast<HMENU>(lp), LOWORD(wp)), *r)
                               : help_text(LOWORD(wp));
        SendMessageA(r->grid_status, SB_SIMPLE, TRUE, 0);
        SendMessageA(r->grid_status, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
        return 0;
    }
    case WM_ENTERSIZEMOVE: r->sizing = 1; break;
    case WM_EXITSIZEMOVE:
        r->sizing = 0;
        lay_out(frame, *r);
        break;
    case WM_SIZE: {
        LRESULT result = WWinFrameProc(frame, msg, wp, lp);
        if (!r->sizing)  // while the user drags, one size is applied when the move ends
            lay_out(frame, *r);
        return result;
    }
    case WM_GETMINMAXINFO: {
        SIZE full = full_extent(frame, *r);
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMaxTrackSize.x = std::min<LONG>(info->ptMaxTrackSize.x, full.cx);
        info->ptMaxTrackSize.y = std::min<LONG>(info->ptMaxTrackSize.y, full.cy);
        return 0;
    }
    case WM_SETFOCUS: SetFocus(r->inner); return 0;
    case WM_MOUSEACTIVATE:
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return MA_ACTIVATE;
    case WM_CLOSE: {
        if (r->allow_save) {
            GridRecord* g = grid_record(r->inner);
            int proceed = 1;
            WGridEdQuerySave(window_number(frame), g && g->changed_since_saved ? 1 : 0, proceed, r->file_name,
                             r->filter);
            if (!proceed)
                return 0;
        }
        if (r->mode == 1) {
            GridRecord* g = grid_record(r->inner);
            GRID_WINDOW_KEPT.changed_since_saved = g ? g->changed_since_saved : 0;
            GRID_WINDOW_KEPT.changed = g ? g->changed : 0;
            GRID_WINDOW_KEPT.find_text = r->find_text;
            GRID_WINDOW_KEPT.second_text = r->second_text;
            GRID_WINDOW_KEPT.file_name = r->file_name;
            r->done = 1;
            DestroyWindow(frame);
            return 0;
        }
        break;  // the program decides (a close request)
    }
    case WM_DESTROY: {
        for (HACCEL& a : r->accelerators)
            if (a) {
                DestroyAcceleratorTable(a);
                a = nullptr;
            }
        if (r->font)
            DeleteObject(r->font);
        r->font = nullptr;
        const int n = window_number(frame);
        SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
        if (r->mode == 3) {  // a semi-modal window gives the others back
            if (DIALOG_TABLE.semi_modeless > 0)
                --DIALOG_TABLE.semi_modeless;
            WWinEnableOthers(nullptr, true);
        }
        if (r->mode == 1) {
            if (n > 0) {
                if (WIN_CURRENT.window == n && WIN_CURRENT.dc) {
                    ReleaseDC(WIN_TABLE.slot[n].client, WIN_CURRENT.dc);
                    WIN_CURRENT.dc = nullptr;
                }
                WIN_TABLE.slot[n] = WinSlot{};
                if (WIN_CURRENT.window == n)
                    WWinMakeCurrent(0, true);
            }
        } else {
            delete r;  // a modal window's record is freed by its loop
        }
        return DefWindowProcA(frame, msg, wp, lp);
    }
    default: break;
    }
    return WWinFrameProc(frame, msg, wp, lp);
}

// A toolkit window that is a child of this window's frame or owned by it.
bool has_child_windows(int n)
{
    HWND frame = WIN_TABLE.slot[n].frame;
    for (int c = 1; c < WIN_SLOTS; ++c) {
        HWND w = WIN_TABLE.slot[c].frame;
        if (c != n && w && (IsChild(frame, w) || GetWindow(w, GW_OWNER) == frame))
            return true;
    }
    return false;
}

}  // namespace

HWND WGridEdEditCell(GridRecord& g)
{
    if (g.rows <= 0 || g.columns <= 0 || g.col()[g.current_column].kind > GRID_DOUBLE)
        return nullptr;
    return grid_cell_on_screen(g, g.current_column, g.current_row);
}

void WGridEdTitle(HWND frame)
{
    GridWinRecord* r = grid_window_record(frame);
    if (!r)
        return;
    std::string text = r->title;
    if (!r->file_name.empty())
        text += " - [" + r->file_name + "]";
    SetWindowTextA(frame, text.c_str());
}

// Each side takes the grid's full extent only where that is smaller than the window now.
void WGridEdFit(GridWinRecord& r)
{
    HWND frame = WIN_TABLE.slot[r.slot].frame;
    SIZE want = full_extent(frame, r);
    RECT now;
    GetWindowRect(frame, &now);
    const int w = now.right - now.left, h = now.bottom - now.top;
    const bool width_fits = want.cx <= w, height_fits = want.cy <= h;
    if (!width_fits && !height_fits)
        return;
    SetWindowPos(frame, nullptr, 0, 0, width_fits ? want.cx : w, height_fits ? want.cy : h,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// What opening reads from the current window and dialog, once its checks have passed.
struct OpenSource {
    int slot = 0;           // the window number
    HWND dialog = nullptr;  // the current dialog
    HWND field = nullptr;   // its grid field
    GridRecord* grid = nullptr;
    bool child_style = false;  // the window is a child window (no menu bar, no modal run)
};

// The checks that refuse opening: the window, its children, the field and a menu for a child window.
GridOpenResult check_source(int field, int menu_id, OpenSource& src)
{
    src.slot = WIN_CURRENT.window;
    if (src.slot <= 0 || !WIN_TABLE.slot[src.slot].frame)
        return GRID_OPEN_MAIN_WINDOW;
    HWND frame = WIN_TABLE.slot[src.slot].frame;
    if (win_record(frame))
        return GRID_OPEN_ALREADY_SPECIAL;
    if (has_child_windows(src.slot))
        return GRID_OPEN_HAS_CHILD_WINDOWS;
    src.dialog = current_dialog_window();
    src.field = src.dialog ? GetDlgItem(src.dialog, field) : nullptr;
    src.grid = src.field ? grid_record(src.field) : nullptr;
    if (!src.grid || GetClassLongA(src.field, GCW_ATOM) != GRID_FIELD_HOOKS.grid_class)
        return GRID_OPEN_NOT_A_GRID;
    src.child_style = (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0;
    if (src.child_style && menu_id != 0)
        return GRID_OPEN_CHILD_WITH_MENU;
    return GRID_OPEN_DONE;
}

// The commands the options and a read-only field leave; Save As needs Save.
void set_permissions(GridWinRecord& r, int options, LONG field_style)
{
    r.read_only = (field_style & GS_READ_ONLY) != 0;
    r.allow_new = !(options & GRID_WINDOW_NO_NEW_OPEN) && !r.read_only;
    r.allow_open = !(options & GRID_WINDOW_NO_NEW_OPEN);
    r.allow_save = !(options & GRID_WINDOW_NO_SAVE) && !r.read_only;
    r.allow_save_as = r.allow_save && !(options & GRID_WINDOW_NO_SAVE_AS);
    r.allow_find = !(options & GRID_WINDOW_NO_FIND);
}

// The program's menu resource and its accelerators (not in a modal window).
GridOpenResult load_program_menu(GridWinRecord& r, int menu_id, int mode)
{
    if (menu_id == 0)
        return GRID_OPEN_DONE;
    if (mode == 1)
        return GRID_OPEN_MENU_IN_MODAL;
    r.menu_bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu_id));
    r.program_menu = r.menu_bar != nullptr;
    r.accelerators[1] = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu_id));
    return r.menu_bar ? GRID_OPEN_DONE : GRID_OPEN_MENU_NOT_LOADED;
}

// The menu bar (not on a child window, which has none), the toolbar and the status bar of the window.
void build_bars(WinSlot& s, GridWinRecord& r, bool child_style, int options)
{
    build_menus(r);
    HMENU old_menu = GetMenu(s.frame);
    if (!child_style) {
        SetMenu(s.frame, r.menu_bar);
        if (old_menu && old_menu != r.menu_bar)
            DestroyMenu(old_menu);
        s.menu = r.menu_bar;
    }
    if (!(options & GRID_WINDOW_NO_TOOLBAR))
        build_toolbar(s.frame, r);
    if (s.status_bar)
        ShowWindow(s.status_bar, SW_HIDE);
    build_status_bar(s.frame, r);
}

// The window's own font: the dialog font's metrics and face.
void copy_dialog_font(GridWinRecord& r, HWND dialog)
{
    LOGFONTA font = {};
    HFONT dialog_font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (dialog_font && GetObjectA(dialog_font, sizeof font, &font))
        r.font = CreateFontIndirectA(&font);
}

// Hands the frame to the grid window procedure and creates the grid in it, a copy of the field with the
// editor's Tab, Enter and height styles. When the grid cannot be made the frame gets its own procedure
// back and the record stays with the caller; true when the window now owns the record.
bool install_grid(HWND frame, GridWinRecord& r, const OpenSource& src)
{
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<WinRecord*>(&r)));
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(grid_frame_proc));
    const DWORD style = (static_cast<DWORD>(GetWindowLongA(src.field, GWL_STYLE)) & 0xFFFF) | GS_TAB_CELLS |
                        GS_ENTER_DOWN | GS_KEEP_HEIGHT | WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL;
    RECT c;
    GetClientRect(frame, &c);
    r.inner = CreateWindowExA(WS_EX_CLIENTEDGE, "ZAVAZER", "", style, 0, 0, c.right, c.bottom, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(GRID_ID)),
                              GetModuleHandleA(nullptr), nullptr);
    if (r.inner && grid_record(r.inner))
        return true;
    SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WWinFrameProc));
    if (r.inner)
        DestroyWindow(r.inner);
    r.inner = nullptr;
    return false;
}

// Copies the field's colours, counts, columns and cells into the window's grid, hides the window's
// own client area and fits the window to the grid.
void fill_from_field(WinSlot& s, GridWinRecord& r, const OpenSource& src)
{
    GridRecord& g = *grid_record(r.inner);
    if (FieldRecord* from = field_record(src.field)) {
        FieldRecord& to = make_field_record(r.inner);
        to.foreground = from->foreground;
        to.background = from->background;
    }
    g.rows = src.grid->rows;
    g.capacity = src.grid->capacity;
    g.columns = g.setup_columns = src.grid->columns;
    g.slots = src.grid->slots;
    WGridCopy(r.inner, src.field, 0);
    SendMessageA(r.inner, GM_LAYOUT, 0, 0);
    ShowWindow(s.client, SW_HIDE);
    lay_out(s.frame, r);
    WGridEdFit(r);
    lay_out(s.frame, r);
    WGridLoadVisible(g);
}

// Keeps the window's text as the title; loads a named file and, when it loaded, names it in the title.
void load_named_file(WinSlot& s, GridWinRecord& r, std::string_view file)
{
    r.title = grid_window_text(s.frame).substr(0, TEXT_LENGTH);
    r.file_name.clear();
    const std::string name(file.substr(0, std::min(file.find('\0'), static_cast<size_t>(FILE_LENGTH))));
    if (name.find_first_not_of(' ') == std::string::npos)
        return;
    std::string work = name;
    int loaded = 0;
    WGridEdLoad(r.slot, 0, loaded, work, r.filter);
    if (loaded) {
        r.file_name = work;
        WGridEdTitle(s.frame);
    }
}

}  // namespace

void WGridEdOpen(int& error, int field, int& mode, int menu_id, int options, std::string_view file,
                 std::string_view filter)
{
    OpenSource src;
    error = check_source(field, menu_id, src);
    if (error != GRID_OPEN_DONE)
        return;
    WinSlot& s = WIN_TABLE.slot[src.slot];
    if (mode < 1 || mode > 3)
        mode = 2;
    if (src.child_style && mode == 1) {
        mode = 2;
        error = GRID_OPEN_MODE_CHANGED;
    }
    std::unique_ptr<GridWinRecord> r(new (std::nothrow) GridWinRecord{});
    if (!r) {
        error = GRID_OPEN_NO_MEMORY;
        return;
    }
    r->kind = RECORD_GRID;
    r->slot = src.slot;
    r->mode = mode;
    set_permissions(*r, options, GetWindowLongA(src.field, GWL_STYLE));
    r->filter =
        std::string(filter.substr(0, std::min(filter.find('\0'), static_cast<size_t>(FILTER_LENGTH))));
    for (int i = 0; i < 4; ++i)
        r->toolbars[i] = s.toolbars[i];
    if (GridOpenResult menu = load_program_menu(*r, menu_id, mode); menu != GRID_OPEN_DONE)
        error = menu;
    build_bars(s, *r, src.child_style, options);
    copy_dialog_font(*r, src.dialog);
    if (!install_grid(s.frame, *r, src)) {
        error = GRID_OPEN_NO_MEMORY;
        return;  // the record is freed here
    }
    GridWinRecord& opened = *r.release();  // the window owns it now
    fill_from_field(s, opened, src);
    load_named_file(s, opened, file);

    SetFocus(opened.inner);
    if (mode == 3)
        ++DIALOG_TABLE.semi_modeless;
    EnableWindow(s.frame, TRUE);
    ShowWindow(s.frame, SW_SHOW);
    if (mode != 2)
        WWinDisableOthers(s.frame, true);
}

// Clears the change flags; in mode 1 pumps messages until the window is done, then frees the record.
void WGridEdModal()
{
    const int n = WIN_CURRENT.window;
    GridWinRecord* r = n > 0 ? grid_window_record(WIN_TABLE.slot[n].frame) : nullptr;
    if (!r)
        return;
    clear_changes(*r);
    if (r->mode != 1)
        return;
    HWND frame = WIN_TABLE.slot[n].frame;
    MSG msg;
    BOOL got = TRUE;
    while (!r->done && (got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        if (r->accelerators[0] && IsWindow(frame) && TranslateAcceleratorA(frame, r->accelerators[0], &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(frame))  // the loop ended without the window closing (a quit request)
        SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    if (got == 0)
        PostQuitMessage(static_cast<int>(msg.wParam));
    delete r;
    WWinEnableOthers(nullptr, true);
    HWND activate =
        DIALOG_TABLE.active && IsWindow(DIALOG_TABLE.active) ? DIALOG_TABLE.active : WIN_TABLE.slot[0].frame;
    if (activate) {
        SetActiveWindow(activate);
        SetFocus(activate);
    }
}

void WGridWindowText(int window, int option, std::string& text)
{
    if (window == -1) {
        text = option == 1   ? GRID_WINDOW_KEPT.find_text
               : option == 2 ? GRID_WINDOW_KEPT.second_text
               : option == 3 ? GRID_WINDOW_KEPT.file_name
                             : text;
        return;
    }
    GridWinRecord* r =
        window > 0 && window < WIN_SLOTS ? grid_window_record(WIN_TABLE.slot[window].frame) : nullptr;
    if (!r)
        return;
    text = option == 1 ? r->find_text : option == 2 ? r->second_text : option == 3 ? r->file_name : text;
}
