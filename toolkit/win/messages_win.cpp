// Typed messages: the client window procedure raises toolkit messages from system events
// (WMsgPost), and WMsgConvert completes the record that the wait and poll hand out.
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/win/bitmap_viewer.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_palette_win.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_table_win.h"

WinCurrentMessage MSG_CURRENT;

namespace {

// A 16-bit event coordinate; values past the screen size are negative positions (left of or above the
// window).
int event_coordinate(int v, int screen)
{
    return v > screen ? v - 65536 : v;
}

// Pixels of the current window to window units 0..9999 (inverse of WGrUnitsToPixels).
int pixels_to_units(int p, int size)
{
    return size > 1 ? static_cast<int>(static_cast<long long>(p) * 9999 / (size - 1)) : 0;
}

bool is_modifier_only(WPARAM vk)
{
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_PAUSE || vk == VK_CAPITAL ||
           vk == VK_NUMLOCK || vk == VK_SCROLL;
}

// Copies a completed expose or resize into the window's pending record when no loop dispatches it.
void keep_pending(int n)
{
    if (n < 0 || (MSG_LOOP.in_loop && MSG_LOOP.paint_dispatch))
        return;
    if (!MSG_CURRENT.complete || (MSG_CURRENT.type != MsgExpose && MSG_CURRENT.type != MsgResize))
        return;
    WinPendingMessage& p = WIN_TABLE.slot[n].pending;
    if (MSG_CURRENT.type == MsgExpose && p.type == MsgResize)
        return;  // an expose does not overwrite a pending resize
    p = {MSG_CURRENT.type,  MSG_CURRENT.value1, MSG_CURRENT.value2, MSG_CURRENT.source_kind,
         MSG_CURRENT.field, MSG_CURRENT.x,      MSG_CURRENT.y,      MSG_CURRENT.time};
}

// Messages of dialog picture fields and picture dialogs (104..107, 116): the dialog's record names the
// field (word 11) and the button (word 13). Handed over as 4, 5, 6, 7 and 16 with source kind 1.
void post_picture_message(int type, WPARAM wp, LPARAM lp, HWND source)
{
    HWND dlg = dialog_record(source) ? source : GetParent(source);
    const DialogRecord* r = dialog_record(dlg);
    if (!r)
        return;
    WinCurrentMessage& m = MSG_CURRENT;
    m.type = type - PICTURE_MESSAGE_BASE;
    m.window = r->id;
    m.time = static_cast<int>(GetMessageTime());
    m.source_kind = 1;
    m.field = r->picture_field;
    if (type == PictureExpose) {
        m.value1 = m.value2 = m.x = m.y = -1;
    } else {
        m.value1 = type == PictureMouseMove ? -1 : r->mouse_button;
        m.value2 = WMsgMouseState(static_cast<int>(wp));
        m.x = event_coordinate(LOWORD(lp), WIN_SCREEN.width);
        m.y = event_coordinate(HIWORD(lp), WIN_SCREEN.height);
    }
    m.complete = true;
}

}  // namespace

void WMsgPost(int type, int value, WPARAM wp, LPARAM lp, HWND source)
{
    int base_type = type > PICTURE_MESSAGE_BASE ? type - PICTURE_MESSAGE_BASE : type;
    if (!WMsgEnableGet(base_type))
        return;
    if (type > PICTURE_MESSAGE_BASE) {
        // Only the picture types exist above the base; any other is dropped.
        if (type == PictureMouseDown || type == PictureMouseUp || type == PictureMouseMove ||
            type == PictureExpose || type == PictureDoubleClick)
            post_picture_message(type, wp, lp, source);
        return;
    }
    if (type == MsgResize && (wp == SIZE_MINIMIZED))
        return;
    int n = WWinFromHandle(source);
    if (type == MsgResize && source && !IsWindowVisible(source)) {
        // A hidden window raises nothing, but its size and drawing surface follow at once.
        if (n == WIN_CURRENT.window) {
            WIN_CURRENT.width = LOWORD(lp);
            WIN_CURRENT.height = HIWORD(lp);
        }
        IGrSurfaceResize(n, LOWORD(lp), HIWORD(lp));
        return;
    }
    // A bitmap viewer's control raises for its window, with source kind 2.
    const WinRecord* record = source ? win_record(GetParent(source)) : nullptr;
    const bool viewer = record && record->kind == RECORD_BITMAP_VIEWER && record->inner == source;
    WinCurrentMessage& m = MSG_CURRENT;
    m.type = base_type;
    m.window = n;
    m.time = static_cast<int>(GetMessageTime());
    m.value1 = -1;
    m.value2 = -1;
    m.source_kind = -1;
    m.field = -1;
    m.x = -1;
    m.y = -1;
    switch (base_type) {
    case MsgKey: {
        m.value1 = static_cast<int>(wp);  // the key code or the character
        m.source_kind = viewer ? 2 : 0;
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(source, &pt);
        m.x = pt.x;
        m.y = pt.y;
        break;
    }
    case MsgMenu: m.value1 = LOWORD(wp); break;
    case MsgMouseDown:
    case MsgMouseUp:
    case MsgDoubleClick:
    case MsgMouseMove:
        m.value1 = base_type == MsgMouseMove ? -1 : value;
        m.value2 = WMsgMouseState(static_cast<int>(wp));
        m.source_kind = viewer ? 2 : 0;
        m.x = event_coordinate(LOWORD(lp), WIN_SCREEN.width);
        m.y = event_coordinate(HIWORD(lp), WIN_SCREEN.height);
        break;
    case MsgExpose: {
        RECT r = {0, 0, 0, 0};
        if (wp)
            r = *reinterpret_cast<RECT*>(wp);
        m.source_kind = 0;
        m.x = r.left;
        m.y = r.top;
        m.value1 = r.right - r.left;
        m.value2 = r.bottom - r.top;
        break;
    }
    case MsgResize:
        m.value1 = LOWORD(lp);
        m.value2 = HIWORD(lp);
        break;
    case MsgTimer: m.value1 = static_cast<int>(wp); break;
    case MsgBitmapView:
        m.value1 = LOWORD(lp);
        m.value2 = HIWORD(lp);
        m.source_kind = 2;
        m.x = 0;
        m.y = 0;
        break;
    case MsgNonClientClick: m.value1 = value; break;
    default: break;
    }
    m.complete = true;
    keep_pending(n);
}

namespace {

// A client changes size: the minimised windows inside it and inside its frame's parent are lined up
// again, and the client is repainted at once (not its children).
void client_resized(HWND client, HWND frame)
{
    ArrangeIconicWindows(client);
    if (HWND parent = GetParent(frame))
        ArrangeIconicWindows(parent);
    RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW);
}

// The maximised child windows inside a client that changed size are maximised again, to fill it: a
// maximised frame stands its border's width outside the client on every side.
void follow_maximised_children(HWND client)
{
    RECT c;
    GetClientRect(client, &c);
    for (int n = 1; n < WIN_SLOTS; ++n) {
        HWND f = WIN_TABLE.slot[n].frame;
        if (!f || GetParent(f) != client || !IsZoomed(f))
            continue;
        RECT r;
        GetWindowRect(f, &r);
        MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
        int border_x = -r.left;
        int border_y = -r.top;
        SetWindowPos(f, nullptr, r.left, r.top, c.right + 2 * border_x, c.bottom + 2 * border_y,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

void post_button_down(UINT msg, WPARAM wp, LPARAM lp, HWND source)
{
    SetCapture(source);
    bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK;
    int button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? 1
                 : (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK) ? 2
                                                                      : 3;
    WMsgPost(dbl && WMsgEnableGet(MsgDoubleClick) ? MsgDoubleClick : MsgMouseDown, button, wp, lp, source);
}

void WMsgConvert(int type, WinMessage& msg)
{
    // The message's source becomes the drawing target for the conversion, marked as re-selected by the
    // toolkit so that the hardcopy device is not told; the kept target and window come back afterwards.
    const int keep_kind = GrTarget.kind;
    const int keep_number = GrTarget.number;
    const int keep_window = WIN_CURRENT.window;
    const int keep_dialog = DIALOG_TABLE.current_slot;
    const bool field_message = msg.source_kind == 1;
    const bool window_message =
        !field_message && msg.window >= 0 && msg.window < WIN_SLOTS && WIN_TABLE.slot[msg.window].client;
    bool switched = false;
    if (field_message) {
        // A picture field of the dialog that raised the message (which need not be the current one).
        int slot = WDialogSlotFromId(msg.window);
        if (slot >= 1 && msg.field >= 0 &&
            !(keep_kind == 3 && keep_number == msg.field && keep_dialog == slot)) {
            DIALOG_TABLE.current_slot = slot;
            GrTarget.reselect = 1;
            gr_select_target(3, msg.field);
            switched = true;
        }
    } else if (window_message &&
               (type == MsgKey || type == MsgMenu || type == MsgMouseDown || type == MsgMouseUp ||
                type == MsgMouseMove || type == MsgExpose || type == MsgResize || type == MsgCloseRequest ||
                type == MsgNonClientClick || type == MsgDoubleClick) &&
               !(keep_kind == 1 && keep_number == msg.window && WIN_CURRENT.window == msg.window)) {
        GrTarget.reselect = 1;
        gr_select_target(1, msg.window);
        switched = true;
    }
    const int width = WIN_CURRENT.width;
    const int height = WIN_CURRENT.height;
    // Pixel (x, y), rows downwards, to user units of the surface: scroll-aware for a bitmap viewer.
    auto to_user = [&](int x, int y, float& ux, float& uy) {
        const auto px = static_cast<float>(x + 0.5);
        const auto py = static_cast<float>((GrSurface.height - 1 - y) + 0.5);
        if (msg.source_kind == 2)
            IGrPixelToUser(px, py, ux, uy, msg.window);
        else
            IGrDeviceToUser(px, py, ux, uy);
    };
    switch (type) {
    case MsgKey:
    case MsgMouseDown:
    case MsgMouseUp:
    case MsgMouseMove:
    case MsgDoubleClick:
    case MsgBitmapView:
        if (!window_message && !field_message)
            break;
        to_user(msg.x, msg.y, msg.user_x, msg.user_y);
        if (!field_message && type != MsgBitmapView) {
            msg.x = pixels_to_units(msg.x, width);
            msg.y = pixels_to_units(msg.y, height);
        }
        break;
    case MsgExpose: {
        if (!window_message)
            break;  // a picture's expose carries no area
        to_user(msg.x, msg.y, msg.user_x, msg.user_y);
        IGrDeviceToUser(static_cast<float>(msg.value1 + 0.5), static_cast<float>(msg.value2 + 0.5), msg.x2,
                        msg.y2);
        int x2 = pixels_to_units(msg.x + msg.value1 - 1, width);
        int y2 = pixels_to_units(msg.y + msg.value2 - 1, height);
        msg.x = pixels_to_units(msg.x, width);
        msg.y = pixels_to_units(msg.y, height);
        msg.value1 = x2 - msg.x;
        msg.value2 = y2 - msg.y;
        break;
    }
    case MsgResize:
        if (window_message && msg.window == WIN_CURRENT.window) {
            WIN_CURRENT.width = msg.value1;
            WIN_CURRENT.height = msg.value2;
            IGrSurfaceResize(msg.window, msg.value1, msg.value2);
        }
        break;
    default: break;
    }
    if (switched) {
        DIALOG_TABLE.current_slot = keep_dialog;
        if (keep_kind == 1) {
            gr_select_target(1, keep_window);
        } else {
            WWinMakeCurrent(keep_window, false);
            if (keep_kind == 2 || keep_kind == 3)
                gr_select_target(keep_kind, keep_number);
        }
    }
    GrTarget.reselect = 0;
}

LRESULT CALLBACK WWinClientProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND frame = GetParent(hwnd);
    switch (msg) {
    case WM_KEYDOWN: {
        if (is_modifier_only(wp))
            return 0;
        // The loop translated the key before dispatching it, so the character it makes (if any) waits
        // in the queue: take it out so that one key gives one message.
        MSG next;
        if (PeekMessageA(&next, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
            if (wp >= VK_NUMPAD0 && wp <= VK_DIVIDE)
                WMsgPost(MsgKey, 1, WMsgKeyCode(static_cast<int>(wp), KEY_OFFSET_NONE), lp, hwnd);
            else if (wp == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000))
                WMsgPost(MsgKey, 1, WMsgKeyCode(VK_TAB, KEY_OFFSET_SHIFT), lp, hwnd);
            else
                WMsgPost(MsgKey, 0, next.wParam, lp, hwnd);
        } else {
            int offset = (GetKeyState(VK_CONTROL) & 0x8000) ? KEY_OFFSET_CTRL
                         : (GetKeyState(VK_SHIFT) & 0x8000) ? KEY_OFFSET_SHIFT
                                                            : KEY_OFFSET_NONE;
            WMsgPost(MsgKey, 1, WMsgKeyCode(static_cast<int>(wp), offset), lp, hwnd);
        }
        return 0;
    }
    case WM_CHAR: WMsgPost(MsgKey, 0, wp, lp, hwnd); return 0;
    case WM_SYSCHAR: return SendMessageA(frame, msg, wp, lp);
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        post_button_down(msg, wp, lp, hwnd);
        BringWindowToTop(frame);
        WWinActivate(frame);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        ReleaseCapture();
        WMsgPost(MsgMouseUp, msg == WM_LBUTTONUP ? 1 : msg == WM_MBUTTONUP ? 2 : 3, wp, lp, hwnd);
        return 0;
    case WM_MOUSEMOVE: WMsgPost(MsgMouseMove, 0, wp, lp, hwnd); return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wp) != hwnd)
            gl_realise_palettes(hwnd);
        return 0;
    case WM_QUERYNEWPALETTE: gl_realise_palettes(hwnd); return TRUE;
    case WM_PAINT: {
        gl_realise_palettes(hwnd);
        if (snapshot_paint_window(hwnd))
            return 0;  // painted from the snapshot; nothing is raised while a modal box is up
        RECT r;
        if (GetUpdateRect(hwnd, &r, FALSE)) {
            WMsgPost(MsgExpose, 0, reinterpret_cast<WPARAM>(&r), lp, hwnd);
        }
        ValidateRect(hwnd, nullptr);
        return 0;
    }
    case WM_SIZE:
        client_resized(hwnd, frame);
        WMsgPost(MsgResize, 0, wp, lp, hwnd);
        follow_maximised_children(hwnd);
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        WMsgPost(MsgNonClientClick,
                 msg == WM_NCLBUTTONDOWN   ? 1
                 : msg == WM_NCMBUTTONDOWN ? 2
                                           : 3,
                 wp, lp, hwnd);
        BringWindowToTop(frame);
        WWinActivate(frame);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE)
            WWinActivate(frame);
        break;
    case WM_SETFOCUS: {
        WIN_TABLE.default_owner = frame;
        DIALOG_TABLE.active = nullptr;
        WIN_ACTIVE_DIALOG = nullptr;
        if (frame != WIN_TABLE.slot[0].frame || !WIN_TABLE.main_hidden)
            BringWindowToTop(frame);
        // A window combined with a dialog hands the focus on to the dialog, which becomes active.
        const WinRecord* r = win_record(frame);
        if (r && r->kind == RECORD_WITH_DIALOG && r->inner) {
            if (!IsChild(r->inner, GetFocus()))
                SetFocus(r->inner);
            DIALOG_TABLE.active = r->inner;
            WIN_ACTIVE_DIALOG = r->inner;
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (WIN_TABLE.client_cursor && LOWORD(lp) == HTCLIENT) {
            SetCursor(WIN_TABLE.client_cursor);
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wp == TIMED_WAIT_TIMER) {
            KillTimer(hwnd, TIMED_WAIT_TIMER);
            MSG_LOOP.timed_wait_done = true;
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}
