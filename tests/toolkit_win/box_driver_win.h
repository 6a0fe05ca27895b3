// Test helpers that answer message boxes as a person would, and run this test program again as a
// child process for the cases that end the process.
#ifndef QR4T_TESTS_TOOLKIT_WIN_BOX_DRIVER_WIN_H
#define QR4T_TESTS_TOOLKIT_WIN_BOX_DRIVER_WIN_H

#include <windows.h>

#include <string>

// What a box showed, and whether it was found.
struct BoxSeen {
    bool found = false;
    std::string text;       // its message (the static texts, joined by "|")
    bool has_icon = false;  // an icon is shown beside the message
};

inline BOOL CALLBACK collect_box_text(HWND child, LPARAM lp)
{
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        auto* seen = reinterpret_cast<BoxSeen*>(lp);
        if (text[0] != '\0') {
            if (!seen->text.empty())
                seen->text += '|';
            seen->text += text;
        }
        if ((GetWindowLongA(child, GWL_STYLE) & SS_ICON) == SS_ICON)
            seen->has_icon = true;
    }
    return TRUE;
}

// Waits up to `seconds` for a dialog box with the title, reads it and presses the button (IDOK,
// IDCANCEL).
inline BoxSeen answer_box(const char* title, int button, int seconds = 20)
{
    BoxSeen seen;
    for (int i = 0; i < seconds * 20; ++i) {
        HWND box = FindWindowA("#32770", title);
        if (box && IsWindowVisible(box)) {
            seen.found = true;
            EnumChildWindows(box, collect_box_text, reinterpret_cast<LPARAM>(&seen));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
            return seen;
        }
        Sleep(50);
    }
    return seen;
}

// Starts this test program running one (disabled) test; the child inherits the environment.
inline HANDLE start_child_test(const std::string& test_name)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = "\"";
    cmd += exe;
    cmd += "\" --gtest_also_run_disabled_tests --gtest_filter=";
    cmd += test_name;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Waits for a child to end; returns its exit code, or -1 when it did not end in time.
inline int child_exit_code(HANDLE process, int seconds = 30)
{
    if (WaitForSingleObject(process, static_cast<DWORD>(seconds) * 1000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
        CloseHandle(process);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

// Runs one disabled test of this program as a child, answers the box it shows, and waits for its end.
struct ChildRun {
    BoxSeen box;
    int exit_code = -1;  // -1 when the child could not start or did not end in time
};

inline ChildRun run_child_answering(const std::string& test_name, const char* title, int button)
{
    ChildRun run;
    HANDLE child = start_child_test(test_name);
    if (!child)
        return run;
    run.box = answer_box(title, button);
    run.exit_code = child_exit_code(child);
    return run;
}

#endif
