// Dialog picture fields: a field of the current dialog, or the dialog's own client area, as the
// drawing surface of the graphics core, and the messages such a picture raises: an expose after it has
// painted (type 107) and its mouse events (104 down, 105 up, 106 move, 116 double click), handed to the
// application as types 7, 4, 5, 6 and 16 with source kind 1.
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/picture_fields.h"
#include "toolkit/win/picture_fields_win.h"

#include "toolkit/graphics/gdi_context.h"
#include "toolkit/win/gr_target_win.h"
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

bool is_class(HWND w, const char* name)
{
    char c[16] = {};
    GetClassNameA(w, c, sizeof c);
    return lstrcmpiA(c, name) == 0;
}

bool is_static(HWND w)
{
    return is_class(w, "STATIC");
}

// The picture's expose: word 11 names the field; nothing while the dialog runs modal.
void raise_expose(HWND dlg, HWND f)
{
    DialogRecord* r = dialog_record(dlg);
    if (r && !WDialogIsModal(dlg)) {
        r->picture_field = GetDlgCtrlID(f);
        WMsgPost(PictureExpose, 0, 0, 0, f);
    }
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
        raise_expose(dlg, f);
        return result;
    }
    case BM_SETSTATE: {
        // A picture button drawn pressed or released has lost its picture.
        bool was = (SendMessageA(f, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        LRESULT result = CallWindowProcA(base, f, msg, wp, lp);
        if (is_class(f, "BUTTON") && was != (wp != 0))
            raise_expose(dlg, f);
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

}  // namespace

void mark_picture_field(HWND f)
{
    FieldRecord* fr = field_record(f);
    if (!fr)
        return;
    fr->picture = 1;
    if (BASE_PROCS.count(f))
        return;
    // The picture handling goes in front of the field's own procedure, once.
    auto base = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(f, GWLP_WNDPROC));
    BASE_PROCS[f] = base;
    SetWindowLongPtrA(f, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(picture_field_proc));
}

bool picture_mouse_event(HWND dlg, HWND source, int field, UINT msg, WPARAM wp, LPARAM lp)
{
    int type = 0;
    int button = 0;
    switch (msg) {
    case WM_MOUSEMOVE: type = PictureMouseMove; break;
    case WM_LBUTTONDOWN:
        type = PictureMouseDown;
        button = 1;
        break;
    case WM_MBUTTONDOWN:
        type = PictureMouseDown;
        button = 2;
        break;
    case WM_RBUTTONDOWN:
        type = PictureMouseDown;
        button = 3;
        break;
    case WM_LBUTTONUP:
        type = PictureMouseUp;
        button = 1;
        break;
    case WM_MBUTTONUP:
        type = PictureMouseUp;
        button = 2;
        break;
    case WM_RBUTTONUP:
        type = PictureMouseUp;
        button = 3;
        break;
    case WM_LBUTTONDBLCLK:
        type = PictureDoubleClick;
        button = 1;
        break;
    case WM_MBUTTONDBLCLK:
        type = PictureDoubleClick;
        button = 2;
        break;
    case WM_RBUTTONDBLCLK:
        type = PictureDoubleClick;
        button = 3;
        break;
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
    if (type == PictureDoubleClick && !WMsgEnableGet(MsgDoubleClick))
        type = PictureMouseDown;
    if (type == PictureMouseDown || type == PictureDoubleClick)
        SetCapture(source);
    else if (type == PictureMouseUp)
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
    WMsgPost(PictureExpose, 0, 0, 0, dlg);
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
    if (field == 0)
        dialog_record(dlg)->picture = 1;
    else
        mark_picture_field(w);
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
