// Off-screen bitmaps: up to 20 bitmaps compatible with the screen, into which pictures are drawn and
// which are then copied whole into a window. The application sees handle = slot + 1 (1..20); the
// core operations take the slot 0..19.
#ifndef QR4T_TOOLKIT_WIN_OFFSCREEN_BITMAP_H
#define QR4T_TOOLKIT_WIN_OFFSCREEN_BITMAP_H

#include "toolkit/win/entry.h"

#include <cstdint>
#include <optional>
#include <span>

constexpr int BITMAP_SLOTS = 20;

// WBitmapCreate, WBitmapPut and WBitmapDestroy, the application's operations, are declared in entry.h.

// The core operations, by slot 0..19.
// handle = slot + 1, 0 when the table is full, -1 when the system bitmap cannot be made; the bitmap
// is filled with the packed RGB colour (red in the low byte).
void IGrBitmapCreate(int& handle, int width, int height, int rgb);
// Copies the bitmap into the current drawing surface at x, y (pixels, rows downwards).
void IGrBitmapBlit(int slot, int stretch, int x, int y, int width, int height);
// status 0 deleted, 1 no such bitmap, 2 shown by a bitmap viewer (not deleted).
void IGrBitmapDelete(int slot, int& status);
// Makes the bitmap (slot 0..19, or -1 the selected one) the drawing surface; status 0 done, 1 bad or
// empty slot, 3 the bitmap cannot be selected; width and height its size. The caller then sets up the
// surface (IGrSurfaceSetup with kind 2 and the handle).
void IGrBitmapSelect(int slot, int& status, int& width, int& height);
// Releases the drawing context of the selected bitmap when another surface has been bound since; the
// bitmap can then be selected, copied and deleted again.
void gr_bitmap_release_stale();
// width, height of the bitmap; 0, 0 for a bad or empty slot.
void IGrBitmapSize(int slot, int& width, int& height);
// Copies the rectangle x, y, width, height of the drawing surface into the bitmap's top-left corner.
void IGrBitmapGrab(int slot, int x, int y, int width, int height);
// direction not 0: bitmap (source x, y) to drawing surface (target x, y); 0: surface to bitmap.
void IGrBitmapCopy(int slot, int source_x, int source_y, int target_x, int target_y, int width, int height,
                   int direction);
// Sets (or reads) every pixel from (into) packed RGB values, row by row from the top, entry (x, y) at
// y * width + x; entries beyond the array are not visited. error 0, or 1021 for a bad or empty slot.
void IGrBitmapPixelsSet(int slot, std::span<const uint32_t> rgb, int& error);
void IGrBitmapPixelsGet(int slot, std::span<uint32_t> rgb, int& error);
// Transfer mode of the copies: 0 copy, 1 OR (paint), 2 AND, 3 XOR (invert); others change nothing.
void IGrBitmapMode(int mode);

#endif
