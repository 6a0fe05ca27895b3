// Toolbars of the main and child windows: up to four per window (top, left, right, bottom), built
// from a button list and a bitmap of the same id, laid out around the client, with tooltips.
#include "toolkit/win/menu_resources.h"
#include "toolkit/win/menus.h"
#include "toolkit/win/menus_win.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

enum Side {
    TOP = 0,
    LEFT = 1,
    RIGHT = 2,
    BOTTOM = 3
};
constexpr int TIP_TEXT = 80;  // characters of a tooltip entry, with its NUL

struct TipEntry {
    int id = 0;  // command id; 0 = free
    char text[TIP_TEXT] = {};
};

// What a slot's toolbars need beyond their handles in WinTable.
struct SlotBars {
    int extent[4] = {};          // height of a top or bottom bar, width of a left or right bar
    HBITMAP bitmap[4] = {};      // button images, deleted with the bar
    int buttons[4] = {};         // button count of each bar
    std::vector<TipEntry> tips;  // tooltip table of the window's toolbars
};

SlotBars bars[WIN_SLOTS];
WNDPROC toolbar_base_proc = nullptr;

// The toolbar ignores size messages: the frame places it.
LRESULT CALLBACK toolbar_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SIZE)
        return 0;
    return CallWindowProcA(toolbar_base_proc, hwnd, msg, wp, lp);
}

const unsigned char* rcdata(int id, size_t& size)
{
    size = 0;
    HRSRC r = FindResourceA(WIN_TABLE.instance, MAKEINTRESOURCEA(static_cast<WORD>(id)), RT_RCDATA);
    HGLOBAL g = r ? LoadResource(WIN_TABLE.instance, r) : nullptr;
    if (!g)
        return nullptr;
    size = SizeofResource(WIN_TABLE.instance, r);
    return static_cast<const unsigned char*>(LockResource(g));
}

int status_bar_height(const WinSlot& s)
{
    RECT r;
    return s.status_bar && GetWindowRect(s.status_bar, &r) ? r.bottom - r.top : 0;
}

void destroy_bar(int slot, int side)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    SlotBars& b = bars[slot];
    if (s.toolbars[side])
        DestroyWindow(s.toolbars[side]);
    if (b.bitmap[side])
        DeleteObject(b.bitmap[side]);
    s.toolbars[side] = nullptr;
    b.bitmap[side] = nullptr;
    b.extent[side] = 0;
    b.buttons[side] = 0;
}

// Enabled and checked state of a button from the window's menu; enabled when the menu lacks the id.
BYTE button_state(HMENU menu, int id)
{
    UINT state = menu ? GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) : static_cast<UINT>(-1);
    if (state == static_cast<UINT>(-1))
        return TBSTATE_ENABLED;
    BYTE b = 0;
    if (!(state & (MF_GRAYED | MF_DISABLED)))
        b |= TBSTATE_ENABLED;
    if (state & MF_CHECKED)
        b |= TBSTATE_PRESSED;
    return b;
}

HWND create_bar(int slot, int side, int id, const ToolbarLayout& layout, HBITMAP bitmap)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    bool vertical = side == LEFT || side == RIGHT;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                  CCS_NOPARENTALIGN | CCS_NODIVIDER | (vertical ? CCS_VERT | TBSTYLE_WRAPABLE : 0);
    HWND bar =
        CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 0, 0, s.frame,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), WIN_TABLE.instance, nullptr);
    if (!bar)
        return nullptr;
    WNDPROC base = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(toolbar_proc)));
    if (!toolbar_base_proc)
        toolbar_base_proc = base;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(layout.image_width, layout.image_height));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(layout.image_width + 6, layout.image_height + 6));
    int images = 0;
    for (int b : layout.buttons)
        images += b != 0;
    TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    SendMessageA(bar, TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&add));
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int b : layout.buttons) {
        TBBUTTON t = {};
        t.idCommand = b;
        if (b == 0) {
            t.fsStyle = BTNS_SEP;
        } else {
            t.iBitmap = image++;
            t.fsStyle = BTNS_BUTTON;
            t.fsState = button_state(s.menu, b);
        }
        if (vertical)
            t.fsState |= TBSTATE_WRAP;  // one column of buttons
        buttons.push_back(t);
    }
    SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return bar;
}

// Size of the frame's bars across the client: the sum of the top and bottom bar heights, and of the
// left and right bar widths.
void bar_extents(int slot, int& across_width, int& across_height)
{
    const SlotBars& b = bars[slot];
    across_width = b.extent[LEFT] + b.extent[RIGHT];
    across_height = b.extent[TOP] + b.extent[BOTTOM];
}

}  // namespace

void toolbars_layout(int slot)
{
    if (slot < 0 || slot >= WIN_SLOTS || !WIN_TABLE.slot[slot].frame)
        return;
    WinSlot& s = WIN_TABLE.slot[slot];
    const SlotBars& b = bars[slot];
    RECT r;
    GetClientRect(s.frame, &r);
    int sb = status_bar_height(s);
    int top = b.extent[TOP];
    int bottom = b.extent[BOTTOM];
    int middle = r.bottom - sb - top - bottom;
    if (middle < 0)
        middle = 0;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (s.toolbars[TOP])
        SetWindowPos(s.toolbars[TOP], nullptr, 0, 0, r.right, top, flags);
    if (s.toolbars[BOTTOM])
        SetWindowPos(s.toolbars[BOTTOM], nullptr, 0, r.bottom - sb - bottom, r.right, bottom, flags);
    if (s.toolbars[LEFT])
        SetWindowPos(s.toolbars[LEFT], nullptr, 0, top, b.extent[LEFT], middle, flags);
    if (s.toolbars[RIGHT])
        SetWindowPos(s.toolbars[RIGHT], nullptr, r.right - b.extent[RIGHT], top, b.extent[RIGHT], middle,
                     flags);
    int width = r.right - b.extent[LEFT] - b.extent[RIGHT];
    if (s.client)
        MoveWindow(s.client, b.extent[LEFT], top, width > 0 ? width : 0, middle, TRUE);
}

void WWinZOrderBars(int window)
{
    if (window < 0 || window >= WIN_SLOTS)
        return;
    const WinSlot& s = WIN_TABLE.slot[window];
    HWND previous = HWND_TOP;
    HWND order[5] = {s.status_bar, s.toolbars[TOP], s.toolbars[LEFT], s.toolbars[RIGHT], s.toolbars[BOTTOM]};
    for (HWND w : order) {
        if (!w)
            continue;
        SetWindowPos(w, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = w;
    }
}

void WToolbarSet(int& toolbar, int window, int side, int& width_change, int& height_change)
{
    width_change = height_change = -1;
    if (window < 0 || window >= WIN_SLOTS || !WIN_TABLE.slot[window].frame || side < 0 || side > 3) {
        toolbar = -2;
        return;
    }
    WinSlot& s = WIN_TABLE.slot[window];
    SlotBars& b = bars[window];
    int old_w = 0, old_h = 0;
    bar_extents(window, old_w, old_h);
    bool had_bar = s.toolbars[side] != nullptr;
    destroy_bar(window, side);
    if (!s.toolbars[0] && !s.toolbars[1] && !s.toolbars[2] && !s.toolbars[3])
        b.tips.clear();

    if (toolbar != 0) {
        size_t size = 0;
        const unsigned char* data = rcdata(toolbar, size);
        ToolbarLayout layout;
        HBITMAP bitmap = nullptr;
        if (data && read_toolbar_resource(data, size, layout))
            bitmap = LoadBitmapA(WIN_TABLE.instance, MAKEINTRESOURCEA(static_cast<WORD>(toolbar)));
        HWND bar = bitmap ? create_bar(window, side, toolbar, layout, bitmap) : nullptr;
        if (!bar) {
            if (bitmap)
                DeleteObject(bitmap);
            toolbar = -1;
        } else {
            s.toolbars[side] = bar;
            b.bitmap[side] = bitmap;
            b.buttons[side] = static_cast<int>(layout.buttons.size());
            // A top or bottom bar is a button high plus 6; a left or right bar a button wide plus 3.
            b.extent[side] =
                side == TOP || side == BOTTOM ? layout.image_height + 12 : layout.image_width + 9;
            WWinZOrderBars(window);
            // The tooltip table grows to the total button count, keeping its texts.
            size_t total = 0;
            for (int n : b.buttons)
                total += static_cast<size_t>(n);
            if (b.tips.size() < total)
                b.tips.resize(total);
        }
    } else if (!had_bar) {
        return;
    }

    int new_w = 0, new_h = 0;
    bar_extents(window, new_w, new_h);
    int dw = new_w - old_w;
    int dh = new_h - old_h;
    if (!IsIconic(s.frame) && (dw <= -2 || dw >= 2 || dh <= -2 || dh >= 2)) {
        RECT f;
        GetWindowRect(s.frame, &f);
        SetWindowPos(s.frame, nullptr, 0, 0, f.right - f.left + dw, f.bottom - f.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        width_change = dw;
        height_change = dh;
    }
    toolbars_layout(window);
}

void WToolbarTipSet(int& button, std::string_view text)
{
    int slot = menu_addressed_slot();
    const WinSlot& s = WIN_TABLE.slot[slot];
    bool found = false;
    for (HWND bar : s.toolbars)
        if (bar && SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(button), 0) >= 0)
            found = true;
    if (!found || button == 0) {
        button = -1;
        return;
    }
    std::vector<TipEntry>& tips = bars[slot].tips;
    TipEntry* entry = nullptr;
    for (TipEntry& t : tips)
        if (t.id == button)
            entry = &t;
    if (!entry)
        for (TipEntry& t : tips)
            if (t.id == 0)
                entry = &t;  // the last free entry
    if (!entry)
        return;
    if (text.size() == 1) {
        *entry = TipEntry{};
        return;
    }
    entry->id = button;
    std::string copy(text.substr(0, TIP_TEXT - 1));
    lstrcpynA(entry->text, copy.c_str(), TIP_TEXT);
}

bool toolbar_button_get(int slot, int id, int option, int& value)
{
    for (HWND bar : WIN_TABLE.slot[slot].toolbars) {
        if (!bar || id == 0 || SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0) < 0)
            continue;
        UINT message = option == 1 ? TB_ISBUTTONENABLED : TB_ISBUTTONPRESSED;
        value = SendMessageA(bar, message, static_cast<WPARAM>(id), 0) ? 1 : 0;
        return true;
    }
    return false;
}

bool toolbar_button_set(int slot, int id, int option, int value)
{
    bool found = false;
    for (HWND bar : WIN_TABLE.slot[slot].toolbars) {
        if (!bar || id == 0 || SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0) < 0)
            continue;
        UINT message = option == 1 ? TB_ENABLEBUTTON : TB_PRESSBUTTON;
        SendMessageA(bar, message, static_cast<WPARAM>(id), MAKELONG(value ? TRUE : FALSE, 0));
        found = true;
    }
    return found;
}

const char* toolbar_tip_text(int slot, int id)
{
    if (slot < 0 || slot >= WIN_SLOTS || id == 0)
        return nullptr;
    for (const TipEntry& t : bars[slot].tips)
        if (t.id == id)
            return t.text;
    return nullptr;
}

void toolbars_forget(int slot)
{
    for (int side = 0; side < 4; ++side) {
        if (bars[slot].bitmap[side])
            DeleteObject(bars[slot].bitmap[side]);
        WIN_TABLE.slot[slot].toolbars[side] = nullptr;
    }
    bars[slot] = SlotBars{};
}
