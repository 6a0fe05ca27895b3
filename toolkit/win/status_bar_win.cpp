// The status bar of the current window: part widths and styles, and the texts of its parts.
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr int MAX_STATUS_PARTS = 255;
constexpr int STYLE_NO_BORDERS = 256;  // SBT_NOBORDERS
constexpr int STYLE_POP_OUT = 512;     // SBT_POPOUT

// Stored widths in pixels of the parts of each window's status bar (the styles live in WinTable).
int part_widths[WIN_SLOTS][MAX_STATUS_PARTS] = {};

HWND current_status_bar()
{
    int n = WIN_CURRENT.window;
    return n >= 0 && n < WIN_SLOTS ? WIN_TABLE.slot[n].status_bar : nullptr;
}

std::string trimmed(std::string_view s)
{
    size_t end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

}  // namespace

void WWinStatusBarPart(int part, int width, int style)
{
    int n = WIN_CURRENT.window;
    if (part < 1 || part > MAX_STATUS_PARTS || n < 0 || n >= WIN_SLOTS)
        return;
    part_widths[n][part - 1] = width;
    WIN_TABLE.slot[n].status_part_styles[part - 1] = style == 0   ? STYLE_NO_BORDERS
                                                     : style == 2 ? STYLE_POP_OUT
                                                                  : 0;
}

void WWinStatusBarParts(int count)
{
    HWND bar = current_status_bar();
    if (!bar || count < 1 || count > MAX_STATUS_PARTS)
        return;
    int n = WIN_CURRENT.window;
    // The system takes the right edge of each part; a part without a width runs to the bar's end.
    int edges[MAX_STATUS_PARTS];
    int right = 0;
    for (int i = 0; i < count; ++i) {
        int w = part_widths[n][i];
        right += w > 0 ? w : 0;
        edges[i] = w > 0 ? right : -1;
    }
    SendMessageA(bar, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges));
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(LOWORD(length)) + 1, '\0');
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(i | WIN_TABLE.slot[n].status_part_styles[i]),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
}

void WWinStatusBarSet(int part, std::string_view text)
{
    HWND bar = current_status_bar();
    if (!bar || part < 1 || part > MAX_STATUS_PARTS)
        return;
    std::string copy(text);
    int style = WIN_TABLE.slot[WIN_CURRENT.window].status_part_styles[part - 1];
    SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>((part - 1) | style),
                 reinterpret_cast<LPARAM>(copy.c_str()));
    UpdateWindow(bar);
}

void WWinStatusBarText(int part, std::string_view text)
{
    if (part < 1 || part > MAX_STATUS_PARTS)
        return;
    WWinStatusBarSet(part, trimmed(text));
}
