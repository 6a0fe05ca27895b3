// The bitmap-file device (device 6): BMP, run-length BMP and PCX layouts byte by byte, the shrinking
// of a page too large, and the errors of an output that cannot be made or written.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_bitmap_file.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_raster.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"

#include <cstdint>
#include <cstdio>

namespace {

std::uint32_t le(const std::string& b, std::size_t at, int n)
{
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

class BitmapFile : public DriverFixture {
protected:
    // Writes a page of w x h pixels at the depth and format with one point drawn; returns the file.
    std::string write(int w, int h, int depth, int format, const std::string& out = "bitmap_test.img")
    {
        IHcDeviceSelect(GrOpInitialise, HC_BITMAP_DEVICE);
        HcOptions(HC_OPT_PAGE_WIDTH) = w;
        HcOptions(HC_OPT_PAGE_HEIGHT) = h;
        HcOptions(HC_OPT_DEPTH) = depth;
        HcOptions(HC_OPT_BITMAP_FORMAT) = format;
        IHcOpen(out, std::nullopt);
        send_line(320, 470, 320, 470);
        IHcOpen("S", " ");
        std::string bytes = read_file(out);
        std::remove(out.c_str());
        return bytes;
    }
};

// 640 x 480 at 8 bits: 308,278 bytes, pixel data at 1078, 32-bit size fields; at 1 bit the palette is
// white then black.
TEST_F(BitmapFile, PlainBmpHeader)
{
    const std::string b = write(640, 480, 8, 1);
    ASSERT_EQ(b.size(), 308278u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(le(b, 2, 4), 308278u);
    EXPECT_EQ(le(b, 10, 4), 1078u);
    EXPECT_EQ(le(b, 14, 4), 40u);
    EXPECT_EQ(le(b, 18, 4), 640u);
    EXPECT_EQ(le(b, 22, 4), 480u);
    EXPECT_EQ(le(b, 28, 2), 8u);
    EXPECT_EQ(le(b, 30, 4), 0u);
    const std::string one = write(9, 2, 1, 1);
    EXPECT_EQ(le(one, 10, 4), 62u);
    EXPECT_EQ(le(one, 54, 4), 0xFFFFFFu);  // white
    EXPECT_EQ(le(one, 58, 4), 0u);         // black
    EXPECT_EQ(one.size(), 62u + 2 * 4);    // rows of 2 bytes padded to 4
}

// A blank run-length row at 640 pixels: runs of 252, 252 and 136 at 8 bits, 248, 248 and 144 at 4
// bits, then end of line; the file ends with end of bitmap, and its size fields are patched at close.
TEST_F(BitmapFile, RunLengthRows)
{
    struct Case {
        int depth;
        std::string row;
    };
    const Case cases[] = {{8, std::string("\xFC\0\xFC\0\x88\0\0\0", 8)},
                          {4, std::string("\xF8\0\xF8\0\x90\0\0\0", 8)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        const std::string b = write(640, 480, c.depth, 2);
        const std::uint32_t offset = le(b, 10, 4);
        EXPECT_EQ(le(b, 30, 4), c.depth == 8 ? 1u : 2u);
        EXPECT_EQ(b.substr(offset, 8), c.row);
        EXPECT_EQ(b.substr(b.size() - 2), std::string("\0\1", 2));
        EXPECT_EQ(le(b, 2, 4), b.size());
        EXPECT_EQ(le(b, 34, 4), b.size() - offset);
    }
}

// 640 x 480 PCX at 8 bits: version 5, one plane of 640 bytes a line, and the 769-byte palette trailer
// (12, then red, green, blue of the 256 colours).
TEST_F(BitmapFile, PcxHeaderAndTrailer)
{
    const std::string b = write(640, 480, 8, 0);
    ASSERT_GT(b.size(), 128u + 769u);
    EXPECT_EQ(le(b, 0, 1), 10u);
    EXPECT_EQ(le(b, 1, 1), 5u);
    EXPECT_EQ(le(b, 3, 1), 8u);
    EXPECT_EQ(le(b, 8, 2), 639u);
    EXPECT_EQ(le(b, 10, 2), 479u);
    EXPECT_EQ(le(b, 65, 1), 1u);
    EXPECT_EQ(le(b, 66, 2), 640u);
    EXPECT_EQ(le(b, 72, 2), 480u);
    EXPECT_EQ(le(b, b.size() - 769, 1), 12u);
    EXPECT_EQ(le(b, b.size() - 768, 3), 0xFFFFFFu);  // colour 0 is white
    const std::string odd = write(9, 2, 1, 0);
    EXPECT_EQ(le(odd, 1, 1), 3u);
    EXPECT_EQ(le(odd, 66, 2), 2u);  // 2 bytes, an even count
}

// Nothing drawn since the page was cleared: no image is written.
TEST_F(BitmapFile, EmptyPageWritesNothing)
{
    IHcDeviceSelect(GrOpInitialise, HC_BITMAP_DEVICE);
    IHcOpen("bitmap_empty.bmp", std::nullopt);
    IHcOpen("S", " ");
    EXPECT_EQ(read_file("bitmap_empty.bmp").size(), 0u);
    std::remove("bitmap_empty.bmp");
}

// 60000 x 60000 at 24 bits passes the image cap: every try reports error 34 and takes about a tenth
// of the pixels off, until the page fits below the cap; the smaller image is written whole.
TEST_F(BitmapFile, PageTooLargeShrinks)
{
    IHcDeviceSelect(GrOpInitialise, HC_BITMAP_DEVICE);
    HcOptions(HC_OPT_PAGE_WIDTH) = 60000;
    HcOptions(HC_OPT_PAGE_HEIGHT) = 60000;
    HcOptions(HC_OPT_DEPTH) = 24;
    HcOptions(HC_OPT_BITMAP_FORMAT) = 3;
    IHcOpen("bitmap_large.png", std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, 34);
    ASSERT_EQ(GrOutputSwitch.hardcopy, 1);
    const auto& P = HcRasterPage;
    const std::int64_t pixels = std::int64_t(P.width) * P.height;
    EXPECT_LE(pixels, HC_RASTER_MAX_PIXELS);
    EXPECT_GT(pixels, HC_RASTER_MAX_PIXELS * 8 / 10);
    EXPECT_EQ(P.width, P.height);
    const int w = P.width;
    send_line(1, 1, 5, 5);
    IHcOpen("S", " ");
    const std::string b = read_file("bitmap_large.png");
    std::remove("bitmap_large.png");
    ASSERT_GT(b.size(), 33u);
    EXPECT_EQ(b.substr(12, 4), "IHDR");
    EXPECT_EQ(int(static_cast<unsigned char>(b[16]) << 24 | static_cast<unsigned char>(b[17]) << 16 |
                  static_cast<unsigned char>(b[18]) << 8 | static_cast<unsigned char>(b[19])),
              w);
    EXPECT_EQ(b.substr(b.size() - 8, 4), "IEND");
}

// An output that cannot be created (error 1) or written (error 2): the status is -1 and the writer
// stops; a create failure also switches hardcopy output off.
TEST_F(BitmapFile, OutputFailures)
{
    IHcDeviceSelect(GrOpInitialise, HC_BITMAP_DEVICE);
    IHcOpen("no_such_directory/x.bmp", std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, 1);
    EXPECT_EQ(HcPlotStatus, -1);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
#ifndef _WIN32
    ERROR_STATE.last_error = 0;
    for (int format : {1, 0, 3}) {
        HcOptions(HC_OPT_BITMAP_FORMAT) = format;
        IHcOpen("/dev/full", std::nullopt);
        ASSERT_EQ(GrOutputSwitch.hardcopy, 1);
        send_line(1, 1, 5, 5);
        IHcOpen("S", " ");
        EXPECT_EQ(ERROR_STATE.last_error, 2) << format;
        EXPECT_EQ(HcPlotStatus, -1) << format;
    }
#endif
}

// Sides beyond 16 bits and a file beyond 24 bits: the header holds the whole width, height and file
// size (70000 x 2 at 1 bit: rows of 8750 bytes padded to 8752; 2400 x 2400 at 24 bits: 17,280,054
// bytes, above 2^24).
TEST_F(BitmapFile, LargePagesKeepWholeHeaderFields)
{
    const std::string wide = write(70000, 2, 1, 1);
    ASSERT_EQ(wide.size(), 62u + 2u * 8752u);
    EXPECT_EQ(le(wide, 2, 4), wide.size());
    EXPECT_EQ(le(wide, 18, 4), 70000u);
    EXPECT_EQ(le(wide, 22, 4), 2u);
    const std::string big = write(2400, 2400, 24, 1);
    ASSERT_EQ(big.size(), 54u + 2400u * 7200u);
    EXPECT_EQ(le(big, 2, 4), big.size());
    EXPECT_EQ(le(big, 18, 4), 2400u);
}

}  // namespace
