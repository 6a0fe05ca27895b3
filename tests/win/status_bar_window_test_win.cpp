// A window with a status bar keeps the client size it was asked for: the frame grows by the bar.
#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(StatusBarWindow, FrameGrowsByTheBarAndTheClientKeepsItsSize)
{
    if (WIN_CURRENT.main_open != -1) {
        WinOpenRecord r;
        r.flags = 0x43;
        r.width = 800;
        r.height = 600;
        r.title = "QR4T status bar test";
        WWinOpen(r);
    }
    int h = -1;
    WWinOpenChild(h, 7 | 32, 20, 20, 300, 150, "with status bar");
    ASSERT_GE(h, 1);
    RECT client;
    GetClientRect(WIN_TABLE.slot[h].client, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 150);
    ASSERT_NE(WIN_TABLE.slot[h].status_bar, nullptr);
    RECT bar, frame_client;
    GetWindowRect(WIN_TABLE.slot[h].status_bar, &bar);
    GetClientRect(WIN_TABLE.slot[h].frame, &frame_client);
    EXPECT_EQ(frame_client.bottom, 150 + (bar.bottom - bar.top));
    WWinCloseChild(h);
}
