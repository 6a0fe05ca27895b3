// The screen channels of the error report: the main window's status bar (mode 3) and the
// "Library Error" box (mode 4), and the abnormal exit's box. The error report reaches them through
// ERROR_SCREEN_HOOKS (toolkit/common/error_state.h).
#include "toolkit/win/lower_layer_hooks_win.h"

#include "toolkit/win/entry.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/window_info.h"

#include <windows.h>
#include <commctrl.h>

namespace {

struct MainWindowSearch {
    HWND frame = nullptr;       // the toolkit's main window (class "VUVUZUVODER") of this thread
    HWND status_bar = nullptr;  // its status bar, when it has one
};

BOOL CALLBACK find_status_bar(HWND child, LPARAM lp)
{
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    auto* s = reinterpret_cast<MainWindowSearch*>(lp);
    if (lstrcmpiA(cls, STATUSCLASSNAMEA) == 0 && GetParent(child) == s->frame) {
        s->status_bar = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK find_main_window(HWND hwnd, LPARAM lp)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    // The hidden start-up window has the same class: take the visible one.
    if (lstrcmpiA(cls, "VUVUZUVODER") == 0 && IsWindowVisible(hwnd)) {
        auto* s = reinterpret_cast<MainWindowSearch*>(lp);
        s->frame = hwnd;
        EnumChildWindows(hwnd, find_status_bar, lp);
        return FALSE;
    }
    return TRUE;
}

MainWindowSearch main_window()
{
    MainWindowSearch s;
    EnumThreadWindows(GetCurrentThreadId(), find_main_window, reinterpret_cast<LPARAM>(&s));
    return s;
}

}  // namespace

void error_status_bar_write(const std::string& text)
{
    // Part 1 of the status bar is the system's part 0. Without a status bar nothing is written.
    MainWindowSearch s = main_window();
    if (s.status_bar)
        SendMessageA(s.status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int error_box_answer(const std::string& text)
{
    // The toolkit's own message box (OK and Cancel, exclamation mark, OK the default): it disables the
    // program's windows, which paint from their snapshots meanwhile, and keeps the answer as the last
    // message-box answer, where the report reads it back.
    WMessageBox(1, 3, 1, text, "Library Error");
    return WDialogInfo(4);
}

void error_stop_box(std::string_view title, std::string_view text)
{
    IOsMessageStop(title, text);
}
