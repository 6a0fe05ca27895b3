// Streamlines of the surface display window through a small lattice of uniform flow.
#include "app/displays/streamline.h"
#include "app/displays/surface_window_state.h"
#include "app/state/results.h"
#include "display_case.h"

#include <vector>

namespace {

// Box x 0..10 in 5 divisions of 2 elements, y and z 0..1 in one element; one cell per element with the
// given velocity and sample size.
class StreamlineTest : public DisplayCaseTest {
protected:
    void SetUp() override
    {
        DisplayCaseTest::SetUp();
        BoxState& B = BOX;
        B.XMIN = B.YMIN = B.ZMIN = 0.0f;
        B.XMAX = 10.0f;
        B.YMAX = B.ZMAX = 1.0f;
        B.DIVISIONS_X = 5;
        B.DIVISIONS_Y = B.DIVISIONS_Z = 1;
        B.ELEMENTS_PER_DIVISION_X = 2;
        B.ELEMENTS_PER_DIVISION_Y = B.ELEMENTS_PER_DIVISION_Z = 1;
        set_lattice_scalars();
        DIVISIONS.ELEMENT_CELL.allocate(1, 1, 5, 1, 1, 2);
        int cell = 0;
        for (int d = 1; d <= 5; ++d)
            for (int e = 1; e <= 2; ++e)
                DIVISIONS.ELEMENT_CELL(1, 1, d, 1, 1, e) = ++cell;
        RESULTS.VAR.allocate(17, 10);
        set_flow(1.0f, 20.0f);
        open_surface_window_state();  // the store of the window: STREAMLINE_MAX_POINTS 12
    }
    static void set_flow(float u, float samples)
    {
        for (int c = 1; c <= 10; ++c) {
            for (int r = 1; r <= 17; ++r)
                RESULTS.VAR(r, c) = 0.0f;
            RESULTS.VAR(VAR_SAMPLE_SIZE, c) = samples;
            RESULTS.VAR(VAR_U, c) = u;
        }
    }
    static std::vector<float> xs(const Array<float, 2>& X, int row, int s)
    {
        std::vector<float> out;
        for (int i = 1; i <= S3D.STREAM_POINT_COUNT(row, s); ++i)
            out.push_back(X(s, i));
        return out;
    }
};

TEST_F(StreamlineTest, UniformFlowStepsJustBeyondEachFace)
{
    ASSERT_EQ(S3D.STREAMLINE_MAX_POINTS, 12);
    TRACE_STREAMLINE(3, 2.5f, 0.5f, 0.5f);
    const std::vector<float> down = xs(S3D.STREAM_DOWN_X, 1, 3);
    const std::vector<float> expected_down = {2.5f,    3.005f,  4.00995f, 5.0099f,
                                              6.0099f, 7.0099f, 8.0099f,  9.0099f};
    ASSERT_EQ(down.size(), expected_down.size());
    for (std::size_t i = 0; i < down.size(); ++i)
        EXPECT_NEAR(down[i], expected_down[i], 2e-5) << i;
    const std::vector<float> up = xs(S3D.STREAM_UP_X, 2, 3);
    const std::vector<float> expected_up = {2.5f, 1.995f, 0.99005f};
    ASSERT_EQ(up.size(), expected_up.size());
    for (std::size_t i = 0; i < up.size(); ++i)
        EXPECT_NEAR(up[i], expected_up[i], 2e-5) << i;
    EXPECT_FLOAT_EQ(S3D.STREAM_DOWN_Y(3, 5), 0.5f);
}

TEST_F(StreamlineTest, StillFlowFillsTheCapacityWithTheStart)
{
    set_flow(0.0f, 20.0f);
    TRACE_STREAMLINE(1, 2.5f, 0.5f, 0.5f);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(1, 1), 12);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(2, 1), 12);
    for (int i = 1; i <= 12; ++i)
        EXPECT_FLOAT_EQ(S3D.STREAM_DOWN_X(1, i), 2.5f);
}

// Every one of the 20 slots holds its streamline's point counts in a box of fewer than 20 elements
// along its axes together (12 here). Fault: the counts had one column per point of a streamline, so
// slots above 12 were written past the store.
TEST_F(StreamlineTest, TwentySlotsInABoxOfFewerElements)
{
    ASSERT_EQ(S3D.STREAMLINE_MAX_POINTS, 12);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT.extent(2), STREAMLINE_SLOTS);
    for (int slot : {1, 13, STREAMLINE_SLOTS}) {
        SCOPED_TRACE(slot);
        TRACE_STREAMLINE(slot, 2.5f, 0.5f, 0.5f);
        EXPECT_EQ(S3D.STREAM_POINT_COUNT(1, slot), 8) << "downstream, as in the first test";
        EXPECT_EQ(S3D.STREAM_POINT_COUNT(2, slot), 3) << "upstream";
    }
}

TEST_F(StreamlineTest, StartsThatGiveNoStreamline)
{
    RESULTS.VAR(VAR_SAMPLE_SIZE, 10) = 9.4f;  // the cell of x 9..10
    TRACE_STREAMLINE(2, 9.5f, 0.5f, 0.5f);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(1, 2), 0);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(2, 2), 0);
    RESULTS.VAR(VAR_SAMPLE_SIZE, 10) = 9.5f;
    TRACE_STREAMLINE(2, 9.5f, 0.5f, 0.5f);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(1, 2), 1);    // the first step leaves the box
    DIVISIONS.ELEMENT_CELL(1, 1, 1, 1, 1, 1) = 0;  // x 0..1 outside the flow
    TRACE_STREAMLINE(4, 0.5f, 0.5f, 0.5f);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(1, 4), 0);
    TRACE_STREAMLINE(4, 2.5f, 0.5f, 0.5f);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT(2, 4), 2);  // upstream ends entering the element without a cell
}

}  // namespace
