// The flowfield section picture drawn by the real toolkit into its window: the pixels of element
// colours on the property ramp, a body, an unsampled cell, a surface trace, the reported point's
// marker and a flow-direction line, on the black and on the white background.
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/geometry/setup.h"
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

#include <array>

namespace {

using Rgb = std::array<int, 3>;

// Box 0..4 x 0..4 x 0..1 of 2 x 2 x 1 divisions of 2 x 2 x 1 elements: cell c = 1 + i + 4 j of the
// element (i, j) from the lower left, temperature 100 c, well sampled; the element of cell 4 lies in a
// body and cell 6 is not well sampled. One solid triangle crosses the plane z = 0.5 from (2, 0.5) to
// (0.5, 2); the gas moves along +x.
void make_plane()
{
    BOX = BoxState{};
    BoxState& B = BOX;
    B.XMAX = B.YMAX = 4.0f;
    B.ZMAX = 1.0f;
    B.DIVISIONS_X = B.DIVISIONS_Y = 2;
    B.DIVISIONS_Z = 1;
    B.ELEMENTS_PER_DIVISION_X = B.ELEMENTS_PER_DIVISION_Y = 2;
    B.ELEMENTS_PER_DIVISION_Z = 1;
    DIVISIONS = Divisions{};
    set_lattice_scalars();
    Divisions& D = DIVISIONS;
    ASSERT_TRUE(D.ELEMENT_CELL.allocate(1, 2, 2, 1, 2, 2));
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            D.ELEMENT_CELL(1, j / 2 + 1, i / 2 + 1, 1, j % 2 + 1, i % 2 + 1) = 1 + i + 4 * j;
    D.ELEMENT_CELL(1, 1, 2, 1, 1, 2) = -1;  // i = 3, j = 0: cell 4's element
    CELLS = Cells{};
    CELLS.CELL_COUNT = CELLS.MAX_CELLS = 16;
    ASSERT_TRUE(CELLS.CELL_DATA.allocate(CELL_DATA_FIELDS, 16));
    GAS = GasState{};
    GAS.SPECIES_COUNT = 1;
    RESULTS = FlowResults{};
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
    SAMPLES = SampleSums{};
    SAMPLES.SAMPLE_COUNT = 20;

    SURFACE = SurfaceState{};
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

    RUN = RunState{};
    DISPLAY = DisplaySettings{};
    SECTION = SectionDisplayState{};
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

TEST(SectionPicturePixels, ElementsTracesMarkerAndLinesOnBothBackgrounds)
{
    open_test_main_window();
    make_plane();
    int window = -1;
    WWinOpenChild(window, 7, 393, 23, SECTION_PICTURE_WIDTH, SECTION_PICTURE_HEIGHT, "Section picture test");
    ASSERT_GT(window, 0);
    SECTION.SECTION_WINDOW = window;
    drain_messages();

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

}  // namespace
