// The HP-GL/2 driver (device 12): framing by variant, pens, palette, the encoded polyline.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hpgl2_driver.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/settings.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class Hpgl2 : public DriverFixture {
protected:
    // Initialises the variant, opens the plot file, draws, ends the hardcopy; the file's bytes.
    std::string plot(int variant, const std::function<void()>& draw)
    {
        HC_DEVICE_CONFIG.hpgl2_variant = variant;
        IHcDeviceSelect(GrOpInitialise, HC_HPGL2_DEVICE);
        IHcOpen(name, "Scene");
        EXPECT_EQ(GrOutputSwitch.hardcopy, 1);
        draw();
        IHcOpen("S", " ");
        const std::string bytes = read_file(name);
        std::remove(name.c_str());
        return bytes;
    }
    const std::string name = "hpgl2_test.plt";
};

TEST_F(Hpgl2, FramingByVariant)
{
    const auto draw = [] { send_line(10, 10, 100, 50); };
    const std::string plain = plot(4, draw);
    EXPECT_EQ(plain.find('\x1b'), std::string::npos);
    EXPECT_NE(plain.find("\r\nPG\r\n"), std::string::npos);
    const std::string pcl = plot(1, draw);
    EXPECT_EQ(pcl.substr(0, 6), "\x1b%0B\r\n");
    EXPECT_EQ(pcl.substr(pcl.size() - 6), "\x1b%0A\r\n");
    // The title line stays an unquoted comment; the page ends with the PCL page eject.
    EXPECT_NE(pcl.find("\r\nCO: Scene\r\n"), std::string::npos);
    EXPECT_NE(pcl.find("\x1b%1A\x1b&l01X\f\x1b%0B"), std::string::npos);
    EXPECT_NE(pcl.find("\r\nCO\"13 1 1.5 8\";\r\n"), std::string::npos);
    EXPECT_EQ(pcl.find("NP256"), std::string::npos);  // 2 colours
}

// Points of a polyline (surface of 32760 pixels: one surface unit is one plotter unit) and the line.
struct PolylineCase {
    std::vector<std::pair<float, float>> points;
    const char* expected;
};

TEST_F(Hpgl2, EncodedPolyline)
{
    IGrSurfaceSetup(1, 0, 32760, 32760);
    const PolylineCase cases[] = {
        {{{10, 10}}, "PE7;"},
        {{{10, 10}, {11, 9}}, "PE7ab;"},    // +1 -> 2 -> 'a', -1 -> 3 -> 'b'
        {{{10, 10}, {42, 10}}, "PE7?a_;"},  // +32 -> 64: chr(63 + 0), chr(95 + 2); 0 -> '_'
    };
    for (const auto& c : cases) {
        const std::string bytes = plot(4, [&] {
            int n = 0;
            for (auto [x, y] : c.points) {
                ++n;
                GrPolylineBuffer.X(n) = x;
                GrPolylineBuffer.Y(n) = y;
            }
            GrPrimitiveBlock.NPTS = n;
            IHcSendOp(GrOpPolyline);
        });
        EXPECT_NE(bytes.find(std::string("\r\n") + c.expected + "\r\n"), std::string::npos) << c.expected;
    }
}

TEST_F(Hpgl2, LongPolylineSplitsIntoLines)
{
    const std::string bytes = plot(4, [] {
        const int n = 300;
        for (int i = 1; i <= n; ++i) {
            GrPolylineBuffer.X(i) = static_cast<float>(i % 2 == 0 ? 600 : 10);
            GrPolylineBuffer.Y(i) = static_cast<float>(i);
        }
        GrPrimitiveBlock.NPTS = n;
        IHcSendOp(GrOpPolyline);
    });
    std::size_t lines = 0, longest = 0;
    for (std::size_t p = 0; (p = bytes.find("PE7", p)) != std::string::npos; p += 3) {
        ++lines;
        longest = std::max(longest, bytes.find("\r\n", p) - p);
    }
    EXPECT_GT(lines, 1u);
    EXPECT_LE(longest, 256u);
}

TEST_F(Hpgl2, TwoColourPensAndPalette)
{
    std::string bytes = plot(1, [] {
        GrColourState.number[GR_CURRENT] = 0;
        IHcSendOp(GrOpColour);
        GrColourState.number[GR_CURRENT] = 5;
        IHcSendOp(GrOpColour);
        IHcSendOp(GrOpColour);  // the same pen again: no second select
    });
    EXPECT_NE(bytes.find("PU;SP0\r\n"), std::string::npos);
    std::size_t ones = 0;
    for (std::size_t p = 0; (p = bytes.find("PU;SP1\r\n", p)) != std::string::npos; ++p)
        ++ones;
    EXPECT_EQ(ones, 2u);  // the replay's colour 223 selects pen 1, then colour 0 pen 0, then 5 pen 1 once
    bytes = plot(2, [] {
        GrColourState.number[GR_CURRENT] = 5;
        IHcSendOp(GrOpColour);
    });
    int r = 0, g = 0, b = 0;
    IGrColourSplit(5, r, g, b);
    EXPECT_NE(bytes.find("PC5 " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b)),
              std::string::npos);
    EXPECT_NE(bytes.find("PU;SP 5\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("NP256"), std::string::npos);
}

TEST_F(Hpgl2, PointAfterTextStartsWithPenUp)
{
    const std::string bytes = plot(4, [] {
        send_line(10, 10, 20, 20);
        auto& B = GrPrimitiveBlock;
        B.X(1) = B.Y(1) = 20;
        B.IX(1) = 1;
        B.TEXT[0] = 'A';
        IHcSendOp(GrOpText);
        B.X(1) = B.Y(1) = 20;
        IHcSendOp(GrOpPoint);
    });
    const std::size_t label = bytes.find("LBA\x04");
    ASSERT_NE(label, std::string::npos);
    EXPECT_EQ(bytes.substr(label + 6, 2), "PU");
}

// Fault: the end of a shape re-selected the drawing pen only after a mixed-colour fill pen, and a
// 2-colour variant gave its second colour count as 2; the drawing pen comes back after every filled
// shape whose fill pen differs, and the second count is 256 on every variant.
TEST_F(Hpgl2, DrawingPenAfterEveryFillAndSecondColourCount)
{
    const struct {
        int variant;
        int background;  // colour number of the previous colour
        const char* fill_pen;
    } cases[] = {{1, 5, nullptr}, {2, 5, nullptr}, {2, 9, "PU;SP250\r\n"}};
    for (const auto& c : cases) {
        const std::string bytes = plot(c.variant, [&] {
            GrColourState.number[GR_PREVIOUS] = c.background;
            GrColourState.number[GR_CURRENT] = 5;
            IHcSendOp(GrOpColour);
            auto& B = GrPrimitiveBlock;
            B.FILL(FILL_STYLE) = 3;
            B.X(1) = 10, B.Y(1) = 10, B.X(2) = 100, B.Y(2) = 80;
            B.NVAL = 1;
            IHcSendOp(GrOpRectanglePattern);
            B.NVAL = -1;
            IHcSendOp(GrOpRectanglePattern);
        });
        EXPECT_EQ(HcDeviceBlock.pens, 256) << c.variant;
        const std::string pen = c.variant == 1 ? "PU;SP1\r\n" : "PU;SP 5\r\n";
        const std::size_t end = bytes.find("\r\n", bytes.rfind("-1\";"));  // the shape's end comment
        ASSERT_NE(end, std::string::npos) << c.variant << bytes;
        EXPECT_EQ(bytes.substr(end + 2, pen.size()), pen) << c.variant << " " << c.background;
        if (c.fill_pen) {
            EXPECT_NE(bytes.find(c.fill_pen), std::string::npos) << c.variant;
        }
    }
}

}  // namespace
