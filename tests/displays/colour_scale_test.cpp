// The colour scales: the flowfield ramp and its bands in the colour table, the legend steps, the byte
// ramp of the OpenGL surface pictures, and the numbered picture names.
#include "app/displays/colour_scale.h"
#include "app/displays/displays.h"
#include "app/state/run.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Rgb& c)
{
    return o << "(" << c.r << "," << c.g << "," << c.b << ")";
}

Rgb table_colour(int n)
{
    int rgb = 0;
    IGrColourRGBGet(n, rgb);
    return {rgb & 255, (rgb >> 8) & 255, (rgb >> 16) & 255};
}

TEST(ColourRamp, ContinuousScaleAtTheBandEdges)
{
    SET_COLOUR_RAMP();
    const struct {
        int n;
        Rgb colour;
    } cases[] = {
        {0, {0, 0, 0}},       {1, {0, 0, 255}},     {64, {0, 252, 255}}, {65, {0, 255, 255}},
        {127, {0, 255, 7}},   {128, {0, 255, 3}},   {129, {0, 255, 0}},  {192, {252, 255, 0}},
        {193, {255, 255, 0}}, {194, {255, 252, 0}}, {254, {255, 12, 0}}, {255, {255, 255, 255}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(table_colour(c.n), c.colour) << "colour " << c.n;
}

TEST(ColourRamp, BandedScaleRepeatsTheListedColours)
{
    std::array<int, BANDED_RAMP_ENTRIES> listed{};
    listed.fill(0);  // fillers outside 1..254 have no effect
    listed[0] = 1;
    listed[1] = 65;
    listed[2] = 129;
    listed[3] = 193;
    listed[4] = 300;
    SET_BANDED_RAMP(listed);
    for (int n = 1; n <= 254; ++n) {
        const Rgb want = n < 65    ? Rgb{0, 0, 255}
                         : n < 129 ? Rgb{0, 255, 255}
                         : n < 193 ? Rgb{0, 255, 0}
                                   : Rgb{255, 255, 0};
        ASSERT_EQ(table_colour(n), want) << "colour " << n;
    }
    EXPECT_EQ(table_colour(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(table_colour(255), (Rgb{255, 255, 255}));

    listed.fill(-5);  // nothing listed: blue throughout
    SET_BANDED_RAMP(listed);
    for (int n : {1, 100, 254})
        EXPECT_EQ(table_colour(n), (Rgb{0, 0, 255})) << "colour " << n;
}

TEST(LegendSteps, MantissaExponentAndStepsByRange)
{
    const struct {
        float v;
        float major, minor, m;
        int e;
    } cases[] = {
        {1.0f, 0.2f, 0.05f, 1.0f, 0},   {1500.0f, 0.2f, 0.05f, 1.5f, 3}, {2500.0f, 0.5f, 0.1f, 2.5f, 3},
        {0.007f, 2.0f, 0.5f, 7.0f, -3}, {10.0f, 2.0f, 0.5f, 10.0f, 0},   {100.0f, 2.0f, 0.5f, 10.0f, 1},
        {2.0f, 0.4f, 0.1f, 2.0f, 0},    {5.0f, 1.0f, 0.2f, 5.0f, 0},
    };
    for (const auto& c : cases) {
        float major = -1, minor = -1, m = -1;
        int e = 99;
        ASSERT_TRUE(LEGEND_STEPS(c.v, major, minor, m, e)) << c.v;
        EXPECT_FLOAT_EQ(major, c.major) << c.v;
        EXPECT_FLOAT_EQ(minor, c.minor) << c.v;
        EXPECT_NEAR(m, c.m, 1e-5f * c.m) << c.v;
        EXPECT_EQ(e, c.e) << c.v;
    }
}

// A range that is not a positive finite number once sent the scaling loop round for ever.
TEST(LegendSteps, NoStepsForRangesWithoutADecade)
{
    for (float v : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        float major = -1, minor = -1, m = -1;
        int e = 99;
        EXPECT_FALSE(LEGEND_STEPS(v, major, minor, m, e)) << v;
        EXPECT_EQ(major, 0.0f);
        EXPECT_EQ(minor, 0.0f);
        EXPECT_EQ(m, 0.0f);
        EXPECT_EQ(e, 0);
    }
}

TEST(SurfaceRamp, EntriesOfTheThreePlanes)
{
    ColourRamp ramp;
    FILL_COLOUR_RAMP(ramp);
    const struct {
        int i;
        Rgb colour;
    } cases[] = {
        {0, {0, 0, 0}},       {1, {0, 0, 255}},   {64, {0, 252, 255}},    {65, {0, 255, 252}},
        {127, {0, 255, 4}},   {128, {0, 255, 0}}, {129, {4, 255, 0}},     {191, {252, 255, 0}},
        {192, {255, 252, 0}}, {255, {255, 0, 0}}, {256, {200, 200, 200}},
    };
    for (const auto& c : cases) {
        const auto e = ramp.entry(c.i);
        EXPECT_EQ((Rgb{e[0], e[1], e[2]}), c.colour) << "entry " << c.i;
        EXPECT_EQ(ramp.bytes[ColourRamp::ENTRIES + c.i], e[1]) << "the green plane follows the red one";
    }
    ColourRamp again;
    again.bytes.fill(77);
    FILL_COLOUR_RAMP(again);
    EXPECT_EQ(again.bytes, ramp.bytes) << "every byte is written";
}

TEST(PictureNames, FourDigitsWithLeadingZerosAndAllDigitsAbove9999)
{
    const struct {
        int n;
        const char* text;
    } cases[] = {
        {0, "0000"},    {1, "0001"},      {12, "0012"},       {999, "0999"}, {1000, "1000"},
        {9999, "9999"}, {10000, "10000"}, {123456, "123456"}, {-7, "0007"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FOUR_DIGIT_TEXT(c.n), c.text) << c.n;
}

TEST(PictureNames, SaveUsesTheCounterAndLeavesIt)
{
    HEADLESS.reset();
    RUN = RunState{};
    RUN.PICTURE_COUNTER = 7;
    SAVE_DISPLAY_PICTURE();
    EXPECT_EQ(HEADLESS.calls, (std::vector<std::string>{"IGrArea 0 0 1 1", "IGrSaveImage D3D0007.BMP"}));
    EXPECT_EQ(RUN.PICTURE_COUNTER, 7);
}

}  // namespace
