// Typed messages, the wait and the poll, and child windows, in this process's own main window.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_table_win.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class WindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WinOpenRecord r;
        r.flags = 0x43;
        r.width = 1020;
        r.height = 718;
        r.title = "QR4T window test";
        WWinOpen(r);
    }
    void SetUp() override { drain(); }

    // Empties the queue and the pending records so that each test starts quiet.
    static void drain()
    {
        int type = 0;
        WinMessage m;
        for (int i = 0; i < 200; ++i) {
            WMsgPeek(type, m);
            if (type == MsgNone)
                break;
        }
    }
    static HWND client() { return WIN_TABLE.slot[0].client; }
    static HWND frame() { return WIN_TABLE.slot[0].frame; }
};

TEST_F(WindowsTest, MainWindowHasTheRecordsClientSize)
{
    RECT r;
    GetClientRect(client(), &r);
    EXPECT_EQ(r.right, 1020);
    EXPECT_EQ(r.bottom, 718);
    EXPECT_EQ(WIN_CURRENT.main_open, -1);
}

TEST_F(WindowsTest, EmptyPollGivesNoneAndKeepsUserWords)
{
    int type = 0;
    WinMessage m;
    m.user_x = 3.5f;
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgNone);
    EXPECT_EQ(m.window, -1);
    EXPECT_EQ(m.user_x, 3.5f);
}

TEST_F(WindowsTest, TypedCharacterIsOneKeyMessage)
{
    PostMessageA(client(), WM_KEYDOWN, 'A', 0x001E0001);
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    ASSERT_EQ(type, MsgKey);
    EXPECT_EQ(m.value1, 97);
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgNone) << "the key must not come twice";
}

TEST_F(WindowsTest, CtrlRightGivesItsCode)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(client(), WM_KEYDOWN, VK_RIGHT, 0x014D0001);
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
    ASSERT_EQ(type, MsgKey);
    EXPECT_EQ(m.value1, 268);
}

TEST_F(WindowsTest, TwoExposesOutsideALoopComeOutAsOneOfTheWholeClient)
{
    RECT a = {10, 10, 50, 50};
    RECT b = {500, 300, 600, 400};
    InvalidateRect(client(), &a, FALSE);
    UpdateWindow(client());
    InvalidateRect(client(), &b, FALSE);
    UpdateWindow(client());
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    ASSERT_EQ(type, MsgExpose);
    EXPECT_EQ(m.window, 0);
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
    EXPECT_EQ(m.value1, 9999);
    EXPECT_EQ(m.value2, 9999);
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgNone);
}

TEST_F(WindowsTest, PendingResizeComesBeforeALaterExpose)
{
    RECT fr;
    GetWindowRect(frame(), &fr);
    SetWindowPos(frame(), nullptr, 0, 0, fr.right - fr.left + 20, fr.bottom - fr.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(client(), nullptr, FALSE);
    UpdateWindow(client());
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgResize);
    EXPECT_EQ(m.value1, 1040);
    SetWindowPos(frame(), nullptr, 0, 0, fr.right - fr.left, fr.bottom - fr.top, SWP_NOMOVE | SWP_NOZORDER);
    drain();
}

TEST_F(WindowsTest, CloseRequestGivesTypeNine)
{
    PostMessageA(frame(), WM_CLOSE, 0, 0);
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgCloseRequest);
    EXPECT_EQ(m.window, 0);
    EXPECT_TRUE(IsWindow(frame())) << "a close request leaves the decision to the application";
}

TEST_F(WindowsTest, ChildWindowsOpenAtTheirUnitsAndCloseBackToTheMainWindow)
{
    int inside = -1;
    WWinOpenChild(inside, 7 | 16, 0, 0, 5000, 5000, "inside");
    ASSERT_GE(inside, 1);
    RECT r;
    GetClientRect(WIN_TABLE.slot[inside].client, &r);
    EXPECT_EQ(r.right, 5000 * 1020 / 9999);
    EXPECT_EQ(r.bottom, 5000 * 718 / 9999);
    EXPECT_EQ(WIN_CURRENT.window, inside);

    int top = -1;
    WWinOpenChild(top, 7, 100, 100, 300, 200, "top-level");
    ASSERT_GE(top, 1);
    GetClientRect(WIN_TABLE.slot[top].client, &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);

    WWinCloseChild(top);
    EXPECT_EQ(WIN_CURRENT.window, 0);
    EXPECT_EQ(WIN_CURRENT.options[top], -1);
    WWinCloseChild(inside);
    EXPECT_EQ(WIN_TABLE.slot[inside].frame, nullptr);
    drain();
}

TEST_F(WindowsTest, TwentyFirstChildWindowFailsWithoutAnError)
{
    int handles[20];
    for (int& h : handles) {
        WWinOpenChild(h, 7 | 128, 0, 0, 50, 50, "c");
        ASSERT_GE(h, 1);
    }
    IErrorInfo(1);  // clear the last error
    int extra = 0;
    WWinOpenChild(extra, 7 | 128, 0, 0, 50, 50, "c");
    EXPECT_EQ(extra, -1);
    EXPECT_EQ(IErrorInfo(1), 0);
    for (int h : handles)
        WWinCloseChild(h);
    drain();
}

TEST_F(WindowsTest, InvalidWindowIsError1003)
{
    IErrorInfo(1);
    WWinSelect(17);
    EXPECT_EQ(IErrorInfo(1), 1003);
}

TEST_F(WindowsTest, UnitsToPixelsMapTheCorners)
{
    int px = 0, py = 0;
    WWinSelect(0);
    WGrUnitsToPixels(9999, 0, px, py);
    EXPECT_EQ(px, 1019);
    EXPECT_EQ(py, 0);
    WGrUnitsToPixels(5000, 9999, px, py);
    EXPECT_EQ(px, 5000 * 1019 / 9999);
    EXPECT_EQ(py, 717);
}

}  // namespace

namespace {

TEST_F(WindowsTest, MousePositionComesInWindowUnitsAndUserUnits)
{
    WWinSelect(0);
    IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    IGrUnits(0.0f, 0.0f, 1000.0f, 100.0f);
    // Pixel (510, 359) of the 1020 by 718 client: the middle; y grows downwards in pixels, upwards in
    // user units.
    PostMessageA(client(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(510, 179));
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    ReleaseCapture();
    ASSERT_EQ(type, MsgMouseDown);
    EXPECT_EQ(m.value1, 1);
    EXPECT_EQ(m.value2, 4) << "left button held";
    EXPECT_EQ(m.x, 510 * 9999 / 1019);
    EXPECT_EQ(m.y, 179 * 9999 / 717);
    EXPECT_NEAR(m.user_x, 500.0f, 1.0f);
    EXPECT_NEAR(m.user_y, 75.0f, 0.5f);
}

}  // namespace
