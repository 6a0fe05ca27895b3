// The handling that the dialog manager puts in front of the system's own controls: Ctrl+A in edit
// fields; buttons, trackbars and tree views that tell the dialog when they get the focus; push buttons
// that give the focus back to a refused numeric field that waited on them; the selection keys of
// trackbars; disabled tabs of tab controls; spin arrows that give the focus to their field. Each
// field keeps its own procedure and gets every message after this handling.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/grid_fields_win.h"

#include <commctrl.h>

#include <map>
#include <string>

namespace {

// The procedures that the handling sits in front of, by field.
std::map<HWND, WNDPROC> BASE_PROCS;

// The trackbar position at which Shift was pressed; -1 none.
int trackbar_anchor = -1;

// The dialog's notice that a field got the focus (code 0x100): it becomes the current field.
void notify_focus(HWND f, WORD code)
{
    SendMessageA(GetParent(f), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f), code), reinterpret_cast<LPARAM>(f));
}

bool ctrl_down()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

// ---- trackbars with a selection range

void trackbar_select_from_anchor(HWND f)
{
    const LRESULT pos = SendMessageA(f, TBM_GETPOS, 0, 0);
    const LRESULT low = pos < trackbar_anchor ? pos : trackbar_anchor;
    const LRESULT high = pos < trackbar_anchor ? trackbar_anchor : pos;
    SendMessageA(f, TBM_SETSELSTART, FALSE, low);
    SendMessageA(f, TBM_SETSELEND, TRUE, high);
}

}  // namespace

void trackbar_shift_selection(HWND f)
{
    if ((GetWindowLongA(f, GWL_STYLE) & TBS_ENABLESELRANGE) && trackbar_anchor >= 0 &&
        GetKeyState(VK_SHIFT) < 0)
        trackbar_select_from_anchor(f);
}

namespace {

// Returns true when the key is taken here and not passed on.
bool trackbar_key(HWND f, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!(GetWindowLongA(f, GWL_STYLE) & TBS_ENABLESELRANGE))
        return false;
    if (msg == WM_KEYDOWN) {
        if (wp == VK_SHIFT) {
            if (!(lp & 0x40000000))  // not a repeat
                trackbar_anchor = static_cast<int>(SendMessageA(f, TBM_GETPOS, 0, 0));
            return false;
        }
        if (wp == VK_DELETE) {
            SendMessageA(f, TBM_CLEARSEL, TRUE, 0);
            return true;
        }
        if (wp == 'A' && ctrl_down()) {
            SendMessageA(f, TBM_SETSELSTART, FALSE, SendMessageA(f, TBM_GETRANGEMIN, 0, 0));
            SendMessageA(f, TBM_SETSELEND, TRUE, SendMessageA(f, TBM_GETRANGEMAX, 0, 0));
            return true;
        }
    } else if (msg == WM_KEYUP && wp == VK_SHIFT) {
        if (SendMessageA(f, TBM_GETSELSTART, 0, 0) == SendMessageA(f, TBM_GETSELEND, 0, 0))
            SendMessageA(f, TBM_CLEARSEL, TRUE, 0);
        trackbar_anchor = -1;
    }
    return false;
}

// ---- tab controls: a tab's data word holds the page dialog id (low 32 bits) and the disabled flag

bool tab_disabled(HWND tab, int index)
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return false;
    return (static_cast<unsigned long long>(item.lParam) >> 32) != 0;
}

bool any_tab_disabled(HWND tab)
{
    const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        if (tab_disabled(tab, i))
            return true;
    return false;
}

// Selects a tab as a click on it would: the dialog hears the change before and after.
void select_tab(HWND tab, int index)
{
    HWND dlg = GetParent(tab);
    NMHDR n = {tab, static_cast<UINT_PTR>(GetDlgCtrlID(tab)), static_cast<UINT>(TCN_SELCHANGING)};
    if (SendMessageA(dlg, WM_NOTIFY, n.idFrom, reinterpret_cast<LPARAM>(&n)))
        return;
    SendMessageA(tab, TCM_SETCURSEL, index, 0);
    n.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageA(dlg, WM_NOTIFY, n.idFrom, reinterpret_cast<LPARAM>(&n));
}

// Left and Right go to the nearest enabled tab on that side.
void tab_step(HWND tab, int direction)
{
    const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    int i = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    for (i += direction; i >= 0 && i < n; i += direction) {
        if (!tab_disabled(tab, i)) {
            select_tab(tab, i);
            return;
        }
    }
}

// The labels of disabled tabs, drawn embossed in grey over what the control painted.
void paint_disabled_tabs(HWND tab)
{
    const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    int first = 0;
    while (first < n && !tab_disabled(tab, first))
        ++first;
    if (first == n)
        return;
    WindowDc window_dc(tab);
    HDC dc = window_dc.get();
    if (!dc)
        return;
    Selection font(dc, reinterpret_cast<HFONT>(SendMessageA(tab, WM_GETFONT, 0, 0)));
    for (int i = first; i < n; ++i) {
        if (!tab_disabled(tab, i))
            continue;
        char text[256] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        RECT r;
        SendMessageA(tab, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        InflateRect(&r, -3, -2);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        SIZE size = {};
        const int length = lstrlenA(text);
        GetTextExtentPoint32A(dc, text, length, &size);
        const int x = r.left + (r.right - r.left - size.cx) / 2;
        const int y = r.top + (r.bottom - r.top - size.cy) / 2;
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), length, x, y, size.cx, size.cy,
                   DST_TEXT | DSS_DISABLED);
    }
}

// Returns true when the message is taken here and not passed on.
bool tab_message(HWND tab, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TCHITTESTINFO hit = {{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, 0};
        const int i = static_cast<int>(SendMessageA(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        return i >= 0 && tab_disabled(tab, i);
    }
    case WM_KEYDOWN:
        if (wp == VK_LEFT || wp == VK_RIGHT) {
            tab_step(tab, wp == VK_LEFT ? -1 : 1);
            return true;
        }
        return (wp == VK_UP || wp == VK_DOWN) && any_tab_disabled(tab);
    default: return false;
    }
}

bool is_button_kind(int kind)
{
    return kind == FK_BUTTON || kind == FK_CHECK || kind == FK_RADIO;
}

// A numeric field whose refused text waited on push button `button` gets the focus back, unless the
// focus goes to that field anyway.
void return_focus_to_pending_field(HWND button, HWND gaining)
{
    HWND field = take_pending_button_field();
    if (field && field != gaining && IsWindow(field))
        WDialogFieldReject(button, field, 0);
}

LRESULT CALLBACK control_field_proc(HWND f, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = BASE_PROCS.find(f);
    WNDPROC base = it != BASE_PROCS.end() ? it->second : DefWindowProcA;
    const int kind = WDialogFieldKindOf(f);
    switch (msg) {
    case WM_NCDESTROY:
        SetWindowLongPtrA(f, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
        if (it != BASE_PROCS.end())
            BASE_PROCS.erase(it);
        return CallWindowProcA(base, f, msg, wp, lp);
    case WM_CHAR:
        if (kind == FK_EDIT && wp == 1) {  // Ctrl+A
            SendMessageA(f, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_SETFOCUS: {
        LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
        if (kind == FK_TRACKBAR || kind == FK_TREE)
            notify_focus(f, 0x100);
        // A button tells the dialog of the focus's arrival only with the notify style of its own.
        if (is_button_kind(kind) && !(GetWindowLongA(f, GWL_STYLE) & BS_NOTIFY))
            notify_focus(f, BN_SETFOCUS);
        return result;
    }
    case WM_KILLFOCUS:
        if (kind == FK_TRACKBAR)
            trackbar_anchor = -1;
        if (kind == FK_BUTTON) {
            LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
            return_focus_to_pending_field(f, reinterpret_cast<HWND>(wp));
            return result;
        }
        break;
    case WM_LBUTTONUP:
        if (kind == FK_BUTTON) {
            // Released outside the button: no click, and the refused field gets the focus back.
            const POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            RECT box;
            GetClientRect(f, &box);
            LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
            if (!PtInRect(&box, at))
                return_focus_to_pending_field(f, nullptr);
            return result;
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (kind == FK_TRACKBAR) {
            if (trackbar_key(f, msg, wp, lp))
                return 0;
            if (msg == WM_KEYDOWN && trackbar_anchor >= 0 && wp != VK_SHIFT) {
                LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
                trackbar_select_from_anchor(f);
                return result;
            }
        } else if (kind == FK_TAB && msg == WM_KEYDOWN && tab_message(f, msg, wp, lp)) {
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (kind == FK_TAB && tab_message(f, msg, wp, lp))
            return 0;
        break;
    case WM_PAINT:
        if (kind == FK_TAB) {
            LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
            paint_disabled_tabs(f);
            return result;
        }
        break;
    default: break;
    }
    return CallWindowProcA(base, f, msg, wp, lp);
}

}  // namespace

void install_control_handling(HWND f)
{
    switch (WDialogFieldKindOf(f)) {
    case FK_BUTTON:
    case FK_CHECK:
    case FK_RADIO:
    case FK_EDIT:
    case FK_TRACKBAR:
    case FK_TAB:
    case FK_TREE: break;
    default: return;
    }
    if (BASE_PROCS.count(f))
        return;
    BASE_PROCS[f] = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(f, GWLP_WNDPROC));
    SetWindowLongPtrA(f, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_field_proc));
}

namespace {

// The up-down control of a spin field: a left button press gives the focus to the field first.
LRESULT CALLBACK updown_proc(HWND updown, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = BASE_PROCS.find(updown);
    WNDPROC base = it != BASE_PROCS.end() ? it->second : DefWindowProcA;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(updown, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
        if (it != BASE_PROCS.end())
            BASE_PROCS.erase(it);
    } else if (msg == WM_LBUTTONDOWN) {
        HWND buddy = reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0));
        if (buddy && GetFocus() != buddy)
            SetFocus(buddy);
    }
    return CallWindowProcA(base, updown, msg, wp, lp);
}

}  // namespace

void install_updown_handling(HWND updown)
{
    if (!updown || BASE_PROCS.count(updown))
        return;
    BASE_PROCS[updown] = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(updown, GWLP_WNDPROC));
    SetWindowLongPtrA(updown, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(updown_proc));
}

int tab_page(HWND tab, int index)
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return static_cast<int>(static_cast<unsigned long long>(item.lParam) & 0xFFFFFFFFull);
}

namespace {

// Calls visit(tab control, index) for every tab of the current dialog whose page is `page`. No current
// dialog: error 1005.
template <class Visit>
void for_tabs_of_page(int page, Visit visit)
{
    HWND dlg = current_dialog_window();
    if (!dlg) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        if (WDialogFieldKindOf(f) != FK_TAB)
            continue;
        const int n = static_cast<int>(SendMessageA(f, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            if (tab_page(f, i) == page)
                visit(f, i);
    }
}

bool has_selection_range(HWND trackbar)
{
    return (GetWindowLongA(trackbar, GWL_STYLE) & TBS_ENABLESELRANGE) != 0;
}

}  // namespace

void WDialogTabEnable(int page, int state)
{
    for_tabs_of_page(page, [state](HWND tab, int i) {
        TCITEMA item = {};
        item.mask = TCIF_PARAM;
        SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        const unsigned long long page_bits = static_cast<unsigned long long>(item.lParam) & 0xFFFFFFFFull;
        item.lParam = static_cast<LPARAM>(page_bits | (state == 0 ? 1ull << 32 : 0));
        SendMessageA(tab, TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
        InvalidateRect(tab, nullptr, TRUE);
    });
}

void WDialogTabCurrent(int field, int& page)
{
    if (HWND f = field_of_kind(field, FK_TAB))
        page = tab_page(f, static_cast<int>(SendMessageA(f, TCM_GETCURSEL, 0, 0)));
}

void WDialogTabSelect(int& page)
{
    bool selected = false;
    for_tabs_of_page(page, [&selected](HWND tab, int i) {
        if (selected || tab_disabled(tab, i))
            return;
        selected = true;
        if (static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)) != i)
            select_tab(tab, i);
    });
    if (!selected)
        page = -1;
}

void WDialogTrackbarRange(int field, int minimum, int maximum, int tics)
{
    if (HWND f = field_of_kind(field, FK_TRACKBAR)) {
        SendMessageA(f, TBM_SETRANGEMIN, FALSE, minimum);
        SendMessageA(f, TBM_SETRANGEMAX, TRUE, maximum);
        if (tics > 0)
            SendMessageA(f, TBM_SETTICFREQ, static_cast<WPARAM>(tics), 0);
    }
}

void WDialogTrackbarSteps(int field, int line, int page)
{
    if (HWND f = field_of_kind(field, FK_TRACKBAR)) {
        SendMessageA(f, TBM_SETLINESIZE, 0, line);
        SendMessageA(f, TBM_SETPAGESIZE, 0, page > 0 ? page : line);
    }
}

void WDialogTrackbarPut(int field, int position, int start, int end, int mode)
{
    HWND f = field_of_kind(field, FK_TRACKBAR);
    if (!f)
        return;
    SendMessageA(f, TBM_SETPOS, TRUE, position);
    if (!has_selection_range(f))
        return;
    if (mode == 0) {
        SendMessageA(f, TBM_SETSELSTART, FALSE, start);
        SendMessageA(f, TBM_SETSELEND, TRUE, end);
    } else if (mode == 2) {
        SendMessageA(f, TBM_CLEARSEL, TRUE, 0);
    }
}

void WDialogTrackbarGet(int field, int& position, int& start, int& end)
{
    HWND f = field_of_kind(field, FK_TRACKBAR);
    if (!f)
        return;
    position = static_cast<int>(SendMessageA(f, TBM_GETPOS, 0, 0));
    start = static_cast<int>(SendMessageA(f, TBM_GETSELSTART, 0, 0));
    end = static_cast<int>(SendMessageA(f, TBM_GETSELEND, 0, 0));
    if (!has_selection_range(f) || start >= end)
        start = end = FIELD_EMPTY;
}

void WDialogTrackbarRangeGet(int field, int& minimum, int& maximum)
{
    if (HWND f = field_of_kind(field, FK_TRACKBAR)) {
        minimum = static_cast<int>(SendMessageA(f, TBM_GETRANGEMIN, 0, 0));
        maximum = static_cast<int>(SendMessageA(f, TBM_GETRANGEMAX, 0, 0));
    }
}

void WDialogFieldKind(int field, int& kind)
{
    if (HWND f = field_or_report(field))
        kind = WDialogFieldKindOf(f);
}

void WDialogFieldStateOf(int field, int& state)
{
    if (HWND f = field_or_report(field))
        state = field_state_of(f);
}

void WDialogFieldColours(int field, int red, int green, int blue, int back_red, int back_green, int back_blue)
{
    HWND f = field_or_report(field);
    if (!f)
        return;
    WDialogFieldColour(f, 1, red, green, blue);
    WDialogFieldColour(f, 2, back_red, back_green, back_blue);
    InvalidateRect(f, nullptr, TRUE);
}

void WDialogFieldRect(int field, int& x, int& y, int& width, int& height, int mode)
{
    HWND f = field_or_report(field);
    if (!f)
        return;
    RECT r;
    if (mode == 1) {
        GetClientRect(f, &r);
        MapWindowPoints(f, GetParent(f), reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(f, &r);
        MapWindowPoints(nullptr, GetParent(f), reinterpret_cast<POINT*>(&r), 2);
    }
    x = r.left;
    y = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
}

void WDialogBaseUnits(int& x, int& y)
{
    HWND dlg = current_dialog_window();
    if (!dlg) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    RECT r = {0, 0, 4, 8};
    MapDialogRect(dlg, &r);
    x = r.right;
    y = r.bottom;
}

void WDialogGridStyle(int field, int option, int on)
{
    HWND grid = field_of_kind(field, FK_GRID);
    if (!grid)
        return;
    const LONG bit = option == 1 ? GS_ENTER_DOWN : option == 2 ? GS_TAB_CELLS : 0;
    if (bit == 0)
        return;
    const LONG style = GetWindowLongA(grid, GWL_STYLE);
    SetWindowLongA(grid, GWL_STYLE, on ? style | bit : style & ~bit);
    InvalidateRect(grid, nullptr, TRUE);
}
