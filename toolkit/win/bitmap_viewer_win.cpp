// The bitmap viewer: a child window converted to show an off-screen bitmap through a control of class
// "VAVOVOROR" with scroll bars. The window is sized to fit the bitmap where the screen allows;
// scrolling raises MsgBitmapView; mouse and key events of the control reach the application with
// source kind 2. The window keeps its number; its bitmap cannot be deleted while it is shown.
#include "toolkit/win/bitmap_viewer.h"

#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/offscreen_bitmap_win.h"
#include "toolkit/win/window_table_win.h"

#include <algorithm>

namespace {

constexpr char VIEWER_CLASS[] = "VAVOVOROR";
constexpr int VIEWER_ID = 1001;
constexpr UINT CARET_BLINK_TIMER_MSG = 0x118;
constexpr WPARAM CARET_BLINK_TIMER_ID = 0xFFF6;

ATOM viewer_class = 0;

WinRecord* viewer_record(HWND w)
{
    WinRecord* r = w ? reinterpret_cast<WinRecord*>(GetWindowLongPtrA(w, GWLP_USERDATA)) : nullptr;
    return r && r->kind == RECORD_BITMAP_VIEWER ? r : nullptr;
}

int bar_height(HWND bar)
{
    RECT r;
    return bar && GetWindowRect(bar, &r) ? r.bottom - r.top : 0;
}

int bar_width(HWND bar)
{
    RECT r;
    return bar && GetWindowRect(bar, &r) ? r.right - r.left : 0;
}

// The frame size that shows the whole bitmap: bitmap, bars and the frame's decorations.
SIZE fitting_frame(HWND frame, const WinRecord& r)
{
    RECT want = {0, 0, r.bitmap_width, r.bitmap_height};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)), GetMenu(frame) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)));
    int n = WWinFromHandle(frame);
    const HWND* bars = n >= 0 ? WIN_TABLE.slot[n].toolbars : r.toolbars;
    SIZE s = {want.right - want.left + bar_width(bars[1]) + bar_width(bars[2]),
              want.bottom - want.top + bar_height(r.status_bar) + bar_height(bars[0]) + bar_height(bars[3])};
    return s;
}

// Page sizes of the scroll bars from the control's client size (or the bitmap's, when the frame is at
// least the remembered fitting size); raises MsgBitmapView when the positions moved.
void set_pages(HWND viewer, WinRecord& r)
{
    RECT c;
    GetClientRect(viewer, &c);
    int page_x = c.right;
    int page_y = c.bottom;
    if (r.fit_width != -999) {
        RECT f;
        GetWindowRect(GetParent(viewer), &f);
        if (f.right - f.left >= r.fit_width && f.bottom - f.top >= r.fit_height) {
            page_x = r.bitmap_width;
            page_y = r.bitmap_height;
        }
    }
    int old_x = GetScrollPos(viewer, SB_HORZ);
    int old_y = GetScrollPos(viewer, SB_VERT);
    SCROLLINFO si = {sizeof si, SIF_PAGE, 0, 0, 0, 0, 0};
    si.nPage = static_cast<UINT>(std::max(page_x, 0));
    SetScrollInfo(viewer, SB_HORZ, &si, TRUE);
    si.nPage = static_cast<UINT>(std::max(page_y, 0));
    SetScrollInfo(viewer, SB_VERT, &si, TRUE);
    int x = GetScrollPos(viewer, SB_HORZ);
    int y = GetScrollPos(viewer, SB_VERT);
    if (x != old_x || y != old_y)
        WMsgPost(MsgBitmapView, 0, 0, MAKELPARAM(x, y), GetParent(viewer));
}

// One scroll action on a bar; a change redraws at once and raises MsgBitmapView.
void scroll(HWND viewer, int bar, int code, int thumb)
{
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(viewer, bar, &si);
    RECT c;
    GetClientRect(viewer, &c);
    int half = (bar == SB_HORZ ? c.right : c.bottom) / 2;
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP:
        if (half > 1)
            pos -= half;
        break;
    case SB_PAGEDOWN:
        if (half > 1)
            pos += half;
        break;
    case SB_THUMBTRACK: pos = thumb; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    SetScrollPos(viewer, bar, pos, TRUE);  // the system keeps it within the range and page
    if (GetScrollPos(viewer, bar) == si.nPos)
        return;
    InvalidateRect(viewer, nullptr, FALSE);
    UpdateWindow(viewer);
    WMsgPost(MsgBitmapView, 0, 0, MAKELPARAM(GetScrollPos(viewer, SB_HORZ), GetScrollPos(viewer, SB_VERT)),
             GetParent(viewer));
}

void paint(HWND viewer, const WinRecord& r)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(viewer, &ps);
    if (dc && r.bitmap) {
        if (GrGdiContext.palette) {
            SelectPalette(dc, GrGdiContext.palette, FALSE);
            RealizePalette(dc);
        }
        RECT c;
        GetClientRect(viewer, &c);
        BitmapDc memory(dc, r.bitmap);
        if (memory.get())
            BitBlt(dc, 0, 0, c.right, c.bottom, memory.get(), GetScrollPos(viewer, SB_HORZ),
                   GetScrollPos(viewer, SB_VERT), SRCCOPY);
    }
    EndPaint(viewer, &ps);
}

// Keys of a modal viewer: paging and line moves.
bool modal_key(HWND viewer, WPARAM key)
{
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (key) {
    case VK_PRIOR: scroll(viewer, SB_VERT, ctrl ? SB_TOP : SB_PAGEUP, 0); return true;
    case VK_NEXT: scroll(viewer, SB_VERT, ctrl ? SB_BOTTOM : SB_PAGEDOWN, 0); return true;
    case VK_HOME: scroll(viewer, SB_HORZ, ctrl ? SB_TOP : SB_PAGEUP, 0); return true;
    case VK_END: scroll(viewer, SB_HORZ, ctrl ? SB_BOTTOM : SB_PAGEDOWN, 0); return true;
    case VK_UP: scroll(viewer, SB_VERT, SB_LINEUP, 0); return true;
    case VK_DOWN: scroll(viewer, SB_VERT, SB_LINEDOWN, 0); return true;
    case VK_LEFT: scroll(viewer, SB_HORZ, SB_LINEUP, 0); return true;
    case VK_RIGHT: scroll(viewer, SB_HORZ, SB_LINEDOWN, 0); return true;
    default: return false;
    }
}

LRESULT CALLBACK viewer_proc(HWND viewer, UINT msg, WPARAM wp, LPARAM lp)
{
    WinRecord* r = viewer_record(viewer);
    if (!r)
        return DefWindowProcA(viewer, msg, wp, lp);
    switch (msg) {
    case WM_PAINT: paint(viewer, *r); return 0;
    case WM_SIZE: set_pages(viewer, *r); return 0;
    case WM_HSCROLL:
    case WM_VSCROLL: scroll(viewer, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp), HIWORD(wp)); return 0;
    case WM_MOUSEWHEEL: {
        RECT c;
        GetClientRect(viewer, &c);
        int half = c.bottom / 2;
        int delta = std::clamp(-static_cast<int>(static_cast<short>(HIWORD(wp))), -half, half);
        scroll(viewer, SB_VERT, SB_THUMBTRACK, std::max(GetScrollPos(viewer, SB_VERT) + delta, 0));
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: post_button_down(msg, wp, lp, viewer); return 0;
    case WM_KEYDOWN:
        if (r->mode == 1)
            return modal_key(viewer, wp) ? 0 : DefWindowProcA(viewer, msg, wp, lp);
        return WWinClientProc(viewer, msg, wp, lp);
    case WM_CHAR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
    case WM_SETCURSOR: return WWinClientProc(viewer, msg, wp, lp);
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wp) != viewer && GrGdiContext.palette)
            InvalidateRect(viewer, nullptr, FALSE);
        return 0;
    default: return DefWindowProcA(viewer, msg, wp, lp);
    }
}

// The frame's own handling while it is a viewer; the rest is the toolkit's frame procedure.
LRESULT CALLBACK viewer_frame_proc(HWND frame, UINT msg, WPARAM wp, LPARAM lp)
{
    WinRecord* r = viewer_record(frame);
    if (!r)
        return WWinFrameProc(frame, msg, wp, lp);
    switch (msg) {
    case WM_CLOSE:
        if (r->mode == 1) {
            r->closed = 1;
            DestroyWindow(frame);
            return 0;
        }
        break;
    case WM_SIZE: {
        LRESULT result = WWinFrameProc(frame, msg, wp, lp);
        int n = WWinFromHandle(frame);
        if (n >= 0 && WIN_TABLE.slot[n].client) {
            RECT c;
            GetWindowRect(WIN_TABLE.slot[n].client, &c);
            MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&c), 2);
            MoveWindow(r->inner, c.left, c.top, c.right - c.left, c.bottom - c.top, TRUE);
        }
        return result;
    }
    case WM_GETMINMAXINFO: {
        if (!r->bitmap)
            break;
        // Maximised, the frame shows the whole bitmap and no more; with one direction fitting, the
        // other scroll bar's size is added.
        SIZE fit = fitting_frame(frame, *r);
        int sw = GetSystemMetrics(SM_CXSCREEN);
        int sh = GetSystemMetrics(SM_CYSCREEN);
        bool fits_x = fit.cx <= sw;
        bool fits_y = fit.cy <= sh;
        if (fits_x && !fits_y)
            fit.cx += GetSystemMetrics(SM_CXVSCROLL);
        if (fits_y && !fits_x)
            fit.cy += GetSystemMetrics(SM_CYHSCROLL);
        if (fits_x || fits_y) {
            r->fit_width = fit.cx;
            r->fit_height = fit.cy;
        } else {
            r->fit_width = r->fit_height = -999;
        }
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMaxSize.x = std::min<LONG>(info->ptMaxSize.x, fit.cx);
        info->ptMaxSize.y = std::min<LONG>(info->ptMaxSize.y, fit.cy);
        return 0;
    }
    case WM_DESTROY: {
        int mode = r->mode;
        if (mode == 3) {
            if (DIALOG_TABLE.semi_modeless > 0)
                --DIALOG_TABLE.semi_modeless;
            WWinEnableOthers(nullptr, true);
            if (WIN_TABLE.slot[0].frame)
                SetActiveWindow(WIN_TABLE.slot[0].frame);
        }
        SetWindowLongPtrA(r->inner, GWLP_USERDATA, 0);
        if (mode != 1) {
            SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
            delete r;  // a modal viewer's record is freed after its loop
        }
        break;
    }
    default: break;
    }
    return WWinFrameProc(frame, msg, wp, lp);
}

bool register_viewer_class()
{
    if (viewer_class)
        return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = viewer_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = VIEWER_CLASS;
    viewer_class = RegisterClassA(&wc);
    return viewer_class != 0;
}

// Binds the bitmap and sizes the frame to show it whole where it is large enough (WBitmapViewSet).
void WBitmapViewSet(WinRecord& r, HWND frame, int slot, int scroll_x, int scroll_y)
{
    const GrBitmapSlot& b = GrBitmapTable.slot[slot];
    r.bitmap = b.bitmap;
    r.bitmap_slot = slot;
    r.bitmap_width = b.width;
    r.bitmap_height = b.height;
    r.fit_width = r.fit_height = -999;
    SIZE fit = fitting_frame(frame, r);
    RECT f;
    GetWindowRect(frame, &f);
    int fw = f.right - f.left;
    int fh = f.bottom - f.top;
    int w = -1, h = -1;
    if (fw >= fit.cx && fh >= fit.cy) {
        w = fit.cx;
        h = fit.cy;
    } else if (fw < fit.cx && fh >= fit.cy + GetSystemMetrics(SM_CYHSCROLL)) {
        w = fw;
        h = fit.cy + GetSystemMetrics(SM_CYHSCROLL);
    } else if (fh < fit.cy && fw >= fit.cx + GetSystemMetrics(SM_CXVSCROLL)) {
        w = fit.cx + GetSystemMetrics(SM_CXVSCROLL);
        h = fh;
    }
    if (w > 0)
        SetWindowPos(frame, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SCROLLINFO si = {sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    si.nMax = r.bitmap_width - 1;
    SetScrollInfo(r.inner, SB_HORZ, &si, FALSE);
    si.nMax = r.bitmap_height - 1;
    SetScrollInfo(r.inner, SB_VERT, &si, FALSE);
    RECT c;
    GetClientRect(r.inner, &c);
    SendMessageA(r.inner, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
    if (scroll_x >= 0)
        SetScrollPos(r.inner, SB_HORZ, scroll_x, TRUE);
    if (scroll_y >= 0)
        SetScrollPos(r.inner, SB_VERT, scroll_y, TRUE);
}

// The window has child windows of the toolkit inside it or owned by it.
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

// The modal viewer's own loop, until the user closes the window.
void run_modal(const WinRecord& r)
{
    MSG msg;
    while (!r.closed && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == CARET_BLINK_TIMER_MSG && msg.wParam == CARET_BLINK_TIMER_ID &&
            MSG_LOOP.drop_caret_timer)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

void WBitmapView(int slot, int scroll_x, int scroll_y, int& mode, int& status)
{
    const int n = WIN_CURRENT.window;
    scroll_x = std::max(scroll_x, 0);
    scroll_y = std::max(scroll_y, 0);
    gr_bitmap_release_stale();
    if (n == 0 || !WIN_TABLE.slot[n].frame) {
        status = 1;
        return;
    }
    if (slot < 0 || slot >= BITMAP_SLOTS || !GrBitmapTable.slot[slot].bitmap) {
        status = 2;
        return;
    }
    if (GrGdiContext.dc && GrGdiContext.bitmap == slot) {
        status = 3;
        return;
    }
    WinSlot& s = WIN_TABLE.slot[n];
    WinRecord* existing = win_record(s.frame);
    if (existing && existing->kind != RECORD_BITMAP_VIEWER) {
        status = 4;
        return;
    }
    status = 0;
    if (existing) {
        WBitmapViewSet(*existing, s.frame, slot, scroll_x, scroll_y);
        InvalidateRect(existing->inner, nullptr, FALSE);
        UpdateWindow(existing->inner);
        return;
    }
    if ((GetWindowLongA(s.frame, GWL_STYLE) & WS_CHILD) && mode != 2) {
        mode = 2;
        status = 5;
    }
    if (has_child_windows(n)) {
        status = 9;
        return;
    }
    if (!register_viewer_class()) {
        status = 6;
        return;
    }
    auto* r = new WinRecord{};
    r->kind = RECORD_BITMAP_VIEWER;
    r->mode = mode;
    r->status_bar = s.status_bar;
    if (mode == 1) {
        HMENU menu = GetMenu(s.frame);
        if (menu) {
            SetMenu(s.frame, nullptr);
            DestroyMenu(menu);
        }
        s.menu = nullptr;
        s.accelerators = nullptr;
        for (HWND& bar : s.toolbars) {
            if (bar)
                DestroyWindow(bar);
            bar = nullptr;
        }
    } else {
        for (int i = 0; i < 4; ++i)
            r->toolbars[i] = s.toolbars[i];
    }
    RECT c;
    GetWindowRect(s.client, &c);
    MapWindowPoints(nullptr, s.frame, reinterpret_cast<POINT*>(&c), 2);
    r->inner = CreateWindowExA(
        0, VIEWER_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, c.left, c.top,
        c.right - c.left, c.bottom - c.top, s.frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(VIEWER_ID)),
        GetModuleHandleA(nullptr), nullptr);
    if (!r->inner) {
        delete r;
        status = 6;
        return;
    }
    SetWindowLongPtrA(r->inner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));
    SetWindowLongPtrA(s.frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));
    SetWindowLongPtrA(s.frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(viewer_frame_proc));
    if (mode == 1) {
        RECT f;
        GetClientRect(s.frame, &f);
        SendMessageA(s.frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(f.right, f.bottom));
    }
    WBitmapViewSet(*r, s.frame, slot, scroll_x, scroll_y);
    if (GetFocus() == s.client)
        SetFocus(r->inner);
    ShowWindow(s.client, SW_HIDE);
    UpdateWindow(r->inner);
    if (mode == 3)
        ++DIALOG_TABLE.semi_modeless;
    if (!IsWindowEnabled(s.frame)) {
        EnableWindow(s.frame, TRUE);
        SetFocus(r->inner);
    }
    ShowWindow(s.frame, SW_SHOW);
    if (mode == 1 || mode == 3)
        WWinDisableOthers(s.frame, true);
    if (mode != 1)
        return;
    HWND before = GetActiveWindow();
    run_modal(*r);
    delete r;
    // The window is gone: its slot and the slots of the windows it owned go with it.
    HWND frame = s.frame;
    if (WIN_CURRENT.window == n && WIN_CURRENT.dc) {
        ReleaseDC(s.client, WIN_CURRENT.dc);
        WIN_CURRENT.dc = nullptr;
    }
    for (int c2 = 1; c2 < WIN_SLOTS; ++c2)
        if (c2 != n && WIN_TABLE.slot[c2].frame && GetWindow(WIN_TABLE.slot[c2].frame, GW_OWNER) == frame)
            WIN_TABLE.slot[c2] = WinSlot{};
    WIN_TABLE.slot[n] = WinSlot{};
    if (WIN_CURRENT.window == n) {
        WIN_CURRENT.options[n] = -1;
        WWinMakeCurrent(0, true);
    }
    WWinEnableOthers(nullptr, true);
    HWND activate = before && IsWindow(before) ? before : WIN_TABLE.slot[0].frame;
    if (activate) {
        SetActiveWindow(activate);
        SetFocus(activate);
    }
}

void WBitmapViewInfo(int window, int option, int& value)
{
    value = 0;
    if (window < 1 || window >= WIN_SLOTS)
        return;
    const WinRecord* r = viewer_record(WIN_TABLE.slot[window].frame);
    if (!r)
        return;
    SCROLLINFO h = {sizeof h, SIF_ALL, 0, 0, 0, 0, 0};
    SCROLLINFO v = h;
    GetScrollInfo(r->inner, SB_HORZ, &h);
    GetScrollInfo(r->inner, SB_VERT, &v);
    switch (option) {
    case 3: value = r->bitmap_slot + 1; break;
    case 4: value = h.nPos; break;
    case 5: value = v.nPos; break;
    case 101: value = r->bitmap_width; break;
    case 102: value = r->bitmap_height; break;
    case 103:
        value = v.nPos + static_cast<int>(v.nPage);
        if (static_cast<int>(h.nPage) < r->bitmap_width)
            value += GetSystemMetrics(SM_CYHSCROLL);
        break;
    default: break;
    }
}

bool bitmap_in_view(int slot)
{
    for (int n = 1; n < WIN_SLOTS; ++n) {
        const WinRecord* r = viewer_record(WIN_TABLE.slot[n].frame);
        if (r && r->bitmap_slot == slot && r->bitmap)
            return true;
    }
    return false;
}

void IGrPixelToUser(float px, float py, float& x, float& y, int window)
{
    int a = 0, b = 0, h = 0, v = 0;
    WBitmapViewInfo(window, 101, a);
    WBitmapViewInfo(window, 102, b);
    WBitmapViewInfo(window, 4, h);
    WBitmapViewInfo(window, 103, v);
    const auto& A = GrArea;
    const auto& U = GrUnits;
    if (a <= 0 || b <= 0 || A.width == 0.0f || A.height == 0.0f || U.x2 == U.x1 || U.y2 == U.y1) {
        // Not a viewer (or a degenerate area): the plain conversion instead of a division by zero.
        IGrDeviceToUser(px, py, x, y);
        return;
    }
    x = static_cast<float>(
        ((h + double(px)) - a * double(A.x1)) / (a * double(A.width) / (double(U.x2) - U.x1)) + U.x1);
    y = static_cast<float>(
        ((b - v) + double(py) - b * double(A.y1)) / (b * double(A.height) / (double(U.y2) - U.y1)) + U.y1);
}
