// The OpenGL rendering context: one surface at a time, bound to a toolkit window, an off-screen bitmap
// or a dialog field. The 3-D views call OpenGL and GLU directly into the surface selected last.
//
// A window or field is not drawn into by OpenGL itself: the toolkit's windows and fields are child
// windows, and Wine's X11 driver gives a child window that has a pixel format no X drawable of its own
// (the buffer swap copies the picture nowhere, and the window keeps whatever it showed before). So the
// context belongs to a hidden top-level window of its own, at least as large as the shown window, with
// the pixel format asked for; WGlSwapBuffers reads the drawn buffer and copies it into the shown window
// with GDI, which reaches the screen like any other drawing of the window.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/gl_palette_win.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/offscreen_bitmap_win.h"
#include "toolkit/win/picture_fields_win.h"
#include "toolkit/win/window_table_win.h"

#include <windows.h>

#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace {

struct GlSurface {
    int kind = 0;                 // 0 none, 1 toolkit window, 2 off-screen bitmap, 3 dialog or field
    int window = 0;               // toolkit window (kind 1)
    HWND field_window = nullptr;  // dialog or field window (kind 3)
    HWND gl_window = nullptr;     // the shown window (kinds 1 and 3); null for a bitmap
    HWND hidden = nullptr;        // the hidden top-level window that holds the context (kinds 1 and 3)
    int hidden_width = 0, hidden_height = 0;
    HDC shown_dc = nullptr;  // context of the shown window, for the copy
    HDC dc = nullptr;        // context of the rendering: the hidden window's or the bitmap's
    bool double_buffer = false;
    std::vector<unsigned char> pixels;  // the picture read back for the copy, 4 bytes a pixel
    HGLRC rc = nullptr;
    HPALETTE palette = nullptr;
    LOGPALETTE* palette_memory = nullptr;
};

GlSurface GL_SURFACE;

void take_down()
{
    GlSurface& s = GL_SURFACE;
    if (s.rc) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(s.rc);
        s.rc = nullptr;
    }
    if (s.dc) {
        if (s.kind == 2)
            DeleteDC(s.dc);
        else if (s.hidden)
            ReleaseDC(s.hidden, s.dc);
        s.dc = nullptr;
    }
    if (s.shown_dc) {
        ReleaseDC(s.gl_window, s.shown_dc);
        s.shown_dc = nullptr;
    }
    if (s.hidden) {
        DestroyWindow(s.hidden);
        s.hidden = nullptr;
    }
    // The palette goes once no context holds it.
    if (s.palette) {
        DeleteObject(s.palette);
        s.palette = nullptr;
    }
    delete[] reinterpret_cast<unsigned char*>(s.palette_memory);
    s.palette_memory = nullptr;
    s.pixels.clear();
    s.pixels.shrink_to_fit();
    s.gl_window = nullptr;
    s.field_window = nullptr;
}

// The hidden top-level window that holds the context of a shown window: as large as the screen, or as
// the shown window if that is larger. Its device context, or null.
HDC open_hidden_window()
{
    GlSurface& s = GL_SURFACE;
    static ATOM hidden_class = 0;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!hidden_class) {
        WNDCLASSA wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = inst;
        wc.lpszClassName = "QR4TGLSURFACE";
        hidden_class = RegisterClassA(&wc);
        if (!hidden_class)
            return nullptr;
    }
    RECT r = {0, 0, 0, 0};
    GetClientRect(s.gl_window, &r);
    s.hidden_width = std::max<int>(r.right, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    s.hidden_height = std::max<int>(r.bottom, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    s.hidden = CreateWindowExA(WS_EX_TOOLWINDOW, "QR4TGLSURFACE", "", WS_POPUP, 0, 0, s.hidden_width,
                               s.hidden_height, nullptr, nullptr, inst, nullptr);
    return s.hidden ? GetDC(s.hidden) : nullptr;
}

// The size of the shown window's client area, limited to the hidden window.
void shown_size(int& width, int& height)
{
    const GlSurface& s = GL_SURFACE;
    RECT r = {0, 0, 0, 0};
    GetClientRect(s.gl_window, &r);
    width = std::min<int>(r.right, s.hidden_width);
    height = std::min<int>(r.bottom, s.hidden_height);
}

// Copies the buffer drawn into (the back buffer, or the front one when it is drawn into or there is no
// other) into the shown window.
void present()
{
    GlSurface& s = GL_SURFACE;
    int width = 0, height = 0;
    shown_size(width, height);
    if (width < 1 || height < 1)
        return;
    GLint draw_buffer = GL_BACK, read_buffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    glGetIntegerv(GL_READ_BUFFER, &read_buffer);
    glReadBuffer(s.double_buffer && draw_buffer != GL_FRONT ? GL_BACK : GL_FRONT);
    s.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, s.pixels.data());
    glPopClientAttrib();
    glReadBuffer(static_cast<GLenum>(read_buffer));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;  // bottom-up rows, as OpenGL reads them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(s.shown_dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), s.pixels.data(), &bi, DIB_RGB_COLORS);
}

// Selects and realises the palette in the rendering context and in the shown window's.
void realise_palette()
{
    GlSurface& s = GL_SURFACE;
    for (HDC dc : {s.dc, s.shown_dc}) {
        if (dc) {
            SelectPalette(dc, s.palette, FALSE);
            RealizePalette(dc);
        }
    }
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
    if (s.palette)
        realise_palette();
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
    }
    if (s.gl_window) {
        s.shown_dc = GetDC(s.gl_window);
        s.dc = s.shown_dc ? open_hidden_window() : nullptr;
    }
    if (!s.dc) {
        status = static_cast<int>(GetLastError());
        return;
    }
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    s.double_buffer = (flags & 2) != 0;
    pfd.dwFlags = draw | PFD_SUPPORT_OPENGL | (s.double_buffer ? PFD_DOUBLEBUFFER : 0);
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
    if (s.hidden) {
        // The picture covers the shown window, in the lower left corner of the larger hidden one.
        int width = 0, height = 0;
        shown_size(width, height);
        glViewport(0, 0, width, height);
    }
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
        IErrorReport(GR_ERR_TARGET);
    else if (status != 0) {
        ERROR_STATE.last_os_error = status;
        IErrorReport(ERR_OPENGL);
    }
}

void WGlSwapBuffers()
{
    GlSurface& s = GL_SURFACE;
    if (!s.dc)
        return;
    if (s.hidden && s.rc)
        present();
    else
        SwapBuffers(s.dc);
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
    if (mode == 0 || mode == 3)
        realise_palette();
}

int gl_surface_kind()
{
    return GL_SURFACE.kind;
}

void gl_realise_palettes(HWND window)
{
    GlSurface& s = GL_SURFACE;
    if (!s.palette || !window)
        return;
    if (window == s.gl_window) {
        realise_palette();
        return;
    }
    if (!GrGdiContext.palette)
        return;
    WindowDc dc(window);
    if (!dc.get())
        return;
    HPALETTE old = SelectPalette(dc.get(), GrGdiContext.palette, FALSE);
    RealizePalette(dc.get());
    SelectPalette(dc.get(), old, FALSE);
}
