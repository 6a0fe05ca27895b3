// Window utilities of the current window: the client cursor, the caption, scrolling the contents,
// the placement; and the beep.
#include "toolkit/win/window_utilities.h"

#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/window_table_win.h"

#include <string>

namespace {

// The system cursors of shapes 0..11.
const char* const CURSORS[12] = {IDC_ARROW,  IDC_WAIT,     IDC_APPSTARTING, IDC_CROSS,
                                 IDC_IBEAM,  IDC_NO,       IDC_SIZEALL,     IDC_SIZENS,
                                 IDC_SIZEWE, IDC_SIZENESW, IDC_SIZENWSE,    IDC_UPARROW};

const WinSlot* current_slot()
{
    const WinSlot& s = WIN_TABLE.slot[WIN_CURRENT.window];
    return s.frame ? &s : nullptr;
}

int height_of(HWND w)
{
    RECT r;
    return w && IsWindowVisible(w) && GetWindowRect(w, &r) ? r.bottom - r.top : 0;
}

int width_of(HWND w)
{
    RECT r;
    return w && IsWindowVisible(w) && GetWindowRect(w, &r) ? r.right - r.left : 0;
}

// Offset of the work area from the screen, measured on a temporary hidden window: the placement of a
// top-level window is in work-area coordinates.
POINT work_area_offset()
{
    POINT offset = {0, 0};
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!probe)
        return offset;
    WINDOWPLACEMENT p = {};
    p.length = sizeof p;
    RECT r;
    if (GetWindowPlacement(probe, &p) && GetWindowRect(probe, &r)) {
        offset.x = r.left - p.rcNormalPosition.left;
        offset.y = r.top - p.rcNormalPosition.top;
    }
    DestroyWindow(probe);
    return offset;
}

}  // namespace

void IOsBeep()
{
    if (os_beep_enabled()) {
        os_beep_count(true);
        MessageBeep(MB_OK);
    }
}

void IOsBeepNow()
{
    IOsBeep();
}

void WCursorShape(int n)
{
    HCURSOR c = n >= 0 && n < 12 ? LoadCursorA(nullptr, CURSORS[n])
                                 : LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(n));
    WIN_TABLE.client_cursor = c;
    if (c)
        SetCursor(c);
}

void WCursorMoveTo(int x, int y)
{
    const WinSlot* s = current_slot();
    if (!s)
        return;
    POINT p = {x, y};
    ClientToScreen(s->client, &p);
    SetCursorPos(p.x, p.y);
}

void WWinSetTitle(std::string_view title)
{
    const WinSlot* s = current_slot();
    if (!s)
        return;
    std::string t(title.substr(0, title.find('\0')));
    SetWindowTextA(s->frame, t.c_str());
}

void WWinIsInsideParent(int& flag)
{
    const WinSlot* s = current_slot();
    flag = s && (GetWindowLongA(s->frame, GWL_STYLE) & WS_CHILD) ? 1 : 0;
}

void WWinScroll(int dx, int dy, int colour)
{
    const WinSlot* s = current_slot();
    if (!s || !WIN_CURRENT.dc)
        return;
    COLORREF c = colour < 0 ? static_cast<COLORREF>(WGrTextColours[WGrTextState.background_colour])
                            : static_cast<COLORREF>(colour);
    HRGN uncovered = CreateRectRgn(0, 0, 0, 0);
    // Without SW_INVALIDATE the strip is not invalidated: it is filled here and no expose follows.
    ScrollWindowEx(s->client, dx, dy, nullptr, nullptr, uncovered, nullptr, 0);
    HBRUSH brush = CreateSolidBrush(c);
    FillRgn(WIN_CURRENT.dc, uncovered, brush);
    DeleteObject(brush);
    DeleteObject(uncovered);
}

void WWinPlacement(int x, int y, int& width, int& height, int state)
{
    const int n = WIN_CURRENT.window;
    WinSlot& s = WIN_TABLE.slot[n];
    if (!s.frame)
        return;
    const WinRecord* record = win_record(s.frame);
    const bool combined = record && record->kind == RECORD_WITH_DIALOG;
    const LONG style = GetWindowLongA(s.frame, GWL_STYLE);
    const bool inside = (style & WS_CHILD) != 0;
    const POINT offset = inside ? POINT{0, 0} : work_area_offset();
    const int current_state = IsIconic(s.frame) ? 0 : IsZoomed(s.frame) ? 2 : 1;
    if (state < 0 || state > 2)
        state = current_state;
    // What is kept comes from the normal place: the frame as it stands, or the place it returns to
    // from a minimised or maximised state.
    WINDOWPLACEMENT p = {};
    p.length = sizeof p;
    GetWindowPlacement(s.frame, &p);
    RECT kept;
    if (current_state == 1) {
        GetWindowRect(s.frame, &kept);
        if (inside)
            MapWindowPoints(nullptr, GetParent(s.frame), reinterpret_cast<POINT*>(&kept), 2);
    } else {
        kept = p.rcNormalPosition;
        OffsetRect(&kept, offset.x, offset.y);
    }
    // The outer size: the frame with its menu, the toolbars and the status bar around the client.
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(style), GetMenu(s.frame) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(s.frame, GWL_EXSTYLE)));
    const int extra_w = frame.right - frame.left + width_of(s.toolbars[1]) + width_of(s.toolbars[2]);
    const int extra_h = frame.bottom - frame.top + height_of(s.toolbars[0]) + height_of(s.toolbars[3]) +
                        height_of(s.status_bar);
    const int ow = width == WIN_UNSET || combined ? kept.right - kept.left : width + extra_w;
    const int oh = height == WIN_UNSET || combined ? kept.bottom - kept.top : height + extra_h;
    if (x == WIN_UNSET)
        x = kept.left;
    if (y == WIN_UNSET)
        y = kept.top;
    if (state == 1 && current_state == 1) {
        SetWindowPos(s.frame, nullptr, x, y, ow, oh, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        p.rcNormalPosition = {x - offset.x, y - offset.y, x - offset.x + ow, y - offset.y + oh};
        p.showCmd = state == 0 ? SW_SHOWMINNOACTIVE : state == 2 ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE;
        SetWindowPlacement(s.frame, &p);
        if (inside && state == 2)
            s.normal_rect = RECT{x, y, x + ow, y + oh};
    }
    // The window's resize message brings the new size to the drawing surface.
    client_size(n, width, height);
}
