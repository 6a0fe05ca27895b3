// What an OpenGL window shows on the X screen under Wine: opens a 200 x 200 window at (100, 100), clears
// it red by OpenGL in a double-buffered context, swaps, and keeps the window up for a while so that a
// screenshot of the display can be read. Variants by option:
//   child      draw into a child window that fills a top-level window (as the toolkit's client window)
//   null       the drawn window's class has no background brush (else white)
//   owndc      the drawn window's class has its own device context
//   paint      draw again on every WM_PAINT, after BeginPaint/EndPaint
//   erase      the drawn window answers WM_ERASEBKGND without painting
//   loop       draw again every 10 ms
//   refetch    a new device context after the pixel format is set
//   early      the pixel format is set before the window is shown
//   nudge      the drawn window's frame is changed after the pixel format is set
//   hideshow   the drawn window is hidden and shown again after the pixel format is set
//   gdi        the back buffer is read and copied to the window by GDI instead of the swap
//   overlapped the top-level window has a caption
//   hidden     OpenGL draws into a hidden top-level window (with gdi: copied to the drawn window)
//   delay=N    pump messages for N ms before the first drawing
//   hold=N     keep the window up for N ms after the first drawing (default 3000)
// Prints "back buffer r g b" as read back before the first swap, "window dc after swap r g b" as the
// drawn window's device context reads after it, and "drawn". A screenshot of the X display shows what
// the screen has (`import -window root`): a child window with a pixel format stays as it was (white, or
// black), a top-level window and the copy by GDI (child hidden gdi) show red.
//   gl_window_probe.exe [option]...
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Options {
    bool child = false, null_brush = false, own_dc = false, paint = false, erase = false, loop = false,
         refetch = false, early = false, nudge = false, hideshow = false, gdi = false, overlapped = false,
         hidden = false;
    int delay = 0, hold = 3000;
};

Options OPT;
HWND DRAWN = nullptr;
HDC DC = nullptr;
HDC SHOWN_DC = nullptr;  // the drawn window's context when OpenGL draws into a hidden window
bool DRAWN_ONCE = false;

void draw()
{
    glViewport(0, 0, 200, 200);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char px[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(100, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    if (!DRAWN_ONCE)
        std::printf("back buffer %d %d %d\n", px[0], px[1], px[2]);
    if (OPT.gdi) {
        static unsigned char pixels[200 * 200 * 4];
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, 200, 200, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 200;
        bi.bmiHeader.biHeight = 200;  // bottom-up, as OpenGL reads
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(SHOWN_DC ? SHOWN_DC : DC, 0, 0, 200, 200, 0, 0, 0, 200, pixels, &bi,
                          DIB_RGB_COLORS);
    } else {
        SwapBuffers(DC);
    }
    if (!DRAWN_ONCE) {
        GdiFlush();
        Sleep(100);
        const COLORREF c = GetPixel(SHOWN_DC ? SHOWN_DC : DC, 100, 100);
        std::printf("window dc after swap %d %d %d\n", GetRValue(c), GetGValue(c), GetBValue(c));
    }
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (hwnd == DRAWN) {
        if (msg == WM_ERASEBKGND && OPT.erase)
            return 1;
        if (msg == WM_PAINT && OPT.paint) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            draw();
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void pump(int ms)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (GetTickCount() < end) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (OPT.loop && DRAWN_ONCE)
            draw();
        Sleep(10);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "child"))
            OPT.child = true;
        else if (!std::strcmp(a, "null"))
            OPT.null_brush = true;
        else if (!std::strcmp(a, "owndc"))
            OPT.own_dc = true;
        else if (!std::strcmp(a, "paint"))
            OPT.paint = true;
        else if (!std::strcmp(a, "erase"))
            OPT.erase = true;
        else if (!std::strcmp(a, "loop"))
            OPT.loop = true;
        else if (!std::strcmp(a, "refetch"))
            OPT.refetch = true;
        else if (!std::strcmp(a, "early"))
            OPT.early = true;
        else if (!std::strcmp(a, "nudge"))
            OPT.nudge = true;
        else if (!std::strcmp(a, "hideshow"))
            OPT.hideshow = true;
        else if (!std::strcmp(a, "gdi"))
            OPT.gdi = true;
        else if (!std::strcmp(a, "overlapped"))
            OPT.overlapped = true;
        else if (!std::strcmp(a, "hidden"))
            OPT.hidden = true;
        else if (!std::strncmp(a, "delay=", 6))
            OPT.delay = std::atoi(a + 6);
        else if (!std::strncmp(a, "hold=", 5))
            OPT.hold = std::atoi(a + 5);
        else {
            std::fprintf(stderr, "gl_window_probe: unknown option %s\n", a);
            return 2;
        }
    }
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA frame = {};
    frame.lpfnWndProc = proc;
    frame.hInstance = inst;
    frame.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    frame.lpszClassName = "probe_frame";
    WNDCLASSA drawn = frame;
    drawn.lpszClassName = "probe_drawn";
    drawn.style = OPT.own_dc ? CS_OWNDC : 0;
    drawn.hbrBackground = OPT.null_brush ? nullptr : frame.hbrBackground;
    if (!RegisterClassA(&frame) || !RegisterClassA(&drawn)) {
        std::fprintf(stderr, "gl_window_probe: no window class\n");
        return 1;
    }
    HWND top = nullptr;
    if (OPT.child) {
        top = CreateWindowExA(0, "probe_frame", "probe",
                              (OPT.overlapped ? WS_OVERLAPPED : WS_POPUP) | WS_CLIPCHILDREN, 100, 100, 200,
                              200, nullptr, nullptr, inst, nullptr);
        DRAWN = CreateWindowExA(0, "probe_drawn", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 200, 200,
                                top, nullptr, inst, nullptr);
    } else {
        top = DRAWN = CreateWindowExA(0, "probe_drawn", "probe", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 200,
                                      200, nullptr, nullptr, inst, nullptr);
    }
    if (!top || !DRAWN) {
        std::fprintf(stderr, "gl_window_probe: no window\n");
        return 1;
    }
    if (!OPT.early) {
        ShowWindow(top, SW_SHOWNORMAL);
        UpdateWindow(top);
    }
    if (OPT.hidden) {
        SHOWN_DC = GetDC(DRAWN);
        HWND gl = CreateWindowExA(0, "probe_frame", "", WS_POPUP, 0, 0, 1280, 1024, nullptr, nullptr, inst,
                                  nullptr);
        DC = GetDC(gl);
    } else {
        DC = GetDC(DRAWN);
    }
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    const int format = ChoosePixelFormat(DC, &pfd);
    HGLRC rc = nullptr;
    if (!format || !SetPixelFormat(DC, format, &pfd)) {
        std::fprintf(stderr, "gl_window_probe: no pixel format (%lu)\n", GetLastError());
        return 1;
    }
    if (OPT.nudge)
        SetWindowPos(DRAWN, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (OPT.hideshow) {
        ShowWindow(DRAWN, SW_HIDE);
        ShowWindow(DRAWN, SW_SHOW);
    }
    if (OPT.early) {
        ShowWindow(top, SW_SHOWNORMAL);
        UpdateWindow(top);
    }
    if (OPT.refetch) {
        ReleaseDC(DRAWN, DC);
        DC = GetDC(DRAWN);
    }
    if (!(rc = wglCreateContext(DC)) || !wglMakeCurrent(DC, rc)) {
        std::fprintf(stderr, "gl_window_probe: no OpenGL context (%lu)\n", GetLastError());
        return 1;
    }
    pump(OPT.delay);
    draw();
    DRAWN_ONCE = true;
    std::printf("drawn\n");
    std::fflush(stdout);
    pump(OPT.hold);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(rc);
    ReleaseDC(DRAWN, DC);
    DestroyWindow(top);
    return 0;
}
