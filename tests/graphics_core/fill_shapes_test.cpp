// Rectangles, fill patterns, hatching, arrows, polygons and ellipses with fill emulation, triangles and
// markers, seen through recording screen and hardcopy devices.
#include "tests/graphics_core/recording_device.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace {

using FillShapes = GraphicsFixture;

TEST_F(FillShapes, FillPatternDefaults)
{
    struct Case {
        int style, density, direction;
        int fill_style, outline, fill_density, fill_direction;
    };
    const Case cases[] = {
        {-1, 2, 3, 1, 0, 2, 3},                         // hatch without outline
        {-2, 5, 1, 2, 0, 5, 1}, {7, 2, 3, 0, 1, 2, 3},  // out of range: outline only
        {4, 0, 9, 4, 1, 2, 3},                          // density and direction out of range: 2 and 3
        {1, 3, 4, 1, 1, 3, 4},
    };
    for (const Case& c : cases) {
        gr_fill_pattern(c.style, c.density, c.direction);
        EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_STYLE), c.fill_style) << c.style;
        EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_OUTLINE), c.outline) << c.style;
        EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_DENSITY), c.fill_density) << c.style;
        EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_ANGLE), c.fill_direction) << c.style;
    }
}

TEST_F(FillShapes, HatchSpacingByDensity)
{
    // A surface of 3300 by 1800 pixels makes every divisor visible as a step.
    IGrSurfaceSetup(1, 0, 3300, 1800);
    gr_fill_pattern(1);
    const int y_div[] = {30, 40, 60, 100, 180};
    const int x_div[] = {30, 50, 90, 170, 330};
    for (int d = 1; d <= 5; ++d) {
        const GrHatchSpacing h = IGrHatchSpacing(1, d);
        EXPECT_EQ(h.y_step, 1800 / y_div[d - 1]) << d;
        EXPECT_EQ(h.x_step, 3300 / x_div[d - 1]) << d;
        EXPECT_FALSE(h.alternate);
        const GrHatchSpacing hc = IGrHatchSpacing(2, d);
        EXPECT_NEAR(hc.y_spacing, 1799.99 / y_div[d - 1], 1e-3) << d;
        EXPECT_TRUE(hc.alternate);
    }
    // Small surfaces keep at least 2 pixels between screen hatch lines.
    IGrSurfaceSetup(1, 0, 20, 20);
    EXPECT_EQ(IGrHatchSpacing(1, 5).y_step, 2);
}

TEST_F(FillShapes, ZeroSizeRectangleReportsError22)
{
    gr_move_to(0.3f, 0.3f);
    gr_rectangle(0.1f, 0.1f, 0.1f, 0.5f);
    EXPECT_EQ(ERROR_STATE.last_error, 22);
    EXPECT_TRUE(RECORDED.empty());
    EXPECT_EQ(GrCurrentPoint.x, 0.3f);
}

TEST_F(FillShapes, SolidRectangleIsOneScreenOpAndAnOfferToTheHardcopy)
{
    gr_fill_pattern(4);
    gr_rectangle(0.5f, 0.5f, 0.25f, 0.25f);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpRectangleSolid});
    const auto hard = recorded_ops(false);
    ASSERT_EQ(hard, (std::vector<int>{GrOpRectanglePattern, GrOpRectanglePattern}));
    EXPECT_EQ(RECORDED[1].block.NVAL, 1);
    EXPECT_EQ(RECORDED[2].block.NVAL, -1);
    EXPECT_EQ(RECORDED[0].block.IX(1), 159);
    EXPECT_EQ(RECORDED[0].block.IY(2), 239);
    EXPECT_EQ(GrCurrentPoint.x, 0.5f);  // the first corner of the call
}

TEST_F(FillShapes, PatternWithEqualColoursDrawsSolid)
{
    gr_fill_pattern(3);
    GrOutputSwitch.hardcopy = 0;
    GrColourState.device = {0, 223};
    gr_rectangle(0.1f, 0.1f, 0.2f, 0.2f);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpRectanglePattern});
    RECORDED.clear();
    GrColourState.device[GR_PREVIOUS] = GrColourState.device[GR_CURRENT];
    gr_rectangle(0.1f, 0.1f, 0.2f, 0.2f);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpRectangleSolid});
}

TEST_F(FillShapes, HardcopyEmulationDrawsHorizontalLinesOnTheHardcopyOnly)
{
    gr_fill_pattern(4);
    HcDeviceBlock.line_spacing = 10.0f;
    HARDCOPY_EMULATE_ANSWER = 2;
    gr_rectangle(0.0f, 0.0f, 0.5f, 0.5f);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpRectangleSolid});
    const auto lines = recorded_lines(false);
    ASSERT_GE(lines.size(), 20u);
    for (const auto& l : lines)
        EXPECT_EQ(l.block.Y(1), l.block.Y(2));
    EXPECT_EQ(lines[0].block.Y(1), 10.0f);
    EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_HARD_PASS), 0);  // cleared after its pass
}

TEST_F(FillShapes, ScreenEmulationWhenTheScreenCannotFill)
{
    gr_fill_pattern(4);
    GrOutputSwitch.hardcopy = 0;
    GrScreenOpFlags.op[GrOpRectangleSolid - 1] = ' ';
    gr_rectangle(0.0f, 0.0f, 0.1f, 0.1f);
    const auto lines = recorded_lines(true);
    // Rows 1..47 below the top row 47 (0.1 x 479.99 = 47.999): one line per pixel row.
    EXPECT_EQ(lines.size(), 47u);
    EXPECT_EQ(recorded_ops(true).size(), lines.size());
}

TEST_F(FillShapes, XorOutlineDrawsEveryCornerOnce)
{
    GrLineState.plot_mode = 3;
    GrOutputSwitch.hardcopy = 0;
    IGrRectangleOutline(10, 10, 20, 30);
    std::multiset<std::pair<int, int>> ends;
    for (const auto& l : recorded_lines(true)) {
        ends.insert({l.block.IX(1), l.block.IY(1)});
        ends.insert({l.block.IX(2), l.block.IY(2)});
    }
    // Each line runs from one pixel past a corner to the next corner, so every corner is an end once.
    for (auto corner : {std::pair{10, 10}, std::pair{20, 10}, std::pair{20, 30}, std::pair{10, 30}})
        EXPECT_EQ(ends.count(corner), 1u) << corner.first << "," << corner.second;
}

TEST_F(FillShapes, HatchLinesOfAdjacentRectanglesLineUp)
{
    gr_fill_pattern(-1, 2, 3);
    GrOutputSwitch.hardcopy = 0;
    gr_rectangle(0.1f, 0.13f, 0.3f, 0.6f);
    std::set<int> rows_a;
    for (const auto& l : recorded_lines(true))
        rows_a.insert(l.block.IY(1));
    RECORDED.clear();
    gr_rectangle(0.3f, 0.21f, 0.5f, 0.6f);
    std::set<int> rows_b;
    for (const auto& l : recorded_lines(true))
        rows_b.insert(l.block.IY(1));
    ASSERT_FALSE(rows_b.empty());
    for (int row : rows_b)
        EXPECT_TRUE(rows_a.count(row)) << row;
    const int step = 480 / 40;
    for (int row : rows_a)
        EXPECT_EQ(row % step, 0) << row;
}

TEST_F(FillShapes, DiagonalHatchStaysInsideTheRectangle)
{
    gr_fill_pattern(-1, 3, 1);
    GrOutputSwitch.hardcopy = 0;
    gr_rectangle(0.2f, 0.2f, 0.4f, 0.5f);
    const auto lines = recorded_lines(true);
    ASSERT_GT(lines.size(), 3u);
    for (const auto& l : lines) {
        for (float x : {l.block.X(1), l.block.X(2)}) {
            EXPECT_GE(x, 0.2f * 639.99f - 0.01f);
            EXPECT_LE(x, 0.4f * 639.99f + 0.01f);
        }
        // Rising lines: dy = dx.
        EXPECT_NEAR(l.block.Y(2) - l.block.Y(1), l.block.X(2) - l.block.X(1), 1.01f);
    }
    // The clip is back to the whole area afterwards.
    EXPECT_EQ(GrDeviceArea.ix2, 639);
}

TEST_F(FillShapes, Arrows)
{
    gr_arrow(0.2f, 0.2f, 0.2f, 0.2f, 1);
    gr_move_to(0.9f, 0.9f);
    gr_arrow_polar(0.5f, 0.5f, 0.0f, 30.0f, 1);
    EXPECT_TRUE(RECORDED.empty());
    EXPECT_EQ(GrCurrentPoint.x, 0.9f);
    gr_arrow(0.1f, 0.5f, 0.5f, 0.5f, 1);  // open head: shaft and two barbs
    EXPECT_EQ(recorded_lines(true).size(), 3u);
    EXPECT_EQ(GrCurrentPoint.x, 0.5f);
    RECORDED.clear();
    gr_fill_pattern(4);
    gr_arrow(0.1f, 0.5f, 0.5f, 0.5f, 2);  // filled head: one 7-point polygon
    ASSERT_EQ(recorded_ops(true), std::vector<int>{GrOpPolygonSolid});
    EXPECT_EQ(RECORDED[0].block.NPTS, 7);
}

TEST_F(FillShapes, FigureEightFillsBothLobes)
{
    // Bow tie crossing itself at (50, 50), device coordinates, scanned on the hardcopy pass.
    GrOutputSwitch.screen = 0;
    gr_fill_pattern(-1, 1, 3);
    IGrSurfaceSetup(1, 0, 101, 101);
    RECORDED.clear();
    const float x[] = {0, 100, 100, 0};
    const float y[] = {0, 100, 0, 100};
    IGrPolygonFill(x, y, 4, 1);
    const auto lines = recorded_lines(false);
    ASSERT_FALSE(lines.empty());
    int left = 0, right = 0;
    for (const auto& l : lines) {
        const float yy = l.block.Y(1);
        EXPECT_EQ(yy, l.block.Y(2));
        const float half = yy <= 50 ? yy : 100 - yy;  // half-width of each lobe at that height
        if (l.block.X(2) <= 50.01f) {
            ++left;
            EXPECT_NEAR(l.block.X(1), 0.0f, 1e-3);
            EXPECT_NEAR(l.block.X(2), half, 1e-3);
        } else {
            ++right;
            EXPECT_NEAR(l.block.X(1), 100.0f - half, 1e-3);
            EXPECT_NEAR(l.block.X(2), 100.0f, 1e-3);
        }
    }
    EXPECT_GT(left, 0);
    EXPECT_EQ(left, right);
}

TEST_F(FillShapes, PolygonOutlineDropsTheRepeatedVertexAndOutsideDrawsNothing)
{
    gr_fill_pattern(0);
    GrOutputSwitch.hardcopy = 0;
    const float x[] = {0.1f, 0.4f, 0.4f, 0.1f, 0.1f};
    const float y[] = {0.1f, 0.1f, 0.4f, 0.4f, 0.1f};
    IGrPolygonFill(x, y, 5, 0);
    EXPECT_EQ(recorded_lines(true).size(), 4u);
    RECORDED.clear();
    const float ox[] = {2.0f, 3.0f, 2.5f};
    const float oy[] = {2.0f, 2.0f, 3.0f};
    IGrPolygonFill(ox, oy, 3, 0);
    EXPECT_TRUE(RECORDED.empty());
    EXPECT_EQ(GrCurrentPoint.x, 2.0f);
}

// Number of outline segments drawn for a circle on the hardcopy, which asks for segments.
int outline_segments(float radius)
{
    RECORDED.clear();
    GrOutputSwitch.screen = 0;
    gr_fill_pattern(0);
    HARDCOPY_COUNT_ANSWER = -1;
    IGrCircleDraw(0.5f, 0.5f, radius);
    return static_cast<int>(recorded_lines(false).size());
}

TEST_F(FillShapes, EllipseOutlineSegments)
{
    const int small = outline_segments(0.01f);
    const int large = outline_segments(0.4f);
    EXPECT_GE(small, 50);  // at least 25 per half
    EXPECT_GT(large, small);
    // The screen draws op 4 itself.
    RECORDED.clear();
    GrOutputSwitch.screen = 1;
    GrOutputSwitch.hardcopy = 0;
    IGrCircleDraw(0.5f, 0.5f, 0.1f);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpEllipseOutline});
    EXPECT_EQ(RECORDED[0].block.IX(2), 64);  // 0.1 x 639.99
    EXPECT_EQ(RECORDED[0].block.IY(2), 64);  // round in pixels
}

TEST_F(FillShapes, EllipseRadiusZeroReportsError20)
{
    IGrEllipseFill(0.5f, 0.5f, 0.0f, 1.0f);
    EXPECT_EQ(ERROR_STATE.last_error, 20);
    ERROR_STATE.last_error = 0;
    IGrEllipseFill(0.5f, 0.5f, 0.1f, -1.0f);
    EXPECT_EQ(ERROR_STATE.last_error, 20);
    EXPECT_TRUE(RECORDED.empty());
}

TEST_F(FillShapes, SolidEllipseEmulatedOnTheScreenStaysInsideTheCircle)
{
    gr_fill_pattern(4);
    GrOutputSwitch.hardcopy = 0;
    GrScreenOpFlags.op[GrOpEllipseSolid - 1] = ' ';
    IGrCircleDraw(0.5f, 0.5f, 0.05f);
    const auto lines = recorded_lines(true);
    ASSERT_GT(lines.size(), 40u);
    const float cx = 0.5f * 639.99f, cy = 0.5f * 479.99f, r = 0.05f * 639.99f;
    for (const auto& l : lines)
        for (auto [x, y] : {std::pair{l.block.X(1), l.block.Y(1)}, std::pair{l.block.X(2), l.block.Y(2)}})
            EXPECT_LE((x - cx) * (x - cx) + (y - cy) * (y - cy), r * r + 1.0f);
}

TEST_F(FillShapes, TrianglesAndMarkers)
{
    IGrTriangleDraw(0.2f, 0.1f, 0.2f, 0.5f, 0.2f, 0.9f);
    EXPECT_EQ(ERROR_STATE.last_error, 22);
    EXPECT_TRUE(RECORDED.empty());
    // Markers 0 and 25 draw marker 1: a plus of two lines.
    gr_marker(0.5f, 0.5f, 0);
    EXPECT_EQ(recorded_lines(true).size(), 2u);
    RECORDED.clear();
    gr_marker(0.5f, 0.5f, 25);
    EXPECT_EQ(recorded_lines(true).size(), 2u);
    // A line marker partly outside is drawn and clipped; a filled one is not drawn at all.
    RECORDED.clear();
    gr_marker(0.0f, 0.5f, 1);
    EXPECT_FALSE(recorded_lines(true).empty());
    RECORDED.clear();
    gr_marker(0.0f, 0.5f, 15);
    EXPECT_TRUE(RECORDED.empty());
    // Marker 15 inside: one solid triangle; the fill style comes back.
    gr_fill_pattern(0);
    gr_marker(0.5f, 0.5f, 15);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpTriangleSolid});
    EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_STYLE), 0);
}

// The second entry draws at the current point: the same figure as at that point given outright, and
// the current point stays.
TEST_F(FillShapes, MarkerAtTheCurrentPoint)
{
    auto lines_of = [](auto draw) {
        RECORDED.clear();
        draw();
        std::vector<std::array<int, 4>> ends;
        for (const auto& l : recorded_lines(true))
            ends.push_back({l.block.IX(1), l.block.IY(1), l.block.IX(2), l.block.IY(2)});
        return ends;
    };
    const auto given = lines_of([] { gr_marker(0.3f, 0.6f, 9); });
    gr_move_to(0.3f, 0.6f);
    const auto at_point = lines_of([] { IGrMarkerAtCurrentPoint(9); });
    EXPECT_EQ(given.size(), 6u);  // cross and outline square
    EXPECT_EQ(at_point, given);
    EXPECT_EQ(GrCurrentPoint.x, 0.3f);
    EXPECT_EQ(GrCurrentPoint.y, 0.6f);
}

TEST_F(FillShapes, MarkerSizeFollowsTheCharacterSize)
{
    GrOutputSwitch.hardcopy = 0;
    auto plus_width = [] {
        RECORDED.clear();
        gr_marker(0.5f, 0.5f, 1);
        const auto lines = recorded_lines(true);
        return lines.at(0).block.X(2) - lines.at(0).block.X(1);
    };
    const float w1 = plus_width();
    EXPECT_NEAR(w1, 2 * 0.01333333f * 639.99f * 0.375f, 1e-3);
    GrTextState.char_width *= 2;
    EXPECT_NEAR(plus_width(), 2 * w1, 1e-3);
    // Marker 14: a circle of radius hx.
    RECORDED.clear();
    gr_marker(0.5f, 0.5f, 14);
    ASSERT_EQ(recorded_ops(true), std::vector<int>{GrOpEllipseSolid});
    EXPECT_EQ(RECORDED[0].block.IX(2), static_cast<int>(0.02666666f * 639.99f * 0.375f + 0.5f));
}

TEST_F(FillShapes, TriangleHatchLinesEndOnTheEdges)
{
    gr_fill_pattern(-1, 1, 3);
    GrOutputSwitch.screen = 0;
    IGrSurfaceSetup(1, 0, 101, 101);
    RECORDED.clear();
    IGrTriangleDraw(0.0f, 0.0f, 1.0f, 0.0f, 0.5f, 1.0f);
    const auto lines = recorded_lines(false);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(RECORDED.front().op, GrOpTrianglePattern);
    for (const auto& l : lines) {
        const float y = l.block.Y(1);
        const float half = 0.5f * (100.99f - y);
        EXPECT_NEAR(std::min(l.block.X(1), l.block.X(2)), 50.495f - half, 1e-2);
        EXPECT_NEAR(std::max(l.block.X(1), l.block.X(2)), 50.495f + half, 1e-2);
    }
}

}  // namespace

namespace {

// A two-colour pattern that the screen cannot fill is drawn as lines two rows apart in the current
// colour, then as the lines between them in the previous colour, and the colours come back.
TEST_F(FillShapes, TwoColourEmulationAlternatesColours)
{
    GrOutputSwitch.hardcopy = 0;
    GrColourState.device = {0, 31};
    GrColourState.number = {0, 31};
    gr_fill_pattern(3);
    GrScreenOpFlags.op[GrOpRectanglePattern - 1] = ' ';
    GrScreenOpFlags.op[GrOpRectangleSolid - 1] = ' ';
    gr_rectangle(0.0f, 0.0f, 0.1f, 0.1f);
    std::vector<int> rows_current, rows_previous;
    // Lines before the first colour op are in the current colour, those after it in the previous one;
    // the second colour op puts the current colour back.
    int colour_ops = 0;
    for (const auto& r : RECORDED) {
        colour_ops += r.op == GrOpColour ? 1 : 0;
        if (r.op == GrOpLine)
            (colour_ops == 0 ? rows_current : rows_previous).push_back(r.block.IY(1));
    }
    const auto ops = recorded_ops(true);
    ASSERT_EQ(std::count(ops.begin(), ops.end(), GrOpColour), 2);
    ASSERT_FALSE(rows_current.empty());
    ASSERT_FALSE(rows_previous.empty());
    for (int row : rows_current)
        EXPECT_EQ(row % 2, 0) << row;
    for (int row : rows_previous)
        EXPECT_EQ(row % 2, 1) << row;
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 31);
    EXPECT_EQ(GrColourState.number[GR_PREVIOUS], 0);
}

}  // namespace

namespace {

// Shapes reaching far outside the area (huge user coordinates) draw only the lines the area can show,
// instead of scanning billions of lines that the clip would throw away.
TEST_F(FillShapes, HugeShapesScanOnlyTheArea)
{
    GrOutputSwitch.hardcopy = 0;
    for (int direction = 1; direction <= 4; ++direction) {
        RECORDED.clear();
        gr_fill_pattern(-1, 5, direction);
        gr_rectangle(-1e30f, -1e30f, 1e30f, 1e30f);
        const auto lines = recorded_lines(true);
        EXPECT_GT(lines.size(), 10u) << direction;
        EXPECT_LT(lines.size(), 2000u) << direction;
    }
    RECORDED.clear();
    gr_fill_pattern(-2, 5, 3);
    IGrTriangleDraw(-1e9f, -1e9f, 1e9f, -1e9f, 0.5f, 1e9f);
    EXPECT_GT(recorded_lines(true).size(), 10u);
    EXPECT_LT(recorded_lines(true).size(), 2000u);
    RECORDED.clear();
    gr_fill_pattern(4);
    GrScreenOpFlags.op[GrOpPolygonSolid - 1] = ' ';
    const float x[] = {-1e9f, 1e9f, 0.5f};
    const float y[] = {-1e9f, -1e9f, 1e9f};
    IGrPolygonFill(x, y, 3, 0);
    EXPECT_EQ(recorded_lines(true).size(), 480u);  // one line per pixel row of the area
    RECORDED.clear();
    gr_fill_pattern(0);
    GrOutputSwitch.screen = 0;
    GrOutputSwitch.hardcopy = 1;
    HARDCOPY_COUNT_ANSWER = -1;
    IGrCircleDraw(0.5f, 0.5f, 1e8f);  // outline segments capped
    EXPECT_LT(recorded_ops(false).size(), 20000u);
}

// A hardcopy device that states a line spacing of 0 still gets a finite emulated fill.
TEST_F(FillShapes, ZeroHardcopyLineSpacing)
{
    gr_fill_pattern(4);
    HcDeviceBlock.line_spacing = 0.0f;
    HARDCOPY_EMULATE_ANSWER = 2;
    gr_rectangle(0.0f, 0.0f, 0.5f, 0.5f);
    EXPECT_EQ(recorded_lines(false).size(), 239u);
}

// More than 99 edges crossing one scan line stop the fill with error 49; what was drawn stays and the
// shape is still closed on the hardcopy.
TEST_F(FillShapes, TooComplexPolygonReportsError49)
{
    std::vector<float> x, y;
    for (int i = 0; i < 60; ++i) {  // a comb of 60 teeth: 120 edges cross the middle
        x.push_back(0.01f * i);
        y.push_back(0.9f);
        x.push_back(0.01f * i + 0.005f);
        y.push_back(0.1f);
    }
    x.push_back(0.6f);
    y.push_back(0.05f);
    x.push_back(0.0f);
    y.push_back(0.05f);
    gr_fill_pattern(-1, 5, 3);
    IGrPolygonFill(x.data(), y.data(), static_cast<int>(x.size()), 0);
    EXPECT_EQ(ERROR_STATE.last_error, 49);
    const auto hard = recorded_ops(false);
    EXPECT_EQ(hard.back(), GrOpPolygonPattern);
    EXPECT_EQ(RECORDED.back().block.NVAL, -1);
}

}  // namespace
