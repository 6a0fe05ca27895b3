// HANDLE_DISPLAY_CONTROLS on the headless toolkit: the fields a user changes (scripted into the
// dialogs) and what the handler makes of them: the settings, their limits, the fields it writes back,
// the conversions between the unit systems and the reaction text of the progress log.
#include "app/displays/displays.h"
#include "resources/dialog_ids.h"

#include "display_case.h"
#include "flow_box.h"

namespace {

class HandleDisplayControlsTest : public DisplayCaseTest {
protected:
    // Case n with its dialogs loaded and one output made (so the toolbars respond), then one handler
    // call that settles the run-start differences; the record starts empty.
    void start(int n, int units = 1)
    {
        load_case(n);
        RUN.OUTPUT_UNITS = units;
        LOAD_DISPLAY_DIALOGS();
        RUN.OUTPUT_COUNT = 1;
        HANDLE_DISPLAY_CONTROLS();
        HEADLESS.calls.clear();
    }
    static void choose_units(int units) { HEADLESS.radio[{IDD_OUTPUT_UNITS, IDC_UNITS_SI}] = units; }
    static float shown(int dialog, int field) { return std::stof(field_text(dialog, field)); }
};

TEST_F(HandleDisplayControlsTest, PropertiesBeyondTheSpeciesFallBack)
{
    start(2);  // two species, two surfaces
    ASSERT_EQ(GAS.SPECIES_COUNT, 2);
    HEADLESS.menus[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PROPERTY}] = 22;  // "Fraction of Species 5"
    HEADLESS.menus[{IDD_SURFACE_TOOLBAR, IDC_SURF_PROPERTY}] = 15;  // "Fraction of Species 5"
    HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_LOG_SCALE}] = 1;
    HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_RANGE_LOW}] = 4;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(DISPLAY.FLOW_PROPERTY.current, 17);
    EXPECT_EQ(DISPLAY.FLOW_PROPERTY.previous, 17);
    EXPECT_EQ(DISPLAY.SURF_DISPLAY_PROPERTY.current, 10);
    // A new property clears the log scale and both range spins.
    EXPECT_EQ((HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_LOG_SCALE}]), 0);
    EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_RANGE_LOW}]), 0);
    EXPECT_EQ(DISPLAY.FLOW_LOG_SCALE.current, 0);
    EXPECT_EQ(DISPLAY.FLOW_RANGE_LOW.current, 0);

    // A list that reads nothing leaves the setting alone.
    HEADLESS.menus.erase({IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PROPERTY});
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(DISPLAY.FLOW_PROPERTY.current, 17);
}

// With the log scale ticked, a new property is drawn on the linear scale its cleared box shows.
TEST_F(HandleDisplayControlsTest, NewPropertyIsDrawnLinearAfterALogScale)
{
    start(1);
    // A flowfield with results: a 2 x 2 plane of cells at 100 to 400 K.
    const float low[3] = {0, 0, 0}, high[3] = {2, 2, 1};
    const int divisions[3] = {2, 2, 1}, elements[3] = {1, 1, 1};
    ASSERT_TRUE(make_flow_box(low, high, divisions, elements));
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        for (int code = 1; code <= VAR_FRACTION; ++code)
            RESULTS.VAR(code, c) = 100.0f * c;
    DISPLAY.FLOW_PLANE_AXIS.set(3);
    DISPLAY.FLOW_PLANE_DIVISION.set(1);
    DISPLAY.FLOW_PLANE_ELEMENT.set(1);
    HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_LOG_SCALE}] = 1;
    HANDLE_DISPLAY_CONTROLS();
    ASSERT_EQ(DISPLAY.FLOW_LOG_SCALE.current, 1);
    EXPECT_EQ(HEADLESS.count("WGrTextString 5200 9900 |Log10|"), 1);
    HEADLESS.calls.clear();
    HEADLESS.menus[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PROPERTY}] = 2;
    HANDLE_DISPLAY_CONTROLS();
    ASSERT_EQ(DISPLAY.FLOW_PROPERTY.current, 2);
    EXPECT_EQ((HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_LOG_SCALE}]), 0);
    EXPECT_EQ(DISPLAY.FLOW_LOG_SCALE.current, 0);
    EXPECT_GE(HEADLESS.count("WGrTextString"), 1);  // the new property was drawn
    EXPECT_EQ(HEADLESS.count("WGrTextString 5200 9900 |Log10|"), 0);
}

// A logarithmic scale that a picture refuses (a value at 0) clears the toolbar's box as well as the
// setting, for both live pictures, so the next poll reads a linear box and draws nothing. Fault: the
// surface picture kept its box ticked, and was refused, redrawn and its range spins zeroed at every poll.
TEST_F(HandleDisplayControlsTest, RefusedLogScaleClearsItsBoxOnBothPictures)
{
    start(3);  // the re-entry case: one species, surfaces
    const float low[3] = {0, 0, 0}, high[3] = {2, 2, 1};
    const int divisions[3] = {2, 2, 1}, elements[3] = {1, 1, 1};
    ASSERT_TRUE(make_flow_box(low, high, divisions, elements, GAS.SPECIES_COUNT));
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        for (int code = 2; code <= VAR_FRACTION; ++code)
            RESULTS.VAR(code, c) = 100.0f * (c - 1);  // cell 1 at 0
    const int triangles = SURFACE.SOLID_TRIANGLE_COUNT;
    ASSERT_TRUE(RESULTS.VARS.allocate(9 + GAS.SPECIES_COUNT, triangles));
    for (int t = 1; t <= triangles; ++t) {
        RESULTS.VARS(1, t) = 20.0f;                      // well sampled
        RESULTS.VARS(3, t) = static_cast<float>(t - 1);  // triangle 1 at 0
    }
    DISPLAY.FLOW_PROPERTY.set(VAR_TEMP);
    DISPLAY.SURF_DISPLAY_PROPERTY.set(3);
    const struct {
        const char* picture;
        int dialog, box;
        DisplayPair* setting;
        const char* drawn;  // a call that only this picture's drawing makes
    } cases[] = {
        {"flowfield", IDD_FLOW_TOOLBAR_SI, IDC_FLOW_LOG_SCALE, &DISPLAY.FLOW_LOG_SCALE,
         "WGrRectangleClear 5001"},
        {"surface", IDD_SURFACE_TOOLBAR, IDC_SURF_LOG_SCALE, &DISPLAY.SURF_LOG_SCALE, "WBitmapCreate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        HEADLESS.checks[{c.dialog, c.box}] = 1;
        HEADLESS.calls.clear();
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(HEADLESS.count(c.drawn), 1) << "drawn once for the ticked box";
        EXPECT_EQ((HEADLESS.checks[{c.dialog, c.box}]), 0);
        EXPECT_EQ(c.setting->current, 0);
        EXPECT_EQ(c.setting->previous, 0);
        HEADLESS.calls.clear();
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(HEADLESS.count(c.drawn), 0) << "the next poll finds nothing changed";
    }
}

// The surface toolbar, one control at a time: each new value is taken as drawn and the live surface
// picture drawn once; a new scale also puts the range shifts back to 0; the next poll draws nothing.
TEST_F(HandleDisplayControlsTest, SurfaceToolbarStepsDrawOncePerChange)
{
    start(3);  // the re-entry case, with surfaces
    const int triangles = SURFACE.SOLID_TRIANGLE_COUNT;
    ASSERT_TRUE(RESULTS.VARS.allocate(VARS_FRACTION + GAS.SPECIES_COUNT, triangles));
    for (int t = 1; t <= triangles; ++t) {
        RESULTS.VARS(VARS_SAMPLE_SIZE, t) = 20.0f;
        RESULTS.VARS(VARS_PRESSURE, t) = static_cast<float>(t);  // positive: a log scale is taken
    }
    DisplaySettings& d = DISPLAY;
    d.SURF_DISPLAY_PROPERTY.set(VARS_PRESSURE);
    const struct {
        const char* step;
        int field;
        int value;
        DisplayPair* pair;
        bool spin;  // a spin, else a check box
    } cases[] = {
        {"log scale", IDC_SURF_LOG_SCALE, 1, &d.SURF_LOG_SCALE, false},
        {"zoom", IDC_SURF_ZOOM, 3, &d.SURF_VIEW_ZOOM, true},
        {"shift across", IDC_SURF_SHIFT_H, -2, &d.SURF_VIEW_SHIFT_H, true},
        {"shift up", IDC_SURF_SHIFT_V, 4, &d.SURF_VIEW_SHIFT_V, true},
        {"azimuth", IDC_SURF_AZIMUTH, 5, &d.SURF_VIEW_AZIMUTH, true},
        {"elevation", IDC_SURF_ELEVATION, -6, &d.SURF_VIEW_ELEVATION, true},
        {"low range shift", IDC_SURF_RANGE_LOW, 2, &d.SURF_RANGE_LOW, true},
        {"high range shift", IDC_SURF_RANGE_HIGH, -3, &d.SURF_RANGE_HIGH, true},
        {"white background", IDC_SURF_WHITE, 1, &d.SURF_WHITE_BACKGROUND, false},
    };
    HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_RANGE_LOW}] = 7;  // shifts that a new scale clears
    HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_RANGE_HIGH}] = 7;
    d.SURF_RANGE_LOW.set(7);
    d.SURF_RANGE_HIGH.set(7);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        if (c.spin)
            HEADLESS.integers[{IDD_SURFACE_TOOLBAR, c.field}] = c.value;
        else
            HEADLESS.checks[{IDD_SURFACE_TOOLBAR, c.field}] = c.value;
        HEADLESS.calls.clear();
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(HEADLESS.count("WBitmapCreate"), 1);
        EXPECT_EQ(c.pair->current, c.value);
        EXPECT_EQ(c.pair->previous, c.value);
        HEADLESS.calls.clear();
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(HEADLESS.count("WBitmapCreate"), 0) << "nothing changed";
        if (c.pair == &d.SURF_LOG_SCALE) {
            EXPECT_EQ((HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_RANGE_LOW}]), 0);
            EXPECT_EQ((HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_RANGE_HIGH}]), 0);
            EXPECT_EQ(d.SURF_RANGE_LOW.current, 0);
            EXPECT_EQ(d.SURF_RANGE_HIGH.current, 0);
        }
    }
    // A new property clears the scale and the shifts again.
    HEADLESS.menus[{IDD_SURFACE_TOOLBAR, IDC_SURF_PROPERTY}] = VARS_NUMBER_FLUX;
    HEADLESS.calls.clear();
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(HEADLESS.count("WBitmapCreate"), 1);
    EXPECT_EQ((HEADLESS.checks[{IDD_SURFACE_TOOLBAR, IDC_SURF_LOG_SCALE}]), 0);
    EXPECT_EQ(d.SURF_LOG_SCALE.current, 0);
    EXPECT_EQ((HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_RANGE_LOW}]), 0);
    EXPECT_EQ((HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_RANGE_HIGH}]), 0);
    EXPECT_EQ(d.SURF_DISPLAY_PROPERTY.previous, VARS_NUMBER_FLUX);
}

TEST_F(HandleDisplayControlsTest, DivisionAndElementAreClampedAndWrittenBack)
{
    start(1);
    const struct {
        int division, element;
        int want_division, want_element;
    } cases[] = {
        {0, 1, 1, 1},
        {99, 1, BOX.DIVISIONS_Z, 1},
        {2, 99, 2, BOX.ELEMENTS_PER_DIVISION_Z},
        {-999, -5, 1, 1},  // an emptied spin reads -999
    };
    for (const auto& c : cases) {
        HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_DIVISION}] = c.division;
        HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_ELEMENT}] = c.element;
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(DISPLAY.FLOW_PLANE_DIVISION.current, c.want_division) << c.division;
        EXPECT_EQ(DISPLAY.FLOW_PLANE_ELEMENT.current, c.want_element) << c.element;
        EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_DIVISION}]), c.want_division);
        EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_ELEMENT}]), c.want_element);
        EXPECT_EQ(DISPLAY.FLOW_PLANE_DIVISION.previous, c.want_division);
    }
}

TEST_F(HandleDisplayControlsTest, NewAxisStartsAgainWithTheSpinsOfItsCounts)
{
    start(1);
    HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_DIVISION}] = 3;
    HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_RANGE_HIGH}] = 5;
    HANDLE_DISPLAY_CONTROLS();
    HEADLESS.calls.clear();
    HEADLESS.radio[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_AXIS_X}] = 1;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(DISPLAY.FLOW_PLANE_AXIS.current, 1);
    EXPECT_EQ(DISPLAY.FLOW_PLANE_AXIS.previous, 1);
    EXPECT_EQ(DISPLAY.FLOW_PLANE_DIVISION.current, 1);
    EXPECT_EQ(DISPLAY.FLOW_RANGE_HIGH.current, 0);
    EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_DIVISION}]), 1);
    EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_RANGE_HIGH}]), 0);
    EXPECT_EQ(HEADLESS.count("WDialogRangeInteger 1015 1 " + std::to_string(BOX.DIVISIONS_X)), 1);
    EXPECT_EQ(HEADLESS.count("WDialogRangeInteger 1046 1 " + std::to_string(BOX.ELEMENTS_PER_DIVISION_X)), 1);
}

// The delta wing (scale factor 20): the z plane through element 1 of division 1 in the three systems.
// The dimensionless position is the true length over the true extent, not over the stored one.
TEST_F(HandleDisplayControlsTest, PlanePositionInEachUnitSystem)
{
    const struct {
        int units;
        int toolbar;
        float position;
    } cases[] = {
        {1, IDD_FLOW_TOOLBAR_SI, 0.01041667f},
        {2, IDD_FLOW_TOOLBAR_ENGLISH, 0.03417541f},
        {3, IDD_FLOW_TOOLBAR_RATIO, 0.02083333f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        TearDown();
        SetUp();
        start(1, c.units);
        EXPECT_NEAR(shown(c.toolbar, IDC_FLOW_POSITION), c.position, 2e-8f);
    }
}

TEST_F(HandleDisplayControlsTest, UnitChangeConvertsPointAndPlaneAndBack)
{
    start(1);
    HEADLESS.texts[{IDD_FORCES_SI, IDC_POINT_X}] = "1.0";
    choose_units(2);
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(RUN.OUTPUT_UNITS, 2);
    EXPECT_EQ(field_text(IDD_FORCES_ENGLISH, IDC_POINT_X), "3.281");
    EXPECT_EQ(field_text(IDD_FORCES_ENGLISH, IDC_POINT_Y), "0.000");
    EXPECT_EQ(HEADLESS.count("WDialogShow 121 7000 340"), 1);
    EXPECT_EQ(HEADLESS.count("WDialogShow 127 5000 2345"), 1);
    EXPECT_NEAR(shown(IDD_FLOW_TOOLBAR_ENGLISH, IDC_FLOW_POSITION), 0.03417541f, 2e-8f);
    choose_units(1);
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(field_text(IDD_FORCES_SI, IDC_POINT_X), "1.000");
    EXPECT_NEAR(shown(IDD_FLOW_TOOLBAR_SI, IDC_FLOW_POSITION), 0.01041667f, 2e-8f);
}

// With a scale factor of 20 and a true x extent of 2 m, the point x = 1 m is the middle of the box:
// 0.5, not 1 / 40 = 0.025 (the true length over the stored extent moved the moment point).
TEST_F(HandleDisplayControlsTest, DimensionlessPointIsTrueLengthOverTrueExtent)
{
    start(1);
    BOX.SCALE_FACTOR = 20.0f;
    BOX.XMIN = 0.0f;
    BOX.XMAX = 40.0f;
    HEADLESS.texts[{IDD_FORCES_SI, IDC_POINT_X}] = "1.0";
    choose_units(3);
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(field_text(IDD_FORCES_COEFFICIENTS, IDC_POINT_X), "0.5000");
    choose_units(1);
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(field_text(IDD_FORCES_SI, IDC_POINT_X), "1.000");
}

TEST_F(HandleDisplayControlsTest, DimensionlessRefusedWithTheStreamAtRest)
{
    start(2);
    choose_units(3);
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(RUN.OUTPUT_UNITS, 1);
    EXPECT_EQ(HEADLESS.count("WMessageBox 0 3 1 |Cannot choose \"Non-dimensional\" for zero stream "
                             "speed|Option not available|"),
              1);
    EXPECT_EQ((HEADLESS.radio[{IDD_OUTPUT_UNITS, IDC_UNITS_SI}]), 1) << "SI is checked again";
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(HEADLESS.count("WMessageBox"), 1) << "the refusal is not repeated";
}

TEST_F(HandleDisplayControlsTest, ForceSurfaceOutsideTheSurfacesReturnsToThePreviousOne)
{
    load_case(1);
    SURFACE.SURFACE_COUNT = 3;  // the forces can be asked of three surfaces
    LOAD_DISPLAY_DIALOGS();
    RUN.OUTPUT_COUNT = 1;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(HEADLESS.field_states.count({IDD_FORCES_SI, IDC_FORCE_SURFACE}), 0u)
        << "the spin stays enabled";
    for (int chosen : {2, SURFACE.SURFACE_COUNT + 1, 0}) {
        HEADLESS.integers[{IDD_FORCES_SI, IDC_FORCE_SURFACE}] = chosen;
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(DISPLAY.FORCE_SURFACE.current, 2) << chosen;
        EXPECT_EQ((HEADLESS.integers[{IDD_FORCES_SI, IDC_FORCE_SURFACE}]), 2) << chosen;
    }
}

TEST_F(HandleDisplayControlsTest, LoggedReactionIsNamedAndKeptInRange)
{
    start(3);  // re-entry: gas reactions
    ASSERT_GE(GAS.GAS_REACTIONS, 3);
    HEADLESS.integers[{IDD_LOG, IDC_LOG_REACTION_TYPE}] = 3;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(DISPLAY.LOG_REACTION.current, 3);
    EXPECT_EQ(field_text(IDD_LOG, IDC_LOG_NOTE), "Reaction type    3 is O2+N2->2O+N2");

    // 0 and a number above the reactions return to the previous one, written back.
    for (int chosen : {0, GAS.GAS_REACTIONS + 1}) {
        HEADLESS.integers[{IDD_LOG, IDC_LOG_REACTION_TYPE}] = chosen;
        HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(DISPLAY.LOG_REACTION.current, 3) << chosen;
        EXPECT_EQ((HEADLESS.integers[{IDD_LOG, IDC_LOG_REACTION_TYPE}]), 3) << chosen;
    }

    // A reaction beyond the 23 named ones is taken, and the text stays.
    GAS.GAS_REACTIONS = 30;
    HEADLESS.integers[{IDD_LOG, IDC_LOG_REACTION_TYPE}] = 30;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(DISPLAY.LOG_REACTION.current, 30);
    EXPECT_EQ(field_text(IDD_LOG, IDC_LOG_NOTE), "Reaction type    3 is O2+N2->2O+N2");
}

TEST_F(HandleDisplayControlsTest, BeforeTheFirstOutputOnlyUnitsAndReactionRespond)
{
    load_case(3);
    LOAD_DISPLAY_DIALOGS();
    HEADLESS.calls.clear();
    HEADLESS.menus[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PROPERTY}] = 3;
    HEADLESS.integers[{IDD_LOG, IDC_LOG_REACTION_TYPE}] = 2;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(DISPLAY.FLOW_PROPERTY.current, 10);
    EXPECT_EQ(DISPLAY.LOG_REACTION.current, 2);
    EXPECT_EQ(HEADLESS.count("WDialogSelect 112"), 0);
}

TEST_F(HandleDisplayControlsTest, PauseBoxesOpenTheirDisplaysWhichClearThem)
{
    start(1);
    HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PAUSE}] = 1;
    HEADLESS.checks[{IDD_SURFACE_TOOLBAR, IDC_SURF_PAUSE}] = 1;
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ((HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PAUSE}]), 0);
    EXPECT_EQ((HEADLESS.checks[{IDD_SURFACE_TOOLBAR, IDC_SURF_PAUSE}]), 0);
}

}  // namespace
