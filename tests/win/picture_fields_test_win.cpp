// Dialog picture fields as drawing targets, their expose and mouse messages (source kind 1), window
// snapshots that hold the pictures while a modal box is up, and OpenGL on a dialog field.
#include "tests/win/win_test_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_snapshot_win.h"
#include "toolkit/win/window_table_win.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

constexpr int TEST_DIALOG = 9001;
constexpr int PICTURE = 1015;  // a white static of the test dialog

class PictureFieldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_test_main_window(); }
    void SetUp() override
    {
        IErrorInfo(1);
        WDialogLoad(TEST_DIALOG);
        ASSERT_EQ(IErrorInfo(1), 0);
        WDialogShow(-1, -1, 0, 2);
        drain_messages();
    }
    void TearDown() override
    {
        gr_select_target(1, 0);
        WMessageEnable(MsgMouseMove, 0);
        WDialogSelect(TEST_DIALOG);
        WDialogUnload();
        drain_messages();
    }
    static HWND dialog() { return current_dialog_window(); }
    static HWND field(int id) { return GetDlgItem(dialog(), id); }
};

TEST_F(PictureFieldTest, FieldAndDialogBecomeTheDrawingSurface)
{
    gr_select_target(3, PICTURE);
    ASSERT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(GrTarget.kind, 3);
    EXPECT_EQ(GrTarget.number, PICTURE);
    RECT r;
    GetClientRect(field(PICTURE), &r);
    EXPECT_EQ(GrSurface.width, r.right);
    EXPECT_EQ(GrSurface.height, r.bottom);
    ASSERT_NE(field_record(field(PICTURE)), nullptr);
    EXPECT_EQ(field_record(field(PICTURE))->picture, 1);
    // The whole user area spans the field: a diagonal runs from its lower-left to its upper-right pixel.
    IGrLine(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(GetPixel(GrGdiContext.dc, 0, r.bottom - 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(GrGdiContext.dc, r.right - 1, 0), RGB(0, 0, 0));

    gr_select_target(3, 0);  // the dialog's own client area
    GetClientRect(dialog(), &r);
    EXPECT_EQ(GrSurface.width, r.right);
    EXPECT_EQ(dialog_record(dialog())->picture, 1);

    gr_select_target(3, 4242);  // no such control
    EXPECT_EQ(IErrorInfo(1), 1019);
    EXPECT_EQ(GrTarget.kind, 1);
    EXPECT_EQ(GrTarget.number, WIN_CURRENT.window);
}

TEST_F(PictureFieldTest, ExposeAndMouseComeFromTheFieldWithSourceKindOne)
{
    gr_select_target(3, PICTURE);
    gr_select_target(1, 0);
    drain_messages();
    InvalidateRect(field(PICTURE), nullptr, TRUE);
    WinMessage m;
    ASSERT_TRUE(poll_for(MsgExpose, m));
    EXPECT_EQ(m.window, TEST_DIALOG);
    EXPECT_EQ(m.source_kind, 1);
    EXPECT_EQ(m.field, PICTURE);

    RECT r;
    GetClientRect(field(PICTURE), &r);
    PostMessageA(field(PICTURE), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
    ASSERT_TRUE(poll_for(MsgMouseDown, m));
    EXPECT_EQ(m.window, TEST_DIALOG);
    EXPECT_EQ(m.value1, 3);
    EXPECT_EQ(m.value2, 16) << "right button held";
    EXPECT_EQ(m.source_kind, 1);
    EXPECT_EQ(m.field, PICTURE);
    EXPECT_EQ(m.x, 10) << "field positions stay in pixels";
    EXPECT_EQ(m.y, 20);
    // User units of the field's surface (the whole area, 0..1), not of the window.
    EXPECT_NEAR(m.user_x, 10.5 / r.right, 1.0 / r.right);
    EXPECT_NEAR(m.user_y, (r.bottom - 1 - 20 + 0.5) / r.bottom, 1.0 / r.bottom);
    EXPECT_EQ(GrTarget.kind, 1) << "the kept target comes back after the conversion";
    PostMessageA(field(PICTURE), WM_RBUTTONUP, 0, MAKELPARAM(10, 20));
    drain_messages();

    // Moves are off by default; once enabled they arrive with no button.
    WMessageEnable(MsgMouseMove, 1);
    PostMessageA(field(PICTURE), WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    ASSERT_TRUE(poll_for(MsgMouseMove, m));
    EXPECT_EQ(m.value1, -1);
    EXPECT_EQ(m.field, PICTURE);
}

TEST_F(PictureFieldTest, PictureDialogRaisesItsOwnMouseEventsAsFieldZero)
{
    PostMessageA(dialog(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    WinMessage m;
    EXPECT_FALSE(poll_for(MsgMouseDown, m)) << "a dialog that is no picture raises nothing";
    gr_select_target(3, 0);
    gr_select_target(1, 0);
    PostMessageA(dialog(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    ASSERT_TRUE(poll_for(MsgMouseDown, m));
    EXPECT_EQ(m.source_kind, 1);
    EXPECT_EQ(m.field, 0);
    EXPECT_EQ(m.value1, 1);
    PostMessageA(dialog(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    drain_messages();
}

// While a snapshot is held the picture repaints from it: what the application drew stays, and no
// expose reaches the application; the release gives the pixels back once, at the outermost level.
TEST_F(PictureFieldTest, SnapshotsKeepPicturesAndNest)
{
    gr_select_target(3, PICTURE);
    HDC dc = GrGdiContext.dc;
    RECT r;
    GetClientRect(field(PICTURE), &r);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    gr_select_target(1, 0);
    drain_messages();

    int error = -1;
    WWinSnapshot(1, -1, error);
    EXPECT_EQ(error, 0);
    WWinSnapshot(1, -1, error);  // a message box over a modal dialog
    EXPECT_TRUE(snapshots_held());
    RedrawWindow(field(PICTURE), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC fdc = GetDC(field(PICTURE));
    EXPECT_EQ(GetPixel(fdc, r.right / 2, r.bottom / 2), RGB(255, 0, 0)) << "painted from the snapshot";
    WinMessage m;
    EXPECT_FALSE(poll_for(MsgExpose, m));

    WWinSnapshot(0, -1, error);
    EXPECT_TRUE(snapshots_held()) << "the inner release keeps the outer snapshot";
    WWinSnapshot(0, -1, error);
    EXPECT_FALSE(snapshots_held());
    EXPECT_EQ(GetPixel(fdc, r.right / 2, r.bottom / 2), RGB(255, 0, 0)) << "copied back at the last release";
    ReleaseDC(field(PICTURE), fdc);
    InvalidateRect(field(PICTURE), nullptr, TRUE);
    EXPECT_TRUE(poll_for(MsgExpose, m)) << "after the release the picture raises its expose again";
}

TEST_F(PictureFieldTest, WindowRepaintsFromItsSnapshotWithoutAnExpose)
{
    HDC dc = GetDC(WIN_TABLE.slot[0].client);
    RECT r = {0, 0, 50, 50};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &r, blue);
    DeleteObject(blue);
    int error = 0;
    WWinSnapshot(1, -1, error);
    InvalidateRect(WIN_TABLE.slot[0].client, nullptr, TRUE);
    UpdateWindow(WIN_TABLE.slot[0].client);
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 255));
    WinMessage m;
    EXPECT_FALSE(poll_for(MsgExpose, m));
    WWinSnapshot(0, -1, error);
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 255));
    ReleaseDC(WIN_TABLE.slot[0].client, dc);
    InvalidateRect(WIN_TABLE.slot[0].client, nullptr, TRUE);
    EXPECT_TRUE(poll_for(MsgExpose, m));
}

// A picture button drawn pressed (or released again) has lost its picture: an expose for it.
TEST_F(PictureFieldTest, PressedLookOfAPictureButtonRaisesAnExpose)
{
    constexpr int APPLY = 3;
    gr_select_target(3, APPLY);
    gr_select_target(1, 0);
    drain_messages();
    PostMessageA(field(APPLY), BM_SETSTATE, TRUE, 0);  // dispatched by the poll, as a click would be
    WinMessage m;
    ASSERT_TRUE(poll_for(MsgExpose, m));
    EXPECT_EQ(m.field, APPLY);
    SendMessageA(field(APPLY), BM_SETSTATE, FALSE, 0);
    drain_messages();
}

// A message box takes a snapshot for as long as it is up and gives it back when it goes.
TEST_F(PictureFieldTest, MessageBoxHoldsASnapshotWhileItIsUp)
{
    gr_select_target(3, PICTURE);
    gr_select_target(1, 0);
    HANDLE driver = start_uidriver("wait \"QR4T box\" 20 sleep 200 press 7");
    ASSERT_NE(driver, nullptr);
    WMessageBox(3, 2, 1, "Keep the picture?   ", "QR4T box   ");
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(DIALOG_RESULTS.message_box_answer, 2) << "No";
    EXPECT_FALSE(snapshots_held());
}

TEST_F(PictureFieldTest, OpenGlOnAFieldOfTheCurrentDialog)
{
    WGlSelectTarget(3, PICTURE, 0);
    ASSERT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(gl_surface_kind(), 3);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char px[4] = {};
    glReadPixels(2, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[1], 255);
    WGlSelectTarget(0);
    // The field is a picture now: its exposes reach the application, which draws it again.
    drain_messages();
    InvalidateRect(field(PICTURE), nullptr, TRUE);
    WinMessage m;
    ASSERT_TRUE(poll_for(MsgExpose, m));
    EXPECT_EQ(m.source_kind, 1);
    EXPECT_EQ(m.field, PICTURE);
    WGlSelectTarget(3, 4242, 0);
    EXPECT_EQ(IErrorInfo(1), 1019);
    WGlSelectTarget(0);
}

}  // namespace
