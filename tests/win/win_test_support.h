// Helpers of the Win32 toolkit tests: the main window that every suite of this program shares, and
// polls that empty the queue or wait for one message type.
#ifndef QR4T_TESTS_WIN_WIN_TEST_SUPPORT_H
#define QR4T_TESTS_WIN_WIN_TEST_SUPPORT_H

#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

#include <string>

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

// Starts the UI driver (uidriver.exe in the build folder) with its steps; the process handle, or null.
inline HANDLE start_uidriver(const std::string& steps)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    for (int up = 0; up < 3; ++up)
        dir = dir.substr(0, dir.find_last_of("\\/"));
    std::string exe = dir + "\\uidriver.exe";
    std::string cmd = "\"" + exe + "\" " + steps;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Waits for the UI driver to end (at most 20 s) and returns its exit status (9 when it did not end).
inline DWORD finish_uidriver(HANDLE process)
{
    if (!process)
        return 99;
    WaitForSingleObject(process, 20000);
    DWORD code = 9;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

#endif
