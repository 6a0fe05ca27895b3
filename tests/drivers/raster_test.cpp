// The software rasteriser, through the bitmap-file device (1, 4, 8 and 24 bits per pixel) and the raster
// printer (3-bit pages): page dumps of small pages.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/drivers/hc_bitmap_file.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_raster.h"
#include "toolkit/drivers/hc_raster_printer.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_save.h"
#include "toolkit/win/device_select.h"

#include <cstdio>
#include <map>

namespace {

class Raster : public DriverFixture {
protected:
    // A page of w x h pixels on a surface of the same size, so that surface unit k is pixel k.
    void open(int depth, int w, int h)
    {
        IGrSurfaceSetup(1, 0, w, h);
        IHcDeviceSelect(GrOpInitialise, HC_BITMAP_DEVICE);
        HcOptions(HC_OPT_PAGE_WIDTH) = w;
        HcOptions(HC_OPT_PAGE_HEIGHT) = h;
        HcOptions(HC_OPT_DEPTH) = depth;
        HcOptions(HC_OPT_BITMAP_FORMAT) = 1;
        IHcOpen(name, std::nullopt);
        ASSERT_EQ(GrOutputSwitch.hardcopy, 1);
    }
    void TearDown() override
    {
        IHcOpen("S", " ");
        std::remove(name.c_str());
        std::remove(image.c_str());
        DriverFixture::TearDown();
    }
    // The page's rows, top row first: '.' for the background, else the legend's character of the
    // value ('#' for a value without one).
    std::vector<std::string> dump(const std::map<std::uint32_t, char>& legend = {})
    {
        const auto& P = HcRasterPage;
        std::vector<std::string> rows;
        for (int y = P.ymax; y >= 0; --y) {
            std::string row;
            for (int x = 0; x <= P.xmax; ++x) {
                const std::uint32_t v = hc_raster_pixel(x, y);
                const auto it = legend.find(v);
                row += v == background() ? '.' : it != legend.end() ? it->second : '#';
            }
            rows.push_back(row);
        }
        return rows;
    }
    std::uint32_t background() const { return HcRasterPage.background; }
    void colour(int number) { gr_colour_n(number); }
    void polyline(std::initializer_list<std::pair<float, float>> points)
    {
        int i = 0;
        for (auto [x, y] : points) {
            ++i;
            GrPolylineBuffer.X(i) = x;
            GrPolylineBuffer.Y(i) = y;
        }
        GrPrimitiveBlock.NPTS = i;
        IHcSendOp(GrOpPolyline);
    }
    void line_type(int t)
    {
        GrLineState.line_type = t;
        IHcSendOp(GrOpLineType);
    }
    const std::string name = "raster_test.bmp";
    const std::string image = "raster_test_image.bmp";
};

// A solid line whose start is the end of the line before leaves that pixel to the line before (in its
// colour); a zero-length joined line draws nothing, an unjoined one draws its pixel. All four depths.
TEST_F(Raster, JoinSkipsTheSharedPixel)
{
    struct Case {
        int depth;
        int first, second;  // colour numbers
    };
    for (const Case c : {Case{1, 223, 223}, Case{4, 32, 64}, Case{8, 32, 64}, Case{24, 32, 64}}) {
        SCOPED_TRACE(c.depth);
        open(c.depth, 8, 4);
        colour(c.first);
        const std::uint32_t a = HcRasterPage.value;
        send_line(1, 1, 5, 1);
        colour(c.second);
        const std::uint32_t b = HcRasterPage.value;
        send_line(5, 1, 5, 3);  // joined: starts where the line before ended
        send_line(5, 3, 5, 3);  // joined, zero length: nothing
        send_line(1, 3, 1, 3);  // not joined: one pixel
        // At 1 bit both colours are ink (value 1): the legend shows 'a' for both.
        const char second = c.depth == 1 ? 'a' : 'b';
        const std::vector<std::string> want = {std::string(".") + second + "..." + second + "..",
                                               std::string(".....") + second + "..", ".aaaaa..", "........"};
        EXPECT_EQ(dump({{a, 'a'}, {b, 'b'}}), want);
        IHcOpen("S", " ");
    }
}

// A dash pattern runs on across the vertices of a polyline (the polyline's row equals one straight
// line's), continues into the next line, and starts again at op 29.
TEST_F(Raster, DashesRunAcrossVerticesAndRestartAtLineType)
{
    open(8, 48, 8);
    line_type(2);
    polyline({{0, 1}, {13, 1}, {29, 1}, {47, 1}});
    line_type(2);
    send_line(0, 3, 47, 3);
    line_type(2);
    send_line(0, 5, 20, 5);
    send_line(0, 6, 20, 6);  // carries on from row 5's last pixel
    line_type(2);
    send_line(0, 7, 20, 7);  // starts again
    const auto rows = dump();
    EXPECT_EQ(rows[7 - 1], rows[7 - 3]);
    EXPECT_NE(rows[7 - 1].find('.'), std::string::npos) << "the line is dashed";
    EXPECT_EQ(rows[7 - 3].substr(0, 21), rows[7 - 5].substr(0, 21));
    EXPECT_EQ(rows[7 - 7], rows[7 - 5]);
    EXPECT_NE(rows[7 - 6], rows[7 - 5]);
    // Pattern 0xE07 in 2-pixel segments: 6 on, 12 off, 6 on.
    EXPECT_EQ(rows[7 - 3].substr(0, 24), "######............######");
}

// A quadrilateral whose corners share one row is one span; a rectangle reaching beyond the clip is
// clipped; thick lines at the page's edge set no bit beyond the last pixel of a 1-bit row.
TEST_F(Raster, ShapesAndEdges)
{
    open(1, 33, 6);
    auto& B = GrPrimitiveBlock;
    gr_fill_pattern(4);
    const float qx[4] = {3, 9, 12, 1}, qy[4] = {2, 2, 2, 2};
    for (int i = 1; i <= 4; ++i) {
        B.X(i) = qx[i - 1];
        B.Y(i) = qy[i - 1];
    }
    B.NVAL = 1;
    IHcSendOp(GrOpQuadPattern);
    B.NVAL = -1;
    IHcSendOp(GrOpQuadPattern);
    EXPECT_EQ(dump()[5 - 2], ".############....................");
    IHcOpen("S", " ");

    open(1, 33, 6);
    HcOptions(HC_OPT_LINE_WIDTH) = 30;  // 30/720 inch at 150 dpi: 6 pixels thick
    IHcSendOp(GrOpLineWidth);
    EXPECT_EQ(HcRasterPage.thick_a, 6);
    send_line(25, 0, 32.9f, 5);
    send_line(32.9f, 0, 32.9f, 5);
    send_line(0, 5.9f, 32.9f, 5.9f);
    const auto& P = HcRasterPage;
    for (int y = 0; y < P.height; ++y)
        EXPECT_EQ(P.store[static_cast<std::size_t>(y * P.words_per_row + 1)] & ~1u, 0u) << "row " << y;
    EXPECT_EQ(P.store[static_cast<std::size_t>(P.total_words)], P.background);
}

// At 3 bits with subtractive inks the page holds 7 - (red + 2 green + 4 blue): white is no ink.
TEST_F(Raster, SubtractiveThreeBitValues)
{
    const HcRasterPrinter kept = HC_RASTER_PRINTER;
    HcPrinterSelect(18);  // PCL colour ink-jet, subtractive
    IGrSurfaceSetup(1, 0, 8, 4);
    IHcDeviceSelect(GrOpInitialise, HC_RASTER_PRINTER_DEVICE);
    HcOptions(HC_OPT_PAGE_WIDTH) = 8;
    HcOptions(HC_OPT_PAGE_HEIGHT) = 4;
    HcOptions(HC_OPT_ORIENTATION) = 0;
    HcOptions(HC_OPT_RESOLUTION) = 4;  // 75 dpi
    IHcOpen(name, std::nullopt);
    ASSERT_EQ(HcRasterPage.bits_per_pixel, 3);
    GrColourState.model = 2;
    const std::pair<int, std::uint32_t> cases[] = {{0x0000FF, 6}, {0x00FF00, 5}, {0xFF0000, 3},
                                                   {0xFFFFFF, 0}, {0x000000, 7}, {0x00FFFF, 4}};
    int x = 0;
    for (auto [rgb, value] : cases) {
        colour(rgb);
        send_line(float(x), 1, float(x), 1);
        EXPECT_EQ(hc_raster_pixel(x, 1), value) << std::hex << rgb;
        ++x;
    }
    GrColourState.model = 1;
    IHcOpen("S", " ");
    HC_RASTER_PRINTER = kept;
}

// A 2 x 2 image drawn into a 4 x 4 clip is enlarged by repetition, its row 0 at the top; sizes past
// the image cap are refused before anything is read.
TEST_F(Raster, ImageEnlargedTopRowFirst)
{
    DibImage dib;
    dib.width = 2;
    dib.height = 2;
    dib.bit_count = 24;
    // Rows bottom-up, blue green red, padded to 8 bytes: bottom row white, black; top row red, green.
    dib.bits = {255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    int status = 0, code = 0;
    img_dib_save(1, dib, 2, 2, image, status, code);
    ASSERT_EQ(status, 0);
    open(24, 4, 4);
    auto& B = GrPrimitiveBlock;
    auto load = [&](int w, int h) {
        B.IX(1) = 1;
        B.IX(2) = w;
        B.IY(2) = h;
        B.TEXT.fill(' ');
        image.copy(B.TEXT.data(), image.size());
        IHcSendOp(GrOpImageFile);
    };
    load(2, 2);
    EXPECT_EQ(B.NVAL, 0);
    EXPECT_EQ(dump({{0x0000FFu, 'r'}, {0x00FF00u, 'g'}, {0xFFFFFFu, 'w'}, {0u, 'k'}}),
              (std::vector<std::string>{"rrgg", "rrgg", "wwkk", "wwkk"}));
    load(60000, 60000);
    EXPECT_EQ(B.NVAL, IMG_ERR_FORMAT);
}

// A filled ellipse, then a diagonal line: the ellipse is filled row by row, and the line after it
// stays a line (one pixel a row), not a span.
TEST_F(Raster, FilledEllipseThenLine)
{
    open(8, 64, 48);
    gr_units(0.0f, 0.0f, 64.0f, 48.0f);
    colour(32);
    gr_fill_pattern(4);
    IGrEllipseFill(20.0f, 24.0f, 10.0f, 1.0f);
    gr_fill_pattern(0);
    EXPECT_EQ(GrPrimitiveBlock.span_mode, 0);
    colour(64);
    gr_line(40.0f, 2.0f, 60.0f, 45.0f);  // the line body: the host build records the entry operation
    const auto rows = dump({{32, 'e'}, {64, 'l'}});
    const std::string& centre = rows[47 - 24];
    EXPECT_EQ(centre.substr(12, 17), std::string(17, 'e')) << centre;
    int line_rows = 0;
    for (const auto& row : rows) {
        const auto n = std::count(row.begin(), row.end(), 'l');
        EXPECT_LE(n, 1) << row;
        line_rows += n == 1;
    }
    EXPECT_GE(line_rows, 40);
}

// A two-colour fill (style 3) in span mode: the rasteriser lays both colours as a checker of the page's
// pixels, and the core sends the rows once (a second pass in the other colour would turn rows over).
TEST_F(Raster, TwoColourFillIsOneChecker)
{
    open(24, 64, 48);
    gr_units(0.0f, 0.0f, 64.0f, 48.0f);
    colour(32);  // the second colour
    colour(64);  // the current colour
    const std::uint32_t second = HcRasterPage.previous_value, current = HcRasterPage.value;
    ASSERT_NE(second, current);
    gr_fill_pattern(3);
    IGrEllipseFill(32.0f, 24.0f, 12.0f, 1.0f);
    gr_fill_pattern(0);
    int checked = 0;
    for (int y = 18; y <= 30; ++y)
        for (int x = 26; x <= 38; ++x) {
            EXPECT_EQ(hc_raster_pixel(x, y), (x + y) % 2 == 1 ? current : second) << x << ", " << y;
            ++checked;
        }
    EXPECT_EQ(checked, 169);
}

// A thick x-major line is drawn as A parallel Bresenham passes, pass k starting hA - k rows below the
// start (A = 3 for 15/720 inch at 150 dpi); a quadrilateral offered with NVAL 1 has vertical left and
// right sides, and rows outside one wall's range end at the slanted side.
TEST_F(Raster, ThickLineAndVerticalSidedQuadrilateral)
{
    open(1, 12, 8);
    HcOptions(HC_OPT_LINE_WIDTH) = 15;
    IHcSendOp(GrOpLineWidth);
    ASSERT_EQ(HcRasterPage.thick_a, 3);
    send_line(2, 1, 8, 4);
    const std::vector<std::string> line = {
        "............", "............", ".......##...", ".....####...",
        "...######...", "..#####.....", "..###.......", "..#.........",
    };
    EXPECT_EQ(dump(), line);
    IHcOpen("S", " ");

    open(1, 11, 9);
    auto& B = GrPrimitiveBlock;
    gr_fill_pattern(4);
    // Left wall x = 2 over y 1..4, right wall x = 8 over y 4..7, slanted sides of slope 1/2.
    const float qx[4] = {2, 8, 8, 2}, qy[4] = {1, 4, 7, 4};
    for (int i = 1; i <= 4; ++i) {
        B.X(i) = qx[i - 1];
        B.Y(i) = qy[i - 1];
    }
    B.NVAL = 1;
    IHcSendOp(GrOpQuadPattern);
    B.NVAL = -1;
    IHcSendOp(GrOpQuadPattern);
    const std::vector<std::string> quad = {
        "...........", "........#..", "......###..", "....#####..", "..#######..",
        "..#####....", "..###......", "..#........", "...........",
    };
    EXPECT_EQ(dump(), quad);
}

// At 1 bit an image pixel takes the fixed pattern of its 3-bit value (+ 8 when a channel is above 191):
// black is pattern 0 (all ink), white pattern 15 (none), red value 1 + 8 = pattern 9, 0xECEC3776,
// whose bit 3 (y mod 4) + (x mod 8) inks pixel (x, y).
TEST_F(Raster, OneBitImagePatterns)
{
    DibImage dib;
    dib.width = 3;
    dib.height = 1;
    dib.bit_count = 24;
    dib.bits = {0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0};  // blue green red: black, red, white; padding
    int status = 0, code = 0;
    img_dib_save(1, dib, 3, 1, image, status, code);
    ASSERT_EQ(status, 0);
    open(1, 12, 4);
    auto& B = GrPrimitiveBlock;
    B.IX(1) = 1;
    B.IX(2) = 3;
    B.IY(2) = 1;
    B.TEXT.fill(' ');
    image.copy(B.TEXT.data(), image.size());
    IHcSendOp(GrOpImageFile);
    ASSERT_EQ(B.NVAL, 0);
    EXPECT_EQ(dump(),
              (std::vector<std::string>{"#####.......", "#####.##....", "####.###....", "#######....."}));
}

}  // namespace
