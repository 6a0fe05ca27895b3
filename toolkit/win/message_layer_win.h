// The message layer of the toolkit's windows (messages_win.cpp, message_loop_win.cpp): the message
// under construction, the held field change, the flags of the wait and poll, and the calls by which the
// window procedures raise messages.
#ifndef QR4T_TOOLKIT_WIN_MESSAGE_LAYER_WIN_H
#define QR4T_TOOLKIT_WIN_MESSAGE_LAYER_WIN_H

#include "toolkit/win/entry.h"

#include <windows.h>

// A picture field's (or picture dialog's) events are raised as 100 + their message type, so that the
// message layer completes them with the dialog and field instead of the window.
constexpr int PICTURE_MESSAGE_BASE = 100;
enum PictureMessage : int {
    PictureMouseDown = PICTURE_MESSAGE_BASE + MsgMouseDown,
    PictureMouseUp = PICTURE_MESSAGE_BASE + MsgMouseUp,
    PictureMouseMove = PICTURE_MESSAGE_BASE + MsgMouseMove,
    PictureExpose = PICTURE_MESSAGE_BASE + MsgExpose,
    PictureDoubleClick = PICTURE_MESSAGE_BASE + MsgDoubleClick,
};

// Raises a toolkit message from a window procedure. `value`: button number, or 1 when the key value is
// a virtual key with modifier offset, 0 a character.
void WMsgPost(int type, int value, WPARAM wp, LPARAM lp, HWND source);

// A button-down or double-click event of a client or viewer: the mouse is captured and MsgMouseDown
// (MsgDoubleClick for a double click while type 16 is enabled) raised with button 1, 2 or 3.
void post_button_down(UINT msg, WPARAM wp, LPARAM lp, HWND source);

// The message under construction and its completion state.
struct WinCurrentMessage {
    int type = -1;
    int window = 0;
    int value1 = 0;
    int value2 = 0;
    int source_kind = -1;
    int field = -1;
    int x = 0;
    int y = 0;
    int time = 0;
    bool complete = false;
};

extern WinCurrentMessage MSG_CURRENT;
// MsgHeldFieldChange: a field change completed after another message of the same wait or poll; the
// next wait or poll delivers it first (type 0 = empty).
extern WinCurrentMessage MSG_HELD;

// Flags of the wait and poll.
struct WinLoopState {
    bool in_loop = false;         // a wait or poll is dispatching
    bool paint_dispatch = false;  // the loop itself dispatches WM_PAINT or WM_SIZE
    bool drop_caret_timer = true;
    bool timed_wait_done = false;
};

extern WinLoopState MSG_LOOP;

// The loaded modeless dialog that was last activated: the loops offer it keyboard messages first.
extern HWND WIN_ACTIVE_DIALOG;

// Completes a record for the application: positions to window units, sizes of the current window.
void WMsgConvert(int type, WinMessage& message);

// Id of the system timer on the main client that ends a timed wait (the client's procedure kills it
// and marks the wait done).
constexpr UINT_PTR TIMED_WAIT_TIMER = 999;

// A system timer on the main frame whose expiry raises MsgTimer with the id; a timed wait of n * 10 ms.
int WWinTimerSet(int milliseconds, int id);
int WWinTimedWait(int n);

// Clears every window's pending record.
void clear_pending_messages();

#endif
