// The off-screen bitmap table (Win32 build).
#ifndef QR4T_TOOLKIT_WIN_OFFSCREEN_BITMAP_WIN_H
#define QR4T_TOOLKIT_WIN_OFFSCREEN_BITMAP_WIN_H

#include "toolkit/win/offscreen_bitmap.h"

#include <windows.h>

// GrBitmapTable: per slot the system bitmap (null = free) and its size in pixels.
struct GrBitmapSlot {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
};

struct GrBitmapTableRecord {
    GrBitmapSlot slot[BITMAP_SLOTS];
};

extern GrBitmapTableRecord GrBitmapTable;

// Deletes every bitmap of the table (the toolkit's close-down); none is selected afterwards.
void gr_bitmaps_delete_all();

#endif
