// Drawing target selection and the graphics reset on this process's own main window.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/offscreen_bitmap.h"
#include "toolkit/win/window_table_win.h"

#include <gtest/gtest.h>

namespace {

class WindowTarget : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Without a display the window opening would end the whole test program (with status 0):
        // the tests are skipped instead.
        HWND probe = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        have_display = probe != nullptr;
        if (!have_display)
            return;
        DestroyWindow(probe);
        WinOpenRecord r;
        r.flags = 0x43;
        r.width = 400;
        r.height = 300;
        r.title = "QR4T graphics target test";
        WWinOpen(r);
    }
    // The other tests of this program draw without a window: the window goes again.
    static void TearDownTestSuite()
    {
        if (!have_display)
            return;
        gr_gdi_unbind();
        WWinCloseDown();
    }
    void SetUp() override
    {
        if (!have_display)
            GTEST_SKIP() << "no display";
        ERROR_STATE = ErrorState{};
        IGrInitGraphics(" ");
    }
    void TearDown() override { GrOutputSwitch = GrOutputSwitchRecord{}; }

    static inline bool have_display = false;
};

TEST_F(WindowTarget, ResetDrawsOnTheCurrentWindow)
{
    EXPECT_EQ(GrOutputSwitch.screen, 1);
    EXPECT_EQ(GrTarget.kind, 1);
    EXPECT_EQ(GrTarget.number, 0);
    EXPECT_EQ(GrSurface.width, WIN_CURRENT.width);
    EXPECT_EQ(GrSurface.height, WIN_CURRENT.height);
    EXPECT_EQ(GrGdiContext.dc, WIN_CURRENT.dc);
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 223);
}

TEST_F(WindowTarget, SelectionKeepsTheLastErrorAndRejectsBadTargets)
{
    ERROR_STATE.last_error = 7;
    gr_select_target(1, 0);
    EXPECT_EQ(ERROR_STATE.last_error, 7);
    gr_select_target(1, 25);  // no such window
    EXPECT_EQ(ERROR_STATE.last_error, 1019);
    EXPECT_EQ(GrTarget.kind, 1);
    EXPECT_EQ(GrTarget.number, 0);
    ERROR_STATE.last_error = 0;
    gr_select_target(2, 3);  // an empty bitmap slot
    EXPECT_EQ(ERROR_STATE.last_error, 1019);
    EXPECT_EQ(GrTarget.kind, 1);
    ERROR_STATE.last_error = 0;
    gr_select_target(3, 0);  // no current dialog
    EXPECT_EQ(ERROR_STATE.last_error, 1019);
    EXPECT_EQ(GrTarget.kind, 1);
    ERROR_STATE.last_error = 0;
    gr_select_target(9, 1);  // another kind is only recorded
    EXPECT_EQ(GrTarget.kind, 9);
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    gr_select_target(1, -1);  // absent number: the current window
    EXPECT_EQ(GrTarget.kind, 1);
}

// A bitmap of another size keeps the layout: a line from user (0,0) to (1,1) runs corner to corner.
TEST_F(WindowTarget, BitmapWithoutNumberIsBitmapOne)
{
    int handle = 0;
    WBitmapCreate(handle, 50, 40);
    ASSERT_EQ(handle, 1);
    gr_select_target(2, -1);
    EXPECT_EQ(GrTarget.kind, 2);
    EXPECT_EQ(GrTarget.number, 1);
    EXPECT_EQ(GrSurface.width, 50);
    EXPECT_EQ(GrSurface.height, 40);
    IGrLine(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(GetPixel(GrGdiContext.dc, 0, 39), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(GrGdiContext.dc, 49, 0), RGB(0, 0, 0));
    gr_select_target(1, 0);
    WBitmapDestroy(1);
}

TEST_F(WindowTarget, ResizeOfTheCurrentWindowIsAdopted)
{
    IGrSurfaceResize(0, 200, 100);
    EXPECT_EQ(GrSurface.width, 200);
    EXPECT_EQ(GrDeviceArea.ix2, 199);
    IGrSurfaceResize(3, 50, 50);  // another window: ignored
    EXPECT_EQ(GrSurface.width, 200);
}

}  // namespace
