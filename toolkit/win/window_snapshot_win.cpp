// Window snapshots (WinBackingBitmap). While a modal box is up the program's own windows are disabled
// and the application, blocked in the box, redraws nothing; so the plain toolkit windows and the shown
// dialogs with pictures are copied into bitmaps when the box comes up, paint from them while it is up,
// and get their pixels back when the outermost box goes. Nested boxes keep the first snapshot.
#include "toolkit/win/window_snapshot_win.h"

#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/window_table_win.h"

#include <map>

namespace {

// One backing bitmap with its nesting count.
struct Backing {
    HBITMAP bitmap = nullptr;
    int count = 0;
    int width = 0;
    int height = 0;
};

struct WinBackingBitmap {
    Backing window[WIN_SLOTS];
    std::map<HWND, Backing> dialog;  // by dialog window: slots move when a dialog is unloaded
    bool held = false;               // set while any count is above 0
};

WinBackingBitmap BACKING;

// Copies the client area of a window (children included, as shown) into a new bitmap.
Backing copy_client(HWND w)
{
    Backing b;
    RECT r;
    GetClientRect(w, &r);
    WindowDc dc(w);
    if (!dc.get())
        return b;
    // The bitmap outlives this function in the backing record: it is not owned here.
    HBITMAP bitmap =
        r.right > 0 && r.bottom > 0 ? CreateCompatibleBitmap(dc.get(), r.right, r.bottom) : nullptr;
    if (!bitmap)
        return b;
    {
        BitmapDc memory(dc.get(), bitmap);
        if (memory.get()) {
            BitBlt(memory.get(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
            b = Backing{bitmap, 0, r.right, r.bottom};
        }
    }
    if (!b.bitmap)
        DeleteObject(bitmap);
    return b;
}

// Copies the part of a backing bitmap that lies at (x, y) of its window into a context.
void blit_from(const Backing& b, HDC target, int x, int y, int width, int height)
{
    BitmapDc memory(target, b.bitmap);
    if (memory.get())
        BitBlt(target, 0, 0, width, height, memory.get(), x, y, SRCCOPY);
}

// Paints a window from the bitmap of `holder`, the window itself or a window containing it.
void paint_part(HWND part, HWND holder, const Backing& b)
{
    POINT at = {0, 0};
    MapWindowPoints(part, holder, &at, 1);
    RECT r;
    GetClientRect(part, &r);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(part, &ps);
    if (dc)
        blit_from(b, dc, at.x, at.y, r.right, r.bottom);
    EndPaint(part, &ps);
}

// Copies a bitmap back to its window, deletes it and marks the window painted.
void restore(HWND w, Backing& b, bool children)
{
    if (WindowDc dc(w); dc.get())
        blit_from(b, dc.get(), 0, 0, b.width, b.height);
    DeleteObject(b.bitmap);
    b = Backing{};
    RedrawWindow(w, nullptr, nullptr, RDW_VALIDATE | (children ? RDW_ALLCHILDREN : 0));
}

bool has_pictures(HWND dlg)
{
    const DialogRecord* r = dialog_record(dlg);
    if (r && r->picture)
        return true;
    for (HWND f = GetWindow(dlg, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) {
        const FieldRecord* fr = field_record(f);
        if (fr && fr->picture)
            return true;
    }
    return false;
}

// A window that the snapshot covers: shown, plain (no special kind) and not inside a parent.
bool snapshot_window(int n, int leave_out)
{
    const WinSlot& s = WIN_TABLE.slot[n];
    return n != leave_out && s.frame && s.client && IsWindowVisible(s.frame) && !win_record(s.frame) &&
           !(GetWindowLongA(s.frame, GWL_STYLE) & WS_CHILD);
}

}  // namespace

void WWinSnapshot(int mode, int leave_out, int& error)
{
    error = 0;
    if (mode == 1) {
        BACKING.held = true;
        for (int n = 0; n < WIN_SLOTS; ++n) {
            if (!snapshot_window(n, leave_out))
                continue;
            Backing& b = BACKING.window[n];
            if (!b.bitmap) {
                int count = b.count;
                b = copy_client(WIN_TABLE.slot[n].client);
                b.count = count;
            }
            ++b.count;
        }
        for (int s = 1; s <= DIALOG_TABLE.count; ++s) {
            HWND dlg = DIALOG_TABLE.loaded[s];
            const DialogRecord* r = dialog_record(dlg);
            if (!r || !r->shown || !IsWindowVisible(dlg) || !has_pictures(dlg))
                continue;
            Backing& b = BACKING.dialog[dlg];
            if (!b.bitmap) {
                // The fields and the dialog paint first, so that the copy holds the pictures as shown.
                RedrawWindow(dlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                int count = b.count;
                b = copy_client(dlg);
                b.count = count;
            }
            ++b.count;
        }
        return;
    }
    BACKING.held = false;
    for (int n = 0; n < WIN_SLOTS; ++n) {
        Backing& b = BACKING.window[n];
        if (n == leave_out || !b.bitmap)
            continue;
        if (--b.count > 0) {
            BACKING.held = true;
            continue;
        }
        if (WIN_TABLE.slot[n].client) {
            restore(WIN_TABLE.slot[n].client, b, false);
        } else {
            DeleteObject(b.bitmap);  // the window closed while the box was up
            b = Backing{};
        }
    }
    for (int s = 1; s <= DIALOG_TABLE.count; ++s) {
        HWND dlg = DIALOG_TABLE.loaded[s];
        auto it = BACKING.dialog.find(dlg);
        if (it == BACKING.dialog.end() || !it->second.bitmap) {
            RedrawWindow(dlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            continue;
        }
        if (--it->second.count > 0) {
            BACKING.held = true;
            continue;
        }
        restore(dlg, it->second, true);
        BACKING.dialog.erase(it);
    }
}

bool snapshots_held()
{
    return BACKING.held;
}

bool snapshot_paint_window(HWND client)
{
    if (!BACKING.held)
        return false;
    // The window itself, or the first window containing it, that holds a bitmap.
    for (int n = WWinFromHandle(client), steps = 0; n >= 0 && steps < WIN_SLOTS; ++steps) {
        if (BACKING.window[n].bitmap) {
            paint_part(client, WIN_TABLE.slot[n].client, BACKING.window[n]);
            return true;
        }
        HWND frame = WIN_TABLE.slot[n].frame;
        if (!(GetWindowLongA(frame, GWL_STYLE) & WS_CHILD))
            break;
        n = WWinFromHandle(GetParent(frame));
    }
    return false;
}

bool snapshot_paint_dialog_part(HWND dlg, HWND part)
{
    if (!BACKING.held)
        return false;
    auto it = BACKING.dialog.find(dlg);
    if (it == BACKING.dialog.end() || !it->second.bitmap)
        return false;
    paint_part(part, dlg, it->second);
    return true;
}

void snapshot_forget_dialog(HWND dlg)
{
    auto it = BACKING.dialog.find(dlg);
    if (it == BACKING.dialog.end())
        return;
    if (it->second.bitmap)
        DeleteObject(it->second.bitmap);
    BACKING.dialog.erase(it);
}
