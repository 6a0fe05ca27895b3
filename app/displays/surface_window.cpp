// SURFACE_DISPLAY_WINDOW: the surface display window, the paused and detailed view of one surface
// property. It hides the main window's control bars, opens an OpenGL window with the triangles coloured
// by the property (mode 3 of the 3-D view) and four dialogs around it (streamline start, range and view
// options, property, values of one triangle), and runs its own message loop until a close request: the
// dialogs are read at every pass, keys and drags move the view. The time-step loop waits meanwhile.
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"
#include "app/displays/streamline.h"
#include "app/displays/surface_values.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/displays/view_3d_gl.h"
#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "resources/dialog_ids.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/message_codes.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr const char* WINDOW_TITLE =
    "Distribution of Surface Properties (Uniform over each Surface Triangle)";
constexpr int TITLE_LENGTH = 84;  // the title is padded with blanks to this length
constexpr int DEFAULT_FRAME = 0;
// The window at screen pixel (210, 22), 805 x 573; its dialogs are placed in 0..9999 units of the main
// window's client (1020 x 718 pixels from screen pixel (2, 23)): the property choice at the screen
// pixel (2, 22), the triangle values at (2, 353), the streamline start at (211, 657) and the options at
// (576, 657).
constexpr int WINDOW_X = 210, WINDOW_Y = 22, WINDOW_WIDTH = 805, WINDOW_HEIGHT = 573;
constexpr int PROPERTY_X = 0, PROPERTY_Y = 0;
constexpr int TRIANGLE_X = 0, TRIANGLE_Y = 4596;
constexpr int STREAMLINE_X = 2049, STREAMLINE_Y = 8830;
constexpr int OPTIONS_X = 5627, OPTIONS_Y = 8830;
constexpr int UNITS_BAR_FOCUS = 1076;  // the field the bar is shown with when the window closes

constexpr int MAX_COUNTER = STREAMLINE_SLOTS;
constexpr const char* START_PROMPT = "Set streamline location, then advance the counter.";
constexpr const char* LIMIT_TEXT = "The maximum limit of 20 streamline has been set";
constexpr const char* NOT_IN_FLOW = "This element is not in the flow.";
constexpr const char* NOT_FULLY_IN_FLOW = "This element is not fully in the flow.";
constexpr const char* ALREADY_SET = "A streamline has been set through this location.";
constexpr const char* VALID_START = "This location is a valid streamline startpoint.";

// The property radio group of dialog 132 in the order of its positions, with the property spin's value
// that checks each button and the help line that goes with it.
struct PropertyChoice {
    int button;
    int spin;
    const char* help;
};
constexpr std::array<PropertyChoice, 13> PROPERTIES = {{
    {IDC_S3D_SAMPLE_SIZE, -1,
     "The standard deviation of the scatter is the inverse square root of the sample."},
    {IDC_S3D_NUMBER_FLUX, -2, "All species in the case of a gas mixture."},
    {IDC_S3D_PRESSURE, -3, " "},
    {IDC_S3D_SHEAR_1, -4,
     "Normal to the x axis. (In the y direction if the surface element is normal to x axis.)"},
    {IDC_S3D_SHEAR_2, -5, "Orthogonal to the surface normal and the direction 1."},
    {IDC_S3D_INCIDENT_HEAT, -8, "Translational and internal energy of the incident molecules. "},
    {IDC_S3D_REFLECTED_HEAT, -9, "Translational and internal energy of the reflected molecules."},
    {IDC_S3D_NET_HEAT, -10,
     "Subject to large scatter if the incident and reflected energies are nearly equal."},
    {IDC_S3D_TEMPERATURE, -11, "Set in data to fixed values or an adiabatic (zero heat transfer) surface."},
    {IDC_S3D_SPECIES_FRACTION, -12,
     " The species number is based on the order in which they were set in the data."},
    {IDC_S3D_TRIANGLE_NUMBER, -13, "Numerical order as set in the QR4SD.DAT surface definition file."},
    {IDC_S3D_SHEAR_MAGNITUDE, -6, ""},
    {IDC_S3D_SHEAR_VECTORS, -7,
     "Line from the center of each element with length dependent on the element size."},
}};
constexpr int DEFAULT_PROPERTY_SPIN = -3;

// The six grid spins of dialog 130 in the order of STREAMLINE_START's second and first index: division
// x, y, z, then element x, y, z.
constexpr int GRID_SPINS[2][3] = {{IDC_STREAM_DIVISION_X, IDC_STREAM_DIVISION_Y, IDC_STREAM_DIVISION_Z},
                                  {IDC_STREAM_ELEMENT_X, IDC_STREAM_ELEMENT_Y, IDC_STREAM_ELEMENT_Z}};
// The digit spins of the triangle dialog, units first.
constexpr int DIGIT_SPINS[5] = {IDC_TRI_UNITS, IDC_TRI_TENS, IDC_TRI_HUNDREDS, IDC_TRI_THOUSANDS,
                                IDC_TRI_TEN_THOUSANDS};
// The value fields of the triangle dialog, VARL rows 1..9 in order.
constexpr int VALUE_FIELDS[9] = {IDC_TRI_SAMPLE_SIZE,    IDC_TRI_NUMBER_FLUX, IDC_TRI_PRESSURE,
                                 IDC_TRI_SHEAR_1,        IDC_TRI_SHEAR_2,     IDC_TRI_INCIDENT_HEAT,
                                 IDC_TRI_REFLECTED_HEAT, IDC_TRI_NET_HEAT,    IDC_TRI_TEMPERATURE};
constexpr const char* VALUE_FORMAT = "(G11.5)";

int window_handle = -1;

int triangle_dialog(int units)
{
    return dialog_of_units(units, IDD_TRIANGLE_VALUES_SI, IDD_TRIANGLE_VALUES_ENGLISH,
                           IDD_TRIANGLE_VALUES_RATIO);
}

// The property values, legend and triangle colours; only while the kernel's surface results are there.
void recompute()
{
    if (surface_results_ready())
        SET_SURFACE_WINDOW_PROPERTY();
}

// The window as the OpenGL target (a new context) and display list 1 compiled anew, then drawn.
void rebuild()
{
    WGlSelectTarget(1, window_handle, 2);
    BUILD_VIEW_LIST_3D();
}

// A spin read and held to lo..hi; a value outside is written back.
void read_held(int field, int& value, int lo, int hi)
{
    WDialogGetInteger(field, value);
    const int held = std::clamp(value, lo, hi);
    if (held == value)
        return;
    value = held;
    WDialogPutInteger(field, held);
}

// ---- opening and closing

void open_window()
{
    SurfaceWindowState& s = S3D;
    const int units = RUN.OUTPUT_UNITS;

    // The arrays and the opening state; the main window without its bars.
    open_surface_window_state();
    hide_main_bars();
    WWinClear();
    IGrColourN(0);

    // The window.
    std::string title = WINDOW_TITLE;
    title.resize(TITLE_LENGTH, ' ');
    WWinOpenChild(window_handle, DEFAULT_FRAME, WINDOW_X, WINDOW_Y, WINDOW_WIDTH, WINDOW_HEIGHT, title);

    // Streamline start: no streamline, no start.
    WDialogSelect(IDD_STREAMLINE_START);
    WDialogPutInteger(IDC_STREAM_COUNTER, 0);
    for (const auto& row : GRID_SPINS)
        for (int field : row)
            WDialogPutInteger(field, 0);
    for (int field : {IDC_STREAM_X, IDC_STREAM_Y, IDC_STREAM_Z})
        WDialogPutReal(field, 0.0f, "(G13.7)");
    WDialogPutString(IDC_STREAM_MESSAGE, START_PROMPT);
    WDialogShow(STREAMLINE_X, STREAMLINE_Y, 0, MODELESS);

    // Range and options. The switch spins start at 0 as the switches do, so that no switch of an
    // earlier opening comes back at the first pass.
    WDialogSelect(IDD_SURFACE_WINDOW_OPTIONS);
    WDialogPutInteger(IDC_S3D_RANGE_HIGH, s.S3D_RANGE_HIGH);
    WDialogPutInteger(IDC_S3D_RANGE_LOW, s.S3D_RANGE_LOW);
    WDialogShow(OPTIONS_X, OPTIONS_Y, 0, MODELESS);
    const std::pair<int, int> switches[] = {{IDC_S3D_LOG_SPIN, IDC_S3D_LOG_CHECK},
                                            {IDC_S3D_AXES_SPIN, IDC_S3D_AXES_CHECK},
                                            {IDC_S3D_BOX_SPIN, IDC_S3D_BOX_CHECK},
                                            {IDC_S3D_ENTRY_SPIN, IDC_S3D_ENTRY_CHECK},
                                            {IDC_S3D_REFLECTION_SPIN, IDC_S3D_REFLECTION_CHECK}};
    for (const auto& [spin, check] : switches) {
        WDialogPutInteger(spin, 0);
        WDialogPutCheckBox(check, 0);
    }

    // The property: pressure.
    WDialogSelect(IDD_SURFACE_WINDOW_PROPERTY);
    WDialogPutRadioButton(IDC_S3D_PRESSURE);
    WDialogPutInteger(IDC_S3D_SPECIES, 1);
    WDialogPutInteger(IDC_S3D_PROPERTY_SPIN, DEFAULT_PROPERTY_SPIN);
    WDialogShow(PROPERTY_X, PROPERTY_Y, 0, MODELESS);

    // No triangle selected.
    WDialogSelect(triangle_dialog(units));
    WDialogPutInteger(IDC_TRI_SURFACE, s.S3D_SELECTED_SURFACE);
    for (int field : DIGIT_SPINS)
        WDialogPutInteger(field, 0);
    WDialogPutInteger(IDC_TRI_SPECIES, 1);
    WDialogShow(TRIANGLE_X, TRIANGLE_Y, 0, MODELESS);

    // The picture.
    DISPLAY.VIEW_MODE_3D = 3;
    WGlSelectTarget(1, window_handle, 2);
    recompute();
    BUILD_VIEW_LIST_3D();
    REDRAW_VIEW_3D();
    WMessageEnable(MsgMouseUp, 1);
}

void close_window()
{
    const int units = RUN.OUTPUT_UNITS;
    for (int dialog : {IDD_STREAMLINE_START, IDD_SURFACE_WINDOW_OPTIONS, IDD_SURFACE_WINDOW_PROPERTY,
                       triangle_dialog(units)}) {
        WDialogSelect(dialog);
        WDialogHide();
    }
    WWinSelect(window_handle);
    WWinClear();

    // The main window's bars where they were first shown; the pause box that opened the window is
    // cleared so that the handler does not open it again.
    show_main_bars(UNITS_BAR_FOCUS);
    WDialogSelect(IDD_SURFACE_TOOLBAR);
    WDialogPutCheckBox(IDC_SURF_PAUSE, 0);

    WGlSelectTarget(0);
    WWinCloseChild(window_handle);
    window_handle = -1;
    WWinSelect(0);
    WWinClear();
    IGrColourN(255);
    close_surface_window_state();
    // The cleared main window gets its live displays back now, not only at the next output.
    REDRAW_ALL_DISPLAYS();
}

// ---- one pass of the loop: the dialogs

// Sets the start of slot counter + 1 from the six grid spins and checks it.
void set_start(int counter)
{
    SurfaceWindowState& s = S3D;
    const BoxState& B = BOX;
    Divisions& D = DIVISIONS;
    const int limits[2][3] = {
        {B.DIVISIONS_X, B.DIVISIONS_Y, B.DIVISIONS_Z},
        {B.ELEMENTS_PER_DIVISION_X, B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_Z}};
    int index[2][3] = {};
    for (int kind = 0; kind < 2; ++kind)
        for (int axis = 0; axis < 3; ++axis) {
            read_held(GRID_SPINS[kind][axis], index[kind][axis], 1, std::max(limits[kind][axis], 1));
            s.STREAMLINE_START(kind + 1, axis + 1, counter + 1) = index[kind][axis];
        }
    D.CURRENT_DIVISION_X = index[0][0];
    D.CURRENT_DIVISION_Y = index[0][1];
    D.CURRENT_DIVISION_Z = index[0][2];
    D.CURRENT_ELEMENT_X = index[1][0];
    D.CURRENT_ELEMENT_Y = index[1][1];
    D.CURRENT_ELEMENT_Z = index[1][2];
    auto centre = [](int division, int element, float division_width, float low, float element_width) {
        return static_cast<float>(static_cast<double>(division - 1) * division_width + low +
                                  (element - 0.5) * element_width);
    };
    s.START_X = centre(index[0][0], index[1][0], D.DIVISION_WIDTH_X, B.XMIN, D.ELEMENT_WIDTH_X);
    s.START_Y = centre(index[0][1], index[1][1], D.DIVISION_WIDTH_Y, B.YMIN, D.ELEMENT_WIDTH_Y);
    s.START_Z = centre(index[0][2], index[1][2], D.DIVISION_WIDTH_Z, B.ZMIN, D.ELEMENT_WIDTH_Z);
    const float start[3] = {s.START_X, s.START_Y, s.START_Z};
    const int fields[3] = {IDC_STREAM_X, IDC_STREAM_Y, IDC_STREAM_Z};
    for (int axis = 0; axis < 3; ++axis)
        WDialogPutReal(fields[axis], static_cast<float>(start[axis] / static_cast<double>(B.SCALE_FACTOR)),
                       "(G12.6)");

    const int iz = index[0][2], iy = index[0][1], ix = index[0][0];
    const int ez = index[1][2], ey = index[1][1], ex = index[1][0];
    const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
    const char* verdict = VALID_START;
    if (D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex) < 1) {
        verdict = NOT_IN_FLOW;
    } else if (code < 0 && D.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex) < D.SUB_ELEMENTS) {
        verdict = NOT_FULLY_IN_FLOW;
    } else {
        for (int slot = 1; slot <= counter; ++slot) {
            bool same = true;
            for (int kind = 0; kind < 2; ++kind)
                for (int axis = 0; axis < 3; ++axis)
                    same = same && s.STREAMLINE_START(kind + 1, axis + 1, slot) == index[kind][axis];
            if (same) {
                verdict = ALREADY_SET;
                break;
            }
        }
    }
    WDialogPutString(IDC_STREAM_MESSAGE, verdict);
    if (verdict == VALID_START)
        s.START_VALID = 1;
}

void read_streamlines()
{
    SurfaceWindowState& s = S3D;
    WDialogSelect(IDD_STREAMLINE_START);

    // The counter, held to 0..20.
    int counter = 0;
    WDialogGetInteger(IDC_STREAM_COUNTER, counter);
    if (counter > MAX_COUNTER)
        WDialogPutString(IDC_STREAM_MESSAGE, LIMIT_TEXT);
    const int held = std::clamp(counter, 0, MAX_COUNTER);
    if (held != counter) {
        counter = held;
        WDialogPutInteger(IDC_STREAM_COUNTER, held);
    }
    s.STREAMLINE_COUNTER = counter;

    // The counter back at 0 removes every streamline.
    if (s.STREAMLINE_COUNT > 0 && counter == 0) {
        s.STREAMLINE_COUNT = 0;
        s.STREAMLINE_LAST = 0;
        rebuild();
    }

    // The counter advanced by one traces a streamline from a valid start; without one it goes back.
    if (counter == s.STREAMLINE_LAST + 1) {
        if (s.START_VALID == 1) {
            ++s.STREAMLINE_COUNT;
            s.START_VALID = 0;
            s.STREAMLINE_LAST = counter;
            TRACE_STREAMLINE(s.STREAMLINE_COUNT, s.START_X, s.START_Y, s.START_Z);
            rebuild();
        } else {
            counter = s.STREAMLINE_LAST;
            s.STREAMLINE_COUNTER = counter;
            WDialogSelect(IDD_STREAMLINE_START);
            WDialogPutInteger(IDC_STREAM_COUNTER, counter);
        }
    }

    // A valid start that the spins no longer show is dropped.
    WDialogSelect(IDD_STREAMLINE_START);
    if (s.START_VALID == 1) {
        for (int kind = 0; kind < 2; ++kind)
            for (int axis = 0; axis < 3; ++axis) {
                int value = 0;
                WDialogGetInteger(GRID_SPINS[kind][axis], value);
                if (value != s.STREAMLINE_START(kind + 1, axis + 1, counter + 1))
                    s.START_VALID = 0;
            }
    }

    // A start set in the spins is checked.
    if (s.START_VALID == 0) {
        int division_x = 0;
        WDialogGetInteger(IDC_STREAM_DIVISION_X, division_x);
        if (division_x > 0)
            set_start(counter);
    }
}

// The species of the fraction field of the triangle dialog.
void read_triangle_species()
{
    SurfaceWindowState& s = S3D;
    WDialogSelect(triangle_dialog(RUN.OUTPUT_UNITS));
    int species = 1;
    read_held(IDC_TRI_SPECIES, species, 1, std::max(GAS.SPECIES_COUNT, 1));
    if (species == s.S3D_SPECIES)
        return;
    s.S3D_SPECIES = species;
    const float fraction =
        s.S3D_SELECTED_SOLID > 0 ? s.VARL(VARS_FRACTION + species, s.S3D_SELECTED_SOLID) : 0.0f;
    WDialogPutReal(IDC_TRI_FRACTION, fraction, VALUE_FORMAT);
    rebuild();
}

void read_options()
{
    SurfaceWindowState& s = S3D;
    WDialogSelect(IDD_SURFACE_WINDOW_OPTIONS);
    int high = 0, low = 0;
    WDialogGetInteger(IDC_S3D_RANGE_HIGH, high);
    WDialogGetInteger(IDC_S3D_RANGE_LOW, low);
    if (high != s.S3D_RANGE_HIGH || low != s.S3D_RANGE_LOW) {
        s.S3D_RANGE_HIGH = high;
        s.S3D_RANGE_LOW = low;
        recompute();
        rebuild();
    }

    // The switches: a spin of 0 or 1 (another value is held to that range) mirrored into its box.
    WDialogSelect(IDD_SURFACE_WINDOW_OPTIONS);
    read_held(IDC_S3D_LOG_SPIN, s.S3D_LOG_SCALE, 0, 1);
    if (s.S3D_LOG_SCALE != s.S3D_LOG_SCALE_PREV) {
        s.S3D_LOG_SCALE_PREV = s.S3D_LOG_SCALE;
        WDialogPutCheckBox(IDC_S3D_LOG_CHECK, s.S3D_LOG_SCALE);
        recompute();
        rebuild();
    }
    const struct {
        int spin, check;
        int* setting;
    } switches[] = {{IDC_S3D_AXES_SPIN, IDC_S3D_AXES_CHECK, &s.S3D_SHOW_AXES},
                    {IDC_S3D_BOX_SPIN, IDC_S3D_BOX_CHECK, &s.S3D_SHOW_BOX},
                    {IDC_S3D_ENTRY_SPIN, IDC_S3D_ENTRY_CHECK, &s.S3D_SHOW_ENTRY},
                    {IDC_S3D_REFLECTION_SPIN, IDC_S3D_REFLECTION_CHECK, &s.S3D_NO_REFLECTION}};
    for (const auto& sw : switches) {
        WDialogSelect(IDD_SURFACE_WINDOW_OPTIONS);
        int value = 0;
        read_held(sw.spin, value, 0, 1);
        if (value != *sw.setting) {
            *sw.setting = value;
            WDialogPutCheckBox(sw.check, value);
            rebuild();
        }
    }
}

void read_property()
{
    SurfaceWindowState& s = S3D;
    const int S = GAS.SPECIES_COUNT;
    WDialogSelect(IDD_SURFACE_WINDOW_PROPERTY);

    // The property spin checks its button and writes the help line.
    int spin = DEFAULT_PROPERTY_SPIN;
    WDialogGetInteger(IDC_S3D_PROPERTY_SPIN, spin);
    if (spin < -13 || spin > -1) {
        spin = DEFAULT_PROPERTY_SPIN;
        WDialogPutInteger(IDC_S3D_PROPERTY_SPIN, spin);
    }
    for (const PropertyChoice& p : PROPERTIES)
        if (p.spin == spin) {
            WDialogPutRadioButton(p.button);
            WDialogPutString(IDC_S3D_HELP, p.help);
        }

    // The checked button gives the code; a group without a checked button keeps the code.
    int position = FIELD_EMPTY;
    WDialogGetRadioButton(IDC_S3D_SAMPLE_SIZE, position);
    // Buttons 1..9 are the VARS rows, 10 the fraction of the species spin's species, 11..13 the rows
    // after the fractions.
    constexpr int FRACTION_BUTTON = VARS_FRACTION + 1;
    if (position >= VARS_SAMPLE_SIZE && position <= VARS_SURFACE_TEMP) {
        s.S3D_PROPERTY = position;
    } else if (position == FRACTION_BUTTON) {
        int species = 1;
        WDialogGetInteger(IDC_S3D_SPECIES, species);
        s.S3D_PROPERTY = VARS_FRACTION + std::clamp(species, 1, std::max(S, 1));
    } else if (position > FRACTION_BUTTON && position <= FRACTION_BUTTON + 3) {
        s.S3D_PROPERTY = window_row(WINDOW_TRIANGLE_NUMBER + position - FRACTION_BUTTON - 1);
    }
    recompute();
    if (s.S3D_PROPERTY == s.S3D_PROPERTY_PREV)
        return;

    // A new property starts with the whole range and a linear scale.
    s.S3D_PROPERTY_PREV = s.S3D_PROPERTY;
    s.S3D_RANGE_LOW = s.S3D_RANGE_HIGH = 0;
    s.S3D_LOG_SCALE = s.S3D_LOG_SCALE_PREV = 0;
    WDialogSelect(IDD_SURFACE_WINDOW_OPTIONS);
    WDialogPutInteger(IDC_S3D_RANGE_LOW, 0);
    WDialogPutInteger(IDC_S3D_RANGE_HIGH, 0);
    WDialogPutCheckBox(IDC_S3D_LOG_CHECK, 0);
    WDialogPutInteger(IDC_S3D_LOG_SPIN, 0);
    recompute();
    rebuild();
}

// The fields of the selected solid triangle k, or zeros for k = 0.
void show_triangle_values(int k)
{
    SurfaceWindowState& s = S3D;
    const SurfaceState& S = SURFACE;
    const int units = RUN.OUTPUT_UNITS;
    const int centroid_fields[3] = {IDC_TRI_X, IDC_TRI_Y, IDC_TRI_Z};
    if (k < 1) {
        for (int field : centroid_fields)
            WDialogPutReal(field, 0.0f, VALUE_FORMAT);
        for (int field : VALUE_FIELDS)
            WDialogPutReal(field, 0.0f, VALUE_FORMAT);
        WDialogPutReal(IDC_TRI_SHEAR_MAGNITUDE, 0.0f, VALUE_FORMAT);
        WDialogPutReal(IDC_TRI_FRACTION, 0.0f, VALUE_FORMAT);
        WDialogPutInteger(IDC_TRI_SPECIES, 1);
        return;
    }
    const int t = S.SOLID_TRIANGLE(1, k);
    for (int axis = 1; axis <= 3; ++axis) {
        const Array<float, 1>& P = axis == 1 ? S.POINT_X : axis == 2 ? S.POINT_Y : S.POINT_Z;
        float sum = 0.0f;
        for (int c = 1; c <= 3; ++c)
            sum += P(S.TRIANGLE(c, t));
        const float centroid = sum * 0.3333f;
        WDialogPutReal(centroid_fields[axis - 1], shown_length(centroid, units, axis), VALUE_FORMAT);
    }
    for (int r = VARS_SAMPLE_SIZE; r <= VARS_SURFACE_TEMP; ++r)
        WDialogPutReal(VALUE_FIELDS[r - 1], s.VARL(r, k), VALUE_FORMAT);
    // The magnitude in the unit that the dialog labels: the converted row.
    WDialogPutReal(IDC_TRI_SHEAR_MAGNITUDE, s.VARL(window_row(WINDOW_SHEAR_MAGNITUDE), k), VALUE_FORMAT);
    int species = 1;
    read_held(IDC_TRI_SPECIES, species, 1, std::max(GAS.SPECIES_COUNT, 1));
    s.S3D_SPECIES = species;
    WDialogPutReal(IDC_TRI_FRACTION, s.VARL(VARS_FRACTION + species, k), VALUE_FORMAT);
}

void read_triangle_selection()
{
    SurfaceWindowState& s = S3D;
    const SurfaceState& S = SURFACE;
    WDialogSelect(triangle_dialog(RUN.OUTPUT_UNITS));
    int surface = 0;
    WDialogGetInteger(IDC_TRI_SURFACE, surface);
    if (surface > S.SURFACE_COUNT) {
        surface = S.SURFACE_COUNT;
        WDialogPutInteger(IDC_TRI_SURFACE, surface);
    }
    auto zero_digits = [] {
        for (int field : DIGIT_SPINS)
            WDialogPutInteger(field, 0);
    };
    // The index from its digits, in 8 bytes so that no digit overflows it.
    long long index = 0, place = 1;
    for (int field : DIGIT_SPINS) {
        int digit = 0;
        WDialogGetInteger(field, digit);
        index += place * digit;
        place *= 10;
    }
    if (surface < 1) {
        zero_digits();
        index = 0;
    } else if (index > S.SURFACE_TRIANGLE_COUNT(surface)) {
        zero_digits();
        index = 0;
    }
    const int triangle = static_cast<int>(std::max(index, 0LL));
    if (surface == s.S3D_SELECTED_SURFACE && triangle == s.S3D_SELECTED_TRIANGLE)
        return;
    s.S3D_SELECTED_SURFACE = surface;
    s.S3D_SELECTED_TRIANGLE = triangle;
    const int k = surface > 0 && triangle > 0
                      ? S.TRIANGLE(TRIANGLE_KIND, S.SURFACE_FIRST_TRIANGLE(surface) + triangle)
                      : 0;
    s.S3D_SELECTED_SOLID = k > 0 && s.VARL.allocated() && k <= s.VARL.extent(2) ? k : 0;
    show_triangle_values(s.S3D_SELECTED_SOLID);
    rebuild();
}

void read_dialogs()
{
    WWinRaise(window_handle);
    read_streamlines();
    read_triangle_species();
    read_options();
    read_property();
    read_triangle_selection();
}

}  // namespace

void SURFACE_DISPLAY_WINDOW()
{
    open_window();
    View3DState& v = VIEW_3D;
    for (;;) {
        read_dialogs();
        const WinMessage& m = v.MESSAGE;
        switch (view_3d_wait(v.MESSAGE)) {
        case MsgExpose:
            WWinRaise(window_handle);
            REDRAW_VIEW_3D();
            break;
        case MsgResize:
            // Both buffers until the next rebuild.
            gl_view_resize(m.value1, m.value2, false);
            REDRAW_VIEW_3D();
            break;
        case MsgCloseRequest: close_window(); return;
        default: break;
        }
    }
}
