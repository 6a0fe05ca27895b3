// The OpenGL rendering context: one surface at a time, bound to a toolkit window, an off-screen bitmap
// or a dialog field. The 3-D views call OpenGL and GLU directly into the surface selected last.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/offscreen_bitmap_win.h"
#include "toolkit/win/picture_fields_win.h"
#include "toolkit/win/window_table_win.h"

#include <GL/gl.h>
#include <windows.h>

namespace {

constexpr int ERROR_GL_TARGET = 1019;  // no such target
constexpr int ERROR_GL_SYSTEM = 1035;  // the system refused

struct GlSurface {
    int kind = 0;                 // 0 none, 1 toolkit window, 2 off-screen bitmap, 3 dialog or field
    int window = 0;               // toolkit window (kind 1)
    HWND field_window = nullptr;  // dialog or field window (kind 3)
    HWND gl_window = nullptr;     // window whose palette handling serves the surface; null for a bitmap
    HDC dc = nullptr;
    HGLRC rc = nullptr;
    HPALETTE palette = nullptr;
    LOGPALETTE* palette_memory = nullptr;
};

GlSurface GL_SURFACE;

void take_down()
{
    GlSurface& s = GL_SURFACE;
    if (s.palette) {
        DeleteObject(s.palette);
        s.palette = nullptr;
    }
    delete[] reinterpret_cast<unsigned char*>(s.palette_memory);
    s.palette_memory = nullptr;
    if (s.rc) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(s.rc);
        s.rc = nullptr;
    }
    if (s.dc) {
        if (s.kind == 2)
            DeleteDC(s.dc);
        else if (s.gl_window)
            ReleaseDC(s.gl_window, s.dc);
        s.dc = nullptr;
    }
    s.gl_window = nullptr;
    s.field_window = nullptr;
}

// Builds the 3-3-2 palette of an 8-bit display and realises it in the surface's context.
void build_palette(bool rgba)
{
    GlSurface& s = GL_SURFACE;
    auto* mem = new unsigned char[sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY)];
    s.palette_memory = reinterpret_cast<LOGPALETTE*>(mem);
    s.palette_memory->palVersion = 0x300;
    s.palette_memory->palNumEntries = 256;
    GetSystemPaletteEntries(s.dc, 0, 256, s.palette_memory->palPalEntry);
    if (rgba) {
        for (int i = 0; i < 256; ++i) {
            PALETTEENTRY& e = s.palette_memory->palPalEntry[i];
            e.peRed = static_cast<BYTE>((i & 7) * 255 / 7);
            e.peGreen = static_cast<BYTE>(((i >> 3) & 7) * 255 / 7);
            e.peBlue = static_cast<BYTE>(((i >> 6) & 3) * 255 / 3);
            e.peFlags = 0;
        }
    }
    s.palette = CreatePalette(s.palette_memory);
    if (s.palette) {
        SelectPalette(s.dc, s.palette, FALSE);
        RealizePalette(s.dc);
    }
}

}  // namespace

void GlSurfaceSet(int kind, int number, int flags, int& status)
{
    status = 0;
    take_down();
    GlSurface& s = GL_SURFACE;
    s.kind = kind < 0 || kind > 3 ? 0 : kind;
    if (s.kind == 0)
        return;
    DWORD draw = PFD_DRAW_TO_WINDOW;
    if (s.kind == 1) {
        if (number < 0 || number >= WIN_SLOTS || !WIN_TABLE.slot[number].client) {
            status = -1;
            return;
        }
        s.window = number;
        s.gl_window = WIN_TABLE.slot[number].client;
        s.dc = GetDC(s.gl_window);
    } else if (s.kind == 2) {
        // An off-screen bitmap of the table, in a memory context of its own.
        if (number < 0 || number >= BITMAP_SLOTS || !GrBitmapTable.slot[number].bitmap) {
            status = -1;
            return;
        }
        gr_bitmap_release_stale();
        s.dc = CreateCompatibleDC(WIN_CURRENT.dc);
        if (s.dc && (!SelectObject(s.dc, GrBitmapTable.slot[number].bitmap))) {
            DeleteDC(s.dc);
            s.dc = nullptr;
            status = -1;  // the bitmap is selected into another context: no surface
            return;
        }
        draw = PFD_DRAW_TO_BITMAP;
    } else {
        // The current dialog (number 0) or its control with that identifier.
        HWND dlg = current_dialog_window();
        HWND w = !dlg ? nullptr : number == 0 ? dlg : GetDlgItem(dlg, number);
        if (!w) {
            status = -1;
            return;
        }
        if (number == 0)
            dialog_record(dlg)->picture = 1;
        else
            mark_picture_field(w);
        s.field_window = w;
        s.gl_window = w;
        s.dc = GetDC(w);
    }
    if (!s.dc) {
        status = static_cast<int>(GetLastError());
        return;
    }
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = draw | PFD_SUPPORT_OPENGL | ((flags & 2) ? PFD_DOUBLEBUFFER : 0);
    pfd.iPixelType = (flags & 1) ? PFD_TYPE_COLORINDEX : PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(GetDeviceCaps(WindowDc(nullptr).get(), BITSPIXEL));
    pfd.cDepthBits = 32;
    if (pfd.cColorBits == 8) {
        pfd.cRedBits = 3;
        pfd.cRedShift = 0;
        pfd.cGreenBits = 3;
        pfd.cGreenShift = 3;
        pfd.cBlueBits = 2;
        pfd.cBlueShift = 6;
        build_palette(!(flags & 1));
    }
    int format = ChoosePixelFormat(s.dc, &pfd);
    if (!format || !SetPixelFormat(s.dc, format, &pfd)) {
        status = static_cast<int>(GetLastError());
        if (status == 0)
            status = 1;
        return;
    }
    s.rc = wglCreateContext(s.dc);
    if (!s.rc || !wglMakeCurrent(s.dc, s.rc)) {
        status = static_cast<int>(GetLastError());
        if (status == 0)
            status = 1;
        return;
    }
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearIndex(0.0f);
}

void WGlSelectTarget(int kind, int number, int flags)
{
    int status = 0;
    if (kind == 1 && number < 0)
        number = WIN_CURRENT.window;
    else if (kind == 2)
        number = (number < 1 ? 1 : number) - 1;  // bitmap handle 1..20 to its slot
    else if (kind == 3 && number < 0)
        number = 0;
    GlSurfaceSet(kind, number, flags, status);
    if (status == -1)
        IErrorReport(ERROR_GL_TARGET);
    else if (status != 0) {
        ERROR_STATE.last_os_error = status;
        IErrorReport(ERROR_GL_SYSTEM);
    }
}

void WGlSwapBuffers()
{
    if (GL_SURFACE.dc)
        SwapBuffers(GL_SURFACE.dc);
}

void WGlPaletteEntry(int index, int rgb, int mode)
{
    GlSurface& s = GL_SURFACE;
    if (!s.palette || index < 0 || index > 255)
        return;
    if (mode == 0 || mode == 1)
        UnrealizeObject(s.palette);
    PALETTEENTRY e = {static_cast<BYTE>(rgb & 0xFF), static_cast<BYTE>((rgb >> 8) & 0xFF),
                      static_cast<BYTE>((rgb >> 16) & 0xFF), 0};
    s.palette_memory->palPalEntry[index] = e;
    SetPaletteEntries(s.palette, static_cast<UINT>(index), 1, &e);
    if (mode == 0 || mode == 3) {
        SelectPalette(s.dc, s.palette, FALSE);
        RealizePalette(s.dc);
    }
}

int gl_surface_kind()
{
    return GL_SURFACE.kind;
}
