// DRAW_FLOWFIELD_SECTION: the picture of the flowfield section display. One property over the elements
// of one plane normal to x, y or z, coloured on the scale that the range passes find over the whole
// flowfield, with the traces of the solid triangles cut by the plane, the legend strip, the marker of
// the reported point, the flow-direction lines and two axis arrows. Drawn into an off-screen bitmap of
// 621 x 690 pixels and copied whole into the section window, so that the window never shows a
// half-drawn picture. Reads the settings of SECTION and DISPLAY and the kernel's results; writes only
// the plane frame of JSDIR, the triangle marks, CONTOUR_BAND and the scale fall-back.
#include "app/displays/section_display.h"

#include "app/displays/colour_scale.h"
#include "app/displays/flow_lines.h"
#include "app/displays/flowfield_properties.h"
#include "app/displays/section_state.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <array>
#include <cmath>

Array<int, 1> CONTOUR_BAND = [] {
    Array<int, 1> a;
    a.allocate(CONTOUR_BAND_ENTRIES);
    return a;
}();

namespace {

constexpr float RANGE_START = 1.0e6f;         // running minimum starts here, the maximum at its negative
constexpr float NO_COLLISIONS = 9.0e9f;       // a mean collision time from here up is missing
constexpr float NARROW_RANGE = 1.0e-6f;       // a range below this is widened before the shifts
constexpr float LOG_DENSITY_FLOOR = 1.1e-6f;  // density below LOG_FLOOR is raised to this
constexpr float RANGE_STEP = 0.03f;           // one step of a range shift: 3 % of the range
constexpr int MAX_FLOW_LINES = 50;

bool white_background()
{
    return SECTION.SECTION_WHITE_BACKGROUND.current == 1;
}

bool log_scale()
{
    return SECTION.SECTION_LOG_SCALE.current == 1;
}

// Codes 13 and 14 count only cells whose mean collision time lies strictly between 0 and 9e9.
bool collision_time_known(int cell)
{
    const float t = RESULTS.VAR(VAR_COLL_TIME, cell);
    return t > 0.0f && t < NO_COLLISIONS;
}

bool collision_code(int code)
{
    return code == VAR_COLL_TIME || code == VAR_MFP;
}

void report_negative_collision_rate(int cell, float value)
{
    write_list(UNIT_DIAG, {"-VE COLLISION RATE CELL", cell, value});
}

float point_coordinate(int point, int axis)
{
    const SurfaceState& S = SURFACE;
    return axis == 1 ? S.POINT_X(point) : axis == 2 ? S.POINT_Y(point) : S.POINT_Z(point);
}

// The cells whose results can be read: all CELL_COUNT of them once the cell arrays and the results
// hold that many, else none (a picture asked for before the first output, or of a case whose cells
// were never formed, shows no cell values).
int readable_cells()
{
    const int n = CELLS.CELL_COUNT;
    const FlowResults& R = RESULTS;
    const bool ready = n >= 1 && CELLS.CELL_DATA.allocated() && CELLS.CELL_DATA.extent(2) >= n &&
                       R.VAR.allocated() && R.VAR.extent(1) >= VAR_PRESSURE && R.VAR.extent(2) >= n &&
                       R.SPECIES_VAR.allocated() && R.SPECIES_VAR.extent(1) >= SPECIES_VAR_ROWS &&
                       R.SPECIES_VAR.extent(2) >= n;
    return ready ? n : 0;
}

// The species of the species properties, held to those the results hold.
int section_species()
{
    return std::clamp(SECTION.SECTION_SPECIES.current, 1, std::max(RESULTS.SPECIES_VAR.extent(3), 1));
}

// ---- the range passes

struct Extremes {
    float minimum = RANGE_START;
    float maximum = -RANGE_START;
    void take(float v)
    {
        if (v < minimum)
            minimum = v;
        if (v > maximum)
            maximum = v;
    }
};

// The linear pass over the cells of the flow: codes 13 and 14 by the collision-time window, code 1
// always, every other code only where the cell is well sampled.
Extremes linear_range(int code, int species)
{
    Extremes e;
    const int cells = readable_cells();
    for (int c = 1; c <= cells; ++c) {
        if (!(CELLS.CELL_DATA(CELL_VOLUME, c) > 0.0f))
            continue;
        const float v = FLOW_DISPLAY_VALUE(code, c, FlowDisplay::SECTION, species);
        bool counted = false;
        if (collision_code(code)) {
            counted = collision_time_known(c);
            if (counted && v < 0.0f)
                report_negative_collision_rate(c, v);
        } else {
            counted = code == 1 || WELL_SAMPLED(c);
        }
        if (counted)
            e.take(v);
    }
    return e;
}

// The logarithmic pass over every well-sampled cell: log10 of the converted value, uncapped for code
// 15, with density raised to 1.1e-6 before the conversion. A value that has no logarithm (at most 1e-6,
// or not finite: a cell that the linear pass left out may hold one) is skipped.
Extremes log_range(int code, int species)
{
    Extremes e;
    const PropertyKind kind = flow_property_kind(code, FlowDisplay::SECTION);
    const int cells = readable_cells();
    for (int c = 1; c <= cells; ++c) {
        if (!WELL_SAMPLED(c))
            continue;
        float raw = flow_property_raw(code, c, FlowDisplay::SECTION, species);
        if (code == VAR_DENSITY && raw < LOG_FLOOR)
            raw = LOG_DENSITY_FLOOR;
        float lv = 0.0f;
        if (log_display_value(convert_flow_value(raw, kind, RUN.OUTPUT_UNITS), lv))
            e.take(lv);
    }
    return e;
}

// The scale cannot be logarithmic: back to linear, visibly, with "Linear" checked in dialog 125.
void fall_back_to_linear()
{
    SECTION.SECTION_LOG_SCALE.set(0);
    WDialogSelect(IDD_COLOUR_MAP);
    WDialogPutRadioButton(IDC_MAP_LINEAR);
}

// ---- the colour pass

constexpr int NO_DATA = -1;  // marks a cell without a value in the colour pass

// The colour number of every cell (1-based), or NO_DATA.
void colour_pass(const SectionScale& scale, Array<int, 1>& colours)
{
    const int code = SECTION.SECTION_PROPERTY.current;
    const int species = section_species();
    const int cells = readable_cells();
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        if (c > cells) {
            colours(c) = NO_DATA;
            continue;
        }
        const bool has_value = CELLS.CELL_DATA(CELL_VOLUME, c) > 0.0f;
        float v = 0.0f;
        if (has_value) {
            v = FLOW_DISPLAY_VALUE(code, c, FlowDisplay::SECTION, species);
            if (collision_code(code) && collision_time_known(c) && v < 0.0f)
                report_negative_collision_rate(c, v);
        }
        int colour = NO_DATA;
        if (code > 2 && !WELL_SAMPLED(c)) {
            colour = NO_DATA;
        } else if ((code == VAR_MFP || code == VAR_SEP_MFP) &&
                   RESULTS.VAR(VAR_COLL_TIME, c) >= NO_COLLISIONS) {
            colour = NO_DATA;
        } else if (!has_value || !std::isfinite(v)) {
            // A cell without flow volume has no value of its own: it shows no data rather than the
            // value of the cell before it.
            colour = NO_DATA;
        } else if (log_scale()) {
            float lv = 0.0f;
            if (log_display_value(v, lv))
                colour = scale_colour(lv, scale);
        } else {
            colour = scale_colour(v, scale);
        }
        colours(c) = colour;
    }
}

// ---- the plane

struct PlaneIndices {
    std::array<int, 4> division{};  // 1..3 by axis
    std::array<int, 4> element{};
    int cell() const
    {
        return DIVISIONS.ELEMENT_CELL(division[3], division[2], division[1], element[3], element[2],
                                      element[1]);
    }
};

// The element rectangles of the plane, each in its cell's colour; elements without a cell in the
// body colour.
void draw_elements(int axis, int division, int element, const Array<int, 1>& colours, int body, int no_data)
{
    if (!lattice_ready())
        return;
    const int h = plane_across_axis(axis), v = plane_up_axis(axis);
    PlaneIndices at;
    at.division[axis] = division;
    at.element[axis] = element;
    IGrFillPattern(4, 0, 0);
    for (int dh = 1; dh <= division_count(h); ++dh)
        for (int dv = 1; dv <= division_count(v); ++dv)
            for (int eh = 1; eh <= element_count(h); ++eh)
                for (int ev = 1; ev <= element_count(v); ++ev) {
                    at.division[h] = dh;
                    at.division[v] = dv;
                    at.element[h] = eh;
                    at.element[v] = ev;
                    const int cell = at.cell();
                    int colour = body;
                    if (cell >= 1 && cell <= colours.extent(1))
                        colour = colours(cell) == NO_DATA ? no_data : colours(cell);
                    const float x1 =
                        static_cast<float>(box_minimum(h) + double((dh - 1) * division_width(h)) +
                                           double((eh - 1) * element_width(h)));
                    const float y1 =
                        static_cast<float>(box_minimum(v) + double((dv - 1) * division_width(v)) +
                                           double((ev - 1) * element_width(v)));
                    IGrColourN(colour);
                    IGrRectangle(x1, y1, static_cast<float>(double(x1) + element_width(h)),
                                 static_cast<float>(double(y1) + element_width(v)));
                }
}

// The traces of the solid triangles of the surface divisions in the plane's layer, each triangle once.
void draw_traces(int axis, int division, float position, int colour)
{
    SurfaceState& S = SURFACE;
    const Divisions& D = DIVISIONS;
    const Array<int, 4>& info = D.DIVISION_INFO;
    if (S.TRIANGLE_COUNT < 1 || !S.TRIANGLE.allocated() || S.TRIANGLE.extent(2) < S.TRIANGLE_COUNT ||
        !info.allocated() || info.extent(2) != division_count(3) || info.extent(3) != division_count(2) ||
        info.extent(4) != division_count(1))
        return;
    for (int t = 1; t <= S.TRIANGLE_COUNT; ++t)
        S.TRIANGLE(TRIANGLE_MARK, t) = 0;
    IGrColourN(colour);
    const int h = plane_across_axis(axis), v = plane_up_axis(axis);
    PlaneIndices at;
    at.division[axis] = division;
    for (int dh = 1; dh <= division_count(h); ++dh)
        for (int dv = 1; dv <= division_count(v); ++dv) {
            at.division[h] = dh;
            at.division[v] = dv;
            const int code = D.DIVISION_INFO(DIVISION_CODE, at.division[3], at.division[2], at.division[1]);
            const int k = -code;
            if (k < 1 || k > D.SURFACE_DIVISION_COUNT || k > D.SURFACE_INDEX.extent(2))
                continue;
            const int count = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
            const int start = D.SURFACE_INDEX(SURFACE_INDEX_START, k);
            for (int j = 1; j <= count; ++j) {
                if (start + j > D.TOTAL_SURFACE_INDEX_SIZE || start + j > D.TOTAL_SURFACE_INDEX.extent(1))
                    break;
                const int t = D.TOTAL_SURFACE_INDEX(start + j);
                if (t < 1 || t > S.TRIANGLE_COUNT || S.TRIANGLE(TRIANGLE_MARK, t) == 1 ||
                    S.TRIANGLE(TRIANGLE_KIND, t) <= 0)
                    continue;
                S.TRIANGLE(TRIANGLE_MARK, t) = 1;
                float h1 = 0.0f, v1 = 0.0f, h2 = 0.0f, v2 = 0.0f;
                if (plane_trace(t, axis, position, h1, v1, h2, v2))
                    IGrLine(h1, v1, h2, v2);
            }
        }
}

// ---- the overlay

void draw_overlay(int axis)
{
    const SectionDisplayState& s = SECTION;
    const DisplaySettings& d = DISPLAY;
    IGrPaletteInit();
    IGrCharFont(102, 0, 0.02f, 0.04f);
    IGrColourN(COLOUR_OVERLAY);
    if (s.SECTION_POINT_SHOWN == 1) {
        IGrCharScale(2.0f, 0.9f);
        const float ph = axis == 1 ? s.SECTION_POINT_Z : s.SECTION_POINT_X;
        const float pv = axis == 2 ? s.SECTION_POINT_Z : s.SECTION_POINT_Y;
        IGrMarker(ph, pv, 6);
    }
    // The tracers locate points: only on a formed lattice.
    const int lines = lattice_ready() ? std::clamp(d.FLOW_LINE_COUNT, 0, MAX_FLOW_LINES) : 0;
    for (int i = 0; i < lines; ++i) {
        if (axis == 1)
            TRACE_FLOW_LINE_X(d.FLOW_LINE_X[i], d.FLOW_LINE_Y[i]);
        else if (axis == 2)
            TRACE_FLOW_LINE_Y(d.FLOW_LINE_X[i], d.FLOW_LINE_Y[i]);
        else
            TRACE_FLOW_LINE_Z(d.FLOW_LINE_X[i], d.FLOW_LINE_Y[i]);
    }
    const float left = PLANE_FRAME_LEFT(axis), bottom = PLANE_FRAME_BOTTOM(axis);
    const double w = double(PLANE_FRAME_RIGHT(axis)) - left, hgt = double(PLANE_FRAME_TOP(axis)) - bottom;
    auto at = [](double origin, double extent, double share) {
        return static_cast<float>(origin + share * extent);
    };
    IGrArrowPolar(at(left, w, 0.99), at(bottom, hgt, 0.025), static_cast<float>(0.05 * w), 0.0f, 1);
    IGrCharOut(at(left, w, 0.92), at(bottom, hgt, 0.025), axis_letter(plane_across_axis(axis)));
    IGrArrowPolar(at(left, w, 0.025), at(bottom, hgt, 0.99), static_cast<float>(0.05 * hgt), 90.0f, 1);
    IGrCharOut(at(left, w, 0.025), at(bottom, hgt, 0.93), axis_letter(plane_up_axis(axis)));
}

void install_property_palette()
{
    const int map = DISPLAY.FLOW_COLOUR_MAP.current;
    if (map == 1) {
        SET_COLOUR_RAMP();
    } else if (map == 2) {
        std::array<int, BANDED_RAMP_ENTRIES> listed{};
        for (int i = 1; i <= BANDED_RAMP_ENTRIES; ++i)
            listed[i - 1] = CONTOUR_BAND(i);
        SET_BANDED_RAMP(listed);
    }
}

}  // namespace

int scale_colour(double v, const SectionScale& scale)
{
    return property_colour(v, scale.low, scale.span);
}

SectionScale section_scale()
{
    SectionDisplayState& s = SECTION;
    const int code = s.SECTION_PROPERTY.current;
    const int species = section_species();
    Extremes e = linear_range(code, species);
    if (log_scale()) {
        if (code == VAR_DENSITY && e.minimum < LOG_FLOOR)
            e.minimum = LOG_DENSITY_FLOOR;
        if (!(e.minimum > LOG_FLOOR))
            fall_back_to_linear();
        else
            e = log_range(code, species);
    }

    SectionScale scale;
    scale.low = e.minimum;
    scale.high = e.maximum;
    const int shift_low = s.SECTION_RANGE_LOW.current, shift_high = s.SECTION_RANGE_HIGH.current;
    if (shift_low != 0 || shift_high != 0) {
        float minimum = e.minimum, maximum = e.maximum;
        if (double(maximum) - minimum < NARROW_RANGE) {
            minimum = static_cast<float>(minimum * 0.99f);
            maximum = static_cast<float>(maximum * 1.01f);
        }
        const float range = static_cast<float>(double(maximum) - minimum);
        scale.low = static_cast<float>(minimum + double(static_cast<float>(RANGE_STEP * shift_low)) * range);
        scale.high =
            static_cast<float>(maximum + double(static_cast<float>(RANGE_STEP * shift_high)) * range);
        // Kept as the display has it: on a logarithmic scale a low shift that is not above 0 is
        // withdrawn for the next drawing.
        if (log_scale() && shift_low <= 0)
            s.SECTION_RANGE_LOW.current = 0;
        if (scale.high < scale.low) {
            const float mid = static_cast<float>((double(scale.low) + scale.high) * 0.5);
            if (mid > 0.0f) {
                scale.low = static_cast<float>(0.985f * mid);
                scale.high = static_cast<float>(1.015f * mid);
            } else {
                scale.low = static_cast<float>(1.015f * mid);
                scale.high = static_cast<float>(0.985f * mid);
            }
        }
    }
    scale.span = static_cast<float>(double(scale.high) - scale.low);
    return scale;
}

bool plane_trace(int t, int axis, float position, float& h1, float& v1, float& h2, float& v2)
{
    const SurfaceState& S = SURFACE;
    const int h = plane_across_axis(axis), v = plane_up_axis(axis);
    int crossings = 0;
    for (int edge = 1; edge <= 3; ++edge) {
        const int p = S.TRIANGLE(edge, t), q = S.TRIANGLE(edge % 3 + 1, t);
        if (p < 1 || p > S.POINT_COUNT || q < 1 || q > S.POINT_COUNT)
            return false;
        const double a = point_coordinate(p, axis), b = point_coordinate(q, axis);
        if (!((a < position && position < b) || (b < position && position < a)))
            continue;
        const double f = (position - a) / (b - a);
        const float ch = static_cast<float>(point_coordinate(p, h) +
                                            f * (double(point_coordinate(q, h)) - point_coordinate(p, h)));
        const float cv = static_cast<float>(point_coordinate(p, v) +
                                            f * (double(point_coordinate(q, v)) - point_coordinate(p, v)));
        ++crossings;
        if (crossings == 1) {
            h1 = ch;
            v1 = cv;
        } else if (crossings == 2) {
            h2 = ch;
            v2 = cv;
        }
    }
    return crossings == 2;
}

void DRAW_FLOWFIELD_SECTION()
{
    const SectionDisplayState& s = SECTION;
    const int axis = std::clamp(s.JSDIR.current, 1, 3);
    const int division = std::clamp(s.SECTION_DIVISION.current, 1, std::max(division_count(axis), 1));
    const int element = std::clamp(s.SECTION_ELEMENT.current, 1, std::max(element_count(axis), 1));
    const bool white = white_background();
    const int background = white ? DEFAULT_WHITE : DEFAULT_BLACK;

    // The window; the bands of this drawing start empty.
    WWinSelect(s.SECTION_WINDOW);
    CONTOUR_BAND.fill(0);

    // The scale.
    const SectionScale scale = section_scale();

    // One colour number per cell.
    Array<int, 1> colours;
    if (!colours.allocate(CELLS.CELL_COUNT))
        fatal_stop("PROGRAM COULD NOT ALLOCATE CELL_COLOUR for " + value_text(CELLS.CELL_COUNT) + " cells");

    // The off-screen picture and its legend. Without a bitmap the picture is drawn in the window.
    int SECTION_BITMAP = 0;
    WBitmapCreate(SECTION_BITMAP, SECTION_PICTURE_WIDTH, SECTION_PICTURE_HEIGHT);
    if (SECTION_BITMAP >= 1)
        IGrSelectTarget(2, SECTION_BITMAP);
    else
        IGrSelectTarget(1, s.SECTION_WINDOW);
    draw_section_legend(scale);

    // The plot area, filled with the background once the square frame's units are set.
    IGrArea(0.0f, 0.1f, 1.0f, 1.0f);
    IGrColourN(COLOUR_PLOT_CLEAR);
    IGrAreaClear();
    SET_PLANE_FRAME(axis, SECTION_FRAME_ASPECT);
    IGrColourN(background);
    IGrFillPattern(4, 0, 0);
    IGrRectangle(PLANE_FRAME_LEFT(axis), PLANE_FRAME_BOTTOM(axis), PLANE_FRAME_RIGHT(axis),
                 PLANE_FRAME_TOP(axis));

    // The property palette and the cells' colours.
    install_property_palette();
    colour_pass(scale, colours);

    // The plane: elements, then the traces of the surfaces.
    const int body = white ? RAMP_WHITE : RAMP_BLACK;
    const int no_data = white ? 1 : RAMP_WHITE;
    draw_elements(axis, division, element, colours, body, no_data);
    draw_traces(axis, division, element_layer_centre(axis, division, element),
                white ? RAMP_BLACK : RAMP_WHITE);

    // Marker, flow-direction lines and axis arrows.
    draw_overlay(axis);

    // One copy into the window.
    if (SECTION_BITMAP >= 1) {
        IGrSelectTarget(1, s.SECTION_WINDOW);
        IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
        WBitmapPut(SECTION_BITMAP, 2, 0);
        WBitmapDestroy(SECTION_BITMAP);
    } else {
        IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    }
}
