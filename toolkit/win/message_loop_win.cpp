// Waiting and polling: the system message loop of the whole process, which stops as soon as a window
// procedure has completed a toolkit message. Exposes and resizes completed outside a loop wait in the
// windows' pending records and come out first.
#include "toolkit/win/entry.h"
#include "toolkit/win/menus_win.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/window_table_win.h"

WinLoopState MSG_LOOP;
WinCurrentMessage MSG_HELD = {0, 0, 0, 0, -1, -1, 0, 0, 0, false};
HWND WIN_ACTIVE_DIALOG = nullptr;

namespace {

constexpr UINT CARET_BLINK_TIMER_MSG = 0x118;
constexpr WPARAM CARET_BLINK_TIMER_ID = 0xFFF6;

void fill(WinMessage& m, int window, int v1, int v2, int kind, int field, int x, int y, int time)
{
    m.window = window;
    m.value1 = v1;
    m.value2 = v2;
    m.source_kind = kind;
    m.field = field;
    m.x = x;
    m.y = y;
    m.time = time;
}

// Both loops first ask the windows: the first window with a pending record delivers it.
bool take_pending(int& type, WinMessage& m)
{
    for (int n = 0; n < WIN_SLOTS; ++n) {
        WinSlot& s = WIN_TABLE.slot[n];
        if (!s.client || s.pending.type <= 0)
            continue;
        WinPendingMessage p = s.pending;
        s.pending = WinPendingMessage{};
        type = p.type;
        if (p.type == MsgExpose) {
            int w, h;
            client_size(n, w, h);
            fill(m, n, w, h, 0, -1, 0, 0, p.time);
        } else {
            fill(m, n, p.value1, p.value2, p.source_kind, p.field, p.x, p.y, p.time);
        }
        return true;
    }
    return false;
}

// Then, in both loops, a held field change is delivered as stored.
bool take_held(int& type, WinMessage& m)
{
    if (MSG_HELD.type <= 0)
        return false;
    const WinCurrentMessage h = MSG_HELD;
    MSG_HELD.type = 0;
    type = h.type;
    fill(m, h.window, h.value1, h.value2, h.source_kind, h.field, h.x, h.y, h.time);
    return true;
}

// Keyboard routing of child windows with their own keyboard handling (kind 1) and of grid windows
// (kind 4): the first such frame found from the message's window through at most three ancestors
// translates the message with its two accelerator tables, a kind-1 window then offers it to its
// dialog, and only then is it translated and dispatched.
bool route_own_keyboard(MSG& msg)
{
    HWND w = msg.hwnd;
    for (int up = 0; w && up <= 3; ++up, w = GetParent(w)) {
        if (GetClassLongA(w, GCW_ATOM) != WIN_TABLE.child_class)
            continue;
        const WinRecord* r = win_record(w);
        if (!r || (r->kind != RECORD_OWN_KEYS && r->kind != RECORD_GRID))
            return false;
        for (HACCEL table : r->accelerators)
            if (table && TranslateAcceleratorA(w, table, &msg))
                return true;
        if (r->kind == RECORD_OWN_KEYS && r->inner && IsDialogMessageA(r->inner, &msg))
            return true;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        return true;
    }
    return false;
}

// Routes one system message: the active modeless dialog first, then a child window with its own
// keyboard handling, then dispatch.
void route(MSG& msg)
{
    if (WIN_ACTIVE_DIALOG &&
        (translate_dialog_accelerators(WIN_ACTIVE_DIALOG, msg) || IsDialogMessageA(WIN_ACTIVE_DIALOG, &msg)))
        return;
    if (route_own_keyboard(msg))
        return;
    if (msg.message == CARET_BLINK_TIMER_MSG && msg.wParam == CARET_BLINK_TIMER_ID &&
        MSG_LOOP.drop_caret_timer)
        return;
    if (translate_window_accelerators(msg))
        return;
    TranslateMessage(&msg);
    MSG_LOOP.paint_dispatch = msg.message == WM_PAINT || msg.message == WM_SIZE;
    DispatchMessageA(&msg);
    MSG_LOOP.paint_dispatch = false;
}

// Last: copy the completed message out; two exposes of one window become the whole client area.
void deliver(int& type, WinMessage& m)
{
    const WinCurrentMessage& c = MSG_CURRENT;
    type = c.type;
    fill(m, c.window, c.value1, c.value2, c.source_kind, c.field, c.x, c.y, c.time);
    if (c.window >= 0 && c.window < WIN_SLOTS &&
        (type == MsgResize || (type == MsgExpose && c.source_kind == 0))) {
        WinPendingMessage& p = WIN_TABLE.slot[c.window].pending;
        if (type == MsgExpose && p.type == MsgExpose) {
            int w, h;
            client_size(c.window, w, h);
            m.x = 0;
            m.y = 0;
            m.value1 = w;
            m.value2 = h;
        }
        p = WinPendingMessage{};
    }
}

}  // namespace

void clear_pending_messages()
{
    for (WinSlot& s : WIN_TABLE.slot)
        s.pending = WinPendingMessage{};
}

void WMsgWait(int& type, WinMessage& message)
{
    MSG_LOOP.in_loop = true;
    if (take_pending(type, message) || take_held(type, message)) {
        MSG_LOOP.in_loop = false;
        WMsgConvert(type, message);
        return;
    }
    MSG_CURRENT.complete = false;
    MSG msg;
    while (!MSG_CURRENT.complete) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT or a failure: report a close request so that the application ends.
            MSG_CURRENT.type = MsgCloseRequest;
            MSG_CURRENT.window = 0;
            MSG_CURRENT.complete = true;
            break;
        }
        route(msg);
    }
    deliver(type, message);
    MSG_LOOP.in_loop = false;
    WMsgConvert(type, message);
}

void WMsgPeek(int& type, WinMessage& message)
{
    MSG_LOOP.in_loop = true;
    if (take_pending(type, message) || take_held(type, message)) {
        MSG_LOOP.in_loop = false;
        WMsgConvert(type, message);
        return;
    }
    MSG_CURRENT.complete = false;
    MSG_CURRENT.type = MsgNone;
    MSG msg;
    while (!MSG_CURRENT.complete && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        route(msg);
    MSG_LOOP.in_loop = false;
    if (!MSG_CURRENT.complete) {
        type = MsgNone;
        message.window = message.value1 = message.value2 = message.source_kind = -1;
        message.field = message.x = message.y = message.time = -1;
        return;
    }
    deliver(type, message);
    WMsgConvert(type, message);
}

int WWinTimerSet(int milliseconds, int id)
{
    return static_cast<int>(SetTimer(WIN_TABLE.slot[0].frame, static_cast<UINT_PTR>(id),
                                     static_cast<UINT>(milliseconds), nullptr));
}

int WWinTimedWait(int n)
{
    HWND client = WIN_TABLE.slot[0].client;
    if (!client || !SetTimer(client, TIMED_WAIT_TIMER, static_cast<UINT>(n) * 10, nullptr))
        return 0;
    MSG_LOOP.timed_wait_done = false;
    MSG msg;
    while (!MSG_LOOP.timed_wait_done && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 1;
}
