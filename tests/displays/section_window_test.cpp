// The flowfield section display on the headless toolkit: its opening from the flowfield toolbar, the
// loop's reactions to presses and dialog changes scripted between waits, its closing, and the point
// report with its reset.
#include "app/displays/displays.h"
#include "app/displays/flowfield_properties.h"
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/state/display.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "resources/dialog_ids.h"

#include "flow_plane_case.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

constexpr const char* TITLE = "Distribution of Flowfield Properties (Uniform over each Computational Cell)";

class SectionWindowTest : public FlowPlaneTest {
protected:
    // A box 0..4 x 0..4 x 0..2 (2 x 2 x 1 divisions of 2 x 2 x 2 elements, 32 cells), one surface, the
    // control dialogs loaded as before the time-step loop, one output made.
    void SetUp() override
    {
        FlowPlaneTest::SetUp();
        const float low[3] = {0, 0, 0}, high[3] = {4, 4, 2};
        const int divisions[3] = {2, 2, 1}, elements[3] = {2, 2, 2};
        make_box(low, high, divisions, elements, 2);
        SURFACE.SURFACE_COUNT = 1;
        DISPLAY.RUN_TYPE = 3;
        LOAD_DISPLAY_DIALOGS();
        RUN.OUTPUT_COUNT = 1;
        HEADLESS.calls.clear();
    }

    // Runs the display from the SI toolbar's pause box; `script` is called at every wait with the wait's
    // number (0, 1, ...) and gives the message; the display closes when it leaves the type a close
    // request.
    static void run_display(const std::function<void(int n, int& type, WinMessage& m)>& script)
    {
        int n = 0;
        HEADLESS.wait_hook = [&](int& type, WinMessage& m) { script(n++, type, m); };
        HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PAUSE}] = 1;
        HANDLE_DISPLAY_CONTROLS();
        HEADLESS.wait_hook = nullptr;
    }

    static void press(WinMessage& m, int& type, int button, int x, int y)
    {
        type = MsgMouseDown;
        m.value1 = button;
        m.x = x;
        m.y = y;
    }

    // The first recorded call equal to `line` from position `from` on; -1 when there is none.
    static long index_of(const std::string& line, long from = 0)
    {
        const auto& k = HEADLESS.calls;
        const auto it = std::find(k.begin() + from, k.end(), line);
        return it == k.end() ? -1 : static_cast<long>(it - k.begin());
    }

    static std::string diag_text()
    {
        unit_close_all_unchecked();
        std::ifstream f("DIAG.TXT");
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }

    static int occurrences(const std::string& text, const std::string& what)
    {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }

    static double field_number(int dialog, int field) { return std::stod(field_text(dialog, field)); }
};

TEST_F(SectionWindowTest, OpensBesideItsDialogsAndClosesBackToTheBars)
{
    run_display([](int, int&, WinMessage&) {});
    // Opening: the bars hidden, the three dialogs placed in the left column, the window beside them.
    const long hidden[] = {index_of("WDialogHide 119"), index_of("WDialogHide 129"),
                           index_of("WDialogHide 112"), index_of("WDialogHide 126"),
                           index_of("WDialogHide 120")};
    for (long at : hidden)
        EXPECT_GE(at, 0);
    EXPECT_TRUE(std::is_sorted(std::begin(hidden), std::end(hidden)));
    const long window = index_of("WWinOpenChild 7 393 23 621 690 |" + std::string(TITLE) + "|");
    ASSERT_GT(window, hidden[4]);
    EXPECT_LT(index_of("WDialogShow 118 0 0 0 2"), window);
    EXPECT_LT(index_of("WDialogShow 124 0 3320 0 2"), window);
    EXPECT_LT(index_of("WDialogShow 125 0 7531 0 2"), window);
    EXPECT_EQ((HEADLESS.radio[{IDD_SECTION_PLANE_SI, IDC_SECTION_AXIS_X}]), 3) << "z";
    EXPECT_EQ((HEADLESS.radio[{IDD_SECTION_PLANE_SI, IDC_SECTION_SAMPLE_SIZE}]), 10) << "Temperature";
    EXPECT_EQ((HEADLESS.radio[{IDD_COLOUR_MAP, IDC_MAP_WHITE}]), 2) << "Black";
    EXPECT_EQ((HEADLESS.integers[{IDD_COLOUR_MAP, IDC_MAP_PICTURE}]), 1);
    EXPECT_NEAR(field_number(IDD_SECTION_PLANE_SI, IDC_SECTION_POSITION), 0.5, 1e-6);

    // Closing: the three dialogs hidden, the bars shown where they were, the pause box clear.
    const long closed = index_of("WWinCloseChild 1");
    ASSERT_GT(closed, window);
    for (const char* line :
         {"WDialogHide 118", "WDialogHide 124", "WDialogHide 125", "WDialogShow 119 0 2345 0 2",
          "WDialogShow 120 0 0 0 2", "WDialogShow 129 7000 0 0 2", "WDialogShow 112 5000 2345 0 2",
          "WDialogShow 126 7000 340 0 2"}) {
        EXPECT_GT(index_of(line), window) << line;
        EXPECT_LT(index_of(line), closed) << line;
    }
    EXPECT_EQ((HEADLESS.checks[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PAUSE}]), 0);
    EXPECT_EQ(HEADLESS.calls[closed + 1], "WWinSelect 0");
    EXPECT_EQ(HEADLESS.calls[closed + 2], "WWinClear");
    // The cleared main window gets its live displays back at once (the history stands for them).
    EXPECT_GT(index_of("WGrTextString 4550 2220 |Molecule Number History|", closed), closed);
}

TEST_F(SectionWindowTest, PressesLinesSpinsAndPictures)
{
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 250.0f + c;
    int lines_after_first_right = -1;
    run_display([&](int n, int& type, WinMessage& m) {
        if (n == 0) {
            press(m, type, 1, 5600, 3800);  // (2.264, 2.342): x element 3, y element 3
        } else if (n <= 51) {
            if (n == 2)
                lines_after_first_right = DISPLAY.FLOW_LINE_COUNT;
            press(m, type, 3, 1000 + 100 * n, 4500);  // 51 right presses inside the box
        } else if (n == 52) {
            HEADLESS.integers[{IDD_SECTION_PLANE_SI, IDC_SECTION_DIVISION}] = 0;  // typed 0
            type = MsgKey;
        } else if (n == 53) {
            HEADLESS.integers[{IDD_COLOUR_MAP, IDC_MAP_PICTURE}] = 2;  // raised by one
            type = MsgKey;
        } else if (n == 54) {
            HEADLESS.integers[{IDD_COLOUR_MAP, IDC_MAP_PICTURE}] = 1;  // lowered below the counter
            type = MsgKey;
        } else if (n == 55) {
            press(m, type, 1, 0, 0);  // outside the box
        }
    });
    EXPECT_EQ(lines_after_first_right, 1);
    EXPECT_EQ(DISPLAY.FLOW_LINE_COUNT, 50) << "the 51st line is not stored";
    EXPECT_NEAR(DISPLAY.FLOW_LINE_X[0], -0.2 + 4.4 * 1100 / 10000.0, 1e-5);
    EXPECT_NEAR(DISPLAY.FLOW_LINE_Y[0], -0.2 + 4.4 * 4500 / 9000.0, 1e-5);

    // The left press reported the cell at (2.264, 2.342, 0.5): cell 1 + 2 + 4 x 2.
    EXPECT_EQ(SECTION.SECTION_POINT_SHOWN, 1);
    EXPECT_EQ(field_text(IDD_POINT_REPORT_SI, IDC_REPORT_SAMPLE_SIZE), "1000");
    EXPECT_NEAR(field_number(IDD_POINT_REPORT_SI, IDC_REPORT_TEMPERATURE), 250.0 + 11, 1e-3);
    // The press outside the box moved the pick only.
    EXPECT_NEAR(SECTION.SECTION_POINT_X, -0.2 + 4.4 * 0.56, 1e-5);

    // Division 0 became 1, written back; the plane did not move.
    EXPECT_GE(index_of("WDialogPutInteger 1015 1"), 0);
    EXPECT_EQ((HEADLESS.integers[{IDD_SECTION_PLANE_SI, IDC_SECTION_DIVISION}]), 1);

    // One picture, under the counter's number; the counter moved on.
    EXPECT_EQ(HEADLESS.count("IGrSaveImage"), 1);
    EXPECT_GE(index_of("IGrSaveImage D3D0001.BMP"), 0);
    EXPECT_EQ(RUN.PICTURE_COUNTER, 2);

    // Every press wrote its line, inside the box or not.
    EXPECT_EQ(occurrences(diag_text(), "JSDIR=3, I"), 53);
}

TEST_F(SectionWindowTest, PlaneChangeClearsReportLinesAndShifts)
{
    run_display([](int n, int& type, WinMessage& m) {
        if (n == 0) {
            press(m, type, 1, 5000, 4500);
        } else if (n == 1) {
            press(m, type, 3, 5000, 4500);
        } else if (n == 2) {
            HEADLESS.integers[{IDD_COLOUR_MAP, IDC_MAP_RANGE_LOW}] = 5;
            type = MsgKey;
        } else if (n == 3) {
            HEADLESS.integers[{IDD_SECTION_PLANE_SI, IDC_SECTION_ELEMENT}] = 2;
            type = MsgKey;
        } else if (n == 4) {
            EXPECT_EQ(DISPLAY.FLOW_LINE_COUNT, 0);
            EXPECT_EQ(SECTION.SECTION_POINT_SHOWN, 0);
            EXPECT_EQ(SECTION.SECTION_RANGE_LOW.current, 0);
            EXPECT_EQ((HEADLESS.integers[{IDD_COLOUR_MAP, IDC_MAP_RANGE_LOW}]), 0);
            EXPECT_EQ(field_text(IDD_POINT_REPORT_SI, IDC_REPORT_SAMPLE_SIZE), "0");
            EXPECT_FLOAT_EQ(SECTION.SECTION_PLANE_POSITION, 1.5f);
            EXPECT_NEAR(field_number(IDD_SECTION_PLANE_SI, IDC_SECTION_POSITION), 1.5, 1e-6);
        }
    });
    EXPECT_EQ(SECTION.SECTION_ELEMENT.current, 2);
}

TEST_F(SectionWindowTest, RadioGroupsWithoutACheckedButtonChangeNothing)
{
    run_display([](int n, int& type, WinMessage&) {
        if (n == 0) {
            for (int field : {IDC_SECTION_AXIS_X, IDC_SECTION_AXIS_Y, IDC_SECTION_AXIS_Z})
                HEADLESS.radio.erase({IDD_SECTION_PLANE_SI, field});
            for (int field : {IDC_MAP_WHITE, IDC_MAP_BLACK, IDC_MAP_LINEAR, IDC_MAP_LOG})
                HEADLESS.radio.erase({IDD_COLOUR_MAP, field});
            type = MsgKey;
        }
    });
    EXPECT_EQ(SECTION.JSDIR.current, 3);
    EXPECT_EQ(SECTION.SECTION_WHITE_BACKGROUND.current, 0);
    EXPECT_EQ(SECTION.SECTION_LOG_SCALE.current, 0);
}

TEST_F(SectionWindowTest, CounterAbove9999KeepsAllItsDigits)
{
    RUN.PICTURE_COUNTER = 10000;
    run_display([](int n, int& type, WinMessage&) {
        if (n == 0) {
            HEADLESS.integers[{IDD_COLOUR_MAP, IDC_MAP_PICTURE}] = 10001;
            type = MsgKey;
        }
    });
    EXPECT_GE(index_of("IGrSaveImage D3D10000.BMP"), 0);
    EXPECT_EQ(RUN.PICTURE_COUNTER, 10001);
}

TEST_F(SectionWindowTest, WithoutSurfacesNoSurfaceOrForcesDialogIsTouched)
{
    SURFACE.SURFACE_COUNT = 0;
    HEADLESS.reset();
    LOAD_DISPLAY_DIALOGS();
    HEADLESS.calls.clear();
    HEADLESS.last_error = 0;
    RUN_SECTION_DISPLAY();
    EXPECT_GE(index_of("WWinCloseChild 1"), 0);
    for (int dialog : {IDD_SURFACE_TOOLBAR, IDD_FORCES_SI, IDD_FORCES_ENGLISH, IDD_FORCES_COEFFICIENTS})
        EXPECT_EQ(index_of("WDialogSelect " + std::to_string(dialog)), -1) << dialog;
    EXPECT_EQ(HEADLESS.last_error, 0);
}

// ---- the point report

class PointReportTest : public SectionWindowTest {
protected:
    void SetUp() override
    {
        SectionWindowTest::SetUp();
        open_section_display_state();
        SECTION.SECTION_PICK_X = 2.5f;  // x element 3, y element 2, z element 1: cell 1 + 2 + 4 x 1
        SECTION.SECTION_PICK_Y = 1.5f;
        SECTION.SECTION_POINT_SHOWN = 1;
    }
    static constexpr int CELL = 7;
};

TEST_F(PointReportTest, EnglishAndDimensionlessValues)
{
    GasState& G = GAS;
    G.STREAM_DENSITY = 1.0e20f;
    G.STREAM_TEMP = 200.0f;
    G.STREAM_SPEED = 500.0f;
    G.STREAM_MASS_DENSITY = 2.0f;
    auto& VAR = RESULTS.VAR;
    VAR(VAR_SAMPLE_SIZE, CELL) = 12.9f;
    VAR(VAR_TEMP, CELL) = 300.0f;
    VAR(VAR_NUMBER_DENSITY, CELL) = 1.0e20f;
    VAR(VAR_DENSITY, CELL) = 1.0f;
    VAR(VAR_PRESSURE, CELL) = 100.0f;
    VAR(VAR_U, CELL) = 1000.0f;
    VAR(VAR_MFP, CELL) = 0.3048f;
    RESULTS.SPECIES_VAR(SV_DIFFUSION_U, CELL, 1) = 3.0f;
    RESULTS.SPECIES_VAR(SV_DIFFUSION_U + 1, CELL, 1) = 4.0f;
    const struct {
        int units, field;
        double value;
    } cases[] = {
        {2, IDC_REPORT_TEMPERATURE, 80.6},
        {2, IDC_REPORT_NUMBER_DENSITY, 2.83168e18},
        {2, IDC_REPORT_DENSITY, 0.062428},
        {2, IDC_REPORT_PRESSURE, 2.088541},
        {2, IDC_REPORT_U, 3280.84},
        {2, IDC_REPORT_MFP, 1.0},
        {2, IDC_REPORT_SP_DIFF_SPEED, 5.0 / 0.3048},
        {2, IDC_REPORT_X, 2.5 / 0.3048},
        {3, IDC_REPORT_TEMPERATURE, 1.5},
        {3, IDC_REPORT_NUMBER_DENSITY, 1.0},
        {3, IDC_REPORT_DENSITY, 0.5},
        {3, IDC_REPORT_U, 2.0},
        {3, IDC_REPORT_MFP, 0.3048},
        {3, IDC_REPORT_PRESSURE, 100.0 / (1.0e20 * 1.3806e-23 * 200.0)},
        {3, IDC_REPORT_X, 2.5 / 4.0},
        {3, IDC_REPORT_Z, 0.5 / 2.0},
        {1, IDC_REPORT_Y, 1.5},
    };
    for (const auto& c : cases) {
        RUN.OUTPUT_UNITS = c.units;
        SHOW_POINT_REPORT();
        const double shown = field_number(point_report_dialog(c.units), c.field);
        EXPECT_NEAR(shown, c.value, 5e-5 * std::abs(c.value)) << "units " << c.units << " field " << c.field;
    }
    EXPECT_EQ(field_text(IDD_POINT_REPORT_ENGLISH, IDC_REPORT_SAMPLE_SIZE), "12");
}

// A point on a plane normal to each axis: the plane's coordinate on that axis, the picked ones on the
// other two; the report gives that cell and those coordinates, and the marker moves on the plane's two
// axes only.
TEST_F(PointReportTest, PointsOnPlanesNormalToEachAxis)
{
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 10.0f * c;
    const struct {
        int axis;
        float plane;                   // the plane's coordinate on the axis
        float pick_x, pick_y, pick_z;  // the picked coordinates (the one on the axis is not used)
        int cell;                      // 1 + i + 4 j + 16 k of the element (i, j, k) from 0
        float x, y, z;                 // the point reported
    } cases[] = {
        {1, 2.5f, 9.0f, 1.5f, 0.5f, 7, 2.5f, 1.5f, 0.5f},
        {2, 3.5f, 0.5f, 9.0f, 1.5f, 29, 0.5f, 3.5f, 1.5f},
        {3, 0.5f, 3.5f, 0.5f, 9.0f, 4, 3.5f, 0.5f, 0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axis);
        SectionDisplayState& s = SECTION;
        s.JSDIR.set(c.axis);
        s.SECTION_PLANE_POSITION = c.plane;
        s.SECTION_PICK_X = c.pick_x;
        s.SECTION_PICK_Y = c.pick_y;
        s.SECTION_PICK_Z = c.pick_z;
        s.SECTION_POINT_X = s.SECTION_POINT_Y = s.SECTION_POINT_Z = -7.0f;
        SHOW_POINT_REPORT();
        EXPECT_DOUBLE_EQ(field_number(IDD_POINT_REPORT_SI, IDC_REPORT_TEMPERATURE), 10.0 * c.cell);
        EXPECT_NEAR(field_number(IDD_POINT_REPORT_SI, IDC_REPORT_X), c.x, 1e-5);
        EXPECT_NEAR(field_number(IDD_POINT_REPORT_SI, IDC_REPORT_Y), c.y, 1e-5);
        EXPECT_NEAR(field_number(IDD_POINT_REPORT_SI, IDC_REPORT_Z), c.z, 1e-5);
        EXPECT_FLOAT_EQ(s.SECTION_POINT_X, c.axis == 1 ? -7.0f : c.pick_x);
        EXPECT_FLOAT_EQ(s.SECTION_POINT_Y, c.axis == 2 ? -7.0f : c.pick_y);
        EXPECT_FLOAT_EQ(s.SECTION_POINT_Z, c.axis == 3 ? -7.0f : c.pick_z);
    }
}

TEST_F(PointReportTest, EnglishWritesOnlyItsOwnDialogs)
{
    RUN.OUTPUT_UNITS = 2;
    HEADLESS.texts.clear();
    SHOW_POINT_REPORT();
    CLEAR_POINT_REPORT();
    for (const auto& [where, text] : HEADLESS.texts) {
        const int dialog = where.first;
        EXPECT_TRUE(dialog == IDD_POINT_REPORT_ENGLISH || dialog == IDD_SECTION_PLANE_ENGLISH) << dialog;
    }
}

TEST_F(PointReportTest, APointInABodyBlanksTheReportUntilTheNextOne)
{
    RESULTS.VAR(VAR_TEMP, CELL) = 300.0f;
    SHOW_POINT_REPORT();
    EXPECT_EQ(field_text(IDD_POINT_REPORT_SI, IDC_REPORT_TEMPERATURE), "300.00");
    element_cell(3, 2, 1) = -1;  // the element now lies in a body
    SHOW_POINT_REPORT();
    EXPECT_EQ(SECTION.SECTION_POINT_SHOWN, 0) << "no marker";
    EXPECT_EQ(field_number(IDD_POINT_REPORT_SI, IDC_REPORT_TEMPERATURE), 0.0);
    EXPECT_EQ(field_text(IDD_POINT_REPORT_SI, IDC_REPORT_SAMPLE_SIZE), "0");
    EXPECT_EQ(field_text(IDD_SECTION_PLANE_SI, IDC_SECTION_MESSAGE), NOT_IN_FLOWFIELD_TEXT);
    element_cell(3, 2, 1) = CELL;
    SHOW_POINT_REPORT();
    EXPECT_EQ(field_text(IDD_SECTION_PLANE_SI, IDC_SECTION_MESSAGE), "");
    EXPECT_EQ(field_text(IDD_POINT_REPORT_SI, IDC_REPORT_TEMPERATURE), "300.00");
}

}  // namespace
