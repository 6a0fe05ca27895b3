// Stroke-text geometry: placement of the first glyph, advances in fixed and proportional text, vertical
// text, rotation, italic slant, underline and the primitives chosen per drawing mode.

#include "toolkit/graphics/stroke_font_glyphs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double PI = 3.14159265358979323846;

StrokeTextSettings at_angle(double degrees, double k = 1.0)
{
    StrokeTextSettings s;
    const double r = degrees * PI / 180.0;
    s.co = static_cast<float>(std::cos(r));
    s.sB = static_cast<float>(k * std::sin(r));
    s.sA = static_cast<float>(std::sin(r) / k);
    return s;
}

struct Bounds {
    float x1 = 1e30f, y1 = 1e30f, x2 = -1e30f, y2 = -1e30f;
};

Bounds bounds(const std::vector<StrokeOutput>& out, std::size_t first = 0, std::size_t last = 1u << 30)
{
    Bounds b;
    for (std::size_t k = first; k < out.size() && k < last; ++k) {
        for (std::size_t i = 0; i < out[k].x.size(); ++i) {
            b.x1 = std::min(b.x1, out[k].x[i]);
            b.x2 = std::max(b.x2, out[k].x[i]);
            b.y1 = std::min(b.y1, out[k].y[i]);
            b.y2 = std::max(b.y2, out[k].y[i]);
        }
    }
    return b;
}

// A fixture font of cell 10 x 10 and glyph box 10 x 10: '!' a bar from (4,0) to (6,10) centred in the
// box, '"' a single segment (0,0)-(0,10) at the box's left edge.
GrStrokeFontRecord fixture_font(int mode, float x_extent = 10.0f)
{
    GrStrokeFontRecord font;
    font.cell_width = 10.0f;
    font.cell_height = 10.0f;
    font.x_extent = x_extent;
    font.y_extent = 10.0f;
    font.charset = 8;
    font.mode = mode;
    font.proportional = 1;
    const std::string glyphs = "40604A6A"
                               "000A";
    font.strokes.replace(0, glyphs.size(), glyphs);
    font.lower.fill(static_cast<int>(glyphs.size()) + 1);
    font.lower[0] = 1;
    font.lower[1] = 9;
    font.upper.fill(static_cast<int>(glyphs.size()) + 1);
    return font;
}

}  // namespace

// "A" of "standard.chr" at its own cell size (scales 1): (0,2)-(3,11)-(6,2) as a polyline and the bar
// (1,5)-(5,5) as a line, the glyph box centred in the cell about the text's middle line.
TEST(StrokeTextGeometry, StandardGlyphAtUnitScale)
{
    IGrStrokeFontStandard();
    const float W = 7.68f, H = 11.88f;
    const std::vector<StrokeOutput> out =
        stroke_text_geometry(GrStrokeFont, 100.0f, 50.0f, "A", W, H, at_angle(0));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].shape, STROKE_POLYLINE);
    EXPECT_EQ(out[1].shape, STROKE_LINE);
    const float ox = 100.0f + (W - 6.0f) / 2.0f, oy = 50.0f - H / 2.0f;
    const float ax[] = {0, 3, 6}, ay[] = {2, 11, 2};
    ASSERT_EQ(out[0].x.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(out[0].x[i], ox + ax[i], 1e-4);
        EXPECT_NEAR(out[0].y[i], oy + ay[i], 1e-4);
    }
    EXPECT_NEAR(out[1].x[1] - out[1].x[0], 4.0f, 1e-4);
    EXPECT_NEAR(out[1].y[0], oy + 5.0f, 1e-4);
}

// Fixed pitch: every character one cell, blanks and codes 127..160 draw nothing but advance; the whole
// text lies within its n cells and the cell height about the middle line.
TEST(StrokeTextGeometry, FixedPitchAdvanceAndBounds)
{
    IGrStrokeFontStandard();
    const float W = 20.0f, H = 30.0f;
    const std::string text = "A A\x7f\x80\xA0"
                             "A";
    const std::vector<StrokeOutput> out =
        stroke_text_geometry(GrStrokeFont, 0.0f, 0.0f, text, W, H, at_angle(0));
    ASSERT_EQ(out.size(), 6u);  // three A's of two runs each
    EXPECT_NEAR(out[2].x[0] - out[0].x[0], 2 * W, 1e-3);
    EXPECT_NEAR(out[4].x[0] - out[0].x[0], 6 * W, 1e-3);
    const Bounds b = bounds(out);
    EXPECT_GE(b.x1, 0.0f);
    EXPECT_LE(b.x2, 7 * W);
    EXPECT_GE(b.y1, -H / 2 - 1e-3);
    EXPECT_LE(b.y2, H / 2 + 1e-3);

    // Bold is the drivers' business (line widths): the geometry is the same.
    StrokeTextSettings bold = at_angle(0);
    bold.style = 1;
    EXPECT_EQ(stroke_text_geometry(GrStrokeFont, 0.0f, 0.0f, text, W, H, bold).size(), out.size());
}

// Proportional text: each glyph centred in its own advance of w cells, the x scale of a font whose
// glyph box is narrower than 8 units taken 0.75 times.
TEST(StrokeTextGeometry, ProportionalCentring)
{
    IGrCharTables(0);
    GrCharWidths.lower['!' - 32] = 0.5f;
    GrCharWidths.lower[' ' - 32] = 2.0f;
    const GrStrokeFontRecord font = fixture_font(0);
    StrokeTextSettings s = at_angle(0);
    s.text_mode = 1;
    const float W = 40.0f, H = 40.0f;
    const std::vector<StrokeOutput> out = stroke_text_geometry(font, 10.0f, 0.0f, "! !", W, H, s);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].shape, STROKE_POLYGON);
    const Bounds first = bounds(out, 0, 1), second = bounds(out, 1, 2);
    EXPECT_NEAR((first.x1 + first.x2) / 2, 10.0f + 0.5f * W / 2, 1e-3);
    EXPECT_NEAR((second.x1 + second.x2) / 2, 10.0f + (0.5f + 2.0f + 0.25f) * W, 1e-3);
    EXPECT_NEAR(first.x2 - first.x1, 2 * W / 10, 1e-3);

    const GrStrokeFontRecord narrow = fixture_font(0, 6.0f);
    const std::vector<StrokeOutput> scaled = stroke_text_geometry(narrow, 0.0f, 0.0f, "!", W, H, s);
    const Bounds n = bounds(scaled);
    EXPECT_NEAR(n.x2 - n.x1, 0.75f * 2 * W / 10, 1e-3);
    s.text_mode = 0;
    const Bounds f = bounds(stroke_text_geometry(narrow, 0.0f, 0.0f, "!", W, H, s));
    EXPECT_NEAR(f.x2 - f.x1, 2 * W / 10, 1e-3);
    IGrCharTables(0);
}

// A turned text is the level text turned about its point (aspect factor 1), for any angle.
TEST(StrokeTextGeometry, RotationAboutTheTextPoint)
{
    IGrStrokeFontSwissPlain();
    const float x0 = 300.0f, y0 = 200.0f, W = 12.0f, H = 25.0f;
    const std::vector<StrokeOutput> level =
        stroke_text_geometry(GrStrokeFont, x0, y0, "Wg", W, H, at_angle(0));
    for (const double degrees : {30.0, 90.0, 180.0, 247.5}) {
        SCOPED_TRACE(degrees);
        const StrokeTextSettings s = at_angle(degrees);
        const std::vector<StrokeOutput> turned = stroke_text_geometry(GrStrokeFont, x0, y0, "Wg", W, H, s);
        ASSERT_EQ(turned.size(), level.size());
        for (std::size_t k = 0; k < level.size(); ++k) {
            for (std::size_t i = 0; i < level[k].x.size(); ++i) {
                const double dx = level[k].x[i] - x0, dy = level[k].y[i] - y0;
                EXPECT_NEAR(turned[k].x[i], x0 + s.co * dx - s.sA * dy, 1e-3);
                EXPECT_NEAR(turned[k].y[i], y0 + s.sB * dx + s.co * dy, 1e-3);
            }
        }
    }
    // With an aspect factor K the baseline runs along (co, K sin): the second glyph's offset from the
    // first is one cell along it.
    const StrokeTextSettings k2 = at_angle(30.0, 2.0);
    const std::vector<StrokeOutput> a = stroke_text_geometry(GrStrokeFont, x0, y0, "II", W, H, k2);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_NEAR(a[1].x[0] - a[0].x[0], W * k2.co, 1e-3);
    EXPECT_NEAR(a[1].y[0] - a[0].y[0], W * k2.sB, 1e-3);
}

// Vertical text: each character one cell height below the previous, the column centred across x.
TEST(StrokeTextGeometry, VerticalText)
{
    const GrStrokeFontRecord font = fixture_font(1);
    StrokeTextSettings s = at_angle(0);
    s.vertical = 1;
    s.style = 4;  // no underline for vertical text
    const float W = 10.0f, H = 20.0f;
    const std::vector<StrokeOutput> out = stroke_text_geometry(font, 0.0f, 0.0f, "!!!", W, H, s);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_NEAR(out[1].y[0] - out[0].y[0], -H, 1e-4);
    EXPECT_NEAR(out[2].y[0] - out[0].y[0], -2 * H, 1e-4);
    EXPECT_NEAR(out[0].x[0], out[2].x[0], 1e-4);
    const Bounds first = bounds(out, 0, 1);
    EXPECT_NEAR((first.x1 + first.x2) / 2, -W / 2 + 5 * W / 10, 1e-4);  // glyph box -5..5 about x
    EXPECT_NEAR(first.y2, 0.0f, 1e-4);                                  // the first cell hangs below y
}

// Italic: a point at grid height j moves along the baseline by slant x W / H x j x sy.
TEST(StrokeTextGeometry, ItalicSlant)
{
    IGrStrokeFontStandard();
    const float W = 7.68f, H = 11.88f;
    StrokeTextSettings s = at_angle(0);
    const std::vector<StrokeOutput> upright = stroke_text_geometry(GrStrokeFont, 0.0f, 0.0f, "A", W, H, s);
    s.slant = 0.4663f;
    const std::vector<StrokeOutput> italic = stroke_text_geometry(GrStrokeFont, 0.0f, 0.0f, "A", W, H, s);
    EXPECT_NEAR(italic[0].x[1] - upright[0].x[1], 0.4663 * W / H * 11.0, 1e-4);  // apex (3,11)
    EXPECT_NEAR(italic[0].x[0] - upright[0].x[0], 0.4663 * W / H * 2.0, 1e-4);   // foot (0,2)
    EXPECT_NEAR(italic[0].y[1], upright[0].y[1], 1e-5);
}

// Underline: m cells long from 0.45 of the cell height below the point, m the text's width in cells.
TEST(StrokeTextGeometry, Underline)
{
    IGrCharTables(0);
    IGrStrokeFontSwissPlain();
    StrokeTextSettings s = at_angle(0);
    s.style = 4;
    s.text_mode = 1;
    const float W = 10.0f, H = 30.0f;
    const std::vector<StrokeOutput> out = stroke_text_geometry(GrStrokeFont, 5.0f, 7.0f, "Wi", W, H, s);
    const StrokeOutput& line = out.back();
    EXPECT_EQ(line.shape, STROKE_LINE);
    EXPECT_NEAR(line.x[0], 5.0f, 1e-4);
    EXPECT_NEAR(line.y[0], 7.0f - 0.45f * H, 1e-4);
    EXPECT_NEAR(line.x[1] - line.x[0], (1.50f + 0.46f) * W, 1e-3);
    EXPECT_NEAR(line.y[1], line.y[0], 1e-5);
}

// Filled fonts give polygons only, stroked fonts lines and polylines; no font (a zero cell) gives
// nothing at all instead of infinite coordinates.
TEST(StrokeTextGeometry, ShapesPerModeAndNoFont)
{
    IGrStrokeFontRomanBold();
    for (const StrokeOutput& o : stroke_text_geometry(GrStrokeFont, 0, 0, "Qu\xE9", 10, 10, at_angle(0))) {
        EXPECT_EQ(o.shape, STROKE_POLYGON);
        EXPECT_GE(o.x.size(), 3u);
    }
    IGrStrokeFontStandard();
    for (const StrokeOutput& o : stroke_text_geometry(GrStrokeFont, 0, 0, "Qu\xE9", 10, 10, at_angle(0))) {
        EXPECT_EQ(o.shape, o.x.size() == 2 ? STROKE_LINE : STROKE_POLYLINE);
    }
    const GrStrokeFontRecord none;
    EXPECT_TRUE(stroke_text_geometry(none, 0, 0, "ABC", 10, 10, at_angle(0)).empty());
    EXPECT_TRUE(stroke_text_geometry(GrStrokeFont, 0, 0, "", 10, 10, at_angle(0)).empty());
}
