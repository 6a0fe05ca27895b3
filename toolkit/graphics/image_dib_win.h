// Device-independent bitmaps on a GDI drawing context (Win32 build): drawing an image file's bitmap
// into a context, and capturing a rectangle of a context into a bitmap that is saved as an image file.
#ifndef QR4T_TOOLKIT_GRAPHICS_IMAGE_DIB_WIN_H
#define QR4T_TOOLKIT_GRAPHICS_IMAGE_DIB_WIN_H

#include "toolkit/graphics/image_save.h"

#include <windows.h>

#include <string_view>

// Draws the bitmap's picture (its left width x height pixels) into dc with StretchDIBits (source
// rectangle the whole picture, DIB_RGB_COLORS, SRCCOPY). stretch 0: at (x1, y1) in its own size,
// inside the clip region when one is given; otherwise stretched to (x2 - x1 + 1) by (y2 - y1 + 1)
// from (x1, y1), without the region. False when GDI refuses the drawing.
bool img_dib_draw(HDC dc, HRGN clip, const DibImage& dib, int width, int height, int x1, int y1, int x2,
                  int y2, int stretch);

// Captures pixels x1..x2, y1..y2 (rows counted downwards) of dc into a bitmap of the context's own
// colour depth, made an even number of pixels wide when even_width is set; palette (or, when null,
// the default palette) is selected and realised for the colour table. False, with the system's error
// code, when a context, the bitmap or its bits cannot be had.
bool img_dc_capture(HDC dc, HPALETTE palette, int x1, int y1, int x2, int y2, bool even_width, DibImage& dib,
                    int& system_code);

// Reads the image file of the type (1 BMP, 2 PCX, 15 PNG) and draws it into dc as img_dib_draw does;
// the drawing surface (window or bitmap, Windows printer, metafile) is the caller's device context.
// status: 0 drawn, else the reading status of img_file_read_dib (1, 2, 27, 1044) with its system code;
// 2 when GDI refuses the drawing.
void IImgFileDraw(HDC dc, HRGN clip, int type, int x1, int y1, int x2, int y2, int stretch, int& status,
                  int& system_code, std::string_view name);

// Captures pixels x1..x2, y1..y2 of dc and saves them as an image of the type (1 BMP, 2 PCX, 15 PNG).
// status: 0 written; 1 the file, the memory or the bitmap could not be had; 2 a write came short or
// compression failed; system_code = the system's error code.
void IImgFileSave(HDC dc, HPALETTE palette, int type, int x1, int y1, int x2, int y2, int& status,
                  int& system_code, std::string_view name);

#endif
