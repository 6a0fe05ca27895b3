// The bitmap viewer: conversion of a child window, fitting a small bitmap, scrolling a large one with
// MsgBitmapView, mouse messages of source kind 2 with scroll-aware user positions, and the refusal to
// delete a bitmap that a viewer shows.
#include "tests/win/win_test_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/bitmap_viewer.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/offscreen_bitmap.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class BitmapViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_test_main_window(); }
    void SetUp() override
    {
        IErrorInfo(1);
        WWinOpenChild(window_, 7, 100, 100, 300, 200, "viewer");
        ASSERT_GE(window_, 1);
        drain_messages();
    }
    void TearDown() override
    {
        WMessageEnable(MsgBitmapView, 0);
        if (window_ >= 1 && WIN_TABLE.slot[window_].frame)
            WWinCloseChild(window_);
        for (int h = 1; h <= 20; ++h) {
            int w = 0, hh = 0;
            IGrBitmapSize(h - 1, w, hh);
            if (w > 0)
                WBitmapDestroy(h);
        }
        IErrorInfo(1);
        drain_messages();
    }
    HWND viewer() const { return win_record(WIN_TABLE.slot[window_].frame)->inner; }
    int info(int option) const
    {
        int v = -1;
        WBitmapViewInfo(window_, option, v);
        return v;
    }

    int window_ = -1;
};

TEST_F(BitmapViewerTest, MainWindowAndBadSlotsAreRefused)
{
    int handle = 0;
    WBitmapCreate(handle, 40, 30);
    int mode = 2, status = -1;
    WWinSelect(0);
    WBitmapView(handle - 1, 0, 0, mode, status);
    EXPECT_EQ(status, 1);
    WWinSelect(window_);
    WBitmapView(7, 0, 0, mode, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(win_record(WIN_TABLE.slot[window_].frame), nullptr);
    EXPECT_EQ(info(101), 0) << "a window that is no viewer";
}

TEST_F(BitmapViewerTest, SmallBitmapShrinksTheFrameToFitIt)
{
    int handle = 0;
    WBitmapCreate(handle, 120, 90);
    int mode = 2, status = -1;
    WBitmapView(handle - 1, 0, 0, mode, status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(win_record(WIN_TABLE.slot[window_].frame)->kind, 2);
    EXPECT_EQ(info(3), handle);
    EXPECT_EQ(info(101), 120);
    EXPECT_EQ(info(102), 90);
    RECT c;
    GetClientRect(viewer(), &c);
    EXPECT_EQ(c.right, 120);
    EXPECT_EQ(c.bottom, 90);
    EXPECT_FALSE(IsWindowVisible(WIN_TABLE.slot[window_].client)) << "the viewer covers the client";
    EXPECT_EQ(WWinFromHandle(viewer()), window_);

    // A shown bitmap is not deleted.
    WBitmapDestroy(handle);
    EXPECT_EQ(IErrorInfo(1), 1036);
    int w = 0, h = 0;
    IGrBitmapSize(handle - 1, w, h);
    EXPECT_EQ(w, 120);
    WWinCloseChild(window_);
    WBitmapDestroy(handle);
    EXPECT_EQ(IErrorInfo(1), 0);
}

TEST_F(BitmapViewerTest, ScrollingRaisesBitmapViewAndMovesUserPositions)
{
    int handle = 0;
    WBitmapCreate(handle, 2000, 1500);
    ASSERT_GE(handle, 1);
    int mode = 2, status = -1;
    WBitmapView(handle - 1, 0, 0, mode, status);
    ASSERT_EQ(status, 0);
    drain_messages();
    WMessageEnable(MsgBitmapView, 1);
    PostMessageA(viewer(), WM_HSCROLL, SB_LINEDOWN, 0);
    WinMessage m;
    ASSERT_TRUE(poll_for(MsgBitmapView, m));
    EXPECT_EQ(m.window, window_);
    EXPECT_EQ(m.value1, 1);
    EXPECT_EQ(m.value2, 0);
    EXPECT_EQ(m.source_kind, 2);
    EXPECT_EQ(info(4), 1);
    EXPECT_EQ(info(5), 0);
    EXPECT_FALSE(poll_for(MsgBitmapView, m)) << "one line, one message: " << m.value1 << " " << m.value2;

    // A click in the viewer: source kind 2; with the default units 0..1 over the whole bitmap the
    // user x is (scroll + pixel + 0.5) / bitmap width.
    WWinSelect(window_);
    IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    IGrUnits(0.0f, 0.0f, 1.0f, 1.0f);
    PostMessageA(viewer(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    ASSERT_TRUE(poll_for(MsgMouseDown, m));
    EXPECT_EQ(m.source_kind, 2);
    EXPECT_EQ(m.window, window_);
    EXPECT_NEAR(m.user_x, (1 + 10 + 0.5) / 2000.0, 1e-4);
    PostMessageA(viewer(), WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    drain_messages();
}

TEST_F(BitmapViewerTest, CloseBoxOfAModelessViewerIsACloseRequest)
{
    int handle = 0;
    WBitmapCreate(handle, 60, 60);
    int mode = 2, status = -1;
    WBitmapView(handle - 1, 0, 0, mode, status);
    ASSERT_EQ(status, 0);
    drain_messages();
    PostMessageA(WIN_TABLE.slot[window_].frame, WM_CLOSE, 0, 0);
    WinMessage m;
    ASSERT_TRUE(poll_for(MsgCloseRequest, m));
    EXPECT_EQ(m.window, window_);
    EXPECT_TRUE(IsWindow(WIN_TABLE.slot[window_].frame)) << "the application decides";
}

// A window with child windows is refused (9); a window inside a parent is converted modeless (5).
TEST_F(BitmapViewerTest, WindowsWithChildrenOrInsideAParent)
{
    int handle = 0;
    WBitmapCreate(handle, 50, 50);
    int inner = -1;
    WWinOpenChild(inner, 7 | 16, 0, 0, 5000, 5000, 0, "inner", window_);
    ASSERT_GE(inner, 1);
    WWinSelect(window_);
    int mode = 2, status = -1;
    WBitmapView(handle - 1, 0, 0, mode, status);
    EXPECT_EQ(status, 9);
    WWinSelect(inner);
    mode = 1;
    WBitmapView(handle - 1, 0, 0, mode, status);
    EXPECT_EQ(status, 5);
    EXPECT_EQ(mode, 2);
    ASSERT_NE(win_record(WIN_TABLE.slot[inner].frame), nullptr);
    EXPECT_EQ(win_record(WIN_TABLE.slot[inner].frame)->kind, 2);
}

// In mode 1 the call returns only after the user closes the window; the window's slot goes with it.
TEST_F(BitmapViewerTest, ModalViewerReturnsWhenTheUserClosesIt)
{
    int handle = 0;
    WBitmapCreate(handle, 80, 60);
    WWinSetTitle("QR4T modal viewer");
    HANDLE driver = start_uidriver("wait \"QR4T modal viewer\" 20 sleep 300 close");
    ASSERT_NE(driver, nullptr);
    int mode = 1, status = -1;
    WBitmapView(handle - 1, 0, 0, mode, status);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(WIN_TABLE.slot[window_].frame, nullptr);
    EXPECT_EQ(WIN_CURRENT.window, 0);
    WBitmapDestroy(handle);
    EXPECT_EQ(IErrorInfo(1), 0) << "the closed viewer no longer holds the bitmap";
}

}  // namespace
