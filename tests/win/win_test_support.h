// Helpers of the Win32 toolkit tests: the main window that every suite of this program shares, and
// polls that empty the queue or wait for one message type.
#ifndef QR4T_TESTS_WIN_WIN_TEST_SUPPORT_H
#define QR4T_TESTS_WIN_WIN_TEST_SUPPORT_H

#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

// Opens the main window once, with the client size the window tests expect.
inline void open_test_main_window()
{
    if (WIN_CURRENT.main_open == -1)
        return;
    WinOpenRecord r;
    r.flags = 0x43;
    r.width = 1020;
    r.height = 718;
    r.title = "QR4T window test";
    WWinOpen(r);
}

// Empties the queue and the pending records.
inline void drain_messages()
{
    int type = 0;
    WinMessage m;
    for (int i = 0; i < 200; ++i) {
        WMsgPeek(type, m);
        if (type == MsgNone)
            break;
    }
}

// Polls until a message of the type arrives, at most 100 polls.
inline bool poll_for(int wanted, WinMessage& m)
{
    int type = 0;
    for (int i = 0; i < 100; ++i) {
        WMsgPeek(type, m);
        if (type == wanted)
            return true;
    }
    return false;
}

#endif
