// Off-screen bitmaps: the table of 20 bitmaps compatible with the screen, creation, copies into and
// out of the drawing surface, selection as the drawing surface, pixel transfer and the transfer mode.
//
// A bitmap can be selected into one drawing context at a time. The memory context that makes a bitmap
// the drawing surface is kept here; once another surface has been bound it is released before any
// bitmap operation, so that the bitmap can be selected, copied and deleted again.
#include "toolkit/win/offscreen_bitmap_win.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/win/bitmap_viewer.h"
#include "toolkit/win/window_table_win.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

GrBitmapTableRecord GrBitmapTable;

namespace {

// The memory context of the bitmap selected as drawing surface.
struct SelectedBitmap {
    HDC dc = nullptr;            // null: none
    HGDIOBJ replaced = nullptr;  // the context's own bitmap, selected back before it is deleted
    int slot = -1;
};

SelectedBitmap selected;

bool valid_slot(int slot)
{
    return slot >= 0 && slot < BITMAP_SLOTS && GrBitmapTable.slot[slot].bitmap;
}

void release_selected()
{
    if (!selected.dc)
        return;
    SelectObject(selected.dc, selected.replaced);
    DeleteDC(selected.dc);
    selected = SelectedBitmap{};
}

// A reference context for the bitmaps: the current window's context, the screen's when no window is
// current.
class CurrentReferenceDc : public ReferenceDc {
public:
    CurrentReferenceDc() : ReferenceDc(WIN_CURRENT.dc) {}
};

// A context in which the bitmap of a slot is selected: the drawing context when the slot is the
// selected surface, else a memory context of its own (BitmapDc) deleted with its owner.
class SlotDc {
public:
    explicit SlotDc(int slot)
    {
        if (selected.dc && selected.slot == slot) {
            dc_ = selected.dc;
            return;
        }
        CurrentReferenceDc reference;
        own_.emplace(reference.get(), GrBitmapTable.slot[slot].bitmap);
        dc_ = own_->get();
    }
    SlotDc(const SlotDc&) = delete;
    SlotDc& operator=(const SlotDc&) = delete;
    HDC get() const { return dc_; }  // null when the bitmap cannot be selected

private:
    std::optional<BitmapDc> own_;
    HDC dc_ = nullptr;
};

// Colour of a packed RGB value on this display: the nearest palette entry on a palette display.
COLORREF display_colour(HDC dc, uint32_t rgb)
{
    if (GrGdiContext.palette)
        return PALETTEINDEX(GetNearestPaletteIndex(GrGdiContext.palette, rgb & 0xFFFFFF));
    return GetNearestColor(dc, rgb & 0xFFFFFF);
}

// Visits the pixels of a bitmap from the bottom row up, left to right, as (context, x, y, entry
// y * width + x) for entries below n; 1021 for a bad or empty slot, else 0.
template <class Visit>
int visit_pixels(int slot, size_t n, Visit visit)
{
    gr_bitmap_release_stale();
    if (!valid_slot(slot))
        return ERR_BITMAP_HANDLE;
    const GrBitmapSlot& s = GrBitmapTable.slot[slot];
    SlotDc bitmap(slot);
    if (!bitmap.get())
        return 0;
    for (int y = s.height - 1; y >= 0; --y)
        for (int x = 0; x < s.width; ++x) {
            size_t at = size_t(y) * size_t(s.width) + size_t(x);
            if (at < n)
                visit(bitmap.get(), x, y, at);
        }
    return 0;
}

}  // namespace

void gr_bitmap_release_stale()
{
    if (selected.dc && GrGdiContext.dc != selected.dc)
        release_selected();
}

void IGrBitmapCreate(int& handle, int width, int height, int rgb)
{
    gr_bitmap_release_stale();
    int slot = 0;
    while (slot < BITMAP_SLOTS && GrBitmapTable.slot[slot].bitmap)
        ++slot;
    if (slot == BITMAP_SLOTS) {
        handle = 0;
        return;
    }
    handle = -1;
    if (width < 1 || height < 1)
        return;
    CurrentReferenceDc reference;
    HBITMAP bitmap = CreateCompatibleBitmap(reference.get(), width, height);
    if (!bitmap)
        return;

    // Fill with the colour: no pen, a solid brush (palette entry 0 on a palette display).
    {
        BitmapDc memory(reference.get(), bitmap);
        if (!memory.get()) {
            DeleteObject(bitmap);
            return;
        }
        PaletteSelection realised(memory.get(), GrGdiContext.palette);
        const COLORREF fill =
            GrGdiContext.palette ? PALETTEINDEX(0) : GetNearestColor(memory.get(), COLORREF(rgb) & 0xFFFFFF);
        ShapeObjects shape(memory.get(), CreateSolidBrush(fill), nullptr, nullptr);
        SetROP2(memory.get(), R2_COPYPEN);
        Rectangle(memory.get(), 0, 0, width + 1, height + 1);
    }

    GrBitmapTable.slot[slot] = GrBitmapSlot{bitmap, width, height};
    handle = slot + 1;
}

void WBitmapCreate(int& handle, int width, int height)
{
    int rgb = 0;
    IGrColourRGBGet(0, rgb);
    IGrBitmapCreate(handle, width, height, rgb);
    if (handle < 1)
        IErrorReport(ERR_BITMAP_CREATE);
}

void IGrBitmapBlit(int slot, int stretch, int x, int y, int width, int height)
{
    gr_bitmap_release_stale();
    HDC target = GrGdiContext.dc;
    if (!valid_slot(slot) || !target || width < 1 || height < 1)
        return;
    const GrBitmapSlot& s = GrBitmapTable.slot[slot];
    SlotDc source(slot);
    if (!source.get() || source.get() == target)
        return;
    if (stretch == 0)
        BitBlt(target, x, y, std::min(width, s.width), std::min(height, s.height), source.get(), 0, 0,
               GrGdiContext.transfer);
    else
        StretchBlt(target, x, y, width, height, source.get(), 0, 0, s.width, s.height, GrGdiContext.transfer);
}

void WBitmapPut(int handle, int area_mode, int stretch, std::optional<int> x1, std::optional<int> y1,
                std::optional<int> x2, std::optional<int> y2)
{
    const int slot = handle - 1;
    if (!valid_slot(slot)) {
        IErrorReport(ERR_BITMAP_HANDLE);
        return;
    }
    int x = 0, y = 0, width = GrSurface.width, height = GrSurface.height;
    if (area_mode == 1) {
        if (!x1 || !y1 || !x2 || !y2)
            return;
        x = std::min(*x1, *x2);
        y = std::min(*y1, *y2);
        width = std::abs(*x2 - *x1) + 1;
        height = std::abs(*y2 - *y1) + 1;
    } else if (area_mode == 2) {
        // The graphics area in pixels, rows counted downwards from its top.
        x = GrDeviceArea.ix1;
        y = GrSurface.max_row - GrDeviceArea.iy2;
        width = GrDeviceArea.pixel_width;
        height = GrDeviceArea.pixel_height;
    }
    IGrBitmapBlit(slot, stretch, x, y, width, height);
}

void IGrBitmapDelete(int slot, int& status)
{
    gr_bitmap_release_stale();
    if (!valid_slot(slot)) {
        status = 1;
        return;
    }
    if (bitmap_in_view(slot)) {
        status = 2;  // a bitmap viewer still shows it
        return;
    }
    // The drawing surface cannot be deleted under the graphics: the current window becomes the
    // surface first.
    if (selected.dc && selected.slot == slot) {
        gr_select_current_window();
        if (GrGdiContext.dc == selected.dc)
            gr_gdi_unbind();  // no window to draw into: nothing is drawn until a target is selected
        release_selected();
    }
    DeleteObject(GrBitmapTable.slot[slot].bitmap);
    GrBitmapTable.slot[slot] = GrBitmapSlot{};
    status = 0;
}

void WBitmapDestroy(int handle)
{
    int status = 1;
    if (handle >= 1 && handle <= BITMAP_SLOTS)
        IGrBitmapDelete(handle - 1, status);
    if (status == 2)
        IErrorReport(ERR_BITMAP_IN_VIEW);
    else if (status != 0)
        IErrorReport(ERR_BITMAP_HANDLE);
}

void IGrBitmapSelect(int slot, int& status, int& width, int& height)
{
    if (slot == -1)
        slot = GrGdiContext.bitmap;
    gr_bitmap_release_stale();
    width = 0;
    height = 0;
    if (!valid_slot(slot)) {
        status = 1;
        return;
    }
    const GrBitmapSlot& s = GrBitmapTable.slot[slot];
    if (!(selected.dc && selected.slot == slot)) {
        release_selected();
        CurrentReferenceDc reference;
        HDC memory = CreateCompatibleDC(reference.get());
        HGDIOBJ replaced = memory ? SelectObject(memory, s.bitmap) : nullptr;
        if (!replaced || replaced == HGDI_ERROR) {
            if (memory)
                DeleteDC(memory);
            status = 3;
            return;
        }
        selected = SelectedBitmap{memory, replaced, slot};
    }
    SetBkMode(selected.dc, TRANSPARENT);
    gr_gdi_bind(selected.dc, slot);  // pen, drawing mode, palette and pattern for the new context
    GrGdiContext.created = true;
    width = s.width;
    height = s.height;
    status = 0;
}

void IGrBitmapSize(int slot, int& width, int& height)
{
    width = valid_slot(slot) ? GrBitmapTable.slot[slot].width : 0;
    height = valid_slot(slot) ? GrBitmapTable.slot[slot].height : 0;
}

void IGrBitmapGrab(int slot, int x, int y, int width, int height)
{
    IGrBitmapCopy(slot, x, y, 0, 0, width, height, 0);
}

void IGrBitmapCopy(int slot, int source_x, int source_y, int target_x, int target_y, int width, int height,
                   int direction)
{
    gr_bitmap_release_stale();
    HDC surface = GrGdiContext.dc;
    if (!valid_slot(slot) || !surface)
        return;
    SlotDc bitmap(slot);
    if (!bitmap.get() || bitmap.get() == surface)
        return;
    if (direction != 0)
        BitBlt(surface, target_x, target_y, width, height, bitmap.get(), source_x, source_y, SRCCOPY);
    else
        BitBlt(bitmap.get(), target_x, target_y, width, height, surface, source_x, source_y, SRCCOPY);
}

void IGrBitmapPixelsSet(int slot, std::span<const uint32_t> rgb, int& error)
{
    error = visit_pixels(slot, rgb.size(), [rgb](HDC dc, int x, int y, size_t at) {
        SetPixel(dc, x, y, display_colour(dc, rgb[at]));
    });
}

void IGrBitmapPixelsGet(int slot, std::span<uint32_t> rgb, int& error)
{
    error = visit_pixels(slot, rgb.size(),
                         [rgb](HDC dc, int x, int y, size_t at) { rgb[at] = GetPixel(dc, x, y) & 0xFFFFFF; });
}

void gr_bitmaps_delete_all()
{
    if (selected.dc && GrGdiContext.dc == selected.dc)
        gr_gdi_unbind();
    release_selected();
    for (GrBitmapSlot& s : GrBitmapTable.slot) {
        if (s.bitmap)
            DeleteObject(s.bitmap);
        s = GrBitmapSlot{};
    }
    GrGdiContext.bitmap = -1;
}

void IGrBitmapMode(int mode)
{
    static const DWORD modes[4] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT};
    if (mode >= 0 && mode <= 3)
        GrGdiContext.transfer = modes[mode];
}
