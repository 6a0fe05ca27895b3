// Chart set-up: ranges, log ranges, new plots and their per-type defaults.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/chart_setup.h"
#include "toolkit/graphics/gr_state.h"

#include <gtest/gtest.h>

namespace {

class ChartSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        GrColourState = GrColourStateRecord{};
        pg_chart_reset();
        ERROR_STATE = ErrorState{};
    }
};

TEST_F(ChartSetup, ResetValues)
{
    const auto& P = PgChartState;
    EXPECT_EQ(P.plot_type, 4);
    EXPECT_EQ(P.data_sets, 256);
    EXPECT_EQ(P.area_x2, 0.9f);
    EXPECT_EQ(P.style[7], (std::array<int, 3>{4, 2, 0}));
    EXPECT_EQ(P.colour[7], (std::array<int, 2>{64, 96}));  // (7 mod 6) x 32 + 32
    EXPECT_EQ(P.marker[0], -1);
    EXPECT_EQ(P.bar_width, 0.25f);
}

TEST_F(ChartSetup, AreaTakesOnlyValidValues)
{
    IPgArea(1.0f, 0.2f, 0.8f, 0.0f);
    EXPECT_EQ(PgChartState.area_x1, 0.1f);
    EXPECT_EQ(PgChartState.area_y1, 0.2f);
    EXPECT_EQ(PgChartState.area_x2, 0.8f);
    EXPECT_EQ(PgChartState.area_y2, 0.9f);
}

TEST_F(ChartSetup, RangesAndErrors)
{
    IPgSetUnits(5, 0, 5, 10);
    EXPECT_EQ(ERROR_STATE.last_error, 16);
    EXPECT_EQ(PgChartState.x_range, (std::array<float, 2>{0, 1}));
    EXPECT_EQ(PgChartState.y_range, (std::array<float, 2>{0, 10}));
    EXPECT_EQ(PgChartState.y_max, 10.0f);
    ERROR_STATE.last_error = 0;
    IPgZUnits(3, 3);
    EXPECT_EQ(ERROR_STATE.last_error, 16);
    EXPECT_EQ(PgChartState.z_extent, 1.0f);
    ERROR_STATE.last_error = 0;
    IPgLogReference(-2);
    EXPECT_EQ(ERROR_STATE.last_error, 16);
    EXPECT_EQ(PgChartState.y_log_reference, 1.0f);
}

TEST_F(ChartSetup, LogRanges)
{
    IPgAxisScales("log10", "Linear");
    IPgSetUnits(0, 1, 1000, 100);
    EXPECT_EQ(PgChartState.x_log_active, 1);
    EXPECT_EQ(PgChartState.y_log_active, 0);
    EXPECT_EQ(PgChartState.log_x[0], -38.0f);  // log of a zero range end
    EXPECT_FLOAT_EQ(PgChartState.log_x[1], 3.0f);
    IPgNewPlot(1, 1, 5);  // type 1 never has a log x axis
    EXPECT_EQ(PgChartState.x_log_active, 0);
}

TEST_F(ChartSetup, NewPlot)
{
    IPgNewPlot(11, 300, 0, 0, 0);
    EXPECT_EQ(PgChartState.plot_type, 4);
    EXPECT_EQ(PgChartState.data_sets, 256);
    EXPECT_EQ(PgChartState.points, 1);
    EXPECT_EQ(PgChartState.bar_width, 0.25f);
    IPgNewPlot(4, 3, 12);
    EXPECT_FLOAT_EQ(PgChartState.bar_width, 0.05f);
    EXPECT_EQ(PgChartState.points_less_one, 11.0f);
    // A stacked type-4 plot of 2000 points is cut to 1024 with error 24.
    IPgNewPlot(4, 2, 2000, 1 << 10);
    EXPECT_EQ(PgChartState.points, 1024);
    EXPECT_EQ(ERROR_STATE.last_error, 24);
    // Type 10 reads dimension counts, each at least 2.
    const int dims[] = {5, 1, 7};
    IPgNewPlot(10, 1, dims);
    EXPECT_EQ(PgChartState.points, 5);
    EXPECT_EQ(PgChartState.second_dimension, 2);
    EXPECT_EQ(PgChartState.third_dimension, 7);
    // The alternative form of type 5 with bit 9: offset from the two dimensions.
    const int dims5[] = {10, 4};
    IPgNewPlot(5, 1, dims5, 1 | (1 << 9));
    EXPECT_FLOAT_EQ(PgChartState.offset, 0.8f);
    EXPECT_EQ(PgChartState.three_way, 0);
}

TEST_F(ChartSetup, TypeDefaults)
{
    IPgNewPlot(4, 10, 250, 0, 1);
    EXPECT_EQ(PgChartState.label_steps, (std::array<int, 2>{20, 20}));  // 250: two divisions, leading 2
    EXPECT_EQ(PgChartState.style[9], (std::array<int, 3>{-2, 2, 0}));
    EXPECT_EQ(PgChartState.marker[9], 1);
    EXPECT_EQ(PgChartState.colour[0], (std::array<int, 2>{32, 64}));
    EXPECT_EQ(PgChartState.colour[1], (std::array<int, 2>{69, 101}));  // q = (0 + 1 + 36) mod 176 = 37
    IPgNewPlot(6, 3, 4, 1, 1);
    EXPECT_EQ(PgChartState.angle_words[0], -45);
    EXPECT_EQ(PgChartState.style[2], (std::array<int, 3>{-2, 0, 0}));
    IPgNewPlot(9, 2, 4, 0, 1);
    EXPECT_EQ(PgChartState.colour[1][0], 223);
    EXPECT_EQ(PgChartState.drawing_reals[9], 0.75f);
}

}  // namespace
