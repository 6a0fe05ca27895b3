// Window utilities on a child window (scrolling, placement, title, cursor, clearing to the text
// background) and the held field change of the wait and poll.
#include "tests/win/win_test_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/offscreen_bitmap.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class WindowUtilitiesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_test_main_window(); }
    void SetUp() override
    {
        WWinOpenChild(window_, 7, 40, 40, 300, 200, "utilities");
        ASSERT_GE(window_, 1);
        drain_messages();
    }
    void TearDown() override
    {
        if (WIN_TABLE.slot[window_].frame)
            WWinCloseChild(window_);
        drain_messages();
    }
    HWND client() const { return WIN_TABLE.slot[window_].client; }

    int window_ = -1;
};

TEST_F(WindowUtilitiesTest, ScrollFillsTheUncoveredStripWithoutAnExpose)
{
    WWinClear(0, 0, 299, 199, RGB(255, 0, 0));
    WWinScroll(-20, 0, RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(WIN_CURRENT.dc, 150, 100), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(WIN_CURRENT.dc, 290, 100), RGB(0, 0, 255)) << "the strip the move uncovered";
    WinMessage m;
    EXPECT_FALSE(poll_for(MsgExpose, m));
}

TEST_F(WindowUtilitiesTest, ClearWithoutColourUsesTheTextBackground)
{
    WGrTextColourSet(0, 12);
    WWinClear();
    EXPECT_EQ(GetPixel(WIN_CURRENT.dc, 10, 10), static_cast<COLORREF>(WGrTextColours[12]));
    WGrTextColourSet(0, 15);
}

TEST_F(WindowUtilitiesTest, PlacementSizesTheClientAndKeepsWhatIsNotGiven)
{
    int w = 250, h = 150;
    WWinPlacement(WIN_UNSET, WIN_UNSET, w, h, -1);
    EXPECT_EQ(w, 250);
    EXPECT_EQ(h, 150);
    RECT r;
    GetClientRect(client(), &r);
    EXPECT_EQ(r.right, 250);
    EXPECT_EQ(r.bottom, 150);
    w = WIN_UNSET;
    h = WIN_UNSET;
    WWinPlacement(WIN_UNSET, WIN_UNSET, w, h, 2);
    EXPECT_TRUE(IsZoomed(WIN_TABLE.slot[window_].frame));
    w = WIN_UNSET;
    h = WIN_UNSET;
    WWinPlacement(WIN_UNSET, WIN_UNSET, w, h, 1);
    EXPECT_FALSE(IsZoomed(WIN_TABLE.slot[window_].frame));
    EXPECT_EQ(w, 250);
    EXPECT_EQ(h, 150);
}

TEST_F(WindowUtilitiesTest, TitleCursorAndInsideParent)
{
    WWinSetTitle(std::string_view("Molecules\0rest", 14));
    char text[64] = {};
    GetWindowTextA(WIN_TABLE.slot[window_].frame, text, sizeof text);
    EXPECT_STREQ(text, "Molecules");
    int flag = -1;
    WWinIsInsideParent(flag);
    EXPECT_EQ(flag, 0);
    WCursorShape(3);
    EXPECT_EQ(WIN_TABLE.client_cursor, LoadCursor(nullptr, IDC_CROSS));
    WCursorShape(0);
    WCursorMoveTo(5, 6);
    POINT want = {5, 6};
    ClientToScreen(client(), &want);
    POINT at;
    GetCursorPos(&at);
    EXPECT_EQ(at.x, want.x);
    EXPECT_EQ(at.y, want.y);
}

// A procedure that completes a button message and then a field change in one dispatch, as a dialog
// does when a push button takes the focus from a changed field.
LRESULT CALLBACK two_messages_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP) {
        post_dialog_message(MsgButton, 77, 1, 0, -1, -1);
        post_dialog_message(MsgFieldChanged, 77, 5, 6, 7, 8);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(WindowUtilitiesTest, FieldChangeAfterAnotherMessageIsHeldForTheNextPoll)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = two_messages_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QR4T two messages";
    RegisterClassA(&wc);
    HWND w =
        CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    WMessageEnable(MsgFieldChanged, 1);
    PostMessageA(w, WM_APP, 0, 0);
    int type = 0;
    WinMessage m;
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgButton);
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgFieldChanged) << "delivered before anything of the queue";
    EXPECT_EQ(m.window, 77);
    EXPECT_EQ(m.value1, 5);
    EXPECT_EQ(m.value2, 6);
    EXPECT_EQ(m.x, 7);
    EXPECT_EQ(m.y, 8);
    WMsgPeek(type, m);
    EXPECT_EQ(type, MsgNone);
    WMessageEnable(MsgFieldChanged, 0);
    DestroyWindow(w);
}

// A caption-less child-style dialog fills a child window that it is combined with; it cannot be hidden
// on its own, keeps the window's size, and goes when the window closes.
TEST(CombinedDialog, FillsItsWindowAndClosesWithIt)
{
    open_test_main_window();
    IErrorInfo(1);
    int h = -1;
    WWinOpenChild(h, 7 | 8, 10, 10, 500, 400, 9003, "combined", 0);
    ASSERT_GE(h, 1);
    EXPECT_EQ(IErrorInfo(1), 0);
    const WinRecord* r = win_record(WIN_TABLE.slot[h].frame);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->kind, 3);
    HWND dialog = r->inner;
    EXPECT_EQ(GetParent(dialog), WIN_TABLE.slot[h].client);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsZoomed(WIN_TABLE.slot[h].frame)) << "a combined window does not open maximised";
    RECT d, c;
    GetWindowRect(dialog, &d);
    GetClientRect(WIN_TABLE.slot[h].client, &c);
    EXPECT_EQ(c.right, d.right - d.left);
    EXPECT_EQ(c.bottom, d.bottom - d.top);
    EXPECT_EQ(dialog_record(current_dialog_window())->id, 9003);
    WDialogHide();
    EXPECT_EQ(IErrorInfo(1), 1047);
    int w = 10, hh = 10;
    WWinPlacement(WIN_UNSET, WIN_UNSET, w, hh, -1);
    EXPECT_EQ(w, c.right) << "the size stays the dialog's";
    int inside = -1;
    WWinOpenChild(inside, 7 | 16, 0, 0, 5000, 5000, 0, "inside", h);
    EXPECT_EQ(inside, -1);
    EXPECT_EQ(IErrorInfo(1), 1046) << "no window inside a window combined with a dialog";
    WWinCloseChild(h);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(WDialogSlotFromId(9003), -1);

    WWinOpenChild(h, 7, 10, 10, 200, 100, 9001, "framed dialog", 0);
    EXPECT_EQ(IErrorInfo(1), 1045) << "a dialog with a caption cannot be combined";
    ASSERT_GE(h, 1);
    EXPECT_EQ(win_record(WIN_TABLE.slot[h].frame), nullptr);
    WWinCloseChild(h);
    drain_messages();
}

// The main window combined with a dialog takes the dialog's size and drops the maximise box.
TEST(CombinedDialog, MainWindowTakesTheDialogsSize)
{
    WWinCloseDown();
    WWinOpenMain(0x43 | 4, WIN_UNSET, WIN_UNSET, 900, 700, 0, 9003, "QR4T combined main");
    ASSERT_EQ(WIN_CURRENT.main_open, -1);
    const WinRecord* r = win_record(WIN_TABLE.slot[0].frame);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->kind, 3);
    RECT d, c;
    GetWindowRect(r->inner, &d);
    GetClientRect(WIN_TABLE.slot[0].client, &c);
    EXPECT_EQ(c.right, d.right - d.left);
    EXPECT_EQ(c.bottom, d.bottom - d.top);
    EXPECT_FALSE(GetWindowLongA(WIN_TABLE.slot[0].frame, GWL_STYLE) & WS_MAXIMIZEBOX);
    WWinCloseDown();
    WMsgEnableReset();
    open_test_main_window();
}

// The close-down takes everything down: windows, loaded dialogs, off-screen bitmaps; afterwards no
// bitmap is selected and the enable words are those of the close-down.
TEST(WindowCloseDown, DestroysWindowsDialogsAndBitmaps)
{
    open_test_main_window();
    int child = -1;
    WWinOpenChild(child, 7, 10, 10, 100, 80, "closing");
    ASSERT_GE(child, 1);
    HWND child_frame = WIN_TABLE.slot[child].frame;
    WDialogLoad(9001);
    ASSERT_GT(DIALOG_TABLE.count, 0);
    HWND dialog = current_dialog_window();
    int bitmap = 0;
    WBitmapCreate(bitmap, 20, 20);
    ASSERT_GE(bitmap, 1);
    IGrSelectTarget(2, bitmap);
    ASSERT_EQ(GrTarget.kind, 2);

    WWinCloseDown();
    EXPECT_FALSE(IsWindow(child_frame));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(DIALOG_TABLE.count, 0);
    EXPECT_EQ(current_dialog_window(), nullptr);
    for (int slot = 0; slot < 20; ++slot) {
        int w = -1, h = -1;
        IGrBitmapSize(slot, w, h);
        EXPECT_EQ(w, 0) << "slot " << slot;
    }
    EXPECT_EQ(GrGdiContext.bitmap, -1);
    for (const WinSlot& s : WIN_TABLE.slot)
        EXPECT_EQ(s.frame, nullptr);
    EXPECT_EQ(WMsgEnableGet(MsgMouseUp), 0);
    EXPECT_EQ(WMsgEnableGet(MsgKey), 1);
    WMsgEnableReset();
    open_test_main_window();
}

}  // namespace
