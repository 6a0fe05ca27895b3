// The flow-direction lines, as the recorded MoveTo and LineTo calls: a uniform stream in each of the
// three plane orientations (the same line, rotated), a slanted stream, the stops at the box side, in a
// body, at rest and at a cell with too small a sample, and the 1000-segment cap.
#include "app/displays/flow_lines.h"

#include "flow_plane_case.h"

#include <functional>

namespace {

using Point = std::pair<double, double>;

// The line as recorded: every MoveTo starts a new polyline.
std::vector<std::vector<Point>> recorded_lines()
{
    std::vector<std::vector<Point>> lines;
    for (const std::string& line : HEADLESS.calls) {
        const RecordedCall c = parse_call(line);
        if (c.name == "IGrMoveTo")
            lines.push_back({{c.numbers[0], c.numbers[1]}});
        else if (c.name == "IGrLineTo" && !lines.empty())
            lines.back().push_back({c.numbers[0], c.numbers[1]});
    }
    return lines;
}

void expect_lines(const std::vector<std::vector<Point>>& want)
{
    const auto got = recorded_lines();
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(got[i].size(), want[i].size());
        for (size_t j = 0; j < want[i].size(); ++j) {
            EXPECT_NEAR(got[i][j].first, want[i][j].first, 1e-5);
            EXPECT_NEAR(got[i][j].second, want[i][j].second, 1e-5);
        }
    }
}

// One orientation of the plane: its tracer and where across, up and the normal lie (0 x, 1 y, 2 z).
struct Orientation {
    const char* name;
    void (*trace)(float, float);
    int across, up, normal;
};
constexpr Orientation ORIENTATIONS[] = {
    {"z", TRACE_FLOW_LINE_Z, 0, 1, 2},
    {"y", TRACE_FLOW_LINE_Y, 0, 2, 1},
    {"x", TRACE_FLOW_LINE_X, 2, 1, 0},
};

class FlowLinesTest : public FlowPlaneTest {
protected:
    // A box long along the plane's across axis: 0..`across_length` in divisions of 2 elements of width
    // 1, 0..`up_length` up in elements of width 1, one element thick; every cell moving with (a, b) in
    // the plane.
    void make_plane_box(const Orientation& o, int across_length, int up_length, float a, float b)
    {
        float low[3] = {0, 0, 0}, high[3] = {1, 1, 1};
        int divisions[3] = {1, 1, 1}, elements[3] = {1, 1, 1};
        high[o.across] = static_cast<float>(across_length);
        divisions[o.across] = across_length / 2;
        elements[o.across] = 2;
        high[o.up] = static_cast<float>(up_length);
        elements[o.up] = up_length;
        make_box(low, high, divisions, elements);
        orientation_ = o;
        for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
            set_velocity(c, a, b);
        SECTION.SECTION_PLANE_POSITION = 0.5f;
        HEADLESS.calls.clear();
    }
    void set_velocity(int cell, float a, float b)
    {
        RESULTS.VAR(VAR_U + orientation_.across, cell) = a;
        RESULTS.VAR(VAR_U + orientation_.up, cell) = b;
    }
    // The cell of the element at 1-based positions across and up.
    int& cell_at(int across, int up)
    {
        int index[3] = {1, 1, 1};
        index[orientation_.across] = across;
        index[orientation_.up] = up;
        return element_cell(index[0], index[1], index[2]);
    }
    Orientation orientation_{};
};

TEST_F(FlowLinesTest, UniformStreamGivesTheSameLineInEveryOrientation)
{
    for (const Orientation& o : ORIENTATIONS) {
        SCOPED_TRACE(o.name);
        make_plane_box(o, 10, 2, 1.0f, 0.0f);
        o.trace(2.5f, 0.5f);
        // Forward in segments of two elements to the last point inside; backward to the upstream side.
        expect_lines({{{2.5, 0.5}, {4.5, 0.5}, {6.5, 0.5}, {8.5, 0.5}}, {{2.5, 0.5}, {0.5, 0.5}}});
    }
}

TEST_F(FlowLinesTest, SlantedStreamFollowsItsSlopeAndAPointOnTheSideIsInside)
{
    for (const Orientation& o : ORIENTATIONS) {
        SCOPED_TRACE(o.name);
        make_plane_box(o, 10, 4, 1.0f, 0.5f);
        o.trace(3.0f, 1.0f);
        // (9, 4) lies on the upper side and (1, 0) on the lower one: both inside; the points after them
        // are not.
        expect_lines({{{3, 1}, {5, 2}, {7, 3}, {9, 4}}, {{3, 1}, {1, 0}}});
    }
}

TEST_F(FlowLinesTest, StartsThatDrawNothing)
{
    for (const Orientation& o : ORIENTATIONS) {
        SCOPED_TRACE(o.name);
        // In a body: no call at all.
        make_plane_box(o, 10, 2, 1.0f, 0.0f);
        cell_at(3, 1) = -1;
        o.trace(2.5f, 0.5f);
        EXPECT_TRUE(HEADLESS.calls.empty());

        // In a cell that is not well sampled (40 molecules in 20 samples): no call.
        make_plane_box(o, 10, 2, 1.0f, 0.0f);
        RESULTS.VAR(VAR_SAMPLE_SIZE, cell_at(3, 1)) = 40.0f;
        o.trace(2.5f, 0.5f);
        EXPECT_TRUE(HEADLESS.calls.empty());

        // At rest: both halves end at their first step, so no line is drawn.
        make_plane_box(o, 10, 2, 0.0f, 0.0f);
        o.trace(2.5f, 0.5f);
        EXPECT_EQ(HEADLESS.count("IGrLineTo"), 0);
    }
}

TEST_F(FlowLinesTest, ThinlySampledCellEndsTheWholeLine)
{
    for (const Orientation& o : ORIENTATIONS) {
        SCOPED_TRACE(o.name);
        make_plane_box(o, 10, 2, 1.0f, 0.0f);
        // The cells of 5..6 across: 30 molecules in 20 samples, 10 per cell.
        for (int up = 1; up <= 2; ++up)
            RESULTS.VAR(VAR_SAMPLE_SIZE, cell_at(6, up)) = 30.0f;
        o.trace(2.5f, 0.5f);
        expect_lines({{{2.5, 0.5}, {4.5, 0.5}}});  // no backward half

        // Above two per sample the cell passes whatever its count.
        make_plane_box(o, 10, 2, 1.0f, 0.0f);
        SAMPLES.SAMPLE_COUNT = 10;
        for (int up = 1; up <= 2; ++up)
            RESULTS.VAR(VAR_SAMPLE_SIZE, cell_at(6, up)) = 30.0f;
        o.trace(2.5f, 0.5f);
        EXPECT_EQ(recorded_lines().size(), 2u);

        // 41 molecules in 25 samples, but only 0.05 per cell: ends the line too.
        make_plane_box(o, 10, 2, 1.0f, 0.0f);
        SAMPLES.SAMPLE_COUNT = 25;
        for (int up = 1; up <= 2; ++up) {
            RESULTS.VAR(VAR_SAMPLE_SIZE, cell_at(6, up)) = 41.0f;
            RESULTS.VAR(VAR_MOLS_PER_CELL, cell_at(6, up)) = 0.05f;
        }
        o.trace(2.5f, 0.5f);
        expect_lines({{{2.5, 0.5}, {4.5, 0.5}}});
    }
}

TEST_F(FlowLinesTest, ABodyOrAStreamAtRestAheadEndsOnlyThatHalf)
{
    const Orientation& o = ORIENTATIONS[0];
    make_plane_box(o, 10, 2, 1.0f, 0.0f);
    cell_at(7, 1) = -1;  // a body at 6..7
    o.trace(2.5f, 0.5f);
    expect_lines({{{2.5, 0.5}, {4.5, 0.5}}, {{2.5, 0.5}, {0.5, 0.5}}});

    // Gas moving the other way beyond 5: the mean velocity there has no larger component.
    make_plane_box(o, 10, 2, 1.0f, 0.0f);
    for (int across = 6; across <= 10; ++across)
        set_velocity(cell_at(across, 1), -1.0f, 0.0f);
    o.trace(2.5f, 0.5f);
    expect_lines({{{2.5, 0.5}, {4.5, 0.5}}, {{2.5, 0.5}, {0.5, 0.5}}});
}

TEST_F(FlowLinesTest, AtMostAThousandSegmentsEachWay)
{
    const Orientation& o = ORIENTATIONS[0];
    make_plane_box(o, 2200, 1, 1.0f, 0.0f);
    o.trace(100.5f, 0.5f);
    const auto lines = recorded_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 1u + 1000u);  // the start and 1000 segments
    EXPECT_NEAR(lines[0].back().first, 2100.5, 1e-3);
    EXPECT_EQ(lines[1].size(), 1u + 50u);  // back to 0.5
    EXPECT_NEAR(lines[1].back().first, 0.5, 1e-5);
}

}  // namespace
