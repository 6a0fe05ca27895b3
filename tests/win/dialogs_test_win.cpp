// Dialogs from a template with a companion text: loading, field operations, ranges, numeric fields,
// modeless messages and a modal show driven by the UI driver.
#include "tests/win/win_test_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int TEST_DIALOG = 9001;

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (WIN_CURRENT.main_open != -1) {
            WinOpenRecord r;
            r.flags = 0x43;
            r.width = 800;
            r.height = 600;
            r.title = "QR4T dialog test";
            WWinOpen(r);
        }
    }
    void SetUp() override
    {
        IErrorInfo(1);
        WDialogLoad(TEST_DIALOG);
        ASSERT_EQ(IErrorInfo(1), 0);
    }
    void TearDown() override
    {
        WDialogSelect(TEST_DIALOG);
        WDialogUnload();
        drain();
    }
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
    static HWND dialog() { return current_dialog_window(); }
    static HWND field(int id) { return GetDlgItem(dialog(), id); }
};

TEST_F(DialogTest, CompanionTextIsApplied)
{
    EXPECT_EQ(IsDlgButtonChecked(dialog(), 1007), BST_CHECKED);
    int option = 0;
    std::string text;
    WDialogGetMenu(1011, option, text);
    EXPECT_EQ(option, 2);
    EXPECT_EQ(text, " Oxygen");
    WDialogGetMenu(1012, option, text);
    EXPECT_EQ(option, FIELD_EMPTY) << "a selection of 0 selects nothing";
    EXPECT_EQ(IErrorInfo(1), 1010);
    EXPECT_EQ(SendMessageA(field(1002), EM_GETLIMITTEXT, 0, 0), 20);
    FieldRecord* r = field_record(field(1003));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->minimum, 1.0);
    EXPECT_EQ(r->maximum, 2147483647.0);
}

TEST_F(DialogTest, LoadingTwiceKeepsOneSlot)
{
    int count = DIALOG_TABLE.count;
    HWND w = dialog();
    WDialogLoad(TEST_DIALOG);
    EXPECT_EQ(DIALOG_TABLE.count, count);
    EXPECT_EQ(dialog(), w);
    WDialogLoad(12345);
    EXPECT_EQ(IErrorInfo(1), 1007) << "no template with that id";
    WDialogSelect(777);
    EXPECT_EQ(IErrorInfo(1), 1008);
    EXPECT_EQ(dialog(), w);
}

TEST_F(DialogTest, NumbersGoInAndOutWithRangesAndFormats)
{
    WDialogPutInteger(1003, 2147483647);
    std::string text;
    WDialogGetString(1003, text);
    EXPECT_EQ(text, "2147483647");
    int v = 0;
    WDialogGetInteger(1003, v);
    EXPECT_EQ(v, 2147483647);

    WDialogPutReal(1004, 2.75f, "(F6.2)");
    WDialogGetString(1004, text);
    EXPECT_EQ(text, "2.75");
    WDialogPutReal(1004, 1.5f, "(F6.2)");
    EXPECT_EQ(IErrorInfo(1), 1009) << "1.5 is outside 2..3";
    WDialogGetString(1004, text);
    EXPECT_EQ(text, "2.75") << "a refused value leaves the old text";

    WDialogPutString(1002, "");
    WDialogGetInteger(1002, v);
    EXPECT_EQ(v, FIELD_EMPTY);
    EXPECT_EQ(IErrorInfo(1), 1010);
    float real = 0.0f;
    WDialogPutString(1002, "1.2.3");
    WDialogGetReal(1002, real);
    EXPECT_EQ(real, 0.0f);
    EXPECT_EQ(IErrorInfo(1), 11);
    WDialogGetInteger(4242, v);
    EXPECT_EQ(IErrorInfo(1), 1006);
}

TEST_F(DialogTest, RadioGroupsAndCheckBoxes)
{
    WDialogPutRadioButton(1009);
    int pos = 0;
    WDialogGetRadioButton(1010, pos);
    EXPECT_EQ(pos, 2);
    WDialogPutRadioButton(1008);
    WDialogGetRadioButton(1009, pos);
    EXPECT_EQ(pos, 1);
    WDialogPutCheckBox(1007, 0);
    int state = 1;
    WDialogGetCheckBox(1007, state);
    EXPECT_EQ(state, 0);
    WDialogPutRadioButton(1007);
    EXPECT_EQ(IErrorInfo(1), 1006) << "a check box is not a radio button";
}

TEST_F(DialogTest, ProgressBarRangeAndPosition)
{
    WDialogRangeProgressBar(1013, 0, 65535);
    EXPECT_EQ(IErrorInfo(1), 0);
    WDialogRangeProgressBar(1013, 5, 5);
    EXPECT_EQ(IErrorInfo(1), 1013);
    WDialogRangeProgressBar(1013, 0, 100);
    WDialogPutProgressBar(1013, 40);
    WDialogPutProgressBar(1013, 5, 1);
    EXPECT_EQ(dialog_progress_position(1013), 45);
    // Steps too small to change the drawn length still move the position.
    WDialogRangeProgressBar(1013, 0, 65535);
    WDialogPutProgressBar(1013, 46);
    WDialogPutProgressBar(1013, 1, 1);
    EXPECT_EQ(dialog_progress_position(1013), 47);
    WDialogPutProgressBar(1013, 70000);
    EXPECT_EQ(dialog_progress_position(1013), 65535);
}

TEST_F(DialogTest, IntegerSpinClampsToItsRange)
{
    FieldRecord* r = field_record(field(1006));
    ASSERT_NE(r, nullptr);
    ASSERT_NE(r->spin, nullptr);
    r->small_step = 5.0;
    // From 7 one step of 5 would be 12: the range 0..10 clamps it to 10.
    SendMessageA(field(1006), SPIN_STEP_MESSAGE, 1, 0);
    std::string text;
    WDialogGetString(1006, text);
    EXPECT_EQ(text, "10");
    // Without a range the value is cut to a multiple of the step: 10 + 5 = 15, then 15 - 1 = 14 -> 10.
    r->minimum = 1000.0;
    r->maximum = -1000.0;
    r->small_step = 1.0;
    r->large_step = 5.0;
    SendMessageA(field(1006), SPIN_STEP_MESSAGE, static_cast<WPARAM>(-1), 0);
    WDialogGetString(1006, text);
    EXPECT_EQ(text, "9");
}

TEST_F(DialogTest, ModelessButtonArrivesAsTypeThree)
{
    WDialogShow(-1, -1, 0, 2);
    HWND apply = field(3);
    PostMessageA(dialog(), WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    int type = 0;
    WinMessage m;
    for (int i = 0; i < 50 && type != MsgButton; ++i)
        WMsgPeek(type, m);
    EXPECT_EQ(type, MsgButton);
    EXPECT_EQ(m.window, TEST_DIALOG);
    EXPECT_EQ(m.value1, 3);
    WDialogHide();
}

TEST_F(DialogTest, FocusMovingToAnotherFieldGivesOneFieldChange)
{
    WMessageEnable(MsgFieldChanged, 1);
    WDialogShow(-1, -1, 1002, 2);
    drain();
    // The Tab key, handled inside the poll as a person's key press would be.
    PostMessageA(field(1002), WM_KEYDOWN, VK_TAB, 0x000F0001);
    int type = 0, changes = 0;
    WinMessage m;
    for (int i = 0; i < 50; ++i) {
        WMsgPeek(type, m);
        if (type == MsgFieldChanged) {
            ++changes;
            EXPECT_EQ(m.value2, 1003);
        }
    }
    EXPECT_EQ(changes, 1);
    WMessageEnable(MsgFieldChanged, 0);
    WDialogHide();
}

// The field changes that the next polls deliver, as (previous field, current field).
std::vector<std::pair<int, int>> field_changes()
{
    std::vector<std::pair<int, int>> changes;
    int type = 0;
    WinMessage m;
    for (int i = 0; i < 50; ++i) {
        WMsgPeek(type, m);
        if (type == MsgFieldChanged)
            changes.emplace_back(m.value1, m.value2);
    }
    return changes;
}

// Fault mended: notification code 4 was taken as the focus's arrival whatever the control's class, but
// for a combo box it is CBN_KILLFOCUS: a combo box that lost the focus raised a change into itself.
// The notifications are posted as the controls send them when the focus moves, so that the poll
// dispatches them.
TEST_F(DialogTest, ComboBoxFocusRoundTripGivesOneChangeEachWay)
{
    constexpr int EDIT = 1002, COMBO = 1011, CHECK = 1007, LIST = 1012;
    const auto notify = [](int id, int code) {
        PostMessageA(dialog(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(field(id)));
    };
    using Changes = std::vector<std::pair<int, int>>;
    WMessageEnable(MsgFieldChanged, 1);
    WDialogShow(-1, -1, EDIT, 2);
    drain();
    // The focus goes from the edit field to the combo box and back.
    notify(COMBO, CBN_SETFOCUS);
    EXPECT_EQ(field_changes(), (Changes{{EDIT, COMBO}}));
    notify(COMBO, CBN_KILLFOCUS);
    notify(EDIT, EN_SETFOCUS);
    EXPECT_EQ(field_changes(), (Changes{{COMBO, EDIT}}));
    // Into the combo box again; a click on the check box makes it the current field while the focus
    // stays in the combo box; then the focus leaves the dialog: the kill focus raises nothing.
    notify(COMBO, CBN_SETFOCUS);
    EXPECT_EQ(field_changes(), (Changes{{EDIT, COMBO}}));
    notify(CHECK, BN_CLICKED);
    EXPECT_EQ(field_changes(), (Changes{{COMBO, CHECK}}));
    notify(COMBO, CBN_KILLFOCUS);
    EXPECT_TRUE(field_changes().empty());
    // A list box's code 4 is its set-focus: the focus's arrival there is one change.
    notify(LIST, LBN_SETFOCUS);
    EXPECT_EQ(field_changes(), (Changes{{CHECK, LIST}}));
    WMessageEnable(MsgFieldChanged, 0);
    WDialogHide();
}

// Runs the UI driver against the modal show of the test dialog: it waits for the dialog, types into
// two fields and presses a button; returns the driver's exit status.
DWORD drive_modal_show(const std::string& text, int number, int button)
{
    HANDLE driver = start_uidriver("wait \"QR4T Test Dialog\" 20 set 1002 " + text + " set 1003 " +
                                   std::to_string(number) + " press " + std::to_string(button));
    if (!driver)
        return 99;
    WDialogShow(-1, -1, 0, 1);
    return finish_uidriver(driver);
}

TEST_F(DialogTest, ModalShowDrivenByTheUiDriverReturnsButtonAndValues)
{
    // Twenty runs in a row: the driver must be reliable, not lucky.
    for (int run = 1; run <= 20; ++run) {
        int button = run % 2 ? 3 : 1;
        ASSERT_EQ(drive_modal_show("run" + std::to_string(run), 1000 + run, button), 0u) << "run " << run;
        int pressed = 0;
        WDialogModalResult(1, pressed);
        EXPECT_EQ(pressed, button) << "run " << run;
        std::string text;
        WDialogGetString(1002, text);
        EXPECT_EQ(text, "run" + std::to_string(run));
        int v = 0;
        WDialogGetInteger(1003, v);
        EXPECT_EQ(v, 1000 + run);
        EXPECT_FALSE(IsWindowVisible(dialog()));
    }
}

// Typed characters: the numeric classes take only the characters of their numbers (others beep and
// are dropped); e and d become E and D; Ctrl+A selects the whole text, in plain edit fields too.
TEST_F(DialogTest, TypedCharactersAreFilteredByTheFieldsKind)
{
    struct Case {
        int field;
        const char* text;
        WPARAM typed;
        const char* after;
        int beeps;  // a refused character sounds the beep
    };
    const Case cases[] = {
        {1003, "12", 'x', "12", 1},    {1003, "12", '5', "125", 0},  {1003, "12", '.', "12", 1},
        {1004, "2.5", 'e', "2.5E", 0}, {1004, "2.5", 'd', "2.5", 1}, {1005, "1.5", 'd', "1.5D", 0},
        {1005, "1.5", 'e', "1.5E", 0}, {1002, "ab", 'x', "abx", 0},  {1006, "7", 'e', "7", 1},
    };
    for (const Case& c : cases) {
        HWND f = field(c.field);
        SetWindowTextA(f, c.text);
        const int end = lstrlenA(c.text);
        SendMessageA(f, EM_SETSEL, end, end);
        const int before = os_beep_count();
        SendMessageA(f, WM_CHAR, c.typed, 1);
        std::string text;
        WDialogGetString(c.field, text);
        EXPECT_EQ(text, c.after) << c.field << " '" << char(c.typed) << "'";
        EXPECT_EQ(os_beep_count() - before, c.beeps) << c.field << " '" << char(c.typed) << "'";
    }
    for (int id : {1002, 1003}) {
        SetWindowTextA(field(id), "1234");
        SendMessageA(field(id), EM_SETSEL, 2, 2);
        SendMessageA(field(id), WM_CHAR, 1, 1);  // Ctrl+A
        DWORD start = 0, end = 0;
        SendMessageA(field(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << id;
        EXPECT_EQ(end, 4u) << id;
        std::string text;
        WDialogGetString(id, text);
        EXPECT_EQ(text, "1234") << id;
    }
}

// Leaving a numeric field whose text the range refuses gives the focus back with the whole text
// selected. Fault mended: a text of blanks only was taken as empty and let through, although it reads
// as 0.0, which the range 1..2147483647 refuses; only a text without characters is empty.
TEST_F(DialogTest, LeavingARefusedFieldReturnsTheFocusWithTheTextSelected)
{
    struct Case {
        const char* text;
        bool refused;
    };
    // The field starts undefined (its template has no text), so that an empty text passes until the
    // first valid number has defined it.
    const Case cases[] = {{"", false},  {"0", true}, {"  ", true},
                          {"5", false}, {"", true},  {"2147483648", true}};
    WDialogShow(-1, -1, 1003, 2);
    for (const Case& c : cases) {
        SetFocus(field(1003));
        SetWindowTextA(field(1003), c.text);
        const int before = os_beep_count();
        SetFocus(field(1002));
        EXPECT_EQ(GetFocus(), c.refused ? field(1003) : field(1002)) << "'" << c.text << "'";
        EXPECT_EQ(os_beep_count() - before, c.refused ? 1 : 0) << "'" << c.text << "'";
        if (c.refused) {
            DWORD start = 1, end = 0;
            SendMessageA(field(1003), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u) << "'" << c.text << "'";
            EXPECT_EQ(end, static_cast<DWORD>(lstrlenA(c.text))) << "'" << c.text << "'";
        }
    }
    SetWindowTextA(field(1003), "5");
    WDialogHide();
}

// The spin arithmetic: a step is clamped to an active range; without a range the integer result is
// cut to a multiple of the step used. An integer spin starts at the leading digits of its text.
TEST_F(DialogTest, IntegerSpinStepsByTheTable)
{
    HWND spin = field_record(field(1006))->spin;
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 7) << "the template's text is 7";
    struct Case {
        bool range;
        double small, large;
        const char* start;
        int delta;
        const char* after;
    };
    const Case cases[] = {
        {true, 5, 5, "7", 1, "10"},    // 12 clamped to the range 0..10
        {false, 5, 5, "7", 1, "10"},   // 12 cut to a multiple of 5
        {false, 1, 5, "3", 5, "5"},    // the large step: 8 cut to 5
        {false, 1, 5, "3", -5, "0"},   // -2 cut toward zero
        {false, 1, 5, "10", -1, "9"},  // a step of 1 keeps every value
        {true, 1, 5, "9", 5, "10"},    // clamped: not cut
        {true, 1, 5, "1", -5, "0"},
    };
    for (const Case& c : cases) {
        FieldRecord* r = field_record(field(1006));
        r->minimum = c.range ? 0.0 : 1000.0;
        r->maximum = c.range ? 10.0 : -1000.0;
        r->small_step = c.small;
        r->large_step = c.large;
        SetWindowTextA(field(1006), c.start);
        SendMessageA(field(1006), EM_SETMODIFY, TRUE, 0);
        SendMessageA(field(1006), SPIN_STEP_MESSAGE, static_cast<WPARAM>(c.delta), 0);
        std::string text;
        WDialogGetString(1006, text);
        EXPECT_EQ(text, c.after) << c.start << " " << c.delta << (c.range ? " in 0..10" : "");
    }
}

// A refused field takes the focus back from a push button: the button loses the default look that the
// dialog manager gave it and the default button gets it back; after Tab the looks stay swapped.
TEST_F(DialogTest, RejectGivesThePushButtonLooksBack)
{
    WDialogShow(-1, -1, 1003, 2);
    const auto type = [](int id) { return GetWindowLongA(field(id), GWL_STYLE) & BS_TYPEMASK; };
    for (int tab : {0, 1}) {
        SendMessageA(field(3), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        SendMessageA(field(1), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        WDialogFieldReject(field(3), field(1003), tab);
        EXPECT_EQ(GetFocus(), field(1003));
        EXPECT_EQ(type(3), tab ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) << "tab " << tab;
        EXPECT_EQ(type(1), tab ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON) << "tab " << tab;
    }
    SendMessageA(field(3), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(field(1), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    WDialogHide();
}

// Trackbars and tree views tell the dialog when they get the focus: they become the current field
// and a field change (type 10) is raised. The focus moves by Tab and Shift+Tab inside the poll, as a
// person's key presses would move it.
TEST_F(DialogTest, TrackbarAndTreeViewFocusGivesAFieldChange)
{
    WMessageEnable(MsgFieldChanged, 1);
    WDialogShow(-1, -1, 1012, 2);
    drain();
    struct Case {
        int from;
        bool shift;
        int to;
    };
    for (const Case& c : {Case{1012, false, 1014}, Case{1, true, 1018}}) {
        SetFocus(field(c.from));
        drain();
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(field(c.from), WM_KEYDOWN, VK_TAB, 0x000F0001);
        const auto changes = field_changes();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(GetFocus(), field(c.to));
        ASSERT_EQ(changes.size(), 1u) << c.to;
        EXPECT_EQ(changes[0].second, c.to);
    }
    WMessageEnable(MsgFieldChanged, 0);
    WDialogHide();
}

// A trackbar with a selection range: Shift sets the anchor and the arrow keys then select from it;
// Shift released keeps a selection that is not empty; Delete clears it; Ctrl+A selects the range.
TEST_F(DialogTest, TrackbarSelectionKeys)
{
    WDialogShow(-1, -1, 1014, 2);
    HWND t = field(1014);
    SetFocus(t);
    SendMessageA(t, TBM_SETPOS, TRUE, 4);
    const auto key = [t](UINT msg, WPARAM k) { SendMessageA(t, msg, k, msg == WM_KEYUP ? 0xC0000001 : 1); };
    const auto selection = [t] {
        return std::make_pair(static_cast<int>(SendMessageA(t, TBM_GETSELSTART, 0, 0)),
                              static_cast<int>(SendMessageA(t, TBM_GETSELEND, 0, 0)));
    };
    key(WM_KEYDOWN, VK_SHIFT);
    key(WM_KEYDOWN, VK_RIGHT);
    key(WM_KEYDOWN, VK_RIGHT);
    key(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(SendMessageA(t, TBM_GETPOS, 0, 0), 6);
    EXPECT_EQ(selection(), std::make_pair(4, 6));
    key(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(selection().first, selection().second) << "Delete clears the selection";
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    key(WM_KEYDOWN, 'A');
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(selection(), std::make_pair(0, 20)) << "Ctrl+A selects the range 0..20";
    // Shift pressed and released without a move leaves an empty selection, which is cleared.
    SendMessageA(t, TBM_CLEARSEL, TRUE, 0);
    key(WM_KEYDOWN, VK_SHIFT);
    key(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(selection().first, selection().second);
    // The thumb dragged with the mouse while Shift is held selects from the anchor too.
    SendMessageA(t, TBM_SETPOS, TRUE, 10);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    key(WM_KEYDOWN, VK_SHIFT);
    SendMessageA(t, TBM_SETPOS, TRUE, 7);
    SendMessageA(dialog(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 7), reinterpret_cast<LPARAM>(t));
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(selection(), std::make_pair(7, 10));
    WDialogHide();
}

// A disabled tab cannot be chosen: a click on it and the arrow keys pass it by; enabled again, the
// Right key reaches it and the dialog hears the change.
TEST_F(DialogTest, DisabledTabsCannotBeChosen)
{
    WMessageEnable(MsgTabChanged, 1);
    WDialogShow(-1, -1, 1016, 2);
    HWND tab = field(1016);
    ASSERT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    WDialogTabEnable(9003, 0);
    RECT r;
    SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    const LPARAM middle = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(tab, WM_LBUTTONUP, 0, middle);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0) << "a click on the disabled tab";
    SendMessageA(tab, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0) << "Right with no enabled tab beyond";
    RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    drain();
    WDialogTabEnable(9003, 1);
    PostMessageA(tab, WM_KEYDOWN, VK_RIGHT, 1);
    int type = 0, changes = 0;
    WinMessage m;
    for (int i = 0; i < 50; ++i) {
        WMsgPeek(type, m);
        if (type == MsgTabChanged) {
            ++changes;
            EXPECT_EQ(m.value1, 9002);
            EXPECT_EQ(m.value2, 9003);
        }
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    SendMessageA(tab, WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    WMessageEnable(MsgTabChanged, 0);
    WDialogHide();
}

// The trackbar operations: range with its tics, steps, position with a selection or none; a field of
// another kind gives error 1006.
TEST_F(DialogTest, TrackbarOperations)
{
    WDialogTrackbarRange(1014, 5, 50, 5);
    int minimum = 0, maximum = 0;
    WDialogTrackbarRangeGet(1014, minimum, maximum);
    EXPECT_EQ(std::make_pair(minimum, maximum), std::make_pair(5, 50));
    WDialogTrackbarSteps(1014, 2, 0);
    EXPECT_EQ(SendMessageA(field(1014), TBM_GETLINESIZE, 0, 0), 2);
    EXPECT_EQ(SendMessageA(field(1014), TBM_GETPAGESIZE, 0, 0), 2) << "page 0 takes the line size";
    struct Case {
        int position, start, end, mode;
        int got_start, got_end;
    };
    const Case cases[] = {{20, 10, 30, 0, 10, 30},
                          {25, 0, 0, 2, FIELD_EMPTY, FIELD_EMPTY},
                          {40, 0, 0, 1, FIELD_EMPTY, FIELD_EMPTY}};
    for (const Case& c : cases) {
        WDialogTrackbarPut(1014, c.position, c.start, c.end, c.mode);
        int position = 0, start = 0, end = 0;
        WDialogTrackbarGet(1014, position, start, end);
        EXPECT_EQ(position, c.position) << "mode " << c.mode;
        EXPECT_EQ(std::make_pair(start, end), std::make_pair(c.got_start, c.got_end)) << "mode " << c.mode;
    }
    IErrorInfo(1);
    WDialogTrackbarRange(1002, 0, 10, 0);
    EXPECT_EQ(IErrorInfo(1), 1006) << "an edit field is no trackbar";
}

// The tab operations: the selected tab's page, a selection by page that passes disabled tabs by, and
// -1 for a page without an enabled tab.
TEST_F(DialogTest, TabOperations)
{
    int page = 0;
    WDialogTabCurrent(1016, page);
    EXPECT_EQ(page, 9002);
    page = 9003;
    WDialogTabSelect(page);
    EXPECT_EQ(page, 9003);
    WDialogTabCurrent(1016, page);
    EXPECT_EQ(page, 9003);
    WDialogTabEnable(9002, 0);
    page = 9002;
    WDialogTabSelect(page);
    EXPECT_EQ(page, -1) << "the tab of 9002 is disabled";
    page = 4242;
    WDialogTabSelect(page);
    EXPECT_EQ(page, -1) << "no tab has page 4242";
    WDialogTabCurrent(1016, page);
    EXPECT_EQ(page, 9003);
}

// The tree-view operations by item id: selection, state and expansion of a branch, deletion; an
// unknown id gives -2, a leaf asked for its state or expanded -3.
TEST_F(DialogTest, TreeViewOperationsByItemId)
{
    HWND tree = field(1018);
    const auto insert = [tree](HTREEITEM parent, int id, const char* text) {
        TVINSERTSTRUCTA ins = {};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<char*>(text);
        ins.item.lParam = id;
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    };
    HTREEITEM gas = insert(TVI_ROOT, 10, "Gas");
    insert(gas, 11, "Nitrogen");
    insert(gas, 12, "Oxygen");
    insert(TVI_ROOT, 20, "Surface");
    int id = 0, status = 0;
    WDialogTreeSelected(1018, id);
    EXPECT_EQ(id, FIELD_EMPTY);
    WDialogTreeSelect(1018, 12, status);
    EXPECT_EQ(status, 0);
    WDialogTreeSelected(1018, id);
    EXPECT_EQ(id, 12) << "an item inside a branch is found";
    struct Case {
        int id, expand, state_after;
    };
    for (const Case& c : {Case{10, 0, 1}, Case{10, 1, 2}, Case{20, 1, -3}, Case{99, 1, -2}}) {
        WDialogTreeExpand(1018, c.id, c.expand, status);
        int state = 0;
        WDialogTreeState(1018, c.id, state);
        EXPECT_EQ(state, c.state_after) << c.id << " " << c.expand;
    }
    WDialogTreeDelete(1018, 11, status);
    EXPECT_EQ(status, 0);
    WDialogTreeSelect(1018, 11, status);
    EXPECT_EQ(status, -2) << "the deleted item is gone";
    IErrorInfo(1);
    WDialogTreeSelected(1014, id);
    EXPECT_EQ(IErrorInfo(1), 1006) << "a trackbar is no tree view";
}

// Kind, state, colours and rectangle of a field, and the dialog's base units.
TEST_F(DialogTest, FieldKindStateColoursAndRectangle)
{
    struct Case {
        int field, kind;
    };
    for (const Case& c :
         {Case{1001, 1}, Case{1002, 4}, Case{1003, 5}, Case{1004, 6}, Case{1005, 7}, Case{1, 8},
          Case{1007, 9}, Case{1008, 10}, Case{1011, 11}, Case{1012, 12}, Case{1016, 13}, Case{1013, 14},
          Case{1014, 16}, Case{1018, 17}, Case{1017, 3}, Case{1015, 2}}) {
        int kind = 0;
        WDialogFieldKind(c.field, kind);
        EXPECT_EQ(kind, c.kind) << c.field;
    }
    struct StateCase {
        int put, read;
    };
    for (const StateCase& c : {StateCase{0, 0}, StateCase{2, 2}, StateCase{3, 3}, StateCase{1, 1}}) {
        WDialogFieldState(1002, c.put);
        int state = -1;
        WDialogFieldStateOf(1002, state);
        EXPECT_EQ(state, c.read) << "put " << c.put;
    }
    WDialogFieldColours(1002, 255, 0, 0, 0, 0, 255);
    EXPECT_EQ(field_record(field(1002))->foreground, 0x0000FF);
    EXPECT_EQ(field_record(field(1002))->background, 0xFF0000);
    WDialogFieldColours(1002, -1, 0, 0, 256, 0, 0);
    EXPECT_EQ(field_record(field(1002))->foreground, 0x0000FF) << "red -1 keeps the colour";
    EXPECT_EQ(field_record(field(1002))->background, -1) << "red 256 gives the system default";
    int ux = 0, uy = 0;
    WDialogBaseUnits(ux, uy);
    EXPECT_GT(ux, 0);
    EXPECT_GT(uy, 0);
    // Field 1002 sits at (80, 6) dialog units, 80 x 12: its outer rectangle in pixels by the base units.
    int x = 0, y = 0, w = 0, h = 0;
    WDialogFieldRect(1002, x, y, w, h, 0);
    EXPECT_EQ(x, MulDiv(80, ux, 4));
    EXPECT_EQ(y, MulDiv(6, uy, 8));
    EXPECT_EQ(w, MulDiv(80, ux, 4));
    EXPECT_EQ(h, MulDiv(12, uy, 8));
    int cx = 0, cy = 0, cw = 0, ch = 0;
    WDialogFieldRect(1002, cx, cy, cw, ch, 1);
    EXPECT_GE(cx, x);
    EXPECT_LE(cw, w);
}

TEST(MessageBoxMapping, ButtonSetsDefaultsAndAnswers)
{
    // Default button by button set and asked default: no choice (0) is the first button in every set.
    struct DefaultCase {
        int buttons, asked;
        unsigned expected;
    };
    const DefaultCase defaults[] = {
        {1, 0, MB_DEFBUTTON1}, {2, 0, MB_DEFBUTTON1}, {3, 0, MB_DEFBUTTON1}, {4, 0, MB_DEFBUTTON1},
        {5, 0, MB_DEFBUTTON1}, {3, 1, MB_DEFBUTTON1}, {3, 2, MB_DEFBUTTON2}, {1, 3, MB_DEFBUTTON2},
        {4, 2, MB_DEFBUTTON2}, {4, 3, MB_DEFBUTTON3}, {4, 7, MB_DEFBUTTON3}, {5, -1, MB_DEFBUTTON1},
        {0, 2, MB_DEFBUTTON1},
    };
    for (const DefaultCase& c : defaults)
        EXPECT_EQ(message_box_style(c.buttons, 0, c.asked) & MB_DEFMASK, c.expected)
            << "set " << c.buttons << " default " << c.asked;
    EXPECT_EQ(message_box_style(3, 2, 1), static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
    EXPECT_EQ(message_box_style(9, 4, 2), static_cast<unsigned>(MB_OK | MB_ICONASTERISK));
    EXPECT_EQ(message_box_answer(IDNO), 2);
    EXPECT_EQ(message_box_answer(IDCANCEL), 0);
    EXPECT_EQ(message_box_answer(IDOK), 1);
    EXPECT_EQ(message_box_answer(IDABORT), 2);
    EXPECT_EQ(message_box_answer(IDIGNORE), 0);
}

}  // namespace
