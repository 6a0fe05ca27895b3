// Field operations on the current dialog: texts, numbers with formats and ranges, check boxes, radio
// groups, lists, progress bars.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/grid_fields_win.h"
#include "toolkit/win/number_text.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>

// The field of the current dialog, reporting 1005 or 1006 when there is none.
HWND field_or_report(int id)
{
    HWND dlg = current_dialog_window();
    if (!dlg) {
        IErrorReport(ERR_NO_DIALOG);
        return nullptr;
    }
    HWND f = GetDlgItem(dlg, id);
    if (!f)
        IErrorReport(ERR_NO_FIELD);
    return f;
}

HWND field_of_kind(int id, int kind)
{
    HWND f = field_or_report(id);
    if (f && WDialogFieldKindOf(f) != kind) {
        IErrorReport(ERR_NO_FIELD);
        return nullptr;
    }
    return f;
}

namespace {

std::string window_text(HWND f)
{
    int n = GetWindowTextLengthA(f);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(f, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

std::string trimmed(std::string s)
{
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string field_format(HWND f)
{
    FieldRecord* r = field_record(f);
    bool spin = false;
    int kind = numeric_kind(f, spin);
    if (r && !spin && (kind == FK_REAL || kind == FK_DOUBLE) && !trimmed(r->format).empty())
        return r->format;
    return DEFAULT_REAL_FORMAT;
}

// Value of a field: -2 for an empty text; a numeric field not edited since its value was set gives
// the stored value, otherwise the text is read.
int field_value(HWND f, double& value)
{
    std::string t = trimmed(window_text(f));
    if (t.empty())
        return -2;
    FieldRecord* r = field_record(f);
    bool modified = SendMessageA(f, EM_GETMODIFY, 0, 0) != 0;
    if (r && is_numeric_class(f) && !modified && r->defined) {
        value = r->value;
        return 0;
    }
    IStrReadDouble(value, t);
    return 0;
}

// Put of a number: range check, then text, value and format.
void put_number(int id, double value, const std::string& text, const std::string& format)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    FieldRecord* r = field_record(f);
    if (r && r->minimum <= r->maximum && (value < r->minimum || value > r->maximum)) {
        IErrorReport(ERR_RANGE);
        return;
    }
    field_put_text(f, value, trimmed(text), format);
}

// First and last button of the radio group that holds `f`.
void radio_group(HWND f, HWND& first, HWND& last)
{
    char cls[16];
    GetClassNameA(f, cls, sizeof cls);
    auto same = [&](HWND w) {
        char c[16] = {};
        GetClassNameA(w, c, sizeof c);
        return lstrcmpiA(c, cls) == 0;
    };
    first = f;
    while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev || !same(prev))
            break;
        first = prev;
    }
    last = first;
    for (HWND n = GetWindow(last, GW_HWNDNEXT); n && same(n) && !(GetWindowLongA(n, GWL_STYLE) & WS_GROUP);
         n = GetWindow(n, GW_HWNDNEXT))
        last = n;
}

// The field state of a grid: every cell read-only for state 2, else each cell its row's read-only bit.
// The grid's read-only style, which makes its cells ignore the change, is cleared first.
void grid_field_state(HWND grid, int state)
{
    WGridFieldData data;
    if (!GRID_FIELD_HOOKS.field_data || !GRID_FIELD_HOOKS.edit_state ||
        !GRID_FIELD_HOOKS.field_data(grid, data))
        return;
    LONG style = GetWindowLongA(grid, GWL_STYLE) & ~GS_READ_ONLY;
    SetWindowLongA(grid, GWL_STYLE, style);
    for (int k = 0; k < data.columns; ++k)
        for (int s = 0; s < data.rows_shown; ++s) {
            size_t i = static_cast<size_t>(k) * data.rows_shown + s;
            GRID_FIELD_HOOKS.edit_state(data.cells[i], data.kinds[k], state == 2 ? 1 : data.read_only[i] & 1,
                                        1);
        }
    if (state == 2)
        SetWindowLongA(grid, GWL_STYLE, style | GS_READ_ONLY);
}

}  // namespace

void field_put_text(HWND f, double value, const std::string& text, const std::string& format)
{
    SetWindowTextA(f, text.c_str());
    FieldRecord& r = make_field_record(f);
    bool ok = false;
    double scanned = WStrScanReal(text, ok);
    r.value = value == 0.0 && ok ? scanned : value;
    r.defined = trimmed(text).empty() ? 0 : 1;
    r.format = format;
    SendMessageA(f, EM_SETMODIFY, FALSE, 0);
    InvalidateRect(f, nullptr, TRUE);
}

void WDialogPutString(int id, std::string_view text)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    std::string t(text);
    t.erase(t.find_last_not_of(' ') + 1);
    field_put_text(f, 0.0, t, "");
}

void WDialogGetString(int id, std::string& text)
{
    HWND f = field_or_report(id);
    text = f ? window_text(f) : std::string();
}

void WDialogPutInteger(int id, int value)
{
    std::string t;
    IIntegerToString(value, t, INTEGER_FORMAT);
    put_number(id, value, t, INTEGER_FORMAT);
}

// Put of a 4-byte or 8-byte real: the given format, else the field's own, written by the writer of the
// value's width.
static void put_real(int id, double value, std::string_view format, bool four_byte)
{
    HWND dlg = current_dialog_window();
    HWND f = dlg ? GetDlgItem(dlg, id) : nullptr;
    std::string fmt = format.empty() ? (f ? field_format(f) : DEFAULT_REAL_FORMAT) : std::string(format);
    std::string t;
    if (four_byte)
        IRealToString(static_cast<float>(value), t, fmt);
    else
        number_to_string(value, t, fmt);
    put_number(id, value, t, fmt);
}

void WDialogPutReal(int id, float value, std::string_view format)
{
    put_real(id, value, format, true);
}

void WDialogPutDouble(int id, double value, std::string_view format)
{
    put_real(id, value, format, false);
}

void WDialogGetInteger(int id, int& value)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    double v = 0.0;
    if (field_value(f, v) == -2) {
        value = FIELD_EMPTY;
        IErrorReport(ERR_EMPTY);
        return;
    }
    v = std::trunc(v);
    value = static_cast<int>(std::fmin(std::fmax(v, -2147483648.0), 2147483647.0));
}

void WDialogGetReal(int id, float& value)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    double v = 0.0;
    if (field_value(f, v) == -2) {
        value = FIELD_EMPTY;
        IErrorReport(ERR_EMPTY);
        return;
    }
    value = static_cast<float>(v);
}

void WDialogGetDouble(int id, double& value)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    if (field_value(f, value) == -2) {
        value = FIELD_EMPTY;
        IErrorReport(ERR_EMPTY);
    }
}

void WDialogRangeInteger(int id, int minimum, int maximum)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    FieldRecord& r = make_field_record(f);
    r.minimum = minimum;
    r.maximum = maximum;
}

void WDialogRangeDouble(int id, double minimum, double maximum)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    FieldRecord& r = make_field_record(f);
    r.minimum = minimum;
    r.maximum = maximum;
}

void WDialogPutCheckBox(int id, int state)
{
    if (HWND f = field_or_report(id))
        SendMessageA(f, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void WDialogGetCheckBox(int id, int& state)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    int t = GetWindowLongA(f, GWL_STYLE) & BS_TYPEMASK;
    if (t != BS_AUTOCHECKBOX && t != BS_AUTO3STATE && t != BS_AUTORADIOBUTTON) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    state = static_cast<int>(SendMessageA(f, BM_GETCHECK, 0, 0));
}

void WDialogPutRadioButton(int id)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    if ((GetWindowLongA(f, GWL_STYLE) & BS_TYPEMASK) != BS_AUTORADIOBUTTON) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    HWND first, last;
    radio_group(f, first, last);
    for (HWND b = first;; b = GetWindow(b, GW_HWNDNEXT)) {
        SendMessageA(b, BM_SETCHECK, b == f ? BST_CHECKED : BST_UNCHECKED, 0);
        if (b == last)
            break;
    }
}

void WDialogGetRadioButton(int id, int& position)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    HWND first, last;
    radio_group(f, first, last);
    int n = 1;
    for (HWND b = first;; b = GetWindow(b, GW_HWNDNEXT), ++n) {
        if (SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            position = n;
            return;
        }
        if (b == last)
            break;
    }
    position = FIELD_EMPTY;
    IErrorReport(ERR_EMPTY);
}

void WDialogGetMenu(int id, int& option, std::string& text)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    int kind = WDialogFieldKindOf(f);
    LONG style = GetWindowLongA(f, GWL_STYLE);
    if (kind == FK_LIST && !(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))) {
        LRESULT sel = SendMessageA(f, LB_GETCURSEL, 0, 0);
        if (sel == LB_ERR) {
            option = FIELD_EMPTY;
            IErrorReport(ERR_EMPTY);
            return;
        }
        option = static_cast<int>(sel) + 1;
        std::string t(static_cast<size_t>(SendMessageA(f, LB_GETTEXTLEN, sel, 0)) + 1, '\0');
        SendMessageA(f, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(t.data()));
        text = t.c_str();
    } else if (kind == FK_COMBO) {
        LRESULT sel = SendMessageA(f, CB_GETCURSEL, 0, 0);
        text = window_text(f);
        if (sel != CB_ERR) {
            option = static_cast<int>(sel) + 1;
        } else if (!text.empty()) {
            LRESULT exact = SendMessageA(f, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str()));
            option = exact == CB_ERR ? 0 : static_cast<int>(exact) + 1;
        } else {
            option = FIELD_EMPTY;
            IErrorReport(ERR_EMPTY);
        }
    } else {
        IErrorReport(ERR_NO_FIELD);
    }
}

void WDialogFieldState(int id, int state)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    ShowWindow(f, state == 3 ? SW_HIDE : SW_SHOWNA);
    EnableWindow(f, state != 0 && state != 3);
    if (WDialogFieldKindOf(f) == FK_EDIT || is_numeric_class(f))
        SendMessageA(f, EM_SETREADONLY, state == 2, 0);
    if (FieldRecord* r = field_record(f)) {
        r->state = state;
        if (r->spin)
            EnableWindow(r->spin, state == 1);
    }
    if (is_grid_field(f))
        grid_field_state(f, state);
}

void WDialogFieldClear(int& id)
{
    HWND dlg = current_dialog_window();
    HWND f = dlg ? GetDlgItem(dlg, id) : nullptr;
    if (!f) {
        id = -1;
        return;
    }
    switch (WDialogFieldKindOf(f)) {
    case FK_EDIT:
    case FK_INTEGER:
    case FK_REAL:
    case FK_DOUBLE:
    case FK_STATIC_TEXT:
        SetWindowTextA(f, "");
        SendMessageA(f, EM_SETMODIFY, FALSE, 0);
        break;
    case FK_LIST: SendMessageA(f, LB_RESETCONTENT, 0, 0); break;
    case FK_COMBO: SendMessageA(f, CB_RESETCONTENT, 0, 0); break;
    case FK_CHECK: SendMessageA(f, BM_SETCHECK, BST_UNCHECKED, 0); break;
    case FK_RADIO: {
        HWND first, last;
        radio_group(f, first, last);
        for (HWND b = first;; b = GetWindow(b, GW_HWNDNEXT)) {
            SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
            if (b == last)
                break;
        }
        break;
    }
    case FK_PROGRESS: SendMessageA(f, PBM_SETPOS, SendMessageA(f, PBM_GETRANGE, TRUE, 0), 0); break;
    case FK_GRID:
        if (GRID_FIELD_HOOKS.clear)
            GRID_FIELD_HOOKS.clear(f, 1);
        break;
    case FK_TREE: SendMessageA(f, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); break;
    default: id = -1; return;
    }
    if (FieldRecord* r = field_record(f)) {
        r->value = 0.0;
        r->defined = 0;
    }
}

void WDialogRangeProgressBar(int id, int minimum, int maximum)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    if (minimum < 0 || minimum >= maximum || maximum > 65535) {
        IErrorReport(ERR_PROGRESS_RANGE);
        return;
    }
    if (WDialogFieldKindOf(f) != FK_PROGRESS) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    SendMessageA(f, PBM_SETRANGE32, minimum, maximum);
}

// The control repaints itself at once on every change of position. A change that leaves the filled
// length the same to the pixel is made with drawing off: a set-up that advances a bar in some hundred
// thousand small steps would otherwise spend most of its time repainting it (under Wine, milliseconds
// a time).
void WDialogPutProgressBar(int id, int value, int mode)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    PBRANGE range = {};
    SendMessageA(f, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const int old_position = static_cast<int>(SendMessageA(f, PBM_GETPOS, 0, 0));
    const long long wanted = mode == 0 ? value : static_cast<long long>(old_position) + value;
    const long long new_position = std::clamp<long long>(wanted, range.iLow, range.iHigh);
    if (new_position == old_position)
        return;
    RECT box = {};
    GetClientRect(f, &box);
    const long long span = std::max(1, range.iHigh - range.iLow), width = box.right - box.left;
    auto length = [&](long long position) { return (position - range.iLow) * width / span; };
    const bool same_length = length(old_position) == length(new_position);
    if (same_length)
        SendMessageA(f, WM_SETREDRAW, FALSE, 0);
    SendMessageA(f, mode == 0 ? PBM_SETPOS : PBM_DELTAPOS, static_cast<WPARAM>(value), 0);
    if (same_length)
        SendMessageA(f, WM_SETREDRAW, TRUE, 0);
}

int dialog_progress_position(int id)
{
    HWND dlg = current_dialog_window();
    HWND f = dlg ? GetDlgItem(dlg, id) : nullptr;
    return f ? static_cast<int>(SendMessageA(f, PBM_GETPOS, 0, 0)) : -1;
}

// ---- titles, text lengths and lists

void WDialogSetTitle(std::string_view title)
{
    HWND dlg = current_dialog_window();
    if (!dlg) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    const std::string text(title);
    if (!(GetWindowLongA(dlg, GWL_STYLE) & WS_CHILD)) {
        SetWindowTextA(dlg, text.c_str());
        return;
    }
    // A page dialog's title is the label of its tab in the dialogs that hold it.
    const DialogRecord* page = dialog_record(dlg);
    for (int s = 1; page && s <= DIALOG_TABLE.count; ++s) {
        HWND other = DIALOG_TABLE.loaded[s];
        for (HWND f = GetWindow(other, GW_CHILD); other != dlg && f; f = GetWindow(f, GW_HWNDNEXT)) {
            if (WDialogFieldKindOf(f) != FK_TAB)
                continue;
            const int n = static_cast<int>(SendMessageA(f, TCM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < n; ++i) {
                if (tab_page(f, i) != page->id)
                    continue;
                TCITEMA item = {};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<char*>(text.c_str());
                SendMessageA(f, TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
            }
        }
    }
}

void WDialogFieldTextLength(int id, int& length)
{
    if (HWND f = field_or_report(id))
        length = GetWindowTextLengthA(f);
}

int WDialogListKind(int id)
{
    HWND dlg = current_dialog_window();
    HWND f = dlg ? GetDlgItem(dlg, id) : nullptr;
    if (!f)
        return 0;
    const LONG style = GetWindowLongA(f, GWL_STYLE);
    switch (WDialogFieldKindOf(f)) {
    case FK_LIST: return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) ? 4 : 1;
    case FK_COMBO: return (style & 3) == CBS_DROPDOWNLIST ? 2 : 3;
    default: return 0;
    }
}

void WDialogListAdd(int id, std::string_view text)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    const std::string t(text);
    SendMessageA(f, WDialogFieldKindOf(f) == FK_LIST ? LB_ADDSTRING : CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(t.c_str()));
}

bool WDialogListSelect(int id, int index)
{
    HWND f = field_or_report(id);
    if (!f)
        return false;
    if (WDialogFieldKindOf(f) == FK_LIST)
        return SendMessageA(f, LB_SETCURSEL, static_cast<WPARAM>(index), 0) != LB_ERR;
    return SendMessageA(f, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR;
}

void WDialogComboSelectText(int id, std::string_view text)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    const std::string t(text);
    LRESULT exact =
        SendMessageA(f, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(t.c_str()));
    if (exact != CB_ERR) {
        SendMessageA(f, CB_SETCURSEL, static_cast<WPARAM>(exact), 0);
    } else {
        SendMessageA(f, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextA(f, t.c_str());
    }
}

// ---- list boxes of several selections, tab stops, spin steps

namespace {

// A list box of several selections (1006 for any other field).
HWND multiple_list_or_report(int id)
{
    HWND f = field_of_kind(id, FK_LIST);
    if (f && !(GetWindowLongA(f, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))) {
        IErrorReport(ERR_NO_FIELD);
        return nullptr;
    }
    return f;
}

}  // namespace

void WDialogListCount(int id, int& count)
{
    if (HWND f = field_of_kind(id, FK_LIST))
        count = static_cast<int>(SendMessageA(f, LB_GETCOUNT, 0, 0));
}

void WDialogListItemState(int id, int index, int& state)
{
    HWND f = field_of_kind(id, FK_LIST);
    if (!f)
        return;
    const bool several = (GetWindowLongA(f, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
    const LRESULT selected = several ? SendMessageA(f, LB_GETSEL, static_cast<WPARAM>(index), 0)
                                     : SendMessageA(f, LB_GETCURSEL, 0, 0) == index;
    state = selected > 0 ? 1 : 0;
}

void WDialogListItemSelect(int id, int index, int state)
{
    HWND f = multiple_list_or_report(id);
    if (!f)
        return;
    const bool on = state == 1;
    if ((SendMessageA(f, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0) != on)
        SendMessageA(f, LB_SETSEL, on, static_cast<LPARAM>(index));
}

void WDialogListRangeSelect(int id, int first, int last, int state)
{
    HWND f = multiple_list_or_report(id);
    if (!f || first < 0 || last < first)
        return;
    const bool on = state == 1;
    // The one request takes both ends as 16-bit words.
    if (last < 65536) {
        SendMessageA(f, LB_SELITEMRANGE, on, MAKELPARAM(first, last));
        return;
    }
    for (int i = first; i <= last; ++i)
        SendMessageA(f, LB_SETSEL, on, static_cast<LPARAM>(i));
}

void WDialogTabStops(int id, const std::vector<int>& stops)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    const int kind = WDialogFieldKindOf(f);
    const bool multi_line_edit = kind == FK_EDIT && (GetWindowLongA(f, GWL_STYLE) & ES_MULTILINE);
    if (!multi_line_edit && kind != FK_LIST) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    FieldRecord& r = make_field_record(f);
    r.tab_stops = stops;
    const WPARAM n = r.tab_stops.size();
    const LPARAM list = reinterpret_cast<LPARAM>(r.tab_stops.empty() ? nullptr : r.tab_stops.data());
    SendMessageA(f, kind == FK_LIST ? LB_SETTABSTOPS : EM_SETTABSTOPS, n, list);
    InvalidateRect(f, nullptr, TRUE);
}

void WDialogSpinSteps(int id, double small, double large)
{
    HWND f = field_or_report(id);
    if (!f)
        return;
    bool spin = false;
    const int kind = numeric_kind(f, spin);
    FieldRecord* r = field_record(f);
    if (!spin || !r) {
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    if (kind == FK_REAL) {
        small = static_cast<float>(small);
        large = static_cast<float>(large);
    }
    r->small_step = small;
    r->large_step = large;
}
