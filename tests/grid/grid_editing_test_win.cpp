// Editing a grid under Wine: blocks and the clipboard, the keys of a cell, CSV files, find and sort on a
// dialog's grid, and the dialog helpers and file chooser of the grid editor.
#include "tests/win/win_test_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_win.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/os_utilities.h"
#include "toolkit/win/window_info.h"
#include "toolkit/win/window_utilities.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int EDIT_DIALOG = 3600;
constexpr int GRID = 3601;       // 5 columns x 4 rows, Tab between cells with wrap, Enter down
constexpr int READ_ONLY = 3604;  // 5 columns x 2 rows, read-only grid
constexpr int MULTI_LIST = 3602, COMBO = 3603, EDIT = 3605;
constexpr int TEXT = 0, INTEGER = 1, CHECK = 2, REAL = 3, MENU = 4;
constexpr int ROWS_DIALOG = 3100, ROWS_GRID = 3101;  // 6 columns, 500 rows, row labels

std::string text_of(HWND w)
{
    char t[1100] = {};
    GetWindowTextA(w, t, sizeof t);
    return t;
}

void set_clipboard(const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* p = static_cast<char*>(GlobalLock(h));
    std::copy(text.begin(), text.end(), p);
    p[text.size()] = '\0';
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

std::string clipboard()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return "<closed>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

// Shift and Ctrl as the cell reads them (GetKeyState).
void hold(bool shift, bool ctrl)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string read_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class GridEditing : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        open_test_main_window();
        WGridRegister();
    }
    void SetUp() override
    {
        IErrorModeSet(0);
        WDialogLoad(EDIT_DIALOG);
        WDialogSelect(EDIT_DIALOG);
        WDialogShow(-1, -1, 0, 2);
        grid = GetDlgItem(current_dialog_window(), GRID);
        g = grid_record(grid);
        ASSERT_TRUE(g);
        ERROR_STATE.last_error = 0;
    }
    void TearDown() override
    {
        hold(false, false);
        for (int id : {EDIT_DIALOG, ROWS_DIALOG})
            if (WDialogSlotFromId(id) > 0) {
                WDialogSelect(id);
                WDialogUnload();
            }
        drain_messages();
        IErrorInfo(1);
    }
    // Row 1: "t1", 5, checked; row 2: "t2", undefined, clear.
    void fill_example()
    {
        int f = GRID;
        WGridPutCell(f, TEXT, 0, 0.0, "t1", "");
        WGridPutInteger(GRID, INTEGER + 1, 1, 5);
        WGridPutCheckBox(f, CHECK, 0, 1);
        WGridPutCell(f, TEXT, 1, 0.0, "t2", "");
        WGridEmptyCell(GRID, INTEGER + 1, 2);
        WGridPutCheckBox(f, CHECK, 1, 0);
    }
    void current(int column, int row)
    {
        g->current_column = column;
        g->current_row = row;
    }
    HWND cell(int column, int row) { return grid_cell_on_screen(*g, column, row); }
    double value(int column, int row)
    {
        int f = GRID;
        double v = -99.0;
        WGridGetValue(f, column, row, v);
        return f == -3 ? -3.0 : v;
    }
    HWND grid = nullptr;
    GridRecord* g = nullptr;
};

TEST_F(GridEditing, CopiedBlockIsTabSeparatedTextWithoutFinalLineEnd)
{
    fill_example();
    WGridSelectBlock(grid, 0, 1, TEXT, CHECK);
    ASSERT_EQ(WGridCopyBlock(grid), 1);
    EXPECT_EQ(clipboard(), "t1\t5\tYes\r\nt2\t\tNo");
    EXPECT_EQ(grid_clipboard_state(grid), 2);
    // Ctrl+C in a cell copies the block too; without a block it is the edit's own copy.
    set_clipboard("x");
    SendMessageA(cell(TEXT, 0), WM_CHAR, 0x03, 0);
    EXPECT_EQ(clipboard(), "t1\t5\tYes\r\nt2\t\tNo");
}

TEST_F(GridEditing, PasteTable)
{
    fill_example();
    struct Case {
        const char* what;
        int column, row;
        const char* clip;
        int check_column, check_row;
        double want;  // value read back (-3 undefined); check boxes and menus: state or 0-based option
    };
    const Case cases[] = {
        {"integer 1.5E3 refused", INTEGER, 0, "1.5E3", INTEGER, 0, 5.0},
        {"integer 12.7 stores 12", INTEGER, 0, "12.7", INTEGER, 0, 12.0},
        {"integer blank empties", INTEGER, 0, " ", INTEGER, 0, -3.0},
        {"real with D exponent", REAL, 2, "2.5D1", REAL, 2, 25.0},
        {"check yes", CHECK, 2, "yes", CHECK, 2, 1.0},
        {"check Y", CHECK, 2, "Y", CHECK, 2, 0.0},
        {"menu prefix, any case", MENU, 3, "oxy", MENU, 3, 1.0},
        {"menu without match keeps", MENU, 3, "Helium", MENU, 3, 1.0},
        {"three fields at the last column: the first only", MENU, 1, "arg\tnit\toxy", MENU, 1, 2.0},
        {"a final CR LF adds no row", TEXT, 2, "last\r\n", TEXT, 3, -3.0},
    };
    for (const Case& c : cases) {
        set_clipboard(c.clip);
        current(c.column, c.row);
        WGridPaste(grid);
        int f = GRID, state = -1;
        double got = 0.0;
        if (c.check_column == CHECK) {
            WGridGetCheckBox(f, CHECK, c.check_row, state);
            got = state;
        } else if (c.check_column == MENU) {
            WGridGetMenu(f, MENU, c.check_row, state);
            got = state - 1;
        } else {
            got = value(c.check_column, c.check_row);
        }
        EXPECT_EQ(got, c.want) << c.what;
    }
    std::string t;
    int f = GRID;
    WGridGetText(f, TEXT, 2, t, 21);
    EXPECT_EQ(t, "last");
    // An integer cell on screen shows the number it stores.
    set_clipboard("12.7");
    current(INTEGER, 0);
    WGridPaste(grid);
    EXPECT_EQ(text_of(cell(INTEGER, 0)), "12");
    EXPECT_EQ(g->changed, 1);

    // A block paste from row 0: the fields go to their cells and storage, on screen or not.
    set_clipboard("a\t7\r\nb\t8");
    current(TEXT, 0);
    WGridPaste(grid);
    EXPECT_EQ(text_of(cell(TEXT, 1)), "b");
    EXPECT_EQ(value(INTEGER, 1), 8.0);
    EXPECT_EQ(text_of(cell(INTEGER, 0)), "7");
}

TEST_F(GridEditing, ClipboardStatesAndSingleValuePaste)
{
    set_clipboard("abc");
    EXPECT_EQ(grid_clipboard_state(grid), 1);
    set_clipboard("a\tb");
    EXPECT_EQ(grid_clipboard_state(grid), 2);

    // State 1: Ctrl+V in an edit cell pastes into the cell's own text, not as a block.
    set_clipboard("xyz");
    int f = GRID;
    WGridPutCell(f, TEXT, 1, 0.0, "", "");
    WGridSetCurrent(grid, TEXT, 1, 1);
    HWND c = cell(TEXT, 1);
    ASSERT_EQ(GetFocus(), c);
    SendMessageA(c, WM_CHAR, 0x16, 0);
    EXPECT_EQ(text_of(c), "xyz");
    EXPECT_EQ(text_of(cell(INTEGER, 1)), "");
}

TEST_F(GridEditing, KeysMoveBetweenCells)
{
    struct Case {
        const char* what;
        int column, row;
        WPARAM key;
        bool shift, ctrl;
        int want_column, want_row;
    };
    const Case cases[] = {
        {"Tab", TEXT, 0, VK_TAB, false, false, INTEGER, 0},
        {"Tab wraps to the next row", MENU, 0, VK_TAB, false, false, TEXT, 1},
        {"Tab at the last cell stays (beep)", MENU, 3, VK_TAB, false, false, MENU, 3},
        {"Shift+Tab wraps back", TEXT, 1, VK_TAB, true, false, MENU, 0},
        {"Shift+Tab at the first cell stays (beep)", TEXT, 0, VK_TAB, true, false, TEXT, 0},
        {"Enter moves down", INTEGER, 1, VK_RETURN, false, false, INTEGER, 2},
        {"Down at the last row stays", INTEGER, 3, VK_DOWN, false, false, INTEGER, 3},
        {"Ctrl+PgDn to the last row", CHECK, 0, VK_NEXT, false, true, CHECK, 3},
        {"Ctrl+PgUp to row 0", CHECK, 3, VK_PRIOR, false, true, CHECK, 0},
        {"Ctrl+End to the last column", TEXT, 2, VK_END, false, true, MENU, 2},
        {"Right in an empty edit moves on", INTEGER, 2, VK_RIGHT, false, false, CHECK, 2},
        {"Left from a check box", CHECK, 2, VK_LEFT, false, false, INTEGER, 2},
    };
    for (const Case& c : cases) {
        int f = GRID;
        WGridPutCell(f, INTEGER, c.row, 0.0, "", "");
        WGridSetCurrent(grid, c.column, c.row, 1);
        ASSERT_EQ(g->current_column, c.column) << c.what;
        hold(c.shift, c.ctrl);
        SendMessageA(cell(c.column, c.row), WM_KEYDOWN, c.key, 0);
        hold(false, false);
        EXPECT_EQ(g->current_column, c.want_column) << c.what;
        EXPECT_EQ(g->current_row, c.want_row) << c.what;
    }
    // Left in an edit with its caret past the start moves the caret, not the cell.
    int f = GRID;
    WGridPutCell(f, TEXT, 1, 0.0, "abc", "");
    WGridSetCurrent(grid, INTEGER, 1, 1);
    WGridSetCurrent(grid, TEXT, 1, 1);
    SendMessageA(cell(TEXT, 1), EM_SETSEL, 2, 2);
    SendMessageA(cell(TEXT, 1), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(g->current_column, TEXT);
}

// The dialog layer's grid style switches: option 1 is Enter down a column, option 2 Tab from cell to
// cell; with them off the keys leave the cells to the dialog. Another field gives error 1006.
TEST_F(GridEditing, GridStyleSwitchesEnterAndTabBetweenCells)
{
    struct Case {
        int option;
        WPARAM key;
        LONG bit;
        int want_column_on, want_row_on;  // where the key moves from (INTEGER, 1) while the bit is set
    };
    const Case cases[] = {{1, VK_RETURN, GS_ENTER_DOWN, INTEGER, 2}, {2, VK_TAB, GS_TAB_CELLS, CHECK, 1}};
    for (const Case& c : cases) {
        for (int on : {0, 1}) {
            WDialogGridStyle(GRID, c.option, on);
            EXPECT_EQ((GetWindowLongA(grid, GWL_STYLE) & c.bit) != 0, on != 0) << c.option;
            const LRESULT code = SendMessageA(cell(INTEGER, 1), WM_GETDLGCODE, 0, 0);
            EXPECT_EQ((code & (c.key == VK_TAB ? DLGC_WANTTAB : DLGC_WANTALLKEYS)) != 0, on != 0) << c.option;
            WGridSetCurrent(grid, INTEGER, 1, 1);
            SendMessageA(cell(INTEGER, 1), WM_KEYDOWN, c.key, 0);
            EXPECT_EQ(g->current_column, on ? c.want_column_on : INTEGER) << c.option << " on " << on;
            EXPECT_EQ(g->current_row, on ? c.want_row_on : 1) << c.option << " on " << on;
        }
    }
    IErrorInfo(1);
    WDialogGridStyle(EDIT, 1, 1);
    EXPECT_EQ(IErrorInfo(1), 1006);
}

TEST_F(GridEditing, DeleteAndCutFollowTheReadOnlyRows)
{
    fill_example();
    WGridSetCurrent(grid, TEXT, 0, 1);
    int f = GRID;
    WGridCellReadOnly(f, TEXT, 3, 0);  // a read-only row in the text column
    WGridSelectBlock(grid, 0, 1, TEXT, INTEGER);
    EXPECT_EQ(WGridCanCutBlock(grid), 0);
    SendMessageA(cell(TEXT, 0), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(text_of(cell(TEXT, 0)), "t1");  // nothing deleted

    WGridSelectBlock(grid, 0, 1, INTEGER, CHECK);
    EXPECT_EQ(WGridCanCutBlock(grid), 1);
    SendMessageA(cell(TEXT, 0), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(value(INTEGER, 0), -3.0);
    int state = -1;
    WGridGetCheckBox(f, CHECK, 0, state);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(g->block[0], -1);

    // The paste permission looks at the cells a block would fill from the current cell.
    set_clipboard("1\r\n2\r\n3\r\n4");
    current(TEXT, 0);
    EXPECT_EQ(WGridCanPaste(grid), 0);
    current(INTEGER, 0);
    EXPECT_EQ(WGridCanPaste(grid), 1);
    HWND read_only = GetDlgItem(current_dialog_window(), READ_ONLY);
    EXPECT_EQ(WGridCanPaste(read_only), 0);
    WGridSelectBlock(read_only, 0, 0, 0, 1);
    EXPECT_EQ(WGridCanCutBlock(read_only), 0);

    // Shift+click spans a block from the current cell; on the current cell it removes the block.
    WGridClearBlock(grid);
    WGridSetCurrent(grid, TEXT, 0, 1);
    SendMessageA(cell(CHECK, 1), WM_LBUTTONDOWN, MK_SHIFT | MK_LBUTTON, 0);
    EXPECT_EQ(std::vector<int>(g->block, g->block + 4), (std::vector<int>{0, 1, TEXT, CHECK}));
    SendMessageA(cell(TEXT, 0), WM_LBUTTONDOWN, MK_SHIFT | MK_LBUTTON, 0);
    SendMessageA(cell(TEXT, 0), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(g->block[0], -1);

    // The grid's commands: copy (32123) then cut (32122) of a block.
    WGridSelectBlock(grid, 0, 0, TEXT, TEXT);
    SendMessageA(grid, WM_COMMAND, 32123, 0);
    EXPECT_EQ(clipboard(), "t1");
}

// The block was lost on every focus pass: the flag that keeps it while the focus goes from a cell through
// the grid window (as after a header click) back to a cell was never cleared.
TEST_F(GridEditing, BlockSurvivesTheFocusPassingThroughTheGridWindow)
{
    const std::vector<int> block{0, 1, TEXT, INTEGER};
    WGridSetCurrent(grid, TEXT, 0, 1);
    ASSERT_EQ(GetFocus(), cell(TEXT, 0));
    WGridSelectBlock(grid, 0, 1, TEXT, INTEGER);
    SetFocus(grid);  // the grid window hands the focus on to the current cell
    EXPECT_EQ(GetFocus(), cell(TEXT, 0));
    EXPECT_EQ(std::vector<int>(g->block, g->block + 4), block);

    // Any other focus change removes the block: from cell to cell, and out of the grid.
    SetFocus(cell(INTEGER, 0));
    EXPECT_EQ(g->block[0], -1);
    WGridSelectBlock(grid, 0, 1, TEXT, INTEGER);
    SetFocus(GetDlgItem(current_dialog_window(), EDIT));
    EXPECT_EQ(g->block[0], -1);
}

TEST_F(GridEditing, CsvExampleSavesExactlyAndLoadsBack)
{
    int f = GRID;
    WGridPutCell(f, TEXT, 0, 0.0, "a\"b", "");
    WGridPutInteger(GRID, INTEGER + 1, 1, 5);
    WGridPutCheckBox(f, CHECK, 0, 1);
    WGridEmptyCell(GRID, INTEGER + 1, 2);
    WGridSetRows(f, 2);
    // Only three columns take part: a grid of text, integer and check box.
    int three[3] = {1, 2, 3};
    WGridColumns(f, 3, three);
    WGridPutCell(f, TEXT, 0, 0.0, "a\"b", "");
    WGridPutInteger(GRID, INTEGER + 1, 1, 5);
    WGridPutCheckBox(f, CHECK, 0, 1);
    ERROR_STATE.last_error = 0;
    WGridSaveCSV(GRID, "example.csv");
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    EXPECT_EQ(read_file("example.csv"), "\"a\"\"b\",5,Yes\r\n\"\",,No\r\n");

    WGridClear(grid, 0);
    WGridLoadCSV(GRID, "example.csv");
    EXPECT_EQ(ERROR_STATE.last_error, 10);  // the empty integer field
    std::string t;
    WGridGetText(f, TEXT, 0, t, 21);
    EXPECT_EQ(t, "a\"b");
    EXPECT_EQ(value(INTEGER, 0), 5.0);
    EXPECT_EQ(value(INTEGER, 1), -3.0);
    int state = -1;
    WGridGetCheckBox(f, CHECK, 0, state);
    EXPECT_EQ(state, 1);

    // A file that cannot be written: error 2 (the disc is full), and a missing file: error 1.
    ERROR_STATE.last_error = 0;
    WGridSaveCSV(GRID, "Z:\\dev\\full");
    EXPECT_EQ(ERROR_STATE.last_error, 2);
    ERROR_STATE.last_error = 0;
    WGridLoadCSV(GRID, "no such folder\\x.csv");
    EXPECT_EQ(ERROR_STATE.last_error, 1);
    std::remove("example.csv");
}

TEST_F(GridEditing, CsvMenusAndTooManyRows)
{
    std::ofstream("menus.csv", std::ios::binary) << "n,1,yes,2.5,\"Argon\"\r\nm,2,YES,,Helium\r\no\r\np\nq\n";
    WGridLoadCSV(GRID, "menus.csv");
    EXPECT_EQ(ERROR_STATE.last_error, 1054);  // the fifth line
    int f = GRID, option = 0, state = 0;
    WGridGetMenu(f, MENU, 0, option);
    EXPECT_EQ(option, 3);
    WGridGetMenu(f, MENU, 1, option);
    EXPECT_EQ(option, 1);  // no match: the first option
    WGridGetCheckBox(f, CHECK, 1, state);
    EXPECT_EQ(state, 1);
    std::string t;
    WGridGetText(f, TEXT, 3, t, 21);
    EXPECT_EQ(t, "p");
    EXPECT_EQ(value(INTEGER, 2), -3.0);  // a short line empties the rest of its row

    ERROR_STATE.last_error = 0;
    std::ofstream("menus.csv", std::ios::binary) << "n,1,yes,2.5,Helium\r\n";
    WGridLoadCSV(GRID, "menus.csv");
    EXPECT_EQ(ERROR_STATE.last_error, 1055);
    std::remove("menus.csv");
}

// "L" and the row's number. (Appended, not "L" + text: GCC 12 warns of an overlap that cannot occur.)
std::string row_label(int row)
{
    std::string label = "L";
    label += std::to_string(row);
    return label;
}

TEST_F(GridEditing, FindAndSortOnADialogGrid)
{
    WDialogLoad(ROWS_DIALOG);
    WDialogSelect(ROWS_DIALOG);
    constexpr int NAME = 1, COUNT = 2;  // 1-based columns of grid 3101
    const char* names[] = {"b", "xab", "", "a", "B", "C", "aa"};
    for (int row = 1; row <= 7; ++row) {
        int f = ROWS_GRID;
        WGridPutCell(f, 0, row - 1, 0.0, names[row - 1], "");
        WGridPutInteger(ROWS_GRID, COUNT, row, row);  // the id of the row
        WGridPutRowLabel(f, row - 1, row_label(row));
    }
    int f = ROWS_GRID;
    WGridSetRows(f, 7);
    int found = 0;
    WGridFind(ROWS_GRID, "AB", 2, 2, found);
    EXPECT_EQ(found, -1);
    int row = 0;
    WGridInfo(f, 5, row);
    EXPECT_EQ(row, 2);
    WGridFind(ROWS_GRID, "AB", 2, 0, found);
    EXPECT_EQ(found, 0);                     // with match case nothing
    WGridFind(ROWS_GRID, "a", 1, 1, found);  // next after row 2
    WGridInfo(f, 5, row);
    EXPECT_EQ(row, 4);
    WGridSelectCell(ROWS_GRID, NAME, 7);
    WGridFind(ROWS_GRID, "a", 1, 1, found);  // never wraps
    EXPECT_EQ(found, 0);

    WGridSort(ROWS_GRID, NAME, 1, 7, 4);
    const char* want[] = {"B", "C", "a", "aa", "b", "xab", ""};
    for (int r = 1; r <= 7; ++r) {
        std::string t(4, ' ');
        WGridGetString(ROWS_GRID, NAME, r, t);
        EXPECT_EQ(t.substr(0, t.find_last_not_of(' ') + 1), want[r - 1]) << r;
        // The id and the label travelled with their row.
        double id = 0;
        int ff = ROWS_GRID;
        WGridGetValue(ff, COUNT - 1, r - 1, id);
        std::string label;
        WGridGetRowLabel(ff, r - 1, label);
        EXPECT_EQ(label, row_label(static_cast<int>(id)));
        EXPECT_EQ(std::string(names[static_cast<int>(id) - 1]), want[r - 1]);
    }
    WGridSort(ROWS_GRID, 7, 1, 7, 0);
    EXPECT_EQ(ERROR_STATE.last_error, 1017);
}

TEST_F(GridEditing, DialogHelpers)
{
    const std::string gases[] = {"Nitrogen ", "Oxygen", "Argon"};
    SendMessageA(GetDlgItem(current_dialog_window(), MULTI_LIST), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>("kept"));
    WDialogPutMenu(MULTI_LIST, gases, 3, 1);
    EXPECT_EQ(ERROR_STATE.last_error, 1006);
    EXPECT_EQ(SendMessageA(GetDlgItem(current_dialog_window(), MULTI_LIST), LB_GETCOUNT, 0, 0), 1);

    ERROR_STATE.last_error = 0;
    WDialogPutMenu(COMBO, gases, 3, 2);
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    EXPECT_EQ(text_of(GetDlgItem(current_dialog_window(), COMBO)), "Oxygen");
    const std::string typed = "Neon";
    WDialogPutMenu(COMBO, gases, 3, 0, &typed);
    EXPECT_EQ(text_of(GetDlgItem(current_dialog_window(), COMBO)), "Neon");
    WDialogPutMenu(COMBO, gases, 3, 5);
    EXPECT_EQ(ERROR_STATE.last_error, 1011);

    WDialogPutString(EDIT, "four");
    int length = 0;
    WDialogGetTextLength(EDIT, length);
    EXPECT_EQ(length, 4);
    ERROR_STATE.last_error = 0;
    WDialogGetTextLength(999, length);
    EXPECT_EQ(ERROR_STATE.last_error, 1006);

    WDialogTitle("  Goto Row  ");
    EXPECT_EQ(text_of(current_dialog_window()), "Goto Row");

    IOsBeepControl("off");
    EXPECT_EQ(os_beep_enabled(), 0);
    IOsBeepControl("on");
    EXPECT_EQ(os_beep_enabled(), 1);
    IOsBeepControl("o");  // beeps
    EXPECT_EQ(os_beep_enabled(), 1);
}

// The chooser starts in the file name's directory and puts the current directory back.
TEST_F(GridEditing, ChooserRestoresTheCurrentDirectory)
{
    CreateDirectoryA("chooser", nullptr);
    std::ofstream("chooser\\pick.csv") << "x\r\n";
    std::string before;
    int error = 0, truncated = 0;
    IOsDirGet(before, 256, error, truncated);
    HANDLE driver = start_uidriver("wait \"Select File\" 20 set 1148 pick.csv press 1");
    std::string file = before + "\\chooser\\start.csv";
    WGridEdFileName("CSV Files|*.csv|", 0xA0, file);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(WDialogInfo(4), 1);
    EXPECT_NE(file.find("pick.csv"), std::string::npos) << file;
    std::string after;
    IOsDirGet(after, 256, error, truncated);
    EXPECT_EQ(after, before);
    DeleteFileA("chooser\\pick.csv");
    RemoveDirectoryA("chooser");
}

// The context menu's items and their enable rules, without and with a block.
TEST_F(GridEditing, ContextMenuItemsFollowTheCellBlockAndClipboard)
{
    auto items = [&](HWND c) {
        std::vector<std::pair<UINT, bool>> list;
        HMENU m = grid_context_menu_items(grid, c);
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            UINT id = GetMenuItemID(m, i);
            if (id != 0 && id != static_cast<UINT>(-1))
                list.push_back({id, !(GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED)});
        }
        DestroyMenu(m);
        return list;
    };
    using Items = std::vector<std::pair<UINT, bool>>;
    int f = GRID;
    WGridPutCell(f, TEXT, 0, 0.0, "abc", "");
    WGridSetCurrent(grid, TEXT, 0, 1);
    HWND c = cell(TEXT, 0);
    set_clipboard("one");
    SendMessageA(c, EM_SETSEL, 0, 1);  // a part selected
    EXPECT_EQ(
        items(c),
        (Items{{32221, false}, {32222, true}, {32223, true}, {32224, true}, {32225, true}, {32226, true}}));
    SendMessageA(c, EM_SETSEL, 0, -1);  // all selected: no Select All
    set_clipboard("a\tb");
    EXPECT_EQ(
        items(c),
        (Items{{32221, false}, {32222, true}, {32223, true}, {32124, true}, {32225, true}, {32226, false}}));
    // A check box: no edit commands.
    EXPECT_EQ(
        items(cell(CHECK, 0)),
        (Items{
            {32221, false}, {32222, false}, {32223, false}, {32124, true}, {32225, false}, {32226, false}}));
    // With a block over a read-only row: block commands, cut and delete disabled.
    WGridCellReadOnly(f, INTEGER, 3, 0);
    WGridSelectBlock(grid, 0, 1, TEXT, INTEGER);
    EXPECT_EQ(
        items(c),
        (Items{
            {32221, false}, {32122, false}, {32123, true}, {32124, true}, {32125, false}, {32226, false}}));
}

}  // namespace

namespace {

// Run by the X clipboard check (grid_xclip.sh), not by the test program's own run: the grid's copy is
// read from the X side while the program waits for "xclip_done"; text given on the X side is pasted.
void wait_for_file(const char* name)
{
    for (int i = 0; i < 300 && GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES; ++i) {
        drain_messages();
        Sleep(100);
    }
    DeleteFileA(name);
}

TEST_F(GridEditing, DISABLED_XclipReadsTheCopy)
{
    fill_example();
    WGridSelectBlock(grid, 0, 1, TEXT, CHECK);
    ASSERT_EQ(WGridCopyBlock(grid), 1);
    std::ofstream("xclip_ready") << "ready\n";
    wait_for_file("xclip_done");
}

TEST_F(GridEditing, DISABLED_XclipTextPastes)
{
    EXPECT_EQ(grid_clipboard_state(grid), 2);
    WGridSetCurrent(grid, TEXT, 1, 1);
    WGridPaste(grid);
    EXPECT_EQ(text_of(cell(TEXT, 1)), "x1");
    EXPECT_EQ(value(INTEGER, 1), 42.0);
    EXPECT_EQ(text_of(cell(TEXT, 2)), "x2");
    int f = GRID, state = 0;
    WGridGetCheckBox(f, CHECK, 2, state);
    EXPECT_EQ(state, 1);
}

}  // namespace
