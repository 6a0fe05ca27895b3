// The flowfield section picture drawn by the real toolkit into its window: the pixels of element
// colours on the property ramp, a body, an unsampled cell, a surface trace, the reported point's
// marker and a flow-direction line, on the black and on the white background.
#include "app/displays/clear_display_state.h"
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/geometry/setup.h"
#include "app/state/clear_state.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

#include "../win/win_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;

// Box 0..4 x 0..4 x 0..1 of 2 x 2 x 1 divisions of 2 x 2 x 1 elements: cell c = 1 + i + 4 j of the
// element (i, j) from the lower left, temperature 100 c, well sampled; the element of cell 4 lies in a
// body and cell 6 is not well sampled. One solid triangle crosses the plane z = 0.5 from (2, 0.5) to
// (0.5, 2); the gas moves along +x.
void make_plane()
{
    clear_every_state_group();
    clear_display_state();
    BoxState& B = BOX;
    B.XMAX = B.YMAX = 4.0f;
    B.ZMAX = 1.0f;
    B.DIVISIONS_X = B.DIVISIONS_Y = 2;
    B.DIVISIONS_Z = 1;
    B.ELEMENTS_PER_DIVISION_X = B.ELEMENTS_PER_DIVISION_Y = 2;
    B.ELEMENTS_PER_DIVISION_Z = 1;
    set_lattice_scalars();
    Divisions& D = DIVISIONS;
    ASSERT_TRUE(D.ELEMENT_CELL.allocate(1, 2, 2, 1, 2, 2));
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            D.ELEMENT_CELL(1, j / 2 + 1, i / 2 + 1, 1, j % 2 + 1, i % 2 + 1) = 1 + i + 4 * j;
    D.ELEMENT_CELL(1, 1, 2, 1, 1, 2) = -1;  // i = 3, j = 0: cell 4's element
    CELLS.CELL_COUNT = CELLS.MAX_CELLS = 16;
    ASSERT_TRUE(CELLS.CELL_DATA.allocate(CELL_DATA_FIELDS, 16));
    GAS.SPECIES_COUNT = 1;
    ASSERT_TRUE(RESULTS.VAR.allocate(VAR_FRACTION + 1, 16));
    ASSERT_TRUE(RESULTS.SPECIES_VAR.allocate(SPECIES_VAR_ROWS, 16, 1));
    for (int c = 1; c <= 16; ++c) {
        CELLS.CELL_DATA(CELL_VOLUME, c) = 1.0f;
        RESULTS.VAR(VAR_SAMPLE_SIZE, c) = 1000.0f;
        RESULTS.VAR(VAR_MOLS_PER_CELL, c) = 10.0f;
        RESULTS.VAR(VAR_TEMP, c) = 100.0f * c;
        RESULTS.VAR(VAR_U, c) = 100.0f;
    }
    RESULTS.VAR(VAR_SAMPLE_SIZE, 6) = 10.0f;
    SAMPLES.SAMPLE_COUNT = 20;

    SurfaceState& S = SURFACE;
    S.POINT_COUNT = 3;
    S.TRIANGLE_COUNT = 1;
    ASSERT_TRUE(S.POINT_X.allocate(3) && S.POINT_Y.allocate(3) && S.POINT_Z.allocate(3));
    const float corners[3][3] = {{0.5f, 0.5f, 0.0f}, {3.5f, 0.5f, 1.0f}, {0.5f, 3.5f, 1.0f}};
    for (int p = 1; p <= 3; ++p) {
        S.POINT_X(p) = corners[p - 1][0];
        S.POINT_Y(p) = corners[p - 1][1];
        S.POINT_Z(p) = corners[p - 1][2];
    }
    ASSERT_TRUE(S.TRIANGLE.allocate(6, 1));
    for (int k = 1; k <= 3; ++k)
        S.TRIANGLE(k, 1) = k;
    S.TRIANGLE(TRIANGLE_KIND, 1) = 1;
    ASSERT_TRUE(D.DIVISION_INFO.allocate(3, 1, 2, 2));
    D.DIVISION_INFO(DIVISION_CODE, 1, 1, 1) = -1;  // the lower left division holds the triangle
    D.SURFACE_DIVISION_COUNT = 1;
    ASSERT_TRUE(D.SURFACE_INDEX.allocate(2, 1));
    D.SURFACE_INDEX(SURFACE_INDEX_COUNT, 1) = 1;
    D.TOTAL_SURFACE_INDEX_SIZE = 1;
    ASSERT_TRUE(D.TOTAL_SURFACE_INDEX.allocate(1));
    D.TOTAL_SURFACE_INDEX(1) = 1;

    open_section_display_state();
    DISPLAY.FLOW_LINE_COUNT = 1;
    DISPLAY.FLOW_LINE_X[0] = 1.5f;  // a line along y = 2.5
    DISPLAY.FLOW_LINE_Y[0] = 2.5f;
    SECTION.SECTION_POINT_SHOWN = 1;
    SECTION.SECTION_POINT_X = 3.0f;
    SECTION.SECTION_POINT_Y = 3.5f;
}

// The pixel of the window's client under a point of the plane: the frame -0.2..4.2 spans the 621
// columns and the upper 621 rows.
Rgb pixel_at(HDC dc, double x, double y)
{
    const int px = static_cast<int>((x + 0.2) / 4.4 * 620.0 + 0.5);
    const int py = static_cast<int>((4.2 - y) / 4.4 * 620.0 + 0.5);
    const COLORREF c = GetPixel(dc, px, py);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// Whether the pixel under the point, or one of its eight neighbours, shows the colour (lines are one
// pixel wide and may fall on either side of a rounding).
bool colour_near(HDC dc, double x, double y, const Rgb& colour)
{
    const int px = static_cast<int>((x + 0.2) / 4.4 * 620.0 + 0.5);
    const int py = static_cast<int>((4.2 - y) / 4.4 * 620.0 + 0.5);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const COLORREF c = GetPixel(dc, px + dx, py + dy);
            if (Rgb{GetRValue(c), GetGValue(c), GetBValue(c)} == colour)
                return true;
        }
    return false;
}

// The plane of make_plane and the section display's window of the picture's size; the window's number.
int open_picture_window()
{
    open_test_main_window();
    make_plane();
    int window = -1;
    WWinOpenChild(window, 7, 393, 23, SECTION_PICTURE_WIDTH, SECTION_PICTURE_HEIGHT, "Section picture test");
    SECTION.SECTION_WINDOW = window;
    drain_messages();
    return window;
}

TEST(SectionPicturePixels, ElementsTracesMarkerAndLinesOnBothBackgrounds)
{
    const int window = open_picture_window();
    ASSERT_GT(window, 0);

    for (int white = 0; white <= 1; ++white) {
        SCOPED_TRACE(white ? "white background" : "black background");
        SECTION.SECTION_WHITE_BACKGROUND.set(white);
        DRAW_FLOWFIELD_SECTION();
        drain_messages();
        HDC dc = GetDC(WIN_TABLE.slot[window].client);
        ASSERT_NE(dc, nullptr);
        RECT client{};
        GetClientRect(WIN_TABLE.slot[window].client, &client);
        EXPECT_EQ(client.right, SECTION_PICTURE_WIDTH);
        EXPECT_EQ(client.bottom, SECTION_PICTURE_HEIGHT);
        // Element centres: cells 1 (the lowest colour), 10 and 16 (the top) on the ramp; range 100..1600.
        EXPECT_EQ(pixel_at(dc, 0.5, 0.5), (Rgb{0, 0, 255})) << "cell 1";
        EXPECT_EQ(pixel_at(dc, 1.5, 2.5), (Rgb{96, 255, 0})) << "cell 10";
        EXPECT_EQ(pixel_at(dc, 3.5, 3.5), (Rgb{255, 12, 0})) << "cell 16";
        const Rgb body = white ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
        const Rgb no_data = white ? Rgb{0, 0, 255} : Rgb{255, 255, 255};
        EXPECT_EQ(pixel_at(dc, 3.5, 0.5), body) << "the body element";
        EXPECT_EQ(pixel_at(dc, 1.5, 1.2), no_data) << "unsampled cell 6";
        // The trace from (2, 0.5) to (0.5, 2), white on black and black on white.
        EXPECT_TRUE(colour_near(dc, 1.25, 1.25, white ? Rgb{0, 0, 0} : Rgb{255, 255, 255})) << "trace";
        // The flow-direction line from (1.5, 2.5) downstream to (3.5, 2.5) (upstream the first step
        // leaves the box) and the marker at (3, 3.5), in colour 215.
        EXPECT_TRUE(colour_near(dc, 2.3, 2.5, Rgb{32, 32, 32})) << "flow line";
        EXPECT_TRUE(colour_near(dc, 3.0, 3.5, Rgb{32, 32, 32})) << "marker";
        ReleaseDC(WIN_TABLE.slot[window].client, dc);
    }
    WWinCloseChild(window);
}

// The legend's scale labels (range 100..1600: "0.2" ... "1.4" under the major ticks), read from the
// picture: each label's ink is centred under its tick and stands clear below the base line. Faults this
// catches: the screen gave text of its proportional font no width, so labels started at their point
// instead of being centred on it (about 20 pixels right of the tick), and it drew such text letter by
// letter at a fixed pitch, each letter centred half a cell above the base line (digit tops touching the
// base line, a minor tick through the last digit).
TEST(SectionPicturePixels, LegendLabelsAreCentredUnderTheirTicksBelowTheBaseLine)
{
    const int window = open_picture_window();
    ASSERT_GT(window, 0);
    DRAW_FLOWFIELD_SECTION();
    drain_messages();
    HDC dc = GetDC(WIN_TABLE.slot[window].client);
    ASSERT_NE(dc, nullptr);
    // Text, base line and ticks are white on the black strip (the bar's ramp holds no white); the
    // strip is the lowest tenth. Text edges may be shaded: any bright pixel below the bar is ink.
    auto white = [&](int x, int y) { return GetPixel(dc, x, y) == RGB(255, 255, 255); };
    auto ink = [&](int x, int y) {
        const COLORREF c = GetPixel(dc, x, y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 128;
    };
    const int strip_top = SECTION_PICTURE_HEIGHT - SECTION_PICTURE_HEIGHT / 10;
    // The columns of the bar, x = 0..1 in units of -0.055555..1.055555 across the picture.
    const int bar_left = static_cast<int>(0.055555 / 1.11111 * SECTION_PICTURE_WIDTH) + 2;
    const int bar_right = static_cast<int>(1.055555 / 1.11111 * SECTION_PICTURE_WIDTH) - 2;
    int base_row = -1;
    for (int y = strip_top; y < SECTION_PICTURE_HEIGHT && base_row < 0; ++y) {
        int count = 0;
        for (int x = bar_left; x <= bar_right; ++x)
            count += white(x, y) ? 1 : 0;
        if (count > (bar_right - bar_left) * 9 / 10)
            base_row = y;
    }
    ASSERT_GT(base_row, 0) << "no base line under the bar";
    // Major ticks reach 0.015 above the base line, minor ones 0.0075: the row 0.012 up crosses majors only.
    const int tick_row = base_row - static_cast<int>(0.12 * SECTION_PICTURE_HEIGHT / 10);
    std::vector<int> ticks;
    for (int x = bar_left; x <= bar_right; ++x)
        if (white(x, tick_row) && !white(x - 1, tick_row))
            ticks.push_back(x);
    ASSERT_EQ(ticks.size(), 7u) << "major ticks at 200, 400, ... 1400";
    const int gap = ticks[1] - ticks[0];
    // The labels' rows: from the base line down to 0.034, above the title at 0.02.
    const int label_bottom = SECTION_PICTURE_HEIGHT - static_cast<int>(0.34 * SECTION_PICTURE_HEIGHT / 10);
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        SCOPED_TRACE("label " + std::to_string(k + 1));
        int left = 1 << 30, right = -1, top = 1 << 30;
        for (int y = base_row + 1; y <= label_bottom; ++y)
            for (int x = ticks[k] - gap / 2 + 1; x < ticks[k] + gap / 2; ++x)
                if (ink(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                }
        ASSERT_GE(right, 0) << "no label ink near the tick at column " << ticks[k];
        EXPECT_LE(std::abs((left + right) / 2 - ticks[k]), 3)
            << "ink " << left << ".." << right << ", tick " << ticks[k];
        EXPECT_GE(top, base_row + 3) << "the label touches the base line at row " << base_row;
    }
    ReleaseDC(WIN_TABLE.slot[window].client, dc);
    WWinCloseChild(window);
}

}  // namespace
