// Dialog picture fields: a field of the current dialog, or the dialog's own client area, as the
// drawing surface of the graphics core, and the messages such a picture raises: an expose after it has
// painted (type 107) and its mouse events (104 down, 105 up, 106 move, 116 double click), handed to the
// application as types 7, 4, 5, 6 and 16 with source kind 1.
#include "toolkit/win/picture_fields.h"
#include "toolkit/win/picture_fields_win.h"

#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_platform.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_table_win.h"

#include <map>

namespace {

// The field window whose context WDialogFieldTarget took (it stays acquired while it is the surface).
struct HeldFieldContext {
    HWND window = nullptr;
    HDC dc = nullptr;
};

HeldFieldContext held;

// Procedures of the picture fields that the toolkit's picture handling sits in front of.
std::map<HWND, WNDPROC> BASE_PROCS;

bool is_static(HWND w)
{
    char c[16] = {};
    GetClassNameA(w, c, sizeof c);
    return lstrcmpiA(c, "STATIC") == 0;
}

LRESULT CALLBACK picture_field_proc(HWND f, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = BASE_PROCS.find(f);
    WNDPROC base = it != BASE_PROCS.end() ? it->second : DefWindowProcA;
    HWND dlg = GetParent(f);
    switch (msg) {
    case WM_PAINT: {
        // While snapshots are held the field shows its part of the dialog's snapshot.
        if (snapshot_paint_dialog_part(dlg, f))
            return 0;
        LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
        DialogRecord* r = dialog_record(dlg);
        if (r && !WDialogIsModal(dlg)) {
            r->picture_field = GetDlgCtrlID(f);
            WMsgPost(107, 0, 0, 0, f);
        }
        return result;
    }
    case WM_NCHITTEST:
        // A static lets the mouse through to the dialog unless told otherwise; a picture takes it.
        if (is_static(f))
            return HTCLIENT;
        break;
    case WM_SETCURSOR:
        if (is_static(f) && WIN_TABLE.client_cursor && LOWORD(lp) == HTCLIENT) {
            SetCursor(WIN_TABLE.client_cursor);
            return TRUE;
        }
        break;
    case WM_NCDESTROY:
        if (held.window == f) {
            if (GrGdiContext.dc == held.dc)
                gr_select_current_window();
            picture_target_release();
        }
        SetWindowLongPtrA(f, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
        if (it != BASE_PROCS.end())
            BASE_PROCS.erase(it);
        return CallWindowProcA(base, f, msg, wp, lp);
    default:
        if (is_static(f) && picture_mouse_event(dlg, f, GetDlgCtrlID(f), msg, wp, lp))
            return 0;
        break;
    }
    return CallWindowProcA(base, f, msg, wp, lp);
}

// Puts the picture handling in front of the field's own procedure (once).
void subclass_picture_field(HWND f)
{
    if (BASE_PROCS.count(f))
        return;
    auto base = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(f, GWLP_WNDPROC));
    BASE_PROCS[f] = base;
    SetWindowLongPtrA(f, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(picture_field_proc));
}

} // namespace

bool picture_mouse_event(HWND dlg, HWND source, int field, UINT msg, WPARAM wp, LPARAM lp)
{
    int type = 0;
    int button = 0;
    switch (msg) {
    case WM_MOUSEMOVE: type = 106; break;
    case WM_LBUTTONDOWN: type = 104; button = 1; break;
    case WM_MBUTTONDOWN: type = 104; button = 2; break;
    case WM_RBUTTONDOWN: type = 104; button = 3; break;
    case WM_LBUTTONUP: type = 105; button = 1; break;
    case WM_MBUTTONUP: type = 105; button = 2; break;
    case WM_RBUTTONUP: type = 105; button = 3; break;
    case WM_LBUTTONDBLCLK: type = 116; button = 1; break;
    case WM_MBUTTONDBLCLK: type = 116; button = 2; break;
    case WM_RBUTTONDBLCLK: type = 116; button = 3; break;
    default: return false;
    }
    DialogRecord* r = dialog_record(dlg);
    if (!r || WDialogIsModal(dlg))
        return false;
    bool picture = field == 0 ? r->picture != 0 : false;
    if (field != 0) {
        FieldRecord* fr = field_record(source);
        picture = fr && fr->picture;
    }
    if (!picture)
        return false;
    if (type == 116 && !WMsgEnableGet(MsgDoubleClick))
        type = 104;
    if (type == 104 || type == 116)
        SetCapture(source);
    else if (type == 105)
        ReleaseCapture();
    r->picture_field = field;
    r->mouse_button = button;
    WMsgPost(type, button, wp, lp, source);
    return true;
}

bool picture_dialog_paint(HWND dlg)
{
    if (snapshot_paint_dialog_part(dlg, dlg))
        return true;
    DialogRecord* r = dialog_record(dlg);
    if (!r || !r->picture || WDialogIsModal(dlg))
        return false;
    PAINTSTRUCT ps;
    BeginPaint(dlg, &ps);
    EndPaint(dlg, &ps);
    r->picture_field = 0;
    WMsgPost(107, 0, 0, 0, dlg);
    return true;
}

void WDialogFieldTarget(int& field, int& width, int& height)
{
    width = 0;
    height = 0;
    HWND dlg = current_dialog_window();
    HWND w = !dlg ? nullptr : field == 0 ? dlg : GetDlgItem(dlg, field);
    if (!w) {
        field = -1;
        return;
    }
    picture_target_release();
    HDC dc = GetDC(w);
    if (!dc) {
        field = -1;
        return;
    }
    held = HeldFieldContext{w, dc};
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE);
    RECT r;
    GetClientRect(w, &r);
    width = r.right;
    height = r.bottom;
    gr_gdi_bind(dc, -1);
    if (field == 0) {
        dialog_record(dlg)->picture = 1;
    } else if (FieldRecord* fr = field_record(w)) {
        fr->picture = 1;
        subclass_picture_field(w);
    }
}

void picture_target_release()
{
    if (!held.dc)
        return;
    if (GrGdiContext.dc == held.dc)
        gr_gdi_unbind();  // the drawing objects leave the context while it is still valid
    ReleaseDC(held.window, held.dc);
    held = HeldFieldContext{};
}

HWND picture_target_window()
{
    return held.window;
}
