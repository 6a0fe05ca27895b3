// The flowfield section picture on the headless toolkit: the square plane frame, the scale (range
// passes, shifts, the fall-back to a linear scale), the colours of the elements, the surface traces,
// the overlay, and the legend with its bands.
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/displays/flowfield_properties.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "resources/dialog_ids.h"

#include "flow_plane_case.h"

#include <algorithm>
#include <cmath>

namespace {

class SectionPictureTest : public FlowPlaneTest {
protected:
    void SetUp() override
    {
        FlowPlaneTest::SetUp();
        open_section_display_state();
        SECTION.SECTION_WINDOW = 1;
    }

    // A box x 0..4, y 0..4, z 0..1 of 2 x 2 x 1 divisions of 2 x 2 x 1 elements: 16 cells on the z plane.
    static void make_square_plane()
    {
        const float low[3] = {0, 0, 0}, high[3] = {4, 4, 1};
        const int divisions[3] = {2, 2, 1}, elements[3] = {2, 2, 1};
        make_box(low, high, divisions, elements);
    }

    // Each element rectangle of the plane with its colour number, in drawing order: the colour selected
    // before each rectangle that starts inside the box (the frame and legend rectangles lie outside
    // it or in the legend's units, from -0.055555, before the plane's).
    struct ElementRectangle {
        RecordedCall rectangle;
        int colour;
    };
    static std::vector<ElementRectangle> element_rectangles()
    {
        std::vector<ElementRectangle> out;
        int colour = -1;
        bool plane = false;
        for (const std::string& line : HEADLESS.calls) {
            const RecordedCall c = parse_call(line);
            if (c.name == "IGrUnits" && c.numbers.size() == 4 && c.numbers[0] < -0.06)
                plane = true;  // the plane frame's units
            if (c.name == "IGrColourN")
                colour = static_cast<int>(c.numbers[0]);
            if (plane && c.name == "IGrRectangle" && c.numbers[0] >= 0.0)
                out.push_back({c, colour});
            if (c.name == "IGrPaletteInit")
                plane = false;
        }
        return out;
    }
    static std::vector<int> element_colours()
    {
        std::vector<int> colours;
        for (const ElementRectangle& e : element_rectangles())
            colours.push_back(e.colour);
        return colours;
    }
};

TEST_F(SectionPictureTest, SquareFrameOfAWideBoxAndPressPoint)
{
    const float low[3] = {0, 0, 0}, high[3] = {3, 1, 1};
    const int divisions[3] = {3, 1, 1}, elements[3] = {1, 1, 1};
    make_box(low, high, divisions, elements);
    DRAW_FLOWFIELD_SECTION();
    EXPECT_FLOAT_EQ(PLANE_FRAME_LEFT(3), -0.15f);
    EXPECT_FLOAT_EQ(PLANE_FRAME_RIGHT(3), 3.15f);
    EXPECT_FLOAT_EQ(PLANE_FRAME_BOTTOM(3), -1.15f);
    EXPECT_FLOAT_EQ(PLANE_FRAME_TOP(3), 2.15f);

    // The picture spans the window's width and its upper nine tenths.
    PLANE_FRAME_LEFT(3) = 0.0f, PLANE_FRAME_RIGHT(3) = 10.0f;
    PLANE_FRAME_BOTTOM(3) = 0.0f, PLANE_FRAME_TOP(3) = 10.0f;
    float h = 0.0f, v = 0.0f;
    section_press_point(5000, 4500, h, v);
    EXPECT_FLOAT_EQ(h, 5.0f);
    EXPECT_FLOAT_EQ(v, 5.0f);
}

TEST_F(SectionPictureTest, DrawingGoesOffScreenAndReachesTheWindowInOneCopy)
{
    make_square_plane();
    DRAW_FLOWFIELD_SECTION();
    const std::vector<std::string>& k = HEADLESS.calls;
    auto at = [&](const std::string& line) { return std::find(k.begin(), k.end(), line) - k.begin(); };
    EXPECT_LT(at("WWinSelect 1"), at("WBitmapCreate 1 621 690"));
    EXPECT_LT(at("WBitmapCreate 1 621 690"), at("IGrSelectTarget 2 1"));
    EXPECT_LT(at("IGrSelectTarget 2 1"), at("IGrSelectTarget 1 1"));
    EXPECT_LT(at("IGrSelectTarget 1 1"), at("WBitmapPut 1 2 0"));
    EXPECT_LT(at("WBitmapPut 1 2 0"), at("WBitmapDestroy 1"));
    EXPECT_EQ(HEADLESS.count("WBitmapPut"), 1);
    // The plot area is filled with the background only once the frame's units are set.
    const auto units = std::find_if(k.begin(), k.end(),
                                    [](const std::string& l) { return l == "IGrUnits -0.2 -0.2 4.2 4.2"; });
    ASSERT_NE(units, k.end());
    EXPECT_EQ(*(units + 1), "IGrColourN 223");
    EXPECT_EQ(*(units + 3), "IGrRectangle -0.2 -0.2 4.2 4.2");
}

TEST_F(SectionPictureTest, ScaleOfTheRangePasses)
{
    make_square_plane();
    for (int c = 1; c <= 16; ++c) {
        RESULTS.VAR(VAR_NUMBER_DENSITY, c) = 1.0e20f * c;
        RESULTS.VAR(VAR_TEMP, c) = 100.0f * c;
    }
    RESULTS.VAR(VAR_SAMPLE_SIZE, 16) = 10.0f;  // not well sampled: left out of the temperature range

    // A number density in SI never passes the starting minimum of 1,000,000 (cell 16 is left out).
    SECTION.SECTION_PROPERTY.set(VAR_NUMBER_DENSITY);
    SectionScale s = section_scale();
    EXPECT_FLOAT_EQ(s.low, 1.0e6f);
    EXPECT_FLOAT_EQ(s.high, 1.5e21f);

    SECTION.SECTION_PROPERTY.set(VAR_TEMP);
    s = section_scale();
    EXPECT_FLOAT_EQ(s.low, 100.0f);
    EXPECT_FLOAT_EQ(s.high, 1500.0f);

    // Shifts of 3 % of the range; a high end below the low one becomes 0.985..1.015 of the middle.
    SECTION.SECTION_RANGE_LOW.set(10);
    s = section_scale();
    EXPECT_FLOAT_EQ(s.low, 520.0f);
    SECTION.SECTION_RANGE_LOW.set(0);
    SECTION.SECTION_RANGE_HIGH.set(-40);
    s = section_scale();
    // high 1500 - 0.03 x 40 x 1400 = -180, below the low end 100: the middle -40 is negative.
    EXPECT_NEAR(s.low, 1.015 * -40.0, 1e-3);
    EXPECT_NEAR(s.high, 0.985 * -40.0, 1e-3);

    // No cell counted: the starting values stand and the span is negative.
    for (int c = 1; c <= 16; ++c)
        RESULTS.VAR(VAR_SAMPLE_SIZE, c) = 1.0f;
    SECTION.SECTION_RANGE_HIGH.set(0);
    s = section_scale();
    EXPECT_FLOAT_EQ(s.low, 1.0e6f);
    EXPECT_FLOAT_EQ(s.high, -1.0e6f);
    EXPECT_LT(s.span, 0.0f);
}

TEST_F(SectionPictureTest, LogScaleOfAVelocityThroughZeroFallsBackToLinear)
{
    make_square_plane();
    WDialogLoad(IDD_COLOUR_MAP);
    WDialogSelect(IDD_COLOUR_MAP);
    WDialogPutRadioButton(IDC_MAP_LOG);
    for (int c = 1; c <= 16; ++c)
        RESULTS.VAR(VAR_U, c) = 10.0f * (c - 1);  // cell 1 at rest
    SECTION.SECTION_PROPERTY.set(VAR_U);
    SECTION.SECTION_LOG_SCALE.set(1);
    const SectionScale s = section_scale();
    EXPECT_EQ(SECTION.SECTION_LOG_SCALE.current, 0);
    EXPECT_EQ(SECTION.SECTION_LOG_SCALE.previous, 0);
    EXPECT_EQ((HEADLESS.radio[{IDD_COLOUR_MAP, IDC_MAP_LINEAR}]), 1) << "\"Linear\" is checked";
    EXPECT_FLOAT_EQ(s.low, 0.0f);
    EXPECT_FLOAT_EQ(s.high, 150.0f);

    // A positive velocity everywhere stays logarithmic, in log10 units.
    for (int c = 1; c <= 16; ++c)
        RESULTS.VAR(VAR_U, c) = 10.0f * c;
    SECTION.SECTION_LOG_SCALE.set(1);
    const SectionScale log = section_scale();
    EXPECT_EQ(SECTION.SECTION_LOG_SCALE.current, 1);
    EXPECT_FLOAT_EQ(log.low, 1.0f);
    EXPECT_NEAR(log.high, std::log10(160.0), 1e-6);

    // The log pass takes every well-sampled cell, whatever its volume: a cell without flow volume that
    // holds a negative value has no logarithm and is left out (it reached log10 before).
    CELLS.CELL_DATA(CELL_VOLUME, 3) = 0.0f;
    RESULTS.VAR(VAR_U, 3) = -5.0f;
    const SectionScale skipped = section_scale();
    EXPECT_EQ(SECTION.SECTION_LOG_SCALE.current, 1);
    EXPECT_FLOAT_EQ(skipped.low, 1.0f);
    EXPECT_TRUE(std::isfinite(skipped.span));
}

TEST_F(SectionPictureTest, ColourNumbersAreHeldBeforeTruncation)
{
    const SectionScale scale{0.0f, 255.0f, 255.0f};
    const struct {
        double v;
        int colour;
    } cases[] = {
        {0.0, 1},    {1.5, 1},   {2.9, 2}, {254.5, 254},    {300.0, 254},
        {1e30, 254}, {-1e30, 1}, {NAN, 1}, {INFINITY, 254},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scale_colour(c.v, scale), c.colour) << c.v;
    EXPECT_EQ(scale_colour(5.0, SectionScale{5.0f, 5.0f, 0.0f}), 1) << "a uniform property takes colour 1";
}

TEST_F(SectionPictureTest, ElementColoursBodiesAndCellsWithoutVolume)
{
    make_square_plane();
    for (int c = 1; c <= 16; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 100.0f * c;
    element_cell(1, 1, 1) = -1;               // a body element
    RESULTS.VAR(VAR_SAMPLE_SIZE, 6) = 10.0f;  // not well sampled
    CELLS.CELL_DATA(CELL_VOLUME, 7) = 0.0f;   // no flow volume: no value of its own
    DRAW_FLOWFIELD_SECTION();
    const std::vector<int> black = element_colours();
    ASSERT_EQ(black.size(), 16u);
    // Elements in drawing order: x division, y division, x element, y element.
    const int order[16] = {1, 5, 2, 6, 9, 13, 10, 14, 3, 7, 4, 8, 11, 15, 12, 16};
    for (int i = 0; i < 16; ++i) {
        const int cell = order[i];
        int expected = scale_colour(100.0 * cell, section_scale());
        if (cell == 1)
            expected = RAMP_BLACK;
        else if (cell == 6 || cell == 7)
            expected = RAMP_WHITE;
        EXPECT_EQ(black[i], expected) << "cell " << cell;
    }

    // On the white background bodies are 255 and cells without data 1.
    HEADLESS.calls.clear();
    SECTION.SECTION_WHITE_BACKGROUND.set(1);
    DRAW_FLOWFIELD_SECTION();
    const std::vector<int> white = element_colours();
    ASSERT_EQ(white.size(), 16u);
    EXPECT_EQ(white[0], RAMP_WHITE);
    EXPECT_EQ(white[3], 1);  // cell 6
    EXPECT_EQ(white[9], 1);  // cell 7
}

// Planes normal to x and to y: the elements of the chosen division are walked across (z on a plane
// normal to x, x on one normal to y) and up (y, or z), divisions before elements, each rectangle at its
// element's place in the plane's two coordinates and in its cell's colour.
TEST_F(SectionPictureTest, PlanesNormalToXAndY)
{
    // Box 0..2 on each axis, 2 divisions of one element each way: cell 1 + i + 2 j + 4 k.
    const float low[3] = {0, 0, 0}, high[3] = {2, 2, 2};
    const int divisions[3] = {2, 2, 2}, elements[3] = {1, 1, 1};
    make_box(low, high, divisions, elements);
    for (int c = 1; c <= 8; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 100.0f * c;
    const struct {
        int axis, division;
        int cells[4];         // in drawing order
        float corners[4][2];  // lower left corner of each rectangle (across, up)
    } cases[] = {
        {1, 2, {2, 4, 6, 8}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},  // x = 1..2: across z, up y
        {2, 1, {1, 5, 2, 6}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},  // y = 0..1: across x, up z
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axis);
        SECTION.JSDIR.set(c.axis);
        SECTION.SECTION_DIVISION.set(c.division);
        SECTION.SECTION_ELEMENT.set(1);
        HEADLESS.calls.clear();
        DRAW_FLOWFIELD_SECTION();
        const std::vector<ElementRectangle> rectangles = element_rectangles();
        ASSERT_EQ(rectangles.size(), 4u);
        for (int e = 0; e < 4; ++e) {
            const ElementRectangle& r = rectangles[e];
            EXPECT_EQ(r.colour, scale_colour(100.0 * c.cells[e], section_scale())) << "cell " << c.cells[e];
            EXPECT_FLOAT_EQ(r.rectangle.numbers[0], c.corners[e][0]) << e;
            EXPECT_FLOAT_EQ(r.rectangle.numbers[1], c.corners[e][1]) << e;
            EXPECT_FLOAT_EQ(r.rectangle.numbers[2], c.corners[e][0] + 1.0f) << e;
            EXPECT_FLOAT_EQ(r.rectangle.numbers[3], c.corners[e][1] + 1.0f) << e;
        }
    }
}

TEST_F(SectionPictureTest, TracesOfTheSolidTrianglesCutByThePlane)
{
    // Box -2..2 on every axis, one division of one element each way, so the plane z = 0 holds the one
    // division, a surface division listing its triangles.
    const float low[3] = {-2, -2, -2}, high[3] = {2, 2, 2};
    const int divisions[3] = {1, 1, 1}, elements[3] = {1, 1, 1};
    make_box(low, high, divisions, elements);
    SurfaceState& S = SURFACE;
    S.POINT_COUNT = 6;
    S.TRIANGLE_COUNT = 2;
    ASSERT_TRUE(S.POINT_X.allocate(6) && S.POINT_Y.allocate(6) && S.POINT_Z.allocate(6));
    ASSERT_TRUE(S.TRIANGLE.allocate(6, 2));
    const float points[6][3] = {{0, 0, -1}, {2, 0, 1}, {0, 2, 1},   // cut by z = 0
                                {0, 0, 0},  {2, 0, 1}, {0, 2, 1}};  // a corner in the plane, no crossing
    for (int p = 1; p <= 6; ++p) {
        S.POINT_X(p) = points[p - 1][0];
        S.POINT_Y(p) = points[p - 1][1];
        S.POINT_Z(p) = points[p - 1][2];
    }
    for (int t = 1; t <= 2; ++t) {
        for (int k = 1; k <= 3; ++k)
            S.TRIANGLE(k, t) = 3 * (t - 1) + k;
        S.TRIANGLE(TRIANGLE_KIND, t) = t;  // solid
    }
    float h1, v1, h2, v2;
    ASSERT_TRUE(plane_trace(1, 3, 0.0f, h1, v1, h2, v2));
    EXPECT_FLOAT_EQ(h1, 1.0f);
    EXPECT_FLOAT_EQ(v1, 0.0f);
    EXPECT_FLOAT_EQ(h2, 0.0f);
    EXPECT_FLOAT_EQ(v2, 1.0f);
    EXPECT_FALSE(plane_trace(2, 3, 0.0f, h1, v1, h2, v2));

    // Triangle 1 listed three times in the division's list: one trace; triangle 2: none.
    Divisions& D = DIVISIONS;
    ASSERT_TRUE(D.DIVISION_INFO.allocate(3, 1, 1, 1));
    D.DIVISION_INFO(DIVISION_CODE, 1, 1, 1) = -1;
    D.SURFACE_DIVISION_COUNT = 1;
    ASSERT_TRUE(D.SURFACE_INDEX.allocate(2, 1));
    D.SURFACE_INDEX(SURFACE_INDEX_COUNT, 1) = 4;
    D.SURFACE_INDEX(SURFACE_INDEX_START, 1) = 0;
    D.TOTAL_SURFACE_INDEX_SIZE = 4;
    ASSERT_TRUE(D.TOTAL_SURFACE_INDEX.allocate(4));
    const int listed[4] = {1, 2, 1, 1};
    for (int j = 1; j <= 4; ++j)
        D.TOTAL_SURFACE_INDEX(j) = listed[j - 1];
    SECTION.SECTION_ELEMENT.set(1);  // plane through the middle of the one element: z = 0
    DRAW_FLOWFIELD_SECTION();
    const auto lines = calls_of("IGrLine");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].numbers, (std::vector<double>{1, 0, 0, 1}));
    EXPECT_EQ(S.TRIANGLE(TRIANGLE_MARK, 1), 1);
    EXPECT_EQ(S.TRIANGLE(TRIANGLE_MARK, 2), 1);
}

TEST_F(SectionPictureTest, OverlayMarkerFlowLinesAndAxes)
{
    // A uniform stream along +x on a box 0..10 x 0..2 x 0..2: every flow-direction line is traced
    // both ways from its start (two moves each).
    const float low[3] = {0, 0, 0}, high[3] = {10, 2, 2};
    const int divisions[3] = {5, 1, 1}, elements[3] = {2, 2, 2};
    make_box(low, high, divisions, elements);
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_U, c) = 100.0f;
    SECTION.SECTION_PLANE_POSITION = section_plane_position();

    DRAW_FLOWFIELD_SECTION();
    EXPECT_EQ(HEADLESS.count("IGrMoveTo"), 0) << "no line, no tracer";
    EXPECT_EQ(HEADLESS.count("IGrMarker"), 0) << "no point shown, no marker";
    EXPECT_EQ(HEADLESS.count("IGrArrowPolar"), 2);

    DisplaySettings& d = DISPLAY;
    d.FLOW_LINE_COUNT = 50;
    for (int i = 0; i < 50; ++i) {
        d.FLOW_LINE_X[i] = 2.5f;
        d.FLOW_LINE_Y[i] = 0.02f * (i + 1);
    }
    SECTION.SECTION_POINT_SHOWN = 1;
    SECTION.SECTION_POINT_X = 3.0f;
    SECTION.SECTION_POINT_Y = 1.5f;
    HEADLESS.calls.clear();
    DRAW_FLOWFIELD_SECTION();
    EXPECT_EQ(HEADLESS.count("IGrMoveTo"), 100);
    const auto marker = calls_of("IGrMarker");
    ASSERT_EQ(marker.size(), 1u);
    EXPECT_EQ(marker[0].numbers, (std::vector<double>{3, 1.5, 6}));
    // The overlay's colour is 215 whatever the background; the scale for the marker stays for the
    // axis letters.
    const std::vector<std::string>& k = HEADLESS.calls;
    const auto overlay = std::find(k.begin(), k.end(), "IGrColourN 215");
    ASSERT_NE(overlay, k.end());
    EXPECT_EQ(*(overlay + 1), "IGrCharScale 2 0.9");
    const auto letters = calls_of("IGrCharOut");
    ASSERT_GE(letters.size(), 2u);
    EXPECT_EQ(letters[letters.size() - 2].text, "x");
    EXPECT_EQ(letters.back().text, "y");
}

// ---- the legend

class SectionLegendTest : public SectionPictureTest {};

// A label at the bar's right end stands at its tick like every other: the screen centres the label on
// its point, so half a label fits in the strip's margin beyond the bar.
TEST_F(SectionLegendTest, LabelAtTheRightEndStandsAtItsTick)
{
    SECTION.SECTION_PROPERTY.set(VAR_TEMP);
    draw_section_legend(SectionScale{0.0f, 1210.0f, 1210.0f});
    const auto labels = calls_of("IGrRealOut");
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_NEAR(labels[4].numbers[0], 1000.0 / 1210.0 - 0.009, 1e-6);
    EXPECT_NEAR(labels.back().numbers[2], 1.2, 1e-6);
    EXPECT_NEAR(labels.back().numbers[0], 1200.0 / 1210.0 - 0.009, 1e-6);
}

TEST_F(SectionLegendTest, ScaleOf0To1500)
{
    SECTION.SECTION_PROPERTY.set(VAR_TEMP);
    draw_section_legend(SectionScale{0.0f, 1500.0f, 1500.0f});
    const auto labels = calls_of("IGrRealOut");
    ASSERT_EQ(labels.size(), 7u);
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_NEAR(labels[i].numbers[2], 0.2 * (i + 1), 1e-6) << "label " << i;
        EXPECT_NEAR(labels[i].numbers[0], 200.0 * (i + 1) / 1500.0 - 0.009, 1e-6);
        EXPECT_EQ(labels[i].text, "(F5.1)");
    }
    const auto texts = calls_of("IGrCharOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "Temperature");
    EXPECT_EQ(texts[1].text, "K");
    EXPECT_EQ(texts[2].text, "x10");
    const auto power = calls_of("IGrIntegerOut");
    ASSERT_EQ(power.size(), 1u);
    EXPECT_EQ(power[0].numbers, (std::vector<double>{0.978, 0.023, -3, 3}));
    EXPECT_EQ(HEADLESS.count("IGrRectangle"), 1 + 254) << "the strip and the bar";
    // Base line, 29 minor ticks (50 .. 1450) and 7 major ticks.
    EXPECT_EQ(HEADLESS.count("IGrLine"), 1 + 29 + 7);
}

TEST_F(SectionLegendTest, BandedMapFillsTheBandsAndDrawsNoLines)
{
    DISPLAY.FLOW_COLOUR_MAP.set(2);
    SECTION.SECTION_PROPERTY.set(VAR_TEMP);
    CONTOUR_BAND.fill(0);
    draw_section_legend(SectionScale{0.0f, 1500.0f, 1500.0f});
    EXPECT_EQ(HEADLESS.count("IGrLine"), 0);
    EXPECT_EQ(HEADLESS.count("IGrRealOut"), 7) << "labels stay";
    for (int i = 1; i <= 29; ++i)
        EXPECT_EQ(CONTOUR_BAND(i), static_cast<int>(50.0 * i / 1500.0 * 255.0)) << "entry " << i;
    EXPECT_EQ(CONTOUR_BAND(1), 8);
    EXPECT_EQ(CONTOUR_BAND(2), 17);
    EXPECT_EQ(CONTOUR_BAND(3), 25);
    EXPECT_EQ(CONTOUR_BAND(30), 0);
}

TEST_F(SectionLegendTest, TitlesUnitsAndTheMultiplier)
{
    const struct {
        int code, units, log;
        SectionScale scale;
        std::vector<std::string> texts;  // every IGrCharOut, in order
        int labels;                      // IGrRealOut calls
    } cases[] = {
        // A span at most 1e-10: the title alone (and "Log10" on a log scale).
        {VAR_TEMP, 1, 0, {5.0f, 5.0f, 0.0f}, {"Temperature"}, 0},
        {VAR_TEMP, 1, 1, {2.0f, 2.0f, 1e-11f}, {"Temperature", "Log10"}, 0},
        {VAR_TEMP, 1, 0, {1e6f, -1e6f, -2e6f}, {"Temperature"}, 0},
        // Low below 0 and high above: 0.0, 0.4, 0.8 upward, -0.4, -0.8 downward ("0.0" once).
        {VAR_U, 2, 0, {-1.0f, 1.0f, 2.0f}, {"Velocity in x dirn.", "ft/s"}, 5},
        // A species property: "Species", its number, the title and the units further right.
        {18 + 2,
         3,
         0,
         {0.0f, 0.5f, 0.5f},
         {"Species", "x Comp Trans. Temp.", "/Stream Temperature", "x10"},
         4},
        {VAR_PRESSURE, 2, 0, {0.0f, 9.0f, 9.0f}, {"Scalar Pressure nkT", "lbf/sq ft"}, 4},
    };
    for (const auto& c : cases) {
        HEADLESS.calls.clear();
        SECTION.SECTION_PROPERTY.set(c.code);
        SECTION.SECTION_LOG_SCALE.set(c.log);
        RUN.OUTPUT_UNITS = c.units;
        GAS.STREAM_SPEED = 1.0f;
        draw_section_legend(c.scale);
        std::vector<std::string> texts;
        for (const RecordedCall& t : calls_of("IGrCharOut"))
            texts.push_back(t.text);
        EXPECT_EQ(texts, c.texts) << "code " << c.code;
        EXPECT_EQ(HEADLESS.count("IGrRealOut"), c.labels) << "code " << c.code;
    }
}

TEST_F(SectionLegendTest, NegativeExponentShowsAPositivePower)
{
    SECTION.SECTION_PROPERTY.set(VAR_MACH);
    draw_section_legend(SectionScale{0.0f, 0.5f, 0.5f});
    const auto power = calls_of("IGrIntegerOut");
    ASSERT_EQ(power.size(), 1u);
    EXPECT_NEAR(power[0].numbers[0], 0.973, 1e-6);
    EXPECT_EQ(power[0].numbers[2], 1);
    const auto labels = calls_of("IGrRealOut");
    ASSERT_EQ(labels.size(), 4u);  // 1.0 .. 4.0 (x 10^-1); 0 is not above the low end
    for (size_t i = 0; i < labels.size(); ++i)
        EXPECT_NEAR(labels[i].numbers[2], 1.0 * (i + 1), 1e-6);
}

}  // namespace
