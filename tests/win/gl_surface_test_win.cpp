// The OpenGL surface clears to a colour that glReadPixels reads back, on a window and on a bitmap.
#include "toolkit/win/entry.h"
#include "toolkit/win/error_state.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/window_table_win.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

void open_main()
{
    if (WIN_CURRENT.main_open == -1)
        return;
    WinOpenRecord r;
    r.flags = 0x43;
    r.width = 400;
    r.height = 300;
    r.title = "QR4T GL test";
    WWinOpen(r);
}

} // namespace

TEST(GlSurface, WindowClearsToAColourThatReadsBack)
{
    open_main();
    int h = -1;
    WWinOpenChild(h, 7, 50, 50, 64, 48, "gl");
    ASSERT_GE(h, 1);
    IErrorInfo(1);
    WGlSelectTarget(1, h, 0);
    ASSERT_EQ(IErrorInfo(1), 0);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char px[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[2], 255);
    WGlSelectTarget(0);
    EXPECT_EQ(gl_surface_kind(), 0);
    WWinCloseChild(h);
}

TEST(GlSurface, BitmapClearsToAColourThatReadsBack)
{
    open_main();
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = 32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    IErrorInfo(1);
    WGlSelectBitmap(bmp, 0);
    ASSERT_EQ(IErrorInfo(1), 0);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char px[4] = {};
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    WGlSelectTarget(0);
    DeleteObject(bmp);
}

TEST(GlSurface, WindowThatIsNotOpenIsError1019)
{
    open_main();
    IErrorInfo(1);
    WGlSelectTarget(1, 19, 0);
    EXPECT_EQ(IErrorInfo(1), 1019);
    EXPECT_EQ(gl_surface_kind(), 1);
    WGlSelectTarget(0);
}
