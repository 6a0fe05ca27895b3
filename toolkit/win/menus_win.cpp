// Menus of the main and child windows: loading with item numbers, item states, texts, help strings,
// insertion and deletion, pop-up menus, accelerators and the menu help on the status bar.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/menu_resources.h"
#include "toolkit/win/menus.h"
#include "toolkit/win/menus_win.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

constexpr char MENU_STRINGS_TYPE[] = "DIRORUDODAVER";
constexpr int SIMPLE_PART = 255;  // the status bar's simple-mode part

// Per slot: the loaded help-string resource of its menu and the count of items with a help string.
struct MenuSlotData {
    const unsigned char* strings = nullptr;
    size_t strings_size = 0;
    int help_count = 0;
};

MenuSlotData menu_data[WIN_SLOTS];
// Help strings of a pop-up menu while it is tracked.
const unsigned char* popup_strings = nullptr;
size_t popup_strings_size = 0;

LPCSTR resource_id(int id)
{
    return MAKEINTRESOURCEA(static_cast<WORD>(id));
}

// A resource of the program as bytes, or null.
const unsigned char* resource_bytes(int id, LPCSTR type, size_t& size)
{
    size = 0;
    HRSRC r = FindResourceA(WIN_TABLE.instance, resource_id(id), type);
    if (!r)
        return nullptr;
    HGLOBAL g = LoadResource(WIN_TABLE.instance, r);
    if (!g)
        return nullptr;
    size = SizeofResource(WIN_TABLE.instance, r);
    return static_cast<const unsigned char*>(LockResource(g));
}

bool valid_slot(int n)
{
    return n >= 0 && n < WIN_SLOTS && WIN_TABLE.slot[n].frame;
}

// Finds the item with a command id in a menu tree: the menu holding it and its 0-based position.
bool find_item(HMENU menu, int id, HMENU& holder, int& position)
{
    if (!menu)
        return false;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && static_cast<int>(info.wID) == id &&
            id != 0) {
            holder = menu;
            position = i;
            return true;
        }
        if (sub && find_item(sub, id, holder, position))
            return true;
    }
    return false;
}

char* item_help(HMENU menu, int position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
        return nullptr;
    return reinterpret_cast<char*>(info.dwItemData);
}

void set_item_help(HMENU menu, int position, char* text)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(text);
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

// Frees the help strings of a menu tree; returns how many there were.
int free_help(HMENU menu)
{
    int freed = 0;
    if (!menu)
        return 0;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (char* text = item_help(menu, i)) {
            delete[] text;
            set_item_help(menu, i, nullptr);
            ++freed;
        }
        freed += free_help(GetSubMenu(menu, i));
    }
    return freed;
}

// Sets the command ids of a menu from its item-number list.
void WMenuIdsFromResource(HMENU bar, int id)
{
    size_t size = 0;
    const unsigned char* data = resource_bytes(id, RT_RCDATA, size);
    for (const MenuIdRecord& r : read_menu_id_resource(data, size)) {
        HMENU m = bar;
        size_t last = r.positions.size() - 1;
        for (size_t level = 0; level < last && m; ++level)
            m = GetSubMenu(m, r.positions[level] - 1);
        if (!m)
            continue;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        info.wID = static_cast<UINT>(r.id);
        SetMenuItemInfoA(m, static_cast<UINT>(r.positions[last] - 1), TRUE, &info);
    }
}

// Shows every disabled item greyed.
void WMenuGreyDisabled(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (state != static_cast<UINT>(-1) && (state & MF_DISABLED) && !(state & MF_GRAYED))
            EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
        if (HMENU sub = GetSubMenu(menu, i))
            WMenuGreyDisabled(sub);
    }
}

// Loads the accelerators and help strings of a menu id into a slot.
void attach_menu_resources(int slot, int id)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    s.accelerators = LoadAcceleratorsA(WIN_TABLE.instance, resource_id(id));
    MenuSlotData& d = menu_data[slot];
    d.strings = resource_bytes(id, MENU_STRINGS_TYPE, d.strings_size);
    d.help_count = 0;
}

void forget_menu(int slot)
{
    WIN_TABLE.slot[slot].menu = nullptr;
    WIN_TABLE.slot[slot].accelerators = nullptr;  // loaded from resources: freed with the program
    menu_data[slot] = MenuSlotData{};
}

// The fixed help texts of the system menu.
const char* system_menu_help(UINT command)
{
    switch (command & 0xFFF0) {
    case SC_MOVE: return "Changes the window position";
    case SC_SIZE: return "Changes the window size";
    case SC_MAXIMIZE: return "Enlarges the window to full size";
    case SC_MINIMIZE: return "Reduces the window to an icon";
    case SC_CLOSE: return "Closes the window";
    case SC_RESTORE: return "Restores the window to its normal size";
    default: return "";
    }
}

// The slot whose menu, strings and data the help of a window's menu uses.
int help_slot(int slot)
{
    return WIN_TABLE.slot[slot].menu ? slot : 0;
}

bool help_active(int slot, bool kind_test)
{
    const WinSlot& s = WIN_TABLE.slot[slot];
    if (!s.status_bar)
        return false;
    const MenuSlotData& d = menu_data[help_slot(slot)];
    if (d.strings || popup_strings || d.help_count > 0 || !s.menu)
        return true;
    if (kind_test) {
        const int* record = reinterpret_cast<const int*>(GetWindowLongPtrA(s.frame, GWLP_USERDATA));
        return record && (record[0] == 1 || record[0] == 4);
    }
    return false;
}

std::string menu_help_text(int slot, HMENU menu, UINT item, UINT flags)
{
    if (flags & MF_SYSMENU)
        return system_menu_help(item);
    const MenuSlotData& d = menu_data[help_slot(slot)];
    if (!d.strings && !popup_strings && d.help_count == 0)
        return std::string();
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_DATA;
    BOOL by_position = (flags & MF_POPUP) ? TRUE : FALSE;
    if (!menu || !GetMenuItemInfoA(menu, item, by_position, &info))
        return std::string();
    if (info.dwItemData)
        return reinterpret_cast<const char*>(info.dwItemData);
    int id = static_cast<int>(info.wID);
    std::string text = menu_help_string(d.strings, d.strings_size, id);
    if (text.empty())
        text = menu_help_string(popup_strings, popup_strings_size, id);
    return text;
}

void simple_status_text(int slot, const std::string& text)
{
    SendMessageA(WIN_TABLE.slot[slot].status_bar, SB_SETTEXTA, SIMPLE_PART | SBT_NOBORDERS,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

// Copies text and state of the bar's items into the pop-up items of the same id.
void follow_bar(HMENU popup, HMENU bar)
{
    int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(popup, i)) {
            follow_bar(sub, bar);
            continue;
        }
        int id = static_cast<int>(GetMenuItemID(popup, i));
        HMENU holder = nullptr;
        int position = 0;
        if (id <= 0 || !find_item(bar, id, holder, position))
            continue;
        char text[256] = {};
        MENUITEMINFOA from = {};
        from.cbSize = sizeof from;
        from.fMask = MIIM_STATE | MIIM_STRING;
        from.dwTypeData = text;
        from.cch = sizeof text;
        if (!GetMenuItemInfoA(holder, static_cast<UINT>(position), TRUE, &from))
            continue;
        MENUITEMINFOA to = {};
        to.cbSize = sizeof to;
        to.fMask = MIIM_STATE | MIIM_STRING;
        to.fState = from.fState;
        to.dwTypeData = text;
        SetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &to);
    }
}

}  // namespace

int menu_addressed_slot()
{
    int n = WIN_CURRENT.window;
    if (valid_slot(n)) {
        const WinSlot& s = WIN_TABLE.slot[n];
        if (s.menu || s.toolbars[0] || s.toolbars[1] || s.toolbars[2] || s.toolbars[3])
            return n;
    }
    return 0;
}

namespace {

// Where an item of the addressed menu is: the slot, the menu holding it and its 0-based position.
struct ItemPlace {
    int slot = 0;
    HMENU holder = nullptr;
    int position = 0;
};

bool find_addressed(int id, ItemPlace& place)
{
    place.slot = menu_addressed_slot();
    return find_item(WIN_TABLE.slot[place.slot].menu, id, place.holder, place.position);
}

// Frees the help string attached to an item, counting it off.
void drop_item_help(const ItemPlace& place)
{
    if (char* old = item_help(place.holder, place.position)) {
        delete[] old;
        set_item_help(place.holder, place.position, nullptr);
        --menu_data[place.slot].help_count;
    }
}

// Redraws the menu bar when the item is one of its own.
void redraw_bar_if_top(const ItemPlace& place)
{
    if (place.holder == WIN_TABLE.slot[place.slot].menu)
        DrawMenuBar(WIN_TABLE.slot[place.slot].frame);
}

}  // namespace

HMENU WMenuLoad(int id)
{
    HMENU menu = LoadMenuA(WIN_TABLE.instance, resource_id(id));
    if (!menu)
        return nullptr;
    WMenuIdsFromResource(menu, id);
    WMenuGreyDisabled(menu);
    return menu;
}

void WMenuFreeData(int window)
{
    if (window < 0 || window >= WIN_SLOTS)
        return;
    free_help(WIN_TABLE.slot[window].menu);
    menu_data[window].help_count = 0;
}

bool window_menu_attach(int slot, int menu_id)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    HMENU menu = WMenuLoad(menu_id);
    if (!menu)
        return false;
    RECT before;
    GetClientRect(s.frame, &before);
    SetMenu(s.frame, menu);
    s.menu = menu;
    attach_menu_resources(slot, menu_id);
    // The menu bar takes its height from the frame's client: grow the frame by what it lost.
    RECT after, frame;
    GetClientRect(s.frame, &after);
    GetWindowRect(s.frame, &frame);
    int lost = before.bottom - after.bottom;
    if (lost > 0)
        SetWindowPos(s.frame, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + lost,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void WMenuSet(int& menu_id, int window)
{
    if (!valid_slot(window) || (GetWindowLongA(WIN_TABLE.slot[window].frame, GWL_STYLE) & WS_CHILD) ||
        GetWindowLongPtrA(WIN_TABLE.slot[window].frame, GWLP_USERDATA)) {
        menu_id = -2;
        return;
    }
    WinSlot& s = WIN_TABLE.slot[window];
    WMenuFreeData(window);
    HMENU old = s.menu;
    if (menu_id == 0) {
        SetMenu(s.frame, nullptr);
        if (old)
            DestroyMenu(old);
        forget_menu(window);
        return;
    }
    HMENU menu = WMenuLoad(menu_id);
    if (!menu) {
        menu_id = -1;
        return;
    }
    SetMenu(s.frame, menu);
    if (old)
        DestroyMenu(old);
    s.menu = menu;
    attach_menu_resources(window, menu_id);
}

void WMenuSetState(int item, int option, int value)
{
    if (option < 1 || option > 2 || value < 0 || value > 1)
        return;
    ItemPlace place;
    bool in_menu = find_addressed(item, place);
    if (in_menu) {
        if (option == 1) {
            EnableMenuItem(place.holder, static_cast<UINT>(place.position),
                           MF_BYPOSITION | (value ? MF_ENABLED : MF_GRAYED));
            redraw_bar_if_top(place);
        } else {
            CheckMenuItem(place.holder, static_cast<UINT>(place.position),
                          MF_BYPOSITION | (value ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    bool on_toolbar = toolbar_button_set(place.slot, item, option, value);
    if (!in_menu && !on_toolbar)
        IErrorReport(ERR_INVALID_MENU_ITEM);
}

void WMenuGetState(int item, int option, int& result)
{
    result = 0;
    ItemPlace place;
    if (find_addressed(item, place)) {
        UINT state = GetMenuState(place.holder, static_cast<UINT>(place.position), MF_BYPOSITION);
        if (option == 1)
            result = (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1;
        else if (option == 2)
            result = (state & MF_CHECKED) ? 1 : 0;
        return;
    }
    if (!toolbar_button_get(place.slot, item, option, result))
        IErrorReport(ERR_INVALID_MENU_ITEM);
}

void WMenuItemText(int& item, std::string_view text)
{
    ItemPlace place;
    if (!find_addressed(item, place)) {
        item = -1;
        return;
    }
    std::string copy(text);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = copy.data();
    if (!SetMenuItemInfoA(place.holder, static_cast<UINT>(place.position), TRUE, &info)) {
        item = -1;
        return;
    }
    redraw_bar_if_top(place);
}

void WMenuItemHelp(int& item, std::string_view text)
{
    ItemPlace place;
    if (!find_addressed(item, place)) {
        item = -1;
        return;
    }
    MenuSlotData& d = menu_data[place.slot];
    drop_item_help(place);
    char* copy = nullptr;
    if (!text.empty()) {
        copy = new char[text.size() + 1];
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
        ++d.help_count;
    }
    set_item_help(place.holder, place.position, copy);
}

void WMenuItemDelete(int& item)
{
    ItemPlace place;
    if (!find_addressed(item, place)) {
        item = -1;
        return;
    }
    drop_item_help(place);
    menu_data[place.slot].help_count -= free_help(GetSubMenu(place.holder, place.position));
    if (!DeleteMenu(place.holder, static_cast<UINT>(place.position), MF_BYPOSITION)) {
        item = -1;
        return;
    }
    redraw_bar_if_top(place);
}

void WMenuItemInsert(int& reference, int offset, int new_item, std::string_view text)
{
    ItemPlace place;
    if (!find_addressed(reference, place)) {
        reference = -1;
        return;
    }
    // Position (1-based) = reference position + offset - 1; beyond the end appends. A place.position before
    // the first item inserts at the front (the system would take a negative index as "append").
    int count = GetMenuItemCount(place.holder);
    int at = place.position + offset - 1;
    if (at < 0)
        at = 0;
    if (at > count)
        at = count;
    std::string copy(text);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    if (new_item == 0) {
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask = MIIM_ID | MIIM_STRING;
        info.wID = static_cast<UINT>(new_item);
        info.dwTypeData = copy.data();
    }
    if (!InsertMenuItemA(place.holder, static_cast<UINT>(at), TRUE, &info)) {
        reference = -1;
        return;
    }
    redraw_bar_if_top(place);
}

void WMenuPopup(int& menu_id, int x, int y)
{
    HMENU menu = WMenuLoad(menu_id);
    if (!menu) {
        menu_id = -1;
        return;
    }
    HMENU container = CreatePopupMenu();
    AppendMenuA(container, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), "Dummy");
    int current = valid_slot(WIN_CURRENT.window) ? WIN_CURRENT.window : 0;
    HMENU bar = WIN_TABLE.slot[current].menu ? WIN_TABLE.slot[current].menu : WIN_TABLE.slot[0].menu;
    if (bar)
        follow_bar(menu, bar);
    popup_strings = resource_bytes(menu_id, MENU_STRINGS_TYPE, popup_strings_size);
    POINT p = {x, y};
    ClientToScreen(WIN_TABLE.slot[current].client, &p);
    TrackPopupMenu(GetSubMenu(container, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, p.x, p.y, 0,
                   WIN_TABLE.slot[current].frame, nullptr);
    popup_strings = nullptr;
    popup_strings_size = 0;
    DestroyMenu(container);  // destroys the loaded menu with it
}

bool translate_window_accelerators(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    int n = -1;
    for (HWND w = msg.hwnd; w && n < 0; w = GetParent(w))
        n = WWinFromHandle(w);
    if (n >= 0 && WIN_TABLE.slot[n].menu) {
        const WinSlot& s = WIN_TABLE.slot[n];
        return s.accelerators && TranslateAcceleratorA(s.frame, s.accelerators, &msg);
    }
    const WinSlot& main = WIN_TABLE.slot[0];
    if (!main.menu || !main.accelerators)
        return false;
    HWND target = n >= 0 ? WIN_TABLE.slot[n].frame : main.frame;
    return TranslateAcceleratorA(target, main.accelerators, &msg) != 0;
}

bool translate_dialog_accelerators(HWND dialog, MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    const DialogRecord* r = dialog_record(dialog);
    if (!r)
        return false;
    if (r->combined) {
        int n = WWinFromHandle(r->combined);
        return n >= 0 && WIN_TABLE.slot[n].accelerators &&
               TranslateAcceleratorA(WIN_TABLE.slot[n].frame, WIN_TABLE.slot[n].accelerators, &msg);
    }
    const WinSlot& main = WIN_TABLE.slot[0];
    return r->dialog_flag && main.accelerators && TranslateAcceleratorA(main.frame, main.accelerators, &msg);
}

bool menu_frame_message(HWND frame, int slot, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (slot < 0 || slot >= WIN_SLOTS)
        return false;
    WinSlot& s = WIN_TABLE.slot[slot];
    switch (msg) {
    case WM_MENUSELECT: {
        UINT flags = HIWORD(wp);
        if ((flags == 0xFFFF && lp == 0) || !help_active(slot, true))
            return false;
        simple_status_text(slot, menu_help_text(slot, reinterpret_cast<HMENU>(lp), LOWORD(wp), flags));
        result = 0;
        return true;
    }
    case WM_ENTERMENULOOP:
        if (help_active(slot, false)) {
            SendMessageA(s.status_bar, SB_SIMPLE, TRUE, 0);
            simple_status_text(slot, std::string());
        }
        return false;
    case WM_EXITMENULOOP:
        if (s.status_bar)
            SendMessageA(s.status_bar, SB_SIMPLE, FALSE, 0);
        return false;
    case WM_NOTIFY: {
        auto* n = reinterpret_cast<NMHDR*>(lp);
        if (!n || n->code != TTN_NEEDTEXTA)
            return false;
        auto* t = reinterpret_cast<NMTTDISPINFOA*>(lp);
        int id = static_cast<int>(n->idFrom);
        const char* tip = toolbar_tip_text(slot, id);
        t->hinst = nullptr;
        t->szText[0] = '\0';
        if (tip)
            lstrcpynA(t->szText, tip, sizeof t->szText);
        else
            LoadStringA(WIN_TABLE.instance, static_cast<UINT>(id), t->szText, sizeof t->szText);
        t->lpszText = t->szText;
        result = 0;
        return true;
    }
    case WM_COMMAND:
        // A toolbar that sent a command is redrawn at once; the command itself goes on.
        for (HWND bar : s.toolbars)
            if (bar && reinterpret_cast<HWND>(lp) == bar)
                RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return false;
    case WM_DESTROY:
        if (s.frame == frame) {
            WMenuFreeData(slot);
            forget_menu(slot);
            toolbars_forget(slot);
        }
        return false;
    default: return false;
    }
}
