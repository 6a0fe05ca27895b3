// The frame and client window procedures' handling of the messages that no mouse or key of a test can
// raise directly: deactivation of the application, palette changes, Alt keys and the normal place of a
// window inside a parent, maximised windows following their parent's size, the end of a media device,
// the focus, and the registered find-and-replace message.
#include "tests/win/win_test_support.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/palette_colours.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <vector>

namespace {

// Records the messages of one kind that a window receives, then passes them on to its own procedure.
class MessageRecorder {
public:
    MessageRecorder(HWND window, UINT message) : window_(window), message_(message)
    {
        active_ = this;
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageRecorder::proc)));
    }
    ~MessageRecorder()
    {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        active_ = nullptr;
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<WPARAM> seen;  // the word parameter of every recorded message

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        MessageRecorder* r = active_;
        if (msg == r->message_)
            r->seen.push_back(wp);
        return CallWindowProcA(r->old_, hwnd, msg, wp, lp);
    }

    static MessageRecorder* active_;
    HWND window_;
    UINT message_;
    WNDPROC old_ = nullptr;
};

MessageRecorder* MessageRecorder::active_ = nullptr;

class WindowProceduresTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_test_main_window(); }
    void TearDown() override
    {
        for (int h : {inside_, top_})
            if (h >= 1 && WIN_TABLE.slot[h].frame)
                WWinCloseChild(h);
        drain_messages();
    }
    // A window inside the main window's client, 40 % of it, at 10 % from its top-left corner.
    void open_inside()
    {
        WWinOpenChild(inside_, 7 | 16, 1000, 1000, 4000, 4000, 0, "inside", 0);
        ASSERT_GE(inside_, 1);
        drain_messages();
    }
    HWND frame(int h) const { return WIN_TABLE.slot[h].frame; }

    int inside_ = -1;
    int top_ = -1;
};

RECT rect_in_parent(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(WindowProceduresTest, FindReplaceMessageIsRegisteredAtOpening)
{
    EXPECT_NE(WIN_TABLE.find_replace_message, 0u);
    EXPECT_EQ(WIN_TABLE.find_replace_message, RegisterWindowMessageA("commdlg_FindReplace"));
}

// Another application coming to the front draws every child window and every loaded dialog inactive;
// activating a window draws it active and the dialogs inactive, activating a dialog draws it active.
TEST_F(WindowProceduresTest, DeactivationDrawsChildWindowsAndDialogsInactive)
{
    WWinOpenChild(top_, 7, 40, 40, 200, 120, "top");
    ASSERT_GE(top_, 1);
    WDialogLoad(9001);
    HWND dialog = current_dialog_window();
    ASSERT_NE(dialog, nullptr);
    drain_messages();
    {
        MessageRecorder child(frame(top_), WM_NCACTIVATE);
        SendMessageA(frame(0), WM_ACTIVATEAPP, FALSE, 0);
        ASSERT_FALSE(child.seen.empty());
        EXPECT_EQ(child.seen.back(), static_cast<WPARAM>(FALSE));
        WWinActivate(frame(top_));
        EXPECT_EQ(child.seen.back(), static_cast<WPARAM>(TRUE));
    }
    {
        MessageRecorder d(dialog, WM_NCACTIVATE);
        WWinActivate(frame(top_));
        ASSERT_FALSE(d.seen.empty());
        EXPECT_EQ(d.seen.back(), static_cast<WPARAM>(FALSE));
        WWinActivate(dialog);
        EXPECT_EQ(d.seen.back(), static_cast<WPARAM>(TRUE));
    }
    WDialogUnload();
}

TEST_F(WindowProceduresTest, PaletteChangeGoesOnToTheClient)
{
    WWinOpenChild(top_, 7, 40, 40, 200, 120, "palette");
    ASSERT_GE(top_, 1);
    MessageRecorder client(WIN_TABLE.slot[top_].client, WM_PALETTECHANGED);
    SendMessageA(frame(top_), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(frame(0)), 0);
    EXPECT_EQ(client.seen.size(), 1u);
}

// Alt keys of a window inside a parent go to the parent, except Alt+'-', its own system menu.
TEST_F(WindowProceduresTest, InsideParentHandsAltKeysToItsParent)
{
    open_inside();
    MessageRecorder parent(GetParent(frame(inside_)), WM_SYSCHAR);
    SendMessageA(frame(inside_), WM_SYSCHAR, 'f', 0);
    SendMessageA(frame(inside_), WM_SYSCHAR, '-', 0);
    ASSERT_EQ(parent.seen.size(), 1u);
    EXPECT_EQ(parent.seen[0], static_cast<WPARAM>('f'));
}

// A window inside a parent keeps its normal place across a maximise and a restore.
TEST_F(WindowProceduresTest, InsideParentKeepsItsNormalPlaceWhileMaximised)
{
    open_inside();
    HWND f = frame(inside_);
    RECT before = rect_in_parent(f);
    ASSERT_EQ(WIN_TABLE.slot[inside_].normal_rect.left, -999);
    ShowWindow(f, SW_MAXIMIZE);
    const RECT& kept = WIN_TABLE.slot[inside_].normal_rect;
    EXPECT_EQ(kept.left, before.left);
    EXPECT_EQ(kept.top, before.top);
    EXPECT_EQ(kept.right, before.right);
    EXPECT_EQ(kept.bottom, before.bottom);
    ShowWindow(f, SW_RESTORE);
    EXPECT_EQ(WIN_TABLE.slot[inside_].normal_rect.left, -999);
    RECT after = rect_in_parent(f);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

// A media device that reports its end is closed and forgotten.
TEST_F(WindowProceduresTest, MediaDeviceEndClearsItsEntry)
{
    WWinOpenChild(top_, 7, 40, 40, 200, 120, "media");
    ASSERT_GE(top_, 1);
    constexpr unsigned device = 0x7777;  // no such device: closing it fails quietly
    WIN_TABLE.slot[top_].media_device = device;
    SendMessageA(frame(top_), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, device);
    EXPECT_EQ(WIN_TABLE.slot[top_].media_device, 0u);
}

// A maximised window inside the main window follows the main window's new size.
TEST_F(WindowProceduresTest, MaximisedInsideWindowFollowsItsParentsSize)
{
    open_inside();
    HWND f = frame(inside_);
    ShowWindow(f, SW_MAXIMIZE);
    RECT before;
    GetWindowRect(f, &before);
    RECT main;
    GetWindowRect(frame(0), &main);
    SetWindowPos(frame(0), nullptr, 0, 0, main.right - main.left - 40, main.bottom - main.top - 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after;
    GetWindowRect(f, &after);
    SetWindowPos(frame(0), nullptr, 0, 0, main.right - main.left, main.bottom - main.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(IsZoomed(f));
    EXPECT_EQ(after.right - after.left, before.right - before.left - 40);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top - 30);
    RECT restored;
    GetWindowRect(f, &restored);
    EXPECT_EQ(restored.right - restored.left, before.right - before.left);
}

// The focus in a client makes its frame the default owner, clears the active dialog and brings the frame
// to the top.
TEST_F(WindowProceduresTest, FocusClearsTheActiveDialog)
{
    WWinOpenChild(top_, 7, 40, 40, 200, 120, "focus");
    ASSERT_GE(top_, 1);
    WDialogLoad(9001);
    HWND dialog = current_dialog_window();
    DIALOG_TABLE.active = dialog;
    SetFocus(nullptr);
    SetFocus(WIN_TABLE.slot[top_].client);
    EXPECT_EQ(DIALOG_TABLE.active, nullptr);
    EXPECT_EQ(WIN_TABLE.default_owner, frame(top_));
    WDialogUnload();
}

// A window opened while a semi-modeless dialog is shown waits for it with the others: it opens
// disabled, and the end of the last semi-modeless show enables it.
TEST_F(WindowProceduresTest, ChildOpenedDuringASemiModelessShowIsDisabled)
{
    ++DIALOG_TABLE.semi_modeless;
    WWinOpenChild(top_, 7, 40, 40, 200, 120, "waiting");
    --DIALOG_TABLE.semi_modeless;
    ASSERT_GE(top_, 1);
    EXPECT_FALSE(IsWindowEnabled(frame(top_)));
    WWinEnableOthers(nullptr, true);
    EXPECT_TRUE(IsWindowEnabled(frame(top_)));
}

// A hidden window raises no resize, but its drawing surface takes the new size at once.
TEST_F(WindowProceduresTest, HiddenWindowsSurfaceFollowsItsSize)
{
    WWinOpenChild(top_, 7 | 128, 40, 40, 200, 120, "hidden");
    ASSERT_GE(top_, 1);
    IGrSelectTarget(1, top_);
    ASSERT_EQ(GrSurface.width, 200);
    RECT f;
    GetWindowRect(frame(top_), &f);
    SetWindowPos(frame(top_), nullptr, 0, 0, f.right - f.left + 30, f.bottom - f.top + 20,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(GrSurface.width, 230);
    EXPECT_EQ(GrSurface.height, 140);
    EXPECT_EQ(WIN_CURRENT.width, 230);
    WinMessage m;
    EXPECT_FALSE(poll_for(MsgResize, m));
}

// On a 256-colour display the main window's colour count is the colour class, and the graphics core's
// palette for that class (and the two system colours) is built and realised. The display here has
// more colours, so the test takes its facts as those of a 256-colour one.
TEST(MainWindowPalette, ColourCountSizesThePaletteOfA256ColourDisplay)
{
    WWinCloseDown();
    read_screen_info();
    const WinScreenInfo kept = WIN_SCREEN;
    WIN_SCREEN.colours = 256;
    WIN_SCREEN.colour_class = 16;
    WinOpenRecord r;
    r.flags = 0x43;
    r.width = 1020;
    r.height = 718;
    r.title = "QR4T palette test";
    WWinOpen(r, 64);
    EXPECT_EQ(WIN_SCREEN.colour_class, 64);
    EXPECT_EQ(GrColourState.screen_class, 64);
    ASSERT_NE(GrGdiContext.palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(GrGdiContext.palette, 0, 0, nullptr), gr_palette_colours(64).size() + 2);
    WWinCloseDown();
    DeleteObject(GrGdiContext.palette);
    GrGdiContext.palette = nullptr;
    GrGdiContext.palette_block.clear();
    WIN_SCREEN = kept;
    WMsgEnableReset();
    open_test_main_window();
}

// Making a window current without re-selecting the target (as the position queries do, for the main
// window and back) still makes its context the drawing context with the drawing mode: the system hands
// out a fresh context for each acquisition.
TEST_F(WindowProceduresTest, WindowMadeCurrentIsDrawnOnAtOnce)
{
    open_inside();
    const int kept_mode = GrGdiContext.rop2;
    GrGdiContext.rop2 = R2_NOTXORPEN;
    WWinSelect(inside_);
    ASSERT_EQ(GetROP2(WIN_CURRENT.dc), R2_NOTXORPEN);
    WWinInfo(5);  // the main window current for the conversion, then this window again
    EXPECT_EQ(WIN_CURRENT.window, inside_);
    EXPECT_EQ(GrGdiContext.dc, WIN_CURRENT.dc);
    EXPECT_EQ(GetROP2(WIN_CURRENT.dc), R2_NOTXORPEN);
    EXPECT_EQ(GrTarget.number, inside_);
    GrGdiContext.rop2 = kept_mode;
    WWinSelect(inside_);
}

// A minimised window inside a parent that the user moved is lined up again with the other icons at the
// end of the move.
TEST_F(WindowProceduresTest, MinimisedInsideWindowIsLinedUpAfterAMove)
{
    open_inside();
    HWND f = frame(inside_);
    ShowWindow(f, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(f));
    ArrangeIconicWindows(GetParent(f));
    RECT lined_up = rect_in_parent(f);
    SetWindowPos(f, nullptr, lined_up.left + 200, lined_up.top - 150, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(rect_in_parent(f).left, lined_up.left);
    SendMessageA(f, WM_EXITSIZEMOVE, 0, 0);
    RECT after = rect_in_parent(f);
    EXPECT_EQ(after.left, lined_up.left);
    EXPECT_EQ(after.top, lined_up.top);
}
