// The segment clipper, clipped polylines, edge intersections, lines and the current point.
#include "tests/graphics_core/recording_device.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/line_clip.h"

namespace {

// The clipping rectangle 0..100 by 0..100 on a 200 by 200 surface.
class LineClip : public GraphicsFixture {
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        IGrSurfaceSetup(1, 0, 200, 200);
        IGrClipArea(0.0f, 0.0f, 100.0f, 100.0f);
        RECORDED.clear();
    }
};

TEST_F(LineClip, SegmentTable)
{
    struct Case {
        const char* what;
        float x1, y1, x2, y2;
        int visible;
        float cx1, cy1, cx2, cy2;  // clipped ends when visible
    };
    const Case cases[] = {
        {"vertical, bottom end below", 5, -10, 5, 10, -1, 5, 0, 5, 10},
        {"vertical, reversed", 5, 150, 5, 50, -1, 5, 100, 5, 50},
        {"vertical, beside", 150, 10, 150, 90, 0, 0, 0, 0, 0},
        {"vertical, above", 5, 120, 5, 150, 0, 0, 0, 0, 0},
        {"horizontal, both ends out", -20, 40, 130, 40, -1, 0, 40, 100, 40},
        {"horizontal, below", -20, -5, 50, -5, 0, 0, 0, 0, 0},
        {"inside, untouched", 10, 20, 80, 70, -1, 10, 20, 80, 70},
        {"diagonal through the whole rectangle", -10, -10, 110, 110, -1, 0, 0, 100, 100},
        {"diagonal, reversed", 110, 110, -10, -10, -1, 100, 100, 0, 0},
        {"leaving at the top", 50, 50, 70, 150, -1, 50, 50, 60, 100},
        {"entering from the right", 150, 50, 50, 0, -1, 100, 25, 50, 0},
        {"entering from the left", -50, 0, 50, 100, -1, 0, 50, 50, 100},
        {"wholly outside beside", 150, 10, 200, 50, 0, 0, 0, 0, 0},
        {"passing a corner outside", 90, 120, 120, 90, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        float x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        int visible = 7;
        IGrClipLine(x1, y1, x2, y2, visible);
        EXPECT_EQ(visible, c.visible) << c.what;
        if (c.visible && visible) {
            EXPECT_NEAR(x1, c.cx1, 1e-3) << c.what;
            EXPECT_NEAR(y1, c.cy1, 1e-3) << c.what;
            EXPECT_NEAR(x2, c.cx2, 1e-3) << c.what;
            EXPECT_NEAR(y2, c.cy2, 1e-3) << c.what;
        }
    }
}

TEST_F(LineClip, OutAndBackPolylineGivesTwoRuns)
{
    const float x[] = {10, 50, 150, 150, 50, 10};
    const float y[] = {10, 50, 50, 80, 80, 90};
    IGrPolylineClipped(x, y, 6, 1);
    std::vector<RecordedOp> runs;
    for (const auto& r : RECORDED)
        if (r.screen)
            runs.push_back(r);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].op, GrOpPolyline);
    ASSERT_EQ(runs[0].xs.size(), 3u);  // (10,10), (50,50), exit (100,50)
    EXPECT_NEAR(runs[0].xs[2], 100.0f, 1e-3);
    EXPECT_NEAR(runs[0].ys[2], 50.0f, 1e-3);
    ASSERT_EQ(runs[1].xs.size(), 3u);  // entry (100,80), (50,80), (10,90)
    EXPECT_NEAR(runs[1].xs[0], 100.0f, 1e-3);
    EXPECT_NEAR(runs[1].ys[0], 80.0f, 1e-3);
    EXPECT_EQ(runs[1].xs[2], 10.0f);
    EXPECT_EQ(recorded_ops(false), (std::vector<int>{GrOpPolyline, GrOpPolyline}));
}

TEST_F(LineClip, PolylineOutsideSendsNothingAndCrossingSendsALine)
{
    const float x[] = {120, 150, 180};
    const float y[] = {10, 50, 10};
    IGrPolylineClipped(x, y, 3, 1);
    EXPECT_TRUE(RECORDED.empty());
    // Both points outside, the segment crossing the rectangle: drawn alone as a line.
    const float cx[] = {-10, 110};
    const float cy[] = {50, 50};
    IGrPolylineClipped(cx, cy, 2, 1);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpLine});
}

TEST_F(LineClip, EdgeIntersections)
{
    EXPECT_EQ(IGrEdgeXAtY(0, 5, 10, 5, 5), GR_EDGE_PARALLEL);
    EXPECT_EQ(IGrEdgeYAtX(3, 0, 3, 10, 3), GR_EDGE_PARALLEL);
    EXPECT_FLOAT_EQ(IGrEdgeXAtY(0, 0, 10, 20, 5), 2.5f);
    EXPECT_FLOAT_EQ(IGrEdgeXAtY(10, 20, 0, 0, 5), 2.5f);  // dy < 0 counts from the second point
    EXPECT_FLOAT_EQ(IGrEdgeYAtX(0, 0, 10, 20, 5), 10.0f);
    EXPECT_EQ(IGrEdgeXAtY(0, 0, 1e9f, 1, 1e3f), GR_EDGE_PARALLEL);  // too far out
    float a = 1, b = 2;
    IGrSwapReal(a, b);
    EXPECT_EQ(a, 2.0f);
    EXPECT_EQ(b, 1.0f);
}

using Lines = GraphicsFixture;

TEST_F(Lines, LineToOutsideDrawsTheVisiblePartAndMovesToTheRequestedPoint)
{
    gr_move_to(0.5f, 0.5f);
    gr_line_to(2.0f, 0.5f);
    EXPECT_EQ(GrCurrentPoint.x, 2.0f);
    const auto lines = recorded_lines(true);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].block.IX(1), 319);  // 0.5 x 639.99 truncated
    EXPECT_EQ(lines[0].block.IX(2), 639);
    EXPECT_EQ(recorded_lines(false).size(), 1u);
}

TEST_F(Lines, NothingSentOutsideOrForZeroMoves)
{
    gr_line(1.5f, 0.2f, 1.8f, 0.9f);
    IGrMoveToRel(0.0f, 0.0f);
    EXPECT_TRUE(RECORDED.empty());
    EXPECT_EQ(GrCurrentPoint.x, 1.8f);
    EXPECT_EQ(GrCurrentPoint.y, 0.9f);
}

TEST_F(Lines, HardcopyOnlyLeavesThePixelFields)
{
    GrOutputSwitch.screen = 0;
    GrPrimitiveBlock.IX(1) = -77;
    IGrLineRel(0.1f, 0.1f, 0.2f, 0.2f);
    EXPECT_TRUE(recorded_ops(true).empty());
    ASSERT_EQ(recorded_ops(false), std::vector<int>{GrOpLine});
    EXPECT_EQ(RECORDED[0].block.IX(1), -77);
    EXPECT_NEAR(RECORDED[0].block.X(2), 0.3f * 639.99f, 1e-3);
}

// The relative forms work from the current point in user units: a line to current + (dx, dy) ends
// there; a rectangle of a width and height from the current point leaves the current point at its first
// corner, the point it started from.
TEST_F(Lines, RelativeLineAndRectangleFromTheCurrentPoint)
{
    gr_move_to(0.25f, 0.25f);
    IGrLineToRel(0.25f, 0.5f);
    EXPECT_EQ(GrCurrentPoint.x, 0.5f);
    EXPECT_EQ(GrCurrentPoint.y, 0.75f);
    auto lines = recorded_lines(true);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].block.IX(1), 159);  // 0.25 x 639.99 truncated
    EXPECT_EQ(lines[0].block.IY(1), 119);  // 0.25 x 479.99
    EXPECT_EQ(lines[0].block.IX(2), 319);
    EXPECT_EQ(lines[0].block.IY(2), 359);

    RECORDED.clear();
    gr_fill_pattern(0);  // outline only
    GrLineState.plot_mode = 0;
    IGrRectangleRel(0.25f, -0.5f);
    lines = recorded_lines(true);
    ASSERT_EQ(lines.size(), 4u);
    int xmin = 9999, xmax = -1, ymin = 9999, ymax = -1;
    for (const auto& l : lines)
        for (int k = 1; k <= 2; ++k) {
            xmin = std::min(xmin, l.block.IX(k));
            xmax = std::max(xmax, l.block.IX(k));
            ymin = std::min(ymin, l.block.IY(k));
            ymax = std::max(ymax, l.block.IY(k));
        }
    EXPECT_EQ(xmin, 319);
    EXPECT_EQ(xmax, 479);
    EXPECT_EQ(ymin, 119);
    EXPECT_EQ(ymax, 359);
    EXPECT_EQ(GrCurrentPoint.x, 0.5f);
    EXPECT_EQ(GrCurrentPoint.y, 0.75f);
}

// Line types 0..6 are kept and sent as op 29 to both devices; any other becomes 0 (solid).
TEST_F(Lines, LineTypeOutsideItsRangeIsSolid)
{
    const struct {
        int given, kept;
    } cases[] = {{4, 4}, {6, 6}, {0, 0}, {7, 0}, {-1, 0}};
    for (const auto& c : cases) {
        RECORDED.clear();
        GrLineState.line_type = 3;
        IGrLineType(c.given);
        EXPECT_EQ(GrLineState.line_type, c.kept) << c.given;
        EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpLineType});
        EXPECT_EQ(recorded_ops(false), std::vector<int>{GrOpLineType});
    }
    IGrLineType();
    EXPECT_EQ(GrLineState.line_type, 0);
}

using AreaUnits = GraphicsFixture;

TEST_F(AreaUnits, WholeSurfaceArea)
{
    gr_area(0, 0, 1, 1);
    EXPECT_FLOAT_EQ(GrDeviceArea.x2, 639.99f);
    EXPECT_FLOAT_EQ(GrDeviceArea.y2, 479.99f);
    EXPECT_EQ(GrDeviceArea.ix2, 639);
    EXPECT_EQ(GrDeviceArea.iy2, 479);
    RECORDED.clear();
    gr_area_clear();
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpClear});
    EXPECT_TRUE(recorded_ops(false).empty());
}

TEST_F(AreaUnits, InvalidPairsFallBackPerAxis)
{
    gr_area(0.5f, 0.2f, 0.5f, 0.8f);
    EXPECT_EQ(ERROR_STATE.last_error, 44);
    EXPECT_EQ(GrArea.x1, 0.0f);
    EXPECT_EQ(GrArea.x2, 1.0f);
    EXPECT_EQ(GrArea.y1, 0.2f);
    ERROR_STATE.last_error = 0;
    gr_units(0, 0, 0, 1);
    EXPECT_EQ(ERROR_STATE.last_error, 16);
    EXPECT_EQ(GrUnits.x1, 0.0f);
    EXPECT_EQ(GrUnits.x2, 1.0f);
    ERROR_STATE.last_error = 0;
    gr_units(5, 10, 10, 5);  // reversed y: that axis only
    EXPECT_EQ(ERROR_STATE.last_error, 16);
    EXPECT_EQ(GrUnits.x1, 5.0f);
    EXPECT_EQ(GrUnits.y2, 1.0f);
}

TEST_F(AreaUnits, SurfaceChangeKeepsTheLayout)
{
    gr_area(0.25f, 0.5f, 0.75f, 1.0f);
    gr_units(-1, -1, 1, 1);
    float dx = 0, dy = 0;
    IGrUserToDevice(1, 1, dx, dy);
    EXPECT_NEAR(dx, 0.75f * 639.99f, 1e-3);
    EXPECT_NEAR(dy, 479.99f, 1e-3);
    RECORDED.clear();
    IGrSurfaceSetup(1, 0, 100, 50);
    // The hardcopy hears of the surface change with NVAL -1.
    ASSERT_FALSE(recorded_ops(false).empty());
    EXPECT_EQ(RECORDED[0].op, GrOpOpen);
    EXPECT_EQ(RECORDED[0].block.NVAL, -1);
    IGrUserToDevice(1, 1, dx, dy);
    EXPECT_NEAR(dx, 0.75f * 99.99f, 1e-3);
    EXPECT_NEAR(dy, 49.99f, 1e-3);
    float ux = 0, uy = 0;
    IGrDeviceToUser(dx, dy, ux, uy);
    EXPECT_NEAR(ux, 1.0f, 1e-5);
    EXPECT_NEAR(uy, 1.0f, 1e-5);
    // Another target's surface is not adopted.
    IGrSurfaceSetup(2, 1, 10, 10);
    EXPECT_EQ(GrSurface.width, 100);
}

TEST_F(AreaUnits, ClearingASmallAreaRestoresModeAndColour)
{
    gr_area(0.1f, 0.1f, 0.5f, 0.5f);
    GrLineState.plot_mode = 3;
    GrColourState.device[GR_CURRENT] = 31;
    GrColourState.number[GR_CURRENT] = 31;
    RECORDED.clear();
    gr_area_clear();
    EXPECT_EQ(recorded_ops(true),
              (std::vector<int>{GrOpPlotMode, GrOpColour, GrOpRectangleSolid, GrOpPlotMode, GrOpColour}));
    EXPECT_EQ(RECORDED[2].block.IX(1), 63);
    EXPECT_EQ(RECORDED[2].block.IY(2), 239);
    EXPECT_EQ(GrLineState.plot_mode, 3);
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 31);
}

}  // namespace
