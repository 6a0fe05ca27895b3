// Showing dialogs (modal, modeless, semi-modeless) and the dialog procedure that turns system
// notifications into the toolkit's typed messages.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/grid_fields_win.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/picture_fields_win.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>

#include <initializer_list>

namespace {

bool modal_ended = false;  // set by the push button that ends the running modal show

bool is_push_button(HWND w)
{
    char c[16] = {};
    GetClassNameA(w, c, sizeof c);
    if (lstrcmpiA(c, "BUTTON") != 0)
        return false;
    int t = GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK;
    return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON;
}

bool is_child_style(HWND dlg)
{
    return (GetWindowLongA(dlg, GWL_STYLE) & WS_CHILD) != 0;
}

bool is_modal(HWND dlg)
{
    return WDialogIsModal(dlg) != 0;
}

// The loaded dialog whose record events of a modal show change (the current dialog).
DialogRecord* event_record(HWND dlg)
{
    return is_modal(dlg) ? dialog_record(current_dialog_window()) : dialog_record(dlg);
}

// A change of a field: previous takes current, current the field, message 10 unless modal.
// What a control's WM_COMMAND notification means to the dialog manager. The codes overlap between the
// classes (4 is LBN_SETFOCUS for a list box but CBN_KILLFOCUS for a combo box, 3 is LBN_SELCANCEL but
// CBN_SETFOCUS), so each class's codes are read with its own names.
enum class FieldEvent {
    None,
    Change,
    Arrival,
    DoubleClick
};

FieldEvent field_event(HWND ctl, int code)
{
    char cls[16] = {};
    GetClassNameA(ctl, cls, sizeof cls);
    if (lstrcmpiA(cls, "BUTTON") == 0) {
        if (code == BN_CLICKED)
            return FieldEvent::Change;
        return code == BN_SETFOCUS ? FieldEvent::Arrival : FieldEvent::None;
    }
    if (lstrcmpiA(cls, "LISTBOX") == 0) {
        switch (code) {
        case LBN_SELCHANGE: return FieldEvent::Change;
        case LBN_DBLCLK: return FieldEvent::DoubleClick;
        case LBN_SETFOCUS: return FieldEvent::Arrival;
        default: return FieldEvent::None;
        }
    }
    if (lstrcmpiA(cls, "COMBOBOX") == 0) {
        switch (code) {
        case CBN_SELCHANGE: return FieldEvent::Change;
        case CBN_DBLCLK: return FieldEvent::DoubleClick;
        case CBN_SETFOCUS: return FieldEvent::Arrival;
        default: return FieldEvent::None;
        }
    }
    // Edit fields, the numeric classes and the rest: a change notice (1) or the focus's arrival.
    if (code == 1)
        return FieldEvent::Change;
    return code == EN_SETFOCUS ? FieldEvent::Arrival : FieldEvent::None;
}

void field_change(HWND dlg, int id, LPARAM detail, bool raise)
{
    DialogRecord* r = event_record(dlg);
    if (!r || DIALOG_TABLE.creating)
        return;
    r->previous_field = r->current_field;
    r->current_field = id;
    r->last_focus = GetDlgItem(dlg, id);
    if (raise && !is_modal(dlg)) {
        // X is the detail of the dialog's previous change, Y this change's detail, which word 10 keeps.
        const int previous_detail = r->change_detail;
        r->change_detail = static_cast<int>(detail);
        post_dialog_message(MsgFieldChanged, r->id, r->previous_field, r->current_field, previous_detail,
                            static_cast<int>(detail));
    }
}

void press_default_button(HWND dlg)
{
    LRESULT d = SendMessageA(dlg, DM_GETDEFID, 0, 0);
    if (HIWORD(d) != DC_HASDEFID)
        return;
    HWND b = GetDlgItem(dlg, LOWORD(d));
    if (b && IsWindowEnabled(b))
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(LOWORD(d), BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

void push_button(HWND dlg, int id)
{
    HWND focus = GetFocus();
    int focus_id = focus && GetParent(focus) == dlg ? GetDlgCtrlID(focus) : 0;
    // A numeric field that is empty when required or out of range keeps the dialog up for button 1;
    // any other button puts back the text the field had when the focus arrived. The field is checked
    // as if it kept the focus, so that an unreadable text passes here.
    HWND pending = take_pending_button_field();
    if (focus && is_numeric_class(focus) && WDialogFieldValidate(focus, focus, 0))
        pending = focus;
    if (pending && IsWindow(pending)) {
        if (id == 1) {
            IOsBeep();
            SetFocus(pending);
            SendMessageA(pending, EM_SETSEL, 0, -1);
            return;
        }
        restore_saved_field(pending);
    }
    DialogRecord* r = event_record(dlg);
    if (!r)
        return;
    if (is_modal(dlg)) {
        DIALOG_RESULTS.dialog = r->id;
        r->current_field = id;
        if (focus_id != id)
            r->previous_field = focus_id;
        modal_ended = true;
        return;
    }
    if (focus_id != id)
        r->previous_field = r->current_field;
    post_dialog_message(MsgButton, r->id, id, r->previous_field, -1, -1);
}

// The text of a field made ready for typing over: edit and numeric fields all selected (a multi-line
// field: the caret at its end, nothing selected) and scrolled into view; a combo box its edit text;
// other fields nothing.
void select_all_text(HWND f)
{
    const int kind = WDialogFieldKindOf(f);
    if (kind == FK_EDIT || is_numeric_class(f)) {
        if (GetWindowLongA(f, GWL_STYLE) & ES_MULTILINE)
            SendMessageA(f, EM_SETSEL, GetWindowTextLengthA(f), GetWindowTextLengthA(f));
        else
            SendMessageA(f, EM_SETSEL, 0, -1);
        SendMessageA(f, EM_SCROLLCARET, 0, 0);
    } else if (kind == FK_COMBO) {
        SendMessageA(f, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
}

// The first visible, enabled tab stop of a page shown under a tab control (the tab control itself when
// the page has none) gets its text selected, and the focus when `give_focus` is set.
void focus_first(HWND tab, HWND page, bool give_focus)
{
    HWND first = tab;
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) {
            first = c;
            break;
        }
    }
    if (give_focus)
        SetFocus(first);
    select_all_text(first);
}

// A tab change while a numeric field holds a refused text: the field gets the focus back with its
// text selected and the tab control stays on its tab. Returns the field, or null when none waits.
HWND hold_tab_for_refused_field(HWND dlg, HWND tab)
{
    HWND focus = GetFocus();
    if (focus && focus != tab && IsChild(dlg, focus) && is_numeric_class(focus))
        WDialogFieldValidate(focus, tab, 0);
    HWND field = waiting_refused_field();
    if (!field || !IsWindow(field))
        return nullptr;
    take_pending_tab_field();
    IOsBeep();
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    return field;
}

// Returns TRUE for a selection change that is refused.
BOOL tab_changed(HWND dlg, NMHDR* n)
{
    HWND tab = n->hwndFrom;
    int index = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    SendMessageA(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    int page = static_cast<int>(item.lParam);
    DialogRecord* r = event_record(dlg);
    int slot = WDialogSlotFromId(page);
    if (n->code == TCN_SELCHANGING) {
        if (!DIALOG_TABLE.creating && hold_tab_for_refused_field(dlg, tab))
            return TRUE;
        if (slot > 0)
            ShowWindow(DIALOG_TABLE.loaded[slot], SW_HIDE);
        if (r && !DIALOG_TABLE.creating)
            r->tab_left = page;
        return FALSE;
    }
    if (slot > 0) {
        HWND p = DIALOG_TABLE.loaded[slot];
        RECT rc;
        GetWindowRect(tab, &rc);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        SetWindowPos(p, tab, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        if (!DIALOG_TABLE.creating && IsWindowVisible(tab))
            focus_first(tab, p, GetFocus() != tab);
    }
    if (r && !DIALOG_TABLE.creating) {
        r->tab_shown = page;
        if (!is_modal(dlg))
            post_dialog_message(MsgTabChanged, r->id, r->tab_left, r->tab_shown, -1, -1);
    }
    return FALSE;
}

bool is_system_command(int id)
{
    switch (id) {
    case SC_MOVE:
    case SC_SIZE:
    case SC_MAXIMIZE:
    case SC_MINIMIZE:
    case SC_CLOSE:
    case SC_RESTORE: return true;
    default: return false;
    }
}

// A click into a child-style dialog of the main window: it comes to the top, takes the focus unless
// one of its fields has it, becomes the active dialog and is drawn active.
void activate_child_dialog(HWND dlg)
{
    BringWindowToTop(dlg);
    HWND focus = GetFocus();
    if (!focus || (focus != dlg && !IsChild(dlg, focus)))
        SetFocus(dlg);
    DIALOG_TABLE.active = dlg;
    WIN_ACTIVE_DIALOG = dlg;
    SendMessageA(dlg, WM_NCACTIVATE, TRUE, 0);
}

// The system menu of a child-style dialog at a screen position, with restore as its default item
// when that is enabled, else close; the chosen item is carried out.
void pop_up_system_menu(HWND dlg, POINT at)
{
    HMENU menu = GetSystemMenu(dlg, FALSE);
    if (!menu)
        return;
    const bool restore = !(GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    SetMenuDefaultItem(menu, restore ? SC_RESTORE : SC_CLOSE, FALSE);
    const int chosen =
        static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, dlg, nullptr));
    if (chosen)
        SendMessageA(dlg, WM_SYSCOMMAND, static_cast<WPARAM>(chosen), 0);
}

// Enables or greys items of a dialog's system menu.
void system_menu_items(HWND dlg, std::initializer_list<UINT> items, bool enable)
{
    HMENU menu = GetSystemMenu(dlg, FALSE);
    if (!menu)
        return;
    for (UINT item : items)
        EnableMenuItem(menu, item, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

// A tree view's item expanded or selection changed is a change of the field, with the notice as its
// detail; a double click on an item without children presses the default push button.
BOOL tree_notice(HWND dlg, NMHDR* n)
{
    switch (n->code) {
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        field_change(dlg, static_cast<int>(n->idFrom), reinterpret_cast<LPARAM>(n), true);
        return TRUE;
    case NM_DBLCLK: {
        const DWORD at = GetMessagePos();
        TVHITTESTINFO hit = {};
        hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(n->hwndFrom, &hit.pt);
        auto item = reinterpret_cast<HTREEITEM>(
            SendMessageA(n->hwndFrom, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (item && !(hit.flags & TVHT_ONITEM))
            item = nullptr;
        if (item && !SendMessageA(n->hwndFrom, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)))
            press_default_button(dlg);
        return TRUE;
    }
    default: return FALSE;
    }
}

// Embeds the page dialogs of every tab control as children of the dialog.
void attach_pages(HWND dlg)
{
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        if (WDialogFieldKindOf(f) != FK_TAB)
            continue;
        int n = static_cast<int>(SendMessageA(f, TCM_GETITEMCOUNT, 0, 0));
        int sel = static_cast<int>(SendMessageA(f, TCM_GETCURSEL, 0, 0));
        for (int i = 0; i < n; ++i) {
            TCITEMA item = {};
            item.mask = TCIF_PARAM;
            SendMessageA(f, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            int slot = WDialogSlotFromId(static_cast<int>(item.lParam));
            if (slot < 1)
                continue;
            HWND p = DIALOG_TABLE.loaded[slot];
            LONG style = GetWindowLongA(p, GWL_STYLE);
            style &= ~(WS_CAPTION | WS_POPUP | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME);
            style |= WS_CHILD | DS_CONTROL;
            SetWindowLongA(p, GWL_STYLE, style);
            SetWindowLongA(p, GWL_EXSTYLE, GetWindowLongA(p, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
            SetParent(p, dlg);
            EnableWindow(p, TRUE);
            RECT rc;
            GetWindowRect(f, &rc);
            MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
            SendMessageA(f, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
            SetWindowPos(p, f, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
            // The dialog itself may not be shown yet: the tab control's own visible style counts.
            ShowWindow(p, i == sel && (GetWindowLongA(f, GWL_STYLE) & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
            attach_pages(p);
        }
    }
}

// A button or static of the image style shows the bitmap or icon whose resource id is its field id; a
// button without such an image shows its text.
void show_template_image(HWND f, int kind, LONG style)
{
    const int id = GetDlgCtrlID(f);
    if (kind == FK_BUTTON || kind == FK_CHECK || kind == FK_RADIO) {
        if (!(style & (BS_BITMAP | BS_ICON)))
            return;
        if (!show_resource_image(f, id, (style & BS_ICON) ? IMAGE_ICON : IMAGE_BITMAP))
            SetWindowLongA(f, GWL_STYLE, style & ~(BS_BITMAP | BS_ICON));
    } else if (kind == FK_STATIC) {
        const LONG type = style & SS_TYPEMASK;
        const UINT image = type == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP;
        if ((type == SS_BITMAP || type == SS_ICON) && !SendMessageA(f, STM_GETIMAGE, image, 0))
            show_resource_image(f, id, image);
    }
}

void init_fields(HWND dlg)
{
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        FieldRecord& r = make_field_record(f);
        int kind = WDialogFieldKindOf(f);
        LONG style = GetWindowLongA(f, GWL_STYLE);
        if (kind == FK_EDIT) {
            r.max_length = (style & ES_MULTILINE) ? 65535 : 32767;
            SendMessageA(f, EM_LIMITTEXT, r.max_length, 0);
        } else if (kind == FK_CHECK || kind == FK_RADIO) {
            int t = style & BS_TYPEMASK;
            int automatic = t == BS_CHECKBOX      ? BS_AUTOCHECKBOX
                            : t == BS_3STATE      ? BS_AUTO3STATE
                            : t == BS_RADIOBUTTON ? BS_AUTORADIOBUTTON
                                                  : t;
            SetWindowLongA(f, GWL_STYLE, (style & ~BS_TYPEMASK) | automatic);
        }
        show_template_image(f, kind, style);
        if (kind == FK_TREE)
            SetWindowLongA(f, GWL_STYLE,
                           style | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                               TVS_DISABLEDRAGDROP);
        SetWindowLongA(f, GWL_EXSTYLE, GetWindowLongA(f, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY);
        install_control_handling(f);
    }
    // The dialog shows the main window's small icon, and a button of its own on the task bar.
    if (HWND main = WIN_TABLE.slot[0].frame) {
        LONG_PTR icon = GetClassLongPtrA(main, GCLP_HICONSM);
        SendMessageA(dlg, WM_SETICON, ICON_SMALL, icon ? icon : GetClassLongPtrA(main, GCLP_HICON));
    }
    SetWindowLongA(dlg, GWL_EXSTYLE, GetWindowLongA(dlg, GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

}  // namespace

bool dialog_in_main_window(HWND dlg)
{
    HWND parent = GetParent(dlg);
    return is_child_style(dlg) && parent &&
           (parent == WIN_TABLE.slot[0].frame || parent == WIN_TABLE.slot[0].client);
}

int WDialogIsModal(HWND dlg)
{
    for (HWND w = dlg; w; w = is_child_style(w) ? GetParent(w) : nullptr)
        if (w == DIALOG_TABLE.modal)
            return 1;
    return 0;
}

void post_dialog_message(int type, int dialog_id, int value1, int value2, int x, int y)
{
    if (!WMsgEnableGet(type))
        return;
    // A field change after another message of the same wait or poll waits for the next one.
    const bool held = type == MsgFieldChanged && MSG_LOOP.in_loop && MSG_CURRENT.complete;
    WinCurrentMessage& m = held ? MSG_HELD : MSG_CURRENT;
    m.type = type;
    m.window = dialog_id;
    m.value1 = value1;
    m.value2 = value2;
    m.source_kind = type == MsgFieldChanged ? 0 : -1;
    m.field = -1;
    m.x = x;
    m.y = y;
    m.time = static_cast<int>(GetMessageTime());
    m.complete = true;
}

void WWinDisableOthers(HWND keep, bool windows)
{
    for (int s = 1; s <= DIALOG_TABLE.count; ++s) {
        HWND d = DIALOG_TABLE.loaded[s];
        HWND parent = GetParent(d);
        if (d != keep && IsWindowVisible(d) &&
            (!parent || parent == WIN_TABLE.slot[0].frame || parent == WIN_TABLE.slot[0].client))
            EnableWindow(d, FALSE);
    }
    if (windows)
        for (const WinSlot& w : WIN_TABLE.slot)
            if (w.frame && w.frame != keep && IsWindowVisible(w.frame))
                EnableWindow(w.frame, FALSE);
}

void WWinEnableOthers(HWND keep, bool windows)
{
    if (DIALOG_TABLE.semi_modeless > 0) {
        if (keep)
            EnableWindow(keep, TRUE);
        return;
    }
    for (int s = 1; s <= DIALOG_TABLE.count; ++s)
        EnableWindow(DIALOG_TABLE.loaded[s], TRUE);
    if (windows)
        for (const WinSlot& w : WIN_TABLE.slot)
            if (w.frame)
                EnableWindow(w.frame, TRUE);
}

void WDialogShow(int x, int y, int focus_field, int mode)
{
    HWND dlg = current_dialog_window();
    if (!dlg) {
        IErrorReport(ERR_NO_DIALOG);
        return;
    }
    DialogRecord* r = dialog_record(dlg);
    int keep_window = WIN_CURRENT.window;
    if (keep_window != 0 && WIN_TABLE.slot[0].frame)
        WWinMakeCurrent(0, false);
    int px = x, py = y;
    if (x != -1 || y != -1) {
        int ux = 0, uy = 0;
        WGrUnitsToPixels(x, y, ux, uy);
        if (x != -1)
            px = ux;
        if (y != -1)
            py = uy;
    }
    int result = 0;
    bool child = is_child_style(dlg);
    int snapshot_error = 0;
    if (mode == 1 && !r->shown) {
        // The windows keep their pictures while the modal show blocks the application.
        WWinSnapshot(1, -1, snapshot_error);
        if (snapshot_error)
            IErrorReport(snapshot_error);
    }
    if (r->shown) {
        ShowWindow(dlg, SW_SHOWNORMAL);
        BringWindowToTop(dlg);
        UpdateWindow(dlg);
        if (child)
            activate_child_dialog(dlg);
    } else {
        if (mode == 2 && DIALOG_TABLE.semi_modeless > 0) {
            mode = 3;
            result = -1;
        }
        if (child && mode != 2) {
            if (mode == 1)
                WWinSnapshot(0, -1, snapshot_error);
            mode = 2;
            result = -1;
        }
        // Position: screen pixels for a framed dialog (the raw arguments), pixels of the main window's
        // client for a child-style one; -1 centres.
        int sx = child ? px : x;
        int sy = child ? py : y;
        RECT dr;
        GetWindowRect(dlg, &dr);
        int dw = dr.right - dr.left;
        int dh = dr.bottom - dr.top;
        read_screen_info();
        int W = WIN_SCREEN.width, H = WIN_SCREEN.height;
        if (child) {
            RECT c;
            GetClientRect(WIN_TABLE.slot[0].client, &c);
            W = c.right;
            H = c.bottom;
        } else if (x != -1 || y != -1) {
            // A framed dialog is placed in units of the main window's client, converted to the screen.
            POINT p = {px, py};
            if (WIN_TABLE.slot[0].client)
                ClientToScreen(WIN_TABLE.slot[0].client, &p);
            sx = x == -1 ? -1 : p.x;
            sy = y == -1 ? -1 : p.y;
        }
        if (sx == -1)
            sx = (W - dw) / 2;
        if (sy == -1)
            sy = (H - dh) / 2;
        bool active_visible = DIALOG_TABLE.active && IsWindowVisible(DIALOG_TABLE.active);
        r->owner = active_visible ? DIALOG_TABLE.active : DIALOG_TABLE.default_owner;
        r->reenable = DIALOG_TABLE.last_semi_modeless ? DIALOG_TABLE.last_semi_modeless : r->owner;
        r->mode = mode;
        SetWindowPos(dlg, HWND_TOP, sx, sy, 0, 0, SWP_NOSIZE);
        HWND focus = focus_field ? GetDlgItem(dlg, focus_field) : nullptr;
        if (mode == 1) {
            HWND keep_owner = DIALOG_TABLE.default_owner;
            HWND keep_active = DIALOG_TABLE.active;
            WWinDisableOthers(dlg, true);
            DIALOG_TABLE.modal = dlg;
            attach_pages(dlg);
            ShowWindow(dlg, SW_SHOWNORMAL);
            EnableWindow(dlg, TRUE);
            SetForegroundWindow(dlg);
            if (focus) {
                SetFocus(focus);
                select_all_text(focus);
            }
            r->shown = 1;
            // The modal show runs its own loop until a push button ends it; the application's wait and
            // poll are not called meanwhile.
            modal_ended = false;
            MSG msg;
            while (!modal_ended && GetMessageA(&msg, nullptr, 0, 0) > 0) {
                if (!IsDialogMessageA(dlg, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
            ShowWindow(dlg, SW_HIDE);
            r->shown = 0;
            DIALOG_TABLE.modal = nullptr;
            WWinEnableOthers(DIALOG_TABLE.last_semi_modeless ? DIALOG_TABLE.last_semi_modeless : r->owner,
                             true);
            DIALOG_TABLE.default_owner = keep_owner;
            DIALOG_TABLE.active = keep_active;
            WWinSnapshot(0, -1, snapshot_error);
            DIALOG_RESULTS.exit_button = r->current_field;
            DIALOG_RESULTS.focus_field = r->previous_field;
            if (r->owner && IsWindow(r->owner))
                SetActiveWindow(r->owner);
        } else {
            if (mode == 3) {
                ++DIALOG_TABLE.semi_modeless;
                DIALOG_TABLE.last_semi_modeless = dlg;
                WWinDisableOthers(dlg, false);
                for (const WinSlot& w : WIN_TABLE.slot)
                    if (w.frame)
                        EnableWindow(w.frame, FALSE);
            }
            if (child && (WIN_TABLE.main_hidden || !WIN_TABLE.slot[0].frame)) {
                result = -2;
            } else {
                attach_pages(dlg);
                ShowWindow(dlg, SW_SHOWNORMAL);
                UpdateWindow(dlg);
                if (focus) {
                    SetFocus(focus);
                    select_all_text(focus);
                }
                r->previous_field = focus ? focus_field : 0;
                r->shown = 1;
                if (child) {
                    BringWindowToTop(dlg);
                    SendMessageA(dlg, WM_NCACTIVATE, TRUE, 0);
                    DIALOG_TABLE.active = dlg;
                }
            }
        }
    }
    if (keep_window != 0)
        WWinMakeCurrent(keep_window, false);
    if (result == -1)
        IErrorReport(ERR_DIALOG_MODE);
    else if (result == -2)
        IErrorReport(ERR_PARENT_HIDDEN);
    else if (result == -3)
        IErrorReport(ERR_PARENT_COMBINED);
}

INT_PTR CALLBACK WDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    // A grid's current cell changed: a field change of the grid, carrying the cell code.
    if (GRID_FIELD_HOOKS.cell_change && msg == GRID_FIELD_HOOKS.cell_change) {
        field_change(dlg, static_cast<int>(wp), lp, true);
        return TRUE;
    }
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        // A dialog keeps its size: restore, maximise and size are greyed in its system menu.
        system_menu_items(dlg, {SC_RESTORE, SC_MAXIMIZE, SC_SIZE}, false);
        init_fields(dlg);
        return FALSE;  // the focus is chosen by the show
    case WM_SIZE:
        if (wp == SIZE_MINIMIZED || wp == SIZE_RESTORED) {
            system_menu_items(dlg, {SC_MINIMIZE}, wp == SIZE_RESTORED);
            system_menu_items(dlg, {SC_RESTORE}, wp == SIZE_MINIMIZED);
        }
        return FALSE;
    case WM_PAINT: return picture_dialog_paint(dlg) ? TRUE : FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: return picture_mouse_event(dlg, dlg, 0, msg, wp, lp) ? TRUE : FALSE;
    case WM_DESTROY:
        snapshot_forget_dialog(dlg);
        for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT))
            free_field_record(f);
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            if (DIALOG_TABLE.active == dlg)
                DIALOG_TABLE.active = nullptr;
            DIALOG_TABLE.default_owner = dlg;
        } else {
            DIALOG_TABLE.active = dlg;
        }
        WIN_ACTIVE_DIALOG = DIALOG_TABLE.active;
        return FALSE;
    case WM_HELP:
        if (!is_modal(dlg)) {
            DialogRecord* r = dialog_record(dlg);
            if (r && r->current_field != 9)
                r->previous_field = r->current_field;
            if (r)
                post_dialog_message(MsgButton, r->id, 9, r->previous_field, -1, -1);
        }
        return TRUE;
    case WM_SETFOCUS:
        // A child-style dialog in the main window gives the focus back to the field that had it last.
        if (DialogRecord* r = dialog_record(dlg); r && dialog_in_main_window(dlg) && r->last_focus &&
                                                  IsChild(dlg, r->last_focus) &&
                                                  IsWindowVisible(r->last_focus)) {
            SetFocus(r->last_focus);
            return TRUE;
        }
        return FALSE;
    case WM_MOUSEACTIVATE:
        if (const DialogRecord* r = dialog_record(dlg); r && dialog_in_main_window(dlg) && !r->combined)
            activate_child_dialog(dlg);
        return FALSE;
    case WM_NCRBUTTONUP:
        if (is_child_style(dlg) && (wp == HTCAPTION || wp == HTSYSMENU)) {
            pop_up_system_menu(dlg, {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wp);
        int code = HIWORD(wp);
        HWND ctl = reinterpret_cast<HWND>(lp);
        // The system menu of a child-style dialog sends its items as commands.
        if (!ctl && is_child_style(dlg) && is_system_command(id)) {
            SendMessageA(dlg, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
            return TRUE;
        }
        if (DIALOG_TABLE.creating || !ctl)
            return FALSE;
        if (code == BN_CLICKED && is_push_button(ctl)) {
            push_button(dlg, id);
            return TRUE;
        }
        const FieldEvent event = field_event(ctl, code);
        if (event == FieldEvent::DoubleClick) {
            press_default_button(dlg);
            return TRUE;
        }
        if (event == FieldEvent::Change || event == FieldEvent::Arrival) {
            DialogRecord* r = event_record(dlg);
            bool same = r && r->current_field == id;
            field_change(dlg, id, lp, !(event == FieldEvent::Arrival && same));
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* n = reinterpret_cast<NMHDR*>(lp);
        if (n->code == TCN_SELCHANGING || n->code == TCN_SELCHANGE) {
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, tab_changed(dlg, n));
            return TRUE;
        }
        if (WDialogFieldKindOf(n->hwndFrom) == FK_TREE)
            return tree_notice(dlg, n);
        if (n->code == UDN_DELTAPOS) {
            HWND buddy = reinterpret_cast<HWND>(SendMessageA(n->hwndFrom, UDM_GETBUDDY, 0, 0));
            bool spin = false;
            if (buddy && numeric_kind(buddy, spin) && spin) {
                SendMessageA(buddy, SPIN_STEP_MESSAGE, reinterpret_cast<NMUPDOWN*>(lp)->iDelta, 0);
                SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);  // the control's own position stays
                return TRUE;
            }
        }
        return FALSE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        HWND ctl = reinterpret_cast<HWND>(lp);
        if (!ctl)
            return FALSE;
        int kind = WDialogFieldKindOf(ctl);
        if (kind == FK_TRACKBAR && LOWORD(wp) != TB_ENDTRACK && LOWORD(wp) != TB_THUMBPOSITION) {
            trackbar_shift_selection(ctl);
            field_change(dlg, GetDlgCtrlID(ctl), lp, true);
            return TRUE;
        }
        if (kind == FK_NONE && LOWORD(wp) != SB_ENDSCROLL && !is_modal(dlg)) {
            HWND buddy = reinterpret_cast<HWND>(SendMessageA(ctl, UDM_GETBUDDY, 0, 0));
            if (buddy) {
                DialogRecord* r = dialog_record(dlg);
                int bid = GetDlgCtrlID(buddy);
                r->previous_field = bid;
                r->current_field = bid;
                r->last_focus = buddy;
                post_dialog_message(MsgFieldChanged, r->id, bid, bid, 0, -1);
            }
        }
        return FALSE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        HWND ctl = reinterpret_cast<HWND>(lp);
        while (ctl && GetParent(ctl) != dlg)
            ctl = GetParent(ctl);
        FieldRecord* f = ctl ? field_record(ctl) : nullptr;
        if (!f || (f->foreground < 0 && f->background < 0))
            return FALSE;
        HDC dc = reinterpret_cast<HDC>(wp);
        if (f->foreground >= 0)
            SetTextColor(dc, static_cast<COLORREF>(f->foreground));
        if (f->background >= 0) {
            SetBkColor(dc, static_cast<COLORREF>(f->background));
            // The field owns its brush: made at its first paint, freed with its record.
            return reinterpret_cast<INT_PTR>(f->background_brush.get(static_cast<COLORREF>(f->background)));
        }
        // Only a foreground: the system's background of the kind, colour and brush.
        const int background =
            msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX ? COLOR_WINDOW : COLOR_BTNFACE;
        SetBkColor(dc, GetSysColor(background));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(background));
    }
    default: return FALSE;
    }
}
