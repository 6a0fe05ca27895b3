// The surface property values, their range and colour indices, the legend strip, and the live surface
// picture on the headless toolkit.
#include "app/displays/displays.h"
#include "app/displays/surface_values.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/displays/view_3d_gl.h"
#include "app/state/results.h"
#include "display_case.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Surfaces with the given numbers of solid triangles and one species; VARS rows all 0, sample size 10.
void make_surfaces(const std::vector<int>& solid_counts)
{
    SurfaceState& S = SURFACE;
    S.SURFACE_COUNT = static_cast<int>(solid_counts.size());
    S.SURFACE_SOLID_COUNT.allocate(S.SURFACE_COUNT);
    S.SOLID_TRIANGLE_COUNT = 0;
    for (int k = 1; k <= S.SURFACE_COUNT; ++k) {
        S.SURFACE_SOLID_COUNT(k) = solid_counts[k - 1];
        S.SOLID_TRIANGLE_COUNT += solid_counts[k - 1];
    }
    S.SOLID_TRIANGLE.allocate(2, S.SOLID_TRIANGLE_COUNT);
    GAS.SPECIES_COUNT = 1;
    RESULTS.VARS.allocate(10, S.SOLID_TRIANGLE_COUNT);
    for (int t = 1; t <= S.SOLID_TRIANGLE_COUNT; ++t) {
        for (int r = 1; r <= 10; ++r)
            RESULTS.VARS(r, t) = 0.0f;
        RESULTS.VARS(1, t) = 10.0f;
    }
}

Array<float, 2> filled(SurfaceDisplay display)
{
    Array<float, 2> VARL;
    VARL.allocate(surface_row_count(display), SURFACE.SOLID_TRIANGLE_COUNT);
    fill_surface_values(VARL, display);
    return VARL;
}

std::vector<std::string> calls_starting(const std::string& prefix)
{
    std::vector<std::string> out;
    for (const auto& c : HEADLESS.calls)
        if (c.rfind(prefix, 0) == 0)
            out.push_back(c);
    return out;
}

class SurfaceValuesTest : public DisplayCaseTest {};

TEST_F(SurfaceValuesTest, RangeCountsTriangleWithFiveSamplesNotFourPointNine)
{
    make_surfaces({2});
    RESULTS.VARS(1, 1) = 5.0f;
    RESULTS.VARS(3, 1) = 10.0f;
    RESULTS.VARS(1, 2) = 4.9f;
    RESULTS.VARS(3, 2) = 1000.0f;
    const Array<float, 2> VARL = filled(SurfaceDisplay::LIVE);
    const SurfaceScale s = surface_scale(VARL, 3, false, false, 0, 0);
    ASSERT_TRUE(s.counted);
    // One counted value: the flat range is widened by 1 % each way.
    EXPECT_NEAR(s.lo, 9.9f, 1e-5);
    EXPECT_NEAR(s.R, 0.2f, 1e-5);
    // The sample size itself counts every triangle.
    const SurfaceScale samples = surface_scale(VARL, 1, false, false, 0, 0);
    EXPECT_NEAR(samples.lo, 4.9f, 1e-6);
    EXPECT_NEAR(samples.R, 0.1f, 1e-6);
}

TEST_F(SurfaceValuesTest, FluxRangeStartsFromTheMillionFloor)
{
    make_surfaces({2});
    RESULTS.VARS(2, 1) = 1e20f;
    RESULTS.VARS(2, 2) = 3e20f;
    const SurfaceScale s = surface_scale(filled(SurfaceDisplay::LIVE), 2, false, false, 0, 0);
    EXPECT_FLOAT_EQ(s.lo, 1.0E6f);
    EXPECT_FLOAT_EQ(s.lo + s.R, 3e20f);
}

TEST_F(SurfaceValuesTest, UnitConversions)
{
    make_surfaces({1});
    RESULTS.VARS(2, 1) = 1000.0f;  // number flux
    RESULTS.VARS(3, 1) = 100.0f;   // pressure
    RESULTS.VARS(6, 1) = 5e4f;     // incident heat flux
    RESULTS.VARS(9, 1) = 300.0f;   // temperature
    RESULTS.VARS(10, 1) = 0.5f;    // species fraction: never converted
    RUN.OUTPUT_UNITS = 2;
    Array<float, 2> live = filled(SurfaceDisplay::LIVE);
    EXPECT_NEAR(live(10, 1), 80.6f, 1e-4);
    EXPECT_NEAR(live(3, 1), 2.08854f, 1e-6);
    EXPECT_FLOAT_EQ(live(11, 1), 0.5f);
    Array<float, 2> window = filled(SurfaceDisplay::WINDOW);
    EXPECT_NEAR(window(9, 1), 80.6f, 1e-4);
    EXPECT_NEAR(window(2, 1), 92.903f, 1e-3);

    RUN.OUTPUT_UNITS = 3;
    GAS.STREAM_MASS_DENSITY = 1e-4f;
    GAS.STREAM_SPEED = 1000.0f;
    GAS.STREAM_DENSITY = 1.0f;
    GAS.STREAM_TEMP = 300.0f;
    live = filled(SurfaceDisplay::LIVE);
    EXPECT_NEAR(live(3, 1), 2.0f, 1e-6);
    EXPECT_NEAR(live(7, 1), 1.0f, 1e-6);
    EXPECT_NEAR(live(2, 1), 1.0f, 1e-6);
    EXPECT_NEAR(live(10, 1), 1.0f, 1e-6);
    EXPECT_EQ(surface_unit(SurfaceDisplay::LIVE, 7, 2), "Btu/sq ft/s");
    EXPECT_EQ(surface_unit(SurfaceDisplay::WINDOW, 6, 2), "Btu/sq ft/sec");
    EXPECT_EQ(surface_unit(SurfaceDisplay::WINDOW, 1, 3), "");
}

TEST_F(SurfaceValuesTest, UserLimitsAndTheirCollapse)
{
    make_surfaces({2});
    RESULTS.VARS(3, 1) = 0.0f;
    RESULTS.VARS(3, 2) = 100.0f;
    const Array<float, 2> VARL = filled(SurfaceDisplay::LIVE);
    const SurfaceScale s = surface_scale(VARL, 3, false, false, 0, -10);
    EXPECT_FLOAT_EQ(s.lo, 0.0f);
    EXPECT_FLOAT_EQ(s.lo + s.R, 70.0f);
    // lo pushed above hi around the midpoint 50.
    const SurfaceScale c = surface_scale(VARL, 3, false, false, 30, -30);
    EXPECT_FLOAT_EQ(c.lo, 0.985f * 50.0f);
    EXPECT_NEAR(c.lo + c.R, 1.015f * 50.0f, 1e-4);
}

TEST_F(SurfaceValuesTest, WindowRowsAndTitles)
{
    make_surfaces({3, 2});
    RESULTS.VARS(4, 4) = 3.0f;
    RESULTS.VARS(5, 4) = 4.0f;
    const Array<float, 2> VARL = filled(SurfaceDisplay::WINDOW);
    EXPECT_FLOAT_EQ(VARL(11, 3), 3.0f);  // triangle number: the third of surface 1
    EXPECT_FLOAT_EQ(VARL(11, 4), 1.0f);  // the first of surface 2
    EXPECT_FLOAT_EQ(VARL(12, 4), 5.0f);
    EXPECT_FLOAT_EQ(VARL(13, 4), 5.0f);
    EXPECT_EQ(surface_title(SurfaceDisplay::WINDOW, 10), "Fraction Species 1");
    EXPECT_EQ(surface_title(SurfaceDisplay::WINDOW, 11), "Triangle Number");
    EXPECT_EQ(surface_title(SurfaceDisplay::WINDOW, 13), "Shear Stress Magnitude and Direction");
    EXPECT_EQ(surface_title(SurfaceDisplay::LIVE, 6), "Shear St. Magnitude");
    EXPECT_EQ(surface_title(SurfaceDisplay::LIVE, 22), "Fraction Species 12");
    EXPECT_EQ(surface_title(SurfaceDisplay::LIVE, 23), "");
}

TEST_F(SurfaceValuesTest, ColourIndicesClampInFloatingPoint)
{
    SurfaceScale s;
    s.counted = true;
    s.lo = 0.0f;
    s.R = 100.0f;
    const std::pair<float, int> cases[] = {{0.0f, 1},  {50.0f, 127}, {100.0f, 255}, {120.0f, 255},
                                           {-5.0f, 1}, {1e30f, 255}, {-1e30f, 1},   {std::nanf(""), 1}};
    for (const auto& [v, k] : cases)
        EXPECT_EQ(surface_colour_index(v, s), k) << v;
    s.log = true;
    s.lo = 0.0f;
    s.R = 2.0f;
    EXPECT_EQ(surface_colour_index(0.0f, s), 1);
    EXPECT_EQ(surface_colour_index(1e-6f, s), 1);
    EXPECT_EQ(surface_colour_index(10.0f, s), 127);
    s.R = 0.0f;
    EXPECT_EQ(surface_colour_index(5.0f, s), 1);
}

TEST_F(SurfaceValuesTest, LegendMarksAroundZero)
{
    // lo -4, hi 6: R 10 gives major step 2, minor 0.5.
    const LegendMarks m = legend_marks(-4.0f, 10.0f, 2.0f, 0.5f, 0);
    std::vector<float> labels = m.labels;
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, (std::vector<float>{-2.0f, 0.0f, 0.0f, 2.0f, 4.0f}));
    EXPECT_EQ(m.major.size(), 5u);
    EXPECT_FLOAT_EQ(m.major.front(), 0.4f);  // the 0 tick at (0 - lo) / R
    // 0 .. 2.5e20: labels every 0.5 (x 10^20), none at the top end.
    const LegendMarks big = legend_marks(0.0f, 2.5e20f, 0.5f, 0.1f, 20);
    ASSERT_EQ(big.labels.size(), 4u);  // 0.5, 1.0, 1.5, 2.0 (0 is not above lo)
    EXPECT_FLOAT_EQ(big.labels[0], 0.5f);
    EXPECT_FLOAT_EQ(big.labels[3], 2.0f);
    // A narrow range far from 0 (steps below the spacing of 4-byte reals there) ends, with its marks
    // between the ends of the scale.
    const LegendMarks far = legend_marks(1e20f, 1e14f, 0.2f, 0.05f, 13);
    EXPECT_LT(far.minor.size(), 1000u);
    EXPECT_GE(far.major.size(), 1u);
    for (float f : far.minor) {
        EXPECT_GE(f, 0.0f);
        EXPECT_LE(f, 1.0f);
    }
}

TEST_F(SurfaceValuesTest, LegendStripOfTheLivePicture)
{
    make_surfaces({2});
    RESULTS.VARS(2, 1) = 0.0f;
    RESULTS.VARS(2, 2) = 2.5e20f;
    SurfaceScale s = surface_scale(filled(SurfaceDisplay::LIVE), 2, false, false, 0, 0);
    ASSERT_FLOAT_EQ(s.R, 2.5e20f);
    SURFACE_LEGEND_STRIP(SurfaceDisplay::LIVE, 2, s);
    EXPECT_EQ(HEADLESS.count("WGrTextString 500 9900 |Number Flux|"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextString 3000 9900 |/sq m /s|"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextString 3700 9900 |x10|"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 9830 -20 3"), 1);
    const auto labels = calls_starting("WGrTextReal");
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[0], "WGrTextReal 980 9600 0.5 (F5.1)");  // INT(0.2 x 4500 + 250) - 170
    // The 254 bar cells plus the strip's background.
    EXPECT_EQ(HEADLESS.count("IGrRectangle"), 255);

    // R between 1 and 10: no power of ten; white background: strip in colour 0.
    HEADLESS.calls.clear();
    DISPLAY.SURF_WHITE_BACKGROUND.set(1);
    s.lo = 0.0f;
    s.R = 5.0f;
    SURFACE_LEGEND_STRIP(SurfaceDisplay::LIVE, 2, s);
    EXPECT_EQ(HEADLESS.count("WGrTextString 3700 9900 |x10|"), 0);
    EXPECT_EQ(HEADLESS.calls[3], "IGrColourN 0");
}

TEST_F(SurfaceValuesTest, AllValuesZeroGiveTitleOnlyAndIndexOne)
{
    make_surfaces({3});
    DISPLAY.SURF_DISPLAY_PROPERTY.set(3);
    BOX.BOUNDARY_CODE.allocate(6);
    SURFACE.SURFACE_TRIANGLE_COUNT.allocate(1);
    SURFACE.SURFACE_FIRST_TRIANGLE.allocate(1);
    SURFACE.SURFACE_TRIANGLE_COUNT(1) = 0;  // no geometry needed for the legend and the colours
    SURFACE.SURFACE_FIRST_TRIANGLE(1) = 0;
    for (int t = 1; t <= 3; ++t)
        SURFACE.SOLID_TRIANGLE(2, t) = 77;
    DRAW_SURFACE_PROPERTIES();
    EXPECT_EQ(HEADLESS.count("WGrTextString 500 9900 |Pressure|"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextReal"), 0);
    EXPECT_EQ(HEADLESS.count("WGrTextString 3000 9900"), 0);
    for (int t = 1; t <= 3; ++t)
        EXPECT_EQ(SURFACE.SOLID_TRIANGLE(2, t), 1);
    EXPECT_EQ(DISPLAY.VIEW_MODE_3D, 2);
}

TEST_F(SurfaceValuesTest, NothingDrawnBeforeTheFirstWellSampledTriangle)
{
    make_surfaces({2});
    for (int t = 1; t <= 2; ++t) {
        RESULTS.VARS(1, t) = 4.0f;
        SURFACE.SOLID_TRIANGLE(2, t) = 99;
    }
    DISPLAY.SURF_DISPLAY_PROPERTY.set(3);
    DISPLAY.SURF_LOG_SCALE.set(1);
    DRAW_SURFACE_PROPERTIES();
    EXPECT_TRUE(HEADLESS.calls.empty());
    EXPECT_EQ(SURFACE.SOLID_TRIANGLE(2, 1), 99);
    // Nothing was counted, so nothing refused the log option either.
    EXPECT_EQ(DISPLAY.SURF_LOG_SCALE.current, 1);
}

TEST_F(SurfaceValuesTest, LiveLogOptionRefusedForValuesAtZero)
{
    make_surfaces({2});
    RESULTS.VARS(3, 2) = 50.0f;
    Array<float, 2> VARL = filled(SurfaceDisplay::LIVE);
    const SurfaceScale s = surface_scale(VARL, 3, true, false, 0, 0);
    EXPECT_TRUE(s.log_refused);
    EXPECT_FALSE(s.log);
    EXPECT_FLOAT_EQ(s.R, 50.0f);
    // Positive values: the range in log10 units.
    RESULTS.VARS(3, 1) = 10.0f;
    RESULTS.VARS(3, 2) = 1000.0f;
    VARL = filled(SurfaceDisplay::LIVE);
    const SurfaceScale l = surface_scale(VARL, 3, true, false, 0, 0);
    EXPECT_TRUE(l.log);
    EXPECT_FLOAT_EQ(l.lo, 1.0f);
    EXPECT_FLOAT_EQ(l.R, 2.0f);
    // The window refuses a flat range as well.
    RESULTS.VARS(3, 2) = 10.0f;
    VARL = filled(SurfaceDisplay::LIVE);
    EXPECT_FALSE(surface_scale(VARL, 3, true, false, 0, 0).log_refused);
    EXPECT_TRUE(surface_scale(VARL, 3, true, true, 0, 0).log_refused);
}

TEST_F(SurfaceValuesTest, LivePictureOfTheReentryCase)
{
    load_case(3);
    const int n = SURFACE.SOLID_TRIANGLE_COUNT;
    RESULTS.VARS.allocate(9 + GAS.SPECIES_COUNT, n);
    for (int t = 1; t <= n; ++t) {
        for (int r = 1; r <= 9 + GAS.SPECIES_COUNT; ++r)
            RESULTS.VARS(r, t) = 0.0f;
        RESULTS.VARS(1, t) = 20.0f;
        RESULTS.VARS(3, t) = static_cast<float>(t);
    }
    DISPLAY.SURF_DISPLAY_PROPERTY.set(3);
    GL_VIEW_RECORD.clear();
    DRAW_SURFACE_PROPERTIES();
    EXPECT_EQ(SURFACE.SOLID_TRIANGLE(2, 1), 1);
    EXPECT_EQ(SURFACE.SOLID_TRIANGLE(2, n), 255);
    const std::vector<std::string> order = calls_starting("W");
    const std::vector<std::string> gl = {"WBitmapCreate 1 510 420", "WGlSelectTarget 2 1 0",
                                         "WGlSelectTarget 0 -1 0", "WBitmapPut 1 2 0", "WBitmapDestroy 1"};
    std::vector<std::string> seen;
    for (const auto& c : order)
        if (c.rfind("WBitmap", 0) == 0 || c.rfind("WGl", 0) == 0)
            seen.push_back(c);
    EXPECT_EQ(seen, gl);
    EXPECT_EQ(HEADLESS.count("WGlSwapBuffers"), 0);
    EXPECT_EQ(HEADLESS.count("IGrArea 0 0.1 0.5 0.68"), 1);
    EXPECT_EQ(GL_VIEW_RECORD.front(), "clear colour 0 1");
    EXPECT_EQ(GL_VIEW_RECORD.back(), "draw list");
    // Mirrored in the symmetry plane: every solid triangle twice.
    ASSERT_EQ(VIEW_LIST.primitives.size(), 1u);
    EXPECT_EQ(VIEW_LIST.primitives[0].vertices.size(), 3u * 2u * 1456u);
}

}  // namespace
