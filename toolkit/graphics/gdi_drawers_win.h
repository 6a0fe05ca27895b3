// The GDI drawers behind the screen driver's ops (Win32 only). Coordinates are pixels of the current
// drawing context with rows counted from the top.
#ifndef QR4T_TOOLKIT_GRAPHICS_GDI_DRAWERS_WIN_H
#define QR4T_TOOLKIT_GRAPHICS_GDI_DRAWERS_WIN_H

#include "toolkit/graphics/gr_driver.h"

#include <windows.h>

#include <array>

// GdiPointList: the vertices of a polygon or polyline in pixels (rows from the top), at most 5000;
// the Windows printer and metafile drivers use the same list.
struct GdiPointListRecord {
    std::array<POINT, GR_POLYLINE_MAX> point{};
};
extern GdiPointListRecord GdiPointList;

// Re-creates the pen after a change of colour, style or width.
void gdi_pen_recreate();
// Deletes the font and the pen, selecting back the objects they replaced.
void gdi_release_font_and_pen();

void IGrGdiLine(int x1, int row1, int x2, int row2);                              // op 2
void IGrGdiColour(int device_value, int rgb);                                     // op 3
void IGrGdiEllipse(int cx, int crow, int rx, int ry, int op);                     // ops 4..6
void IGrGdiRectangle(int x1, int row_top, int x2, int row_bottom, bool pattern);  // ops 9, 10
void IGrGdiPie(int cx, int crow, int rx, int ry, int sx, int srow, int ex, int erow, bool pattern);  // 13, 14
void IGrGdiArc(int cx, int crow, int rx, int ry, int sx, int srow, int ex, int erow, int density, int style);
void IGrGdiSetPoint(int i, int x, int row);                               // point i (1-based) of the list
void IGrGdiPolygon(int count, bool pattern);                              // ops 7, 8, 11, 12, 15, 16
void IGrGdiPolyline(int count);                                           // op 32
void IGrGdiClear(int width, int height, int rgb);                         // op 17
void IGrGdiPoint(int x, int row);                                         // op 26
void IGrGdiPlotMode(int mode);                                            // op 27
void IGrGdiLineType(int type);                                            // op 29
void IGrGdiLineWidth(int width);                                          // op 30
void IGrGdiReadPixel(int x, int row, int& red, int& green, int& blue);    // op 31
void IGrGdiClip(int x1, int row_top, int x2, int row_bottom, bool none);  // op 24
// Palette entry: batch 0 single (unrealise, set, realise), 1 first (unrealise, set), 2 middle (set),
// 3 last (set, realise).
void IGrGdiPaletteEntry(int slot, int rgb, int batch);
void IGrGdiDefineColour(int number, int rgb, int batch);  // ops 28, 35
// Creates and selects the text font; returns its height and ascent and, in width, the extent of the
// 52 letters A..Z a..z.
void IGrGdiFont(int& width, int& height, int& ascent, int angle, int family, int style,
                const std::array<char, 100>& face_name);  // ops 21, 33
void IGrGdiText(int x1, int row1, int x2, int row2, int justification, bool opaque, const char* text,
                int count);                                                                       // op 22
void IGrGdiTextWidth(int& width, const char* text, int count);                                    // op 25
void IGrGdiBlockMove(int sl, int st, int dl, int dt, int width, int height, bool fill, int rgb);  // op 23

#endif
