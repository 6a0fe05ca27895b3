// The screen driver on GDI: pictures drawn into an off-screen DIB and read back pixel by pixel.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int W = 120;
constexpr int H = 90;
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

// A 24-bit DIB section in a memory context, bound as the screen's drawing surface (bitmap 1).
class ScreenPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = W;
        bi.bmiHeader.biHeight = -H;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap_, nullptr);
        old_ = SelectObject(dc_, bitmap_);
        gr_records_clear();
        GrTarget.kind = 2;
        GrTarget.number = 1;
        GrOutputSwitch.screen = 1;
        GrOutputSwitch.hardcopy = 0;
        GrGdiContext.display_colours = 1 << 24;
        GrGdiContext.rop2 = R2_COPYPEN;
        GrGdiContext.pen_kind = 0;
        GrGdiContext.pen_width = 1;
        IGrColourTableInit();
        gr_gdi_bind(dc_, 1);
        IGrSurfaceSetup(2, 1, W, H);
        IGrScreenDriver(GrOpClear);
        gr_colour_n(0);
        gr_colour_n(223);
        ERROR_STATE = ErrorState{};
    }
    void TearDown() override
    {
        IGrGdiRelease();
        gr_gdi_unbind();
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        GrOutputSwitch = GrOutputSwitchRecord{};
    }
    // Pixel at column x, row y counted from the bottom of the surface.
    COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, H - 1 - y); }
    std::vector<COLORREF> snapshot() const
    {
        std::vector<COLORREF> p;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                p.push_back(GetPixel(dc_, x, y));
        return p;
    }
    // Rows (from the bottom) and columns holding a pixel of the colour inside a box.
    int count(COLORREF c, int x1, int y1, int x2, int y2) const
    {
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                n += pixel(x, y) == c ? 1 : 0;
        return n;
    }
    void plot_mode(int mode)
    {
        GrLineState.plot_mode = mode;
        IGrScreenDriver(GrOpPlotMode);
    }

    // The surface as a plain PBM picture (P1, 1 = a pixel that is not white), top row first.
    std::string to_pbm() const
    {
        std::ostringstream out;
        out << "P1\n" << W << " " << H << "\n";
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x)
                out << (GetPixel(dc_, x, y) == WHITE ? '0' : '1');
            out << "\n";
        }
        return out.str();
    }
    // Compares the surface with a golden picture under tests/graphics_core/golden; at most `tolerance`
    // pixels may differ. With QR4T_UPDATE_GOLDEN set the golden picture is written instead.
    void expect_golden(const std::string& name, int tolerance)
    {
        const char* source = std::getenv("QR4T_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        const std::string path = std::string(source) + "/tests/graphics_core/golden/" + name + ".pbm";
        const std::string picture = to_pbm();
        if (std::getenv("QR4T_UPDATE_GOLDEN")) {
            std::ofstream(path, std::ios::binary) << picture;
            return;
        }
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << "missing golden picture " << path;
        const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(golden.size(), picture.size()) << path;
        int differ = 0;
        for (std::size_t i = 0; i < golden.size(); ++i)
            differ += golden[i] != picture[i] ? 1 : 0;
        EXPECT_LE(differ, tolerance) << name << ": " << differ << " pixels differ";
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(ScreenPixels, UserYZeroIsTheBottomRow)
{
    IGrLine(0.0f, 0.0f, 1.0f, 0.0f);
    for (int x = 0; x < W; ++x)
        EXPECT_EQ(pixel(x, 0), BLACK) << x;
    EXPECT_EQ(pixel(5, 1), WHITE);
    EXPECT_EQ(pixel(5, H - 1), WHITE);
    // The top of the user units is the top row.
    IGrLine(0.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(pixel(7, H - 1), BLACK);
}

TEST_F(ScreenPixels, OnePixelLineSetsItsEndPixel)
{
    IGrLineDevice(10.0f, 20.0f, 10.0f, 20.0f);
    EXPECT_EQ(pixel(10, 20), BLACK);
    EXPECT_EQ(count(BLACK, 0, 0, W - 1, H - 1), 1);
    // A longer line includes both ends.
    IGrLineDevice(30.0f, 40.0f, 35.0f, 40.0f);
    EXPECT_EQ(count(BLACK, 29, 40, 36, 40), 6);
}

TEST_F(ScreenPixels, XorTwiceRestoresThePicture)
{
    gr_colour_n(31);
    gr_fill_pattern(4);
    gr_rectangle(0.1f, 0.1f, 0.6f, 0.5f);
    gr_colour_n(150);
    const auto before = snapshot();
    plot_mode(3);
    for (int k = 0; k < 2; ++k) {
        IGrLine(0.0f, 0.0f, 1.0f, 0.8f);
        IGrLine(0.2f, 0.9f, 0.9f, 0.05f);
    }
    EXPECT_EQ(snapshot(), before);
    // One XOR pass does change the picture.
    IGrLine(0.0f, 0.0f, 1.0f, 0.8f);
    EXPECT_NE(snapshot(), before);
}

TEST_F(ScreenPixels, XorOutlineShowsAllFourCorners)
{
    gr_colour_n(31);  // red: XOR on white gives cyan, twice gives white again
    plot_mode(3);
    gr_fill_pattern(0);
    gr_rectangle(0.1f, 0.1f, 0.5f, 0.5f);
    const COLORREF CYAN = RGB(0, 255, 255);
    const int x1 = static_cast<int>(0.1f * (W - 0.01f)), y1 = static_cast<int>(0.1f * (H - 0.01f));
    const int x2 = static_cast<int>(0.5f * (W - 0.01f)), y2 = static_cast<int>(0.5f * (H - 0.01f));
    EXPECT_EQ(pixel(x1, y1), CYAN);
    EXPECT_EQ(pixel(x2, y1), CYAN);
    EXPECT_EQ(pixel(x2, y2), CYAN);
    EXPECT_EQ(pixel(x1, y2), CYAN);
    EXPECT_EQ(pixel((x1 + x2) / 2, y1), CYAN);
    EXPECT_EQ(pixel((x1 + x2) / 2, (y1 + y2) / 2), WHITE);
}

TEST_F(ScreenPixels, SolidRectangleIncludesItsEdges)
{
    gr_fill_pattern(4);
    GrPrimitiveBlock.IX(1) = 10;
    GrPrimitiveBlock.IY(1) = 5;
    GrPrimitiveBlock.IX(2) = 19;
    GrPrimitiveBlock.IY(2) = 14;
    IGrScreenDriver(GrOpRectangleSolid);
    EXPECT_EQ(count(BLACK, 0, 0, W - 1, H - 1), 100);
    EXPECT_EQ(count(BLACK, 10, 5, 19, 14), 100);
}

TEST_F(ScreenPixels, PatternMixesTheTwoColoursUnlessEqual)
{
    gr_colour_n(31);  // previous black, current red
    gr_fill_pattern(3);
    gr_rectangle(0.0f, 0.0f, 0.5f, 0.5f);
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_NE(pixel(10, 10), pixel(11, 10));
    EXPECT_EQ(pixel(10, 10), pixel(11, 11));
    const std::set<COLORREF> seen{pixel(10, 10), pixel(11, 10)};
    EXPECT_EQ(seen, (std::set<COLORREF>{red, BLACK}));
    // Equal colours: a plain fill.
    gr_colour_n(31);
    gr_rectangle(0.5f, 0.5f, 1.0f, 1.0f);
    EXPECT_EQ(count(red, 70, 55, 80, 65), 121);
}

// Horizontal (3) and vertical (4) hatch lines sit on multiples of the step counted from the surface's
// bottom row and left column; the diagonals (1, 2) run at 45 degrees; denser is closer.
TEST_F(ScreenPixels, HatchDirectionsAndDensities)
{
    int previous_lines = 0;
    for (int density = 1; density <= 5; ++density) {
        for (int direction = 1; direction <= 4; ++direction) {
            IGrScreenDriver(GrOpClear);
            gr_fill_pattern(-1, density, direction);
            gr_rectangle(0.1f, 0.1f, 0.9f, 0.9f);
            const GrHatchSpacing h = IGrHatchSpacing(1, density);
            const int n = count(BLACK, 0, 0, W - 1, H - 1);
            EXPECT_GT(n, 0) << density << " " << direction;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    if (pixel(x, y) != BLACK)
                        continue;
                    if (direction == 3) {
                        EXPECT_EQ(y % h.y_step, 0) << "row " << y << " density " << density;
                    }
                    if (direction == 4) {
                        EXPECT_EQ(x % h.x_step, 0) << "column " << x << " density " << density;
                    }
                    // Inside the rectangle (11..107 by 8..80 in pixels).
                    EXPECT_TRUE(x >= 11 && x <= 107 && y >= 8 && y <= 80) << x << "," << y;
                }
            if (direction == 1) {
                // Rising diagonal: a set pixel continues up and to the right.
                int continued = 0, set = 0;
                for (int y = 10; y < 78; ++y)
                    for (int x = 13; x < 105; ++x)
                        if (pixel(x, y) == BLACK) {
                            ++set;
                            continued += pixel(x + 1, y + 1) == BLACK ? 1 : 0;
                        }
                EXPECT_GT(continued * 10, set * 9) << density;
            }
            if (direction == 2) {
                int continued = 0, set = 0;
                for (int y = 10; y < 78; ++y)
                    for (int x = 13; x < 105; ++x)
                        if (pixel(x, y) == BLACK) {
                            ++set;
                            continued += pixel(x + 1, y - 1) == BLACK ? 1 : 0;
                        }
                EXPECT_GT(continued * 10, set * 9) << density;
            }
            if (direction == 3) {
                EXPECT_GE(n, previous_lines) << density;
                previous_lines = n;
            }
        }
    }
}

// Golden pictures: the hatch directions 1..4 (columns) at densities 1..5 (rows); the 20 markers; open
// and filled arrows in four directions. A few pixels may differ where GDI rounds differently.
TEST_F(ScreenPixels, GoldenHatches)
{
    for (int density = 1; density <= 5; ++density)
        for (int direction = 1; direction <= 4; ++direction) {
            gr_fill_pattern(direction % 2 == 0 ? 1 : -1, density, direction);
            const float x = 0.02f + 0.245f * (direction - 1), y = 0.02f + 0.196f * (5 - density);
            gr_rectangle(x, y, x + 0.22f, y + 0.17f);
        }
    expect_golden("hatches", 12);
}

TEST_F(ScreenPixels, GoldenMarkers)
{
    GrTextState.char_width = 0.06f;
    GrTextState.char_height = 0.08f;
    for (int n = 1; n <= 20; ++n)
        IGrMarker(0.1f + 0.2f * ((n - 1) % 5), 0.875f - 0.25f * ((n - 1) / 5), n);
    expect_golden("markers", 12);
}

TEST_F(ScreenPixels, GoldenArrows)
{
    gr_fill_pattern(4);
    gr_arrow(0.1f, 0.2f, 0.45f, 0.2f, 1);
    gr_arrow(0.9f, 0.2f, 0.55f, 0.2f, 2);
    gr_arrow(0.25f, 0.4f, 0.25f, 0.9f, 2);
    gr_arrow(0.75f, 0.9f, 0.6f, 0.4f, 1);
    gr_arrow_polar(0.45f, 0.7f, 0.2f, 135.0f, 2);
    expect_golden("arrows", 12);
}

TEST_F(ScreenPixels, MarkersArrowsAndCircles)
{
    // Marker 13: a filled square around the centre; marker 1: a plus.
    GrTextState.char_width = 0.1f;
    GrTextState.char_height = 0.1f;
    IGrMarker(0.25f, 0.5f, 13);
    EXPECT_EQ(pixel(29, 44), BLACK);
    EXPECT_EQ(pixel(29 + 2, 44 + 2), BLACK);
    IGrMarker(0.75f, 0.5f, 1);
    EXPECT_EQ(pixel(89, 44), BLACK);
    EXPECT_EQ(pixel(89 + 2, 44 + 2), WHITE);
    // A filled circle: centre set, a point outside its box not.
    IGrScreenDriver(GrOpClear);
    gr_fill_pattern(4);
    IGrCircleDraw(0.5f, 0.5f, 0.1f);
    EXPECT_EQ(pixel(60, 45), BLACK);  // centre (59.995, 44.995) rounded, radius 12
    EXPECT_EQ(pixel(60 + 11, 45 + 11), WHITE);
    EXPECT_EQ(pixel(60 + 12, 45), BLACK);
    EXPECT_EQ(pixel(60 + 15, 45), WHITE);
    // A filled arrow pointing right: its head is filled just behind the tip.
    IGrScreenDriver(GrOpClear);
    gr_arrow(0.1f, 0.5f, 0.9f, 0.5f, 2);
    EXPECT_EQ(pixel(static_cast<int>(0.88f * (W - 0.01f)), 44), BLACK);
    EXPECT_EQ(pixel(static_cast<int>(0.5f * (W - 0.01f)), 44), BLACK);  // the shaft
}

TEST_F(ScreenPixels, ReadPixelAndClearArea)
{
    gr_colour_n(31);
    gr_fill_pattern(4);
    gr_rectangle(0.0f, 0.0f, 0.5f, 1.0f);
    GrPrimitiveBlock.IX(1) = 5;
    GrPrimitiveBlock.IY(1) = 5;
    IGrScreenDriver(GrOpReadPixel);
    EXPECT_EQ(GrPrimitiveBlock.IX(1), 255);
    EXPECT_EQ(GrPrimitiveBlock.IX(2), 0);
    EXPECT_EQ(GrPrimitiveBlock.IX(3), 0);
    // Clearing a smaller area leaves the rest and the current colour.
    gr_area(0.0f, 0.0f, 0.25f, 1.0f);
    gr_area_clear();
    EXPECT_EQ(pixel(5, 5), WHITE);
    EXPECT_EQ(pixel(40, 5), RGB(255, 0, 0));
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 31);
}

TEST_F(ScreenPixels, SmallSectorIsAWedgeNotAnEllipse)
{
    gr_fill_pattern(4);
    auto& B = GrPrimitiveBlock;
    B.IX(1) = 60;
    B.IY(1) = 45;
    B.X(2) = 30.0f;
    B.Y(2) = 30.0f;
    B.X(3) = 0.001f;  // start and end point both on pixel (89, 45)
    B.Y(3) = 0.002f;
    B.X(4) = 0.0f;
    B.Y(4) = 0.6f;
    IGrScreenDriver(GrOpPieSolid);
    // The opposite side of the ellipse stays white.
    EXPECT_EQ(pixel(60 - 20, 45), WHITE);
    EXPECT_LT(count(BLACK, 0, 0, W - 1, H - 1), 200);
}

}  // namespace

namespace {

TEST_F(ScreenPixels, AreaClipHoldsForFilledShapes)
{
    gr_area(0.25f, 0.25f, 0.75f, 0.75f);
    gr_fill_pattern(4);
    // A triangle reaching well past the area (user units 0..1 span the area).
    const float x[] = {-1.0f, 2.0f, 0.5f};
    const float y[] = {-1.0f, -1.0f, 2.0f};
    IGrPolygonFill(x, y, 3, 0);
    EXPECT_EQ(pixel(60, 30), BLACK);
    EXPECT_EQ(pixel(60, 10), WHITE);  // below the area
    EXPECT_EQ(pixel(20, 40), WHITE);  // left of the area
    EXPECT_EQ(pixel(28, 30), WHITE);  // one column left of the area's pixel box (29..89)
    EXPECT_EQ(pixel(29, 30), BLACK);
}

TEST_F(ScreenPixels, FontIsCreatedOnceAndTextIsDrawn)
{
    GrTextState.hardware_face = 2;
    GrTextState.family = 2;
    GrTextState.char_width = 0.1f;
    GrTextState.char_height = 0.2f;
    IGrScreenDriver(GrOpFont);
    const HFONT first = GrGdiContext.font;
    ASSERT_NE(first, nullptr);
    IGrScreenDriver(GrOpFont);
    EXPECT_EQ(GrGdiContext.font, first);  // unchanged settings: no new font
    EXPECT_GT(GrTextState.font_height, 0);
    auto& B = GrPrimitiveBlock;
    const std::string text = "HI";
    std::copy(text.begin(), text.end(), B.TEXT.begin());
    B.IX(1) = 2;
    B.X(1) = 20.0f;
    B.Y(1) = 45.0f;
    B.X(3) = 100.0f;
    B.Y(3) = 45.0f;
    GrTextState.justification = 0;
    IGrScreenDriver(GrOpText);
    EXPECT_GT(count(BLACK, 15, 25, 70, 70), 20);
    EXPECT_EQ(count(BLACK, 80, 0, W - 1, H - 1), 0);
    // The width of the text in pixels.
    B.NVAL = 2;
    IGrScreenDriver(GrOpTextWidth);
    EXPECT_GT(B.NVAL, 5);
    EXPECT_EQ(B.NPTS, 1);
}

TEST_F(ScreenPixels, BlockMoveFillsTheVacatedPart)
{
    gr_fill_pattern(4);
    gr_rectangle(0.0f, 0.0f, 0.25f, 0.25f);  // pixels 0..29 by 0..22
    auto& B = GrPrimitiveBlock;
    B.IX(1) = 0;
    B.IY(1) = 0;
    B.IX(2) = 29;
    B.IY(2) = 22;
    B.IX(3) = 10;  // moved right by 10 columns
    B.IY(3) = 0;
    B.NVAL = 1;
    IGrScreenDriver(GrOpMoveBlock);
    EXPECT_EQ(pixel(5, 10), WHITE);  // vacated, filled with colour 0
    EXPECT_EQ(pixel(15, 10), BLACK);
    EXPECT_EQ(pixel(39, 10), BLACK);
    EXPECT_EQ(pixel(40, 10), WHITE);
}

}  // namespace

namespace {

// The palette branches on a logical palette of a 16-colour display, checked as data.
TEST_F(ScreenPixels, PaletteDefinitionsReachThePalette)
{
    GrColourState.screen_class = 16;
    GrGdiContext.display_colours = 16;
    IGrPaletteBuild(1);  // a flag: the ramps follow the colour class
    ASSERT_NE(GrGdiContext.palette, nullptr);
    auto entry = [](int k) {
        PALETTEENTRY e = {};
        GetPaletteEntries(GrGdiContext.palette, static_cast<UINT>(k), 1, &e);
        return RGB(e.peRed, e.peGreen, e.peBlue);
    };
    EXPECT_EQ(entry(7), RGB(64, 64, 64));
    EXPECT_EQ(entry(16), RGB(0, 0, 0));  // the basic colours follow the 16 entries
    // Colour 20 lies in standard slot 12.
    IGrPaletteRGB(20, 1, 2, 3);
    EXPECT_EQ(entry(12), RGB(1, 2, 3));
    // A deferred batch: entries change, the last definition closes the batch.
    IGrPaletteRGB(40, 9, 9, 9, 1);
    IGrPaletteRGB(56, 8, 8, 8, 0);
    EXPECT_EQ(entry(4), RGB(9, 9, 9));
    EXPECT_EQ(entry(14), RGB(8, 8, 8));  // colour 56: standard slot 14
    EXPECT_EQ(GrGdiContext.palette_pending, 0);
    // Loading the palette writes the standard colours back.
    IGrColourTableInit();
    IGrScreenDriver(GrOpLoadPalette);
    EXPECT_EQ(entry(12), RGB(255, 0, 0));
    IGrGdiRelease();
    EXPECT_EQ(GrGdiContext.palette, nullptr);
    // The build's argument is a flag; the colour class sizes the ramps: 32 entries, the 16 basic
    // colours, the two system colours.
    GrColourState.screen_class = 32;
    IGrPaletteBuild(1);
    ASSERT_NE(GrGdiContext.palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(GrGdiContext.palette, 0, 0, nullptr), 32u + 16u + 2u);
    EXPECT_EQ(entry(32), RGB(0, 0, 0));
    IGrGdiRelease();
}

}  // namespace

namespace {

// Op 38: an image file stretched into the graphics area.
TEST_F(ScreenPixels, ImageFileIsDrawnIntoTheArea)
{
    // A 2 x 2 24-bit BMP, all pixels blue (B, G, R byte order), rows padded to 8 bytes.
    const unsigned char bmp[] = {
        'B', 'M', 70, 0,   0, 0, 0, 0, 0,  0, 54, 0, 0, 0,        // file header: size 70, bits at 54
        40,  0,   0,  0,   2, 0, 0, 0, 2,  0, 0,  0,              // info header: size 40, width 2, height 2
        1,   0,   24, 0,   0, 0, 0, 0, 16, 0, 0,  0,              // planes 1, 24 bits, BI_RGB, image 16 bytes
        0,   0,   0,  0,   0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 0, 0,  // resolutions, colours
        255, 0,   0,  255, 0, 0, 0, 0,                            // bottom row
        255, 0,   0,  255, 0, 0, 0, 0,                            // top row
    };
    const char* name = "gr_op38_test.bmp";
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof bmp);
    gr_area(0.5f, 0.5f, 1.0f, 1.0f);
    auto& B = GrPrimitiveBlock;
    B.TEXT.fill(' ');
    std::copy(name, name + std::strlen(name), B.TEXT.begin());
    B.IX(1) = 1;  // BMP
    B.IY(1) = 1;  // stretched
    IGrScreenDriver(GrOpImageFile);
    EXPECT_EQ(B.NPTS, 0);
    EXPECT_EQ(pixel(90, 70), RGB(0, 0, 255));
    EXPECT_EQ(pixel(30, 20), WHITE);
    std::remove(name);
    IGrScreenDriver(GrOpImageFile);  // the file is gone: status 1
    EXPECT_EQ(B.NPTS, 1);
}

}  // namespace

namespace {

TEST_F(ScreenPixels, LineTypesWidthsAndXorPolygons)
{
    // Dotted: gaps along the line.
    GrLineState.line_type = 1;
    IGrScreenDriver(GrOpLineType);
    IGrLineDevice(10.0f, 10.0f, 100.0f, 10.0f);
    const int dotted = count(BLACK, 10, 10, 100, 10);
    EXPECT_GT(dotted, 10);
    EXPECT_LT(dotted, 85);
    // Solid and 3 pixels wide: the rows beside the line are covered too.
    GrLineState.line_type = 0;
    IGrScreenDriver(GrOpLineType);
    GrLineState.line_width = 3;
    IGrScreenDriver(GrOpLineWidth);
    IGrLineDevice(10.0f, 40.0f, 100.0f, 40.0f);
    EXPECT_EQ(pixel(50, 39), BLACK);
    EXPECT_EQ(pixel(50, 41), BLACK);
    EXPECT_EQ(pixel(50, 43), WHITE);
    GrLineState.line_width = 1;
    IGrScreenDriver(GrOpLineWidth);
    // Under XOR a solid polygon inverts its inside once: no edge is inverted twice.
    IGrScreenDriver(GrOpClear);
    gr_colour_n(31);
    plot_mode(3);
    gr_fill_pattern(4);
    const float x[] = {20, 80, 80, 20};
    const float y[] = {20, 20, 60, 60};
    IGrPolygonFill(x, y, 4, 1);
    const COLORREF CYAN = RGB(0, 255, 255);
    EXPECT_EQ(pixel(50, 40), CYAN);
    EXPECT_EQ(pixel(20, 40), CYAN);  // the left edge, inverted once
    EXPECT_EQ(pixel(50, 21), CYAN);  // above the bottom edge (GDI leaves the lowest row out)
    plot_mode(0);
}

}  // namespace
