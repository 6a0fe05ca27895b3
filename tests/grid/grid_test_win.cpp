// The grid control under Wine: set-up from the companion text, the cell interface and the cell value
// routines, scrolling, row slots, the notification to the dialog, the modal copy, and the dialog
// layer's grid, tree and keyboard routing sides.
#include "tests/win/win_test_support.h"
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_win.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/grid_fields_win.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/os_utilities.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr int GRID_DIALOG = 3100;  // 6 columns, 500 rows, header and row labels
constexpr int GRID = 3101;
constexpr int BENCH_DIALOG = 3200;  // 6 columns, 100,000 rows
constexpr int SCALE_DIALOG = 3300;  // 1 column, 200,000 rows
constexpr int TREE_DIALOG = 3400;
constexpr int FEW_DIALOG = 3500;  // 4 rows; two grids whose set-up fails
// Columns of template 3001.
constexpr int TEXT = 0, INTEGER = 1, REAL = 2, DOUBLE = 3, CHECK = 4, MENU = 5;

std::string text_of(HWND w)
{
    char t[1100] = {};
    GetWindowTextA(w, t, sizeof t);
    return t;
}

class GridTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        open_test_main_window();
        WGridRegister();
    }
    void SetUp() override
    {
        IErrorModeSet(0);
        load(GRID_DIALOG);
    }
    void TearDown() override
    {
        for (int id : {GRID_DIALOG, BENCH_DIALOG, SCALE_DIALOG, TREE_DIALOG, FEW_DIALOG})
            if (WDialogSlotFromId(id) > 0) {
                WDialogSelect(id);
                WDialogUnload();
            }
        drain_messages();
        IErrorInfo(1);
    }
    static void load(int id)
    {
        WDialogLoad(id);
        WDialogSelect(id);
    }
    static HWND grid_window(int id) { return GetDlgItem(current_dialog_window(), id); }
    static GridRecord& record(int id) { return *grid_record(grid_window(id)); }
};

// The cases of the cell interface, on a 6-column, 500-row grid.
TEST_F(GridTest, CellInterfaceCases)
{
    GridRecord& g = record(GRID);
    HWND grid = grid_window(GRID);
    ASSERT_TRUE(grid);
    EXPECT_EQ(g.setup, 1);

    struct InfoCase {
        int option, value;
    };
    const InfoCase info[] = {
        {1, 6}, {2, 500}, {3, 500}, {4, 1}, {5, 1}, {6, 1}, {7, 0}, {101, g.rows_fit + 1}, {102, 6}};
    for (const InfoCase& c : info) {
        int f = GRID, v = -99;
        WGridInfo(f, c.option, v);
        EXPECT_EQ(f, GRID);
        EXPECT_EQ(v, c.value) << "option " << c.option;
    }

    // 42 stored in row 500 touches no control and reads back from storage.
    std::vector<std::string> before;
    for (HWND c : g.cells)
        before.push_back(text_of(c));
    int f = GRID;
    WGridPutCell(f, INTEGER, 499, 42.0, "42", "");
    EXPECT_EQ(f, GRID);
    for (size_t i = 0; i < g.cells.size(); ++i)
        EXPECT_EQ(text_of(g.cells[i]), before[i]);
    double v = 0.0;
    WGridGetValue(f, INTEGER, 499, v);
    EXPECT_EQ(f, GRID);
    EXPECT_EQ(v, 42.0);
    // ... and shows once the row is scrolled into view.
    grid_vscroll(grid, SB_THUMBPOSITION, 499);
    EXPECT_EQ(g.top_row, 500 - g.rows_fit);
    HWND shown = grid_cell_on_screen(g, INTEGER, 499);
    ASSERT_TRUE(shown);
    EXPECT_EQ(text_of(shown), "42");
    WGridGetValue(f, INTEGER, 499, v);
    EXPECT_EQ(v, 42.0);
    grid_vscroll(grid, SB_THUMBPOSITION, 0);

    struct ValueCase {
        const char* what;
        int column, row;
        double put_value;
        const char* put_text;
        int mark;      // field id afterwards (GRID when it worked)
        double value;  // read back
        const char* text;
    };
    const ValueCase values[] = {
        {"never set", INTEGER, 3, 0.0, nullptr, -3, 0.0, ""},
        {"value 0 takes the text's number", REAL, 1, 0.0, "2.5", GRID, 2.5, "2.5"},
        {"a value wins over the text", REAL, 2, 3.0, "2.5", GRID, 3.0, "2.5"},
        {"off screen: value wins", DOUBLE, 300, 3.0, "2.5", GRID, 3.0, "3.000"},
        {"text cell", TEXT, 4, 0.0, "abcdefghijklmnopqrstuvwxyz", GRID, 0.0, "abcdefghijklmnopqrst"},
        {"check box is no number", CHECK, 1, 0.0, nullptr, -2, 0.0, nullptr},
        {"row beyond the rows", INTEGER, 500, 0.0, nullptr, -2, 0.0, nullptr},
        {"column beyond the columns", 6, 1, 0.0, nullptr, -2, 0.0, nullptr},
    };
    for (const ValueCase& c : values) {
        f = GRID;
        if (c.put_text)
            WGridPutCell(f, c.column, c.row, c.put_value, c.put_text, "");
        double got = 0.0;
        if (c.column != TEXT)
            WGridGetValue(f, c.column, c.row, got);
        EXPECT_EQ(f, c.mark) << c.what;
        if (c.mark == GRID && c.column != TEXT) {
            EXPECT_EQ(got, c.value) << c.what;
        }
        if (c.text) {
            int t = GRID;
            std::string text;
            WGridGetText(t, c.column, c.row, text, 100);
            if (c.mark == GRID || c.mark == -3) {
                EXPECT_EQ(text, c.text) << c.what;
            }
        }
    }

    ASSERT_EQ(SendMessageA(g.cell(MENU, 0), CB_GETCOUNT, 0, 0), 3);
    // Menus: a text without match selects option 1 and says so.
    int not_found = -1, option = 0;
    f = GRID;
    WGridPutMenuText(f, MENU, 2, not_found, "Helium");
    WGridGetMenu(f, MENU, 2, option);
    EXPECT_EQ(f, GRID);
    EXPECT_EQ(not_found, 1);
    EXPECT_EQ(option, 1);
    WGridPutMenuText(f, MENU, 400, not_found, "Argon");
    WGridGetMenu(f, MENU, 400, option);
    EXPECT_EQ(not_found, 0);
    EXPECT_EQ(option, 3);
    // Clearing a menu cell in mode 0 is refused and changes nothing.
    WGridClearCell(f, MENU, 400, 0);
    EXPECT_EQ(f, -2);
    f = GRID;
    WGridGetMenu(f, MENU, 400, option);
    EXPECT_EQ(option, 3);

    // Range checks: an inactive range accepts anything, the real column's 0..10 refuses 11.
    struct RangeCase {
        int column;
        double value;
        int mark;
    };
    const RangeCase ranges[] = {
        {INTEGER, 1e30, GRID}, {REAL, 10.0, GRID}, {REAL, 11.0, -3}, {REAL, -0.5, -3}};
    for (const RangeCase& c : ranges) {
        f = GRID;
        WGridRangeCheck(f, c.column, c.value);
        EXPECT_EQ(f, c.mark) << c.column << " " << c.value;
    }

    // Field ids that name no grid.
    for (int id : {1, 9999}) {
        f = id;
        WGridInfo(f, 1, option);
        EXPECT_EQ(f, -1) << id;
    }
    int type = 0;
    f = GRID;
    WGridColumnType(f, DOUBLE, type);
    EXPECT_EQ(type, 7);
    // A menu slot outside the slots is refused.
    f = GRID;
    WGridMenuAdd(f, MENU, g.slots, "Xenon");
    EXPECT_EQ(f, -2);
    f = GRID;
    WGridMenuAdd(f, INTEGER, 0, "Xenon");
    EXPECT_EQ(f, -1);
}

// The cell value routines turn the marks into toolkit errors.
TEST_F(GridTest, CellValueRoutinesRaiseToolkitErrors)
{
    struct ErrorCase {
        const char* what;
        void (*call)();
        int error;
    };
    const ErrorCase cases[] = {
        {"column 0", [] { WGridSelectCell(GRID, 0, 1); }, 1017},
        {"row beyond", [] { WGridSelectCell(GRID, 1, 501); }, 1017},
        {"not a grid",
         [] {
             std::string t(5, ' ');
             WGridGetString(1, 1, 1, t);
         },
         1006},
        {"outside the range", [] { WGridPutReal(GRID, 3, 1, 11.0f); }, 1009},
        {"menu cell emptied", [] { WGridEmptyCell(GRID, 6, 1); }, 1017},
        {"inactive range", [] { WGridPutReal(GRID, 2, 1, 1e20f); }, 0},
    };
    for (const ErrorCase& c : cases) {
        IErrorInfo(1);
        c.call();
        EXPECT_EQ(IErrorInfo(1), c.error) << c.what;
    }
    // Nothing stored after 1009.
    int f = GRID;
    double v = 0.0;
    WGridGetValue(f, REAL, 0, v);
    EXPECT_EQ(f, -3);

    WGridPutInteger(GRID, 2, 1, 7);
    f = GRID;
    std::string text;
    WGridGetText(f, INTEGER, 0, text, 100);
    EXPECT_EQ(text, "7");
    WGridGetValue(f, INTEGER, 0, v);
    EXPECT_EQ(v, 7.0);
    // A blank format uses the column's own ("(F8.3)" for the double column).
    WGridPutDouble(GRID, 4, 1, 1.25, "   ");
    WGridGetText(f, DOUBLE, 0, text, 100);
    EXPECT_EQ(text, "1.250");

    f = GRID;
    WGridPutCell(f, TEXT, 0, 0.0, "abc", "");
    std::string padded(5, '#');
    WGridGetString(GRID, 1, 1, padded);
    EXPECT_EQ(padded, "abc  ");

    // Without a dialog: 1005 before anything else.
    const int keep = DIALOG_TABLE.current_slot;
    DIALOG_TABLE.current_slot = 0;
    IErrorInfo(1);
    WGridPutInteger(GRID, 2, 1, 8);
    EXPECT_EQ(IErrorInfo(1), 1005);
    DIALOG_TABLE.current_slot = keep;
}

// Typed integers read back exactly; past the integer range the read reports error 4.
TEST_F(GridTest, TypedIntegersReadBackExactly)
{
    GridRecord& g = record(GRID);
    HWND grid = grid_window(GRID);
    WDialogShow(-1, -1, 0, 2);
    struct TypedCase {
        const char* typed;
        double value;
        int error;
    };
    const TypedCase cases[] = {{"123456789", 123456789.0, 0}, {"2147483648", 0.0, 4}};
    for (const TypedCase& c : cases) {
        HWND cell = grid_cell_on_screen(g, INTEGER, 0);
        SetFocus(cell);
        SetWindowTextA(cell, "");
        for (const char* p = c.typed; *p; ++p)
            SendMessageA(cell, WM_CHAR, static_cast<WPARAM>(*p), 0);
        EXPECT_EQ(text_of(cell), c.typed);
        // Scrolling stores the visible cells and brings row 0 back from storage.
        IErrorInfo(1);
        grid_vscroll(grid, SB_LINEDOWN, 0);
        EXPECT_EQ(IErrorInfo(1), c.error) << c.typed;
        grid_vscroll(grid, SB_LINEUP, 0);
        int f = GRID;
        double v = -1.0;
        WGridGetValue(f, INTEGER, 0, v);
        EXPECT_EQ(v, c.value) << c.typed;
    }
}

// Layout and scrolling cases.
TEST_F(GridTest, SlotsScrollingWheelLabelsAndHeader)
{
    GridRecord& g = record(GRID);
    HWND grid = grid_window(GRID);
    EXPECT_EQ(g.slots, g.rows_fit + 1);
    EXPECT_EQ(g.scale, 1);
    EXPECT_EQ(g.h_limit, 0);  // all six columns fit

    // Row labels: from the companion text, cut at 50 characters, trailing blanks trimmed.
    std::string label;
    int f = GRID;
    WGridGetRowLabel(f, 0, label);
    EXPECT_EQ(label, "Row 1");
    WGridGetRowLabel(f, 12, label);
    EXPECT_EQ(label, std::string(50, 'L'));
    WGridGetRowLabel(f, 13, label);
    EXPECT_EQ(label, "");
    WGridPutRowLabel(f, 20, std::string(60, 'x'));
    WGridGetRowLabel(f, 20, label);
    EXPECT_EQ(label.size(), 50u);
    std::string title;
    WGridGetColumnLabel(f, 2, title);
    EXPECT_EQ(title, "Count");

    // Page down stops at the last whole row; the wheel: 60 + 60 one line up, -240 two lines down.
    for (int i = 0; i < 100; ++i)
        grid_vscroll(grid, SB_PAGEDOWN, 0);
    EXPECT_EQ(g.top_row, 500 - g.rows_fit);
    grid_vscroll(grid, SB_THUMBPOSITION, 10);
    struct WheelCase {
        int deltas[2];
        int top;
    };
    const WheelCase wheel[] = {{{60, 60}, 9}, {{-240, 0}, 11}, {{-60, 0}, 11}, {{-60, 0}, 12}};
    for (const WheelCase& c : wheel) {
        for (int d : c.deltas)
            if (d)
                SendMessageA(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(d)), 0);
        EXPECT_EQ(g.top_row, c.top);
    }

    // An invalid number in the focused cell blocks scrolling.
    WDialogShow(-1, -1, 0, 2);
    HWND cell = grid_cell_on_screen(g, REAL, g.top_row);
    SetFocus(cell);
    SetWindowTextA(cell, "1.2.3");
    SendMessageA(cell, EM_SETMODIFY, TRUE, 0);
    grid_vscroll(grid, SB_LINEDOWN, 0);
    EXPECT_EQ(g.top_row, 12);
    SetWindowTextA(cell, "");
    grid_vscroll(grid, SB_LINEDOWN, 0);
    EXPECT_EQ(g.top_row, 13);

    // The header corner selects the whole grid.
    NMHEADERA click = {};
    click.hdr.hwndFrom = g.header;
    click.hdr.code = HDN_ITEMCLICKA;
    click.iItem = 0;
    SendMessageA(grid, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    const int all[4] = {0, 499, 0, 5};
    EXPECT_TRUE(std::equal(all, all + 4, g.block));
    RECT r;
    EXPECT_EQ(WGridBlockRect(grid, r), 1);
    WGridClearBlock(grid);
    EXPECT_EQ(g.block[0], -1);
    // A row-label click selects that row across all columns.
    click.hdr.hwndFrom = g.label_windows[2];
    SendMessageA(grid, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(g.block[0], g.top_row + 2);
    EXPECT_EQ(g.block[1], g.top_row + 2);
    EXPECT_EQ(g.block[3], 5);
}

// Sideways: with all columns fitting nothing scrolls; a narrow grid scrolls column by column.
TEST_F(GridTest, HorizontalScrolling)
{
    GridRecord& g = record(GRID);
    HWND grid = grid_window(GRID);
    grid_hscroll(grid, SB_PAGERIGHT, 0);
    EXPECT_EQ(g.first_column, 0);
    RECT r;
    GetWindowRect(grid, &r);
    SetWindowPos(grid, nullptr, 0, 0, 300, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(g.h_limit, 0);
    EXPECT_LT(g.last_column, 5);
    RECT before, after;
    GetWindowRect(g.cell(2, 0), &before);
    grid_hscroll(grid, SB_LINERIGHT, 0);
    EXPECT_EQ(g.first_column, 1);
    GetWindowRect(g.cell(2, 0), &after);
    EXPECT_EQ(before.left - after.left, g.col()[0].width - 1);  // the controls move, none is re-created
    for (int i = 0; i < 10; ++i)
        grid_hscroll(grid, SB_PAGERIGHT, 0);
    EXPECT_EQ(g.first_column, g.h_limit);
    EXPECT_EQ(g.last_column, 5);
}

// The client's height decides the row slots: more slots when it grows (also within the window budget
// of the Windows 95/98 family, forced here), fewer when it shrinks; the contents stay.
TEST_F(GridTest, SlotsGrowAndShrinkWithTheClient)
{
    GridRecord& g = record(GRID);
    HWND grid = grid_window(GRID);
    int f = GRID;
    WGridPutCell(f, TEXT, 3, 0.0, "kept", "");
    const int slots = g.slots;
    RECT r;
    GetWindowRect(grid, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    os_platform_force(1);
    SetWindowPos(grid, nullptr, 0, 0, width, height + 5 * (g.cell_height - 1), SWP_NOMOVE | SWP_NOZORDER);
    os_platform_force(-1);
    EXPECT_EQ(g.slots, slots + 5);
    EXPECT_EQ(g.cells.size(), static_cast<size_t>(6 * g.slots));
    EXPECT_EQ(grid_window_text(g.cell(TEXT, 3)), "kept");
    SetWindowPos(grid, nullptr, 0, 0, width, height - 3 * (g.cell_height - 1), SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(g.slots, slots - 3);
    EXPECT_EQ(g.label_windows.size(), static_cast<size_t>(g.slots));
    std::string text;
    WGridGetText(f, TEXT, 3, text, 100);
    EXPECT_EQ(text, "kept");
}

// The rows that fit at creation are the client height over the cell height, one fewer with a header
// bar, at least one. The fault: creation counted them with the scrolling formula (rows at a pitch of one
// pixel less, below the header), one row more on a client just short of ten cells, header or not.
TEST_F(GridTest, RowsThatFitAtCreation)
{
    HWND dialog = current_dialog_window();
    auto create = [dialog](LONG style, int height) {
        return CreateWindowExA(0, "ZAVAZER", "", WS_CHILD | GS_KEEP_HEIGHT | style, 0, 0, 300, height, dialog,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    };
    HWND probe = create(0, 100);
    ASSERT_TRUE(probe && grid_record(probe));
    const int c = grid_record(probe)->cell_height;
    DestroyWindow(probe);
    ASSERT_GT(c, 9);  // the two formulas differ on a client of 10 c - 1 pixels from here on
    struct FitCase {
        LONG style;
        int client_height;
        int rows_fit;
    };
    const FitCase cases[] = {
        {0, 10 * c - 1, 9}, {GS_HEADER, 10 * c - 1, 8}, {0, 3 * c, 3}, {GS_HEADER, c / 2, 1}, {0, c / 2, 1}};
    for (const FitCase& k : cases) {
        HWND grid = create(k.style, k.client_height);
        ASSERT_TRUE(grid && grid_record(grid));
        RECT client;
        GetClientRect(grid, &client);
        EXPECT_EQ(client.bottom, k.client_height);  // the height is kept
        EXPECT_EQ(grid_record(grid)->rows_fit, k.rows_fit) << k.style << " " << k.client_height;
        DestroyWindow(grid);
    }
}

// A locked grid lets the mouse pass through.
TEST_F(GridTest, LockedGridLetsTheMousePass)
{
    HWND grid = grid_window(GRID);
    EXPECT_NE(SendMessageA(grid, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    SendMessageA(grid, GM_LOCK, 0, 0);
    EXPECT_EQ(record(GRID).locked, 1);
    EXPECT_EQ(SendMessageA(grid, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(SendMessageA(record(GRID).client, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(GridTest, FewRowsAndFailedSetUps)
{
    load(FEW_DIALOG);
    GridRecord& g = record(3501);
    EXPECT_EQ(g.slots, 4);  // slots equal rows when fewer rows than fit
    grid_vscroll(grid_window(3501), SB_PAGEDOWN, 0);
    EXPECT_EQ(g.top_row, 0);
    // A template control of another class, and more rows than the cell code names: no grid.
    EXPECT_EQ(grid_window(3502), nullptr);
    EXPECT_EQ(grid_window(3503), nullptr);
    // The rows in use are cut at the capacity; with no rows the current cell is (0, 0).
    int f = 3501, rows = 0;
    WGridSetRows(f, 10);
    WGridInfo(f, 3, rows);
    EXPECT_EQ(rows, 4);
    WGridSetRows(f, 0);
    EXPECT_EQ(g.current_column, 0);
    EXPECT_EQ(g.current_row, 0);
    EXPECT_FALSE(IsWindowVisible(g.cell(0, 0)));
    // A resize while no rows are in use keeps the slots, so the rows can come back.
    HWND grid = grid_window(3501);
    RECT r;
    GetWindowRect(grid, &r);
    SetWindowPos(grid, nullptr, 0, 0, r.right - r.left, r.bottom - r.top - 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(g.slots, 4);
    WGridSetRows(f, 3);
    WGridInfo(f, 3, rows);
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(GetWindowLongA(g.cell(0, 2), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(g.cell(0, 3), GWL_STYLE) & WS_VISIBLE);
}

// 200,000 rows: thumb positions address rows in steps of 4, keyboard moves set the exact top row.
TEST_F(GridTest, ScrollScaleAndKeyboardMoves)
{
    load(SCALE_DIALOG);
    WDialogShow(-1, -1, 0, 2);
    GridRecord& g = record(3301);
    HWND grid = grid_window(3301);
    EXPECT_EQ(g.scale, 4);
    grid_vscroll(grid, SB_THUMBPOSITION, 1000);
    EXPECT_EQ(g.top_row, 4000);
    int f = 3301;
    WGridSetCell(f, 0, 4000 + g.rows_fit - 1);
    HWND cell = GetFocus();
    ASSERT_EQ(grid_of_cell(cell), grid);
    SendMessageA(cell, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(g.current_row, 4000 + g.rows_fit);
    EXPECT_EQ(g.top_row, 4001);  // not a multiple of the scale
}

// A grid of 100,000 rows has controls for the rows on screen only.
TEST_F(GridTest, HundredThousandRowsHaveOnlySlotControls)
{
    load(BENCH_DIALOG);
    GridRecord& g = record(3201);
    int cells = 0;
    for (HWND c = GetWindow(g.client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, UPDOWN_CLASSA) != 0)
            ++cells;
    }
    EXPECT_EQ(g.rows, 100000);
    EXPECT_EQ(cells, 6 * (g.rows_fit + 1));
}

// "GM_CELLCHANGE" reaches the application as a field change of the grid with the cell code.
TEST_F(GridTest, CellChangeIsFieldChangedEvent)
{
    WDialogShow(-1, -1, 0, 2);
    int f = GRID;
    WGridSetCell(f, 2, 7);
    drain_messages();
    // Down in the current cell, as a person presses it: the cell below becomes current.
    HWND cell = GetFocus();
    ASSERT_EQ(grid_of_cell(cell), grid_window(GRID));
    WMessageEnable(MsgFieldChanged, 1);
    PostMessageA(cell, WM_KEYDOWN, VK_DOWN, 0);
    WinMessage m;
    int type = 0, last_code = 0, field = 0;
    for (int i = 0; i < 50; ++i) {
        WMsgPeek(type, m);
        if (type == MsgNone)
            break;
        if (type == MsgFieldChanged && m.window == GRID_DIALOG) {
            last_code = m.y;
            field = m.value2;
        }
    }
    WMessageEnable(MsgFieldChanged, 0);
    EXPECT_EQ(field, GRID);
    EXPECT_EQ(last_code, GridCellCode(2, 8));
}

// A modal copy shares the loaded grid's storage; the copy back keeps every cell.
TEST_F(GridTest, ModalCopyAndCopyBackKeepEveryCell)
{
    HWND loaded = grid_window(GRID);
    GridRecord& g = record(GRID);
    int f = GRID;
    WGridPutCell(f, TEXT, 1, 0.0, "loaded", "");
    WGridPutCell(f, DOUBLE, 450, 0.0, "6.5", "");
    WGridPutCheckBox(f, CHECK, 2, 1);
    HWND copy_dialog = CreateDialogParamA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(GRID_DIALOG), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_TRUE(copy_dialog);
    HWND copy = GetDlgItem(copy_dialog, GRID);
    WGridCopy(copy, loaded, 1);
    GridRecord& c = *grid_record(copy);
    EXPECT_EQ(c.setup, 1);
    EXPECT_EQ(c.slots, g.slots);
    EXPECT_EQ(text_of(grid_cell_on_screen(c, TEXT, 1)), "loaded");
    EXPECT_EQ(SendMessageA(grid_cell_on_screen(c, CHECK, 2), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Edits in the copy while it runs as the modal dialog, then the copy back.
    DIALOG_TABLE.modal = copy_dialog;
    SetWindowTextA(grid_cell_on_screen(c, TEXT, 3), "edited");
    SendMessageA(grid_cell_on_screen(c, CHECK, 2), BM_SETCHECK, BST_UNCHECKED, 0);
    WGridCopy(loaded, copy, 1);
    DIALOG_TABLE.modal = nullptr;
    DestroyWindow(copy_dialog);
    std::string text;
    WGridGetText(f, TEXT, 1, text, 100);
    EXPECT_EQ(text, "loaded");
    WGridGetText(f, TEXT, 3, text, 100);
    EXPECT_EQ(text, "edited");
    int state = -1;
    WGridGetCheckBox(f, CHECK, 2, state);
    EXPECT_EQ(state, 0);
    double v = 0.0;
    WGridGetValue(f, DOUBLE, 450, v);
    EXPECT_EQ(v, 6.5);
    EXPECT_EQ(f, GRID);
}

// The dialog layer's side: field clear, field state, colours.
TEST_F(GridTest, FieldClearStateAndColours)
{
    GridRecord& g = record(GRID);
    int f = GRID;
    WGridPutCell(f, TEXT, 0, 0.0, "gone", "");
    WGridPutCell(f, INTEGER, 499, 5.0, "5", "");
    int field = GRID;
    WDialogFieldClear(field);
    EXPECT_EQ(field, GRID);
    std::string text = "x";
    WGridGetText(f, TEXT, 0, text, 100);
    EXPECT_EQ(text, "");
    double v = 0.0;
    WGridGetValue(f, INTEGER, 499, v);
    EXPECT_EQ(f, -3);
    EXPECT_EQ(SendMessageA(g.cell(MENU, 0), CB_GETCOUNT, 0, 0), 0);  // menus emptied

    f = GRID;
    WGridCellReadOnly(f, TEXT, 1, 0);
    WDialogFieldState(GRID, 2);
    for (int s = 0; s < 3; ++s)
        EXPECT_TRUE(GetWindowLongA(g.cell(TEXT, s), GWL_STYLE) & ES_READONLY) << s;
    WDialogFieldState(GRID, 1);
    EXPECT_FALSE(GetWindowLongA(g.cell(TEXT, 0), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongA(g.cell(TEXT, 1), GWL_STYLE) & ES_READONLY);  // its own bit

    // A cell colour lives in the column's table and follows its row through scrolling.
    WGridCellColour(f, REAL, 2, 255, 0, 0, -1, 0, 0);
    EXPECT_EQ(field_record(g.cell(REAL, 2))->foreground, 255);
    grid_vscroll(grid_window(GRID), SB_LINEDOWN, 0);
    EXPECT_EQ(field_record(g.cell(REAL, 1))->foreground, 255);
    EXPECT_EQ(field_record(g.cell(REAL, 2))->foreground, -1);
    WGridColumnColour(f, REAL, 256, 0, 0, 0, 0, 255);
    EXPECT_TRUE(g.col()[REAL].colours.empty());
    EXPECT_EQ(field_record(g.cell(REAL, 1))->foreground, -1);
    EXPECT_EQ(field_record(g.cell(REAL, 1))->background, 0xFF0000);
}

TEST_F(GridTest, SwapRowsOnAndOffScreen)
{
    GridRecord& g = record(GRID);
    int f = GRID;
    WGridPutCell(f, TEXT, 1, 0.0, "near", "");
    WGridPutCell(f, INTEGER, 1, 0.0, "11", "");
    WGridPutCell(f, TEXT, 400, 0.0, "far", "");
    WGridSwapRows(f, 1, 400, 1);
    EXPECT_EQ(f, GRID);
    EXPECT_EQ(text_of(g.cell(TEXT, 1)), "far");
    EXPECT_EQ(text_of(g.cell(INTEGER, 1)), "");
    double v = 0.0;
    WGridGetValue(f, INTEGER, 400, v);
    EXPECT_EQ(v, 11.0);
    std::string label;
    WGridGetRowLabel(f, 400, label);
    EXPECT_EQ(label, "Row 2");
}

TEST(GridDialogLayer, TreeFilledFromMenu)
{
    open_test_main_window();
    WGridRegister();
    WDialogLoad(TREE_DIALOG);
    WDialogSelect(TREE_DIALOG);
    HWND tree = GetDlgItem(current_dialog_window(), 3401);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 6);
    HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    char text[64] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
    item.hItem = first;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    item.stateMask = TVIS_EXPANDED;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Gases");
    EXPECT_TRUE(item.state & TVIS_EXPANDED);  // its menu item is checked
    HTREEITEM selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.hItem = selected;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Oxygen");
    EXPECT_EQ(item.lParam, 3453);
    WDialogUnload();
}

// Keyboard messages of a child window with its own keyboard handling (kind 1) or a grid window (kind 4)
// go through the window's accelerator tables, and for kind 1 to its dialog.
TEST(GridDialogLayer, ChildWindowKeyboardRouting)
{
    open_test_main_window();
    WGridRegister();
    int handle = -1;
    WWinOpenChild(handle, 7, 100, 100, 4000, 4000, "Keys");
    ASSERT_GE(handle, 1);
    HWND frame = WIN_TABLE.slot[handle].frame;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                WIN_TABLE.slot[handle].client, nullptr, GetModuleHandleA(nullptr), nullptr);
    ACCEL keys[1] = {{FVIRTKEY, VK_F5, 4242}};
    HACCEL table = CreateAcceleratorTableA(keys, 1);
    WinRecord record;
    record.kind = RECORD_GRID;
    record.accelerators[1] = table;
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    struct RouteCase {
        int kind;
        int menu_id;  // 0: no menu message expected
    };
    const RouteCase cases[] = {{RECORD_GRID, 4242}, {RECORD_OWN_KEYS, 4242}, {0, 0}};
    for (const RouteCase& c : cases) {
        record.kind = c.kind;
        drain_messages();
        PostMessageA(edit, WM_KEYDOWN, VK_F5, 0);
        WinMessage m;
        bool got = poll_for(MsgMenu, m);
        EXPECT_EQ(got, c.menu_id != 0) << c.kind;
        if (got) {
            EXPECT_EQ(m.value1, c.menu_id);
        }
    }
    // Kind 1 also offers the message to its dialog: Tab moves the focus from OK to Cancel.
    HWND dialog = CreateDialogParamA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(GRID_DIALOG), frame,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_TRUE(dialog);
    ShowWindow(dialog, SW_SHOW);
    record.kind = RECORD_OWN_KEYS;
    record.inner = dialog;
    SetFocus(GetDlgItem(dialog, 1));
    ASSERT_EQ(GetFocus(), GetDlgItem(dialog, 1));
    drain_messages();
    PostMessageA(GetDlgItem(dialog, 1), WM_KEYDOWN, VK_TAB, 0);
    drain_messages();
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 2));
    DestroyWindow(dialog);
    SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    DestroyAcceleratorTable(table);
    WWinCloseChild(handle);
}

}  // namespace
