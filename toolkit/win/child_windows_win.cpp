// Child windows 1..20, the current window, and the window utilities.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <string>

namespace {

void report(int number)
{
    IErrorReport(number);
}

int free_slot()
{
    for (int n = 1; n < WIN_SLOTS; ++n)
        if (!WIN_TABLE.slot[n].frame)
            return n;
    return -1;
}

bool valid(int handle)
{
    return handle >= 0 && handle < WIN_SLOTS && WIN_TABLE.slot[handle].frame;
}

// Clears the slots of the windows that the system destroys with `frame` (inside it or owned by it).
void clear_dependants(int closing)
{
    HWND frame = WIN_TABLE.slot[closing].frame;
    for (int n = 1; n < WIN_SLOTS; ++n) {
        if (n == closing || !WIN_TABLE.slot[n].frame)
            continue;
        HWND w = WIN_TABLE.slot[n].frame;
        bool inside = IsChild(frame, w);
        for (HWND o = GetWindow(w, GW_OWNER); o && !inside; o = GetWindow(o, GW_OWNER))
            inside = o == frame;
        if (inside)
            WIN_TABLE.slot[n] = WinSlot{};
    }
}

// A dialog procedure that handles nothing, for the test creation of a dialog to combine.
INT_PTR CALLBACK inert_dialog_proc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

// The outer size of a dialog to combine with a window: the dialog id, -1 when it cannot be created,
// -2 when it is not a caption-less child-style control dialog. A dialog that is not loaded yet is
// created for the test, invisible, and destroyed again.
int combined_dialog_size(int dialog, int& width, int& height)
{
    int slot = WDialogSlotFromId(dialog);
    // A child-style dialog needs a parent: a temporary hidden window while the main window is not open.
    HWND temporary = nullptr;
    HWND parent = WIN_TABLE.slot[0].frame;
    if (slot < 1 && !parent)
        parent = temporary = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                             GetModuleHandleA(nullptr), nullptr);
    HWND d = slot >= 1 ? DIALOG_TABLE.loaded[slot]
                       : CreateDialogParamA(nullptr, MAKEINTRESOURCEA(dialog), parent, inert_dialog_proc, 0);
    if (!d) {
        if (temporary)
            DestroyWindow(temporary);
        return -1;
    }
    LONG style = GetWindowLongA(d, GWL_STYLE);
    bool fits = (style & WS_CHILD) && (style & DS_CONTROL) && (style & WS_CAPTION) != WS_CAPTION &&
                !(style & WS_SYSMENU);
    RECT r;
    GetWindowRect(d, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (slot < 1)
        DestroyWindow(d);
    if (temporary)
        DestroyWindow(temporary);
    return fits ? dialog : -2;
}

int fit_combined_dialog(int dialog, int& flags, int& width, int& height)
{
    int w = 0, h = 0;
    dialog = combined_dialog_size(dialog, w, h);
    if (dialog > 0) {
        flags = (flags | 64) & ~(4 | 8 | 128);
        width = w;
        height = h;
    }
    return dialog;
}

void combined_dialog_result(int dialog)
{
    if (dialog > 0) {
        WIN_CURRENT.dialog = dialog;
        WDialogSelect(dialog);
    } else if (dialog == -1) {
        report(ERR_DIALOG_LOAD);
    } else if (dialog == -2) {
        report(ERR_DIALOG_STYLE);
    }
}

// Loads the dialog into the window's client, shows it modeless there and attaches the kind-3 record.
void combine_dialog(int slot, int dialog)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    WDialogLoad(dialog);
    HWND d = current_dialog_window();
    DialogRecord* r = dialog_record(d);
    if (!r)
        return;
    SetParent(d, s.client);
    SetWindowPos(d, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    r->shown = 1;
    r->mode = 2;
    r->combined = s.frame;
    auto* record = new WinRecord{};
    record->kind = RECORD_WITH_DIALOG;
    record->inner = d;
    SetWindowLongPtrA(s.frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
}

int WWinFromHandle(HWND hwnd)
{
    if (!hwnd)
        return -1;
    for (int n = 0; n < WIN_SLOTS; ++n) {
        const WinSlot& s = WIN_TABLE.slot[n];
        if (s.frame && (s.frame == hwnd || s.client == hwnd))
            return n;
    }
    for (int n = 1; n < WIN_SLOTS; ++n) {
        const WinRecord* r = win_record(WIN_TABLE.slot[n].frame);
        if (r && r->kind == RECORD_BITMAP_VIEWER && r->inner == hwnd)
            return n;
    }
    return -1;
}

WinRecord* win_record(HWND frame)
{
    return frame ? reinterpret_cast<WinRecord*>(GetWindowLongPtrA(frame, GWLP_USERDATA)) : nullptr;
}

void WWinActivate(HWND hwnd)
{
    int n = WWinFromHandle(hwnd);
    if (n >= 0 && WIN_TABLE.slot[n].client && GetFocus() != WIN_TABLE.slot[n].client)
        SetFocus(WIN_TABLE.slot[n].client);
    for (int c = 1; c < WIN_SLOTS; ++c) {
        HWND f = WIN_TABLE.slot[c].frame;
        if (f)
            SendMessageA(f, WM_NCACTIVATE, (f == hwnd || IsChild(f, hwnd)) ? TRUE : FALSE, 0);
    }
    // The loaded dialogs: the one activated is drawn active, every other one inactive.
    for (int d = 1; d <= DIALOG_TABLE.count; ++d) {
        HWND dialog = DIALOG_TABLE.loaded[d];
        if (dialog && IsWindow(dialog))
            SendMessageA(dialog, WM_NCACTIVATE, dialog == hwnd ? TRUE : FALSE, 0);
    }
}

bool WWinMakeCurrent(int handle, bool reselect)
{
    if (!valid(handle))
        return false;
    if (WIN_CURRENT.dc) {
        // The drawing objects go back into the context before it is released.
        if (GrGdiContext.dc == WIN_CURRENT.dc)
            gr_gdi_unbind();
        HWND old = WIN_TABLE.slot[WIN_CURRENT.window].client;
        if (old)
            ReleaseDC(old, WIN_CURRENT.dc);
        WIN_CURRENT.dc = nullptr;
    }
    WIN_CURRENT.window = handle;
    WIN_CURRENT.dc = GetDC(WIN_TABLE.slot[handle].client);
    if (WIN_CURRENT.dc) {
        SetBkMode(WIN_CURRENT.dc, TRANSPARENT);
        SetTextAlign(WIN_CURRENT.dc, TA_BASELINE);
    }
    // Unless a bitmap or a picture field is drawn on, the new context is the drawing context at once,
    // re-selected or not: drawing never goes to a context that was given back.
    if (GrTarget.kind != TARGET_BITMAP && GrTarget.kind != TARGET_PICTURE_FIELD && WIN_CURRENT.dc) {
        gr_gdi_bind(WIN_CURRENT.dc, -1);
        if (GrTarget.kind == TARGET_WINDOW)
            GrTarget.number = handle;
    }
    client_size(handle, WIN_CURRENT.width, WIN_CURRENT.height);
    // Window text starts again at the top-left corner of the window made current.
    WGrTextState.x = 0;
    WGrTextState.y = 0;
    // A window that is the drawing target hands its context and size to the graphics core.
    if (reselect && GrTarget.kind == TARGET_WINDOW)
        gr_select_current_window();
    WGrTextFontScale();
    return true;
}

void WWinSelect(int handle)
{
    if (!WWinMakeCurrent(handle, true))
        report(ERR_INVALID_WINDOW);
}

void WWinRaise(int handle)
{
    if (!WWinMakeCurrent(handle, true)) {
        report(ERR_INVALID_WINDOW);
        return;
    }
    // Bring the window and every window containing it to the top, outermost first.
    HWND chain[WIN_SLOTS];
    int n = 0;
    for (HWND f = WIN_TABLE.slot[handle].frame; f && n < WIN_SLOTS;) {
        chain[n++] = f;
        if (!(GetWindowLongA(f, GWL_STYLE) & WS_CHILD))
            break;
        HWND client = GetParent(f);
        f = client ? GetParent(client) : nullptr;
    }
    for (int i = n - 1; i >= 0; --i)
        SetWindowPos(chain[i], HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    WWinActivate(WIN_TABLE.slot[handle].frame);
}

void WWinOpenChild(int& handle, int flags, int x, int y, int width, int height, std::string_view title_in)
{
    WWinOpenChild(handle, flags, x, y, width, height, 0, title_in, 0);
}

void WWinOpenChild(int& handle, int flags, int x, int y, int width, int height, int dialog,
                   std::string_view title_in, int parent_slot, int menu, const WinToolbarIds& toolbars)
{
    handle = -1;
    if (flags == 0)
        flags = 7;
    int keep_w = WIN_CURRENT.width;
    int keep_h = WIN_CURRENT.height;
    read_screen_info();
    int slot = free_slot();
    if (slot < 0)
        return;  // a full table raises no error
    std::string title(title_in);
    title.erase(title.find_last_not_of(' ') + 1);
    if (flags & (16 | 256)) {
        // The parent must be open and visible, and neither combined with a dialog nor converted.
        int status = !valid(parent_slot) ? -5 : !IsWindowVisible(WIN_TABLE.slot[parent_slot].frame) ? -2 : 0;
        if (status == 0) {
            const WinRecord* r = win_record(WIN_TABLE.slot[parent_slot].frame);
            status = !r ? 0 : r->kind == RECORD_WITH_DIALOG ? -3 : -4;
        }
        if (status != 0) {
            report(status == -5   ? ERR_INVALID_WINDOW
                   : status == -4 ? ERR_PARENT_CONVERTED
                   : status == -3 ? ERR_PARENT_COMBINED
                                  : ERR_PARENT_HIDDEN);
            return;
        }
    }
    if (dialog > 0)
        dialog = fit_combined_dialog(dialog, flags, width, height);

    HWND parent = nullptr;
    DWORD style = WS_CLIPCHILDREN | WS_CAPTION;
    DWORD ex_style = 0;
    if (flags & 1)
        style |= WS_SYSMENU;
    if (flags & 2)
        style |= WS_MINIMIZEBOX;
    if (flags & 4)
        style |= WS_MAXIMIZEBOX;
    if (!(flags & 64))
        style |= WS_THICKFRAME;
    // While a semi-modeless dialog is shown the program's windows wait for it: a new one too.
    if (DIALOG_TABLE.semi_modeless > 0)
        style |= WS_DISABLED;
    if (flags & 16) {
        // Inside the parent: positions and sizes are units of the parent's client area.
        if (!valid(parent_slot)) {
            report(ERR_INVALID_WINDOW);
            return;
        }
        WWinSelect(parent_slot);
        int pw = WIN_CURRENT.width;
        int ph = WIN_CURRENT.height;
        if (x != WIN_UNSET)
            x = static_cast<int>(static_cast<long long>(pw - 1) * x / 9999);
        if (y != WIN_UNSET)
            y = static_cast<int>(static_cast<long long>(ph - 1) * y / 9999);
        if (dialog <= 0) {
            if (width < 1)
                width = 8000;
            if (height < 1)
                height = 8000;
            width = static_cast<int>(static_cast<long long>(width) * pw / 9999);
            height = static_cast<int>(static_cast<long long>(height) * ph / 9999);
        }
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        parent = WIN_TABLE.slot[parent_slot].client;
    } else {
        if (width < 1)
            width = WIN_SCREEN.width * 80 / 100;
        if (height < 1)
            height = WIN_SCREEN.height * 80 / 100;
        style |= WS_POPUP;
        ex_style = (flags & 512) ? WS_EX_APPWINDOW | WS_EX_TOPMOST : WS_EX_APPWINDOW;
        if (flags & 65536)
            ex_style = (ex_style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
        if (flags & 256)
            parent = WIN_TABLE.slot[parent_slot].frame;
    }
    if (!register_window_classes() ||
        !create_frame_and_client(slot, "RORERIDUZ", style, ex_style, parent, x, y, width, height,
                                 (flags & 32) != 0, !(flags & 64), title.c_str())) {
        WIN_CURRENT.width = keep_w;
        WIN_CURRENT.height = keep_h;
        return;
    }
    WinSlot& s = WIN_TABLE.slot[slot];
    open_window_bars(slot, menu, toolbars, x == WIN_UNSET && !(flags & 8), y == WIN_UNSET && !(flags & 8));
    if (dialog > 0)
        combine_dialog(slot, dialog);
    if (!(flags & 128)) {
        ShowWindow(s.frame, (flags & 8) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        BringWindowToTop(s.frame);
        UpdateWindow(s.frame);
        ValidateRect(s.client, nullptr);  // no initial expose
        s.pending = WinPendingMessage{};
        SetFocus(s.client);
        WWinActivate(s.frame);
    }
    handle = slot;
    WWinMakeCurrent(slot, true);
    WIN_CURRENT.options[slot] = flags;
    combined_dialog_result(dialog);
}

void WWinCloseChild(int handle)
{
    if (handle < 1 || handle >= WIN_SLOTS || !WIN_TABLE.slot[handle].frame) {
        report(ERR_INVALID_WINDOW);
        return;
    }
    close_media_device(WIN_TABLE.slot[handle], true);
    bool was_current = WIN_CURRENT.window == handle;
    if (was_current && WIN_CURRENT.dc) {
        ReleaseDC(WIN_TABLE.slot[handle].client, WIN_CURRENT.dc);
        WIN_CURRENT.dc = nullptr;
    }
    HWND frame = WIN_TABLE.slot[handle].frame;
    if (WinRecord* r = win_record(frame); r && r->kind == RECORD_WITH_DIALOG) {
        // The combined dialog goes with its window.
        SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
        const DialogRecord* d = dialog_record(r->inner);
        if (d && WIN_CURRENT.dialog == d->id)
            WIN_CURRENT.dialog = 0;
        dialog_unload_combined(r->inner);
        delete r;
    } else {
        clear_dependants(handle);
    }
    DestroyWindow(WIN_TABLE.slot[handle].client);
    DestroyWindow(frame);
    if (WIN_TABLE.default_owner == frame)
        WIN_TABLE.default_owner = WIN_TABLE.slot[0].frame;
    WIN_TABLE.slot[handle] = WinSlot{};
    if (was_current) {
        WIN_CURRENT.options[handle] = -1;
        WIN_CURRENT.window = 0;
        if (WIN_TABLE.slot[0].frame)
            WWinMakeCurrent(0, true);
    }
}

// Fills pixels x1..x2, y1..y2 (inclusive) of the current window with a colour (0x00BBGGRR; -1 the
// window-text background).
void WWinClear(int x1, int y1, int x2, int y2, int colour)
{
    if (!WIN_CURRENT.dc)
        return;
    COLORREF c = colour < 0 ? static_cast<COLORREF>(WGrTextColours[WGrTextState.background_colour])
                            : static_cast<COLORREF>(colour);
    HBRUSH brush = CreateSolidBrush(c);
    RECT r = {x1, y1, x2 + 1, y2 + 1};
    FillRect(WIN_CURRENT.dc, &r, brush);
    DeleteObject(brush);
}

void WWinClear()
{
    WWinClear(0, 0, WIN_CURRENT.width - 1, WIN_CURRENT.height - 1, -1);
}

void WGrRectangleClear(int x1, int y1, int x2, int y2)
{
    int px1 = 0, py1 = 0, px2 = 0, py2 = 0;
    WGrUnitsToPixels(x1, y1, px1, py1);
    WGrUnitsToPixels(x2, y2, px2, py2);
    WWinClear(px1, py1, px2, py2, -1);
}

void WGrUnitsToPixels(int x, int y, int& px, int& py)
{
    px = static_cast<int>(static_cast<long long>(x) * (WIN_CURRENT.width - 1) / 9999);
    py = static_cast<int>(static_cast<long long>(y) * (WIN_CURRENT.height - 1) / 9999);
}
