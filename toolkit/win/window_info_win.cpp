// Information on the current window and dialog: sizes, flags, rectangles, show state, window kind.
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_table_win.h"

namespace {

HWND current_frame()
{
    int n = WIN_CURRENT.window;
    return n >= 0 && n < WIN_SLOTS ? WIN_TABLE.slot[n].frame : nullptr;
}

// The offset between the work-area coordinates of a placement and screen coordinates, measured on a
// temporary invisible top-level window (placement rectangle minus window rectangle).
POINT workspace_offset()
{
    POINT d = {0, 0};
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 WIN_TABLE.instance, nullptr);
    if (!probe)
        return d;
    WINDOWPLACEMENT p = {};
    p.length = sizeof p;
    RECT r;
    if (GetWindowPlacement(probe, &p) && GetWindowRect(probe, &r)) {
        d.x = p.rcNormalPosition.left - r.left;
        d.y = p.rcNormalPosition.top - r.top;
    }
    DestroyWindow(probe);
    return d;
}

// A pair of pixels of the main client area in its window units; the current window is kept.
void main_client_units(int& x, int& y)
{
    int keep = WIN_CURRENT.window;
    if (!WWinMakeCurrent(0, false))
        return;
    WGrPixelsToUnits(x, y, x, y);
    WWinMakeCurrent(keep, false);
}

// Options 5, 6 of WWinInfo and 6..9 of WDialogInfo: units for a child, else pixels.
int rect_value(int kind, bool second)
{
    int a = 0, b = 0, child = 0;
    WWinRect(kind, a, b, child);
    if (child == 1)
        main_client_units(a, b);
    return second ? b : a;
}

}  // namespace

void WWinRect(int kind, int& first, int& second, int& child)
{
    first = second = child = 0;
    HWND w = kind <= 1 ? current_frame() : current_dialog_window();
    if (!w)
        return;
    bool is_child = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) != 0;
    RECT r = {0, 0, 0, 0};
    if (IsIconic(w)) {
        WINDOWPLACEMENT p = {};
        p.length = sizeof p;
        GetWindowPlacement(w, &p);
        r = p.rcNormalPosition;
        if (!is_child) {
            POINT d = workspace_offset();
            OffsetRect(&r, -d.x, -d.y);
        }
    } else {
        GetWindowRect(w, &r);
    }
    if (is_child) {
        HWND main_client = WIN_TABLE.slot[0].client;
        if (IsIconic(w)) {
            // A restored place is already relative to the parent; take it to screen coordinates first.
            MapWindowPoints(GetParent(w), nullptr, reinterpret_cast<POINT*>(&r), 2);
        }
        MapWindowPoints(nullptr, main_client, reinterpret_cast<POINT*>(&r), 2);
        child = 1;
    }
    if (kind == 0 || kind == 2) {
        first = r.left;
        second = r.top;
    } else {
        first = r.right - r.left;
        second = r.bottom - r.top;
    }
}

void WWinClientOrigin(int& x, int& y)
{
    POINT p = {0, 0};
    int n = WIN_CURRENT.window;
    if (n >= 0 && n < WIN_SLOTS && WIN_TABLE.slot[n].client)
        ClientToScreen(WIN_TABLE.slot[n].client, &p);
    x = p.x;
    y = p.y;
}

void WWinShowState(int& state)
{
    HWND f = current_frame();
    state = f && IsIconic(f) ? 0 : f && IsZoomed(f) ? 2 : 1;
}

void WWinSysColour(int code, int& colour)
{
    colour = static_cast<int>(GetSysColor(code == 45 ? COLOR_WINDOWTEXT : COLOR_WINDOW));
}

void WWinMouseButtons(int& count)
{
    count = GetSystemMetrics(SM_CMOUSEBUTTONS);
}

void WWinRecordKind(int& kind)
{
    // The window record is attached to the frame as its user data; word 0 is the kind.
    kind = 0;
    HWND f = current_frame();
    const int* record = f ? reinterpret_cast<const int*>(GetWindowLongPtrA(f, GWLP_USERDATA)) : nullptr;
    if (record)
        kind = record[0];
}

int WWinInfo(int option)
{
    int n = WIN_CURRENT.window;
    int value = 0;
    switch (option) {
    case 1: return WIN_CURRENT.width;
    case 2: return WIN_CURRENT.height;
    case 3: return n >= 0 && n < WIN_SLOTS ? WIN_CURRENT.options[n] : -1;
    case 4: return n;
    case 5: return rect_value(0, false);
    case 6: return rect_value(0, true);
    case 7:
    case 8: {
        int x = 0, y = 0;
        WWinClientOrigin(x, y);
        return option == 7 ? x : y;
    }
    case 9: WWinShowState(value); return value;
    case 10: WWinRecordKind(value); return value;
    default: return 0;
    }
}

int WDialogInfo(int option)
{
    switch (option) {
    case 1: return DIALOG_RESULTS.exit_button;
    case 2: return DIALOG_RESULTS.focus_field;
    case 3: return DIALOG_TABLE.current_id;
    case 4: return DIALOG_RESULTS.message_box_answer;
    case 5: return DIALOG_RESULTS.dialog;
    case 6: return rect_value(2, false);
    case 7: return rect_value(2, true);
    case 8: return rect_value(3, false);
    case 9: return rect_value(3, true);
    default: return 0;
    }
}
