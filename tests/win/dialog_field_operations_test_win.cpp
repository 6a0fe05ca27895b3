// Field operations that the program's own dialogs do not use, on the test dialogs 9001 and 9004:
// lists of several selections, tab stops, spin steps through the real up-down control, images of
// buttons and statics, the focus given by the application, resizing, tree items inserted by id, page
// titles on their tabs, and what a push button does with a refused numeric field.
#include "tests/win/win_test_support.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/offscreen_bitmap.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int TEST_DIALOG = 9001;
constexpr int SECOND_DIALOG = 9004;
// Fields of 9004.
constexpr int MULTI_LIST = 4001, MULTI_EDIT = 4002, LINE_EDIT = 4003, BITMAP_BUTTON = 4004;
constexpr int ICON_BUTTON = 4005, BITMAP_STATIC = 4006, TEXT_STATIC = 4007, REAL_SPIN = 4008;
constexpr int RIGHT_EDIT = 4009, RIGHT_SPIN = 4010, ICON = 4011;

class FieldOperations : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_test_main_window(); }
    void SetUp() override
    {
        IErrorInfo(1);
        WDialogLoad(TEST_DIALOG);
        WDialogLoad(SECOND_DIALOG);
        ASSERT_EQ(IErrorInfo(1), 0);
    }
    void TearDown() override
    {
        for (int id : {SECOND_DIALOG, TEST_DIALOG}) {
            WDialogSelect(id);
            WDialogUnload();
        }
        drain_messages();
        IErrorInfo(1);
    }
    static HWND field(int id) { return GetDlgItem(current_dialog_window(), id); }
    static std::string text(int id)
    {
        std::string t;
        WDialogGetString(id, t);
        return t;
    }
    static std::pair<DWORD, DWORD> selection(int id)
    {
        DWORD start = 0, end = 0;
        SendMessageA(field(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // A key pressed in a field, as the keyboard sends it.
    static void key(int id, WPARAM k) { SendMessageA(field(id), WM_KEYDOWN, k, 1); }
};

// Items of a list box of several selections: count, state, one item and a range selected or not; a
// list of one selection or another kind of field gives 1006.
TEST_F(FieldOperations, ListsOfSeveralSelections)
{
    for (const char* item : {"a", "b", "c", "d", "e"})
        WDialogListAdd(MULTI_LIST, item);
    int count = 0;
    WDialogListCount(MULTI_LIST, count);
    EXPECT_EQ(count, 5);
    WDialogListRangeSelect(MULTI_LIST, 1, 3, 1);
    WDialogListItemSelect(MULTI_LIST, 2, 0);
    WDialogListItemSelect(MULTI_LIST, 4, 1);
    WDialogListItemSelect(MULTI_LIST, 4, 1);  // already selected: stays
    const int want[] = {0, 1, 0, 1, 1};
    for (int i = 0; i < 5; ++i) {
        int state = -1;
        WDialogListItemState(MULTI_LIST, i, state);
        EXPECT_EQ(state, want[i]) << i;
    }
    WDialogListRangeSelect(MULTI_LIST, 0, 4, 0);
    EXPECT_EQ(SendMessageA(field(MULTI_LIST), LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(IErrorInfo(1), 0);

    WDialogSelect(TEST_DIALOG);
    int state = -1;
    WDialogListSelect(1012, 1);
    WDialogListItemState(1012, 1, state);
    EXPECT_EQ(state, 1) << "a list of one selection has its selected item";
    WDialogListItemSelect(1012, 0, 1);
    EXPECT_EQ(IErrorInfo(1), 1006) << "one selection only";
    WDialogListCount(1002, count);
    EXPECT_EQ(IErrorInfo(1), 1006) << "an edit field";
}

// Tab stops go to list boxes and multi-line edit fields and are kept in the field record; the line of
// a list box with a tab is drawn wider with a far stop. A single-line edit field gives 1006.
TEST_F(FieldOperations, TabStopsOfListsAndMultiLineEdits)
{
    WDialogShow(-1, -1, 0, 2);
    WDialogListAdd(MULTI_LIST, "a\tb");
    WDialogTabStops(MULTI_LIST, {60});
    WDialogTabStops(MULTI_EDIT, {8, 16});
    EXPECT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(field_record(field(MULTI_LIST))->tab_stops, std::vector<int>{60});
    EXPECT_EQ(field_record(field(MULTI_EDIT))->tab_stops, (std::vector<int>{8, 16}));
    WDialogTabStops(LINE_EDIT, {8});
    EXPECT_EQ(IErrorInfo(1), 1006);
    EXPECT_TRUE(field_record(field(LINE_EDIT))->tab_stops.empty());
    WDialogHide();
}

// Spin steps set by the application, stepped by the up arrow key through the field's own up-down
// control: an integer spin without a range cuts the result to a multiple of the step (7 + 5 gives
// 10, 3 + 2 gives 4); a real spin steps by the 4-byte step. A field without spin gives 1006.
TEST_F(FieldOperations, SpinStepsThroughTheUpDownControl)
{
    struct Case {
        int field;
        bool range;  // 0..10
        double small, large;
        const char* start;
        WPARAM key;
        const char* after;
    };
    const Case cases[] = {
        {RIGHT_SPIN, false, 5, 5, "7", VK_UP, "10"},    // 12 cut to a multiple of 5
        {RIGHT_SPIN, true, 5, 5, "7", VK_UP, "10"},     // 12 clamped to the range
        {RIGHT_SPIN, true, 2, 10, "9", VK_UP, "10"},    // 11 clamped, not cut to 10 by the step
        {RIGHT_SPIN, false, 2, 10, "3", VK_UP, "4"},    // 5 cut to 4
        {RIGHT_SPIN, false, 2, 10, "3", VK_DOWN, "0"},  // 1 cut toward zero
        {REAL_SPIN, false, 0.25, 1, "1.5", VK_UP, "1.7500"},
    };
    for (const Case& c : cases) {
        if (c.range)
            WDialogRangeInteger(c.field, 0, 10);
        else
            WDialogRangeDouble(c.field, 1000.0, -1000.0);  // no range
        WDialogSpinSteps(c.field, c.small, c.large);
        SetWindowTextA(field(c.field), c.start);
        SendMessageA(field(c.field), EM_SETMODIFY, TRUE, 0);
        key(c.field, c.key);
        EXPECT_EQ(text(c.field), c.after) << c.start << " " << c.small << (c.range ? " in 0..10" : "");
    }
    WDialogSpinSteps(REAL_SPIN, 0.1, 0);
    EXPECT_EQ(field_record(field(REAL_SPIN))->small_step, static_cast<double>(0.1f));
    EXPECT_EQ(IErrorInfo(1), 0);
    WDialogSpinSteps(LINE_EDIT, 1, 5);
    EXPECT_EQ(IErrorInfo(1), 1006);
}

// A left button press on a spin's arrows gives the focus to its field.
TEST_F(FieldOperations, SpinArrowsGiveTheFocusToTheirField)
{
    WDialogShow(-1, -1, LINE_EDIT, 2);
    ASSERT_EQ(GetFocus(), field(LINE_EDIT));
    HWND arrows = field_record(field(RIGHT_SPIN))->spin;
    ASSERT_NE(arrows, nullptr);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(GetFocus(), field(RIGHT_SPIN));
    WDialogHide();
}

// Images: from the template (a button or static of the image style shows the resource of its field
// id; a button without one shows its text) and from the application (a bitmap or icon resource, a copy
// of an off-screen bitmap that outlives it; -2 for no such image, -1 and 1006 for an edit field).
TEST_F(FieldOperations, ImagesOfButtonsAndStatics)
{
    EXPECT_NE(SendMessageA(field(BITMAP_BUTTON), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_NE(SendMessageA(field(BITMAP_STATIC), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(GetWindowLongA(field(ICON_BUTTON), GWL_STYLE) & (BS_ICON | BS_BITMAP), 0)
        << "falls back to text";

    int status = 1;
    WDialogFieldImage(TEXT_STATIC, ICON, FIELD_IMAGE_ICON, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(GetWindowLongA(field(TEXT_STATIC), GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(SendMessageA(field(TEXT_STATIC), STM_GETIMAGE, IMAGE_ICON, 0), 0);

    WDialogFieldImage(ICON_BUTTON, ICON, FIELD_IMAGE_ICON, status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(SendMessageA(field(ICON_BUTTON), BM_GETIMAGE, IMAGE_ICON, 0), 0);

    int bitmap = 0;
    WBitmapCreate(bitmap, 12, 7);
    ASSERT_GT(bitmap, 0);
    WDialogFieldImage(BITMAP_BUTTON, bitmap, FIELD_IMAGE_OFFSCREEN, status);
    EXPECT_EQ(status, 0);
    WBitmapDestroy(bitmap);
    auto shown = reinterpret_cast<HBITMAP>(SendMessageA(field(BITMAP_BUTTON), BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info = {};
    ASSERT_EQ(GetObjectA(shown, sizeof info, &info), static_cast<int>(sizeof info)) << "the copy outlives it";
    EXPECT_EQ(info.bmWidth, 12);
    EXPECT_EQ(info.bmHeight, 7);
    EXPECT_EQ(IErrorInfo(1), 0);

    struct Refusal {
        int field, image, kind, status, error;
    };
    for (const Refusal& r :
         {Refusal{TEXT_STATIC, 9999, FIELD_IMAGE_BITMAP, -2, 0},
          Refusal{TEXT_STATIC, 9999, FIELD_IMAGE_ICON, -2, 0},
          Refusal{TEXT_STATIC, 15, FIELD_IMAGE_OFFSCREEN, -2, 0}, Refusal{TEXT_STATIC, ICON, 1, -2, 0},
          Refusal{LINE_EDIT, ICON, FIELD_IMAGE_ICON, -1, 1006}}) {
        WDialogFieldImage(r.field, r.image, r.kind, status);
        EXPECT_EQ(status, r.status) << r.field << " " << r.image << " " << r.kind;
        EXPECT_EQ(IErrorInfo(1), r.error) << r.field << " " << r.image << " " << r.kind;
    }
}

// The application gives a field the focus: the caret at a position or the whole text selected, and
// the field becomes the dialog's current one.
TEST_F(FieldOperations, FocusGivenByTheApplication)
{
    WDialogShow(-1, -1, 0, 2);
    WDialogPutString(LINE_EDIT, "abcdef");
    struct Case {
        int caret;
        DWORD start, end;
    };
    for (const Case& c : {Case{2, 2, 2}, Case{-1, 0, 6}, Case{0, 0, 0}}) {
        WDialogFieldFocus(MULTI_LIST, -1);
        EXPECT_EQ(GetFocus(), field(MULTI_LIST));
        WDialogFieldFocus(LINE_EDIT, c.caret);
        EXPECT_EQ(GetFocus(), field(LINE_EDIT)) << c.caret;
        EXPECT_EQ(selection(LINE_EDIT), std::make_pair(c.start, c.end)) << c.caret;
        EXPECT_EQ(dialog_record(current_dialog_window())->current_field, LINE_EDIT);
    }
    WDialogHide();
}

// A smaller dialog hides the fields it leaves out (a spin with its arrows); the focus moves on from a
// hidden field; the full size shows them again, except a field hidden by its state. A dialog
// combined with a window is not resized (-1).
TEST_F(FieldOperations, ResizeHidesTheFieldsLeftOut)
{
    WDialogShow(-1, -1, RIGHT_EDIT, 2);
    ASSERT_EQ(GetFocus(), field(RIGHT_EDIT));
    HWND arrows = field_record(field(RIGHT_SPIN))->spin;
    int error = 1;
    WDialogResize(180, 0, error);
    EXPECT_EQ(error, 0);
    RECT client, wanted = {0, 0, 180, 140};
    GetClientRect(current_dialog_window(), &client);
    MapDialogRect(current_dialog_window(), &wanted);
    EXPECT_EQ(client.right, wanted.right);
    EXPECT_EQ(client.bottom, wanted.bottom) << "a height of 0 keeps it";
    EXPECT_FALSE(IsWindowVisible(field(RIGHT_EDIT)));
    EXPECT_FALSE(IsWindowVisible(field(RIGHT_SPIN)));
    EXPECT_FALSE(IsWindowVisible(arrows));
    EXPECT_TRUE(IsWindowVisible(field(MULTI_LIST)));
    EXPECT_NE(GetFocus(), field(RIGHT_EDIT));
    EXPECT_TRUE(IsChild(current_dialog_window(), GetFocus()));

    WDialogFieldState(RIGHT_EDIT, 3);
    WDialogResize(260, 140, error);
    EXPECT_FALSE(IsWindowVisible(field(RIGHT_EDIT))) << "its state keeps it hidden";
    EXPECT_TRUE(IsWindowVisible(field(RIGHT_SPIN)));
    EXPECT_TRUE(IsWindowVisible(arrows));

    DialogRecord* r = dialog_record(current_dialog_window());
    r->combined = WIN_TABLE.slot[0].frame;
    WDialogResize(100, 100, error);
    r->combined = nullptr;
    EXPECT_EQ(error, -1);
    GetClientRect(current_dialog_window(), &client);
    wanted = {0, 0, 260, 140};
    MapDialogRect(current_dialog_window(), &wanted);
    EXPECT_EQ(client.right, wanted.right);
    WDialogHide();
}

// Tree items inserted by id: at the top level, as the last child of an item, right after an item; an
// unknown item to insert at gives -2, another kind of field 1006.
TEST_F(FieldOperations, TreeItemsInsertedById)
{
    WDialogSelect(TEST_DIALOG);
    struct Insert {
        int id;
        const char* text;
        int relative, where, status;
    };
    const Insert inserts[] = {
        {10, "Gas", 0, 0, 0},    {20, "Surface", 0, 0, 0}, {11, "Nitrogen", 10, 0, 0},
        {13, "Argon", 11, 1, 0}, {12, "Oxygen", 11, 1, 0}, {14, "Lost", 99, 0, -2},
    };
    for (const Insert& i : inserts) {
        int status = 1;
        WDialogTreeInsert(1018, i.id, i.text, i.relative, i.where, status);
        EXPECT_EQ(status, i.status) << i.text;
    }
    // The children of Gas in order, and its state with children.
    HWND tree = field(1018);
    std::vector<std::string> children;
    HTREEITEM gas = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (auto item = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(gas)));
         item; item = reinterpret_cast<HTREEITEM>(
                   SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        char label[32] = {};
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = label;
        info.cchTextMax = sizeof label;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        children.push_back(label);
    }
    EXPECT_EQ(children, (std::vector<std::string>{"Nitrogen", "Oxygen", "Argon"}));
    int state = 0;
    WDialogTreeState(1018, 10, state);
    EXPECT_EQ(state, 1);
    WDialogTreeState(1018, 20, state);
    EXPECT_EQ(state, -3);
    int status = 0, selected = 0;
    WDialogTreeSelect(1018, 13, status);
    WDialogTreeSelected(1018, selected);
    EXPECT_EQ(selected, 13);
    EXPECT_EQ(IErrorInfo(1), 0);
    WDialogTreeInsert(1002, 30, "x", 0, 0, status);
    EXPECT_EQ(IErrorInfo(1), 1006);
}

// A tab chosen while the tab control does not have the focus (here by the application) shows its page
// with the page's first tab stop focused and its text selected; chosen by the keys of the focused tab
// control, the page's field is only selected. A multi-line field given the focus by a show has the
// caret at its end, nothing selected.
TEST_F(FieldOperations, ChosenPageGivesItsFirstFieldTheFocus)
{
    WDialogSelect(TEST_DIALOG);
    WDialogShow(-1, -1, 1002, 2);
    HWND tab = field(1016);
    HWND page_field = GetDlgItem(DIALOG_TABLE.loaded[WDialogSlotFromId(9002)], 2001);
    ASSERT_NE(page_field, nullptr);
    auto page_selection = [&] {
        DWORD start = 9, end = 0;
        SendMessageA(page_field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return std::make_pair(start, end);
    };
    const DWORD length = static_cast<DWORD>(GetWindowTextLengthA(page_field));
    int page = 9003;
    WDialogTabSelect(page);
    ASSERT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    SetFocus(field(1002));
    SendMessageA(page_field, EM_SETSEL, 1, 1);
    page = 9002;
    WDialogTabSelect(page);
    EXPECT_EQ(GetFocus(), page_field);
    EXPECT_EQ(page_selection(), std::make_pair(DWORD(0), length));

    SetFocus(tab);
    SendMessageA(tab, WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(page_field, EM_SETSEL, 1, 1);
    SendMessageA(tab, WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(GetFocus(), tab);
    EXPECT_EQ(page_selection(), std::make_pair(DWORD(0), length));
    WDialogHide();

    WDialogSelect(SECOND_DIALOG);
    WDialogPutString(MULTI_EDIT, "one\r\ntwo");
    WDialogShow(-1, -1, MULTI_EDIT, 2);
    EXPECT_EQ(selection(MULTI_EDIT), std::make_pair(DWORD(8), DWORD(8)));
    WDialogHide();
}

// A tree view's selection change and expansion are field changes; a double click on an item without
// children presses the default push button, on an item with children it does not.
TEST_F(FieldOperations, TreeNoticesAreFieldChanges)
{
    WDialogSelect(TEST_DIALOG);
    int status = 0;
    WDialogTreeInsert(1018, 10, "Gas", 0, 0, status);
    WDialogTreeInsert(1018, 11, "Nitrogen", 10, 0, status);
    WDialogShow(-1, -1, 1002, 2);
    WMessageEnable(MsgFieldChanged, 1);
    WMessageEnable(MsgButton, 1);
    drain_messages();
    // The keys are posted, so that the poll dispatches them as it would the user's: Right expands the
    // selected Gas, Down selects its child.
    HWND tree = field(1018);
    WDialogTreeSelect(1018, 10, status);
    for (WPARAM key : {VK_RIGHT, VK_DOWN}) {
        drain_messages();
        PostMessageA(tree, WM_KEYDOWN, key, 1);
        WinMessage m;
        ASSERT_TRUE(poll_for(MsgFieldChanged, m)) << key;
        EXPECT_EQ(m.window, TEST_DIALOG) << key;
        EXPECT_EQ(m.value2, 1018) << key;
    }
    int state = 0, selected = 0;
    WDialogTreeState(1018, 10, state);
    WDialogTreeSelected(1018, selected);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(selected, 11);
    // Double clicks where the items are, posted with the cursor on them so that the tree finds the item
    // under the message's position.
    for (int id : {10, 11}) {
        WDialogTreeSelect(1018, id, status);
        auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        RECT r = {};
        std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle's first bytes
        ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
        POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        drain_messages();
        const LPARAM client = MAKELPARAM(at.x, at.y);
        ClientToScreen(tree, &at);
        SetCursorPos(at.x, at.y);
        PostMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, client);
        PostMessageA(tree, WM_LBUTTONUP, 0, client);
        WinMessage m;
        const bool pressed = poll_for(MsgButton, m);
        EXPECT_EQ(pressed, id == 11) << id;
        if (pressed) {
            EXPECT_EQ(m.value1, 1);
        }
    }
    WMessageEnable(MsgFieldChanged, 0);
    WMessageEnable(MsgButton, 0);
    WDialogHide();
}

// The system menu of a dialog has restore, maximise and size greyed.
TEST_F(FieldOperations, SystemMenuOfADialog)
{
    HMENU menu = GetSystemMenu(current_dialog_window(), FALSE);
    ASSERT_NE(menu, nullptr);
    for (UINT item : {SC_RESTORE, SC_MAXIMIZE, SC_SIZE})
        EXPECT_TRUE(GetMenuState(menu, item, MF_BYCOMMAND) & MF_GRAYED) << item;
    EXPECT_FALSE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

// A child-style dialog in the main window: the focus given to it goes to the field that had it last;
// a click into it brings it to the top of the main window's children, makes it the active dialog and
// gives it the focus; its system menu pops up from the caption (close its default, as restore is
// greyed), and the item chosen there is carried out: close makes the dialog's Cancel button report.
TEST_F(FieldOperations, ChildStyleDialogInTheMainWindow)
{
    constexpr int CHILD_DIALOG = 9005;
    WDialogLoad(CHILD_DIALOG);
    WDialogShow(-1, -1, 5001, 2);
    HWND dlg = current_dialog_window();
    ASSERT_TRUE(dialog_in_main_window(dlg));
    SetFocus(field(5002));
    SetFocus(WIN_TABLE.slot[0].client);
    SetFocus(dlg);
    EXPECT_EQ(GetFocus(), field(5002));

    WDialogSelect(SECOND_DIALOG);
    WDialogShow(-1, -1, 0, 2);
    SetFocus(field(LINE_EDIT));
    WDialogSelect(CHILD_DIALOG);
    DIALOG_TABLE.active = nullptr;
    SendMessageA(dlg, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(WIN_TABLE.slot[0].frame),
                 MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(DIALOG_TABLE.active, dlg);
    EXPECT_EQ(GetFocus(), field(5002));
    EXPECT_EQ(GetWindow(GetParent(dlg), GW_CHILD), dlg) << "on top of its siblings";

    WMessageEnable(MsgButton, 1);
    drain_messages();
    RECT r;
    GetWindowRect(dlg, &r);
    // Posted, so that the poll dispatches them: the click pops the menu up, whose loop takes the
    // mnemonic of its close item.
    PostMessageA(dlg, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(r.left + 20, r.top + 5));
    PostMessageA(dlg, WM_CHAR, 'c', 1);
    WinMessage m;
    EXPECT_TRUE(poll_for(MsgButton, m));
    EXPECT_EQ(GetMenuDefaultItem(GetSystemMenu(dlg, FALSE), FALSE, 0), static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(m.window, CHILD_DIALOG);
    EXPECT_EQ(m.value1, 2);
    WMessageEnable(MsgButton, 0);
    WDialogHide();
    WDialogUnload();
    WDialogSelect(SECOND_DIALOG);
    WDialogHide();
}

// The colours a field's paint gets from the dialog: both set, both given; only a foreground, the
// system's window or button-face background with its brush; neither, the system's own handling.
TEST_F(FieldOperations, PaintColoursOfAField)
{
    WindowDc screen(nullptr);
    MemoryDc memory(screen.get());
    HDC dc = memory.get();
    struct Case {
        int field;
        UINT request;
        int fg[3], bg[3];
        COLORREF text, back;
    };
    const COLORREF window = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_BTNFACE);
    const Case cases[] = {
        {LINE_EDIT, WM_CTLCOLOREDIT, {255, 0, 0}, {0, 0, 255}, RGB(255, 0, 0), RGB(0, 0, 255)},
        {LINE_EDIT, WM_CTLCOLOREDIT, {0, 128, 0}, {256, 0, 0}, RGB(0, 128, 0), window},
        {TEXT_STATIC, WM_CTLCOLORSTATIC, {0, 128, 0}, {256, 0, 0}, RGB(0, 128, 0), face},
        {MULTI_LIST, WM_CTLCOLORLISTBOX, {256, 0, 0}, {256, 0, 0}, GetSysColor(COLOR_WINDOWTEXT), window},
    };
    for (const Case& c : cases) {
        WDialogFieldColours(c.field, c.fg[0], c.fg[1], c.fg[2], c.bg[0], c.bg[1], c.bg[2]);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const LRESULT brush = SendMessageA(current_dialog_window(), c.request, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(field(c.field)));
        EXPECT_NE(brush, 0) << c.field;
        EXPECT_EQ(GetTextColor(dc), c.text) << c.field;
        EXPECT_EQ(GetBkColor(dc), c.back) << c.field;
    }
}

// Every loaded dialog has the task-bar style and the main window's small icon; a tree view shows
// buttons and lines, keeps its selection shown and cannot be dragged from, whatever its template says.
TEST_F(FieldOperations, LoadGivesDialogsAndTreesTheirLooks)
{
    for (int id : {TEST_DIALOG, SECOND_DIALOG}) {
        WDialogSelect(id);
        EXPECT_TRUE(GetWindowLongA(current_dialog_window(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << id;
        HWND main = WIN_TABLE.slot[0].frame;
        LONG_PTR icon = GetClassLongPtrA(main, GCLP_HICONSM);
        icon = icon ? icon : GetClassLongPtrA(main, GCLP_HICON);
        EXPECT_EQ(SendMessageA(current_dialog_window(), WM_GETICON, ICON_SMALL, 0), icon) << id;
    }
    WDialogSelect(TEST_DIALOG);
    const LONG want =
        TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
    EXPECT_EQ(GetWindowLongA(field(1018), GWL_STYLE) & want, want);
}

// The title of a page dialog is the label of its tab in the dialog that holds it.
TEST_F(FieldOperations, PageTitleIsItsTabLabel)
{
    WDialogSelect(9002);
    WDialogSetTitle("Gases");
    WDialogSelect(TEST_DIALOG);
    char label[32] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    SendMessageA(field(1016), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(label, "Gases");
}

// A push button and a numeric field whose text the range refuses (1..2147483647 refuses "0"):
// - the focus goes to button 3 (not 1): the field waits, and the press of button 3 puts back the text
//   the field had when the focus arrived and is reported as message 3;
// - the focus goes to button 3 and then on, or the mouse is released outside the button, without a
//   press: the field gets the focus back, selected;
// - button 1 (the default) pressed while the field has the focus: one beep, the field keeps the focus
//   with its text selected, and no message 3.
// A button that gets the focus tells the dialog (a field change into the button).
TEST_F(FieldOperations, PushButtonDecidesForARefusedField)
{
    WDialogSelect(TEST_DIALOG);
    WMessageEnable(MsgButton, 1);
    WDialogShow(-1, -1, 1003, 2);
    HWND dlg = current_dialog_window();
    // The press is posted, so that the poll dispatches it as it would a click.
    auto press = [&](int id) {
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(field(id)));
    };
    auto refuse = [&] {
        SetFocus(field(1002));
        WDialogPutInteger(1003, 5);
        SetFocus(field(1003));  // the text "5" is saved as the focus arrives
        SetWindowTextA(field(1003), "0");
        SendMessageA(field(1003), EM_SETMODIFY, TRUE, 0);
    };

    refuse();
    drain_messages();
    SetFocus(field(3));
    EXPECT_EQ(GetFocus(), field(3)) << "the button decides";
    EXPECT_EQ(dialog_record(dlg)->current_field, 3) << "the button told the dialog of the focus";
    press(3);
    WinMessage m;
    EXPECT_TRUE(poll_for(MsgButton, m));
    EXPECT_EQ(m.value1, 3);
    EXPECT_EQ(text(1003), "5");

    refuse();
    SetFocus(field(3));
    const int beeps = os_beep_count();
    SetFocus(field(1002));
    EXPECT_EQ(GetFocus(), field(1003));
    EXPECT_EQ(selection(1003), std::make_pair(DWORD(0), DWORD(1)));
    EXPECT_EQ(os_beep_count(), beeps + 1);

    // The mouse pressed on the button and released outside it: no click, the field gets the focus back.
    refuse();
    SetFocus(field(3));
    SendMessageA(field(3), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(field(3), WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
    EXPECT_EQ(GetFocus(), field(1003));
    EXPECT_EQ(text(1003), "0");
    EXPECT_FALSE(poll_for(MsgButton, m));

    refuse();
    drain_messages();
    const int before = os_beep_count();
    press(1);
    EXPECT_FALSE(poll_for(MsgButton, m));
    EXPECT_EQ(GetFocus(), field(1003));
    EXPECT_EQ(text(1003), "0");
    EXPECT_EQ(selection(1003), std::make_pair(DWORD(0), DWORD(1)));
    EXPECT_EQ(os_beep_count(), before + 1);

    SetWindowTextA(field(1003), "5");
    WMessageEnable(MsgButton, 0);
    WDialogHide();
}

// A click on another tab while a numeric field holds a text that its range refuses: the tab control
// stays on its tab, and the field keeps the focus with its text selected. With a valid text the click
// changes the tab.
TEST_F(FieldOperations, RefusedFieldHoldsTheTabControl)
{
    WDialogSelect(TEST_DIALOG);
    WDialogShow(-1, -1, 1003, 2);
    HWND tab = field(1016);
    RECT second = {};
    SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const LPARAM at = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    struct Case {
        const char* text;
        int tab_after;
    };
    for (const Case& c : {Case{"0", 0}, Case{"5", 1}}) {
        SendMessageA(tab, TCM_SETCURSEL, 0, 0);
        SetFocus(field(1003));
        SetWindowTextA(field(1003), c.text);
        SendMessageA(field(1003), EM_SETMODIFY, TRUE, 0);
        const int before = os_beep_count();
        SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tab, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), c.tab_after) << c.text;
        if (c.tab_after == 0) {
            EXPECT_EQ(GetFocus(), field(1003));
            EXPECT_EQ(selection(1003), std::make_pair(DWORD(0), DWORD(1)));
            EXPECT_GT(os_beep_count(), before);
        }
    }
    SetWindowTextA(field(1003), "5");
    WDialogHide();
}

}  // namespace
