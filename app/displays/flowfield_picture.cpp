// DRAW_FLOWFIELD_PROPERTIES: the live flowfield picture in the right half of the main window: a legend
// strip along the bottom tenth (title, unit text, colour bar, numbered scale) and above it one plane of
// the box, every element filled with the colour of its cell's value.
//
// It reads the display settings and the kernel's results and writes only the plane frame of its axis,
// and the log-scale and low-range settings when the logarithm cannot be taken (with the toolbar fields
// that they mirror).
#include "app/displays/colour_scale.h"
#include "app/displays/display_arrays.h"
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"
#include "app/displays/flowfield_properties.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "base/list_io.h"
#include "base/units.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr float RANGE_START_MIN = 1.0e6f;  // the running minimum starts here, not at the first value
constexpr float RANGE_START_MAX = -1.0e6f;
constexpr float MISSING_COLL_TIME = 9.0e9f;  // mean collision times from here up are missing
constexpr float FLAT_RANGE = 1.0e-10f;       // a range at or below this has no scale
constexpr float RANGE_SHIFT_STEP = 0.03f;    // one step of the range spins, a share of the span
constexpr int CURRENT_WINDOW = -1;           // IGrSelectTarget: the current window
constexpr int SOLID = 4;                     // fill style

// Colour numbers of one background.
struct Scheme {
    int fill;         // legend strip and picture background
    int text, paper;  // window text colours
    int ticks;        // scale base line and ticks
    int unsampled;    // cell without a usable value
    int body;         // element inside a body
    int axes;         // axis arrows and letters
};
constexpr Scheme DARK = {223, 15, 0, 0, 255, 0, 0};
constexpr Scheme WHITE = {0, 0, 15, 223, 1, 255, 255};

// The colour range of one picture.
struct Range {
    float low = 0.0f;
    float high = 0.0f;
    float r = 0.0f;  // high - low
    bool log = false;
};

bool collision_time_window(int cell)
{
    const float t = RESULTS.VAR(VAR_COLL_TIME, cell);
    return t > 0.0f && t < MISSING_COLL_TIME;
}

void report_negative(int code, int cell, float v)
{
    if ((code == VAR_COLL_TIME || code == VAR_MFP) && collision_time_window(cell) && v < 0.0f)
        write_list(UNIT_DIAG, {"-VE COLLISION RATE CELL", cell, v});
}

// Whether a cell's value takes part in the range (step 1).
bool counted(int code, int cell)
{
    if (code == VAR_COLL_TIME || code == VAR_MFP)
        return collision_time_window(cell);
    if (code == VAR_SAMPLE_SIZE)
        return true;
    return WELL_SAMPLED(cell);
}

// Steps 1 to 4: the counted minimum and maximum, the logarithmic option, the range settings.
Range find_range(int code)
{
    DisplaySettings& d = DISPLAY;
    const Cells& C = CELLS;
    float minimum = RANGE_START_MIN, maximum = RANGE_START_MAX;
    for (int c = 1; c <= C.CELL_COUNT; ++c) {
        if (!(C.CELL_DATA(CELL_VOLUME, c) > 0.0f))
            continue;
        const float v = FLOW_DISPLAY_VALUE(code, c, FlowDisplay::LIVE);
        if (!counted(code, c))
            continue;
        report_negative(code, c, v);
        minimum = std::min(minimum, v);
        maximum = std::max(maximum, v);
    }

    Range range;
    if (d.FLOW_LOG_SCALE.current == 1) {
        if (minimum <= LOG_FLOOR) {
            // No logarithm: the picture is linear, and the toolbar's box says so.
            refuse_log_scale(d.FLOW_LOG_SCALE, flow_toolbar(RUN.OUTPUT_UNITS), IDC_FLOW_LOG_SCALE);
        } else {
            // Every well-sampled cell, without the volume test and the code-15 cap; a value without a
            // logarithm (a cell the first pass left out) is skipped.
            range.log = true;
            minimum = RANGE_START_MIN;
            maximum = RANGE_START_MAX;
            const PropertyKind kind = flow_property_kind(code, FlowDisplay::LIVE);
            for (int c = 1; c <= C.CELL_COUNT; ++c) {
                if (!WELL_SAMPLED(c))
                    continue;
                float lv = 0.0f;
                const float v = flow_property_raw(code, c, FlowDisplay::LIVE);
                if (!log_display_value(convert_flow_value(v, kind, RUN.OUTPUT_UNITS), lv))
                    continue;
                minimum = std::min(minimum, lv);
                maximum = std::max(maximum, lv);
            }
        }
    }

    const double s = double(maximum) - minimum;
    const int shift_low = d.FLOW_RANGE_LOW.current, shift_high = d.FLOW_RANGE_HIGH.current;
    if (shift_low != 0 || shift_high != 0) {
        range.low = static_cast<float>(minimum + shift_low * double(RANGE_SHIFT_STEP) * s);
        range.high = static_cast<float>(maximum + shift_high * double(RANGE_SHIFT_STEP) * s);
        if (range.log && shift_low < 0) {
            // Takes effect from the next drawing; the spin shows it, as for the log box above.
            d.FLOW_RANGE_LOW.set(0);
            WDialogSelect(flow_toolbar(RUN.OUTPUT_UNITS));
            WDialogPutInteger(IDC_FLOW_RANGE_LOW, 0);
        }
        if (range.high < range.low) {
            const float mid = static_cast<float>((double(range.low) + range.high) * 0.5);
            if (mid > 0.0f) {
                range.low = static_cast<float>(0.985 * mid);
                range.high = static_cast<float>(1.015 * mid);
            } else {
                range.high = static_cast<float>(0.985 * mid);
                range.low = static_cast<float>(1.015 * mid);
            }
        }
    } else {
        range.low = minimum;
        range.high = maximum;
    }
    range.r = static_cast<float>(double(range.high) - range.low);
    return range;
}

// A value's colour number 1..254, by the rule of every property picture (a negative range, before any
// cell is counted, follows the formula too).
int scale_colour(float v, const Range& range)
{
    return property_colour(v, range.low, range.r);
}

// Step 14: the colour number of every cell.
void colour_cells(int code, const Range& range, const Scheme& scheme, Array<int, 1>& cell_colour)
{
    const Cells& C = CELLS;
    for (int c = 1; c <= C.CELL_COUNT; ++c) {
        const float v = FLOW_DISPLAY_VALUE(code, c, FlowDisplay::LIVE);
        report_negative(code, c, v);
        int colour = scheme.unsampled;
        float lv = 0.0f;
        if (!(C.CELL_DATA(CELL_VOLUME, c) > 0.0f) || std::isnan(v))
            colour = scheme.unsampled;  // no flow value of its own
        else if (code >= VAR_DENSITY && !WELL_SAMPLED(c))
            colour = scheme.unsampled;
        else if ((code == VAR_MFP || code == VAR_SEP_MFP) &&
                 RESULTS.VAR(VAR_COLL_TIME, c) >= MISSING_COLL_TIME)
            colour = scheme.unsampled;
        else if (!range.log)
            colour = scale_colour(v, range);
        else if (log_display_value(v, lv))
            colour = scale_colour(lv, range);
        cell_colour(c) = colour;
    }
}

// Steps 10 to 12: the multiplier, the colour bar, the base line, the ticks and the labels.
void draw_scale(const Range& range, const Scheme& scheme)
{
    float major = 0.0f, minor = 0.0f, mantissa = 0.0f;
    int e = 0;
    if (!LEGEND_STEPS(range.r, major, minor, mantissa, e))
        return;
    if (e != 0) {
        WGrTextString(9000, 9900, "x10");
        WGrTextInteger(9300, 9830, -e, 3);
    }

    SET_COLOUR_RAMP();
    for (int i = 1; i <= 254; ++i) {
        IGrColourN(i);
        IGrRectangle(static_cast<float>((i - 1) / 254.0), 0.065f, static_cast<float>(i / 254.0), 0.1f);
    }
    IGrPaletteInit();
    IGrColourN(scheme.ticks);
    IGrMoveTo(0.0f, 0.065f);
    IGrLineTo(1.0f, 0.065f);

    const double power = std::pow(10.0, e);
    const double low = range.low, high = range.high, r = range.r;
    auto position = [&](double v) { return static_cast<float>((v - low) / r); };
    // The levels 0, step, 2 step, ... below high and above low, then 0, -step, ... above low and below
    // high (0 once each way). The walk starts at the multiple next to low (or high), which draws the
    // same levels but keeps a narrow range far from 0 from walking millions of empty steps; a walk that
    // would still be longer than any legend (a range near the limits of single precision) stops.
    constexpr long long MAX_LEVELS = 10000;
    auto first = [](double v) { return static_cast<long long>(std::clamp(v, -1.0e15, 1.0e15)); };
    auto walk = [&](double step, auto&& draw) {
        if (high > 0.0) {
            const long long start = std::max(0LL, first(std::floor(low / step)));
            for (long long i = start; i * step < high && i - start < MAX_LEVELS; ++i)
                if (i * step > low)
                    draw(i);
        }
        if (low < 0.0) {
            const long long start = std::min(0LL, first(std::ceil(high / step)));
            for (long long i = start; i * step > low && start - i < MAX_LEVELS; --i)
                if (i * step < high)
                    draw(i);
        }
    };
    const double t = power * minor, l = power * major;
    walk(t, [&](long long i) {
        const float p = position(i * t);
        IGrMoveTo(p, 0.065f);
        IGrLineTo(p, 0.0725f);
    });
    walk(l, [&](long long i) {
        const float p = position(i * l);
        IGrMoveTo(p, 0.065f);
        IGrLineTo(p, 0.08f);
        const int x = gr_trunc(std::clamp(double(p) * 4500.0 + 5250.0, -1.0e9, 1.0e9)) - 170;
        WGrTextReal(x, 9600, static_cast<float>(i * double(major)), "(F5.1)");
    });
}

// Steps 6 to 12: the legend strip.
void draw_legend(int code, const Range& range, const Scheme& scheme)
{
    IGrArea(0.5f, 0.0f, 1.0f, 0.1f);
    WGrRectangleClear(5001, 9000, 9999, 9999);
    IGrArea(0.5f, 0.0f, 1.0f, 0.1f);
    IGrUnits(-0.055555f, 0.0f, 1.055555f, 0.1f);
    IGrFillPattern(SOLID, 0, 0);
    IGrColourN(scheme.fill);
    IGrRectangle(-0.055555f, 0.0f, 1.055555f, 0.1f);
    WGrTextColour(scheme.text, scheme.paper);

    const std::string title = flow_property_title(code, FlowDisplay::LIVE);
    if (range.log) {
        WGrTextString(5200, 9900, "Log10");
        WGrTextString(5800, 9900, title);
    } else {
        WGrTextString(5500, 9900, title);
    }
    if (!(range.r > FLAT_RANGE))
        return;

    const int units = RUN.OUTPUT_UNITS;
    const std::string unit_text = flow_property_unit_text(code, FlowDisplay::LIVE, units);
    if (!unit_text.empty()) {
        int x = 8000;
        if (units == UNITS_RATIO)
            x = code == VAR_COLL_TIME ? 7600 : code == VAR_MFP ? 8100 : 7100;
        WGrTextString(x, 9900, unit_text);
    }
    draw_scale(range, scheme);
}

// Whether the kernel's results and the element array are there for every cell in use (a display
// asked for before the flowfield is set up, or while the cells are being rebuilt, draws nothing).
bool flowfield_ready()
{
    const Cells& C = CELLS;
    const auto& VAR = RESULTS.VAR;
    const auto& E = DIVISIONS.ELEMENT_CELL;
    const BoxState& B = BOX;
    return C.CELL_DATA.allocated() && C.CELL_DATA.extent(2) >= C.CELL_COUNT && VAR.allocated() &&
           VAR.extent(1) >= VAR_FRACTION && VAR.extent(2) >= C.CELL_COUNT && E.allocated() &&
           E.extent(1) == B.DIVISIONS_Z && E.extent(2) == B.DIVISIONS_Y && E.extent(3) == B.DIVISIONS_X &&
           E.extent(4) == B.ELEMENTS_PER_DIVISION_Z && E.extent(5) == B.ELEMENTS_PER_DIVISION_Y &&
           E.extent(6) == B.ELEMENTS_PER_DIVISION_X;
}

// The division and element spin values, kept inside the counts of the axis (a restored or stale
// setting must not index outside the element array).
int clamp_setting(int value, int count)
{
    return std::clamp(value, 1, std::max(count, 1));
}

// Step 16: every element of the plane, filled with its cell's colour.
void draw_elements(int axis, const Scheme& scheme, const Array<int, 1>& cell_colour)
{
    const BoxState& B = BOX;
    const Divisions& D = DIVISIONS;
    const int divisions[4] = {0, B.DIVISIONS_X, B.DIVISIONS_Y, B.DIVISIONS_Z};
    const int elements[4] = {0, B.ELEMENTS_PER_DIVISION_X, B.ELEMENTS_PER_DIVISION_Y,
                             B.ELEMENTS_PER_DIVISION_Z};
    const float division_width[4] = {0, D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
    const float element_width[4] = {0, D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z};
    const float lower[4] = {0, B.XMIN, B.YMIN, B.ZMIN};
    const int h = plane_across_axis(axis), v = plane_up_axis(axis);

    int division[4] = {0, 1, 1, 1}, element[4] = {0, 1, 1, 1};
    division[axis] = clamp_setting(DISPLAY.FLOW_PLANE_DIVISION.current, divisions[axis]);
    element[axis] = clamp_setting(DISPLAY.FLOW_PLANE_ELEMENT.current, elements[axis]);
    // lower limit + (division - 1) x division width + (element - 1) x element width, each step a
    // 4-byte real.
    auto corner = [&](int a) {
        const float divisions_before = static_cast<float>((division[a] - 1) * double(division_width[a]));
        const float elements_before = static_cast<float>((element[a] - 1) * double(element_width[a]));
        return static_cast<float>(static_cast<float>(lower[a] + double(divisions_before)) +
                                  double(elements_before));
    };
    IGrFillPattern(SOLID, 0, 0);
    for (division[h] = 1; division[h] <= divisions[h]; ++division[h])
        for (division[v] = 1; division[v] <= divisions[v]; ++division[v])
            for (element[h] = 1; element[h] <= elements[h]; ++element[h])
                for (element[v] = 1; element[v] <= elements[v]; ++element[v]) {
                    const int cell = D.ELEMENT_CELL(division[3], division[2], division[1], element[3],
                                                    element[2], element[1]);
                    const bool in_flow = cell >= 1 && cell <= CELLS.CELL_COUNT;
                    IGrColourN(in_flow ? cell_colour(cell) : scheme.body);
                    const float x1 = corner(h), y1 = corner(v);
                    IGrRectangle(x1, y1, static_cast<float>(x1 + double(element_width[h])),
                                 static_cast<float>(y1 + double(element_width[v])));
                }
}

// Step 17: the axis arrows and their letters.
void draw_axes(int axis, const Scheme& scheme)
{
    IGrPaletteInit();
    IGrCharFont(102, 0, 0.02f, 0.04f);
    IGrColourN(scheme.axes);
    const double left = PLANE_FRAME_LEFT(axis), bottom = PLANE_FRAME_BOTTOM(axis);
    const double W = double(PLANE_FRAME_RIGHT(axis)) - left, H = double(PLANE_FRAME_TOP(axis)) - bottom;
    auto at = [](double origin, double share, double extent) {
        return static_cast<float>(origin + share * extent);
    };
    IGrArrowPolar(at(left, 0.99, W), at(bottom, 0.025, H), static_cast<float>(0.05 * W), 0.0f, 1);
    IGrCharOut(at(left, 0.92, W), at(bottom, 0.025, H), axis_letter(plane_across_axis(axis)));
    IGrArrowPolar(at(left, 0.025, W), at(bottom, 0.99, H), static_cast<float>(0.05 * H), 90.0f, 1);
    IGrCharOut(at(left, 0.025, W), at(bottom, 0.9, H), axis_letter(plane_up_axis(axis)));
}

}  // namespace

void DRAW_FLOWFIELD_PROPERTIES()
{
    DisplaySettings& d = DISPLAY;
    if (!flowfield_ready())
        return;
    // A code beyond the species of the run shows the pressure, as the handler makes it.
    int code = std::clamp(d.FLOW_PROPERTY.current, 1, LIVE_PROPERTY_CODES);
    if (code > RESULTS.VAR.extent(1))
        code = VAR_PRESSURE;
    const int axis = std::clamp(d.FLOW_PLANE_AXIS.current, 1, 3);
    const Scheme& scheme = d.FLOW_WHITE_BACKGROUND.current == 1 ? WHITE : DARK;
    d.FLOW_COLOUR_MAP.set(1);

    const Range range = find_range(code);
    Array<int, 1> cell_colour;
    if (!allocate_or_give_up(cell_colour, "CELL_COLOUR", CELLS.CELL_COUNT))
        return;
    draw_legend(code, range, scheme);

    // The picture area: cleared, then (once the plane's units are set) the frame filled with the
    // background, so that the whole picture area behind the elements shows it.
    IGrSelectTarget(1, CURRENT_WINDOW);
    IGrArea(0.5f, 0.1f, 1.0f, 0.68f);
    IGrColourN(55);
    IGrAreaClear();
    colour_cells(code, range, scheme, cell_colour);
    SET_PLANE_FRAME(axis, LIVE_FRAME_ASPECT);
    IGrFillPattern(SOLID, 0, 0);
    IGrColourN(scheme.fill);
    IGrRectangle(PLANE_FRAME_LEFT(axis), PLANE_FRAME_BOTTOM(axis), PLANE_FRAME_RIGHT(axis),
                 PLANE_FRAME_TOP(axis));
    SET_COLOUR_RAMP();
    draw_elements(axis, scheme, cell_colour);
    draw_axes(axis, scheme);
}
