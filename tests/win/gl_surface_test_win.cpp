// The OpenGL surface clears to a colour that glReadPixels reads back, on a window and on a bitmap.
#include "toolkit/common/error_state.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/offscreen_bitmap.h"
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

}  // namespace

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

TEST(GlSurface, BitmapOfTheTableClearsToAColourThatReadsBack)
{
    open_main();
    int handle = 0;
    WBitmapCreate(handle, 32, 32);
    ASSERT_GE(handle, 1);
    IErrorInfo(1);
    WGlSelectTarget(2, handle, 0);
    ASSERT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(gl_surface_kind(), 2);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char px[4] = {};
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    WGlSelectTarget(0);
    WBitmapDestroy(handle);
    // An empty slot is no surface.
    WGlSelectTarget(2, handle, 0);
    EXPECT_EQ(IErrorInfo(1), 1019);
    WGlSelectTarget(0);
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
