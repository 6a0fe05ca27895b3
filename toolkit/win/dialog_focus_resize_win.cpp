// The focus given to a field by the application, and the resizing of a dialog with the fields that
// its new client area leaves out hidden.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"

#include <commctrl.h>

namespace {

// A field's outer rectangle in its dialog's client coordinates.
RECT field_box(HWND dlg, HWND f)
{
    RECT r;
    GetWindowRect(f, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Hides a field that the client area leaves out, or shows it again in its stored state (3 stays
// hidden). The up-down control of a spin field goes with its field.
void fit_field(HWND f, const RECT& client)
{
    const RECT box = field_box(GetParent(f), f);
    const bool inside = box.left >= client.left && box.top >= client.top && box.right <= client.right &&
                        box.bottom <= client.bottom;
    FieldRecord* r = field_record(f);
    const bool shown = inside && (!r || r->state != 3);
    ShowWindow(f, shown ? SW_SHOWNA : SW_HIDE);
    if (r && r->spin)
        ShowWindow(r->spin, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

void WDialogFieldFocus(int field, int caret)
{
    HWND f = field_or_report(field);
    if (!f)
        return;
    HWND dlg = GetParent(f);
    SetFocus(f);
    const int kind = WDialogFieldKindOf(f);
    if (kind == FK_EDIT || kind == FK_INTEGER || kind == FK_REAL || kind == FK_DOUBLE) {
        if (caret < 0)
            SendMessageA(f, EM_SETSEL, 0, -1);
        else
            SendMessageA(f, EM_SETSEL, caret, caret);
        SendMessageA(f, EM_SCROLLCARET, 0, 0);
    } else if (kind == FK_COMBO) {
        SendMessageA(f, CB_SETEDITSEL, 0, caret < 0 ? MAKELPARAM(0, -1) : MAKELPARAM(caret, caret));
    }
    if (DialogRecord* r = dialog_record(current_dialog_window())) {
        if (r->current_field != field)
            r->previous_field = r->current_field;
        r->current_field = field;
        r->last_focus = f;
    }
    if (dialog_in_main_window(dlg))
        BringWindowToTop(dlg);
}

void WDialogResize(int width, int height, int& error)
{
    error = 0;
    HWND dlg = current_dialog_window();
    if (!dlg) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    DialogRecord* record = dialog_record(dlg);
    if (record && record->combined) {
        error = -1;
        return;
    }
    // The new client size in pixels; a size of 0 or less keeps that side.
    RECT client;
    GetClientRect(dlg, &client);
    RECT wanted = {0, 0, width, height};
    MapDialogRect(dlg, &wanted);
    if (width > 0)
        client.right = wanted.right;
    if (height > 0)
        client.bottom = wanted.bottom;
    RECT outer = client;
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(dlg, GWL_STYLE)), GetMenu(dlg) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(dlg, GWL_EXSTYLE)));
    SetWindowPos(dlg, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(dlg, &client);
    HWND focus = GetFocus();
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        // An up-down control goes with its spin field; an embedded tab page is shown and hidden by
        // its tab control.
        char c[32] = {};
        GetClassNameA(f, c, sizeof c);
        if (lstrcmpiA(c, UPDOWN_CLASSA) != 0 && lstrcmpiA(c, "#32770") != 0)
            fit_field(f, client);
    }
    // The focus leaves a field that is hidden now for the next one that can take it.
    if (focus && IsChild(dlg, focus) && !IsWindowVisible(focus))
        SendMessageA(dlg, WM_NEXTDLGCTL, 0, FALSE);
}
