// The stand-alone grid window under Wine: menus, toolbar, status bar, title, fitting, the file commands
// with the save question, the modal run and what it leaves behind.
#include "tests/win/win_test_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_window.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/window_table_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int EDIT_DIALOG = 3600, SMALL_GRID = 3601, READ_ONLY = 3604;  // 4 rows; read-only, 2 rows
constexpr int ROWS_DIALOG = 3100, ROWS_GRID = 3101;                     // 500 rows

std::vector<std::string> menu_items(HMENU menu)
{
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[100] = {};
        if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) == 0)
            items.push_back("-");
        else
            items.push_back(text);
    }
    return items;
}

std::vector<int> toolbar_commands(HWND toolbar)
{
    std::vector<int> ids;
    int n = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        ids.push_back(b.fsStyle & TBSTYLE_SEP ? 0 : b.idCommand);
    }
    return ids;
}

std::string status_text(HWND bar, int part)
{
    char text[64] = {};
    SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string title_of(HWND w)
{
    char t[300] = {};
    GetWindowTextA(w, t, sizeof t);
    return t;
}

std::string read_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class GridWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        open_test_main_window();
        WGridRegister();
    }
    void SetUp() override { IErrorModeSet(0); }
    void TearDown() override
    {
        if (window > 0 && WIN_TABLE.slot[window].frame)
            WWinCloseChild(window);
        for (int id : {EDIT_DIALOG, ROWS_DIALOG})
            if (WDialogSlotFromId(id) > 0) {
                WDialogSelect(id);
                WDialogUnload();
            }
        drain_messages();
        IErrorInfo(1);
    }
    // A child window of w x h pixels, current, and the dialog holding the grids loaded.
    void open(int dialog, int w, int h)
    {
        WWinOpenChild(window, 7, 100, 100, w, h, "Grid Window Test");
        ASSERT_GT(window, 0);
        WDialogLoad(dialog);
        WDialogSelect(dialog);
        WWinSelect(window);
    }
    GridWinRecord& record() { return *static_cast<GridWinRecord*>(win_record(WIN_TABLE.slot[window].frame)); }
    HWND frame() { return WIN_TABLE.slot[window].frame; }
    int window = -1;
};

TEST_F(GridWindow, MenusAndToolbarFollowTheOptions)
{
    open(EDIT_DIALOG, 400, 300);
    int error = -1, mode = 2;
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0x0100 + 0x2000, "", "");
    ASSERT_EQ(error, 0);
    GridWinRecord& r = record();
    EXPECT_EQ(r.kind, RECORD_GRID);
    EXPECT_EQ(menu_items(r.file_menu), std::vector<std::string>{"E&xit"});
    EXPECT_EQ(menu_items(r.search_menu),
              (std::vector<std::string>{"&Find\tCtrl+F", "Find &Next\tF3", "-", "&Goto Cell", "Goto Ro&w",
                                        "Goto &Column"}));
    std::vector<int> buttons = toolbar_commands(r.toolbar);
    ASSERT_FALSE(buttons.empty());
    EXPECT_EQ(buttons[0], 32141);  // Find first
    EXPECT_EQ(menu_items(GetMenu(frame()))[0], "&File");

    // The window is current: field id 0 is its grid.
    int f = 0, columns = 0;
    WGridInfo(f, 1, columns);
    EXPECT_EQ(columns, 5);
    // A second conversion of the same window is refused.
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0, "", "");
    EXPECT_EQ(error, 8);
}

// In a stand-alone grid window the block also survives the focus passing through the window itself.
TEST_F(GridWindow, BlockSurvivesTheFocusPassingThroughTheWindow)
{
    open(EDIT_DIALOG, 400, 300);
    int error = -1, mode = 2;
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0, "", "");
    ASSERT_EQ(error, 0);
    HWND grid = record().inner;
    GridRecord& g = *grid_record(grid);
    WGridSetCurrent(grid, 0, 0, 1);
    HWND current = GetFocus();
    ASSERT_EQ(grid_of_cell(current), grid);
    WGridSelectBlock(grid, 0, 1, 0, 1);
    SetFocus(frame());
    SetFocus(current);
    EXPECT_EQ(std::vector<int>(g.block, g.block + 4), (std::vector<int>{0, 1, 0, 1}));
    SetFocus(grid_cell_on_screen(g, 1, 1));
    EXPECT_EQ(g.block[0], -1);
}

TEST_F(GridWindow, ReadOnlyGridHasCopyAndSelectAllOnly)
{
    open(EDIT_DIALOG, 400, 300);
    int error = -1, mode = 2;
    WGridEdOpen(error, READ_ONLY, mode, 0, 0, "", "");
    ASSERT_EQ(error, 0);
    GridWinRecord& r = record();
    EXPECT_EQ(menu_items(r.edit_menu), (std::vector<std::string>{"&Copy\tCtrl+C", "-", "Select &All"}));
    EXPECT_EQ(menu_items(r.file_menu), (std::vector<std::string>{"&Open\tCtrl+O", "-", "E&xit"}));
    EXPECT_EQ(toolbar_commands(r.toolbar), (std::vector<int>{32102, 0, 32141, 0, 32123}));
}

TEST_F(GridWindow, OpeningErrors)
{
    int error = -1, mode = 2;
    WWinSelect(0);
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0, "", "");
    EXPECT_EQ(error, 1);
    open(EDIT_DIALOG, 400, 300);
    WGridEdOpen(error, 3602, mode, 0, 0, "", "");  // a list, not a grid
    EXPECT_EQ(error, 11);
    EXPECT_EQ(win_record(frame()), nullptr);
}

TEST_F(GridWindow, StatusBarTitleAndFitting)
{
    std::ofstream("data.csv", std::ios::binary) << "\"x\",1,1,1,Yes,\"Argon\"\r\n";
    open(ROWS_DIALOG, 300, 200);
    RECT before;
    GetWindowRect(frame(), &before);
    int error = -1, mode = 2;
    WGridEdOpen(error, ROWS_GRID, mode, 0, 0, "data.csv", "");
    ASSERT_EQ(error, 0);
    EXPECT_EQ(title_of(frame()), "Grid Window Test - [data.csv]");
    RECT after;
    GetWindowRect(frame(), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);  // 500 rows do not fit: unchanged
    WGridSelectCell(0, 3, 12);
    GridWinRecord& r = record();
    EXPECT_EQ(status_text(r.grid_status, 1), "\t\t12");
    EXPECT_EQ(status_text(r.grid_status, 3), "\t\t3");
    EXPECT_EQ(status_text(r.grid_status, 0), "Row");
    std::remove("data.csv");
}

TEST_F(GridWindow, FittingShrinksToASmallGrid)
{
    open(EDIT_DIALOG, 900, 700);
    RECT before;
    GetWindowRect(frame(), &before);
    int error = -1, mode = 2;
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0, "", "");
    ASSERT_EQ(error, 0);
    RECT after;
    GetWindowRect(frame(), &after);
    EXPECT_LT(after.bottom - after.top, before.bottom - before.top);
    EXPECT_LT(after.right - after.left, before.right - before.left);
}

TEST_F(GridWindow, SaveAndExitWithTheSaveQuestion)
{
    std::ofstream("saved.csv", std::ios::binary) << "\"a\",1,No,2.5,\"Oxygen\"\r\n";
    open(EDIT_DIALOG, 400, 300);
    int error = -1, mode = 2;
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0, "saved.csv", "");
    ASSERT_EQ(error, 0);
    WGridEdModal();  // modeless: only the change flags are cleared
    int f = 0;
    WGridPutCell(f, 0, 1, 0.0, "b", "");
    SendMessageA(frame(), WM_COMMAND, 32103, 0);  // Save: to the file named, no chooser
    EXPECT_EQ(read_file("saved.csv"), "\"a\",1,No,2.5000,\"Oxygen\"\r\n\"b\",,No,,\"Nitrogen\"\r\n"
                                      "\"\",,No,,\"Nitrogen\"\r\n\"\",,No,,\"Nitrogen\"\r\n");
    int unchanged = 0;
    f = 0;
    WGridInfo(f, 6, unchanged);
    EXPECT_EQ(unchanged, 1);

    // A change, then Exit: the question names the file; No lets the window close (a close request).
    WGridPutCell(f, 0, 2, 0.0, "c", "");
    // (Posted: the toolkit raises its events while it dispatches.)
    HANDLE driver = start_uidriver("wait \"Vuvuzuvoder Grid Editor\" 20 press 7");
    drain_messages();
    PostMessageA(frame(), WM_COMMAND, 32107, 0);
    WinMessage m;
    EXPECT_TRUE(poll_for(MsgCloseRequest, m));
    EXPECT_EQ(finish_uidriver(driver), 0u);
    // Cancel keeps it open without a close request.
    driver = start_uidriver("wait \"Vuvuzuvoder Grid Editor\" 20 press 2");
    PostMessageA(frame(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(poll_for(MsgCloseRequest, m));
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_TRUE(IsWindow(frame()));
    std::remove("saved.csv");
}

TEST_F(GridWindow, ModalRunLeavesTextsAndChangeFlags)
{
    std::ofstream("modal.csv", std::ios::binary) << "\"m\"\r\n";
    open(EDIT_DIALOG, 400, 300);
    int error = -1, mode = 1;
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0x2000, "modal.csv", "");
    ASSERT_EQ(error, 0);
    HANDLE driver = start_uidriver("wait \"Grid Window Test - [modal.csv]\" 20 sleep 200 close");
    WGridEdModal();
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(WIN_TABLE.slot[window].frame, nullptr);
    window = -1;
    std::string name;
    WGridWindowText(-1, 3, name);
    EXPECT_EQ(name, "modal.csv");
    int f = -2, unchanged = -1;
    WGridInfo(f, 6, unchanged);
    EXPECT_EQ(unchanged, 1);
    std::remove("modal.csv");
}

TEST_F(GridWindow, EditorCommandsThroughTheirDialogs)
{
    open(ROWS_DIALOG, 500, 400);
    int error = -1, mode = 2;
    WGridEdOpen(error, ROWS_GRID, mode, 0, 0, "", "");
    ASSERT_EQ(error, 0);
    const char* names[] = {"b", "zz", "xab", "a"};
    for (int row = 0; row < 4; ++row) {
        int f = 0;
        WGridPutCell(f, 0, row, 0.0, names[row], "");
    }
    int f = 0, rows = 4;
    WGridSetRows(f, rows);

    // Find "AB", match case off: the cell holding "xab".
    int match_case = 0;
    std::string text = "old";
    HANDLE driver = start_uidriver("wait Find 20 set 1002 AB press 1");
    WGridEdFind(window, 1, match_case, text);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(text, "AB");
    int row = 0;
    f = 0;
    WGridInfo(f, 5, row);
    EXPECT_EQ(row, 3);
    // Find next from there: nothing below, no wrapping.
    driver = start_uidriver("wait FIND 20 press 1");
    WGridEdFind(window, 0, match_case, text);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    WGridInfo(f, 5, row);
    EXPECT_EQ(row, 3);

    // Go to column 2, row 4.
    driver = start_uidriver("wait \"Goto Cell\" 20 set 1002 2 set 1004 4 press 1");
    WGridEdGoto(window, 1);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    int column = 0;
    WGridInfo(f, 4, column);
    WGridInfo(f, 5, row);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(row, 4);

    // Sort by the first column, descending, match case on.
    int sorted = 0;
    driver = start_uidriver("wait Sort 20 select 1002 1 radio 1005 check 1006 1 press 1");
    WGridEdSort(window, 1, sorted);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(sorted, 1);
    const char* want[] = {"zz", "xab", "b", "a"};
    for (int r = 1; r <= 4; ++r) {
        std::string t(3, ' ');
        WGridGetString(0, 1, r, t);
        EXPECT_EQ(t.substr(0, t.find_last_not_of(' ') + 1), want[r - 1]);
    }
    // Cancel sorts nothing.
    driver = start_uidriver("wait Sort 20 press 2");
    WGridEdSort(window, 1, sorted);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(sorted, 0);
}

TEST_F(GridWindow, FileCommandsAndTheirMessages)
{
    open(EDIT_DIALOG, 400, 300);
    int error = -1, mode = 2;
    WGridEdOpen(error, SMALL_GRID, mode, 0, 0, "", "");
    ASSERT_EQ(error, 0);
    int f = 0;
    WGridPutCell(f, 0, 0, 0.0, "a\"b", "");
    WGridPutInteger(0, 2, 1, 5);
    WGridPutCheckBox(f, 2, 0, 1);
    WGridPutReal(0, 4, 1, 1.5f);
    WGridPutReal(0, 4, 2, 2.5f);

    // Save with no name opens the chooser even in Save mode; Cancel writes nothing.
    int saved = -1;
    std::string name;
    HANDLE driver = start_uidriver("wait \"Select File\" 20 press 2");
    WGridEdSave(window, 0, saved, name, "");
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(name, "");

    // A full disc: "Error writing file", not saved.
    name = "Z:\\dev\\full";
    driver = start_uidriver("wait \"File Error\" 20 dialog \"Error writing file\" 20 press 1");
    WGridEdSave(window, 0, saved, name, "");
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(saved, 0);

    // The saved file loads back; its empty integer field is reported once, and the load counts.
    name = "commands.csv";
    WGridEdSave(window, 0, saved, name, "");
    EXPECT_EQ(saved, 1);
    WGridClear(record().inner, 0);
    int loaded = -1;
    driver = start_uidriver(
        "wait \"Data Error\" 20 dialog \"Non-numeric data found for numeric cell\" 20 press 1");
    WGridEdLoad(window, 0, loaded, name, "");
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(ERROR_STATE.last_error, 10);
    std::string t;
    f = 0;
    WGridGetText(f, 0, 0, t, 21);
    EXPECT_EQ(t, "a\"b");
    // Open (32102) through the chooser: loaded, the window titled with the chosen name.
    WGridClear(record().inner, 0);
    WGridEdModal();  // the change flags cleared: no save question
    driver = start_uidriver(
        "wait \"Select File\" 20 set 1148 commands.csv press 1 wait \"Data Error\" 20 press 1");
    SendMessageA(frame(), WM_COMMAND, 32102, 0);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    const std::string title = title_of(frame());
    EXPECT_EQ(title.substr(title.size() - 13), "commands.csv]") << title;
    EXPECT_EQ(title.rfind("Grid Window Test - [", 0), 0u) << title;
    f = 0;
    WGridGetText(f, 0, 0, t, 21);
    EXPECT_EQ(t, "a\"b");
    // A missing file: "Error opening file", not loaded, the name kept.
    name = "missing.csv";
    driver = start_uidriver("wait \"File Error\" 20 dialog \"Error opening file\" 20 press 1");
    WGridEdLoad(window, 0, loaded, name, "");
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(loaded, 0);
    std::remove("commands.csv");
}

}  // namespace
