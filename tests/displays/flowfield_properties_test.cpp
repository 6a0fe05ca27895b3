// The flowfield property table: titles, kinds and unit texts of both displays, the conversions of the
// three unit systems, the code-15 cap, the logarithm's floor, the well-sampled test and the plane frame.
#include "app/displays/flowfield_properties.h"

#include "flow_plane_case.h"

#include <cmath>
#include <limits>

namespace {

class FlowfieldPropertiesTest : public FlowPlaneTest {
protected:
    void SetUp() override
    {
        FlowPlaneTest::SetUp();
        const float low[3] = {0, 0, 0}, high[3] = {3, 1, 1};
        const int divisions[3] = {3, 1, 1}, elements[3] = {1, 1, 1};
        make_box(low, high, divisions, elements, 2);
        GasState& G = GAS;
        G.STREAM_DENSITY = 1.0e20f;
        G.STREAM_MASS_DENSITY = 4.0e-6f;
        G.STREAM_SPEED = 500.0f;
        G.STREAM_TEMP = 200.0f;
        G.STREAM_PRESSURE = 0.25f;
        HEADLESS.calls.clear();
    }
};

TEST_F(FlowfieldPropertiesTest, TitlesKindsAndUnitTexts)
{
    const auto LIVE = FlowDisplay::LIVE;
    const auto SECTION_D = FlowDisplay::SECTION;
    const struct {
        int code;
        FlowDisplay display;
        const char* title;
        PropertyKind kind;
        const char *si, *english, *ratio;
    } cases[] = {
        {1, LIVE, "Sample Size", PropertyKind::NONE, "", "", ""},
        {2, LIVE, "Number Density", PropertyKind::NUMBER_DENSITY, "/ cu m", "/ cu ft",
         "/ Stream Number Density"},
        {3, LIVE, "Density", PropertyKind::DENSITY, "kg / cu m", "lbm / cu ft", "/ Stream Density"},
        {5, LIVE, "Velocity in y dirn.", PropertyKind::VELOCITY, "m/s", "ft/s", "/ Stream Speed"},
        {10, LIVE, "Temperature", PropertyKind::TEMPERATURE, "K", "F", "/ Stream Temperature"},
        {13, LIVE, "Mean Collision Time", PropertyKind::TIME, "sec", "sec", "sec"},
        {14, LIVE, "Mean Free Path", PropertyKind::LENGTH, "m", "ft", "m"},
        {15, LIVE, "Mean Coll. Sep. / m.f.p.", PropertyKind::NONE, "", "", ""},
        {16, LIVE, "Flow Speed", PropertyKind::VELOCITY, "m/s", "ft/s", "/ Stream Speed"},
        {17, LIVE, "Scalar Pressure nkT", PropertyKind::PRESSURE, "Pa", "lbf / sq ft", "/ Stream Pressure"},
        {18, LIVE, "Fraction Species 1", PropertyKind::NONE, "", "", ""},
        {29, LIVE, "Fraction Species 12", PropertyKind::NONE, "", "", ""},
        // The section display: its own code-15 title, texts without the blank after the stroke for the
        // temperatures, the pressure, the flow speed and the diffusion velocities, not for u, v, w.
        {4, SECTION_D, "Velocity in x dirn.", PropertyKind::VELOCITY, "m/s", "ft/s", "/ Stream Speed"},
        {7, SECTION_D, "Translational Temp.", PropertyKind::TEMPERATURE, "K", "F", "/Stream Temperature"},
        {15, SECTION_D, "Mean. Coll. Sep. / m.f.p.", PropertyKind::NONE, "", "", ""},
        {16, SECTION_D, "Flow Speed", PropertyKind::VELOCITY, "m/s", "ft/s", "/Stream Speed"},
        {17, SECTION_D, "Scalar Pressure nkT", PropertyKind::PRESSURE, "Pa", "lbf/sq ft", "/Stream Pressure"},
        {18, SECTION_D, "Sample Size", PropertyKind::NONE, "", "", ""},
        {19, SECTION_D, "Number Fraction", PropertyKind::NONE, "", "", ""},
        {22, SECTION_D, "z Comp Trans. Temp.", PropertyKind::TEMPERATURE, "K", "F", "/Stream Temperature"},
        {25, SECTION_D, "Vibrational Temp.", PropertyKind::TEMPERATURE, "K", "F", "/Stream Temperature"},
        {28, SECTION_D, "z Comp. Diff. Vel.", PropertyKind::VELOCITY, "m/s", "ft/s", "/Stream Speed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(flow_property_title(c.code, c.display), c.title);
        EXPECT_EQ(flow_property_kind(c.code, c.display), c.kind);
        EXPECT_EQ(flow_property_unit_text(c.code, c.display, 1), c.si);
        EXPECT_EQ(flow_property_unit_text(c.code, c.display, 2), c.english);
        EXPECT_EQ(flow_property_unit_text(c.code, c.display, 3), c.ratio);
    }
    // The live display offers 29 codes (species 1..12), the section display 28.
    EXPECT_TRUE(flow_property_code_valid(29, LIVE));
    EXPECT_FALSE(flow_property_code_valid(30, LIVE));
    EXPECT_FALSE(flow_property_code_valid(29, SECTION_D));
    EXPECT_FALSE(flow_property_code_valid(0, SECTION_D));
}

TEST_F(FlowfieldPropertiesTest, ConversionsOfTheThreeUnitSystems)
{
    const struct {
        PropertyKind kind;
        float v;
        float english, ratio;
    } cases[] = {
        {PropertyKind::NONE, 7.0f, 7.0f, 7.0f},
        {PropertyKind::NUMBER_DENSITY, 1.0e21f, 2.8317e19f, 10.0f},
        {PropertyKind::DENSITY, 2.0e-5f, 1.24856e-6f, 5.0f},
        {PropertyKind::VELOCITY, 1000.0f, 3280.84f, 2.0f},
        {PropertyKind::TEMPERATURE, 300.0f, 80.6f, 1.5f},  // 1.8 T - 459.4, not 459.67
        {PropertyKind::PRESSURE, 1.0f, 0.0208854f, 4.0f},
        {PropertyKind::TIME, 3.0e-4f, 3.0e-4f, 3.0e-4f},  // seconds in every system
        {PropertyKind::LENGTH, 0.5f, 1.64042f, 0.5f},     // metres in the dimensionless system
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        EXPECT_EQ(convert_flow_value(c.v, c.kind, 1), c.v);
        EXPECT_NEAR(convert_flow_value(c.v, c.kind, 2), c.english, 1e-5 * std::fabs(c.english));
        EXPECT_NEAR(convert_flow_value(c.v, c.kind, 3), c.ratio, 1e-5 * std::fabs(c.ratio));
    }
}

TEST_F(FlowfieldPropertiesTest, DisplayValuesFromTheResults)
{
    auto& VAR = RESULTS.VAR;
    VAR(VAR_TEMP, 1) = 300.0f;
    VAR(VAR_SEP_MFP, 1) = 0.8f;
    VAR(VAR_SEP_MFP, 2) = 0.3f;
    VAR(VAR_MFP, 1) = 0.02f;
    VAR(VAR_FRACTION + 2, 1) = 0.25f;
    RESULTS.SPECIES_VAR(SV_TRANS_TEMP_X + 1, 1, 2) = 400.0f;
    RUN.SEP_MFP_RATIO = 0.4f;

    RUN.OUTPUT_UNITS = 2;
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(10, 1, FlowDisplay::LIVE), 80.6f);
    // Code 15 above SEP_MFP_RATIO shows the ratio; below it, its own value.
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(15, 1, FlowDisplay::LIVE), 0.4f);
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(15, 2, FlowDisplay::SECTION), 0.3f);
    // Live code 19 is the fraction of species 2; section code 21 is SPECIES_VAR row 4 of the species.
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(19, 1, FlowDisplay::LIVE), 0.25f);
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(21, 1, FlowDisplay::SECTION, 2), 400.0f * 1.8f - 459.4f);

    RUN.OUTPUT_UNITS = 3;
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(14, 1, FlowDisplay::LIVE), 0.02f);  // unchanged, "m"
    EXPECT_EQ(flow_property_unit_text(14, FlowDisplay::LIVE, 3), "m");
    EXPECT_FLOAT_EQ(FLOW_DISPLAY_VALUE(10, 1, FlowDisplay::LIVE), 1.5f);
}

TEST_F(FlowfieldPropertiesTest, LogarithmNeedsAValueAboveTheFloor)
{
    float out = 42.0f;
    EXPECT_FALSE(log_display_value(1.0e-6f, out));
    EXPECT_FALSE(log_display_value(0.0f, out));
    EXPECT_FALSE(log_display_value(-3.0f, out));
    EXPECT_FALSE(log_display_value(std::numeric_limits<float>::quiet_NaN(), out));
    EXPECT_FALSE(log_display_value(std::numeric_limits<float>::infinity(), out));
    EXPECT_EQ(out, 42.0f);
    ASSERT_TRUE(log_display_value(1.0e-5f, out));
    EXPECT_NEAR(out, -5.0f, 1e-6);
    ASSERT_TRUE(log_display_value(2000.0f, out));
    EXPECT_NEAR(out, std::log10(2000.0), 1e-6);
}

TEST_F(FlowfieldPropertiesTest, WellSampledCells)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float sample_size;
        int samples;
        bool well;
    } cases[] = {
        {41.0f, 1000, true},                       // more than 40
        {40.9f, 0, true},                          // 40 > 2 x 0
        {40.9f, 20, false},                        // truncated to 40: neither above 40 nor above 40
        {40.0f, 19, true},                         // above two per sample
        {3.0f, 1, true},                           // 3 > 2
        {2.0f, 1, false},    {1.0e30f, 20, true},  // clamped, not wrapped
        {nan, 0, false},                           // no sample size at all
        {-5.0f, 0, false},   {100.0f, 2147483647, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample_size);
        RESULTS.VAR(VAR_SAMPLE_SIZE, 1) = c.sample_size;
        SAMPLES.SAMPLE_COUNT = c.samples;
        EXPECT_EQ(WELL_SAMPLED(1), c.well);
    }
}

TEST_F(FlowfieldPropertiesTest, PlaneFrames)
{
    // Box x 0..3, y 0..1, z 0..1.
    const struct {
        int axis;
        float k;
        float left, bottom, right, top;
    } cases[] = {
        // z plane, x across, y up: the x extent is the longer; the y direction is padded.
        {3, LIVE_FRAME_ASPECT, -0.15f, -1.01375f, 3.15f, 2.01375f},
        {3, SECTION_FRAME_ASPECT, -0.15f, -1.15f, 3.15f, 2.15f},
        // x plane, z across, y up: a square section, 1 <= 1.2725 x 1: margin 5 % of y, z padded.
        {1, LIVE_FRAME_ASPECT, -0.186250f, -0.05f, 1.186250f, 1.05f},
        {1, SECTION_FRAME_ASPECT, -0.05f, -0.05f, 1.05f, 1.05f},
        // y plane, x across, z up.
        {2, SECTION_FRAME_ASPECT, -0.15f, -1.15f, 3.15f, 2.15f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axis * 10 + (c.k == 1.0f));
        HEADLESS.calls.clear();
        SET_PLANE_FRAME(c.axis, c.k);
        EXPECT_NEAR(PLANE_FRAME_LEFT(c.axis), c.left, 1e-6);
        EXPECT_NEAR(PLANE_FRAME_BOTTOM(c.axis), c.bottom, 1e-6);
        EXPECT_NEAR(PLANE_FRAME_RIGHT(c.axis), c.right, 1e-6);
        EXPECT_NEAR(PLANE_FRAME_TOP(c.axis), c.top, 1e-6);
        const auto units = calls_of("IGrUnits");
        ASSERT_EQ(units.size(), 1u);
        EXPECT_NEAR(units[0].numbers[0], c.left, 1e-5);
        EXPECT_NEAR(units[0].numbers[1], c.bottom, 1e-5);
        EXPECT_NEAR(units[0].numbers[2], c.right, 1e-5);
        EXPECT_NEAR(units[0].numbers[3], c.top, 1e-5);
    }
    // Each axis keeps its own frame.
    EXPECT_NEAR(PLANE_FRAME_TOP(3), 2.15f, 1e-6);
    EXPECT_NEAR(PLANE_FRAME_TOP(1), 1.05f, 1e-6);
    EXPECT_STREQ(axis_letter(plane_across_axis(1)), "z");
    EXPECT_STREQ(axis_letter(plane_up_axis(2)), "z");
    EXPECT_STREQ(axis_letter(plane_up_axis(3)), "y");
}

}  // namespace
