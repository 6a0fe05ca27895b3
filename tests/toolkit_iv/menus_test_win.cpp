// Menus, toolbars and accelerators of the main window, from the test resources: a menu 9401 with its
// item numbers, accelerators and help strings, a toolbar 9402, a pop-up menu 9404.
#include "toolkit_iv_fixture_win.h"

#include "toolkit/common/error_state.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/menus.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int TEST_MENU = 9401;
constexpr int TEST_TOOLBAR = 9402;
constexpr int POPUP_MENU = 9404;
constexpr int OPEN = 9411, SAVE = 9412, RECENT = 9413, FIRST = 9414, HIDDEN = 9415, RUN = 9420;
constexpr int OWN_BUTTON = 9430;  // on the toolbar only

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_main_window(); }
    void SetUp() override
    {
        WWinSelect(0);
        remove_all();
        IErrorInfo(1);
    }
    void TearDown() override { remove_all(); }
    static void remove_all()
    {
        int none = 0, dw = 0, dh = 0;
        WMenuSet(none, 0);
        for (int side = 0; side < 4; ++side) {
            none = 0;
            WToolbarSet(none, 0, side, dw, dh);
        }
    }
    static void set_menu()
    {
        int id = TEST_MENU;
        WMenuSet(id, 0);
        ASSERT_EQ(id, TEST_MENU);
    }
    static HMENU menu() { return WIN_TABLE.slot[0].menu; }
    static std::string item_text(int id)
    {
        char text[64] = {};
        GetMenuStringA(menu(), static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    // The text of the status bar's simple mode, which the menu loop switches on.
    static std::string simple_status_text()
    {
        char text[256] = {};
        SendMessageA(WIN_TABLE.slot[0].status_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

TEST_F(MenuTest, ItemOperationsWithoutAMenuFail)
{
    WMenuSetState(OPEN, 1, 0);
    EXPECT_EQ(IErrorInfo(1), 1001) << "a window without a menu or toolbar";
    WMenuSetState(OPEN, 3, 0);
    WMenuSetState(OPEN, 1, 2);
    EXPECT_EQ(IErrorInfo(1), 0) << "options and values out of range are ignored";
    for (auto op :
         {+[](int& id) { WMenuItemText(id, "x"); }, +[](int& id) { WMenuItemHelp(id, "x"); },
          +[](int& id) { WMenuItemDelete(id); }, +[](int& id) { WMenuItemInsert(id, 1, 5, "x"); }}) {
        int id = OPEN;
        op(id);
        EXPECT_EQ(id, -1);
    }
    int missing = 12345;
    WMenuSet(missing, 0);
    EXPECT_EQ(missing, -1) << "no such menu resource";
    int id = TEST_MENU;
    WMenuSet(id, 17);
    EXPECT_EQ(id, -2) << "no window 17";
    int inside = 0;
    WWinOpenChild(inside, 7 + 16, 0, 0, 3000, 3000, "inside");
    ASSERT_GT(inside, 0);
    id = TEST_MENU;
    WMenuSet(id, inside);
    EXPECT_EQ(id, -2) << "a window inside another has no menu";
    WWinCloseChild(inside);
    missing = 12345;
    WMenuPopup(missing, 5, 5);
    EXPECT_EQ(missing, -1);
}

TEST_F(MenuTest, LoadingNumbersTheItemsAndGreysDisabledOnes)
{
    set_menu();
    HMENU file = GetSubMenu(menu(), 0);
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(OPEN));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(file, 3), 0), static_cast<UINT>(FIRST)) << "three levels down";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(file, 3, TRUE, &info));
    EXPECT_EQ(info.wID, static_cast<UINT>(RECENT)) << "a pop-up item gets its number too";
    EXPECT_TRUE(GetMenuState(menu(), HIDDEN, MF_BYCOMMAND) & MF_GRAYED) << "disabled items are shown greyed";
    EXPECT_NE(WIN_TABLE.slot[0].accelerators, nullptr);
}

TEST_F(MenuTest, StatesOfItems)
{
    set_menu();
    int state = -1;
    WMenuGetState(SAVE, 1, state);
    EXPECT_EQ(state, 0);
    WMenuSetState(SAVE, 1, 1);
    WMenuGetState(SAVE, 1, state);
    EXPECT_EQ(state, 1);
    WMenuSetState(RUN, 2, 1);
    WMenuGetState(RUN, 2, state);
    EXPECT_EQ(state, 1);
    EXPECT_TRUE(GetMenuState(menu(), RUN, MF_BYCOMMAND) & MF_CHECKED);
    WMenuSetState(RUN, 2, 0);
    WMenuGetState(RUN, 2, state);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(IErrorInfo(1), 0);
    WMenuSetState(4242, 1, 1);
    EXPECT_EQ(IErrorInfo(1), 1001);
}

TEST_F(MenuTest, TheCurrentWindowsMenuIsAddressedWhenItHasOne)
{
    set_menu();
    int child = 0;
    WWinOpenChild(child, 7, 300, 300, 200, 100, "with a menu");
    ASSERT_GT(child, 0);
    // Without a menu of its own the child addresses the main window's menu.
    WMenuSetState(RUN, 2, 1);
    EXPECT_TRUE(GetMenuState(menu(), RUN, MF_BYCOMMAND) & MF_CHECKED);
    int id = TEST_MENU;
    WMenuSet(id, child);
    ASSERT_EQ(id, TEST_MENU);
    HMENU own = WIN_TABLE.slot[child].menu;
    ASSERT_NE(own, nullptr);
    ASSERT_NE(own, menu());
    WMenuSetState(SAVE, 1, 1);
    EXPECT_FALSE(GetMenuState(own, SAVE, MF_BYCOMMAND) & MF_GRAYED) << "the child's own menu changes";
    EXPECT_TRUE(GetMenuState(menu(), SAVE, MF_BYCOMMAND) & MF_GRAYED) << "the main menu does not";
    WWinCloseChild(child);
    EXPECT_EQ(WIN_TABLE.slot[child].menu, nullptr);
}

TEST_F(MenuTest, TextsInsertionDeletionAndHelpStrings)
{
    set_menu();
    int id = RUN;
    WMenuItemText(id, "&Go");
    EXPECT_EQ(id, RUN);
    EXPECT_EQ(item_text(RUN), "&Go");

    int reference = OPEN;
    WMenuItemInsert(reference, 2, 9416, "Close");
    EXPECT_EQ(reference, OPEN);
    HMENU file = GetSubMenu(menu(), 0);
    EXPECT_EQ(GetMenuItemID(file, 1), 9416u) << "offset 2 puts it after the reference";
    reference = OPEN;
    WMenuItemInsert(reference, 1, 0, "");
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_SEPARATOR) << "offset 1 takes its place";
    int count = GetMenuItemCount(file);
    reference = OPEN;
    WMenuItemInsert(reference, 99, 9417, "Last");
    EXPECT_EQ(GetMenuItemID(file, count), 9417u) << "beyond the end appends";
    reference = OPEN;
    WMenuItemInsert(reference, -5, 9418, "Front");
    EXPECT_EQ(GetMenuItemID(file, 0), 9418u) << "before the start goes to the front";

    int gone = 9416;
    WMenuItemDelete(gone);
    EXPECT_EQ(gone, 9416);
    EXPECT_EQ(GetMenuState(menu(), 9416, MF_BYCOMMAND), static_cast<UINT>(-1));

    // Help on the status bar: an item's own text first, then the help-string resource.
    HWND frame = WIN_TABLE.slot[0].frame;
    SendMessageA(frame, WM_ENTERMENULOOP, FALSE, 0);
    EXPECT_TRUE(SendMessageA(WIN_TABLE.slot[0].status_bar, SB_ISSIMPLE, 0, 0));
    int help = OPEN;
    WMenuItemHelp(help, "Own help");
    EXPECT_EQ(help, OPEN);
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(OPEN, MF_STRING), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(simple_status_text(), "Own help");
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(RUN, MF_STRING), reinterpret_cast<LPARAM>(menu()));
    EXPECT_EQ(simple_status_text(), "Runs the case");
    help = OPEN;
    WMenuItemHelp(help, "");
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(OPEN, MF_STRING), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(simple_status_text(), "Opens a file") << "an empty text removes the item's own help";
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_SYSMENU), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(simple_status_text(), "Closes the window");
    SendMessageA(frame, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_FALSE(SendMessageA(WIN_TABLE.slot[0].status_bar, SB_ISSIMPLE, 0, 0));
}

TEST_F(MenuTest, AcceleratorBecomesAMenuMessage)
{
    set_menu();
    HWND client = WIN_TABLE.slot[0].client;
    // F5 is bound to "Run" without modifiers.
    PostMessageA(client, WM_KEYDOWN, VK_F5, 1);
    PostMessageA(client, WM_KEYUP, VK_F5, 0xC0000001);
    int type = MsgNone;
    WinMessage m;
    for (int i = 0; i < 20 && type != MsgMenu; ++i)
        WMsgPeek(type, m);
    EXPECT_EQ(type, MsgMenu);
    EXPECT_EQ(m.value1, RUN);
}

TEST_F(MenuTest, DialogWithTheDialogFlagPassesTheMainAccelerators)
{
    set_menu();
    WDialogLoad(9405);
    ASSERT_EQ(IErrorInfo(1), 0);
    WDialogShow(-1, -1, 1001, 2);
    HWND dialog = current_dialog_window();
    SetActiveWindow(dialog);
    SetFocus(GetDlgItem(dialog, 1001));
    int type = MsgNone;
    WinMessage m;
    for (int i = 0; i < 20; ++i)
        WMsgPeek(type, m);
    ASSERT_EQ(WIN_ACTIVE_DIALOG, dialog);
    PostMessageA(GetDlgItem(dialog, 1001), WM_KEYDOWN, VK_F5, 1);
    type = MsgNone;
    for (int i = 0; i < 20 && type != MsgMenu; ++i)
        WMsgPeek(type, m);
    EXPECT_EQ(type, MsgMenu);
    EXPECT_EQ(m.value1, RUN);
    WDialogHide();
    WDialogUnload();
}

TEST_F(MenuTest, ToolbarFollowsTheMenuAndGrowsTheFrame)
{
    set_menu();
    HWND client = WIN_TABLE.slot[0].client;
    RECT before;
    GetClientRect(client, &before);
    int id = TEST_TOOLBAR, dw = 0, dh = 0;
    WToolbarSet(id, 0, 0, dw, dh);
    ASSERT_EQ(id, TEST_TOOLBAR);
    HWND bar = WIN_TABLE.slot[0].toolbars[0];
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(dh, 15 + 12) << "a top bar is the image height plus 12";
    EXPECT_EQ(dw, 0);
    RECT after;
    GetClientRect(client, &after);
    EXPECT_EQ(after.bottom, before.bottom) << "the frame grows, the client keeps its size";
    RECT placed;
    GetWindowRect(client, &placed);
    MapWindowPoints(nullptr, WIN_TABLE.slot[0].frame, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.top, 27) << "the client lies below the bar";

    EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONENABLED, SAVE, 0)) << "the menu item is greyed";
    EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, OWN_BUTTON, 0)) << "not in the menu: enabled";
    WMenuSetState(SAVE, 1, 1);
    EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, SAVE, 0));
    WMenuSetState(OWN_BUTTON, 2, 1);
    EXPECT_EQ(IErrorInfo(1), 0) << "a button alone is found";
    int state = 0;
    WMenuGetState(OWN_BUTTON, 2, state);
    EXPECT_EQ(state, 1);

    int button = OWN_BUTTON;
    WToolbarTipSet(button, "My own button");
    EXPECT_EQ(button, OWN_BUTTON);
    NMTTDISPINFOA tip = {};
    tip.hdr.hwndFrom = bar;
    tip.hdr.idFrom = OWN_BUTTON;
    tip.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(WIN_TABLE.slot[0].frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_STREQ(tip.lpszText, "My own button");
    button = 4242;
    WToolbarTipSet(button, "none");
    EXPECT_EQ(button, -1);

    int none = 0;
    WToolbarSet(none, 0, 3, dw, dh);
    EXPECT_EQ(dw, -1) << "removing a bar that is not there changes nothing";
    EXPECT_EQ(dh, -1);
    none = 0;
    WToolbarSet(none, 0, 0, dw, dh);
    EXPECT_EQ(dh, -27);
    EXPECT_EQ(WIN_TABLE.slot[0].toolbars[0], nullptr);
    int missing = 12345;
    WToolbarSet(missing, 0, 1, dw, dh);
    EXPECT_EQ(missing, -1);
}

TEST_F(MenuTest, LeftToolbarIsOneColumn)
{
    int id = TEST_TOOLBAR, dw = 0, dh = 0;
    WToolbarSet(id, 0, 1, dw, dh);
    ASSERT_EQ(id, TEST_TOOLBAR);
    EXPECT_EQ(dw, 16 + 9);
    EXPECT_EQ(dh, 0);
    HWND bar = WIN_TABLE.slot[0].toolbars[1];
    RECT first, last;
    SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(bar, TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(first.left, last.left);
    EXPECT_GT(last.top, first.top);
}

TEST_F(MenuTest, PopupMenuIsTrackedAndEnds)
{
    set_menu();
    int id = RUN;
    WMenuItemText(id, "Run &now");
    // While the menu is tracked a timer reads its item and ends it. An activation message still on its
    // way from the windows' opening (late on a loaded machine) cancels a menu before the timer comes:
    // the messages waiting are handled first, and a menu ended before the timer is tracked again.
    static std::string tracked_text;
    static bool seen;
    for (int attempt = 0; attempt < 3; ++attempt) {
        MSG waiting;
        while (PeekMessageA(&waiting, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&waiting);
            DispatchMessageA(&waiting);
        }
        tracked_text.clear();
        seen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) {
            HWND popup = FindWindowA("#32768", nullptr);
            HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
            char text[64] = {};
            if (menu)
                GetMenuStringA(menu, RUN, text, sizeof text, MF_BYCOMMAND);
            tracked_text = text;
            seen = true;
            EndMenu();
        });
        id = POPUP_MENU;
        WMenuPopup(id, 20, 20);
        KillTimer(nullptr, timer);
        EXPECT_EQ(id, POPUP_MENU);
        if (seen)
            break;
    }
    EXPECT_TRUE(seen) << "the pop-up menu was never tracked until the timer";
    EXPECT_EQ(tracked_text, "Run &now") << "a pop-up item takes the text of the menu bar's item";
}

}  // namespace

// A child window opened with a menu and a top and a left toolbar has them from the start; its client
// keeps the asked size, and a centred window stays centred on the screen.
TEST_F(MenuTest, ChildWindowOpensWithItsMenuAndToolbars)
{
    WinToolbarIds bars;
    bars.id[0] = TEST_TOOLBAR;
    bars.id[1] = TEST_TOOLBAR;
    int h = -1;
    WWinOpenChild(h, 7, WIN_UNSET, WIN_UNSET, 400, 300, 0, "with bars", 0, TEST_MENU, bars);
    ASSERT_GE(h, 1);
    const WinSlot& s = WIN_TABLE.slot[h];
    ASSERT_NE(s.menu, nullptr);
    EXPECT_EQ(GetMenu(s.frame), s.menu);
    EXPECT_NE(GetMenuState(s.menu, OPEN, MF_BYCOMMAND), static_cast<UINT>(-1)) << "items numbered";
    ASSERT_NE(s.toolbars[0], nullptr);
    ASSERT_NE(s.toolbars[1], nullptr);
    EXPECT_EQ(s.toolbars[2], nullptr);
    EXPECT_GE(SendMessageA(s.toolbars[0], TB_COMMANDTOINDEX, RUN, 0), 0);
    RECT c;
    GetClientRect(s.client, &c);
    EXPECT_EQ(c.right, 400);
    EXPECT_EQ(c.bottom, 300);
    RECT f;
    GetWindowRect(s.frame, &f);
    int screen_w = WInfoScreen(1), screen_h = WInfoScreen(2);
    EXPECT_NEAR(f.left + f.right, screen_w, 3) << "centred across";
    EXPECT_NEAR(f.top + f.bottom, screen_h, 3) << "centred down";
    WWinCloseChild(h);
}

// A window inside a parent takes no menu, but its toolbars.
TEST_F(MenuTest, InsideWindowOpensWithToolbarsButNoMenu)
{
    WinToolbarIds bars;
    bars.id[3] = TEST_TOOLBAR;
    int h = -1;
    WWinOpenChild(h, 7 | 16, 500, 500, 5000, 5000, 0, "inside with bars", 0, TEST_MENU, bars);
    ASSERT_GE(h, 1);
    EXPECT_EQ(WIN_TABLE.slot[h].menu, nullptr);
    EXPECT_EQ(GetMenu(WIN_TABLE.slot[h].frame), nullptr);
    EXPECT_NE(WIN_TABLE.slot[h].toolbars[3], nullptr);
    WWinCloseChild(h);
}

// A command sent by a toolbar of the window is raised and the toolbar repainted at once.
namespace {
int toolbar_paints = 0;
WNDPROC toolbar_old_proc = nullptr;
LRESULT CALLBACK counting_toolbar_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT)
        ++toolbar_paints;
    return CallWindowProcA(toolbar_old_proc, hwnd, msg, wp, lp);
}
}  // namespace

TEST_F(MenuTest, ToolbarCommandRepaintsTheToolbarAtOnce)
{
    int id = TEST_TOOLBAR, dw = 0, dh = 0;
    WToolbarSet(id, 0, 0, dw, dh);
    HWND bar = WIN_TABLE.slot[0].toolbars[0];
    ASSERT_NE(bar, nullptr);
    UpdateWindow(bar);
    toolbar_paints = 0;
    toolbar_old_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_toolbar_proc)));
    SendMessageA(WIN_TABLE.slot[0].frame, WM_COMMAND, MAKEWPARAM(RUN, 0), reinterpret_cast<LPARAM>(bar));
    SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(toolbar_old_proc));
    EXPECT_EQ(toolbar_paints, 1);
    EXPECT_EQ(MSG_CURRENT.type, MsgMenu);
    EXPECT_EQ(MSG_CURRENT.value1, RUN);
}
