// The grid's storage and layout arithmetic.
#include "toolkit/grid/grid_storage.h"
#include "toolkit/win/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(GridStorage, CellCodeHoldsEighteenRowBits)
{
    struct Case {
        int column, row, code;
    };
    const Case cases[] = {
        {0, 0, (1 << 18) + 1}, {5, 499, (6 << 18) + 500}, {2, GRID_MAX_ROWS - 1, (3 << 18) + GRID_MAX_ROWS}};
    for (const Case& c : cases) {
        EXPECT_EQ(GridCellCode(c.column, c.row), c.code);
        EXPECT_EQ(grid_code_column(c.code), c.column);
        EXPECT_EQ(grid_code_row(c.code), c.row);
    }
}

TEST(GridStorage, PutsReadsClearsAndSwapsByKind)
{
    GridColumn text, integer, real, dbl, check;
    ASSERT_TRUE(grid_column_allocate(text, GRID_TEXT, 4, 10));
    ASSERT_TRUE(grid_column_allocate(integer, GRID_INTEGER, 11, 10));
    ASSERT_TRUE(grid_column_allocate(real, GRID_REAL, 0, 10));
    ASSERT_TRUE(grid_column_allocate(dbl, GRID_DOUBLE, 0, 10));
    ASSERT_TRUE(grid_column_allocate(check, GRID_CHECK, 0, 10));
    EXPECT_EQ(grid_column_capacity(dbl), 10);

    // Never set: numbers are undefined, texts blank, check boxes -2.
    double v = 0.0;
    EXPECT_EQ(grid_stored_value(integer, 3, v), -3);
    EXPECT_EQ(grid_stored_value(text, 3, v), -3);
    EXPECT_EQ(grid_stored_value(check, 3, v), -2);
    EXPECT_EQ(grid_stored_text(integer, 3, DEFAULT_REAL_FORMAT), "");

    grid_store_put(text, 3, 0.0, "abcdefg", true);     // cut to the column length 4
    grid_store_put(integer, 3, -12.9, "-12.9", true);  // truncated toward zero
    grid_store_put(real, 3, 2.5, "2.5", true);
    grid_store_put(dbl, 3, 0.1, "0.1", true);
    EXPECT_EQ(grid_stored_string(text, 3), "abcd");
    EXPECT_EQ(grid_stored_text(integer, 3, DEFAULT_REAL_FORMAT), "-12");
    EXPECT_EQ(grid_stored_text(real, 3, DEFAULT_REAL_FORMAT), "2.5000");
    EXPECT_EQ(grid_stored_text(dbl, 3, "(F6.3)"), "0.100");
    ASSERT_EQ(grid_stored_value(dbl, 3, v), 0);
    EXPECT_EQ(v, 0.1);
    ASSERT_EQ(grid_stored_value(real, 3, v), 0);
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(integer.flags[3], GRID_DEFINED | GRID_NON_BLANK);

    // A put of an empty text leaves the number undefined.
    grid_store_put(integer, 4, 5.0, "", false);
    EXPECT_EQ(grid_stored_value(integer, 4, v), -3);

    // Swap moves contents and the value flags, never the read-only flag.
    integer.flags[4] |= GRID_READ_ONLY;
    grid_store_swap(integer, 3, 4);
    grid_store_swap(text, 3, 4);
    EXPECT_EQ(integer.flags[3], 0);
    EXPECT_EQ(integer.flags[4], GRID_READ_ONLY | GRID_DEFINED | GRID_NON_BLANK);
    ASSERT_EQ(grid_stored_value(integer, 4, v), 0);
    EXPECT_EQ(v, -12.0);
    EXPECT_EQ(grid_stored_string(text, 4), "abcd");
    EXPECT_EQ(grid_stored_string(text, 3), "");

    grid_store_clear(integer, 4);
    EXPECT_EQ(grid_stored_value(integer, 4, v), -3);
    EXPECT_EQ(integer.flags[4], GRID_READ_ONLY);
}

TEST(GridStorage, ScrollScaleRowsAndSlots)
{
    struct Case {
        int rows, scale;
    };
    const Case scales[] = {{0, 1}, {65536, 1}, {65537, 2}, {200000, 4}, {GRID_MAX_ROWS, 4}};
    for (const Case& c : scales)
        EXPECT_EQ(grid_scroll_scale(c.rows), c.scale) << c.rows;
    // Cells 20 pixels high overlap by one: 10 whole rows need 20 + 9 * 19 = 191 pixels.
    EXPECT_EQ(grid_rows_that_fit(191, 20), 10);
    EXPECT_EQ(grid_rows_that_fit(190, 20), 9);
    EXPECT_EQ(grid_rows_that_fit(5, 20), 1);
    // Slots equal rows when fewer rows than fit; one partly visible slot more otherwise.
    EXPECT_EQ(grid_slot_count(10, 4), 4);
    EXPECT_EQ(grid_slot_count(10, 10), 10);
    EXPECT_EQ(grid_slot_count(10, 500), 11);
}

TEST(GridStorage, HorizontalLimitAndLastVisibleColumn)
{
    const std::vector<int> widths = {101, 101, 101, 101};  // 100 pixels each at a one-pixel overlap
    int page = 0;
    EXPECT_EQ(grid_horizontal_limit(widths, 500, page), 0);  // all fit: page right hides nothing
    EXPECT_EQ(page, 4);
    EXPECT_EQ(grid_horizontal_limit(widths, 250, page), 2);  // columns 2 and 3 fill 250 from the end
    EXPECT_EQ(page, 2);
    EXPECT_EQ(grid_last_visible_column(widths, 0, 250), 1);
    EXPECT_EQ(grid_last_visible_column(widths, 1, 250), 2);
    EXPECT_EQ(grid_last_visible_column(widths, 0, 500), 3);
}

TEST(GridStorage, SlotBudgetKeepsTheSystemWithin16000Windows)
{
    struct Case {
        int windows, per_slot, wanted, added;
    };
    const Case cases[] = {
        {100, 7, 10, 10},                      // far below the budget
        {15960, 7, 10, 5},                     // 40 windows left: five slots of seven
        {15999, 7, 10, 0}, {17000, 7, 10, 0},  // already beyond: nothing, never negative
        {0, 0, 3, 3},                          // no windows per slot counted as one
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid_slot_budget(c.windows, c.per_slot, c.wanted), c.added) << c.windows;
}

TEST(GridStorage, WheelScrollsOneLinePer120)
{
    struct Case {
        int deltas[3];
        int lines;  // positive: down
        int left;   // accumulated afterwards
    };
    const Case cases[] = {
        {{60, 60, 0}, -1, 0},  // two halves make one line up
        {{-240, 0, 0}, 2, 0},  // two lines down at once
        {{-100, 0, 0}, 0, -100},
        {{-100, -30, 0}, 1, -10},
    };
    for (const Case& c : cases) {
        int acc = 0, lines = 0;
        for (int d : c.deltas)
            lines += grid_wheel_lines(acc, d);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(acc, c.left);
    }
}

TEST(GridStorage, SetUpLineAndRowLabels)
{
    const std::string text =
        "6 500 3001  \n 40 \nfirst  \n\n" + std::string(60, 'x') + "\r\nlast\n[Ranges]\n";
    GridSetupLine line = parse_grid_line(text);
    EXPECT_EQ(line.columns, 6);
    EXPECT_EQ(line.rows, 500);
    EXPECT_EQ(line.template_id, 3001);
    EXPECT_EQ(line.consumed, 10u);

    // The label block starts behind the width number of the next line.
    std::vector<std::string> labels;
    const std::string block = text.substr(text.find("40") + 2);
    size_t used = parse_row_labels(block, 3, false, labels);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0], "first");               // trailing blanks trimmed
    EXPECT_EQ(labels[1], "");                    // an empty line gives an empty label
    EXPECT_EQ(labels[2], std::string(50, 'x'));  // cut at 50, CR dropped
    EXPECT_EQ(block[used], '\n');                // stops before the last label line's end
    EXPECT_EQ(block.substr(used + 1, 4), "last");

    // The text may end early; the other labels stay empty.
    used = parse_row_labels(" \nonly\n", 3, false, labels);
    EXPECT_EQ(labels[0], "only");
    EXPECT_EQ(labels[2], "");
    // Without label texts only the rest of the width line is passed.
    EXPECT_EQ(parse_row_labels(" \nonly\n", 3, true, labels), 1u);
}

}  // namespace
