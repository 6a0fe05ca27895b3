// The default colour table, the nearest-colour search, the device palette index and colour selection.
#include "tests/graphics_core/recording_device.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"

#include <cmath>

namespace {

int rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

using ColourTable = GraphicsFixture;

TEST_F(ColourTable, DefaultRampsAndStandardColours)
{
    const auto& T = GrColourTable;
    EXPECT_EQ(T.rgb[0], rgb(255, 255, 255));
    EXPECT_EQ(T.rgb[15], rgb(195, 195, 195));
    EXPECT_EQ(T.rgb[16], rgb(195, 0, 0));
    EXPECT_EQ(T.rgb[31], rgb(255, 0, 0));
    EXPECT_EQ(T.rgb[135], rgb(0, 159, 159));
    EXPECT_EQ(T.rgb[223], 0);
    EXPECT_EQ(T.rgb[224], rgb(124, 124, 124));
    EXPECT_EQ(T.rgb[255], rgb(131, 131, 131));
    const int standard[16] = {rgb(255, 255, 255), rgb(0, 0, 191),   rgb(0, 191, 0),   rgb(0, 191, 191),
                              rgb(191, 0, 0),     rgb(191, 0, 191), rgb(191, 191, 0), rgb(64, 64, 64),
                              rgb(191, 191, 191), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
                              rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), 0};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(T.standard[i], standard[i]) << "standard colour " << i;
}

TEST_F(ColourTable, ReducedPaletteOf32Colours)
{
    GrColourState.screen_class = 32;
    IGrColourTableInit();
    const int sources[] = {0, 8, 23, 31, 39};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GrColourTable.reduced[i], GrColourTable.rgb[sources[i]]) << i;
    EXPECT_EQ(GrColourTable.reduced[28], GrColourTable.rgb[231]);
    EXPECT_EQ(GrColourTable.reduced[29], GrColourTable.rgb[239]);
    EXPECT_EQ(GrColourTable.reduced[30], GrColourTable.rgb[240]);
    EXPECT_EQ(GrColourTable.reduced[31], GrColourTable.rgb[248]);
}

TEST_F(ColourTable, NearestColour)
{
    EXPECT_EQ(IGrColourNearest(0), 223);  // first exact match of black
    EXPECT_EQ(IGrColourNearest(16777215), 0);
    EXPECT_EQ(IGrColourNearest(255), 31);  // pure red
    // No exact match: a slightly darker pure red lies nearest to the red ramp.
    const int n = IGrColourNearest(rgb(250, 0, 0));
    EXPECT_GE(n, 16);
    EXPECT_LE(n, 31);
    // A tie resolves to the lower number: two equal entries, an RGB near both.
    IGrColourTableSet(100, rgb(10, 200, 30));
    IGrColourTableSet(90, rgb(10, 200, 30));
    EXPECT_EQ(IGrColourNearest(rgb(11, 200, 30)), 90);
}

TEST_F(ColourTable, DeviceIndexByColourClass)
{
    struct Case {
        int nc, n, index;
    };
    const Case cases[] = {
        {16, 1, 0},   {16, 15, 0},  {16, 16, 12},    {16, 31, 12},  {16, 32, 4}, {16, 47, 4},
        {16, 240, 8}, {16, 255, 8}, {16, 208, 15},   {16, 223, 15}, {16, 0, 0},  {2, 0, 0},
        {2, 1, 1},    {2, 255, 1},  {256, 200, 200}, {64, 100, 25}, {8, 20, 4},
    };
    for (const Case& c : cases) {
        GrColourState.screen_class = c.nc;
        EXPECT_EQ(IGrColourDeviceIndex(c.n), c.index) << "class " << c.nc << " colour " << c.n;
    }
}

TEST_F(ColourTable, RedefinedColourMovesItsStandardSlot)
{
    IGrColourTableSet(20, rgb(1, 2, 3));
    EXPECT_EQ(GrColourTable.standard[12], rgb(1, 2, 3));
    IGrColourTableSet(25, rgb(4, 5, 6));
    EXPECT_EQ(GrColourTable.standard[12], rgb(4, 5, 6));
}

TEST_F(ColourTable, HueSaturationValue)
{
    const double pi = 3.14159265358979;
    float h = 0, s = 0, v = 0;
    IGrRGBToHSV(255, h, s, v);  // pure red: 6 x 60 degrees, not 0
    EXPECT_NEAR(h, 2 * pi, 1e-5);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(v, 1.0f);
    IGrRGBToHSV(16777215, h, s, v);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 0.0f);
    IGrRGBToHSV(rgb(0, 0, 255), h, s, v);
    EXPECT_NEAR(h, 4 * pi / 3, 1e-5);
    int r = 0, g = 0, b = 0;
    IGrRGBSplit(-1, &r, &g, &b);  // a negative value splits toward zero
    EXPECT_EQ(r, -1);
    IGrRGBSplit(rgb(1, 2, 3), &r, nullptr, &b);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(IGrColourIndexSlot(9, 0), 12);
    EXPECT_EQ(IGrColourIndexSlot(16, 0), -1);
}

TEST_F(ColourTable, SelectionKeepsPreviousAndSendsOp3)
{
    gr_colour_n(31);
    EXPECT_EQ(GrColourState.number[GR_PREVIOUS], 223);
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 31);
    EXPECT_EQ(GrColourState.rgb[GR_CURRENT], 255);
    EXPECT_EQ(recorded_ops(true), std::vector<int>{GrOpColour});
    EXPECT_EQ(recorded_ops(false), std::vector<int>{GrOpColour});
    // An out-of-range number under model 1: error 42, nothing changes, nothing is sent.
    RECORDED.clear();
    gr_colour_n(256);
    EXPECT_EQ(ERROR_STATE.last_error, 42);
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 31);
    EXPECT_TRUE(RECORDED.empty());
    // Model 2: the argument is an RGB; the number is its nearest colour.
    GrColourState.model = 2;
    gr_colour_n(rgb(255, 255, 255));
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 0);
    EXPECT_EQ(GrColourState.rgb[GR_CURRENT], 16777215);
}

TEST_F(ColourTable, PaletteDefinitionIsRangeChecked)
{
    IGrPaletteRGB(5, 300, -4, 7, 1);
    EXPECT_EQ(GrColourTable.rgb[5], rgb(255, 0, 7));
    ASSERT_EQ(RECORDED.size(), 2u);
    EXPECT_EQ(RECORDED[0].op, GrOpDefineColour);
    EXPECT_EQ(RECORDED[0].block.IX(1), rgb(255, 0, 7));
    EXPECT_EQ(RECORDED[0].block.IX(4), 1);
    EXPECT_EQ(RECORDED[0].block.NPTS, 5);
    // A number outside 0..255 would write past the table: refused with error 42.
    RECORDED.clear();
    IGrPaletteRGB(256, 1, 2, 3);
    IGrColourDefine(-1, 0);
    EXPECT_EQ(ERROR_STATE.last_error, 42);
    EXPECT_TRUE(RECORDED.empty());
}

}  // namespace

#include "toolkit/graphics/palette_colours.h"

namespace {

TEST(PaletteColours, RampsAndBasicColours)
{
    EXPECT_TRUE(gr_palette_colours(8).empty());
    const auto p16 = gr_palette_colours(16);
    ASSERT_EQ(p16.size(), 32u);
    EXPECT_EQ(p16[7], 64 + 64 * 256 + 64 * 65536);
    EXPECT_EQ(p16[16], 0);  // black opens the basic colours
    EXPECT_EQ(p16[31], 16777215);
    // With 256 colours the ramps are the default colour table.
    const auto p256 = gr_palette_colours(256);
    ASSERT_EQ(p256.size(), 272u);
    IGrColourTableInit();
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(p256[static_cast<std::size_t>(v)], GrColourTable.rgb[static_cast<std::size_t>(v)]) << v;
    // With 32 colours every ramp gives two entries: its last shade of each half, except the first and
    // last ramps, which start at their first index.
    const auto p32 = gr_palette_colours(32);
    ASSERT_EQ(p32.size(), 48u);
    EXPECT_EQ(p32[0], GrColourTable.rgb[0]);
    EXPECT_EQ(p32[2], GrColourTable.rgb[23]);
    EXPECT_EQ(p32[3], GrColourTable.rgb[31]);
    EXPECT_EQ(p32[30], GrColourTable.rgb[240]);
    EXPECT_EQ(p32[31], GrColourTable.rgb[248]);
}

}  // namespace
