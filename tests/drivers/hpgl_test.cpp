// The HP-GL driver (device 1) through the front end, read back line by line.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hpgl_driver.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class Hpgl : public DriverFixture {
protected:
    void SetUp() override
    {
        DriverFixture::SetUp();
        IHcDeviceSelect(GrOpInitialise, HC_HPGL_DEVICE);
    }
    // Opens the plot file, applies the options, draws, ends the hardcopy and returns the file's lines.
    std::vector<std::string> plot(const std::function<void()>& draw,
                                  std::initializer_list<std::pair<int, int>> options = {})
    {
        for (auto [n, v] : options)
            HcOptions(n) = v;
        IHcOpen(name, std::nullopt);
        EXPECT_EQ(GrOutputSwitch.hardcopy, 1);
        draw();
        IHcOpen("S", " ");
        auto lines = file_lines(name);
        std::remove(name.c_str());
        return lines;
    }
    const std::string name = "hpgl_test.plt";
};

// A circle of radius 100 at the surface's centre, both calls of the shape.
void circle(int style)
{
    auto& B = GrPrimitiveBlock;
    B.FILL(FILL_STYLE) = style;
    B.X(1) = 320;
    B.Y(1) = 240;
    B.X(2) = 100;
    B.X(3) = 1;
    B.NVAL = 1;
    IHcSendOp(GrOpEllipsePattern);
    B.NVAL = -1;
    IHcSendOp(GrOpEllipsePattern);
}

int count_prefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST_F(Hpgl, VariantOneOptionsAndHead)
{
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 742);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_HEIGHT), 530);
    EXPECT_EQ(HcOptions(HC_OPT_MARGIN_LEFT), 28);
    EXPECT_EQ(HcOptions(HC_OPT_MARGIN_BOTTOM), 0);
    EXPECT_EQ(HcDeviceBlock.initialised_device, 1);
    EXPECT_EQ(HcSpoolAllowed, 1);
    const auto lines = plot([] {});
    const std::vector<std::string> head = {
        "IN; IP 395 0 10865 7478", "RO0; IP 395 0 10865 7478", "DT\x04",           "DI1. 0.",
        "SC-2 8 0 32760",          "SC-13 1 0 32760",          "SC0 32760 0 32760"};
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), head);
    // The state replay follows: the pen width of the common default 5 and the bare line type.
    EXPECT_EQ(lines[7], "PW0.142");
    EXPECT_EQ(lines[8], "LT");
}

TEST_F(Hpgl, ProbeChangesNothing)
{
    const HcOptionsRecord before = HcOptions;
    GrPrimitiveBlock.NPTS = HC_PROBE;
    IHcHpglDriver(GrOpInitialise);
    EXPECT_EQ(GrPrimitiveBlock.NPTS, HC_HPGL_DEVICE);
    EXPECT_EQ(HcOptions.value, before.value);
}

TEST_F(Hpgl, ConsecutiveLinesLiftThePenOnce)
{
    const auto lines = plot([] {
        send_line(10, 10, 20, 20);
        send_line(20, 20, 30, 10);
    });
    const auto first = std::find(lines.begin(), lines.end(), "PU511 682");
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(*(first + 1), "PD1023 1365");
    EXPECT_EQ(*(first + 2), "PD1535 682");
    const auto pen_up_moves = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.size() > 2 && l.rfind("PU", 0) == 0 && l[2] != ';';
    });
    EXPECT_EQ(pen_up_moves, 1);
}

// Colour number, pens of the variant, pen digit.
struct PenCase {
    int colour;
    int variant;
    char pen;
};

TEST_F(Hpgl, PenFromTheColourBand)
{
    const PenCase cases[] = {{0, 5, '1'}, {240, 5, '1'}, {223, 1, '4'}, {32, 5, '3'}};
    for (const auto& c : cases) {
        HC_DEVICE_CONFIG.plotter_variant = c.variant;
        IHcDeviceSelect(GrOpInitialise, HC_HPGL_DEVICE);
        const auto lines = plot([&] {
            GrColourState.number[GR_CURRENT] = c.colour;
            IHcSendOp(GrOpColour);
        });
        const auto last = std::find_if(lines.rbegin(), lines.rend(),
                                       [](const std::string& l) { return l.rfind("PU;SP", 0) == 0; });
        ASSERT_NE(last, lines.rend());
        EXPECT_EQ(*last, std::string("PU;SP") + c.pen) << c.colour;
    }
}

TEST_F(Hpgl, DeviceEscapesAndLineStartBlank)
{
    auto lines = plot([] {}, {{19, 1}});
    EXPECT_EQ(lines.front(), "\x1b.Y");
    EXPECT_EQ(lines.back(), "\x1b.Z");
    lines = plot(
        [] {
            auto& B = GrPrimitiveBlock;
            B.X(1) = B.Y(1) = 10;
            B.IX(1) = 2;
            B.TEXT[0] = 'H';
            B.TEXT[1] = 'i';
            IHcSendOp(GrOpText);
        },
        {{19, 0}, {17, 1}});
    for (const auto& l : lines)
        EXPECT_EQ(l.substr(0, 1), " ") << l;
    EXPECT_NE(std::find(lines.begin(), lines.end(), " LBHi\x04"), lines.end());
    // The used page is ended before the close: a page record and the pen put away.
    EXPECT_EQ(lines.back(), " PU;SP0 ;");
}

TEST_F(Hpgl, NoDataRecordsWithoutOption18)
{
    const auto lines = plot([] { circle(4); }, {{18, 0}});
    EXPECT_EQ(count_prefix(lines, "SC-"), 0);
    EXPECT_EQ(count_prefix(lines, "PW"), 0);
    // Head, clip replay, the ellipse's own scaling and its reset.
    EXPECT_EQ(count_prefix(lines, "SC0 32760 0 "), 4);
}

TEST_F(Hpgl, SteepEllipseScalesTheOtherAxis)
{
    // n = option 2 * 32760 / option 1 = 65520 for a round ellipse on a 100 x 200 page.
    const auto lines = plot([] { circle(0); }, {{1, 100}, {2, 200}});
    const auto at = std::find(lines.begin(), lines.end(), "SC0 16380 0 32760");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "CI2559 0");  // radius 100 / 2 = 50 surface units, times 32760 / 640
}

TEST_F(Hpgl, ClassHPolygonOfMorePointsIsLeftToTheCore)
{
    HC_DEVICE_CONFIG.plotter_variant = 6;  // class H
    IHcDeviceSelect(GrOpInitialise, HC_HPGL_DEVICE);
    const auto lines = plot(
        [] {
            auto& B = GrPrimitiveBlock;
            B.FILL(FILL_STYLE) = 4;
            B.NPTS = 128;
            for (int i = 1; i <= 128; ++i) {
                GrPolylineBuffer.X(i) = static_cast<float>(i);
                GrPolylineBuffer.Y(i) = static_cast<float>(i % 7);
            }
            B.NVAL = 1;
            IHcSendOp(GrOpPolygonPattern);
            EXPECT_EQ(B.FILL(FILL_HARD_PASS), 2);  // the core is asked to draw the fill
            EXPECT_EQ(B.colour_record, 2);
        },
        {{25, 1}});
    EXPECT_EQ(count_prefix(lines, "PM0"), 0);
    EXPECT_EQ(count_prefix(lines, "SC-11 4 "), 1);
    EXPECT_EQ(count_prefix(lines, "SC-12 128 0 32760"), 1);
    EXPECT_EQ(count_prefix(lines, "SC-9 "), 128);
}

TEST_F(Hpgl, FailedCreateSwitchesHardcopyOff)
{
    ERROR_STATE.last_error = 77;
    IHcOpen("no_such_directory/x.plt", std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, ERR_OPEN_FILE);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
    // A good create puts the earlier number back.
    ERROR_STATE.last_error = 77;
    IHcOpen(name, std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, 77);
    IHcOpen("S", " ");
    std::remove(name.c_str());
}

TEST_F(Hpgl, SqueezeKeepsTheMnemonic)
{
    EXPECT_EQ(hpgl_squeeze("RO 90; IP    395      0"), "RO90; IP 395 0");
    EXPECT_EQ(hpgl_squeeze("SC-3    32     0 32760 ;SC0 32760 0 32760"),
              "SC-3 32 0 32760 ;SC0 32760 0 32760");
    EXPECT_EQ(hpgl_squeeze("LT    "), "LT");
}

// The lines that follow a marker line, up to the next "SC0 32760 0 32760" (not included).
std::vector<std::string> after(const std::vector<std::string>& lines, const std::string& marker)
{
    auto at = std::find(lines.begin(), lines.end(), marker);
    if (at == lines.end())
        return {};
    auto end = std::find(at + 1, lines.end(), std::string("SC0 32760 0 32760"));
    return std::vector<std::string>(at + 1, end);
}

// The bytes of the clip window, the relative character size by text mode, a plotter-filled triangle
// and the two arc forms. Variant 1: 14.111111 plotter units a point, P1 (395, 0), page 742 by 530
// points; the surface is 640 by 480, so sx = 32760 / 640 = 51.1875 and sy = 32760 / 480 = 68.25.
TEST_F(Hpgl, ClipTextSizePlotterFillAndArcBytes)
{
    auto& A = GrDeviceArea;
    auto& T = GrTextState;
    auto& B = GrPrimitiveBlock;
    const auto lines = plot([&] {
        // Clip 100..200 on both axes: fx = 742 x 14.111111 / 640 = 16.36007, fy = 530 x 14.111111 / 480
        // = 15.58102; IW 1636 + 395, 1558, 3272.01 + 0.99 -> 3273 + 395, 3116.20 + 0.99 -> 3117.
        A.x1 = A.y1 = 100;
        A.x2 = A.y2 = 200;
        IHcSendOp(GrOpClip);
        // Text 0.02 by 0.05 of a 640 by 480 area: mode 0 gives 0.02 x 100 / 1.5 and 0.05 x 100 / 2;
        // mode 1 the same times 1.007 and 1.211.
        A.text_width = 640;
        A.text_height = 480;
        T.char_width = 0.02f;
        T.char_height = 0.05f;
        for (int mode : {0, 1}) {
            T.text_mode = mode;
            IHcSendOp(GrOpFont);
            B.IX(1) = 1;
            B.TEXT[0] = 'A';
            B.X(1) = B.Y(1) = 10;
            IHcSendOp(GrOpText);
        }
        // Arcs about (320, 240), radius 100, from 0 through 90 degrees, on the whole surface:
        GrArea.width = GrArea.height = 1.0f;
        // n = 530 x 32760 / 742 = 23400 scales y, cy = 23400 x 240 / 32760 = 171.4286.
        B.X(1) = 320, B.Y(1) = 240, B.X(2) = 100, B.X(3) = 0, B.Y(3) = 1.5708f, B.X(4) = 0, B.Y(4) = 90;
        B.FILL(FILL_STYLE) = 0;
        B.FILL(FILL_DENSITY) = 3;  // an open arc: pen up to its start, "AA" about the centre
        IHcSendOp(GrOpArc);
        B.FILL(FILL_DENSITY) = 0;  // an edge wedge: "EW" with the radius in plotter units
        IHcSendOp(GrOpArc);
    });
    EXPECT_NE(std::find(lines.begin(), lines.end(), "IW2031 1558 3668 3117"), lines.end());
    EXPECT_EQ(count_prefix(lines, "SR"), 2);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SR1.33 2.50"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SR1.34 3.03"), lines.end());
    // r' = 100 x 51.1875 = 5118.75, centre (16380, 171.4286 x 68.25 = 11700).
    EXPECT_EQ(after(lines, "SC0 32760 0 23400"),
              (std::vector<std::string>{"PU21498 11700", "PD", "AA16380 11700 90.0"}));
    const auto wedge = std::find(lines.begin(), lines.end(), "EW5118 0.0 90.0");
    ASSERT_NE(wedge, lines.end());
    EXPECT_EQ(*(wedge - 2), "PU16380 16380");  // pen up to the centre (320 x 51.1875, 240 x 68.25)
}

// A class H plotter with option 25 fills a solid triangle itself: the fill pen width of option 12
// (80 hundredths of a point = 0.28 mm), then the polygon between "PM0" and "PM2;FP", and no data record
// of the core's emulation.
TEST_F(Hpgl, PlotterFillsTheTriangleItself)
{
    HC_DEVICE_CONFIG.plotter_variant = 6;  // class H
    IHcDeviceSelect(GrOpInitialise, HC_HPGL_DEVICE);
    const auto lines = plot(
        [] {
            auto& B = GrPrimitiveBlock;
            B.FILL(FILL_STYLE) = 4;
            B.X(1) = 100, B.Y(1) = 100, B.X(2) = 200, B.Y(2) = 100, B.X(3) = 150, B.Y(3) = 200;
            B.NVAL = 1;
            IHcSendOp(GrOpTrianglePattern);
            EXPECT_EQ(B.NVAL, 1);  // not handed back to the core
            B.NVAL = -1;
            IHcSendOp(GrOpTrianglePattern);
        },
        {{HC_OPT_PLOTTER_FILL, 1}, {HC_OPT_FILL_SPACING, 80}});
    const auto fill = std::find(lines.begin(), lines.end(), "FT2;PT 0.28");
    ASSERT_NE(fill, lines.end());
    // (100, 100), (200, 100), (150, 200) x (51.1875, 68.25).
    const std::vector<std::string> triangle = {"PU5118 6825", "PM0", "PD10237 6825", "PD7678 13650",
                                               "PM2;FP"};
    EXPECT_EQ(std::vector<std::string>(fill + 1, fill + 6), triangle);
    EXPECT_EQ(count_prefix(lines, "SC-7 "), 0);
}

}  // namespace
