// DRAW_FLOWFIELD_PROPERTIES on the headless toolkit: the legend (title, unit text, multiplier, labels
// and their window positions), the colour of every element of the plane, the range settings, the
// logarithmic option and its fall-back, the two backgrounds and the log line of a negative value.
#include "app/displays/display_arrays.h"
#include "app/displays/displays.h"
#include "app/displays/flowfield_properties.h"
#include "app/state/display.h"
#include "resources/dialog_ids.h"
#include "toolkit/graphics/window_text.h"

#include "flow_plane_case.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>

namespace {

class FlowfieldPictureTest : public FlowPlaneTest {
protected:
    // The z plane of 2 x 2 divisions of 2 x 2 elements, box 0..4 square and one element deep; cell c
    // (numbered across x first) has temperature 100 c and is well sampled. The element of cell 6 lies in
    // a body (the cell keeps its values).
    void SetUp() override
    {
        FlowPlaneTest::SetUp();
        const float low[3] = {0, 0, 0}, high[3] = {4, 4, 1};
        const int divisions[3] = {2, 2, 1}, elements[3] = {2, 2, 1};
        make_box(low, high, divisions, elements);
        for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
            RESULTS.VAR(VAR_TEMP, c) = 100.0f * c;
        element_cell(2, 2, 1) = -1;
        DisplaySettings& d = DISPLAY;
        d.FLOW_PROPERTY.set(VAR_TEMP);
        d.FLOW_PLANE_AXIS.set(3);
        d.FLOW_PLANE_DIVISION.set(1);
        d.FLOW_PLANE_ELEMENT.set(1);
        RUN.OUTPUT_UNITS = 1;
        HEADLESS.calls.clear();
    }

    // The colour number of every element rectangle drawn after the plane's units, by the element's
    // centre (in box units).
    static std::map<std::pair<double, double>, int> element_colours()
    {
        std::map<std::pair<double, double>, int> colours;
        bool in_plane = false, background = false;
        int colour = -1;
        for (const std::string& line : HEADLESS.calls) {
            const RecordedCall c = parse_call(line);
            if (c.name == "IGrUnits")
                in_plane = background = c.numbers[0] < -0.1;  // the plane frame, not the strip
            else if (c.name == "IGrColourN")
                colour = static_cast<int>(c.numbers[0]);
            else if (c.name == "IGrRectangle" && in_plane) {
                if (background) {  // the frame's fill comes first
                    background = false;
                    continue;
                }
                colours[{(c.numbers[0] + c.numbers[2]) / 2, (c.numbers[1] + c.numbers[3]) / 2}] = colour;
            }
        }
        return colours;
    }

    static std::string diag_text()
    {
        unit_close_all_unchecked();
        std::ifstream in("DIAG.TXT");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(FlowfieldPictureTest, LegendOfAFixtureOfSixteenCells)
{
    DISPLAY.FLOW_COLOUR_MAP.set(2);
    DRAW_FLOWFIELD_PROPERTIES();
    // Strip cleared, title and unit text, "x10" and -3 for the range 100..1600.
    ASSERT_EQ(HEADLESS.count("WGrRectangleClear 5001 9000 9999 9999"), 1);
    const auto title = calls_of("WGrTextString");
    ASSERT_GE(title.size(), 3u);
    EXPECT_EQ(title[0].text, "Temperature");
    EXPECT_EQ(title[0].numbers[0], 5500);
    EXPECT_EQ(title[1].text, "K");
    EXPECT_EQ(title[1].numbers[0], 8000);
    EXPECT_EQ(title[2].text, "x10");
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 9300 9830 -3 3"), 1);
    // Labels 0.2 .. 1.4 (every 200 between 100 and 1600), at int(p x 4500 + 5250) - 170.
    const auto labels = calls_of("WGrTextReal");
    ASSERT_EQ(labels.size(), 7u);
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_NEAR(labels[i].numbers[2], 0.2 * (i + 1), 1e-5);
        EXPECT_EQ(labels[i].numbers[1], 9600);
        EXPECT_EQ(labels[i].text, "(F5.1)");
    }
    EXPECT_EQ(labels.front().numbers[0], 5380);
    EXPECT_EQ(labels.back().numbers[0], 8980);
    // The bar: 254 colours.
    EXPECT_EQ(HEADLESS.count("IGrColourN 254"), 2);  // the bar and cell 16
    EXPECT_EQ(DISPLAY.FLOW_COLOUR_MAP.current, 1);   // the live picture always draws the continuous scale
    EXPECT_EQ(DISPLAY.FLOW_COLOUR_MAP.previous, 1);
}

TEST_F(FlowfieldPictureTest, ElementColoursBodyAndUnsampledCells)
{
    RESULTS.VAR(VAR_SAMPLE_SIZE, 15) = 10.0f;  // 10 molecules in 20 samples
    for (int white : {0, 1}) {
        SCOPED_TRACE(white);
        DISPLAY.FLOW_WHITE_BACKGROUND.set(white);
        HEADLESS.calls.clear();
        DRAW_FLOWFIELD_PROPERTIES();
        const auto colours = element_colours();
        ASSERT_EQ(colours.size(), 16u);
        // Cell c's element (numbered across x first): centre (i - 0.5, j - 0.5).
        auto at = [&](int c) { return colours.at({(c - 1) % 4 + 0.5, (c - 1) / 4 + 0.5}); };
        EXPECT_EQ(at(1), 1);                 // the minimum
        EXPECT_EQ(at(10), 153);              // (1000 - 100) x 255 / 1500 truncated
        EXPECT_EQ(at(16), 254);              // 255 cut to 254
        EXPECT_EQ(at(6), white ? 255 : 0);   // the body
        EXPECT_EQ(at(15), white ? 1 : 255);  // not well sampled
        // The plane frame of a square box in the live picture's area.
        EXPECT_NEAR(PLANE_FRAME_LEFT(3), -0.745, 1e-5);
        EXPECT_NEAR(PLANE_FRAME_RIGHT(3), 4.745, 1e-5);
        EXPECT_NEAR(PLANE_FRAME_BOTTOM(3), -0.2, 1e-5);
        EXPECT_NEAR(PLANE_FRAME_TOP(3), 4.2, 1e-5);
        // Window text colours of the background.
        EXPECT_EQ(WGrTextState.text_colour, white ? 0 : 15);
    }
}

TEST_F(FlowfieldPictureTest, NoScaleWithoutARange)
{
    // A uniform property: title only, every coloured cell colour 1.
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 300.0f;
    DRAW_FLOWFIELD_PROPERTIES();
    EXPECT_EQ(calls_of("WGrTextString").size(), 1u);
    EXPECT_EQ(HEADLESS.count("WGrTextReal"), 0);
    for (const auto& [centre, colour] : element_colours())
        EXPECT_EQ(colour, centre == std::make_pair(1.5, 1.5) ? 0 : 1);

    // No cell counted: every mean collision time missing. The range stays 1e6 .. -1e6.
    HEADLESS.calls.clear();
    DISPLAY.FLOW_PROPERTY.set(VAR_COLL_TIME);
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_COLL_TIME, c) = 1.0e10f;
    DRAW_FLOWFIELD_PROPERTIES();
    const auto texts = calls_of("WGrTextString");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Mean Collision Time");
    for (const auto& [centre, colour] : element_colours())
        EXPECT_EQ(colour, centre == std::make_pair(1.5, 1.5) ? 0 : 1);
}

// Before any cell is counted the range runs from 1e6 down to -1e6, and the cells that are coloured
// whatever their sample (number density) take the formula's colour on that negative range, as in the
// section picture. Fault: every such cell took colour 1.
TEST_F(FlowfieldPictureTest, NegativeRangeColoursByTheFormula)
{
    DISPLAY.FLOW_PROPERTY.set(VAR_NUMBER_DENSITY);
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        RESULTS.VAR(VAR_SAMPLE_SIZE, c) = 10.0f;  // no cell well sampled, so none counted
        RESULTS.VAR(VAR_NUMBER_DENSITY, c) = 1000.0f * c;
    }
    DRAW_FLOWFIELD_PROPERTIES();
    EXPECT_EQ(calls_of("WGrTextString").size(), 1u) << "the title alone";
    const auto colours = element_colours();
    ASSERT_EQ(colours.size(), 16u);
    const struct {
        int cell, colour;  // trunc((1000 c - 1e6) x 255 / -2e6)
    } cases[] = {{1, 127}, {5, 126}, {16, 125}};
    for (const auto& c : cases)
        EXPECT_EQ(colours.at({(c.cell - 1) % 4 + 0.5, (c.cell - 1) / 4 + 0.5}), c.colour)
            << "cell " << c.cell;
}

// A drawing's scratch array that cannot be had (CELL_COLOUR of the flowfield picture) logs its line
// and gives up that drawing only: the program goes on. Fault: the failure stopped the program.
TEST_F(FlowfieldPictureTest, ScratchArrayThatCannotBeHadGivesUpTheDrawingOnly)
{
    Array<int, 2> too_large;  // more bytes than an address space holds
    EXPECT_FALSE(allocate_or_give_up(too_large, "CELL_COLOUR", INT32_MAX, INT32_MAX));
    EXPECT_FALSE(too_large.allocated());
    Array<int, 1> fits;
    EXPECT_TRUE(allocate_or_give_up(fits, "CELL_COLOUR", CELLS.CELL_COUNT));
    DRAW_FLOWFIELD_PROPERTIES();  // still running, and drawing
    EXPECT_EQ(HEADLESS.count("WGrRectangleClear 5001 9000 9999 9999"), 1);
    const std::string diag = diag_text();
    EXPECT_NE(diag.find(" PROGRAM COULD NOT ALLOCATE CELL_COLOUR"), std::string::npos) << diag;
}

// The axes of the live picture on each plane: an open-headed arrow along the bottom and one up the
// left side of the plane frame, each with the letter of its axis (z and y across and up on a plane
// normal to x, x and z normal to y, x and y normal to z), in font 102.
TEST_F(FlowfieldPictureTest, AxisArrowsAndLettersOfEachPlane)
{
    const struct {
        int axis;
        const char *across, *up;
    } cases[] = {{1, "z", "y"}, {2, "x", "z"}, {3, "x", "y"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axis);
        DISPLAY.FLOW_PLANE_AXIS.set(c.axis);
        HEADLESS.calls.clear();
        DRAW_FLOWFIELD_PROPERTIES();
        const double left = PLANE_FRAME_LEFT(c.axis), bottom = PLANE_FRAME_BOTTOM(c.axis);
        const double W = PLANE_FRAME_RIGHT(c.axis) - left, H = PLANE_FRAME_TOP(c.axis) - bottom;
        const auto arrows = calls_of("IGrArrowPolar");
        ASSERT_EQ(arrows.size(), 2u);
        const std::vector<double> along_x = {left + 0.99 * W, bottom + 0.025 * H, 0.05 * W, 0, 1};
        const std::vector<double> along_y = {left + 0.025 * W, bottom + 0.99 * H, 0.05 * H, 90, 1};
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_NEAR(arrows[0].numbers[i], along_x[i], 1e-4 * (1 + std::fabs(along_x[i]))) << i;
            EXPECT_NEAR(arrows[1].numbers[i], along_y[i], 1e-4 * (1 + std::fabs(along_y[i]))) << i;
        }
        const auto letters = calls_of("IGrCharOut");
        ASSERT_EQ(letters.size(), 2u);
        EXPECT_EQ(letters[0].text, c.across);
        EXPECT_NEAR(letters[0].numbers[0], left + 0.92 * W, 1e-4 * (1 + std::fabs(left + W)));
        EXPECT_NEAR(letters[0].numbers[1], bottom + 0.025 * H, 1e-4 * (1 + std::fabs(bottom + H)));
        EXPECT_EQ(letters[1].text, c.up);
        EXPECT_NEAR(letters[1].numbers[0], left + 0.025 * W, 1e-4 * (1 + std::fabs(left + W)));
        EXPECT_NEAR(letters[1].numbers[1], bottom + 0.9 * H, 1e-4 * (1 + std::fabs(bottom + H)));
        EXPECT_EQ(HEADLESS.count("IGrCharFont 102 0 0.02 0.04"), 1);
    }
}

TEST_F(FlowfieldPictureTest, RangeSettings)
{
    // 1010 .. 1160: the high end 40 steps of 3 % down falls below the low end; the range becomes
    // 0.985 .. 1.015 of the midpoint (980 + 1010) / 2 = 995, labelled every 5 (mantissa 0.5, x10 -1).
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 1000.0f + 10.0f * c;
    DISPLAY.FLOW_RANGE_HIGH.set(-40);
    DRAW_FLOWFIELD_PROPERTIES();
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 9300 9830 -1 3"), 1);
    const auto labels = calls_of("WGrTextReal");
    ASSERT_EQ(labels.size(), 5u);  // 980.075 .. 1009.925: 985, 990, ... 1005
    EXPECT_NEAR(labels.front().numbers[2], 98.5, 1e-4);
    EXPECT_NEAR(labels.back().numbers[2], 100.5, 1e-4);
    // p = (985 - 980.075) / 29.85 -> int(p x 4500 + 5250) - 170.
    EXPECT_EQ(labels.front().numbers[0], static_cast<int>((985.0 - 980.075) / 29.85 * 4500 + 5250) - 170);
    // Cells above the narrowed range (1160 is 1530 colour steps from its low end) take the top colour:
    // the value is clamped before it becomes a colour number, never past the scale.
    const auto narrowed = element_colours();
    EXPECT_EQ(narrowed.at({3.5, 3.5}), 254);
    for (const auto& [centre, colour] : narrowed)
        if (centre != std::make_pair(1.5, 1.5)) {  // the body
            EXPECT_TRUE(colour >= 1 && colour <= 254) << centre.first << ", " << centre.second;
        }

    // Shifts 0 and 0 show the counted minimum and maximum exactly.
    HEADLESS.calls.clear();
    DISPLAY.FLOW_RANGE_HIGH.set(0);
    DRAW_FLOWFIELD_PROPERTIES();
    const auto colours = element_colours();
    EXPECT_EQ(colours.at({0.5, 0.5}), 1);
    EXPECT_EQ(colours.at({3.5, 3.5}), 254);
    EXPECT_EQ(colours.at({3.5, 0.5}), static_cast<int>((1040.0 - 1010.0) * 255 / 150));
}

TEST_F(FlowfieldPictureTest, LogarithmicOption)
{
    DISPLAY.FLOW_LOG_SCALE.set(1);
    DRAW_FLOWFIELD_PROPERTIES();
    const auto texts = calls_of("WGrTextString");
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Log10");
    EXPECT_EQ(texts[0].numbers[0], 5200);
    EXPECT_EQ(texts[1].numbers[0], 5800);
    EXPECT_EQ(DISPLAY.FLOW_LOG_SCALE.current, 1);
    // Colours by log10: 2 .. 3.2041; cell 10 at (3 - 2) x 255 / 1.2041.
    const auto colours = element_colours();
    EXPECT_EQ(colours.at({1.5, 2.5}), static_cast<int>(1.0 * 255 / std::log10(16.0)));

    // A velocity of 0 somewhere: no logarithm; the picture is linear, the pair and the box are 0.
    HEADLESS.calls.clear();
    DISPLAY.FLOW_PROPERTY.set(VAR_U);
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_U, c) = 10.0f * (c - 1);
    DRAW_FLOWFIELD_PROPERTIES();
    EXPECT_EQ(DISPLAY.FLOW_LOG_SCALE.current, 0);
    EXPECT_EQ(DISPLAY.FLOW_LOG_SCALE.previous, 0);
    EXPECT_EQ((HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_LOG_SCALE}]), 0);
    EXPECT_EQ(calls_of("WGrTextString")[0].text, "Velocity in x dirn.");

    // A negative low shift on a log scale goes back to 0 for the next drawing (the spin shows it).
    HEADLESS.calls.clear();
    DISPLAY.FLOW_PROPERTY.set(VAR_TEMP);
    DISPLAY.FLOW_LOG_SCALE.set(1);
    DISPLAY.FLOW_RANGE_LOW.set(-2);
    DRAW_FLOWFIELD_PROPERTIES();
    EXPECT_EQ(DISPLAY.FLOW_RANGE_LOW.current, 0);
    EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_RANGE_LOW}]), 0);
}

TEST_F(FlowfieldPictureTest, LogRescanSkipsValuesWithoutALogarithm)
{
    // Before, a zero-volume cell that the first pass left out brought log10 of 0 into the range.
    DISPLAY.FLOW_LOG_SCALE.set(1);
    CELLS.CELL_DATA(CELL_VOLUME, 3) = 0.0f;
    RESULTS.VAR(VAR_TEMP, 3) = 0.0f;
    DRAW_FLOWFIELD_PROPERTIES();
    const auto labels = calls_of("WGrTextReal");
    ASSERT_FALSE(labels.empty());
    for (const RecordedCall& l : labels)
        EXPECT_TRUE(std::isfinite(l.numbers[2]));
    const auto colours = element_colours();
    EXPECT_EQ(colours.at({2.5, 0.5}), 255);  // no flow value of its own: not coloured by a stale one
    EXPECT_EQ(colours.at({0.5, 0.5}), 1);
}

TEST_F(FlowfieldPictureTest, NegativeCollisionValuesAreLoggedInBothPasses)
{
    DISPLAY.FLOW_PROPERTY.set(VAR_MFP);
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        RESULTS.VAR(VAR_COLL_TIME, c) = 1.0e-5f;
        RESULTS.VAR(VAR_MFP, c) = 0.001f * c;
    }
    RESULTS.VAR(VAR_MFP, 7) = -0.5f;
    DRAW_FLOWFIELD_PROPERTIES();
    const std::string diag = diag_text();
    size_t count = 0;
    for (size_t at = diag.find("-VE COLLISION RATE CELL"); at != std::string::npos;
         at = diag.find("-VE COLLISION RATE CELL", at + 1))
        ++count;
    EXPECT_EQ(count, 2u);
    EXPECT_NE(diag.find("7"), std::string::npos);
}

}  // namespace
