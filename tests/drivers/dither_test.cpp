// Colour dither masks: a table of colours, models and inversion options with the masks they give.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_dither.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <bit>

namespace {

using Dither = DriverFixture;

struct Masks {
    HcDitherMask r, g, b;
};

Masks masks(int model, int red, int green, int blue, int colours, int option6)
{
    HcDeviceBlock.colours = colours;
    HcOptions(HC_OPT_INVERSION) = option6;
    Masks m{};
    hc_dither_rgb(model, red, green, blue, m.r, m.g, m.b);
    return m;
}

// Colour, model, colours of the device, option 6, and the bits set in the red, green, blue masks.
struct DitherCase {
    const char* what;
    int red, green, blue;
    int model, colours, option6;
    int bits_r, bits_g, bits_b;
};

TEST_F(Dither, BitCountsFollowTheIntensity)
{
    const DitherCase cases[] = {
        {"black", 0, 0, 0, 1, 256, 0, 0, 0, 0},
        {"white", 255, 255, 255, 1, 256, 0, 32, 32, 32},
        {"red", 255, 0, 0, 1, 256, 0, 32, 0, 0},
        {"half blue", 0, 0, 128, 1, 256, 0, 0, 0, 16},
        {"inverted black", 0, 0, 0, 1, 256, 1, 32, 32, 32},
        {"near black inverted by option 2", 5, 5, 5, 1, 256, 2, 32, 32, 32},
        {"dark grey not near black", 12, 12, 12, 1, 256, 2, 2, 2, 2},
        {"inks: white takes no ink", 255, 255, 255, 2, 256, 0, 0, 0, 0},
        {"monochrome v = 0.5 (the factors add up to 1.05)", 122, 122, 122, 1, 2, 0, 16, 16, 16},
        {"monochrome white inverted", 255, 255, 255, 1, 2, 1, 32, 32, 32},
        {"monochrome black", 0, 0, 0, 1, 2, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const Masks m = masks(c.model, c.red, c.green, c.blue, c.colours, c.option6);
        EXPECT_EQ(std::popcount(m.r), c.bits_r) << c.what;
        EXPECT_EQ(std::popcount(m.g), c.bits_g) << c.what;
        EXPECT_EQ(std::popcount(m.b), c.bits_b) << c.what;
    }
}

TEST_F(Dither, GreyGivesThreeEqualMasks)
{
    const Masks m = masks(1, 128, 130, 129, 256, 0);
    EXPECT_EQ(m.r, m.g);
    EXPECT_EQ(m.r, m.b);
    EXPECT_EQ(std::popcount(m.r), 16);
    // Not a grey: the channels differ.
    const Masks c = masks(1, 128, 200, 60, 256, 0);
    EXPECT_NE(c.r, c.g);
}

TEST_F(Dither, SubtractiveModelGivesTheComplement)
{
    const Masks inks = masks(2, 40, 160, 220, 256, 0);
    const Masks light = masks(1, 255 - 40, 255 - 160, 255 - 220, 256, 0);
    EXPECT_EQ(inks.r, light.r);
    EXPECT_EQ(inks.g, light.g);
    EXPECT_EQ(inks.b, light.b);
}

TEST_F(Dither, MaskSpreadsItsBitsOverTheCell)
{
    for (int n = 1; n < 31; ++n) {
        const double v = n / 32.0;
        const HcDitherMask m = hc_dither_mask(v, 2);
        EXPECT_EQ(std::popcount(m), n) << n;
        // From a quarter of the cell on, every row has ink.
        if (n >= 8) {
            for (int row = 0; row < 4; ++row)
                EXPECT_NE(m >> (8 * row) & 0xFFu, 0u) << n << " row " << row;
        }
    }
    EXPECT_EQ(hc_dither_mask(0.98, 3), 0xFFFFFFFFu);
    EXPECT_EQ(hc_dither_mask(0.01, 3), 0u);
}

TEST_F(Dither, StoredMaskOfAMonochromeNumberedColour)
{
    HcDeviceBlock.colours = 2;
    GrColourState.model = 1;
    GrColourState.number[GR_CURRENT] = 7;
    HcDitherTable.entry[7] = 0;
    HcDitherTable.mask[7] = 0x12345678u;
    HcDitherMask r = 0, g = 0, b = 0;
    IHcDitherColour(1, r, g, b);
    EXPECT_EQ(r, 0x12345678u);
    HcDitherTable = HcDitherTableRecord{};
}

}  // namespace
