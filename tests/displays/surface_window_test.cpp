// The surface display window on the headless toolkit: its opening from the surface toolbar, the loop's
// reactions to dialog changes scripted between waits (streamline counter and starts, options, property,
// triangle selection in the three unit systems) and its closing.
#include "app/displays/displays.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/state/display.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/message_codes.h"

#include "flow_plane_case.h"
#include "surface_fixture.h"

#include <algorithm>
#include <functional>

namespace {

constexpr const char* TITLE = "Distribution of Surface Properties (Uniform over each Surface Triangle)";

class SurfaceWindowTest : public FlowPlaneTest {
protected:
    // Two surfaces of two triangles each, the last a flow-entry triangle (3 solid triangles), in the box
    // 0..4 x 0..4 x 0..2 of 2 x 2 x 1 divisions of 2 x 2 x 2 elements (32 cells, uniform flow +x). The
    // division (1, 1, 1) is a surface division whose element (2, 1, 1) lies half in the flow; the element
    // (1, 1, 1) has no cell. The control dialogs are loaded as before the time-step loop, one output made.
    void SetUp() override
    {
        FlowPlaneTest::SetUp();
        const Triangle a = {{{1, 1, 1}, {2, 1, 1}, {1, 2, 1}}}, b = {{{2, 2, 1}, {3, 2, 1}, {2, 3, 1}}};
        const Triangle c = {{{1, 1, 2}, {3, 1, 2}, {1, 3, 2}}}, entry = {{{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}};
        make_surfaces_of({{a, b}, {c, entry}}, 1);
        SurfaceState& S = SURFACE;
        S.TRIANGLE(TRIANGLE_KIND, 4) = -1;
        S.SOLID_TRIANGLE_COUNT = 3;
        S.SURFACE_SOLID_COUNT.allocate(2);
        S.SURFACE_SOLID_COUNT(1) = 2;
        S.SURFACE_SOLID_COUNT(2) = 1;
        S.TRIANGLE_GEOMETRY.allocate(5, 4);  // every triangle faces +z, area 0.5
        for (int t = 1; t <= 4; ++t) {
            S.TRIANGLE_GEOMETRY(3, t) = 1.0f;
            S.TRIANGLE_GEOMETRY(5, t) = 0.5f;
        }
        const float low[3] = {0, 0, 0}, high[3] = {4, 4, 2};
        const int divisions[3] = {2, 2, 1}, elements[3] = {2, 2, 2};
        make_box(low, high, divisions, elements, 1);
        BOX.SCALE_FACTOR = 1.0f;
        Divisions& D = DIVISIONS;
        D.DIVISION_INFO.allocate(3, 1, 2, 2);
        for (int iy = 1; iy <= 2; ++iy)
            for (int ix = 1; ix <= 2; ++ix)
                D.DIVISION_INFO(DIVISION_CODE, 1, iy, ix) = 1;
        D.DIVISION_INFO(DIVISION_CODE, 1, 1, 1) = -1;
        D.SUB_ELEMENTS_IN_FLOW.allocate(1, 2, 2, 2);
        for (int ez = 1; ez <= 2; ++ez)
            for (int ey = 1; ey <= 2; ++ey)
                for (int ex = 1; ex <= 2; ++ex)
                    D.SUB_ELEMENTS_IN_FLOW(1, ez, ey, ex) = D.SUB_ELEMENTS;
        D.SUB_ELEMENTS_IN_FLOW(1, 1, 1, 2) = D.SUB_ELEMENTS / 2;
        element_cell(1, 1, 1) = 0;
        for (int cell = 1; cell <= CELLS.CELL_COUNT; ++cell)
            RESULTS.VAR(VAR_U, cell) = 100.0f;

        // VARS: 10 samples everywhere, pressures 100, 200, 300, shear (3, 4) on triangle 2.
        GasState& G = GAS;
        G.STREAM_DENSITY = 1e20f;
        G.STREAM_MASS_DENSITY = 1e-4f;
        G.STREAM_SPEED = 1000.0f;
        G.STREAM_TEMP = 200.0f;
        RESULTS.VARS.allocate(10, 3);
        for (int t = 1; t <= 3; ++t) {
            RESULTS.VARS(1, t) = 10.0f;
            RESULTS.VARS(3, t) = 100.0f * t;
            RESULTS.VARS(9, t) = 300.0f;
            RESULTS.VARS(10, t) = 0.25f * t;
        }
        RESULTS.VARS(4, 2) = 3.0f;
        RESULTS.VARS(5, 2) = 4.0f;

        DISPLAY.RUN_TYPE = 3;
        LOAD_DISPLAY_DIALOGS();
        RUN.OUTPUT_COUNT = 1;
        HEADLESS.calls.clear();
    }

    // Runs the window from the surface toolbar's pause box; `script` is called at every wait with the
    // wait's number (0, 1, ...) after the dialogs were read; the window closes when it leaves the type a
    // close request, and a dialog change made by it takes effect at the next pass.
    static void run_window(const std::function<void(int n, int& type)>& script)
    {
        int n = 0;
        HEADLESS.wait_hook = [&](int& type, WinMessage&) { script(n++, type); };
        HEADLESS.checks[{IDD_SURFACE_TOOLBAR, IDC_SURF_PAUSE}] = 1;
        HANDLE_DISPLAY_CONTROLS();
        HEADLESS.wait_hook = nullptr;
    }

    // The first recorded call equal to `line` from position `from` on; -1 when there is none.
    static long index_of(const std::string& line, long from = 0)
    {
        const auto& k = HEADLESS.calls;
        const auto it = std::find(k.begin() + from, k.end(), line);
        return it == k.end() ? -1 : static_cast<long>(it - k.begin());
    }

    static int& field(int dialog, int id) { return HEADLESS.integers[{dialog, id}]; }

    // Sets the six grid spins of the streamline start.
    static void set_start(int dx, int dy, int dz, int ex, int ey, int ez)
    {
        const int values[6] = {dx, dy, dz, ex, ey, ez};
        const int ids[6] = {IDC_STREAM_DIVISION_X, IDC_STREAM_DIVISION_Y, IDC_STREAM_DIVISION_Z,
                            IDC_STREAM_ELEMENT_X,  IDC_STREAM_ELEMENT_Y,  IDC_STREAM_ELEMENT_Z};
        for (int i = 0; i < 6; ++i)
            field(IDD_STREAMLINE_START, ids[i]) = values[i];
    }

    // Selects triangle `index` of `surface` in a triangle dialog, digit by digit.
    static void select_triangle(int dialog, int surface, int index)
    {
        field(dialog, IDC_TRI_SURFACE) = surface;
        const int digits[5] = {IDC_TRI_UNITS, IDC_TRI_TENS, IDC_TRI_HUNDREDS, IDC_TRI_THOUSANDS,
                               IDC_TRI_TEN_THOUSANDS};
        for (int d : digits) {
            field(dialog, d) = index % 10;
            index /= 10;
        }
    }

    static double number(int dialog, int id) { return std::stod(field_text(dialog, id)); }

    // Black triangles in the list (the selection) and line strips (the streamlines).
    static int black_triangles()
    {
        int n = 0;
        for (const ViewPrimitive& p : VIEW_LIST.primitives)
            if (p.kind == ViewPrimitiveKind::TRIANGLES)
                for (const ViewVertex& v : p.vertices)
                    n += v.rgb == std::array<std::uint8_t, 3>{0, 0, 0};
        return n / 3;
    }
    static int strips()
    {
        return static_cast<int>(
            std::count_if(VIEW_LIST.primitives.begin(), VIEW_LIST.primitives.end(),
                          [](const ViewPrimitive& p) { return p.kind == ViewPrimitiveKind::LINE_STRIP; }));
    }
};

TEST_F(SurfaceWindowTest, OpensBesideItsDialogsAndClosesBackToTheBars)
{
    WMsgEnableReset();
    bool allocated_while_open = false;
    int mode_while_open = 0;
    run_window([&](int, int&) {
        allocated_while_open = S3D.VARL.allocated();
        mode_while_open = DISPLAY.VIEW_MODE_3D;
    });
    EXPECT_TRUE(allocated_while_open);

    // Opening: the bars hidden, the window titled, its four dialogs shown, the view in mode 3.
    const long hidden[] = {index_of("WDialogHide 119"), index_of("WDialogHide 112"),
                           index_of("WDialogHide 126"), index_of("WDialogHide 129"),
                           index_of("WDialogHide 120")};
    for (long at : hidden)
        EXPECT_GE(at, 0);
    std::string padded = TITLE;
    padded.resize(84, ' ');
    const long window = index_of("WWinOpenChild 0 210 22 805 573 |" + padded + "|");
    ASSERT_GT(window, hidden[4]);
    for (const char* line : {"WDialogShow 130 2049 8830 0 2", "WDialogShow 131 5627 8830 0 2",
                             "WDialogShow 132 0 0 0 2", "WDialogShow 133 0 4596 0 2"})
        EXPECT_GT(index_of(line), window) << line;
    EXPECT_EQ(mode_while_open, 3);
    EXPECT_EQ(field_text(IDD_STREAMLINE_START, IDC_STREAM_MESSAGE),
              "Set streamline location, then advance the counter.");
    EXPECT_EQ((HEADLESS.radio[{IDD_SURFACE_WINDOW_PROPERTY, IDC_S3D_SAMPLE_SIZE}]), 3) << "Pressure";
    EXPECT_GE(index_of("WGlSelectTarget 1 1 2"), window);
    EXPECT_EQ(WMsgEnableGet(MsgMouseUp), 1);

    // Closing: the dialogs hidden, the bars shown where they were, the pause box clear, OpenGL off before
    // the window goes, the main window cleared, the arrays freed.
    const long closed = index_of("WWinCloseChild 1");
    ASSERT_GT(closed, window);
    for (const char* line :
         {"WDialogHide 130", "WDialogHide 131", "WDialogHide 132", "WDialogHide 133",
          "WDialogShow 119 0 2345 0 2", "WDialogShow 120 0 0 0 2", "WDialogShow 129 7000 0 1076 2",
          "WDialogShow 112 5000 2345 0 2", "WDialogShow 126 7000 340 0 2", "WGlSelectTarget 0 -1 0"}) {
        EXPECT_GT(index_of(line, window), window) << line;
        EXPECT_LT(index_of(line, window), closed) << line;
    }
    EXPECT_EQ((HEADLESS.checks[{IDD_SURFACE_TOOLBAR, IDC_SURF_PAUSE}]), 0);
    EXPECT_EQ(HEADLESS.calls[closed + 1], "WWinSelect 0");
    EXPECT_EQ(HEADLESS.calls[closed + 2], "WWinClear");
    // The cleared main window gets its live displays back at once (the history stands for them).
    EXPECT_GT(index_of("WGrTextString 4550 2220 |Molecule Number History|", closed), closed);
    for (const Array<float, 2>* a : {&S3D.VARL, &S3D.STREAM_DOWN_X, &S3D.STREAM_UP_Z})
        EXPECT_FALSE(a->allocated());
    EXPECT_FALSE(S3D.STREAM_POINT_COUNT.allocated());
    EXPECT_FALSE(S3D.STREAMLINE_START.allocated());
}

TEST_F(SurfaceWindowTest, StreamlineCounterStartsAndRemoval)
{
    const int D = IDD_STREAMLINE_START;
    auto message = [&] { return field_text(D, IDC_STREAM_MESSAGE); };
    run_window([&](int n, int& type) {
        type = MsgKey;
        switch (n) {
        case 0: field(D, IDC_STREAM_COUNTER) = 1; break;  // no valid start yet
        case 1:
            EXPECT_EQ(field(D, IDC_STREAM_COUNTER), 0) << "the counter goes back";
            EXPECT_EQ(S3D.STREAMLINE_COUNT, 0);
            set_start(1, 1, 1, 1, 1, 1);
            break;
        case 2:
            EXPECT_EQ(message(), "This element is not in the flow.");
            set_start(1, 1, 1, 2, 1, 1);
            break;
        case 3:
            EXPECT_EQ(message(), "This element is not fully in the flow.");
            set_start(3, 0, 9, 1, 2, 1);  // held to division (2, 1, 1)
            break;
        case 4:
            EXPECT_EQ(message(), "This location is a valid streamline startpoint.");
            EXPECT_EQ(field(D, IDC_STREAM_DIVISION_X), 2);
            EXPECT_EQ(field(D, IDC_STREAM_DIVISION_Y), 1);
            EXPECT_EQ(field(D, IDC_STREAM_DIVISION_Z), 1);
            EXPECT_NEAR(number(D, IDC_STREAM_X), 2.5, 1e-5);  // element centre (2.5, 1.5, 0.5)
            EXPECT_NEAR(number(D, IDC_STREAM_Y), 1.5, 1e-5);
            EXPECT_NEAR(number(D, IDC_STREAM_Z), 0.5, 1e-5);
            EXPECT_EQ(S3D.START_VALID, 1);
            field(D, IDC_STREAM_COUNTER) = 1;
            break;
        case 5:
            EXPECT_EQ(S3D.STREAMLINE_COUNT, 1);
            EXPECT_EQ(S3D.STREAM_POINT_COUNT(1, 1), 2) << "x 2.5, 3.005 (the next step leaves the box)";
            EXPECT_EQ(S3D.STREAM_POINT_COUNT(2, 1), 3) << "x 2.5, 1.995, 0.99005";
            EXPECT_EQ(strips(), 2);
            // The same element again is refused for the next slot.
            EXPECT_EQ(message(), "A streamline has been set through this location.");
            EXPECT_EQ(S3D.START_VALID, 0);
            field(D, IDC_STREAM_COUNTER) = 2;
            break;
        case 6:
            EXPECT_EQ(field(D, IDC_STREAM_COUNTER), 1) << "no valid start: back to the last";
            set_start(0, 0, 0, 0, 0, 0);
            field(D, IDC_STREAM_COUNTER) = 21;
            break;
        case 7:
            EXPECT_EQ(field(D, IDC_STREAM_COUNTER), 20);
            EXPECT_EQ(S3D.STREAMLINE_COUNTER, 20);
            EXPECT_EQ(message(), "The maximum limit of 20 streamline has been set");
            EXPECT_EQ(S3D.STREAMLINE_COUNT, 1) << "nothing traced";
            field(D, IDC_STREAM_COUNTER) = 0;
            break;
        case 8:
            EXPECT_EQ(S3D.STREAMLINE_COUNT, 0);
            EXPECT_EQ(S3D.STREAMLINE_LAST, 0);
            EXPECT_EQ(strips(), 0) << "all streamlines removed";
            type = MsgCloseRequest;
            break;
        default: type = MsgCloseRequest;
        }
    });
}

// A log scale that the window refuses (a value at 0, or a flat range, which the live picture would
// take) goes back to linear in the window's state and in dialog 131 (spin and box), once: the next pass
// reads a linear scale and draws the picture once for the change only.
TEST_F(SurfaceWindowTest, RefusedLogScaleIsWrittenBackToTheOptionsDialog)
{
    const int O = IDD_SURFACE_WINDOW_OPTIONS, P = IDD_SURFACE_WINDOW_PROPERTY;
    const struct {
        const char* why;
        int property_spin;
    } cases[] = {
        {"number flux 0 on every triangle", -2},
        {"surface temperature 300 K on every triangle: a flat range", -11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        long drawn_before = 0;
        run_window([&](int n, int& type) {
            type = MsgKey;
            switch (n) {
            case 0: field(P, IDC_S3D_PROPERTY_SPIN) = c.property_spin; break;
            case 1:
                field(O, IDC_S3D_LOG_SPIN) = 1;
                HEADLESS.checks[{O, IDC_S3D_LOG_CHECK}] = 1;
                break;
            case 2:
                EXPECT_EQ(S3D.S3D_LOG_SCALE, 0);
                EXPECT_EQ(S3D.S3D_LOG_SCALE_PREV, 0);
                EXPECT_EQ(field(O, IDC_S3D_LOG_SPIN), 0);
                EXPECT_EQ((HEADLESS.checks[{O, IDC_S3D_LOG_CHECK}]), 0);
                drawn_before = static_cast<long>(HEADLESS.count("WGlSelectTarget 1"));
                break;
            case 3:
                EXPECT_EQ(static_cast<long>(HEADLESS.count("WGlSelectTarget 1")), drawn_before)
                    << "nothing asked for the logarithm again";
                type = MsgCloseRequest;
                break;
            default: type = MsgCloseRequest;
            }
        });
    }
}

TEST_F(SurfaceWindowTest, OptionsAndAPropertyChangeThatResetsThem)
{
    const int O = IDD_SURFACE_WINDOW_OPTIONS, P = IDD_SURFACE_WINDOW_PROPERTY;
    run_window([&](int n, int& type) {
        type = MsgKey;
        switch (n) {
        case 0:
            field(O, IDC_S3D_RANGE_HIGH) = 5;
            field(O, IDC_S3D_RANGE_LOW) = -3;
            field(O, IDC_S3D_LOG_SPIN) = 1;
            field(O, IDC_S3D_AXES_SPIN) = 7;  // held to 1
            break;
        case 1:
            EXPECT_EQ(S3D.S3D_RANGE_HIGH, 5);
            EXPECT_EQ(S3D.S3D_RANGE_LOW, -3);
            EXPECT_EQ(S3D.S3D_LOG_SCALE, 1);
            EXPECT_EQ((HEADLESS.checks[{O, IDC_S3D_LOG_CHECK}]), 1);
            EXPECT_EQ(S3D.S3D_SHOW_AXES, 1);
            EXPECT_EQ(field(O, IDC_S3D_AXES_SPIN), 1);
            EXPECT_EQ((HEADLESS.checks[{O, IDC_S3D_AXES_CHECK}]), 1);
            EXPECT_EQ(VIEW_LIST.primitives.front().vertices.size(), 20u) << "the axes";
            field(P, IDC_S3D_PROPERTY_SPIN) = -2;  // number flux
            break;
        case 2:
            EXPECT_EQ(S3D.S3D_PROPERTY, 2);
            EXPECT_EQ((HEADLESS.radio[{P, IDC_S3D_SAMPLE_SIZE}]), 2);
            EXPECT_EQ(field_text(P, IDC_S3D_HELP), "All species in the case of a gas mixture.");
            EXPECT_EQ(S3D.S3D_RANGE_HIGH, 0);
            EXPECT_EQ(S3D.S3D_RANGE_LOW, 0);
            EXPECT_EQ(S3D.S3D_LOG_SCALE, 0);
            EXPECT_EQ(field(O, IDC_S3D_RANGE_HIGH), 0);
            EXPECT_EQ(field(O, IDC_S3D_RANGE_LOW), 0);
            EXPECT_EQ(field(O, IDC_S3D_LOG_SPIN), 0);
            EXPECT_EQ((HEADLESS.checks[{O, IDC_S3D_LOG_CHECK}]), 0);
            EXPECT_EQ(S3D.S3D_SHOW_AXES, 1) << "the view switches stay";
            field(P, IDC_S3D_PROPERTY_SPIN) = 5;  // outside -13..-1
            break;
        case 3:
            EXPECT_EQ(field(P, IDC_S3D_PROPERTY_SPIN), -3);
            EXPECT_EQ(S3D.S3D_PROPERTY, 3);
            field(P, IDC_S3D_PROPERTY_SPIN) = -7;  // magnitude and direction: the shear vectors
            break;
        case 4: {
            EXPECT_EQ(S3D.S3D_PROPERTY, GAS.SPECIES_COUNT + 12);
            const ViewPrimitive& last = VIEW_LIST.primitives.back();
            EXPECT_EQ(last.kind, ViewPrimitiveKind::LINES);
            EXPECT_EQ(last.vertices.size(), 2u) << "one triangle has shear stress";
            type = MsgCloseRequest;
            break;
        }
        default: type = MsgCloseRequest;
        }
    });
}

// Triangle selection in each unit system: the values of solid triangle 2 (surface 1, index 2), an index
// beyond the surface, the flow-entry triangle (surface 2, index 2).
TEST_F(SurfaceWindowTest, TriangleSelectionInEachUnitSystem)
{
    struct Case {
        int units, dialog;
        double pressure, magnitude, temperature, centroid_x;
    };
    const double q = 0.5 * 1e-4 * 1000.0 * 1000.0;  // 50
    const Case cases[] = {
        {1, IDD_TRIANGLE_VALUES_SI, 200.0, 5.0, 300.0, 7.0 / 3},
        {2, IDD_TRIANGLE_VALUES_ENGLISH, 200.0 * 0.0208854, 5.0 * 0.0208854, 80.6, 7.0 / 3 / 0.3048},
        {3, IDD_TRIANGLE_VALUES_RATIO, 200.0 / q, 5.0 / q, 1.5, 7.0 / 3 / 4},
    };
    for (const Case& c : cases) {
        HEADLESS.radio[{IDD_OUTPUT_UNITS, IDC_UNITS_SI}] = c.units;  // chosen in the "Output Units" bar
        HEADLESS.calls.clear();
        const int T = c.dialog;
        run_window([&](int n, int& type) {
            type = MsgKey;
            switch (n) {
            case 0: select_triangle(T, 1, 2); break;
            case 1:
                EXPECT_EQ(S3D.S3D_SELECTED_SOLID, 2);
                EXPECT_NEAR(number(T, IDC_TRI_PRESSURE), c.pressure, 1e-4 * c.pressure);
                EXPECT_NEAR(number(T, IDC_TRI_SHEAR_MAGNITUDE), c.magnitude, 1e-4 * c.magnitude);
                EXPECT_NEAR(number(T, IDC_TRI_TEMPERATURE), c.temperature, 1e-3);
                EXPECT_NEAR(number(T, IDC_TRI_SAMPLE_SIZE), 10.0, 1e-6);
                EXPECT_NEAR(number(T, IDC_TRI_X), c.centroid_x, 1e-3 * c.centroid_x);
                EXPECT_NEAR(number(T, IDC_TRI_FRACTION), 0.5, 1e-6);
                EXPECT_EQ(black_triangles(), 1) << "the selection is drawn black";
                select_triangle(T, 1, 3);  // beyond the surface's two triangles
                break;
            case 2:
                for (int d : {IDC_TRI_UNITS, IDC_TRI_TENS, IDC_TRI_HUNDREDS})
                    EXPECT_EQ(field(T, d), 0);
                EXPECT_EQ(S3D.S3D_SELECTED_SOLID, 0);
                EXPECT_EQ(number(T, IDC_TRI_PRESSURE), 0.0);
                EXPECT_EQ(black_triangles(), 0);
                select_triangle(T, 9, 2);  // surface held to 2: its entry triangle
                break;
            case 3:
                EXPECT_EQ(field(T, IDC_TRI_SURFACE), 2);
                EXPECT_EQ(S3D.S3D_SELECTED_TRIANGLE, 2);
                EXPECT_EQ(S3D.S3D_SELECTED_SOLID, 0);
                for (int f : {IDC_TRI_X, IDC_TRI_SAMPLE_SIZE, IDC_TRI_PRESSURE, IDC_TRI_SHEAR_MAGNITUDE,
                              IDC_TRI_FRACTION})
                    EXPECT_EQ(number(T, f), 0.0) << f;
                EXPECT_EQ(black_triangles(), 0) << "nothing highlighted";
                type = MsgCloseRequest;
                break;
            default: type = MsgCloseRequest;
            }
        });
        EXPECT_GE(index_of("WDialogHide " + std::to_string(T)), 0) << c.units;
    }
}

// The centroid of the selected triangle at a scale factor of 2 (stored lengths twice the true ones):
// SI and English show the true length, the dimensionless system the stored length over the stored box
// extent, which is the true one over the true extent, whatever the scale factor.
TEST_F(SurfaceWindowTest, CentroidAtAScaleFactorOtherThanOne)
{
    BOX.SCALE_FACTOR = 2.0f;
    // Solid triangle 2: corners (2, 2, 1), (3, 2, 1), (2, 3, 1); corner sums times 0.3333.
    const double cx = 7 * 0.3333, cy = 7 * 0.3333, cz = 3 * 0.3333;
    const struct {
        int units, dialog;
        double x, y, z;
    } cases[] = {
        {1, IDD_TRIANGLE_VALUES_SI, cx / 2, cy / 2, cz / 2},
        {2, IDD_TRIANGLE_VALUES_ENGLISH, cx / 2 / 0.3048, cy / 2 / 0.3048, cz / 2 / 0.3048},
        {3, IDD_TRIANGLE_VALUES_RATIO, cx / 4, cy / 4, cz / 2},  // box 4 x 4 x 2 stored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        HEADLESS.radio[{IDD_OUTPUT_UNITS, IDC_UNITS_SI}] = c.units;
        run_window([&](int n, int& type) {
            type = MsgKey;
            if (n == 0) {
                select_triangle(c.dialog, 1, 2);
                return;
            }
            EXPECT_NEAR(number(c.dialog, IDC_TRI_X), c.x, 1e-4 * c.x);
            EXPECT_NEAR(number(c.dialog, IDC_TRI_Y), c.y, 1e-4 * c.y);
            EXPECT_NEAR(number(c.dialog, IDC_TRI_Z), c.z, 1e-4 * c.z);
            type = MsgCloseRequest;
        });
    }
}

TEST_F(SurfaceWindowTest, ReopeningStartsAfresh)
{
    run_window([&](int n, int& type) {
        type = n < 2 ? MsgKey : MsgCloseRequest;
        if (n == 0) {
            field(IDD_SURFACE_WINDOW_OPTIONS, IDC_S3D_BOX_SPIN) = 1;
            field(IDD_SURFACE_WINDOW_PROPERTY, IDC_S3D_PROPERTY_SPIN) = -1;
            select_triangle(IDD_TRIANGLE_VALUES_SI, 1, 1);
        }
    });
    EXPECT_EQ(S3D.S3D_SHOW_BOX, 1);
    run_window([&](int, int& type) {
        EXPECT_EQ(S3D.S3D_SHOW_BOX, 0);
        EXPECT_EQ(S3D.S3D_PROPERTY, 3);
        EXPECT_EQ(S3D.S3D_SELECTED_SOLID, 0);
        EXPECT_EQ(black_triangles(), 0);
        type = MsgCloseRequest;
    });
}

// Surfaces of flow-entry triangles only, before the kernel has surface results: the window opens with
// nothing to colour, a selection shows zeros, and it closes.
TEST_F(SurfaceWindowTest, EntryTrianglesOnlyAndNoResults)
{
    SurfaceState& S = SURFACE;
    for (int t = 1; t <= 4; ++t)
        S.TRIANGLE(TRIANGLE_KIND, t) = -t;
    S.SOLID_TRIANGLE_COUNT = 0;
    RESULTS.VARS.deallocate();
    int passes = 0;
    run_window([&](int n, int& type) {
        ++passes;
        type = n < 2 ? MsgKey : MsgCloseRequest;
        if (n == 0) {
            select_triangle(IDD_TRIANGLE_VALUES_SI, 1, 2);
            field(IDD_SURFACE_WINDOW_OPTIONS, IDC_S3D_ENTRY_SPIN) = 1;
        }
    });
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(S3D.S3D_SELECTED_SOLID, 0);
    EXPECT_EQ(number(IDD_TRIANGLE_VALUES_SI, IDC_TRI_PRESSURE), 0.0);
    EXPECT_EQ(S3D.S3D_SHOW_ENTRY, 1);
    EXPECT_EQ(black_triangles(), 0);
    int grey = 0;
    for (const ViewPrimitive& p : VIEW_LIST.primitives)
        for (const ViewVertex& v : p.vertices)
            grey += v.rgb == std::array<std::uint8_t, 3>{200, 200, 200};
    EXPECT_EQ(grey, 12) << "the four entry triangles shown";
}

}  // namespace
