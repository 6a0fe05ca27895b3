// The six numeric field classes: integer, real and double fields, plain or with spin arrows. They
// accept only the characters of their numbers, check the text against the field's range when the
// focus leaves, rewrite it in canonical form, and step spin fields.
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/grid_fields_win.h"
#include "toolkit/win/number_text.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>

#include <cmath>
#include <string>

namespace {

WNDPROC edit_proc = nullptr;

// Field-leave state shared by all numeric fields.
struct LeaveState {
    bool reentry = false;
    bool saving_armed = true;
    HWND pending_button = nullptr;  // field whose refused text waits for a push button to decide
    HWND pending_tab = nullptr;     // field whose refused text holds the tab control on its tab
    std::string saved_text;
    double saved_value = 0.0;
} LEAVE;

std::string window_text(HWND f)
{
    int n = GetWindowTextLengthA(f);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(f, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

bool all_blank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

// Whether a typed character is accepted by the field's kind; e and d are taken as upper case.
bool accept_char(int kind, WPARAM& ch)
{
    if ((ch >= '0' && ch <= '9') || ch == '-' || ch == '+')
        return true;
    switch (ch) {
    case 3:
    case 22:
    case 24:
    case 26:
    case 8:
    case 9:
    case 13:
    case 27:  // Ctrl+C V X Z, BS, Tab, Enter, Esc
        return true;
    default: break;
    }
    if (kind == FK_REAL || kind == FK_DOUBLE) {
        if (ch == 'e')
            ch = 'E';
        if (ch == 'E' || ch == '.')
            return true;
    }
    if (kind == FK_DOUBLE) {
        if (ch == 'd')
            ch = 'D';
        if (ch == 'D')
            return true;
    }
    return false;
}

bool is_push_button(HWND w)
{
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    const LONG t = GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiA(cls, "BUTTON") == 0 && (t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON);
}

// The integer that the leading digits of a text give (after blanks and a sign); 0 without digits.
int leading_integer(const std::string& text)
{
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && v < 2147483648LL; ++i)
        v = v * 10 + (text[i] - '0');
    v = negative ? -v : v;
    return static_cast<int>(v < -2147483648LL ? -2147483648LL : v > 2147483647LL ? 2147483647LL : v);
}

// Rewrites the text of a valid field in canonical form.
void tidy(HWND f, int kind)
{
    FieldRecord* r = field_record(f);
    std::string t = window_text(f);
    bool modified = SendMessageA(f, EM_GETMODIFY, 0, 0) != 0;
    if (kind != FK_INTEGER && !modified)
        return;
    if (all_blank(t)) {
        r->value = 0.0;
        return;
    }
    bool ok = false;
    r->value = WStrScanReal(t, ok);
    r->defined = 1;
    std::string fmt = r->format.empty() ? DEFAULT_REAL_FORMAT : r->format;
    std::string clean = kind == FK_INTEGER ? IStrCleanInteger(t)
                        : kind == FK_REAL  ? IStrCleanReal(t, fmt)
                                           : IStrCleanDouble(t, fmt);
    SetWindowTextA(f, clean.c_str());
    SendMessageA(f, EM_SETMODIFY, FALSE, 0);
}

// One spin step: +1/-1 small step, +5/-5 large step; clamped to an active range.
void spin_step(HWND f, int kind, int delta)
{
    FieldRecord* r = field_record(f);
    if (!r)
        return;
    std::string t = window_text(f);
    if (SendMessageA(f, EM_GETMODIFY, 0, 0)) {
        bool ok = false;
        r->value = all_blank(t) ? 0.0 : WStrScanReal(t, ok);
    }
    double step = 0.0;
    if (delta == 1 || delta == -1)
        step = r->small_step;
    else if (delta == 5 || delta == -5)
        step = r->large_step == 0.0 ? r->small_step : r->large_step;
    double v = r->value + (delta > 0 ? step : -step);
    bool clamped = false;
    if (r->minimum <= r->maximum) {
        if (v < r->minimum) {
            v = r->minimum;
            clamped = true;
        }
        if (v > r->maximum) {
            v = r->maximum;
            clamped = true;
        }
    }
    std::string text;
    if (kind == FK_INTEGER) {
        v = std::trunc(v);
        long long istep = static_cast<long long>(std::trunc(step));
        if (!clamped && istep != 0)
            v = static_cast<double>(static_cast<long long>(v) / istep * istep);
        text = IStrFormatInteger(static_cast<int>(std::fmin(std::fmax(v, -2147483648.0), 2147483647.0)));
    } else {
        text = IStrFormatDouble(v, r->format.empty() ? DEFAULT_REAL_FORMAT : r->format);
    }
    r->value = v;
    r->defined = 1;
    SetWindowTextA(f, text.c_str());
    SendMessageA(f, EM_SETMODIFY, FALSE, 0);
}

LRESULT CALLBACK numeric_proc(HWND f, UINT msg, WPARAM wp, LPARAM lp)
{
    bool spin = false;
    int kind = numeric_kind(f, spin);
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        FieldRecord& r = make_field_record(f);
        std::string text = cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "";
        bool ok = false;
        r.value = WStrScanReal(text, ok);
        r.defined = all_blank(text) ? 0 : 1;
        break;
    }
    case WM_CREATE: {
        LRESULT res = CallWindowProcA(edit_proc, f, msg, wp, lp);
        if (kind == FK_INTEGER) {
            SendMessageA(f, EM_LIMITTEXT, 11, 0);
            make_field_record(f).max_length = 11;
        }
        if (spin) {
            DWORD style = WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
                          (kind != FK_INTEGER ? UDS_NOTHOUSANDS : 0);
            if (GetWindowLongA(f, GWL_STYLE) & ES_READONLY)
                style |= WS_DISABLED;
            HWND ud = CreateWindowExA(0, UPDOWN_CLASSA, "", style, 0, 0, 1, 1, GetParent(f), nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
            if (ud) {
                SetWindowPos(ud, f, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                SendMessageA(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(f), 0);
                SendMessageA(ud, UDM_SETRANGE32, static_cast<WPARAM>(-100), 100);
                UDACCEL accel[2] = {{0, 1}, {2, 5}};
                SendMessageA(ud, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accel));
                if (kind == FK_INTEGER)
                    SendMessageA(ud, UDM_SETPOS32, 0, leading_integer(window_text(f)));
                make_field_record(f).spin = ud;
                install_updown_handling(ud);
            }
        }
        return res;
    }
    case WM_CHAR:
        if (wp == 1) {  // Ctrl+A
            SendMessageA(f, EM_SETSEL, 0, -1);
            SendMessageA(f, EM_SCROLLCARET, 0, 0);
            return 0;
        }
        if (!accept_char(kind, wp)) {
            IOsBeep();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wp == VK_TAB)
            if (FieldRecord* r = field_record(f))
                r->tab_pressed = 1;
        break;
    case WM_SETFOCUS:
        if (FieldRecord* r = field_record(f)) {
            if (LEAVE.saving_armed) {
                LEAVE.saved_text = window_text(f);
                LEAVE.saved_value = r->value;
                LEAVE.saving_armed = false;
            }
            r->tab_pressed = 0;
        }
        SendMessageA(f, EM_SETMODIFY, FALSE, 0);
        break;
    case WM_KILLFOCUS: {
        HWND gaining = reinterpret_cast<HWND>(wp);
        if (WDialogFieldValidate(f, gaining, 0))
            return 0;
        LRESULT res = CallWindowProcA(edit_proc, f, msg, wp, lp);
        tidy(f, kind);
        return res;
    }
    case SPIN_STEP_MESSAGE: spin_step(f, kind, static_cast<int>(wp)); return 0;
    case WM_NCDESTROY: free_field_record(f); break;
    default: break;
    }
    return CallWindowProcA(edit_proc, f, msg, wp, lp);
}

}  // namespace

void WDialogRegisterNumericClasses()
{
    WNDCLASSA probe;
    if (GetClassInfoA(GetModuleHandleA(nullptr), "INTEGEREDIT", &probe))
        return;
    WNDCLASSA edit = {};
    GetClassInfoA(nullptr, "EDIT", &edit);
    edit_proc = edit.lpfnWndProc;
    for (const char* name :
         {"INTEGEREDIT", "INTEGERSPIN", "REALEDIT", "REALSPIN", "DOUBLEEDIT", "DOUBLESPIN"}) {
        WNDCLASSA wc = edit;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpfnWndProc = numeric_proc;
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
}

int WDialogFieldValidate(HWND f, HWND gaining, int force)
{
    if (LEAVE.reentry || WGridEditing || !is_numeric_class(f) || gaining == WIN_TABLE.slot[0].frame ||
        (gaining && gaining == WIN_TABLE.slot[0].client))
        return 0;
    FieldRecord* r = field_record(f);
    if (!r)
        return 0;
    bool other = gaining && gaining != f;
    LEAVE.pending_tab = nullptr;
    if (other) {
        LEAVE.pending_button = nullptr;
        if (!r->tab_pressed && is_push_button(gaining) && GetDlgCtrlID(gaining) != 1)
            LEAVE.pending_button = f;
        if (WDialogFieldKindOf(gaining) == FK_TAB)
            LEAVE.pending_tab = f;
    }
    std::string t = window_text(f);
    bool range = r->minimum <= r->maximum;
    bool invalid = false;
    // Only a text without characters is empty: blanks alone read as 0.0 and meet the range check.
    if (t.empty()) {
        invalid = r->defined && range;
    } else {
        bool ok = false;
        double v = WStrScanReal(t, ok);
        if (!ok)
            invalid = other || force;
        else
            invalid = range && (v < r->minimum || v > r->maximum);
    }
    if (!invalid) {
        if (other) {
            LEAVE.pending_button = nullptr;
            LEAVE.pending_tab = nullptr;
            LEAVE.saving_armed = true;
        }
        return 0;
    }
    // A push button other than 1 decides for itself what to do with the invalid text.
    if (LEAVE.pending_button == f)
        return 0;
    WDialogFieldReject(gaining, f, r->tab_pressed);
    return 1;
}

HWND take_pending_button_field()
{
    HWND f = LEAVE.pending_button;
    LEAVE.pending_button = nullptr;
    return f;
}

HWND take_pending_tab_field()
{
    HWND f = LEAVE.pending_tab;
    LEAVE.pending_tab = nullptr;
    return f;
}

HWND waiting_refused_field()
{
    return LEAVE.pending_button ? LEAVE.pending_button : LEAVE.pending_tab;
}

void restore_saved_field(HWND f)
{
    if (FieldRecord* r = field_record(f)) {
        SetWindowTextA(f, LEAVE.saved_text.c_str());
        r->value = LEAVE.saved_value;
        SendMessageA(f, EM_SETMODIFY, FALSE, 0);
    }
    LEAVE.saving_armed = true;
}

void WDialogFieldReject(HWND gaining, HWND field, int tab_pressed)
{
    if (gaining != field)
        IOsBeep();
    LEAVE.reentry = true;
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    LEAVE.reentry = false;
    // The dialog manager drew the push button that took the focus as the default one; with the focus
    // back in the field the looks go back, except after Tab, where the button keeps it.
    HWND dlg = GetParent(field);
    const LRESULT d = SendMessageA(dlg, DM_GETDEFID, 0, 0);
    HWND default_button = HIWORD(d) == DC_HASDEFID ? GetDlgItem(dlg, LOWORD(d)) : nullptr;
    if (!gaining || gaining == default_button || !is_push_button(gaining))
        return;
    SendMessageA(gaining, BM_SETSTYLE, tab_pressed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (default_button)
        SendMessageA(default_button, BM_SETSTYLE, tab_pressed ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
}
