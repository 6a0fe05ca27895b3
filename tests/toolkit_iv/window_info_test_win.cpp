// The information tables of the current window and dialog, and the status bar of the current window.
#include "toolkit_iv_fixture_win.h"

#include "toolkit/common/error_state.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_table_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int CHILD_DIALOG = 9403;

// Window units of a pixel position on an extent: trunc((pixel + 0.5) * 9999 / extent).
int units(int pixel, int extent)
{
    return static_cast<int>((pixel + 0.5) * 9999.0 / extent);
}

class WindowInfoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_main_window(); }
    void SetUp() override
    {
        WWinSelect(0);
        IErrorInfo(1);
    }
    void TearDown() override
    {
        for (int n = 1; n < WIN_SLOTS; ++n)
            if (WIN_TABLE.slot[n].frame)
                WWinCloseChild(n);
        WWinSelect(0);
    }
};

TEST_F(WindowInfoTest, MainWindowFacts)
{
    const WinSlot& s = WIN_TABLE.slot[0];
    RECT client;
    GetClientRect(s.client, &client);
    EXPECT_EQ(WWinInfo(1), client.right);
    EXPECT_EQ(WWinInfo(2), client.bottom);
    EXPECT_EQ(WWinInfo(3), MAIN_FLAGS);
    EXPECT_EQ(WWinInfo(4), 0);
    RECT frame;
    GetWindowRect(s.frame, &frame);
    EXPECT_EQ(WWinInfo(5), frame.left) << "a top-level window is placed in screen pixels";
    EXPECT_EQ(WWinInfo(6), frame.top);
    POINT origin = {0, 0};
    ClientToScreen(s.client, &origin);
    EXPECT_EQ(WWinInfo(7), origin.x);
    EXPECT_EQ(WWinInfo(8), origin.y);
    EXPECT_EQ(WWinInfo(9), 1);
    EXPECT_EQ(WWinInfo(10), 0) << "a plain window has no window record";
}

TEST_F(WindowInfoTest, CurrentWindowNumberAndFlags)
{
    int handles[3] = {};
    for (int& h : handles) {
        WWinOpenChild(h, 7, 100, 100, 200, 150, "child");
        ASSERT_GT(h, 0);
    }
    WWinSelect(handles[0]);
    EXPECT_EQ(WWinInfo(4), handles[0]);
    WWinSelect(3);
    EXPECT_EQ(WWinInfo(4), 3) << "after selecting child window 3";
    EXPECT_EQ(WWinInfo(3), 7);
    EXPECT_EQ(WWinInfo(1), 200);
    EXPECT_EQ(WWinInfo(2), 150);
}

TEST_F(WindowInfoTest, ShowStatesAndTheRestoredPlaceOfAMinimisedWindow)
{
    int h = 0;
    WWinOpenChild(h, 7, 210, 160, 300, 200, "states");
    ASSERT_GT(h, 0);
    int x = WWinInfo(5);
    int y = WWinInfo(6);
    RECT frame;
    GetWindowRect(WIN_TABLE.slot[h].frame, &frame);
    EXPECT_EQ(x, frame.left);
    EXPECT_EQ(y, frame.top);
    ShowWindow(WIN_TABLE.slot[h].frame, SW_MINIMIZE);
    EXPECT_EQ(WWinInfo(9), 0);
    EXPECT_EQ(WWinInfo(5), x) << "a minimised window reports where it will be restored";
    EXPECT_EQ(WWinInfo(6), y);
    ShowWindow(WIN_TABLE.slot[h].frame, SW_RESTORE);
    EXPECT_EQ(WWinInfo(9), 1);
    ShowWindow(WIN_TABLE.slot[h].frame, SW_MAXIMIZE);
    EXPECT_EQ(WWinInfo(9), 2);
}

TEST_F(WindowInfoTest, WindowInsideTheMainWindowIsPlacedInUnits)
{
    int h = 0;
    WWinOpenChild(h, 7 + 16, 5000, 2500, 4000, 4000, "inside");
    ASSERT_GT(h, 0);
    RECT main_client;
    GetClientRect(WIN_TABLE.slot[0].client, &main_client);
    RECT frame;
    GetWindowRect(WIN_TABLE.slot[h].frame, &frame);
    MapWindowPoints(nullptr, WIN_TABLE.slot[0].client, reinterpret_cast<POINT*>(&frame), 2);
    WWinSelect(h);
    EXPECT_EQ(WWinInfo(5), units(frame.left, main_client.right));
    EXPECT_EQ(WWinInfo(6), units(frame.top, main_client.bottom));
    EXPECT_NEAR(WWinInfo(5), 5000, 9999 / main_client.right + 1) << "within a pixel of where it was put";
    EXPECT_EQ(WWinInfo(4), h) << "the conversion leaves the current window as it was";
}

TEST_F(WindowInfoTest, ChildDialogAtTheMainClientOriginIsAtItsCorner)
{
    WDialogLoad(CHILD_DIALOG);
    ASSERT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(WDialogInfo(3), CHILD_DIALOG);
    WDialogShow(0, 0, 0, 2);
    // Pixel 0 is unit trunc(0.5 * 9999 / extent): the position names the client's corner pixel.
    RECT main_client;
    GetClientRect(WIN_TABLE.slot[0].client, &main_client);
    EXPECT_EQ(WDialogInfo(6), units(0, main_client.right));
    EXPECT_EQ(WDialogInfo(7), units(0, main_client.bottom));
    int px = -1, py = -1;
    WGrUnitsToPixels(WDialogInfo(6), WDialogInfo(7), px, py);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);
    RECT dialog;
    GetWindowRect(current_dialog_window(), &dialog);
    EXPECT_EQ(WDialogInfo(8), units(dialog.right - dialog.left, main_client.right));
    EXPECT_EQ(WDialogInfo(9), units(dialog.bottom - dialog.top, main_client.bottom));
    WDialogHide();
    WDialogUnload();
}

TEST_F(WindowInfoTest, MessageBoxAnswersReachTheDialogInformation)
{
    struct Case {
        int buttons;
        int press;
        int answer;
    };
    // OK-Cancel with Cancel, Yes-No with No, Abort-Retry-Ignore with Retry.
    for (Case c : {Case{1, IDCANCEL, 0}, Case{3, IDNO, 2}, Case{5, IDRETRY, 1}}) {
        ModalScript script({press(c.press)});
        int answer = -9;
        WDialogMessageShow(c.buttons, 2, 1, answer, "Go on?", "QR4T question");
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(answer, c.answer) << "button set " << c.buttons;
        EXPECT_EQ(WDialogInfo(4), c.answer);
    }
}

// Enter on a box answers with its default button (the one drawn as default): with no default asked (0) that
// is the first button, whatever the set; a default of 2 is the second.
TEST_F(WindowInfoTest, MessageBoxEnterAnswersWithTheDefaultButton)
{
    struct Case {
        int buttons;
        int asked;
        int default_id;
        int answer;
    };
    for (Case c : {Case{1, 0, IDOK, 1}, Case{3, 0, IDYES, 1}, Case{2, 0, IDRETRY, 1}, Case{3, 2, IDNO, 2},
                   Case{4, 0, IDYES, 1}}) {
        int default_id = 0;
        ModalScript script({[&default_id](HWND box) {
            // The default button is the one drawn as default (Wine's box does not answer DM_GETDEFID
            // with it), which is also the one Enter presses.
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                    default_id = GetDlgCtrlID(child);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(default_id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, default_id)));
            return true;
        }});
        int answer = -9;
        WDialogMessageShow(c.buttons, 2, c.asked, answer, "Go on?", "QR4T question");
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(default_id, c.default_id) << "button set " << c.buttons << ", default " << c.asked;
        EXPECT_EQ(answer, c.answer) << "button set " << c.buttons << ", default " << c.asked;
    }
}

TEST_F(WindowInfoTest, StatusBarTextsAndParts)
{
    HWND bar = WIN_TABLE.slot[0].status_bar;
    ASSERT_NE(bar, nullptr);
    auto part_text = [bar](int index) {
        char text[256] = {};
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    WWinStatusBarText(1, "Ready      ");
    EXPECT_EQ(part_text(0), "Ready") << "trailing blanks are trimmed";
    WWinStatusBarText(0, "never");
    WWinStatusBarText(256, "never");
    EXPECT_EQ(part_text(0), "Ready") << "parts 0 and 256 are ignored";
    WWinStatusBarText(1, "   ");
    EXPECT_EQ(part_text(0), "") << "a blank text clears the part";

    WWinStatusBarText(1, "first");
    WWinStatusBarPart(1, 100, 1);
    WWinStatusBarPart(2, 150, 2);
    WWinStatusBarParts(2);
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 250);
    EXPECT_EQ(part_text(0), "first") << "the texts are set again";
    WWinStatusBarText(2, "second");
    EXPECT_EQ(part_text(1), "second");
    EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0)) & SBT_POPOUT, SBT_POPOUT);
    WWinStatusBarPart(1, -1, 1);
    WWinStatusBarParts(1);
}

}  // namespace
