// The screen driver's GDI side: the drawing context record GrGdiContext and the binding of a drawing
// context (a window's client context or a memory context holding an off-screen bitmap) as the screen
// device. Win32 only.
#ifndef QR4T_TOOLKIT_GRAPHICS_GDI_CONTEXT_H
#define QR4T_TOOLKIT_GRAPHICS_GDI_CONTEXT_H

#ifdef _WIN32
#include <windows.h>

#include <array>
#include <vector>

// GrGdiContext: the current drawing context and the drawing objects of the screen driver.
struct GrGdiContextRecord {
    HDC dc = nullptr;                   // the current drawing context
    HDC main_dc = nullptr;              // the main window's context
    int bitmap = -1;                    // number of the selected off-screen bitmap, -1 none
    HGDIOBJ previous_object = nullptr;  // object replaced by the bitmap selection
    HFONT font = nullptr;               // the current font and the object it replaced
    HGDIOBJ font_replaced = nullptr;
    HPEN pen = nullptr;  // the current pen and the pen it replaced
    HGDIOBJ pen_replaced = nullptr;
    int pen_kind = 0;     // pen style 0..4 (PS_SOLID .. PS_DASHDOTDOT)
    int pen_width = 1;    // pixels
    COLORREF colour = 0;  // current colour reference
    COLORREF previous_colour = RGB(255, 255, 255);
    int colour_number = 223;    // current colour number
    HBITMAP pattern = nullptr;  // 8 x 8 two-colour pattern of fill style 3
    bool pattern_dirty = true;
    HPALETTE palette = nullptr;                // logical palette of a palette display
    std::vector<unsigned char> palette_block;  // LOGPALETTE descriptor block
    HRGN clip = nullptr;                       // clip region, null for the whole surface
    bool acquired = false;                     // the context was acquired (GetDC) by the window code
    bool created = false;           // the context was created (CreateCompatibleDC) by the bitmap code
    int rop2 = R2_COPYPEN;          // drawing mode
    DWORD transfer = SRCCOPY;       // bitmap transfer mode
    bool geometric_pens = true;     // platform allows geometric pens (NT family)
    int display_colours = 1 << 24;  // colours of the display (start-up facts)
    // Cache of the last created font (op 18 sets it to -1): family, style, angle, width, height, name.
    std::array<int, 5> font_cache{-1, -1, -1, -1, -1};
    std::array<char, 100> font_cache_name{};
    int palette_pending = 0;  // open deferred batch of palette definitions (op 28)
};
extern GrGdiContextRecord GrGdiContext;

// Makes dc the screen device's drawing context (bitmap: the off-screen bitmap number or -1) and binds
// the GDI screen driver as GrScreenDevice. The caller then sets up the surface (IGrSurfaceSetup).
void gr_gdi_bind(HDC dc, int bitmap);
// Unbinds the context (after IGrGdiRelease); the screen then draws nothing.
void gr_gdi_unbind();

// Releases the pattern bitmap, the clip region, the font, the pen, the palette and its block.
void IGrGdiRelease();
// With `flag` non-zero builds the logical palette of a palette display, its ramps sized by the display's
// colour class (GrColourState.screen_class, from the colour count of the main window's opening), and
// selects and realises it in the current context; 0 only selects and realises the existing palette.
void IGrPaletteBuild(int flag);
#endif

#endif
